#pragma once
// tarvane-cli: the commands, each returning the process exit status
// (0 success, 1 failure with the reason on stderr, 2 wrong usage).
#include <map>
#include <string>
#include <vector>

namespace tarvane {

struct Program;
struct RadioInfoRecord;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The band type a name gives: "CB" 0, "HF" 1, "HAM" 2, in any case; -1 for any other.
inline int BandOfName(std::string name) {
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return name == "CB" ? 0 : name == "HF" ? 1 : name == "HAM" ? 2 : -1;
}

// "--name value" options and the remaining words of one command line.
struct CliArgs {
    std::map<std::string, std::string> options;            // the first value of each option given
    std::map<std::string, std::vector<std::string>> lists; // every value of a repeatable option
    std::vector<std::string> words;
    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::string Get(const std::string& name) const {
        auto it = options.find(name);
        return it == options.end() ? "" : it->second;
    }
    std::vector<std::string> All(const std::string& name) const {
        auto it = lists.find(name);
        if (it != lists.end()) return it->second;
        return Has(name) ? std::vector<std::string>{Get(name)} : std::vector<std::string>{};
    }
};

// Questions answered without a person: the give-up question restarts the
// transfer `retries` times and is then cancelled; the password dialog takes
// the given password; every Yes/No question is answered No.
void InstallCliPrompts(Program& p, int retries, const std::string* password);

int CliRead(Program& p, const CliArgs& args);
int CliWrite(Program& p, const CliArgs& args);
// Several radios: write FILE.dat --port A --port B ... [--log LOG.csv] [--repeat],
// every radio read back; clone --from A --to B --to C ... (the read kept as a backup).
bool UsesBatch(const CliArgs& args);
int CliBatchWrite(Program& p, const CliArgs& args);
int CliClone(Program& p, const CliArgs& args);
int CliInfo(Program& p, const CliArgs& args);
int CliShow(Program& p, const CliArgs& args);
// detect [--port DEVICE]... [--json]: every device tried at once, one finding each;
// 0 when a radio answered, 1 when none.
int CliDetect(Program& p, const CliArgs& args);
int CliNew(Program& p, const CliArgs& args);
int CliSimulate(const CliArgs& args);
// The radio information by the labels of the radio-information window.
void PrintRadioInfo(Program& p, const RadioInfoRecord& r);
// Channel exchange: export FILE.dat --out CHANNELS.csv [--group NAME];
// import FILE.dat CHANNELS.csv --out NEW.dat [--group NAME] [--first N] [--skip-bad];
// diff A.dat B.dat.
int CliExport(Program& p, const CliArgs& args);
int CliImport(Program& p, const CliArgs& args);
int CliDiff(Program& p, const CliArgs& args);

} // namespace tarvane
