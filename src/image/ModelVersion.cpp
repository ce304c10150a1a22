#include "image/ModelVersion.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/FixedText.h"
#include "base/IniFile.h"
#include "base/NumberText.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {

// Version texts are "V" and three digits: a thousand entries is more than any
// table can mean, and larger counts are typing errors or worse.
constexpr int16_t kMaxVersionEntries = 1000;

bool UseOwnPairOnly(VersionTable& table) {
    table = VersionTable{};
    table.CurrentVersion = kProgramFormatVersion;
    table.Firm.emplace_back(kProgramFormatVersion, kProgramFormatVersion);
    return false;
}

} // namespace

namespace {

bool VersionTableOf(const IniFile& ini, VersionTable& table) {
    table = VersionTable{};
    const auto head = ini.Section("Version");
    auto count = [&](const char* key) -> int16_t {
        auto it = head.find(key);
        auto v = it == head.end() ? std::nullopt : ToInt16(it->second);
        return v && *v >= 0 && *v <= kMaxVersionEntries ? *v : int16_t{-1};
    };
    const int16_t softCount = count("softversioncount");
    const int16_t firmCount = count("firmversioncount");
    if (softCount < 0 || firmCount < 0) return UseOwnPairOnly(table);
    auto value = [](const std::map<std::string, std::string>& keys, const std::string& key) {
        auto it = keys.find(key);
        return it == keys.end() ? std::string() : it->second;
    };
    table.CurrentVersion = value(head, "currentversion");
    const auto soft = ini.Section("Soft");
    for (int i = 0; i < softCount; ++i)
        table.Soft.push_back(value(soft, "version" + std::to_string(i)));
    const auto firm = ini.Section("Firm");
    for (int i = 0; i < firmCount; ++i) {
        std::string pair = value(firm, "firm" + std::to_string(i));
        if (pair.size() < 4) continue; // too short to name a program and a format
        table.Firm.emplace_back(pair.substr(0, 4), pair.substr(pair.size() - 4));
    }
    // A table that would make this program refuse the files it writes itself is
    // broken, whatever else it lists.
    if (!IsFormatSupported(table, kProgramFormatVersion, kProgramFormatVersion)) return UseOwnPairOnly(table);
    return true;
}

} // namespace

bool LoadVersionTable(const std::string& path, VersionTable& table) {
    IniFile ini;
    ini.Load(path); // a missing or unreadable file reads as empty and falls back below
    return VersionTableOf(ini, table);
}

bool ParseVersionTable(const std::string& text, VersionTable& table) {
    IniFile ini;
    ini.Parse(text);
    return VersionTableOf(ini, table);
}

std::string TypeName(int modelType) {
    switch (modelType) {
    case 0:
        return "CB";
    case 1:
        return "HF";
    case 2:
        return "HAM";
    default:
        return "Unknown";
    }
}

std::string BandTextForType(int modelType) {
    switch (modelType) {
    case 0:
        return "26.965 - 27.405 MHz";
    case 1:
        return "25.615 - 30.105 MHz";
    case 2:
        return "28.000 - 29.700 MHz";
    default:
        return "";
    }
}

std::string ModelDisplayName(const std::string& code) {
    std::string t = code;
    while (!t.empty() && (t.back() == ' ' || t.back() == '\0'))
        t.pop_back();
    return TrimField(t);
}

bool IsVersionText(const std::string& text) {
    std::string t = ModelDisplayName(text);
    if (t.size() != 4 || t[0] != 'V') return false;
    return IsNumeric(t.substr(1));
}

bool IsFormatSupported(const VersionTable& table, const std::string& programVersion,
                       const std::string& formatVersion) {
    for (const auto& [prog, format] : table.Firm)
        if (prog == programVersion && format == formatVersion) return true;
    return false;
}

std::string ProgramForFormat(const VersionTable& table, const std::string& formatVersion) {
    for (const auto& [prog, format] : table.Firm)
        if (format == formatVersion) return prog;
    return "";
}

std::string VersionDisplay(const std::string& version) {
    if (version.size() < 2) return version;
    return version.substr(0, 2) + "." + version.substr(version.size() >= 4 ? version.size() - 2 : 2);
}

std::string VersionMismatchText(Program& p, const std::string& formatVersion) {
    return LangText(p, txt::kFileMadeAnotherVersion) + "\r\n" + LangText(p, txt::kFileFormat) + " " +
           VersionDisplay(formatVersion) + "\r\n" + LangText(p, txt::kProgramHandlesFormat) + " " +
           VersionDisplay(kProgramFormatVersion);
}

namespace {

// Double fork so the started program is adopted by init and never waited for.
bool SpawnDetached(const std::string& path) {
    if (access(path.c_str(), X_OK) != 0) return false;
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        if (fork() == 0) {
            setsid();
            execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return true;
}

} // namespace

bool StartProgramFor(Program& p, const std::string& formatVersion) {
    std::string version = ProgramForFormat(p.Versions, formatVersion);
    if (version.empty()) {
        TellId(p, txt::kNoInstalledProgramVersion);
        return false;
    }
    std::string path = p.Dirs.InstallRoot + "/" + version + "/" + p.Dirs.ProgramFileName;
    return p.Prompts.startProgram ? p.Prompts.startProgram(path) : SpawnDetached(path);
}

} // namespace tarvane
