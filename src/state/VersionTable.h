#pragma once
// The version table read from Version.ini: which codeplug format versions each
// installed program version opens.
#include <string>
#include <utility>
#include <vector>

namespace tarvane {

inline constexpr const char* kProgramFormatVersion = "V100";
inline constexpr const char* kDefaultModelCode = "Tarvane";

struct VersionTable {
    std::string CurrentVersion;
    std::vector<std::string> Soft;
    // (program version, format version) pairs
    std::vector<std::pair<std::string, std::string>> Firm;
};

} // namespace tarvane
