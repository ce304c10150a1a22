// The folders of src/ stack one way: a folder includes only folders below it in
// this list (docs/architecture.md draws it). An include that points up would
// tie the floors into a knot again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kFloors = {"base",     "state",  "ui",     "freq",  "image", "features",
                                          "channels", "memory", "doc",    "link",  "sim",   "exchange",
                                          "report",   "batch",  "detect", "guide", "frame", "cli"};

TEST(Layers, EveryIncludePointsDownTheFloors) {
    namespace fs = std::filesystem;
    const fs::path src = fs::path(TARVANE_SOURCE_DIR) / "src";
    const std::regex include(R"(#include\s*"([^/"]+)/[^"]+")");
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        const std::string folder = fs::relative(entry.path(), src).begin()->string();
        const auto own = std::find(kFloors.begin(), kFloors.end(), folder);
        ASSERT_NE(own, kFloors.end()) << folder << " is no floor of the list: add it where it belongs";
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        for (std::sregex_iterator it(s.begin(), s.end(), include), end; it != end; ++it) {
            const std::string target = (*it)[1];
            if (target == folder || !fs::is_directory(src / target)) continue; // own folder, generated header
            const auto to = std::find(kFloors.begin(), kFloors.end(), target);
            ++checked;
            // The two programs stand side by side on top: neither includes the other.
            EXPECT_TRUE(to < own && !(folder == "cli" && target == "frame"))
                << fs::relative(entry.path(), src).string() << " includes " << (*it)[0]
                << ", which is not below it";
        }
    }
    EXPECT_GT(checked, 100) << "the scan found too few includes to be looking at the sources";
}

} // namespace
