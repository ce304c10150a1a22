#include "doc/Backups.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/ModelVersion.h"
#include "state/Program.h"

namespace fs = std::filesystem;

namespace tarvane {

namespace {

std::string Clean(std::string_view text) {
    std::string out;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-') out += c;
    return out.empty() ? std::string("radio") : out;
}

// "YYYYMMDD-HHMMSS_": the part that makes a name ours and sorts by time.
bool IsBackupName(const std::string& name) {
    if (name.size() < 21 || name.substr(name.size() - 4) != ".dat") return false;
    for (size_t i = 0; i < 15; ++i) {
        if (i == 8) {
            if (name[i] != '-') return false;
        } else if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            return false;
        }
    }
    return name[15] == '_';
}

} // namespace

std::string BackupFolder(const std::function<const char*(const char*)>& env) {
    const char* data = env("XDG_DATA_HOME");
    fs::path base;
    if (data && *data && fs::path(data).is_absolute()) {
        base = data;
    } else {
        const char* home = env("HOME");
        if (!home || !*home) return {};
        base = fs::path(home) / ".local" / "share";
    }
    return (base / "tarvane-cps" / "backups").string();
}

std::string BackupFileName(const std::tm& when, std::string_view modelCode, std::string_view band,
                           BackupKind kind) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    return std::string(stamp) + "_" + Clean(modelCode) + "_" + Clean(band) + "_" +
           (kind == BackupKind::Read ? "read" : "write") + ".dat";
}

std::vector<std::string> ListBackups(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsBackupName(name) && it->is_regular_file(ec)) names.push_back(name);
    }
    // The time comes first in the name; within a second a later "-n" sorts after.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ta = a.substr(0, 15), tb = b.substr(0, 15);
        if (ta != tb) return ta > tb;
        if (a.size() != b.size()) return a.size() > b.size();
        return a > b;
    });
    std::vector<std::string> paths;
    for (const std::string& n : names)
        paths.push_back((fs::path(folder) / n).string());
    return paths;
}

void PruneBackups(const std::string& folder, size_t keep) {
    const std::vector<std::string> all = ListBackups(folder);
    std::error_code ec;
    for (size_t i = keep; i < all.size(); ++i)
        fs::remove(all[i], ec);
}

std::string KeepBackup(Program& p, BackupKind kind, const std::string& folder, std::time_t now) {
    if (folder.empty()) return {};
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string name = BackupFileName(local, p.Model.ModelCode, TypeName(p.Model.ModelType), kind);
    fs::path path = fs::path(folder) / name;
    for (int n = 2; fs::exists(path, ec) && n < 1000; ++n)
        path = fs::path(folder) / (name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".dat");
    RadioImage copy = p.Image;
    // Stamped as a save stamps, so the backup opens like any codeplug.
    StampVersion(p, copy.Settings);
    if (!WriteFileAtomic(path.string(), EncodeCodeplug(copy))) return {};
    PruneBackups(folder);
    return path.string();
}

} // namespace tarvane
