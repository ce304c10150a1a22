// Trustworthy transfers through the real serial adapter over a pseudo-terminal:
// a write reported as done is done, a read never stores a late reply as the
// next block, a refusing radio and an interrupted command end cleanly, and
// reading a radio then writing the file back changes nothing.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "CliRunner.h"
#include "TestProgram.h"
#include "freq/ChannelCodec.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "memory/RadioMemory.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

using test::CliResult;
using test::EncodedFile;
using test::RunCli;
using test::SimulatedRadio;
using Raw = std::vector<unsigned char>;

std::string MakeCodeplug(const std::string& path) {
    auto t = test::MakeTestProgram(0);
    InitImage(*t);
    t->Image.Settings.Features.Options[kOptVolume] = 6;
    EXPECT_TRUE(SaveCodeplug(*t, path));
    return path;
}

size_t Differing(const Raw& a, const Raw& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}

size_t Occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::string Slurp(const std::string& path) {
    const Raw bytes = test::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

struct BadLine {
    const char* name;
    std::vector<std::string> options;
    bool echo;
};

void PrintTo(const BadLine& b, std::ostream* os) {
    *os << b.name;
}

// Each of these let a write end with "The radio has been written." and exit 0
// while the radio differed from a clean write in tens to hundreds of bytes.
// The rates are those of the first report, thinned so a run takes seconds;
// "issue_rates" keeps the first report's own line.
const BadLine kBadLines[] = {
    {"late_nak", {"--late-every", "19", "--late-ms", "200", "--nak-every", "4"}, false},
    {"late_nak_echo", {"--late-every", "19", "--late-ms", "200", "--nak-every", "4"}, true},
    {"late170_nak7", {"--late-every", "23", "--late-ms", "170", "--nak-every", "7"}, false},
    {"late170_nak7_echo", {"--late-every", "23", "--late-ms", "170", "--nak-every", "7"}, true},
    {"late_silence", {"--late-every", "19", "--late-ms", "200", "--silence-every", "29"}, false},
    {"late_silence_echo", {"--late-every", "19", "--late-ms", "200", "--silence-every", "29"}, true},
    {"issue_rates", {"--late-every", "3", "--late-ms", "200", "--nak-every", "4"}, false},
};

class BadLineWrite : public ::testing::TestWithParam<BadLine> {};

TEST_P(BadLineWrite, SuccessOnlyWithTheRadioHoldingWhatACleanWriteLeaves) {
    const BadLine& b = GetParam();
    const std::string dir = test::TempDir();
    const std::string file = MakeCodeplug(dir + "/img.dat");
    std::vector<std::string> options = b.options;
    if (b.echo) options.push_back("--echo");
    SimulatedRadio radio(options, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r = RunCli({"write", "--retries", "3", "--port", radio.Link(), file});
    radio.Stop();
    auto t = test::MakeTestProgram();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(LangText(*t, 9010_txt)), std::string::npos);
    EXPECT_EQ(Differing(radio.Memory(), EncodedFile(file)), 0u);
    // The line was bad: the write was read back before it was called done.
    EXPECT_NE(r.err.find(LangText(*t, 32001_txt)), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Faults, BadLineWrite, ::testing::ValuesIn(kBadLines),
                         [](const auto& info) { return std::string(info.param.name); });

class BadLineRead : public ::testing::TestWithParam<BadLine> {};

TEST_P(BadLineRead, TheFileHoldsExactlyWhatTheRadioHolds) {
    const BadLine& b = GetParam();
    const std::string dir = test::TempDir();
    const Raw held = EncodedFile(MakeCodeplug(dir + "/img.dat"));
    ASSERT_TRUE(test::WriteBytes(dir + "/memory.bin", held));
    std::vector<std::string> options = b.options;
    options.insert(options.end(), {"--wrong-address-every", "31"});
    if (b.echo) options.push_back("--echo");
    SimulatedRadio radio(options, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r =
        RunCli({"read", "--retries", "3", "--port", radio.Link(), "--out", dir + "/read.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Differing(EncodedFile(dir + "/read.dat"), held), 0u);
}

// Reads: one line of each kind, with and without echo between them.
INSTANTIATE_TEST_SUITE_P(Faults, BadLineRead, ::testing::Values(kBadLines[0], kBadLines[3], kBadLines[5]),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(VerifyOption, ACleanWriteIsReadBackOnlyWhenAsked) {
    for (bool verify : {false, true}) {
        const std::string dir = test::TempDir();
        const std::string file = MakeCodeplug(dir + "/img.dat");
        SimulatedRadio radio({}, dir);
        ASSERT_TRUE(radio.Ready());
        std::vector<std::string> args{"write", "--port", radio.Link(), file, "--trace", dir + "/trace"};
        if (verify) args.push_back("--verify");
        const CliResult r = RunCli(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string trace = Slurp(dir + "/trace");
        // Read requests besides the password block's: every block, after the last write.
        const size_t reads = Occurrences(trace, " tx 52 ") - Occurrences(trace, " tx 52 3e 10 10");
        EXPECT_EQ(reads, verify ? 464u : 0u);
        if (verify) {
            EXPECT_GT(trace.find(" tx 52 00 00 10"), trace.find(" tx 57 1c f0 10"));
        }
        radio.Stop();
        EXPECT_EQ(radio.Memory(), EncodedFile(file));
    }
}

TEST(RefusingRadio, AWriteThatIsAlwaysRefusedEndsAfterTheRetriesAndSaysWhy) {
    const std::string dir = test::TempDir();
    const std::string file = MakeCodeplug(dir + "/img.dat");
    SimulatedRadio radio({"--nak-every", "1"}, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r = RunCli({"write", "--retries", "1", "--port", radio.Link(), file});
    EXPECT_EQ(r.status, 1);
    auto t = test::MakeTestProgram();
    EXPECT_EQ(r.err.find(LangText(*t, 9010_txt)), std::string::npos);
    EXPECT_EQ(r.err.find(LangText(*t, 9008_txt)), std::string::npos) << "the window's question";
    EXPECT_EQ(Occurrences(r.err, radio.Link()), 3u) << r.err; // the restart, then twice in the advice
    EXPECT_NE(r.err.find("0x0000 16 "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("--retries"), std::string::npos) << r.err;
}

struct Interrupt {
    const char* command;
    int sig;
};

TEST(Interrupted, CtrlCOrTermSendsEndClosesThePortLeavesNoFileAndExitsNonZero) {
    const Interrupt cases[] = {{"read", SIGINT}, {"write", SIGTERM}, {"info", SIGINT}, {"read", SIGTERM}};
    for (const Interrupt& c : cases) {
        const std::string dir = test::TempDir();
        const std::string file = MakeCodeplug(dir + "/img.dat");
        // Every reply late: a transfer that takes minutes, stopped after a moment.
        SimulatedRadio radio({"--late-every", "1", "--late-ms", "100"}, dir);
        ASSERT_TRUE(radio.Ready());
        std::vector<std::string> args{c.command, "--port", radio.Link(), "--trace", dir + "/trace"};
        if (std::string(c.command) == "read") args.insert(args.end(), {"--out", dir + "/read.dat"});
        if (std::string(c.command) == "write") args.push_back(file);
        test::RunningCli cli(args);
        // Once the transfer is under way (the identification has been asked for).
        for (int i = 0; i < 500 && Slurp(dir + "/trace").find(" tx 02\n") == std::string::npos; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        cli.Signal(c.sig);
        const CliResult r = cli.Wait();
        EXPECT_EQ(r.status, 128 + c.sig) << c.command << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir + "/read.dat")) << c.command;
        const std::string trace = Slurp(dir + "/trace");
        // "END" went out last and the port was closed after it.
        const size_t end = trace.rfind(" tx 45 4e 44\n");
        ASSERT_NE(end, std::string::npos) << c.command;
        EXPECT_EQ(trace.find(" tx ", end + 1), std::string::npos) << c.command;
        EXPECT_NE(trace.find("# close", end), std::string::npos) << c.command;
        auto t = test::MakeTestProgram();
        EXPECT_NE(r.err.find(LangText(*t, 32013_txt)), std::string::npos) << r.err;
    }
}

TEST(OutputFile, AReadIntoAFileThatCannotBeWrittenStopsBeforeTheTransfer) {
    const std::string dir = test::TempDir();
    std::filesystem::create_directories(dir + "/folder");
    const std::string cases[] = {dir + "/missing/read.dat", dir + "/folder"};
    for (const std::string& out : cases) {
        SimulatedRadio radio({}, dir);
        ASSERT_TRUE(radio.Ready());
        const CliResult r = RunCli({"read", "--port", radio.Link(), "--out", out, "--trace", dir + "/trace"});
        EXPECT_EQ(r.status, 1) << out;
        EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir + "/trace")) << "the port was opened for " << out;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/folder"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/missing"));
}

TEST(EchoMode, ACableWithoutEchoIsRememberedSoTheNextRunNeedsOneHandshake) {
    const std::string dir = test::TempDir();
    SimulatedRadio radio({}, dir); // no echo
    ASSERT_TRUE(radio.Ready());
    // Without the kept mode every run starts expecting an echo and needs two
    // handshakes. The setup file is shared with the other tests' runs, which
    // may rewrite it at the same moment: most later runs, not all, must need one.
    size_t single = 0;
    for (int run = 0; run < 4; ++run) {
        const std::string trace = dir + "/trace" + std::to_string(run);
        ASSERT_EQ(RunCli({"info", "--port", radio.Link(), "--trace", trace}).status, 0);
        const size_t handshakes = Occurrences(Slurp(trace), " tx 50 52 4f 47 52 41 4d");
        EXPECT_LE(handshakes, 2u);
        if (run > 0 && handshakes == 1) ++single;
    }
    EXPECT_GE(single, 2u);
}

TEST(ReadThenWrite, AValidSlotWithAnErasedFrequencyGoesBackByteForByte) {
    const std::string dir = test::TempDir();
    Raw held = EncodedFile(MakeCodeplug(dir + "/img.dat"));
    // Slot 5 programmed (its valid bit set) with the frequency bytes erased;
    // slot 6 likewise with its scan bit too.
    for (int slot : {5, 6}) {
        const size_t block = static_cast<size_t>(16 * (slot - 1));
        held[block] = held[block + 1] = held[block + 2] = 0xFF;
        held[mem::kValidBitmap + (slot - 1) / 8] |= static_cast<unsigned char>(1u << ((slot - 1) % 8));
    }
    held[0x1940 + 5 / 8] |= static_cast<unsigned char>(1u << (5 % 8));
    ASSERT_TRUE(test::WriteBytes(dir + "/memory.bin", held));
    {
        SimulatedRadio source({}, dir);
        ASSERT_TRUE(source.Ready());
        const CliResult r = RunCli({"read", "--port", source.Link(), "--out", dir + "/read.dat"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const CliResult shown = RunCli({"show", dir + "/read.dat"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    const std::string target = test::TempDir();
    SimulatedRadio radio({}, target);
    ASSERT_TRUE(radio.Ready());
    const CliResult w = RunCli({"write", "--port", radio.Link(), dir + "/read.dat"});
    ASSERT_EQ(w.status, 0) << w.err;
    radio.Stop();
    EXPECT_EQ(Differing(radio.Memory(), held), 0u);
}

} // namespace
} // namespace tarvane
