#include "link/LinkSettings.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "base/IniFile.h"
#include "state/Program.h"

namespace tarvane {

namespace {

constexpr const char* kSetupSection = "language";
constexpr const char* kVerifyKey = "VerifyWrite";
constexpr const char* kEchoSection = "NoEchoMode";
constexpr long kEchoDevices = 16;

std::string TrimBlanks(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool UsableKey(const std::string& device) {
    return !device.empty() && device.find_first_of("=;[]\r\n") == std::string::npos &&
           device.front() != ' ' && device.back() != ' ';
}

std::optional<bool> Flag(const std::string& text) {
    if (text == "1") return true;
    if (text == "0") return false;
    return std::nullopt;
}

} // namespace

void LoadVerifySetting(Program& p) {
    if (p.Dirs.SetupFile.empty()) return;
    p.Link.VerifyWrite = Flag(ReadIniValue(p.Dirs.SetupFile, kSetupSection, kVerifyKey)).value_or(false);
}

bool SaveVerifySetting(const Program& p) {
    if (p.Dirs.SetupFile.empty()) return false;
    return WriteIniValue(p.Dirs.SetupFile, kSetupSection, kVerifyKey, p.Link.VerifyWrite ? "1" : "0");
}

std::optional<bool> LoadNoEchoMode(const Program& p, const std::string& device) {
    if (p.Dirs.SetupFile.empty() || !UsableKey(device)) return std::nullopt;
    return Flag(ReadIniValue(p.Dirs.SetupFile, kEchoSection, device));
}

bool SaveNoEchoMode(const Program& p, const std::string& device, bool noEcho) {
    if (p.Dirs.SetupFile.empty() || !UsableKey(device)) return false;
    if (LoadNoEchoMode(p, device) == noEcho) return true;
    // The section is rebuilt with this device last and only the most recent
    // devices kept, so that passing devices (a simulator's links) do not make
    // the file grow without end.
    IniFile ini;
    ini.Load(p.Dirs.SetupFile);
    std::istringstream in(ini.Text());
    std::vector<std::string> before, after, kept;
    std::vector<std::string>* part = &before;
    bool inSection = false, seen = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = TrimBlanks(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            inSection = SameText(trimmed, std::string("[") + kEchoSection + "]");
            if (inSection) {
                seen = true;
                continue;
            }
            if (seen) part = &after;
        }
        if (!inSection) {
            part->push_back(line);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos || !SameText(TrimBlanks(line.substr(0, eq)), device)) {
            if (!trimmed.empty()) kept.push_back(line);
        }
    }
    kept.push_back(device + "=" + (noEcho ? "1" : "0"));
    if (kept.size() > kEchoDevices) kept.erase(kept.begin(), kept.end() - kEchoDevices);
    std::string text;
    for (const std::string& l : before)
        text += l + "\n";
    text += std::string("[") + kEchoSection + "]\n";
    for (const std::string& l : kept)
        text += l + "\n";
    for (const std::string& l : after)
        text += l + "\n";
    ini.Parse(text); // the same object: a file it could not read stays as it is
    return ini.Save(p.Dirs.SetupFile);
}

} // namespace tarvane
