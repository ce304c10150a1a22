#include "state/lang/Languages.h"

#include <algorithm>
#include <filesystem>

#include "base/IniFile.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

constexpr const char* kEnglish = "english.ini";
constexpr const char* kChinese = "chinese.ini";

// A language file's name and code, from the file's head: parsing and indexing
// every text of every language file at start cost more than the rest of it.
LanguageEntry Describe(const std::string& path, const std::string& fileName) {
    const std::map<std::string, std::string> head = ReadIniSection(path, "Language");
    const auto value = [&head](const char* key) {
        const auto it = head.find(key);
        return it == head.end() ? std::string() : it->second;
    };
    LanguageEntry e{fileName, value("name"), value("code")};
    if (e.Name.empty()) e.Name = fileName.substr(0, fileName.size() - 4);
    return e;
}

} // namespace

std::vector<LanguageEntry> ListLanguages(const std::string& programFolder) {
    namespace fs = std::filesystem;
    const std::string folder = programFolder + "/language";
    std::vector<std::string> others;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 4 && name.ends_with(".ini") && name != kEnglish && name != kChinese &&
            it->is_regular_file(ec))
            others.push_back(name);
    }
    std::sort(others.begin(), others.end());
    std::vector<LanguageEntry> list{Describe(folder + "/" + kEnglish, kEnglish),
                                    Describe(folder + "/" + kChinese, kChinese)};
    if (list[0].Code.empty()) list[0] = {kEnglish, "English", "en"};
    for (const std::string& name : others)
        list.push_back(Describe(folder + "/" + name, name));
    return list;
}

int LanguageForLocale(const std::vector<LanguageEntry>& languages, const std::string& locale) {
    const std::string language = locale.substr(0, locale.find_first_of("_.@"));
    for (size_t i = 0; i < languages.size(); ++i) {
        const std::string& code = languages[i].Code;
        if (!language.empty() && (code == language || code.starts_with(language + "_")))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

void SetLanguage(Program& p, int index) {
    if (index >= 3) {
        const std::vector<LanguageEntry> list = ListLanguages(p.Dirs.ProgramFolder);
        if (static_cast<size_t>(index) <= list.size()) {
            p.Lang.Index = index;
            p.Lang.FileName = list[static_cast<size_t>(index) - 1].FileName;
            return;
        }
    }
    p.Lang.Index = index == 2 ? 2 : 1;
    p.Lang.FileName = p.Lang.Index == 2 ? kChinese : kEnglish;
}

bool SetLanguageFile(Program& p, const std::string& fileName) {
    const std::vector<LanguageEntry> list = ListLanguages(p.Dirs.ProgramFolder);
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].FileName == fileName) {
            SetLanguage(p, static_cast<int>(i) + 1);
            return true;
        }
    return false;
}

std::string LanguageCode(const Program& p) {
    const std::string code = Describe(LangFilePath(p), p.Lang.FileName).Code;
    return code.empty() ? "en" : code;
}

} // namespace tarvane
