// tarvane-cli export, import, diff and the JSON output, chained as a user would:
// export a codeplug, edit the list as text, import it into a new file, compare.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "CliRunner.h"
#include "ExchangeHelpers.h"
#include "TestProgram.h"

namespace tarvane {
namespace {

using test::CliResult;
using test::RunCli;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool PythonJsonValid(const std::string& path) {
    return std::system(
               ("python3 -c 'import json,sys; json.load(open(sys.argv[1], encoding=\"utf-8\"))' " + path)
                   .c_str()) == 0;
}

TEST(ExchangeCli, ExportEditImportDiff) {
    const std::string dir = test::TempDir();
    ASSERT_EQ(RunCli({"new", "--type", "HAM", "--out", dir + "/a.dat"}).status, 0);
    CliResult r = RunCli({"export", dir + "/a.dat", "--out", dir + "/a.csv", "--group", "A"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("12 channels written"), std::string::npos) << r.out;
    std::string csv = ReadText(dir + "/a.csv");
    ASSERT_EQ(
        csv.rfind("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                  "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE,Group,",
                  0),
        0u);

    // The user retunes bank A channel 2 and adds a channel of bank B in a text editor.
    const std::string from = "2,,29.520000,", to = "2,,29.525000,";
    ASSERT_NE(csv.find(from), std::string::npos);
    csv.replace(csv.find(from), from.size(), to);
    csv += "99,,28.300000,+,0.100000,TSQL,88.5,100.0,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,,B,4,Off,On,Off,"
           "Off,0,0,0,0,On\r\n";
    WriteText(dir + "/edited.csv", csv);
    r = RunCli({"import", dir + "/a.dat", dir + "/edited.csv", "--out", dir + "/b.dat"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_NE(r.out.find("13 rows taken, 0 adjusted, 0 refused."), std::string::npos) << r.out;

    r = RunCli({"diff", dir + "/a.dat", dir + "/b.dat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Channels A 2: RxFreq: \"29.52000\" -> \"29.52500\"\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Channels B 4: only in B\n"), std::string::npos) << r.out;
    EXPECT_EQ(RunCli({"diff", dir + "/b.dat", dir + "/b.dat"}).status, 0);
    EXPECT_EQ(RunCli({"diff", dir + "/b.dat", dir + "/missing.dat"}).status, 2);
    WriteText(dir + "/short.dat", "not a codeplug");
    EXPECT_EQ(RunCli({"diff", dir + "/short.dat", dir + "/b.dat"}).status, 2);

    // The new channel's values, through show --json.
    r = RunCli({"show", dir + "/b.dat", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const size_t at = r.out.find("\"group\": \"B\",\n      \"channel\": 4,");
    ASSERT_NE(at, std::string::npos) << r.out.substr(0, 2000);
    const std::string channel = r.out.substr(at, r.out.find('}', at) - at);
    for (const char* field : {"\"RxFreq\": \"28.30000\"", "\"DUP\": 1", "\"RDCT\": 12", "\"TDCT\": 12",
                              "\"Tx_Power\": 2", "\"Public\": 0", "\"TSQ\": 1"})
        EXPECT_NE(channel.find(field), std::string::npos) << field << "\n" << channel;
    WriteText(dir + "/b.json", r.out);
    if (std::system("python3 -c '' 2>/dev/null") == 0) {
        EXPECT_TRUE(PythonJsonValid(dir + "/b.json"));
    }
}

TEST(ExchangeCli, RefusedRowsWriteNothingUnlessSkipped) {
    const std::string dir = test::TempDir();
    ASSERT_EQ(RunCli({"new", "--type", "HF", "--out", dir + "/a.dat"}).status, 0);
    WriteText(dir + "/list.csv", "Frequency,Duplex,Mode\n28.5,,NFM\n28.6,split,FM\n28.6123,-,AM\n");
    CliResult r = RunCli({"import", dir + "/a.dat", dir + "/list.csv", "--out", dir + "/b.dat", "--group",
                          "D", "--first", "5"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(
        r.out.find("Line 3, group D channel 6: refused; duplex \"split\" is not offered by this radio\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(
        r.out.find("Line 4, group D channel 6: adjusted; frequency 28.612300 MHz taken as 28.610000 MHz\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.err.find("Nothing was written: 1 rows are refused"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/b.dat"));

    r = RunCli({"import", dir + "/a.dat", dir + "/list.csv", "--out", dir + "/b.dat", "--group", "D",
                "--first", "5", "--skip-bad"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunCli({"export", dir + "/b.dat", "--out", dir + "/b.csv", "--group", "D"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = test::CsvRows(ReadText(dir + "/b.csv"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("GroupChannel"), "5");
    EXPECT_EQ(rows[1].at("Frequency"), "28.610000");
    EXPECT_EQ(rows[1].at("Mode"), "AM");

    // Wrong usage and files that are no channel list.
    r = RunCli({"import", dir + "/a.dat", dir + "/list.csv", "--out", dir + "/c.dat", "--group", "ZZ"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("The groups of this radio: A, B, "), std::string::npos) << r.err;
    EXPECT_EQ(RunCli({"export", dir + "/b.dat", "--out", dir + "/d.csv", "--group", "d"}).status, 0); // any case
    EXPECT_EQ(
        RunCli({"import", dir + "/a.dat", dir + "/list.csv", "--out", dir + "/c.dat", "--first", "0"}).status,
        2);
    WriteText(dir + "/bin.csv", std::string("\x7f"
                                            "ELF\0\0",
                                            6));
    r = RunCli({"import", dir + "/a.dat", dir + "/bin.csv", "--out", dir + "/c.dat"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("binary data"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir + "/c.dat"));
}

TEST(ExchangeCli, InfoAsJson) {
    const std::string dir = test::TempDir();
    std::vector<unsigned char> info(256, 0xFF);
    info[0] = 0x01;
    const std::string serial = "SN\"0042";
    std::copy(serial.begin(), serial.end(), info.begin() + 32);
    ASSERT_TRUE(test::WriteBytes(dir + "/info.bin", info));
    test::SimulatedRadio radio({}, dir);
    ASSERT_TRUE(radio.Ready());
    const CliResult r = RunCli({"info", "--port", radio.Link(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"ModelType\": \"HF\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"Hardware\": \"SN\\\"0042\""), std::string::npos)
        << r.out; // as the text labels it
    EXPECT_NE(r.out.find("\"RadioModelCode\": \"Tarvane\""), std::string::npos)
        << r.out; // what the radio answered
}

} // namespace
} // namespace tarvane
