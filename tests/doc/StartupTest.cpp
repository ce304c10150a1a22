#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "TestProgram.h"
#include "base/IniFile.h"
#include "doc/Caption.h"
#include "doc/Startup.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {
namespace fs = std::filesystem;

// An install root with a program folder below it, holding copies of the staged files.
struct Install {
    std::string root = test::TempDir();
    std::string program = root + "/V100";
    StartupEnvironment env;

    explicit Install(const std::string& setup, bool withVersionIni = true) {
        fs::create_directories(root + "/language");
        fs::copy(std::string(TARVANE_PROGRAM_DIR), program, fs::copy_options::recursive);
        if (withVersionIni)
            fs::copy_file(std::string(TARVANE_INSTALL_ROOT) + "/Version.ini", root + "/Version.ini");
        if (!setup.empty()) std::ofstream(SetupPath()) << setup;
        env.ProgramFolder = program;
        env.ConfigHome = root + "/config";
    }
    std::string SetupPath() const { return root + "/language/mysetup.ini"; }
    std::string Setup(const std::string& key) const { return ReadIniValue(SetupPath(), "language", key); }
};

struct LanguageCase {
    const char* name;
    const char* setup;
    const char* lang; // LANG of the environment
    const char* expectedFile;
    const char* writtenLanguage;
    const char* writtenFile; // LanguageFile in the setup file
};

TEST(StartUp, LanguageFromSetupFileAndLocale) {
    const LanguageCase cases[] = {
        {"first run on a Chinese locale", "[language]\nIsFirstRun=1\ncomPort=1\nCurrentLanguage=1\n",
         "zh_CN.UTF-8", "chinese.ini", "2", ""},
        // Older versions sharing the file read English from the index.
        {"first run on a German locale", "[language]\nIsFirstRun=True\ncomPort=1\nCurrentLanguage=2\n",
         "de_DE.UTF-8", "german.ini", "1", "german.ini"},
        {"first run on a locale without texts", "[language]\nIsFirstRun=1\ncomPort=1\nCurrentLanguage=2\n",
         "fr_FR.UTF-8", "english.ini", "1", ""},
        {"stored English on a Chinese locale", "[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=1\n",
         "zh_CN.UTF-8", "english.ini", "1", ""},
        {"stored Chinese", "[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=2\n", "en_US.UTF-8",
         "chinese.ini", "2", ""},
        {"unknown index follows the locale", "[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=3\n",
         "zh_CN.UTF-8", "chinese.ini", "3", ""},
        {"stored further language",
         "[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=1\nLanguageFile=polish.ini\n", "en_US.UTF-8",
         "polish.ini", "1", "polish.ini"},
        {"stored language whose file is gone",
         "[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=2\nLanguageFile=klingon.ini\n", "en_US.UTF-8",
         "chinese.ini", "2", "klingon.ini"},
    };
    for (const auto& c : cases) {
        Install inst(c.setup);
        inst.env.Lang = c.lang;
        auto t = test::MakeTestProgram();
        StartUp(*t, inst.env);
        EXPECT_EQ(t->Lang.FileName, c.expectedFile) << c.name;
        EXPECT_EQ(t->Lang.ShownIndex, t->Lang.Index) << c.name;
        EXPECT_EQ(inst.Setup("IsFirstRun"), "0") << c.name;
        EXPECT_EQ(inst.Setup("CurrentLanguage"), c.writtenLanguage) << c.name;
        EXPECT_EQ(inst.Setup("LanguageFile"), c.writtenFile) << c.name;
    }
}

TEST(StartUp, LocaleVariablesInTheirOrder) {
    StartupEnvironment env;
    env.Lang = "zh_CN.UTF-8";
    EXPECT_EQ(LanguageFromLocale(env), 2);
    env.LcMessages = "en_GB.UTF-8";
    EXPECT_EQ(LanguageFromLocale(env), 1);
    env.LcAll = "zh_CN.GB18030";
    EXPECT_EQ(LanguageFromLocale(env), 2);
    env.LcAll = "zh_TW.UTF-8"; // only the PRC locale selects the Chinese texts
    EXPECT_EQ(LanguageFromLocale(env), 1);
}

TEST(StartUp, PortIsReadAndWrittenBack) {
    Install inst("[language]\nIsFirstRun=0\ncomPort=7\nCurrentLanguage=1\n");
    auto t = test::MakeTestProgram();
    StartUp(*t, inst.env);
    EXPECT_EQ(t->Link.SerialPortNumber, 7);
    EXPECT_EQ(inst.Setup("comPort"), "7");
}

TEST(StartUp, MissingOrMalformedFilesFallBackToDefaults) {
    Install inst("", /*withVersionIni=*/false);
    auto t = test::MakeTestProgram();
    StartUp(*t, inst.env);
    EXPECT_EQ(t->Link.SerialPortNumber, 1);
    EXPECT_EQ(t->Lang.Index, 1);
    // Without a version table the program still opens its own format.
    ASSERT_EQ(t->Versions.Firm.size(), 1u);
    EXPECT_EQ(t->Versions.Firm[0], std::make_pair(std::string("V100"), std::string("V100")));
    EXPECT_EQ(inst.Setup("IsFirstRun"), "0");
    EXPECT_EQ(inst.Setup("comPort"), "1");

    Install bad("[language]\nIsFirstRun=maybe\ncomPort=COM3\nCurrentLanguage=x\n");
    std::ofstream(bad.root + "/Version.ini") << "[Version]\nSoftVersionCount=one\n";
    auto u = test::MakeTestProgram();
    StartUp(*u, bad.env);
    EXPECT_EQ(u->Link.SerialPortNumber, 1);
    EXPECT_EQ(u->Versions.Firm.size(), 1u);
}

TEST(StartUp, BuildsTheInitialDocumentFromTheInitFolder) {
    Install inst("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=1\n");
    auto t = test::MakeTestProgram();
    StartUp(*t, inst.env);
    EXPECT_EQ(t->Model.ModelType, 0);
    EXPECT_EQ(t->Doc.Path, "new.dat");
    EXPECT_TRUE(t->Doc.Untitled);
    EXPECT_GT(t->Image.Settings.ChannelCount, 300); // every country plan of the shipped new document
    EXPECT_EQ(LangText(*t, 9017_txt), "OK");
}

TEST(StartUp, FlagFileIsReadAndWrittenBackUnchanged) {
    Install inst("[language]\nIsFirstRun=0\ncomPort=1\nCurrentLanguage=1\n");
    std::ofstream(inst.program + "/Setting.ini", std::ios::binary).write("\x05\x06\x07\x08", 4);
    auto t = test::MakeTestProgram();
    StartUp(*t, inst.env);
    EXPECT_EQ(t->FlagBytes, (std::array<uint8_t, 4>{5, 6, 7, 8}));
    fs::remove(inst.program + "/Setting.ini");
    ShutDown(*t);
    std::ifstream back(inst.program + "/Setting.ini", std::ios::binary);
    char buf[5] = {};
    back.read(buf, 5);
    EXPECT_EQ(back.gcount(), 4);
    EXPECT_EQ(std::string(buf, 4), "\x05\x06\x07\x08");

    fs::remove(inst.program + "/Setting.ini");
    auto u = test::MakeTestProgram();
    StartUp(*u, inst.env);
    EXPECT_EQ(u->FlagBytes, (std::array<uint8_t, 4>{0, 0, 0, 1}));
}

TEST(StartUp, InstallRootAndUserSetupFile) {
    EXPECT_EQ(InstallRootOf("/opt/tarvane/V100"), "/opt/tarvane");
    EXPECT_EQ(InstallRootOf("V100"), "V100");
    EXPECT_EQ(InstallRootOf("/V100"), "/V100");

    // An install root the user cannot write to: the setup file is the user's own
    // copy, seeded from the shipped one.
    std::string config = test::TempDir();
    std::string root = test::TempDir() + "/not-there";
    std::string chosen = ChooseSetupFile(root, config);
    EXPECT_EQ(chosen, config + "/tarvane-cps/mysetup.ini");

    Install inst("[language]\nIsFirstRun=0\ncomPort=5\nCurrentLanguage=2\n");
    EXPECT_EQ(ChooseSetupFile(inst.root, config), inst.SetupPath());

    // Not writable: the user's copy is seeded from the shipped file once and then kept.
    std::string own = ChooseSetupFile(inst.root, config, false);
    ASSERT_EQ(own, config + "/tarvane-cps/mysetup.ini");
    EXPECT_EQ(ReadIniValue(own, "language", "comPort"), "5");
    WriteIniValue(own, "language", "comPort", "9");
    EXPECT_EQ(ChooseSetupFile(inst.root, config, false), own);
    EXPECT_EQ(ReadIniValue(own, "language", "comPort"), "9");
    EXPECT_EQ(inst.Setup("comPort"), "5");
}

TEST(MainCaption, EveryBandShowsItsRangeAndUnsavedChangesAMark) {
    const std::tuple<int, const char*, bool, const char*> cases[] = {
        {0, "new.dat", false, "Tarvane CPS[Tarvane:CB:26.965 - 27.405 MHz][File:new.dat]"},
        {1, "/radios/hf one.dat", true, "Tarvane CPS[Tarvane:HF:25.615 - 30.105 MHz][File:hf one.dat*]"},
        {2, "C:\\radios\\ham.dat", false, "Tarvane CPS[Tarvane:HAM:28.000 - 29.700 MHz][File:ham.dat]"},
    };
    for (const auto& [band, path, changed, caption] : cases) {
        auto t = test::MakeTestProgram(band);
        t->Doc.Path = path;
        EXPECT_EQ(MainCaption(*t, changed), caption) << path;
    }
}

} // namespace
} // namespace tarvane
