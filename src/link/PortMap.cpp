#include "link/PortMap.h"

#include <algorithm>

#include "app/IniFile.h"
#include "app/Program.h"
#include "app/lang/LangText.h"

namespace tarvane {

namespace {
constexpr const char* kPortsSection = "Ports";
std::string Key(int number) { return "Port" + std::to_string(number); }
} // namespace

PortMap LoadPortMap(const Program& p) {
    PortMap map;
    IniFile ini;
    ini.Load(p.Dirs.SetupFile);
    for (int n = 1; n <= kPortCount; ++n) map[static_cast<size_t>(n - 1)] = ini.GetOr(kPortsSection, Key(n));
    return map;
}

bool SavePortMap(const Program& p, const PortMap& map) {
    IniFile ini;
    ini.Load(p.Dirs.SetupFile); // every other line of the file stays as it was
    for (int n = 1; n <= kPortCount; ++n) ini.Set(kPortsSection, Key(n), map[static_cast<size_t>(n - 1)]);
    return ini.Save(p.Dirs.SetupFile);
}

bool MapNewDevices(PortMap& map, const std::vector<std::string>& presentDevices) {
    bool changed = false;
    for (const std::string& device : presentDevices) {
        if (device.empty() || std::find(map.begin(), map.end(), device) != map.end()) continue;
        auto free = std::find(map.begin(), map.end(), std::string());
        if (free == map.end()) break;
        *free = device;
        changed = true;
    }
    return changed;
}

bool AssignPortPath(Program& p, int number, const std::string& path) {
    if (number < 1 || number > kPortCount) return false;
    PortMap map = LoadPortMap(p);
    for (std::string& entry : map)
        if (!path.empty() && entry == path) entry.clear();
    map[static_cast<size_t>(number - 1)] = path;
    return SavePortMap(p, map);
}

std::string PortDevicePath(const Program& p, int number) {
    if (number < 1 || number > kPortCount) number = 1;
    std::string mapped = LoadPortMap(p)[static_cast<size_t>(number - 1)];
    return mapped.empty() ? "/dev/ttyS" + std::to_string(number - 1) : mapped;
}

std::string PortOpenFailureText(Program& p, const std::string& device, const std::string& reason,
                                bool permissionDenied) {
    std::string text = LangText(p, 9003_txt) + "\r\n" + device;
    if (!reason.empty()) text += ": " + reason;
    if (permissionDenied) text += "\r\n" + LangText(p, 9031_txt);
    return text;
}

} // namespace tarvane
