#pragma once
// What one port turned out to hold when the program looked for radios: a
// radio with its identity, nothing that answers, a device held by another
// program, one this user may not open, one that is not there, or another
// failure with the system's reason. The rules that turn an open failure and
// an identification exchange into a finding, and the finding into a line of
// text, a JSON object and advice in the program's language, live here; the Qt
// runner (RadioDetector) only opens ports and drives one engine each.
#include <optional>
#include <string>
#include <vector>

#include "exchange/ImageJson.h"
#include "state/LinkState.h"

namespace tarvane {

struct Program;

enum class PortStatus { Radio, Silent, Busy, Denied, Missing, Error };

// How opening the device failed, as the serial library tells it.
enum class OpenFailure { NotFound, Permission, Other };

struct PortFinding {
    std::string port;
    PortStatus status = PortStatus::Error;
    RadioIdentity identity;     // Radio
    bool echo = false;          // Radio: the cable sends every byte back
    int replyMs = -1;           // Radio: from the first handshake to the identification
    bool handshakeOnly = false; // Error: the handshake was answered, the identification not
    long holderPid = 0;         // Busy: the process holding the device, when known
    std::string grabber;        // "ModemManager" or "brltty" where the system shows one
    std::string group;          // Denied: the group that owns the device
    std::string reason;         // Missing, Error: the system's reason
};

// "radio", "silent", "busy", "denied", "missing", "error": the words of the
// command line's output, the same in every language.
const char* StatusWord(PortStatus status);
// "CB", "HF", "HAM", or the number of an unknown type.
std::string BandTypeName(int type);

// Where the system keeps what these rules look at; tests point it elsewhere.
struct SystemView {
    std::vector<std::string> lockDirs; // UUCP-style lock files
    std::string proc = "/proc";        // running processes and their open files
};
SystemView DefaultSystemView();

// The finding of a device that could not be opened.
PortFinding FindingOfOpenFailure(const std::string& device, OpenFailure failure, const std::string& reason,
                                 const SystemView& view);
// The finding of an identification exchange that ran to its end. answered:
// the handshake was acknowledged; success: the identification came.
PortFinding FindingOfExchange(const std::string& device, bool success, bool answered,
                              const RadioIdentity& identity, bool noEchoMode, int replyMs,
                              const SystemView& view);

// The devices to look at when none are named: the /dev/serial/by-id links
// (stable names), then other present serial devices, then every path mapped to
// a port number; one name per device (a link and the device it points to are
// one), in that order of preference.
std::vector<std::string> CandidatePorts(const std::vector<std::string>& byId,
                                        const std::vector<std::string>& present,
                                        const std::vector<std::string>& mapped);
// The /dev/serial/by-id links of the machine (or of another folder, for tests).
std::vector<std::string> ByIdLinks(const std::string& folder = "/dev/serial/by-id");

// One line per finding, and what to do about it, in the program's language.
std::string FindingSummary(Program& p, const PortFinding& f);
std::string FindingAdvice(Program& p, const PortFinding& f);
Json FindingJson(Program& p, const PortFinding& f);
// 0 when at least one radio answered, else 1.
int DetectExitStatus(const std::vector<PortFinding>& findings);

} // namespace tarvane
