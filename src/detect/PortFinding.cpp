#include "detect/PortFinding.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include "image/ModelVersion.h"
#include "link/PortMap.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace fs = std::filesystem;

namespace {

// Programs known to open new serial devices on their own.
constexpr const char* kGrabbers[] = {"ModemManager", "brltty"};

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string ProcessName(const std::string& proc, const std::string& pid) {
    std::ifstream in(proc + "/" + pid + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

bool IsGrabber(const std::string& name) {
    return std::any_of(std::begin(kGrabbers), std::end(kGrabbers), [&](const char* g) { return name == g; });
}

bool IsPid(const std::string& name) {
    return !name.empty() &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A process other than this one with the device open, where the system lets
// us see it; a grabber is preferred, as it is the one worth naming.
long ProcessHolding(const std::string& device, const SystemView& view, std::string& grabber) {
    const std::string real = RealPath(device);
    const std::string self = std::to_string(getpid());
    long first = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(view.proc, ec)) {
        const std::string pid = entry.path().filename().string();
        if (!IsPid(pid) || pid == self) continue;
        std::error_code fdError;
        for (const auto& fd : fs::directory_iterator(entry.path() / "fd", fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError).string() != real) continue;
            const std::string name = ProcessName(view.proc, pid);
            if (IsGrabber(name)) {
                grabber = name;
                return std::strtol(pid.c_str(), nullptr, 10);
            }
            if (!first) first = std::strtol(pid.c_str(), nullptr, 10);
            break;
        }
    }
    return first;
}

// A grabber that runs at all: it may take a USB serial device as it appears.
std::string RunningGrabber(const SystemView& view) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(view.proc, ec)) {
        const std::string pid = entry.path().filename().string();
        if (!IsPid(pid)) continue;
        if (const std::string name = ProcessName(view.proc, pid); IsGrabber(name)) return name;
    }
    return "";
}

bool IsUsbSerial(const std::string& device) {
    const std::string real = RealPath(device);
    return real.find("/ttyUSB") != std::string::npos || real.find("/ttyACM") != std::string::npos;
}

std::string OwningGroup(const std::string& device) {
    struct stat st {};
    if (stat(device.c_str(), &st) != 0) return "dialout";
    const struct group* g = getgrgid(st.st_gid);
    return g ? g->gr_name : std::to_string(st.st_gid);
}

} // namespace

const char* StatusWord(PortStatus status) {
    switch (status) {
    case PortStatus::Radio:
        return "radio";
    case PortStatus::Silent:
        return "silent";
    case PortStatus::Busy:
        return "busy";
    case PortStatus::Denied:
        return "denied";
    case PortStatus::Missing:
        return "missing";
    case PortStatus::Error:
        break;
    }
    return "error";
}

std::string BandTypeName(int type) {
    // The program's own band names; a type it does not know shows as its number.
    return BandTextForType(type).empty() ? std::to_string(type) : TypeName(type);
}

SystemView DefaultSystemView() {
    return SystemView{DefaultLockDirs(), "/proc"};
}

PortFinding FindingOfOpenFailure(const std::string& device, OpenFailure failure, const std::string& reason,
                                 const SystemView& view) {
    PortFinding f;
    f.port = device;
    f.reason = reason;
    std::error_code ec;
    // A dangling link is missing too, whatever the library said.
    if (failure == OpenFailure::NotFound || !fs::exists(device, ec)) {
        f.status = PortStatus::Missing;
        return f;
    }
    if (failure != OpenFailure::Permission) {
        f.status = PortStatus::Error;
        return f;
    }
    // The serial library reports a device held by another program as a
    // permission error too: a live lock file, or a device this user may open,
    // means "busy".
    if (const long holder = PortLockHolder(device, view.lockDirs); holder > 0) {
        f.status = PortStatus::Busy;
        f.holderPid = holder;
        std::string grabber;
        ProcessHolding(device, view, grabber);
        f.grabber = grabber;
        return f;
    }
    if (access(device.c_str(), R_OK | W_OK) == 0) {
        f.status = PortStatus::Busy;
        f.holderPid = ProcessHolding(device, view, f.grabber);
        return f;
    }
    f.status = PortStatus::Denied;
    f.group = OwningGroup(device);
    return f;
}

PortFinding FindingOfExchange(const std::string& device, bool success, bool answered,
                              const RadioIdentity& identity, bool noEchoMode, int replyMs,
                              const SystemView& view) {
    PortFinding f;
    f.port = device;
    if (success) {
        f.status = PortStatus::Radio;
        f.identity = identity;
        f.echo = !noEchoMode;
        f.replyMs = replyMs;
        return f;
    }
    if (answered) {
        f.status = PortStatus::Error;
        f.handshakeOnly = true;
        return f;
    }
    f.status = PortStatus::Silent;
    // Silence on a USB device while a grabber runs: it may have the device.
    ProcessHolding(device, view, f.grabber);
    if (f.grabber.empty() && IsUsbSerial(device)) f.grabber = RunningGrabber(view);
    return f;
}

std::vector<std::string> CandidatePorts(const std::vector<std::string>& byId,
                                        const std::vector<std::string>& present,
                                        const std::vector<std::string>& mapped) {
    std::vector<std::string> out;
    std::vector<std::string> seen; // real paths of the devices taken
    for (const auto* list : {&byId, &present, &mapped})
        for (const std::string& path : *list) {
            if (path.empty()) continue;
            const std::string real = RealPath(path);
            if (std::find(seen.begin(), seen.end(), real) != seen.end()) continue;
            seen.push_back(real);
            out.push_back(path);
        }
    return out;
}

std::vector<std::string> ByIdLinks(const std::string& folder) {
    std::vector<std::string> links;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        links.push_back(entry.path().string());
    std::sort(links.begin(), links.end());
    return links;
}

std::string FindingSummary(Program& p, const PortFinding& f) {
    switch (f.status) {
    case PortStatus::Radio: {
        const RadioIdentity& id = f.identity;
        return FillIn(LangText(p, txt::kRadioFoundSummary),
                      {id.RadioModelCode, BandTypeName(id.RadioModelType), id.RadioFirmwareVersion}) +
               ", " + LangText(p, f.echo ? txt::kCableEchoes : txt::kCableDoesNotEcho) + ", " +
               FillIn(LangText(p, txt::kAnsweredInMs), {std::to_string(f.replyMs)});
    }
    case PortStatus::Silent:
        return LangText(p, txt::kNothingAnsweredPort);
    case PortStatus::Busy:
        return f.holderPid > 0 ? FillIn(LangText(p, txt::kInUseByProcess), {std::to_string(f.holderPid)})
                               : LangText(p, txt::kInUseByAnotherProgram);
    case PortStatus::Denied:
        return LangText(p, txt::kNoPermission);
    case PortStatus::Missing:
        return FillIn(LangText(p, txt::kDeviceNotThere), {f.port, f.reason});
    case PortStatus::Error:
        if (f.handshakeOnly) return LangText(p, txt::kHandshakeWithoutIdentification);
        return FillIn(LangText(p, txt::kDeviceCannotBeUsed), {f.port, f.reason});
    }
    return "";
}

std::string FindingAdvice(Program& p, const PortFinding& f) {
    std::string advice;
    switch (f.status) {
    case PortStatus::Radio:
    case PortStatus::Missing:
    case PortStatus::Error:
        break;
    case PortStatus::Silent:
        advice = LangText(p, txt::kCheckPowerCableProgramming);
        break;
    case PortStatus::Busy:
        advice = LangText(p, txt::kCloseProgramChooseAnother);
        break;
    case PortStatus::Denied:
        advice = FillIn(LangText(p, txt::kJoinGroupLogIn), {f.group});
        break;
    }
    if (f.status == PortStatus::Error && f.handshakeOnly)
        advice = LangText(p, txt::kCheckPowerCableProgramming);
    if (!f.grabber.empty()) {
        if (!advice.empty()) advice += " ";
        advice += FillIn(LangText(p, txt::kGrabberMayHoldDevice), {f.grabber});
    }
    return advice;
}

Json FindingJson(Program& p, const PortFinding& f) {
    Json j = Json::Obj();
    j.Add("port", Json::Str(f.port)).Add("status", Json::Str(StatusWord(f.status)));
    if (f.status == PortStatus::Radio) {
        j.Add("model", Json::Str(f.identity.RadioModelCode))
            .Add("type", Json::Str(BandTypeName(f.identity.RadioModelType)))
            .Add("firmware", Json::Str(f.identity.RadioFirmwareVersion))
            .Add("echo", Json::Flag(f.echo))
            .Add("reply_ms", Json::Num(f.replyMs));
    }
    if (f.holderPid > 0) j.Add("holder_pid", Json::Num(f.holderPid));
    if (!f.grabber.empty()) j.Add("holder", Json::Str(f.grabber));
    if (!f.group.empty()) j.Add("group", Json::Str(f.group));
    if (!f.reason.empty() && f.status != PortStatus::Busy && f.status != PortStatus::Denied)
        j.Add("reason", Json::Str(f.reason));
    if (const std::string advice = FindingAdvice(p, f); !advice.empty()) j.Add("advice", Json::Str(advice));
    return j;
}

int DetectExitStatus(const std::vector<PortFinding>& findings) {
    return std::any_of(findings.begin(), findings.end(),
                       [](const PortFinding& f) { return f.status == PortStatus::Radio; })
               ? 0
               : 1;
}

} // namespace tarvane
