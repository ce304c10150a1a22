#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "TestProgram.h"
#include "base/IniFile.h"
#include "state/lang/LangText.h"
#include "state/lang/Languages.h"

namespace tarvane {
namespace {

TEST(LangText, SectionFollowsTheIdentifierRange) {
    const std::pair<int, const char*> cases[] = {
        {0, "OTHER"},           {8999, "OTHER"},    {9000, "Msg"},    {9999, "Msg"},
        {10000, "Menu"},        {11999, "ToolBar"}, {12000, "Main"},  {14013, "ChannelInfo"},
        {15000, "ChannelEdit"}, {21000, "Local"},   {24999, "About"}, {29000, "TONETIPS"},
        {31999, "ResetMode"},   {32000, "Others"},  {99999, "Others"}};
    for (auto [id, section] : cases)
        EXPECT_STREQ(LangSection(id), section) << id;
}

TEST(LangText, FillInPutsEachValueInEveryMarkOfItsNumberOnce) {
    const std::vector<std::string> two{"COM1", "%1"};
    const std::vector<std::string> twelve{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "L"};
    const struct {
        std::string text;
        const std::vector<std::string>& values;
        std::string filled;
    } cases[] = {
        {"%1 on %2, again %1", two, "COM1 on %1, again COM1"}, // a value is never searched for marks
        {"%3 and %0 stay", two, "%3 and %0 stay"},
        {"100% sure: %2%1", two, "100% sure: %1COM1"},
        {"%12 %1", two, "COM12 COM1"},
        {"%12 %1", twelve, "L a"},
        {"ends with %", two, "ends with %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FillIn(c.text, c.values), c.filled) << c.text;
}

TEST(LangText, TextsAreTrimmedCutAndMissingOnesEnglish) {
    auto t = test::MakeTestProgram();
    Program& p = *t;
    std::string folder = test::TempDir();
    std::filesystem::create_directories(folder + "/language");
    std::ofstream(folder + "/language/english.ini")
        << "[Msg]\n9002=   spaced text   \n[Others]\n32000=" << std::string(300, 'y')
        << "\n[OTHER]\n5=five\n";
    p.Dirs.ProgramFolder = folder;
    IniFile shipped;
    ASSERT_TRUE(shipped.Load(std::string(TARVANE_SOURCE_DIR) + "/data/language/english.ini"));
    EXPECT_EQ(LangText(p, 9002_txt), "spaced text");
    EXPECT_EQ(LangText(p, 32000_txt).size(), 254u);
    EXPECT_EQ(LangText(p, 5_txt), "five");
    // A text the file lacks is the shipped English one, as the file would give it.
    EXPECT_EQ(LangText(p, 9003_txt), shipped.GetOr("Msg", "9003"));
    EXPECT_EQ(LangText(p, 9007_txt), shipped.GetOr("Msg", "9007"));
    EXPECT_EQ(LangText(p, 8888_txt), ""); // no file knows it
    // A missing language file speaks English, not blanks.
    SetLanguage(p, 2);
    EXPECT_EQ(LangText(p, 9002_txt), shipped.GetOr("Msg", "9002"));
    EXPECT_FALSE(LangText(p, 10000_txt).empty());
}

// The language list reads each file's [Language] section wherever it stands.
TEST(LangText, LanguageListReadsTheLanguageSectionOfEachFile) {
    const struct {
        const char* file;
        std::string text;
        const char* name;
        const char* code;
    } cases[] = {
        {"a.ini", "[Language]\nName=Alpha\nCode=aa\n[Msg]\nName=not this\n", "Alpha", "aa"},
        {"b.ini", "\xEF\xBB\xBF[language]\r\nname = Beta\r\ncode=bb\r\n[Msg]\r\n9001=x\r\n", "Beta", "bb"},
        {"c.ini", "[Msg]\n9001=x\nName=not this\n  [Language]\nCode=cc\nName=Gamma\n", "Gamma", "cc"},
        {"d.ini", "[Msg]\n9001=x\n", "d", ""},
    };
    const std::string folder = test::TempDir();
    std::filesystem::create_directories(folder + "/language");
    for (const auto& c : cases)
        std::ofstream(folder + "/language/" + c.file, std::ios::binary) << c.text;
    const std::vector<LanguageEntry> list = ListLanguages(folder);
    ASSERT_EQ(list.size(), 2 + std::size(cases)); // English and Chinese come first, always
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(list[i + 2].FileName, cases[i].file);
        EXPECT_EQ(list[i + 2].Name, cases[i].name) << cases[i].file;
        EXPECT_EQ(list[i + 2].Code, cases[i].code) << cases[i].file;
    }
}

// Every identifier the sources use, as NNNN_txt or by its name txt::kName (the
// ";@ Name" line above it in english.ini), must be present and non-empty in every
// language file.
TEST(LangText, EveryIdentifierUsedExistsInEveryLanguage) {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(TARVANE_SOURCE_DIR) / "data" / "language";
    std::map<std::string, int> named;
    {
        std::ifstream in(data / "english.ini");
        std::string line, pending;
        while (std::getline(in, line)) {
            if (line.rfind(";@ ", 0) == 0)
                pending = line.substr(3);
            else if (const size_t eq = line.find('='); !pending.empty() && eq != std::string::npos) {
                named[pending] = std::stoi(line.substr(0, eq));
                pending.clear();
            }
        }
    }
    std::set<int> used;
    const std::regex literal(R"(\b([0-9]+)_txt\b)"), name(R"(\btxt::k(\w+))");
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TARVANE_SOURCE_DIR) / "src")) {
        auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream ss;
        ss << in.rdbuf();
        std::string text = ss.str();
        for (std::sregex_iterator it(text.begin(), text.end(), literal), end; it != end; ++it)
            used.insert(std::stoi((*it)[1]));
        for (std::sregex_iterator it(text.begin(), text.end(), name), end; it != end; ++it) {
            const auto id = named.find((*it)[1]);
            ASSERT_NE(id, named.end()) << entry.path() << ": no text is named " << (*it)[1];
            used.insert(id->second);
        }
    }
    ASSERT_GT(used.size(), 5u) << "the scan found too few identifiers to be looking at the sources";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(data)) {
        if (entry.path().extension() != ".ini") continue;
        ++files;
        const std::string file = entry.path().filename().string();
        IniFile ini;
        ASSERT_TRUE(ini.Load(entry.path().string())) << file;
        for (int id : used)
            EXPECT_FALSE(ini.GetOr(LangSection(id), std::to_string(id)).empty())
                << file << " lacks [" << LangSection(id) << "] " << id;
    }
    EXPECT_GE(files, 5);
}

} // namespace
} // namespace tarvane
