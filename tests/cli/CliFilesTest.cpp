// tarvane-cli against hostile files: every command that reads or writes a
// codeplug ends at once with exit status 1 and a message naming the path and the
// reason; show and new leave the user setup file as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "HostileFiles.h"
#include "TestProgram.h"

namespace tarvane {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* k9002 = "The file could not be read or written.";

struct Ran {
    bool ended = false; // false: still running after the watchdog's time, then killed
    int status = -1;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs a program with a watchdog, so that a command that hangs fails the test
// instead of stalling it; as an ordinary user when asked and run by root.
Ran RunWithin(const std::string& program, const std::vector<std::string>& args, bool ordinaryUser = false) {
    const std::string dir = test::TempDir();
    chmod(dir.c_str(), 0777);
    const std::string out = dir + "/out", err = dir + "/err";
    const pid_t pid = fork();
    if (pid == 0) {
        const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        dup2(o, 1);
        dup2(e, 2);
        if (ordinaryUser && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(120);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    Ran r;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + 60s; // a hang guard, not a speed goal
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return r;
        }
        std::this_thread::sleep_for(10ms);
    }
    r.ended = true;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Slurp(out);
    r.err = Slurp(err);
    return r;
}

const std::string kCli = std::string(TARVANE_PROGRAM_DIR) + "/tarvane-cli";

std::string Failure(const std::string& path, const std::string& reason) {
    return std::string(k9002) + "\n" + path + ": " + reason + "\n";
}

struct ShowCase {
    const char* name;
    std::function<std::string(const std::string& dir)> make; // returns the path to give
    const char* reason;
    bool ordinaryUser = false;
};

TEST(CliFiles, HostileCodeplugPathsEndAtOnceWithPathAndReason) {
    const ShowCase cases[] = {
        {"folder", [](const std::string& d) { return d; }, "Is a directory"},
        {"/proc/self/mem", [](const std::string&) { return std::string("/proc/self/mem"); },
         "Input/output error"},
        {"FIFO without a writer",
         [](const std::string& d) {
             mkfifo((d + "/pipe.dat").c_str(), 0644);
             return d + "/pipe.dat";
         },
         test::kNotRegular},
        {"/dev/zero", [](const std::string&) { return std::string("/dev/zero"); }, test::kNotRegular},
        {"2 GB sparse file",
         [](const std::string& d) {
             test::PlaceHostile(test::Hostile::HugeSparse, d + "/huge.dat");
             return d + "/huge.dat";
         },
         "too large for a codeplug file"},
        {"dangling link",
         [](const std::string& d) {
             test::PlaceHostile(test::Hostile::Dangling, d + "/gone.dat");
             return d + "/gone.dat";
         },
         "No such file or directory"},
        {"text file", [](const std::string&) { return std::string("/etc/passwd"); }, "not a codeplug file"},
        {"unreadable file",
         [](const std::string& d) {
             std::ofstream(d + "/private.dat") << std::string(25919, ' ');
             chmod((d + "/private.dat").c_str(), 0600);
             return d + "/private.dat";
         },
         "Permission denied", true},
    };
    for (const auto& c : cases) {
        const std::string path = c.make(test::TempDir());
        // show reads the file; write reads it before it ever opens the port.
        const std::vector<std::vector<std::string>> commands = {
            {"show", path}, {"write", "--port", "/nonexistent/port", path}};
        for (const auto& args : commands) {
            const Ran r = RunWithin(kCli, args, c.ordinaryUser);
            ASSERT_TRUE(r.ended) << c.name << ": " << args[0] << " did not end";
            EXPECT_EQ(r.status, 1) << c.name << ": " << args[0];
            EXPECT_EQ(r.err, Failure(path, c.reason)) << c.name << ": " << args[0];
            EXPECT_EQ(r.out, "") << c.name << ": " << args[0];
        }
    }
}

// The save targets themselves are the core's tests; here the command's ending:
// a refused target is exit 1 with path and reason, a link is written through.
TEST(CliFiles, NewRefusesAFolderAndWritesThroughALink) {
    const std::string dir = test::TempDir();
    const Ran refused = RunWithin(kCli, {"new", "--type", "HAM", "--out", dir});
    ASSERT_TRUE(refused.ended);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, Failure(dir, "Is a directory"));
    EXPECT_TRUE(fs::is_empty(dir));

    std::ofstream(dir + "/real.dat") << "old";
    fs::create_symlink("real.dat", dir + "/link.dat");
    const Ran made = RunWithin(kCli, {"new", "--type", "HAM", "--out", dir + "/link.dat"});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(fs::is_symlink(dir + "/link.dat"));
    const Ran shown = RunWithin(kCli, {"show", dir + "/real.dat"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Model type: HAM"), std::string::npos);

    // A name is bytes: one that is not UTF-8 is made and opened as given.
    const std::string bytes = dir + "/out\xff.dat";
    EXPECT_EQ(RunWithin(kCli, {"new", "--type", "HF", "--out", bytes}).status, 0);
    EXPECT_EQ(RunWithin(kCli, {"show", bytes}).status, 0);
    EXPECT_TRUE(fs::is_regular_file(bytes));
}

// No output may be an input, however spelt, and a trace never grows a file that is
// not a trace: each is refused before anything is written, the codeplug unchanged.
TEST(CliFiles, OutputsThatWouldDestroyAnInputAreRefusedFirst) {
    const std::string dir = test::TempDir();
    const std::string mine = dir + "/mine.dat";
    ASSERT_EQ(RunWithin(kCli, {"new", "--type", "cb", "--out", mine}).status, 0); // a band in any case
    fs::create_symlink("mine.dat", dir + "/link.dat");
    mkfifo((dir + "/pipe.log").c_str(), 0644);
    const std::string before = Slurp(mine);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err; // the start of stderr
    };
    const std::string port = "/nonexistent/port";
    const Case cases[] = {
        {{"export", mine, "--out", mine}, 2, "--out: '" + mine + "' is the same file as '" + mine + "'"},
        {{"export", mine, "--out", dir + "/link.dat"},
         2,
         "--out: '" + dir + "/link.dat' is the same file as '" + mine + "'"},
        {{"import", mine, dir + "/x.csv", "--out", dir + "/./mine.dat"},
         2,
         "--out: '" + dir + "/./mine.dat' is the same file as '" + mine + "'"},
        {{"write", mine, "--port", port, "--trace", mine},
         2,
         "--trace: '" + mine + "' is the same file as '" + mine + "'"},
        {{"info", "--port", port, "--trace", mine},
         1,
         Failure(mine, "exists and is not a trace: give a new name or remove it")},
        {{"info", "--port", port, "--trace", "/dev/full"}, 1, Failure("/dev/full", "not a regular file")},
        {{"info", "--port", port, "--trace", dir + "/pipe.log"},
         1,
         Failure(dir + "/pipe.log", "not a regular file")},
        // The simulator's trace follows the same rules, before it waits on anything.
        {{"simulate", "--link", dir + "/sim", "--trace", dir + "/pipe.log"},
         1,
         Failure(dir + "/pipe.log", "not a regular file")},
        {{"simulate", "--link", dir + "/sim", "--memory", mine, "--trace", dir + "/link.dat"},
         2,
         "--trace: '" + dir + "/link.dat' is the same file as '" + mine + "'"},
        // A read's output is refused before the transfer when it could not be kept.
        {{"read", "--port", port, "--out", "/dev/full"}, 1, Failure("/dev/full", test::kNotRegular)},
        {{"read", "--port", port, "--out", "/proc/self/mem"},
         1,
         std::string(k9002) + "\n/proc/self/mem: No such file"},
        {{"read", "--port", port, "--out", dir + "/gone.dat"}, 1, "The serial port could not be opened."},
    };
    fs::create_symlink("nowhere.dat", dir + "/gone.dat"); // written through, as new does
    for (const Case& c : cases) {
        const Ran r = RunWithin(kCli, c.args);
        ASSERT_TRUE(r.ended) << c.args[0] << " did not end";
        EXPECT_EQ(r.status, c.status) << c.args[0] << ": " << r.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args[0];
        EXPECT_EQ(Slurp(mine), before) << c.args[0];
    }
}

// A copy of the staged install with its own setup file; the program is a hard
// link, so it runs from the copy and reads the copy's files.
struct OwnInstall {
    std::string root = test::TempDir();
    std::string cli = root + "/V100/tarvane-cli";
    OwnInstall() {
        const std::string stage = TARVANE_INSTALL_ROOT, program = TARVANE_PROGRAM_DIR;
        fs::create_directories(root + "/V100");
        fs::copy(stage + "/language", root + "/language", fs::copy_options::recursive);
        fs::copy_file(stage + "/Version.ini", root + "/Version.ini");
        for (const char* part : {"language", "Init", "Setting.ini"})
            fs::copy(program + "/" + part, root + "/V100/" + part, fs::copy_options::recursive);
        fs::create_hard_link(program + "/tarvane-cli", cli);
    }
    std::string Setup() const { return root + "/language/mysetup.ini"; }
};

TEST(CliFiles, ShowAndNewLeaveTheSetupFileAsItWas) {
    OwnInstall inst;
    const std::string setup = "[language]\nIsFirstRun=1\ncomPort=4\nCurrentLanguage=1\n";
    std::ofstream(inst.Setup()) << setup;
    struct stat before {};
    ASSERT_EQ(stat(inst.Setup().c_str(), &before), 0);
    const std::string file = test::TempDir() + "/made.dat";

    const Ran made = RunWithin(inst.cli, {"new", "--type", "CB", "--out", file});
    ASSERT_EQ(made.status, 0) << made.err;
    const Ran shown = RunWithin(inst.cli, {"show", file});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const Ran refused = RunWithin(inst.cli, {"show", "/dev/zero"});
    ASSERT_EQ(refused.status, 1);
    struct stat after {};
    ASSERT_EQ(stat(inst.Setup().c_str(), &after), 0);
    EXPECT_EQ(Slurp(inst.Setup()), setup);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

    // A radio command is no read-only command: its start-up records the first run.
    const Ran info = RunWithin(inst.cli, {"info", "--port", inst.root + "/no-port"});
    EXPECT_TRUE(info.ended);
    EXPECT_NE(Slurp(inst.Setup()).find("IsFirstRun=0"), std::string::npos);
}

} // namespace
} // namespace tarvane
