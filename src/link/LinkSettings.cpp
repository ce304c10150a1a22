#include "link/LinkSettings.h"

#include "app/IniFile.h"
#include "app/Program.h"

namespace tarvane {

namespace {

constexpr const char* kSetupSection = "language";
constexpr const char* kVerifyKey = "VerifyWrite";
constexpr const char* kEchoSection = "NoEchoMode";

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
    return WriteIniValue(p.Dirs.SetupFile, kEchoSection, device, noEcho ? "1" : "0");
}

} // namespace tarvane
