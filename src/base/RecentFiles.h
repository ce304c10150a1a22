#pragma once
// The rules of File > Recent files: the last documents opened or saved, newest
// first, each once, files that are gone left out.
#include <functional>
#include <string>
#include <vector>

namespace tarvane {

inline constexpr size_t kMaxRecentFiles = 8;

// The path made absolute and normal, so two spellings of one file are one entry.
std::string RecentKey(const std::string& path);
// The list with the path first (an earlier entry of it removed), at most 8.
std::vector<std::string> AddRecentFile(const std::vector<std::string>& list, const std::string& path);
// The list without empty entries, repeats and files `exists` says are missing, at most 8.
std::vector<std::string> ExistingRecentFiles(const std::vector<std::string>& list,
                                             const std::function<bool(const std::string&)>& exists);
// Whether a regular file is at the path.
bool RegularFileExists(const std::string& path);

} // namespace tarvane
