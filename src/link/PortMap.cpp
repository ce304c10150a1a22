#include "link/PortMap.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/IniFile.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {

namespace {
constexpr const char* kPortsSection = "Ports";
std::string Key(int number) {
    return "Port" + std::to_string(number);
}
} // namespace

PortMap LoadPortMap(const Program& p) {
    PortMap map;
    IniFile ini;
    ini.Load(p.Dirs.SetupFile);
    for (int n = 1; n <= kPortCount; ++n)
        map[static_cast<size_t>(n - 1)] = ini.GetOr(kPortsSection, Key(n));
    return map;
}

bool SavePortMap(const Program& p, const PortMap& map) {
    IniFile ini;
    ini.Load(p.Dirs.SetupFile); // every other line of the file stays as it was
    for (int n = 1; n <= kPortCount; ++n)
        ini.Set(kPortsSection, Key(n), map[static_cast<size_t>(n - 1)]);
    return ini.Save(p.Dirs.SetupFile);
}

bool MapNewDevices(PortMap& map, const std::vector<std::string>& presentDevices) {
    bool changed = false;
    for (const std::string& device : presentDevices) {
        if (device.empty() || std::find(map.begin(), map.end(), device) != map.end()) continue;
        // A classic port already has its number (/dev/ttyS0 is port 1); it never takes another.
        if (ClassicPortNumber(device) > 0) continue;
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

int ClassicPortNumber(const std::string& device) {
    const std::string prefix = "/dev/ttyS";
    if (device.size() <= prefix.size() || device.compare(0, prefix.size(), prefix) != 0) return 0;
    const std::string digits = device.substr(prefix.size());
    if (digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
    return std::stoi(digits) + 1;
}

std::string PortDevicePath(const Program& p, int number) {
    if (number < 1 || number > kPortCount) number = 1;
    std::string mapped = LoadPortMap(p)[static_cast<size_t>(number - 1)];
    return mapped.empty() ? "/dev/ttyS" + std::to_string(number - 1) : mapped;
}

namespace {

// Lock file names for a device path: as the serial library names them (the path
// below /dev/, '/' made '_') and, for a link, as other programs name the
// device it points to (minicom, picocom: LCK..ttyUSB0).
std::vector<std::string> LockNames(const std::string& device) {
    auto name = [](std::string path) {
        if (path.starts_with("/dev/")) path.erase(0, 5);
        std::replace(path.begin(), path.end(), '/', '_');
        return "LCK.." + path;
    };
    std::vector<std::string> names{name(device)};
    char resolved[PATH_MAX];
    if (realpath(device.c_str(), resolved)) {
        const std::string real = resolved;
        for (const std::string& n : {name(real), "LCK.." + real.substr(real.find_last_of('/') + 1)})
            if (std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
    }
    return names;
}

// The process id a lock file names: ASCII digits (HDB and Qt style, leading
// blanks allowed) or a 4-byte binary number (old style). Only a small regular
// file is read; anything else in a world-writable folder is not trusted.
long LockFilePid(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st {};
    char buf[64] = {};
    ssize_t got = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= 4096)
        got = read(fd, buf, sizeof buf - 1);
    close(fd);
    if (got <= 0) return 0;
    // Four bytes are a binary number unless they are all text a pid is written in:
    // a binary pid below 2^24 has a NUL high byte, and its low byte may well be
    // an ASCII digit.
    const bool text =
        std::all_of(buf, buf + got, [](char c) { return (c >= '0' && c <= '9') || c == ' ' || c == '\n'; });
    if (got == 4 && !text) {
        int32_t binary = 0;
        std::copy(buf, buf + 4, reinterpret_cast<char*>(&binary));
        return binary;
    }
    char* end = nullptr;
    const long pid = std::strtol(buf, &end, 10);
    return end != buf && (*end == '\0' || *end == '\n' || *end == ' ') ? pid : 0;
}

bool ProcessLives(long pid) {
    if (pid <= 0 || pid > INT_MAX) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

std::vector<std::string> DefaultLockDirs() {
    std::vector<std::string> dirs{"/var/lock",       "/run/lock", "/etc/locks", "/var/spool/locks",
                                  "/var/spool/uucp", "/tmp",      "/var/tmp",   "/var/lock/lockdev"};
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) dirs.push_back(tmp);
    return dirs;
}

long PortLockHolder(const std::string& device, const std::vector<std::string>& lockDirs) {
    for (const std::string& dir : lockDirs)
        for (const std::string& name : LockNames(device))
            if (const long pid = LockFilePid(dir + "/" + name); ProcessLives(pid)) return pid;
    return 0;
}

std::string PortOpenFailureText(Program& p, const std::string& device, const std::string& reason,
                                bool permissionDenied) {
    return PortOpenFailureText(p, device, reason, permissionDenied, DefaultLockDirs());
}

std::string PortOpenFailureText(Program& p, const std::string& device, const std::string& reason,
                                bool permissionDenied, const std::vector<std::string>& lockDirs) {
    std::string text = LangText(p, txt::kSerialPortCouldNot) + "\r\n" + device;
    if (permissionDenied) {
        if (const long holder = PortLockHolder(device, lockDirs); holder > 0)
            return text + "\r\n" +
                   FillIn(LangText(p, txt::kPortUseAnotherProgram_32602), {std::to_string(holder)}) + "\r\n" +
                   LangText(p, txt::kCloseProgramChooseAnother);
        // Allowed to open it, yet refused: another program holds the device.
        if (access(device.c_str(), R_OK | W_OK) == 0)
            return text + "\r\n" + LangText(p, txt::kPortUseAnotherProgram_32601) + "\r\n" +
                   LangText(p, txt::kCloseProgramChooseAnother);
    }
    if (!reason.empty()) text += ": " + reason;
    if (permissionDenied)
        text += "\r\n" + LangText(p, txt::kYourUserMayNot) + "\r\n" + LangText(p, txt::kHowGetAccessSee);
    return text;
}

} // namespace tarvane
