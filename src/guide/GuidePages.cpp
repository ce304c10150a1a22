#include "guide/GuidePages.h"

#include <filesystem>

#include "base/IniFile.h"
#include "state/Program.h"

namespace tarvane {

namespace {
constexpr const char* kSection = "language";
constexpr const char* kKey = "GuideShown";
} // namespace

std::string GuidePage(const std::string& programFolder, const std::string& code) {
    const std::filesystem::path folder = std::filesystem::path(programFolder) / "guide";
    for (const std::string& name : {code, code.substr(0, code.find('_')), std::string("en")}) {
        if (name.empty()) continue;
        const std::filesystem::path page = folder / (name + ".html");
        std::error_code ec;
        if (std::filesystem::is_regular_file(page, ec)) return page.string();
    }
    return "";
}

bool GuideDueAtStart(const Program& p) {
    IniFile ini;
    ini.Load(p.Dirs.SetupFile);
    return ini.GetOr(kSection, kKey) != "1";
}

bool NoteGuideShown(const Program& p) {
    IniFile ini;
    ini.Load(p.Dirs.SetupFile); // every other line of the file stays as it was
    ini.Set(kSection, kKey, "1");
    return ini.Save(p.Dirs.SetupFile);
}

} // namespace tarvane
