// A port that cannot be opened: held by another program (a lock file naming a
// live process, or a device this user may open) is "in use", with the holder's
// process id when the lock file gives it; only a real permission error gets the
// dialout advice and the pointer to the serial-port access section.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSerialPort>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include "CliRunner.h"
#include "TestProgram.h"
#include "link/PortMap.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

using Bytes = std::vector<unsigned char>;

// A process id that certainly names no process: one above the kernel's highest.
// (A child that has ended is not enough: under load its id is soon given again.)
long DeadPid() {
    long max = 4194304; // the kernel's upper bound where pid_max cannot be read
    std::ifstream("/proc/sys/kernel/pid_max") >> max;
    return max + 1;
}

Bytes Ascii(const std::string& s) {
    return Bytes(s.begin(), s.end());
}
Bytes Binary(int32_t pid) {
    Bytes b(4);
    std::copy(reinterpret_cast<const unsigned char*>(&pid), reinterpret_cast<const unsigned char*>(&pid) + 4,
              b.begin());
    return b;
}

enum class Expect { InUseWithPid, InUse, Permission };

TEST(PortInUse, LockFilesAndDevicesDecideBetweenInUseAndPermission) {
    auto t = test::MakeTestProgram();
    const long self = getpid();
    const long dead = DeadPid();
    const std::string inUse = LangText(*t, 32601_txt);
    std::string withPid = LangText(*t, 32602_txt);
    withPid.replace(withPid.find("%1"), 2, std::to_string(self));

    struct Case {
        const char* what;
        bool deviceExists; // a regular file this user may open stands for the device
        Bytes lock;        // lock file content; empty: no lock file
        Expect expect;
    };
    const std::vector<Case> cases = {
        {"Qt lock file of a live process", false, Ascii(std::to_string(self) + "\ntarvane-cli\nhost\n"),
         Expect::InUseWithPid},
        {"HDB lock file, padded", false, Ascii("     " + std::to_string(self) + "\n"), Expect::InUseWithPid},
        {"binary lock file", false, Binary(static_cast<int32_t>(self)), Expect::InUseWithPid},
        {"stale lock of an ended process", false, Ascii(std::to_string(dead) + "\n"), Expect::Permission},
        {"stale lock, device free to open", true, Ascii(std::to_string(dead) + "\n"), Expect::InUse},
        {"lock file with no number", false, Ascii("owner unknown\n"), Expect::Permission},
        {"lock file naming process 0", false, Ascii("0\n"), Expect::Permission},
        {"lock file naming a negative process", false, Ascii("-1\n"), Expect::Permission},
        {"no lock, device this user may open", true, {}, Expect::InUse},
        {"no lock, device this user may not open", false, {}, Expect::Permission},
    };
    for (const Case& c : cases) {
        const std::string dir = test::TempDir();
        const std::string locks = dir + "/locks";
        std::filesystem::create_directory(locks);
        const std::string device = c.deviceExists ? dir + "/ttyFAKE" : dir + "/missing/ttyFAKE";
        if (c.deviceExists) {
            ASSERT_TRUE(test::WriteBytes(device, {0}));
        }
        // Named as the serial library names a lock for a path outside /dev.
        std::string name = device;
        std::replace(name.begin(), name.end(), '/', '_');
        if (!c.lock.empty()) {
            ASSERT_TRUE(test::WriteBytes(locks + "/LCK.." + name, c.lock));
        }

        const std::string msg = PortOpenFailureText(*t, device, "Permission error while locking the device",
                                                    true, {dir + "/no-such-folder", locks});
        const std::string head = LangText(*t, 9003_txt) + "\r\n" + device;
        switch (c.expect) {
        case Expect::InUseWithPid:
            EXPECT_EQ(msg, head + "\r\n" + withPid + "\r\n" + LangText(*t, 32603_txt)) << c.what;
            break;
        case Expect::InUse:
            EXPECT_EQ(msg, head + "\r\n" + inUse + "\r\n" + LangText(*t, 32603_txt)) << c.what;
            break;
        case Expect::Permission:
            EXPECT_EQ(msg, head + ": Permission error while locking the device\r\n" + LangText(*t, 9031_txt) +
                               "\r\n" + LangText(*t, 32604_txt))
                << c.what;
            break;
        }
        // Whatever the lock says, an open that failed for another reason gets no advice.
        EXPECT_EQ(PortOpenFailureText(*t, device, "Input/output error", false, {locks}),
                  head + ": Input/output error")
            << c.what;
    }
}

TEST(PortInUse, ALinkIsKnownByTheLockOfTheDeviceItPointsTo) {
    // minicom and picocom lock the device name (LCK..ttyUSB0); the user may have
    // given the program a /dev/serial/by-id link to the same device.
    auto t = test::MakeTestProgram();
    const std::string dir = test::TempDir();
    std::filesystem::create_directory(dir + "/locks");
    ASSERT_TRUE(test::WriteBytes(dir + "/ttyREAL7", {0}));
    std::filesystem::create_symlink(dir + "/ttyREAL7", dir + "/by-id-link");
    ASSERT_TRUE(test::WriteBytes(dir + "/locks/LCK..ttyREAL7", Ascii(std::to_string(getpid()) + "\n")));
    EXPECT_EQ(PortLockHolder(dir + "/by-id-link", {dir + "/locks"}), getpid());
    EXPECT_EQ(PortLockHolder(dir + "/ttyREAL7", {dir + "/locks"}), getpid());
    EXPECT_EQ(PortLockHolder(dir + "/other", {dir + "/locks"}), 0);
}

TEST(PortInUse, HostileLockFilesAreNotReadNorTrusted) {
    const std::string dir = test::TempDir();
    const std::string device = dir + "/ttyX";
    std::string name = device;
    std::replace(name.begin(), name.end(), '/', '_');
    const std::string lock = dir + "/LCK.." + name;
    // A FIFO with no writer would block a plain open for ever.
    ASSERT_EQ(mkfifo(lock.c_str(), 0600), 0);
    EXPECT_EQ(PortLockHolder(device, {dir}), 0);
    std::filesystem::remove(lock);
    // A huge file is not a lock file.
    {
        std::ofstream big(lock);
        big << getpid() << "\n" << std::string(10000, 'x');
    }
    EXPECT_EQ(PortLockHolder(device, {dir}), 0);
    std::filesystem::remove(lock);
    // A link planted in a shared lock folder is not followed.
    ASSERT_TRUE(test::WriteBytes(dir + "/elsewhere", Ascii(std::to_string(getpid()) + "\n")));
    std::filesystem::create_symlink(dir + "/elsewhere", lock);
    EXPECT_EQ(PortLockHolder(device, {dir}), 0);
}

TEST(PortInUse, CommandLineNamesTheProcessHoldingThePort) {
    const std::string dir = test::TempDir();
    test::SimulatedRadio radio({}, dir);
    ASSERT_TRUE(radio.Ready());
    int argc = 1;
    char name[] = "port_in_use_test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QSerialPort holder(QString::fromStdString(radio.Link()));
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite)) << holder.errorString().toStdString();

    const test::CliResult r = test::RunCli({"info", "--port", radio.Link()});
    holder.close();
    EXPECT_EQ(r.status, 1);
    auto t = test::MakeTestProgram();
    std::string withPid = LangText(*t, 32602_txt);
    withPid.replace(withPid.find("%1"), 2, std::to_string(getpid()));
    EXPECT_NE(r.err.find(withPid), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("dialout"), std::string::npos) << r.err;

    // Once the holder has let go, the same command works.
    EXPECT_EQ(test::RunCli({"info", "--port", radio.Link()}).status, 0);
}

TEST(PortInUse, ThePermissionAdviceNamesASectionTheReadmeAndManualsHave) {
    auto t = test::MakeTestProgram();
    const std::string pointer = LangText(*t, 32604_txt);
    ASSERT_NE(pointer.find("\"Serial-port access\""), std::string::npos) << pointer;
    auto slurp = [](const std::string& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_NE(slurp(std::string(TARVANE_SOURCE_DIR) + "/README.md").find("\n## Serial-port access\n"),
              std::string::npos);
    for (const char* page : {"tarvane-cps.1.in", "tarvane-cli.1.in"})
        EXPECT_NE(
            slurp(std::string(TARVANE_SOURCE_DIR) + "/docs/man/" + page).find("\n.SH SERIAL-PORT ACCESS\n"),
            std::string::npos)
            << page;
}

} // namespace
} // namespace tarvane
