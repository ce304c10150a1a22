#include "base/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace tarvane {

std::string RecentKey(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    fs::path abs = fs::absolute(path, ec);
    if (ec) abs = path;
    return abs.lexically_normal().string();
}

std::vector<std::string> AddRecentFile(const std::vector<std::string>& list, const std::string& path) {
    const std::string key = RecentKey(path);
    std::vector<std::string> out;
    if (!key.empty()) out.push_back(key);
    for (const std::string& entry : list) {
        const std::string k = RecentKey(entry);
        if (k.empty() || std::find(out.begin(), out.end(), k) != out.end()) continue;
        if (out.size() == kMaxRecentFiles) break;
        out.push_back(k);
    }
    return out;
}

std::vector<std::string> ExistingRecentFiles(const std::vector<std::string>& list,
                                             const std::function<bool(const std::string&)>& exists) {
    std::vector<std::string> out;
    for (const std::string& entry : list) {
        const std::string k = RecentKey(entry);
        if (k.empty() || std::find(out.begin(), out.end(), k) != out.end() || !exists(k)) continue;
        if (out.size() == kMaxRecentFiles) break;
        out.push_back(k);
    }
    return out;
}

bool RegularFileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace tarvane
