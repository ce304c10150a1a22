// Backups of reads and writes (names, folder, pruning, the file opens again) and
// the rules of the recent-file list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "TestProgram.h"
#include "base/RecentFiles.h"
#include "doc/Backups.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"

namespace fs = std::filesystem;

namespace tarvane {
namespace {

TEST(Backups, FolderFollowsXdgDataHome) {
    struct Case {
        const char* data;
        const char* home;
        std::string folder;
    };
    const Case cases[] = {
        {"/x/data", "/home/u", "/x/data/tarvane-cps/backups"},
        {nullptr, "/home/u", "/home/u/.local/share/tarvane-cps/backups"},
        {"", "/home/u", "/home/u/.local/share/tarvane-cps/backups"},
        {"relative/data", "/home/u", "/home/u/.local/share/tarvane-cps/backups"}, // not absolute: ignored
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        std::map<std::string, const char*> env{{"XDG_DATA_HOME", c.data}, {"HOME", c.home}};
        auto get = [&env](const char* name) { return env[name]; };
        EXPECT_EQ(BackupFolder(get), c.folder) << (c.data ? c.data : "(unset)");
    }
}

TEST(Backups, NamesCarryTimeModelAndBandAndNoPathParts) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 4;
    when.tm_min = 37;
    when.tm_sec = 5;
    EXPECT_EQ(BackupFileName(when, "Tarvane", "CB", BackupKind::Read), "20261208-043705_Tarvane_CB_read.dat");
    EXPECT_EQ(BackupFileName(when, "../../etc x", "HAM", BackupKind::Write),
              "20261208-043705_etcx_HAM_write.dat");
    EXPECT_EQ(BackupFileName(when, "", "HF", BackupKind::Read), "20261208-043705_radio_HF_read.dat");
}

TEST(Backups, AReadIsKeptAsACodeplugThatOpensAgain) {
    auto t = test::MakeTestProgram(1);
    Program& p = *t;
    const std::string folder = test::TempDir() + "/deep/backups"; // made when missing
    p.Image.Channels[0].RxFreq.Assign("02812340");
    const std::string path = KeepBackup(p, BackupKind::Read, folder, 1'700'000'000);
    ASSERT_FALSE(path.empty());
    EXPECT_NE(path.find("_HF_read.dat"), std::string::npos) << path;
    EXPECT_EQ(fs::file_size(path), kCodeplugFileSize);
    const RadioImage read = p.Image;
    p.Image.Channels[0].RxFreq.Assign("02900000");
    ASSERT_EQ(OpenCodeplug(p, path), OpenResult::Opened);
    EXPECT_EQ(p.Image.Channels[0].RxFreq.Trimmed(), read.Channels[0].RxFreq.Trimmed());
    EXPECT_EQ(p.Image.Settings.ChannelCount, read.Settings.ChannelCount);
    // The same second again gets its own name.
    const std::string second = KeepBackup(p, BackupKind::Read, folder, 1'700'000'000);
    EXPECT_NE(second, path);
    EXPECT_NE(second.find("-2.dat"), std::string::npos) << second;
}

TEST(Backups, TheNewestHundredAreKeptAndOtherFilesNeverTouched) {
    auto t = test::MakeTestProgram(0);
    const std::string folder = test::TempDir() + "/prune";
    fs::create_directories(folder);
    std::ofstream(folder + "/my notes.dat") << "mine";
    std::ofstream(folder + "/20200101-000000_note.txt") << "mine";
    std::string first, last;
    for (int i = 0; i < 105; ++i) {
        const std::string path =
            KeepBackup(*t, i % 2 ? BackupKind::Write : BackupKind::Read, folder, 1'700'000'000 + 3600 * i);
        ASSERT_FALSE(path.empty());
        if (i == 0) first = path;
        last = path;
    }
    const auto kept = ListBackups(folder);
    ASSERT_EQ(kept.size(), kBackupsKept);
    EXPECT_EQ(kept.front(), last);
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::exists(folder + "/my notes.dat"));
    EXPECT_TRUE(fs::exists(folder + "/20200101-000000_note.txt"));
    // Pruning again changes nothing; a smaller number keeps the newest.
    PruneBackups(folder, 3);
    const auto three = ListBackups(folder);
    ASSERT_EQ(three.size(), 3u);
    EXPECT_TRUE(std::equal(three.begin(), three.end(), kept.begin()));
}

TEST(Backups, AFolderThatCannotBeMadeGivesNoPath) {
    auto t = test::MakeTestProgram(0);
    const std::string blocker = test::TempDir() + "/file";
    std::ofstream(blocker) << "x";
    EXPECT_EQ(KeepBackup(*t, BackupKind::Write, blocker + "/backups"), "");
    EXPECT_EQ(KeepBackup(*t, BackupKind::Write, ""), "");
}

TEST(RecentFiles, ListRules) {
    const std::string dir = test::TempDir();
    auto exists = [](const std::string& path) { return path.find("gone") == std::string::npos; };
    struct Case {
        const char* name;
        std::vector<std::string> list;
        std::string added; // "" : only the existence filter
        std::vector<std::string> expected;
    };
    const std::string a = dir + "/a.dat", b = dir + "/b.dat", c = dir + "/c.dat";
    std::vector<std::string> nine;
    for (int i = 1; i <= 9; ++i)
        nine.push_back(dir + "/f" + std::to_string(i) + ".dat");
    const Case cases[] = {
        {"a new file goes first", {a, b}, c, {c, a, b}},
        {"a known file moves first, once", {a, b, c}, c, {c, a, b}},
        {"two spellings are one file", {a, b}, dir + "/x/../b.dat", {b, a}},
        {"at most eight", nine, a, {a, nine[0], nine[1], nine[2], nine[3], nine[4], nine[5], nine[6]}},
        {"missing files drop out", {a, dir + "/gone.dat", b}, "", {a, b}},
        {"repeats and empty entries drop out", {a, "", a, b}, "", {a, b}},
        {"eight remain after dropping",
         {a, dir + "/gone.dat", b, c, nine[0], nine[1], nine[2], nine[3], nine[4], nine[5]},
         "",
         {a, b, c, nine[0], nine[1], nine[2], nine[3], nine[4]}},
    };
    for (const Case& k : cases) {
        const auto got =
            k.added.empty() ? ExistingRecentFiles(k.list, exists) : AddRecentFile(k.list, k.added);
        EXPECT_EQ(got, k.expected) << k.name;
    }
    EXPECT_EQ(RecentKey("rel.dat"), (fs::current_path() / "rel.dat").string());
    EXPECT_FALSE(RegularFileExists(dir));
}

} // namespace
} // namespace tarvane
