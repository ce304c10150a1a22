// tarvane-cli through the real serial adapter over a pseudo-terminal against
// "tarvane-cli simulate" (unpaced, so fast).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <thread>

#include "CliRunner.h"
#include "TestProgram.h"
#include "doc/Backups.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "image/ModelVersion.h"
#include "memory/RadioMemory.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

using test::CliResult;
using test::EncodedFile;
using test::RunCli;
using test::SimulatedRadio;
using Raw = std::vector<unsigned char>;

// A codeplug of the band with a few changes, saved to a file.
std::string MakeCodeplug(int type, const std::string& path) {
    auto t = test::MakeTestProgram(type);
    InitImage(*t);
    t->Image.Settings.Version.ModelType = static_cast<int16_t>(type);
    t->Image.Settings.Features.Options[kOptVolume] = 5;
    if (t->Image.UsedCount() > 0) t->Image.Channels[0].Scan = 0;
    EXPECT_TRUE(SaveCodeplug(*t, path));
    return path;
}

std::string TypeOption(int type) {
    return TypeName(type);
}

struct Band {
    int type;
    bool echo;
};

void PrintTo(const Band& b, std::ostream* os) {
    *os << TypeName(b.type) << (b.echo ? " echo" : " no echo");
}

class EndToEnd : public ::testing::TestWithParam<Band> {};

TEST_P(EndToEnd, ReadGivesTheImageTheRadioHolds) {
    const auto [type, echo] = GetParam();
    const std::string dir = test::TempDir();
    const Raw held = EncodedFile(MakeCodeplug(type, dir + "/source.dat"));
    ASSERT_TRUE(test::WriteBytes(dir + "/memory.bin", held));
    std::vector<std::string> options{"--model-type", TypeOption(type)};
    if (echo) options.push_back("--echo");
    SimulatedRadio radio(options, dir);
    ASSERT_TRUE(radio.Ready());

    setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1); // the backups of this read
    const CliResult r = RunCli({"read", "--port", radio.Link(), "--out", dir + "/read.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    // Decoding what the radio holds and encoding it again gives the same bytes.
    EXPECT_EQ(EncodedFile(dir + "/read.dat"), held);
    auto t = test::MakeTestProgram();
    ASSERT_EQ(OpenCodeplug(*t, dir + "/read.dat"), OpenResult::Opened);
    EXPECT_EQ(t->Model.ModelType, type);
    EXPECT_EQ(t->Image.Settings.Features.Options[kOptVolume], 5);
    // What the radio does not hold comes from the new document of its own band.
    auto source = test::MakeTestProgram();
    ASSERT_EQ(OpenCodeplug(*source, dir + "/source.dat"), OpenResult::Opened);
    for (int i = 0; i < kMaxChannels; ++i)
        ASSERT_EQ(t->Image.Channels[static_cast<size_t>(i)].SlotNumber,
                  source->Image.Channels[static_cast<size_t>(i)].SlotNumber)
            << i;
    EXPECT_EQ(ListBackups(dir + "/data/tarvane-cps/backups").size(), 1u); // as the window program keeps
    ASSERT_EQ(RunCli({"read", "--port", radio.Link(), "--out", dir + "/again.dat", "--no-backup"}).status, 0);
    EXPECT_EQ(ListBackups(dir + "/data/tarvane-cps/backups").size(), 1u);
}

TEST_P(EndToEnd, WriteLeavesTheEncodedImageInTheRadio) {
    const auto [type, echo] = GetParam();
    const std::string dir = test::TempDir();
    const std::string file = MakeCodeplug(type, dir + "/source.dat");
    std::vector<std::string> options{"--model-type", TypeOption(type)};
    if (echo) options.push_back("--echo");
    SimulatedRadio radio(options, dir);
    ASSERT_TRUE(radio.Ready());

    const CliResult r = RunCli({"write", "--port", radio.Link(), file});
    ASSERT_EQ(r.status, 0) << r.err;
    radio.Stop();
    EXPECT_EQ(radio.Memory(), EncodedFile(file));
}

INSTANTIATE_TEST_SUITE_P(Bands, EndToEnd,
                         ::testing::Values(Band{0, false}, Band{0, true}, Band{1, false}, Band{1, true},
                                           Band{2, false}, Band{2, true}),
                         [](const auto& info) {
                             return TypeName(info.param.type) + (info.param.echo ? "_echo" : "_noecho");
                         });

// A radio with no memory file holds its band's factory configuration; a codeplug
// as its memory file gives that codeplug's memory and model type, and stays as it was.
TEST(EndToEndStart, RadioStartsWithTheFactoryConfigurationOrACodeplug) {
    for (int type : {0, 1, 2}) {
        SCOPED_TRACE(TypeName(type));
        const std::string dir = test::TempDir() + "/start-" + TypeName(type);
        std::filesystem::create_directories(dir + "/codeplug");
        ASSERT_EQ(RunCli({"new", "--type", TypeName(type), "--out", dir + "/new.dat"}).status, 0);
        {
            SimulatedRadio radio({"--model-type", TypeName(type)}, dir);
            ASSERT_TRUE(radio.Ready());
            const CliResult r = RunCli({"read", "--port", radio.Link(), "--out", dir + "/read.dat"});
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(EncodedFile(dir + "/read.dat"), EncodedFile(dir + "/new.dat"));
        }
        const std::string source = MakeCodeplug(type, dir + "/source.dat");
        const Raw file = test::ReadBytes(source);
        ASSERT_TRUE(test::WriteBytes(dir + "/codeplug/memory.bin", file));
        SimulatedRadio radio({}, dir + "/codeplug");
        ASSERT_TRUE(radio.Ready());
        const CliResult r = RunCli({"read", "--port", radio.Link(), "--out", dir + "/read2.dat"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(EncodedFile(dir + "/read2.dat"), EncodedFile(source));
        radio.Stop();
        EXPECT_EQ(radio.Memory(), file);
    }
}

struct Fault {
    const char* name;
    std::vector<std::string> options;
    bool write;
};

void PrintTo(const Fault& f, std::ostream* os) {
    *os << f.name;
}

class FaultRecovery : public ::testing::TestWithParam<Fault> {};

TEST_P(FaultRecovery, TransferSucceedsWithTheRightBytes) {
    const Fault& f = GetParam();
    const std::string dir = test::TempDir();
    const std::string file = MakeCodeplug(0, dir + "/source.dat");
    const Raw encoded = EncodedFile(file);
    if (!f.write) {
        ASSERT_TRUE(test::WriteBytes(dir + "/memory.bin", encoded));
    }
    SimulatedRadio radio(f.options, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r = f.write ? RunCli({"write", "--port", radio.Link(), file})
                                : RunCli({"read", "--port", radio.Link(), "--out", dir + "/read.dat"});
    ASSERT_EQ(r.status, 0) << r.err;
    if (f.write) {
        // A late acknowledgement can leave the program one reply ahead of the
        // radio: it may finish before the radio has taken "END".
        radio.Stop();
        EXPECT_EQ(radio.Memory(), encoded);
    } else {
        EXPECT_EQ(EncodedFile(dir + "/read.dat"), encoded);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FaultRecovery,
    ::testing::Values(Fault{"silence", {"--silence-every", "97"}, false},
                      Fault{"silence_write", {"--silence-every", "97"}, true},
                      Fault{"bad_checksum", {"--bad-checksum-every", "89"}, false},
                      Fault{"nak", {"--nak-every", "7"}, true},
                      Fault{"nak_last_block_and_end", {"--nak-address", "0x1CF0", "--nak-ends", "2"}, true},
                      Fault{"wrong_address", {"--wrong-address-every", "83"}, false},
                      Fault{"late", {"--late-every", "151", "--late-ms", "200"}, false},
                      Fault{"late_write", {"--late-every", "151", "--late-ms", "200"}, true},
                      Fault{"split", {"--split", "3"}, false},
                      Fault{"split_echo", {"--split", "5", "--echo"}, true},
                      Fault{"ignored_handshakes", {"--ignore-handshakes", "2"}, false},
                      Fault{"silent_end", {"--silent-end"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EndToEndFailure, GiveUpEndsWithStatusOneAndNoFileRetriesRestartTheTransfer) {
    const std::string dir = test::TempDir();
    SimulatedRadio radio({"--silence-every", "1"}, dir);
    ASSERT_TRUE(radio.Ready());
    for (const char* retries : {"0", "1"}) {
        const CliResult r =
            RunCli({"read", "--port", radio.Link(), "--out", dir + "/read.dat", "--retries", retries});
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(std::filesystem::exists(dir + "/read.dat"));
        auto t = test::MakeTestProgram();
        // The command line says what it tried instead of asking the window's question.
        const std::string text = LangText(*t, 32005_txt);
        const std::string question = text.substr(0, text.find("%1"));
        size_t asked = 0;
        for (size_t at = r.err.find(question); at != std::string::npos; at = r.err.find(question, at + 1))
            ++asked;
        EXPECT_EQ(asked, std::string(retries) == "0" ? 1u : 2u);
    }
}

TEST(EndToEndEdges, PasswordRequestHasNoAllowanceInTheFirstRunAndTwoResendsAfterTheRestart) {
    struct Case {
        const char* silences;
        const char* retries;
        int status;
        size_t questions;
    };
    // One silence: the question at once. After the restart the request is sent
    // up to three times, so three silences pass and four do not.
    const Case cases[] = {{"1", "0", 1, 1}, {"1", "1", 0, 1}, {"3", "1", 0, 1}, {"4", "1", 1, 2}};
    auto t = test::MakeTestProgram();
    const std::string text = LangText(*t, 32005_txt);
    const std::string question = text.substr(0, text.find("%1"));
    for (const Case& c : cases) {
        const std::string dir = test::TempDir();
        SimulatedRadio radio({"--silence-password", c.silences}, dir);
        ASSERT_TRUE(radio.Ready());
        const CliResult r = RunCli({"info", "--port", radio.Link()}); // no password block: unaffected
        EXPECT_EQ(r.status, 0);
        const CliResult read =
            RunCli({"read", "--port", radio.Link(), "--out", dir + "/r.dat", "--retries", c.retries});
        EXPECT_EQ(read.status, c.status) << c.silences << "/" << c.retries << read.err;
        size_t asked = 0;
        for (size_t at = read.err.find(question); at != std::string::npos;
             at = read.err.find(question, at + 1))
            ++asked;
        EXPECT_EQ(asked, c.questions) << c.silences << "/" << c.retries;
    }
}

TEST(EndToEndFailure, WrongPasswordAndIdentityMismatchWriteNothing) {
    struct Case {
        const char* name;
        std::vector<std::string> sim;
        std::vector<std::string> extra;
        const char* reason;
    };
    const Case cases[] = {
        {"wrong password", {"--password", "1234"}, {"--password", "1235"}, "PassWord Failure!"},
        {"no password", {"--password", "1234"}, {}, "PassWord Failure!"},
        {"other model", {"--model-code", "Other"}, {}, "Radio is Other"},
        {"other type", {"--model-type", "HF"}, {}, ""},
        {"other firmware", {"--firmware", "V200"}, {}, ""},
    };
    for (const Case& c : cases) {
        const std::string dir = test::TempDir();
        const std::string file = MakeCodeplug(0, dir + "/source.dat");
        Raw before;
        CliResult r;
        {
            SimulatedRadio radio(c.sim, dir);
            ASSERT_TRUE(radio.Ready());
            before = radio.Memory();
            std::vector<std::string> args{"write", "--port", radio.Link(), file};
            args.insert(args.end(), c.extra.begin(), c.extra.end());
            r = RunCli(args);
        }
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << c.name << ": " << r.err;
        EXPECT_EQ(test::ReadBytes(dir + "/memory.bin"), before) << c.name;
    }
    // The right password passes.
    const std::string dir = test::TempDir();
    SimulatedRadio radio({"--password", "1234"}, dir);
    ASSERT_TRUE(radio.Ready());
    EXPECT_EQ(RunCli({"write", "--port", radio.Link(), MakeCodeplug(0, dir + "/s.dat"), "--password", "1234"})
                  .status,
              0);
}

TEST(EndToEndInfo, ErasedAreaPrintsEmptyTextsAndTheBandRefusal) {
    const std::string dir = test::TempDir();
    ASSERT_TRUE(test::WriteBytes(dir + "/info.bin", Raw(256, 0xFF)));
    SimulatedRadio radio({}, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r = RunCli({"info", "--port", radio.Link()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Type: Unknown\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Hardware: \n"), std::string::npos);
    EXPECT_NE(r.out.find("Factory text 4: \n"), std::string::npos);
    EXPECT_NE(r.err.find("Country Mode Error!"), std::string::npos);
}

TEST(EndToEndInfo, FieldsComeFromTheirOffsets) {
    const std::string dir = test::TempDir();
    Raw info(256, 0xFF);
    info[0] = 0x02;
    const std::string serial = "SN000042", g = "free text G";
    std::copy(serial.begin(), serial.end(), info.begin() + 32);
    std::copy(g.begin(), g.end(), info.begin() + 96);
    ASSERT_TRUE(test::WriteBytes(dir + "/info.bin", info));
    SimulatedRadio radio({"--echo"}, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r = RunCli({"info", "--port", radio.Link()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Type: HAM\nBand: 28.000 - 29.700 MHz\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Hardware: SN000042\n"), std::string::npos);
    EXPECT_NE(r.out.find("Remark: free text G\n"), std::string::npos);
}

TEST(EndToEndFailure, PortThatCannotBeOpenedNamesTheDevice) {
    const CliResult r = RunCli({"info", "--port", "/nonexistent/ttyUSB9"});
    EXPECT_EQ(r.status, 1);
    auto t = test::MakeTestProgram();
    EXPECT_NE(r.err.find(LangText(*t, 9003_txt) + "\n/nonexistent/ttyUSB9"), std::string::npos) << r.err;
}

TEST(EndToEndFailure, RadioThatHangsUpEndsTheTransferWithTheLossReported) {
    const std::string dir = test::TempDir();
    std::unique_ptr<SimulatedRadio> radio = std::make_unique<SimulatedRadio>(
        std::vector<std::string>{"--late-every", "1", "--late-ms", "100"}, dir); // about a minute for a read
    ASSERT_TRUE(radio->Ready());
    const std::string port = radio->Link();
    test::RunningCli read({"read", "--port", port, "--out", dir + "/read.dat"});
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    radio.reset();
    const CliResult r = read.Wait();
    EXPECT_EQ(r.status, 1);
    // Not the time-outs and the question of a silent radio: the loss itself is reported.
    auto t = test::MakeTestProgram();
    EXPECT_NE(r.err.find(FillIn(LangText(*t, 33600_txt), {port})), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(LangText(*t, 9008_txt)), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/read.dat"));
}

TEST(EndToEndFailure, RadioTypeWithoutBandIsReadButRefusedWithoutSaving) {
    const std::string dir = test::TempDir();
    SimulatedRadio radio({"--model-type", "5"}, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r = RunCli({"read", "--port", radio.Link(), "--out", dir + "/read.dat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Country Mode Error!"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/read.dat"));
}

TEST(EndToEndCli, TraceRecordsEveryByteWithDirection) {
    const std::string dir = test::TempDir();
    SimulatedRadio radio({"--echo"}, dir);
    ASSERT_TRUE(radio.Ready());
    ASSERT_EQ(RunCli({"info", "--port", radio.Link(), "--trace", dir + "/trace"}).status, 0);
    const Raw trace = test::ReadBytes(dir + "/trace");
    const std::string text(trace.begin(), trace.end());
    EXPECT_NE(text.find(" tx 50 52 4f 47 52 41 4d\n"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find(" tx 52 3e f0 10\n"), std::string::npos);
    EXPECT_NE(text.find(" rx "), std::string::npos);
}

TEST(EndToEndCli, UsageErrorsGiveStatusTwo) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"fly"},
        {"read", "--port", "/dev/null"},
        {"write", "--port", "/dev/null"},
        {"new", "--type", "CB"},
        {"new", "--type", "XX", "--out", "/tmp/x.dat"},
        {"read", "--port", "/dev/null", "--out", "x.dat", "--retries", "many"},
        {"show", "a.dat", "b.dat"},
        {"simulate"},
    };
    for (const auto& args : wrong)
        EXPECT_EQ(RunCli(args).status, 2) << (args.empty() ? "" : args[0]);
}

TEST(EndToEndCli, NewAndShowForEachBand) {
    for (int type : {0, 1, 2}) {
        const std::string file = test::TempDir() + "/new.dat";
        ASSERT_EQ(RunCli({"new", "--type", TypeName(type), "--out", file}).status, 0);
        const CliResult r = RunCli({"show", file});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find("Model type: " + TypeName(type) + "\nBand: " + BandTextForType(type)),
                  std::string::npos)
            << r.out;
    }
    const std::string bad = test::TempDir() + "/short.dat";
    ASSERT_TRUE(test::WriteBytes(bad, Raw(100, 0)));
    EXPECT_EQ(RunCli({"show", bad}).status, 1);
}

} // namespace
} // namespace tarvane
