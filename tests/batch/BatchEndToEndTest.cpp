// Several radios through tarvane-cli over pseudo-terminals: each simulator is
// its own radio, and what each one holds afterwards is compared with what a
// single write puts into a radio.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "CliRunner.h"
#include "TestProgram.h"
#include "batch/BatchRow.h"
#include "image/CodeplugFile.h"
#include "image/InitialValues.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

using test::CliResult;
using test::RunCli;
using test::SimulatedRadio;
namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string MakeCodeplug(const std::string& path, int volume) {
    auto t = test::MakeTestProgram(0);
    InitImage(*t);
    t->Image.Settings.Features.Options[kOptVolume] = static_cast<int16_t>(volume);
    EXPECT_TRUE(SaveCodeplug(*t, path));
    return path;
}

// The log's rows after the header, each as its result column and port.
std::vector<std::string> LogResults(const std::string& path) {
    std::vector<std::string> out;
    std::istringstream in(Slurp(path));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream cells(line);
        for (std::string c; std::getline(cells, c, ',');)
            f.push_back(c);
        if (f.size() >= 9) out.push_back(f[8] + " " + f[1]);
    }
    return out;
}

bool Has(const std::vector<std::string>& rows, const std::string& row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// A folder of its own for one simulated radio.
std::string In(const std::string& dir, const std::string& name) {
    fs::create_directories(dir + "/" + name);
    return dir + "/" + name;
}

size_t Occurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Waits for what the running program does, never for a fixed time.
template <typename Done> bool WaitFor(Done done) {
    for (int i = 0; i < 6000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return done();
}

TEST(ManyRadios, EveryRadioIsWrittenAtOnceAndAFailureNeverStopsTheOthers) {
    const std::string dir = test::TempDir();
    const std::string file = MakeCodeplug(dir + "/fleet.dat", 3);
    SimulatedRadio good({}, In(dir, "good")), silent({"--ignore-handshakes", "1000"}, In(dir, "silent")),
        refusing({"--nak-every", "1"}, In(dir, "refusing")), hf({"--model-type", "HF"}, In(dir, "hf")),
        single({}, In(dir, "single"));
    for (const SimulatedRadio* r : {&good, &silent, &refusing, &hf, &single})
        ASSERT_TRUE(r->Ready());
    ASSERT_EQ(RunCli({"write", file, "--port", single.Link()}).status, 0);
    const std::string log = dir + "/log.csv";
    const CliResult r = RunCli({"write", file, "--port", good.Link(), "--port", silent.Link(), "--port",
                                refusing.Link(), "--port", hf.Link(), "--log", log, "--retries", "1"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(good.Memory(), single.Memory()) << "the same bytes as a single write";
    EXPECT_NE(hf.Memory(), single.Memory()) << "another band is refused before any block";
    const std::vector<std::string> rows = LogResults(log);
    EXPECT_EQ(rows.size(), 4u) << Slurp(log);
    for (const std::string& row : {"ok " + good.Link(), "failed " + silent.Link(),
                                   "failed " + refusing.Link(), "refused " + hf.Link()})
        EXPECT_TRUE(Has(rows, row)) << row << "\n" << Slurp(log);
    auto t = test::MakeTestProgram();
    EXPECT_NE(r.err.find(FillIn(LangText(*t, 34412_txt), {hf.Link(), ""})), std::string::npos) << r.err;
    EXPECT_NE(Slurp(log).find(Checksum(test::ReadBytes(file))), std::string::npos) << Slurp(log);
    // Every radio holds the file: 0.
    SimulatedRadio second({}, In(dir, "second"));
    ASSERT_TRUE(second.Ready());
    EXPECT_EQ(RunCli({"write", file, "--port", good.Link(), "--port", second.Link()}).status, 0);
    EXPECT_EQ(second.Memory(), single.Memory());
}

TEST(ManyRadios, CloneCopiesOneRadioIntoTheOthersAndKeepsTheReadFirst) {
    const std::string dir = test::TempDir();
    SimulatedRadio source({}, In(dir, "source")), a({}, In(dir, "a")), b({}, In(dir, "b"));
    ASSERT_TRUE(source.Ready() && a.Ready() && b.Ready());
    ASSERT_EQ(RunCli({"write", MakeCodeplug(dir + "/x.dat", 7), "--port", source.Link()}).status, 0);
    setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    const CliResult r = RunCli({"clone", "--from", source.Link(), "--to", a.Link(), "--to", b.Link()});
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(a.Memory(), source.Memory());
    EXPECT_EQ(b.Memory(), source.Memory());
    size_t backups = 0;
    for (const auto& e : fs::directory_iterator(dir + "/data/tarvane-cps/backups")) {
        ++backups;
        EXPECT_NE(r.err.find(e.path().string()), std::string::npos) << r.err;
        EXPECT_EQ(test::EncodedFile(e.path().string()), source.Memory()) << "the backup holds the read";
    }
    EXPECT_EQ(backups, 1u);
    // A clone onto the radio read is wrong usage; a source that does not answer writes nothing.
    EXPECT_EQ(RunCli({"clone", "--from", a.Link(), "--to", a.Link()}).status, 2);
    EXPECT_EQ(RunCli({"clone", "--from", dir + "/none", "--to", a.Link()}).status, 1);
}

TEST(ManyRadios, RepeatWritesTheNextRadioOnlyWhenOneWasSwappedIn) {
    const std::string dir = test::TempDir();
    const std::string file = MakeCodeplug(dir + "/fleet.dat", 4);
    // The port is a link the test points at one radio, then another.
    const std::string port = dir + "/port";
    auto first = std::make_unique<SimulatedRadio>(std::vector<std::string>{}, In(dir, "first"));
    ASSERT_TRUE(first->Ready());
    fs::create_symlink(first->Link(), port);
    const std::string log = dir + "/log.csv";
    test::RunningCli cli({"write", file, "--port", port, "--repeat", "--log", log});
    ASSERT_TRUE(WaitFor([&] { return LogResults(log).size() == 1; })) << Slurp(log);
    const auto firstMemory = first->Memory();
    // Still the same radio: polled (a third handshake), never written again.
    ASSERT_TRUE(WaitFor([&] { return Occurrences(Slurp(dir + "/first/sim-trace"), "rx 50 52 4f 47") >= 4; }));
    EXPECT_EQ(LogResults(log).size(), 1u);
    // Then it is switched off (a radio that does not answer) and another one comes.
    first->Stop();
    fs::remove(port);
    SimulatedRadio off({"--ignore-handshakes", "60000"}, In(dir, "off"));
    ASSERT_TRUE(off.Ready());
    fs::create_symlink(off.Link(), port);
    ASSERT_TRUE(WaitFor([&] { return Occurrences(Slurp(dir + "/off/sim-trace"), "rx 50 52 4f 47") >= 4; }));
    fs::remove(port);
    off.Stop();
    SimulatedRadio second({}, In(dir, "second"));
    ASSERT_TRUE(second.Ready());
    fs::create_symlink(second.Link(), port);
    EXPECT_TRUE(WaitFor([&] { return LogResults(log).size() == 2; })) << Slurp(log);
    cli.Signal(SIGINT);
    const CliResult r = cli.Wait();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(LogResults(log), (std::vector<std::string>{"ok " + port, "ok " + port})) << r.err;
    EXPECT_EQ(second.Memory(), firstMemory);
    EXPECT_EQ(second.Memory(), test::EncodedFile(file));
}

TEST(ManyRadios, CtrlCSendsEndToEveryRadioAndNamesThoseThatMayHoldAMix) {
    const std::string dir = test::TempDir();
    const std::string file = MakeCodeplug(dir + "/fleet.dat", 5);
    // Every reply late: writes that take minutes.
    SimulatedRadio a({"--late-every", "1", "--late-ms", "60"}, In(dir, "a")),
        b({"--late-every", "1", "--late-ms", "60"}, In(dir, "b"));
    ASSERT_TRUE(a.Ready() && b.Ready());
    test::RunningCli cli({"write", file, "--port", a.Link(), "--port", b.Link()});
    // Once both radios have taken blocks.
    ASSERT_TRUE(WaitFor([&] {
        return Slurp(dir + "/a/sim-trace").find("rx 57 00 20") != std::string::npos &&
               Slurp(dir + "/b/sim-trace").find("rx 57 00 20") != std::string::npos;
    }));
    cli.Signal(SIGINT);
    const CliResult r = cli.Wait();
    EXPECT_EQ(r.status, 128 + SIGINT) << r.err;
    for (const std::string d : {"/a", "/b"}) {
        const std::string trace = Slurp(dir + d + "/sim-trace");
        EXPECT_NE(trace.rfind("rx 45 4e 44"), std::string::npos) << d << " got END";
    }
    auto t = test::MakeTestProgram();
    EXPECT_NE(r.err.find(FillIn(LangText(*t, 34415_txt), {a.Link() + ", " + b.Link()})), std::string::npos)
        << r.err;
}

} // namespace
} // namespace tarvane
