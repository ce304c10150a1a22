// The rules of finding radios: an open failure and an identification exchange
// made into a finding, the devices to try, and the engine's identification-only
// exchange against the in-process radio.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "TestProgram.h"
#include "detect/PortFinding.h"
#include "sim/VirtualLine.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"

namespace tarvane {
namespace {

namespace fs = std::filesystem;

// A fake process table: one process with the given name holding `device` open.
std::string FakeProc(const std::string& dir, const std::string& name, const std::string& device) {
    const std::string proc = dir + "/proc";
    fs::create_directories(proc + "/4242/fd");
    std::ofstream(proc + "/4242/comm") << name << "\n";
    if (!device.empty()) fs::create_symlink(fs::canonical(device), proc + "/4242/fd/7");
    fs::create_directories(proc + "/self-like-entry"); // not a process id: skipped
    return proc;
}

TEST(DetectRules, OpenFailuresBecomeFindings) {
    const std::string dir = test::TempDir();
    const std::string device = dir + "/ttyFAKE0";
    ASSERT_TRUE(std::ofstream(device) << "x");
    fs::create_symlink(dir + "/gone", dir + "/dangling");
    fs::create_directory(dir + "/locks");
    std::string lockName = device;
    std::replace(lockName.begin(), lockName.end(), '/', '_');
    const std::string lockDir = dir + "/locks";
    const std::string emptyProc = dir + "/noproc";
    fs::create_directory(emptyProc);

    struct Case {
        const char* what;
        std::string device;
        OpenFailure failure;
        bool lockFile; // a lock file naming this (live) process
        std::string procName;
        PortStatus status;
        long pid;
        std::string grabber;
    };
    const long self = getpid();
    const std::vector<Case> cases = {
        {"not found", dir + "/none", OpenFailure::NotFound, false, "", PortStatus::Missing, 0, ""},
        {"a dangling link, whatever the library said", dir + "/dangling", OpenFailure::Other, false, "",
         PortStatus::Missing, 0, ""},
        {"another failure", device, OpenFailure::Other, false, "", PortStatus::Error, 0, ""},
        {"locked by a live process", device, OpenFailure::Permission, true, "", PortStatus::Busy, self, ""},
        {"refused, no lock, the user may open it", device, OpenFailure::Permission, false, "",
         PortStatus::Busy, 0, ""},
        {"held open by ModemManager", device, OpenFailure::Permission, false, "ModemManager",
         PortStatus::Busy, 4242, "ModemManager"},
        {"held open by another program", device, OpenFailure::Permission, false, "minicom", PortStatus::Busy,
         4242, ""},
    };
    for (const Case& c : cases) {
        fs::remove(lockDir + "/LCK.." + lockName);
        if (c.lockFile) {
            ASSERT_TRUE(std::ofstream(lockDir + "/LCK.." + lockName) << self << "\n");
        }
        const std::string caseDir = test::TempDir();
        SystemView view{{lockDir}, c.procName.empty() ? emptyProc : FakeProc(caseDir, c.procName, device)};
        const PortFinding f = FindingOfOpenFailure(c.device, c.failure, "the reason", view);
        EXPECT_EQ(f.status, c.status) << c.what;
        EXPECT_EQ(f.holderPid, c.pid) << c.what;
        EXPECT_EQ(f.grabber, c.grabber) << c.what;
        EXPECT_EQ(f.port, c.device) << c.what;
    }
}

TEST(DetectRules, ExchangesBecomeFindingsWithTheirWords) {
    auto t = test::MakeTestProgram();
    const std::string dir = test::TempDir();
    const std::string device = dir + "/ttyFAKE1";
    ASSERT_TRUE(std::ofstream(device) << "x");
    RadioIdentity id;
    id.RadioModelCode = "Tarvane";
    id.RadioModelType = 2;
    id.RadioFirmwareVersion = "V100";
    const SystemView quiet{{}, dir + "/noproc"};
    const SystemView grabbing{{}, FakeProc(dir, "brltty", device)};

    struct Case {
        const char* what;
        bool success, answered, noEcho;
        SystemView view;
        PortStatus status;
        const char* json; // members that must be there, in order
    };
    const std::vector<Case> cases = {
        {"a radio behind an echoing cable", true, true, false, quiet, PortStatus::Radio,
         "\"model\": \"Tarvane\",\n  \"type\": \"HAM\",\n  \"firmware\": \"V100\",\n  \"echo\": true"},
        {"a radio without echo", true, true, true, quiet, PortStatus::Radio, R"("echo": false)"},
        {"a handshake and no identification", false, true, false, quiet, PortStatus::Error,
         R"("status": "error")"},
        {"nothing answered", false, false, false, quiet, PortStatus::Silent, R"("status": "silent")"},
        {"nothing answered, brltty holds it", false, false, false, grabbing, PortStatus::Silent,
         R"("holder": "brltty")"},
    };
    for (const Case& c : cases) {
        const PortFinding f = FindingOfExchange(device, c.success, c.answered, id, c.noEcho, 12, c.view);
        EXPECT_EQ(f.status, c.status) << c.what;
        const std::string json = WriteJson(FindingJson(*t, f));
        EXPECT_NE(json.find(c.json), std::string::npos) << c.what << "\n" << json;
        // A radio needs no advice; everything else says what to do.
        EXPECT_EQ(FindingAdvice(*t, f).empty(), c.status == PortStatus::Radio) << c.what;
        EXPECT_EQ(json.find("\"advice\"") == std::string::npos, c.status == PortStatus::Radio) << c.what;
    }
    const PortFinding held = FindingOfExchange(device, false, false, id, false, -1, grabbing);
    EXPECT_NE(FindingAdvice(*t, held).find("brltty"), std::string::npos);
    EXPECT_EQ(DetectExitStatus({held}), 1);
    EXPECT_EQ(DetectExitStatus({held, FindingOfExchange(device, true, true, id, false, 5, quiet)}), 0);
    EXPECT_EQ(DetectExitStatus({}), 1);
}

TEST(DetectRules, EachDeviceIsTriedOnceUnderItsMostStableName) {
    const std::string dir = test::TempDir();
    for (const char* n : {"ttyUSB0", "ttyUSB1", "ttyS0"})
        ASSERT_TRUE(std::ofstream(dir + "/" + n) << "x");
    fs::create_directory(dir + "/by-id");
    fs::create_symlink(dir + "/ttyUSB1", dir + "/by-id/usb-cable-b");
    fs::create_symlink(dir + "/ttyUSB0", dir + "/by-id/usb-cable-a");
    const std::vector<std::string> byId = ByIdLinks(dir + "/by-id");
    ASSERT_EQ(byId, (std::vector<std::string>{dir + "/by-id/usb-cable-a", dir + "/by-id/usb-cable-b"}));
    const std::vector<std::string> got =
        CandidatePorts(byId, {dir + "/ttyUSB0", dir + "/ttyS0", dir + "/ttyUSB1"},
                       {"", dir + "/ttyUSB1", dir + "/sim-link-gone", dir + "/ttyS0"});
    EXPECT_EQ(got, (std::vector<std::string>{dir + "/by-id/usb-cable-a", dir + "/by-id/usb-cable-b",
                                             dir + "/ttyS0", dir + "/sim-link-gone"}));
    EXPECT_TRUE(ByIdLinks(dir + "/no-such-folder").empty());
}

TEST(DetectRules, IdentifyingReadsTheIdentityOnlyAndWritesNothing) {
    struct Case {
        const char* what;
        bool echo;
        int ignoredHandshakes;
        bool success;
    };
    for (const Case c : {Case{"echoing cable", true, 0, true}, Case{"plain cable", false, 0, true},
                         Case{"silent radio", false, 1000, false}}) {
        auto t = test::MakeTestProgram();
        RadioSetup setup;
        setup.modelType = 1;
        setup.faults.ignoreHandshakes = c.ignoredHandshakes;
        RadioResponder radio(setup);
        bool asked = false;
        t->Prompts.message = [&](const std::string&, MsgIcon, MsgButtons, const std::string&) {
            asked = true;
            return MsgAnswer::Cancel;
        };
        VirtualLine line(*t, radio, c.echo);
        EXPECT_EQ(line.Run(LinkOperation::Identify), c.success) << c.what;
        EXPECT_FALSE(asked) << c.what << ": a finding, not a question";
        EXPECT_EQ(radio.blockRequests, 0) << c.what;
        EXPECT_FALSE(radio.memoryChanged) << c.what;
        EXPECT_FALSE(line.Engine().Running()) << c.what;
        if (c.success) {
            EXPECT_EQ(t->Link.Identity.RadioModelType, 1) << c.what;
            EXPECT_EQ(t->Link.NoEchoMode, !c.echo) << c.what;
            ASSERT_FALSE(line.sent.empty());
            EXPECT_EQ(line.sent.back(), EndPacket::encode()) << c.what;
        } else {
            // Four handshakes, then "END" sent without waiting.
            EXPECT_EQ(radio.handshakes, 4) << c.what;
            EXPECT_EQ(std::count(line.sent.begin(), line.sent.end(), HandshakePacket::encode()), 4) << c.what;
        }
    }
}

} // namespace
} // namespace tarvane
