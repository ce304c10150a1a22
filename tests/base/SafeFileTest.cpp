// Opening and saving codeplugs where the path is hostile: every refusal is at
// once, names the path and the reason, and changes neither the document nor
// the thing at the path; saving through links keeps the links.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "HostileFiles.h"
#include "TestProgram.h"
#include "base/IniFile.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {
namespace fs = std::filesystem;

constexpr const char* k9002 = "The file could not be read or written.";

std::string Failure(const std::string& path, const std::string& reason) {
    return std::string(k9002) + "\r\n" + path + ": " + reason;
}

std::vector<uint8_t> Bytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}

// Files the saving left behind besides the ones the test made.
size_t TemporaryFiles(const std::string& dir) {
    size_t n = 0;
    for (auto& e : fs::recursive_directory_iterator(dir, fs::directory_options::skip_permission_denied))
        n += e.path().filename().string().starts_with(".tarvane-");
    return n;
}

TEST(HostilePaths, OpenRefusesAtOnceNamingPathAndReason) {
    for (const auto& c : test::kHostileCases) {
        const std::string path = test::TempDir() + "/hostile.dat";
        ASSERT_TRUE(test::PlaceHostile(c.kind, path)) << c.name;
        auto t = test::MakeTestProgram(1);
        Program& p = *t;
        p.Image.Channels[0].RxFreq.Assign("02700000"); // unsaved work
        const RadioImage image = p.Image, baseline = p.Baseline;
        const DocumentState doc = p.Doc;

        EXPECT_EQ(OpenCodeplug(p, path), OpenResult::Refused) << c.name;
        ASSERT_EQ(t.script->shown.size(), 1u) << c.name;
        EXPECT_EQ(t.script->shown[0].text,
                  Failure(path, c.reason ? c.reason : "too large for a codeplug file"))
            << c.name;
        EXPECT_TRUE(p.Image == image && p.Baseline == baseline) << c.name;
        EXPECT_EQ(p.Doc.Path, doc.Path) << c.name;
        EXPECT_TRUE(test::StillHostile(c.kind, path)) << c.name;

        // The initial-file loads and the settings reader fall back without a word.
        EXPECT_FALSE(LoadInitFull(p, path)) << c.name;
        EXPECT_FALSE(LoadInitSettings(p, path)) << c.name;
        EXPECT_TRUE(p.Image == image) << c.name;
        IniFile ini;
        EXPECT_FALSE(ini.Load(path)) << c.name;
        EXPECT_EQ(t.script->shown.size(), 1u) << c.name;
    }
}

TEST(HostilePaths, UnreadableFileNamesThePermission) {
    const std::string dir = test::TempDir();
    auto t = test::MakeTestProgram();
    ASSERT_TRUE(SaveCodeplug(*t, dir + "/private.dat"));
    chmod((dir + "/private.dat").c_str(), 0600);
    const std::string result = test::AsOrdinaryUser([&] {
        auto u = test::MakeTestProgram();
        if (OpenCodeplug(*u, dir + "/private.dat") != OpenResult::Refused) return std::string("opened");
        if (u.script->shown.size() != 1) return std::string("not one message");
        return u.script->shown[0].text == Failure(dir + "/private.dat", "Permission denied")
                   ? std::string()
                   : u.script->shown[0].text;
    });
    EXPECT_EQ(result, "");
}

struct LimitCase {
    const char* name;
    std::string path;
    size_t limit;
    FileFault fault;
};

// The limit holds for what is read, whatever stat says: /proc files say 0 bytes.
TEST(SafeFile, ReadLimitHoldsForWhatIsActuallyRead) {
    const std::string dir = test::TempDir();
    std::ofstream(dir + "/ten") << "0123456789";
    const LimitCase cases[] = {
        {"exactly the limit", dir + "/ten", 10, FileFault::None},
        {"one byte over", dir + "/ten", 9, FileFault::TooLarge},
        {"a device is refused before its size counts", "/dev/null", 0, FileFault::NotRegular},
        {"/proc file larger than it says", "/proc/self/status", 16, FileFault::TooLarge},
        {"/proc file within the limit", "/proc/self/status", kSettingsFileLimit, FileFault::None},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> out{1, 2, 3};
        FileError error;
        EXPECT_EQ(ReadWholeFile(c.path, out, c.limit, &error), c.fault == FileFault::None) << c.name;
        EXPECT_EQ(error.fault, c.fault) << c.name;
        EXPECT_EQ(out.empty(), c.fault != FileFault::None) << c.name;
        EXPECT_EQ(error.path, error ? c.path : "") << c.name;
    }
}

struct SaveTarget {
    const char* name;
    // Makes the target in dir and returns the path to save to.
    std::function<std::string(const std::string& dir)> make;
    const char* reason; // nullptr when the save must succeed
    // What must hold afterwards, besides the message and the document.
    std::function<bool(const std::string& dir, const std::string& path)> after;
};

bool IsCodeplug(const std::string& path) {
    auto t = test::MakeTestProgram();
    return Bytes(path).size() == kCodeplugFileSize && OpenCodeplug(*t, path) == OpenResult::Opened;
}

TEST(SaveTargets, LinksAreKeptAndWhatIsNoFileIsLeftAlone) {
    const SaveTarget cases[] = {
        {"link to a file",
         [](const std::string& d) {
             std::ofstream(d + "/real.dat") << "old";
             fs::create_symlink("real.dat", d + "/link.dat");
             return d + "/link.dat";
         },
         nullptr,
         [](const std::string& d, const std::string& p) {
             return fs::is_symlink(p) && fs::read_symlink(p) == "real.dat" && IsCodeplug(d + "/real.dat");
         }},
        {"chain of relative links into another folder",
         [](const std::string& d) {
             fs::create_directory(d + "/sub");
             std::ofstream(d + "/sub/real.dat") << "old";
             fs::create_symlink("sub/real.dat", d + "/b.dat");
             fs::create_symlink("b.dat", d + "/a.dat");
             return d + "/a.dat";
         },
         nullptr,
         [](const std::string& d, const std::string& p) {
             return fs::is_symlink(p) && fs::is_symlink(d + "/b.dat") && IsCodeplug(d + "/sub/real.dat") &&
                    TemporaryFiles(d) == 0;
         }},
        {"dangling link: the file it names is made",
         [](const std::string& d) {
             fs::create_symlink("later.dat", d + "/link.dat");
             return d + "/link.dat";
         },
         nullptr,
         [](const std::string& d, const std::string& p) {
             return fs::is_symlink(p) && IsCodeplug(d + "/later.dat");
         }},
        {"name of 255 bytes", [](const std::string& d) { return d + "/" + std::string(251, 'n') + ".dat"; },
         nullptr, [](const std::string&, const std::string& p) { return IsCodeplug(p); }},
        {"name of 256 bytes", [](const std::string& d) { return d + "/" + std::string(252, 'n') + ".dat"; },
         "File name too long", [](const std::string& d, const std::string&) { return fs::is_empty(d); }},
        {"FIFO",
         [](const std::string& d) {
             mkfifo((d + "/pipe.dat").c_str(), 0644);
             return d + "/pipe.dat";
         },
         test::kNotRegular, [](const std::string&, const std::string& p) { return fs::is_fifo(p); }},
        {"link to a device",
         [](const std::string& d) {
             fs::create_symlink("/dev/null", d + "/null.dat");
             return d + "/null.dat";
         },
         test::kNotRegular,
         [](const std::string&, const std::string& p) {
             return fs::read_symlink(p) == "/dev/null" && fs::is_character_file("/dev/null");
         }},
        {"folder",
         [](const std::string& d) {
             fs::create_directory(d + "/folder.dat");
             return d + "/folder.dat";
         },
         "Is a directory",
         [](const std::string&, const std::string& p) { return fs::is_directory(p) && fs::is_empty(p); }},
        {"missing folder", [](const std::string& d) { return d + "/no/such/x.dat"; },
         "No such file or directory",
         [](const std::string& d, const std::string&) { return fs::is_empty(d); }},
        {"link loop",
         [](const std::string& d) {
             fs::create_symlink("b.dat", d + "/a.dat");
             fs::create_symlink("a.dat", d + "/b.dat");
             return d + "/a.dat";
         },
         "Too many levels of symbolic links",
         [](const std::string& d, const std::string& p) {
             return fs::is_symlink(p) && fs::is_symlink(d + "/b.dat");
         }},
    };
    for (const auto& c : cases) {
        const std::string dir = test::TempDir();
        const std::string path = c.make(dir);
        auto t = test::MakeTestProgram(2);
        Program& p = *t;
        p.Image.Channels[0].RxFreq.Assign("02900000");
        const RadioImage baseline = p.Baseline;

        // The check a command makes before a long transfer foresees the save's outcome.
        FileError foreseen;
        EXPECT_EQ(CanReplaceFile(path, &foreseen), c.reason == nullptr) << c.name;
        EXPECT_EQ(FileFailureText(p, foreseen), c.reason ? Failure(path, c.reason) : k9002) << c.name;
        EXPECT_EQ(TemporaryFiles(dir), 0u) << c.name;

        EXPECT_EQ(SaveCodeplug(p, path), c.reason == nullptr) << c.name;
        if (c.reason) {
            ASSERT_EQ(t.script->shown.size(), 1u) << c.name;
            EXPECT_EQ(t.script->shown[0].text, Failure(path, c.reason)) << c.name;
            EXPECT_TRUE(p.Baseline == baseline) << c.name;
            EXPECT_TRUE(ImageChanged(p)) << c.name;
            EXPECT_EQ(p.Doc.Path, "new.dat") << c.name;
        } else {
            EXPECT_TRUE(t.script->shown.empty()) << c.name;
            EXPECT_FALSE(ImageChanged(p)) << c.name;
            EXPECT_EQ(p.Doc.Path, path) << c.name;
        }
        EXPECT_TRUE(c.after(dir, path)) << c.name;
        EXPECT_EQ(TemporaryFiles(dir), 0u) << c.name;
    }
}

TEST(SaveTargets, ReadOnlyFolderIsRefusedAndLeftEmpty) {
    const std::string dir = test::TempDir() + "/read-only";
    fs::create_directory(dir);
    chmod(dir.c_str(), 0555);
    const std::string result = test::AsOrdinaryUser([&] {
        auto t = test::MakeTestProgram();
        if (CanReplaceFile(dir + "/x.dat")) return std::string("foreseen as writable");
        if (SaveCodeplug(*t, dir + "/x.dat")) return std::string("saved");
        if (t.script->shown.size() != 1) return std::string("not one message");
        if (t.script->shown[0].text != Failure(dir + "/x.dat", "Permission denied"))
            return t.script->shown[0].text;
        return std::string();
    });
    EXPECT_EQ(result, "");
    EXPECT_TRUE(fs::is_empty(dir));
    chmod(dir.c_str(), 0755);
}

TEST(SaveTargets, ReplacedFileKeepsItsOwner) {
    if (geteuid() != 0) GTEST_SKIP() << "only an administrator saves another user's file";
    const std::string path = test::TempDir() + "/theirs.dat";
    std::ofstream(path) << "old";
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    auto t = test::MakeTestProgram();
    ASSERT_TRUE(SaveCodeplug(*t, path));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(Bytes(path).size(), kCodeplugFileSize);
}

// The flag file's way of writing: in place, at the start, never into a FIFO.
TEST(SafeFile, OverwriteFileStart) {
    const std::string dir = test::TempDir();
    const std::vector<uint8_t> flags{9, 8, 7, 6};
    std::ofstream(dir + "/long") << "abcdefghij";
    fs::create_symlink("long", dir + "/link");
    mkfifo((dir + "/fifo").c_str(), 0644);
    struct Case {
        const char* name;
        std::string path;
        bool ok;
        std::string content; // of the file written, "" when not checked
    } cases[] = {
        {"longer file keeps its tail", dir + "/long", true, std::string("\x09\x08\x07\x06") + "efghij"},
        {"through a link", dir + "/link", true, std::string("\x09\x08\x07\x06") + "efghij"},
        {"missing file is made", dir + "/new", true, "\x09\x08\x07\x06"},
        {"FIFO without a reader", dir + "/fifo", false, ""},
        {"folder", dir, false, ""},
    };
    for (const auto& c : cases) {
        FileError error;
        EXPECT_EQ(OverwriteFileStart(c.path, flags, &error), c.ok) << c.name;
        const auto b = Bytes(c.path);
        EXPECT_EQ(std::string(b.begin(), b.end()), c.content) << c.name;
        EXPECT_EQ(bool(error), !c.ok) << c.name;
    }
    EXPECT_TRUE(fs::is_symlink(dir + "/link"));
    EXPECT_TRUE(fs::is_fifo(dir + "/fifo"));
}

} // namespace
} // namespace tarvane
