// Start-up against hostile settings files: whatever sits where mysetup.ini,
// Version.ini, Setting.ini, a language file or an initial codeplug should be,
// start-up and shut-down end, fall back to the defaults and leave it as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "HostileFiles.h"
#include "TestProgram.h"
#include "base/IniFile.h"
#include "doc/Startup.h"
#include "image/InitialValues.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {
namespace fs = std::filesystem;

constexpr const char* kSetup = "[language]\nIsFirstRun=0\ncomPort=7\nCurrentLanguage=1\n";

// An install root with a program folder holding the staged data files (not the programs).
struct Install {
    std::string root = test::TempDir();
    std::string program = root + "/V100";
    StartupEnvironment env;

    Install() {
        fs::create_directories(root + "/language");
        fs::create_directories(program);
        for (const char* part : {"language", "Init", "Setting.ini"})
            fs::copy(std::string(TARVANE_PROGRAM_DIR) + "/" + part, program + "/" + part,
                     fs::copy_options::recursive);
        fs::copy_file(std::string(TARVANE_INSTALL_ROOT) + "/Version.ini", root + "/Version.ini");
        std::ofstream(SetupPath()) << kSetup;
        env.ProgramFolder = program;
        env.ConfigHome = root + "/config";
        env.Lang = "en_GB.UTF-8";
    }
    std::string SetupPath() const { return root + "/language/mysetup.ini"; }
};

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct SettingsFile {
    const char* name;
    std::string (*path)(const Install&);
};

const SettingsFile kSettingsFiles[] = {
    {"mysetup.ini", [](const Install& i) { return i.SetupPath(); }},
    {"Version.ini", [](const Install& i) { return i.root + "/Version.ini"; }},
    {"Setting.ini", [](const Install& i) { return i.program + "/Setting.ini"; }},
    {"english.ini", [](const Install& i) { return i.program + "/language/english.ini"; }},
};

TEST(SettingsFiles, HostileFilesNeitherBlockNorCrashAndAreLeftAsTheyWere) {
    for (const auto& file : kSettingsFiles) {
        for (const auto& c : test::kHostileCases) {
            const std::string what = std::string(file.name) + " as " + c.name;
            Install inst;
            const std::string path = file.path(inst);
            ASSERT_TRUE(test::PlaceHostile(c.kind, path)) << what;
            auto t = test::MakeTestProgram();
            Program& p = *t;
            StartUp(p, inst.env);

            const bool setup = &file == &kSettingsFiles[0], flags = &file == &kSettingsFiles[2];
            EXPECT_EQ(p.Link.SerialPortNumber, setup ? 1 : 7) << what;
            EXPECT_EQ(p.Versions.Firm, (std::vector<std::pair<std::string, std::string>>{{"V100", "V100"}}))
                << what;
            if (flags) {
                EXPECT_EQ(p.FlagBytes, (std::array<uint8_t, 4>{0, 0, 0, 1})) << what;
            }
            EXPECT_EQ(LangText(p, 9017_txt), "OK") << what; // a damaged language file still speaks English
            EXPECT_GT(p.Image.Settings.ChannelCount, 300) << what; // the initial document is unharmed
            ShutDown(p);
            if (c.kind == test::Hostile::Dangling && (setup || flags)) {
                // Written where the link points, as a missing file would be made; the link stays.
                EXPECT_TRUE(fs::is_symlink(path)) << what;
                EXPECT_TRUE(fs::is_regular_file(path + ".nowhere")) << what;
            } else {
                EXPECT_TRUE(test::StillHostile(c.kind, path)) << what;
            }
            if (!setup) {
                EXPECT_EQ(Content(inst.SetupPath()), kSetup) << what; // nothing to rewrite
            }
        }
    }
}

TEST(SettingsFiles, LinkedSetupAndFlagFilesStayLinks) {
    Install inst;
    const std::string elsewhere = test::TempDir();
    fs::rename(inst.SetupPath(), elsewhere + "/mysetup.ini");
    fs::create_symlink(fs::relative(elsewhere + "/mysetup.ini", inst.root + "/language"), inst.SetupPath());
    std::ofstream(elsewhere + "/Setting.ini", std::ios::binary).write("\x01\x02\x03\x04", 4);
    fs::remove(inst.program + "/Setting.ini");
    fs::create_symlink(elsewhere + "/Setting.ini", inst.program + "/Setting.ini");

    auto t = test::MakeTestProgram();
    Program& p = *t;
    StartUp(p, inst.env);
    EXPECT_EQ(p.Dirs.SetupFile, inst.SetupPath());
    EXPECT_EQ(p.Link.SerialPortNumber, 7);
    EXPECT_EQ(p.FlagBytes, (std::array<uint8_t, 4>{1, 2, 3, 4}));
    // The language dialog's write goes the same way.
    SetLanguage(p, 2);
    ASSERT_TRUE(WriteSetup(p));
    p.FlagBytes = {4, 3, 2, 1};
    ShutDown(p);

    EXPECT_TRUE(fs::is_symlink(inst.SetupPath()));
    EXPECT_TRUE(fs::is_symlink(inst.program + "/Setting.ini"));
    EXPECT_EQ(ReadIniValue(elsewhere + "/mysetup.ini", "language", "CurrentLanguage"), "2");
    EXPECT_EQ(ReadIniValue(elsewhere + "/mysetup.ini", "language", "comPort"), "7");
    EXPECT_EQ(Content(elsewhere + "/Setting.ini"), "\x04\x03\x02\x01");
}

TEST(SettingsFiles, UnreadableSetupFileIsNotReplacedByDefaults) {
    for (auto kind :
         {test::Hostile::HugeSparse, test::Hostile::Folder, test::Hostile::Fifo, test::Hostile::LinkLoop}) {
        Install inst;
        ASSERT_TRUE(test::PlaceHostile(kind, inst.SetupPath()));
        auto t = test::MakeTestProgram();
        StartUp(*t, inst.env);
        ASSERT_EQ(t->Dirs.SetupFile, inst.SetupPath());
        EXPECT_FALSE(WriteSetup(*t)) << static_cast<int>(kind);
        // The single settings (verify choice, echo per device, ports) go the same way.
        EXPECT_FALSE(WriteIniValue(inst.SetupPath(), "language", "VerifyWrite", "1"))
            << static_cast<int>(kind);
        EXPECT_TRUE(test::StillHostile(kind, inst.SetupPath())) << static_cast<int>(kind);
        const size_t told = t.script->shown.size();
        ReportSetupNotSaved(*t);
        ReportSetupNotSaved(*t);
        EXPECT_EQ(t.script->shown.size(), told + 1) << static_cast<int>(kind); // told once
    }
    // A file its user may not read (mode 000) keeps its port, language and verify choice.
    const std::string dir = test::TempDir();
    chmod(dir.c_str(), 0777);
    std::ofstream(dir + "/mysetup.ini") << kSetup;
    chmod((dir + "/mysetup.ini").c_str(), 0);
    EXPECT_EQ(test::AsOrdinaryUser([&] {
                  return WriteIniValue(dir + "/mysetup.ini", "language", "VerifyWrite", "1") ? "replaced"
                                                                                             : "";
              }),
              "");
    chmod((dir + "/mysetup.ini").c_str(), 0644);
    EXPECT_EQ(Content(dir + "/mysetup.ini"), kSetup);
}

struct AccessCase {
    const char* name;
    SetupAccess access;
    bool rootWritable;
    bool userCopyMade;
};

TEST(SettingsFiles, ReadOnlyStartUpWritesNoSetupFile) {
    const AccessCase cases[] = {
        {"read-write, writable root", SetupAccess::ReadWrite, true, false},
        {"read-only, writable root", SetupAccess::ReadOnly, true, false},
        {"read-write, read-only root: the user's copy is made", SetupAccess::ReadWrite, false, true},
        {"read-only, read-only root: the shipped file is read", SetupAccess::ReadOnly, false, false},
    };
    for (const auto& c : cases) {
        Install inst;
        std::ofstream(inst.SetupPath()) << "[language]\nIsFirstRun=1\ncomPort=5\n";
        const std::string chosen = ChooseSetupFile(inst.root, inst.env.ConfigHome, c.rootWritable, c.access);
        const std::string copy = inst.env.ConfigHome + "/tarvane-cps/mysetup.ini";
        EXPECT_EQ(chosen, c.userCopyMade ? copy : inst.SetupPath()) << c.name;
        EXPECT_EQ(fs::exists(copy), c.userCopyMade) << c.name;
    }

    // Start-up itself: the values are used, the file keeps its bytes and its inode.
    for (auto access : {SetupAccess::ReadOnly, SetupAccess::ReadWrite}) {
        Install inst;
        const std::string before = "[language]\nIsFirstRun=1\ncomPort=5\n";
        std::ofstream(inst.SetupPath()) << before;
        struct stat st {};
        stat(inst.SetupPath().c_str(), &st);
        auto t = test::MakeTestProgram();
        StartUp(*t, inst.env, access);
        EXPECT_EQ(t->Link.SerialPortNumber, 5);
        struct stat after {};
        stat(inst.SetupPath().c_str(), &after);
        const bool untouched = Content(inst.SetupPath()) == before && after.st_ino == st.st_ino;
        EXPECT_EQ(untouched, access == SetupAccess::ReadOnly);
    }
}

TEST(SettingsFiles, AStartThatChangesNoValueDoesNotWriteTheSetupFile) {
    for (const auto& [setup, rewritten] :
         {std::pair{kSetup, false},
          {"[language]\nIsFirstRun=1\ncomPort=7\nCurrentLanguage=1\n", true},
          {"[language]\nIsFirstRun=0\ncomPort=99\nCurrentLanguage=1\n", true}}) {
        Install inst;
        std::ofstream(inst.SetupPath()) << setup;
        struct stat before {
        }, after{};
        stat(inst.SetupPath().c_str(), &before);
        auto t = test::MakeTestProgram();
        StartUp(*t, inst.env, SetupAccess::ReadWrite);
        stat(inst.SetupPath().c_str(), &after);
        EXPECT_EQ(after.st_ino != before.st_ino, rewritten) << setup;
    }
}

TEST(SettingsFiles, UnreadableInitialCodeplugsLeaveTheBuiltInValues) {
    auto builtIn = test::MakeTestProgram(0); // built-in values of the default model
    // Without the new-document file the settings come from the factory file, no channel in use.
    Install plain;
    fs::remove(plain.program + "/Init/Tarvane_0_NEW.dat");
    auto settingsOnly = test::MakeTestProgram();
    StartUp(*settingsOnly, plain.env);
    ASSERT_EQ(settingsOnly->Image.Settings.ChannelCount, 0);

    for (const char* name : {"Tarvane_0_NEW.dat", "Tarvane_0.dat"}) {
        for (const auto& c : test::kHostileCases) {
            const std::string what = std::string(name) + " as " + c.name;
            Install inst;
            if (std::string(name) == "Tarvane_0.dat") fs::remove(inst.program + "/Init/Tarvane_0_NEW.dat");
            ASSERT_TRUE(test::PlaceHostile(c.kind, inst.program + "/Init/" + name)) << what;
            auto t = test::MakeTestProgram();
            StartUp(*t, inst.env);
            EXPECT_TRUE(t.script->shown.empty()) << what;
            // A new-document file that is no file at all counts as missing; one
            // whose reading fails leaves the built-in values, as a broken factory file does.
            const bool looksLikeAFile =
                c.kind == test::Hostile::ProcMem || c.kind == test::Hostile::HugeSparse;
            const Program& expected =
                std::string(name) == "Tarvane_0_NEW.dat" && !looksLikeAFile ? *settingsOnly : *builtIn;
            EXPECT_TRUE(t->Image == expected.Image) << what;
            EXPECT_TRUE(t->Baseline == t->Image) << what;
            EXPECT_TRUE(test::StillHostile(c.kind, inst.program + "/Init/" + name)) << what;
        }
    }
}

} // namespace
} // namespace tarvane
