// The getting-started guide: a page for every language of the program, with
// every picture it shows installed beside it; the right page for a language;
// the "shown once" mark; and the window showing the page of the current language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "TestProgram.h"
#include "guide/FrmGuide.h"
#include "guide/GuidePages.h"
#include "state/Program.h"
#include "state/lang/Languages.h"

namespace tarvane {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Guide, EveryLanguageHasAStagedPageWhosePicturesAreThere) {
    const std::string folder = TARVANE_PROGRAM_DIR;
    const std::vector<LanguageEntry> languages = ListLanguages(folder);
    ASSERT_GE(languages.size(), 5u);
    for (const LanguageEntry& l : languages) {
        const std::string page = GuidePage(folder, l.Code);
        EXPECT_EQ(fs::path(page).filename().string(), l.Code + ".html") << l.FileName;
        const std::string html = Slurp(page);
        const std::regex img(R"re(<img src="([^"]+)")re");
        int pictures = 0;
        for (std::sregex_iterator it(html.begin(), html.end(), img), end; it != end; ++it, ++pictures)
            EXPECT_TRUE(fs::is_regular_file(fs::path(page).parent_path() / (*it)[1].str()))
                << page << ": " << (*it)[1];
        EXPECT_GE(pictures, 2) << page;
        // Connect, find, read, edit, save, write, backups: seven steps, shorter pages too.
        EXPECT_GE(std::count(html.begin(), html.end(), '\n'), 12) << page;
    }
}

TEST(Guide, APageForTheLanguageElseItsLanguageElseEnglishShownOnceAtStart) {
    const std::string dir = test::TempDir();
    fs::create_directory(dir + "/guide");
    for (const char* name : {"en", "zh_CN", "pt"})
        std::ofstream(dir + "/guide/" + name + ".html") << "<html></html>";
    struct Case {
        std::string code, page;
    };
    for (const Case& c : {Case{"zh_CN", "zh_CN"}, Case{"pt_BR", "pt"}, Case{"de", "en"}, Case{"", "en"}})
        EXPECT_EQ(GuidePage(dir, c.code), dir + "/guide/" + c.page + ".html") << c.code;
    EXPECT_EQ(GuidePage(dir + "/nothing", "en"), "");
    // The first start shows it once; the rest of the setup file stays.
    auto t = test::MakeTestProgram();
    std::ofstream(t->Dirs.SetupFile) << "[language]\ncomPort=3\n";
    EXPECT_TRUE(GuideDueAtStart(*t));
    ASSERT_TRUE(NoteGuideShown(*t));
    EXPECT_FALSE(GuideDueAtStart(*t));
    EXPECT_NE(Slurp(t->Dirs.SetupFile).find("comPort=3"), std::string::npos);
}

TEST(Guide, TheWindowShowsThePageOfTheCurrentLanguage) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "guide_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    auto t = test::MakeTestProgram();
    t->Dirs.ProgramFolder = TARVANE_PROGRAM_DIR;
    for (const char* file : {"german.ini", "chinese.ini"}) {
        ASSERT_TRUE(SetLanguageFile(*t, file));
        FrmGuide guide(*t);
        const std::string expected = GuidePage(TARVANE_PROGRAM_DIR, LanguageCode(*t));
        EXPECT_EQ(guide.Browser->source().toLocalFile().toStdString(), expected) << file;
        EXPECT_FALSE(guide.Browser->toPlainText().isEmpty()) << file;
        EXPECT_NE(guide.windowTitle(), QString("Getting started")) << file;
    }
}

} // namespace
} // namespace tarvane
