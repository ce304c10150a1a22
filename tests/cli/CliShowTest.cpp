// tarvane-cli show prints values by the names the windows show: a file made
// with known values is shown with those names, and values a damaged file
// carries are shown as the numbers they are, never as a neighbouring name.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestProgram.h"
#include "features/options/OptionFields.h"
#include "freq/Bands.h"
#include "image/CodeplugFile.h"
#include "image/ImageOps.h"
#include "image/InitialValues.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

using test::CliResult;
using test::RunCli;

// The first slot of the file's channel list of a group, by channel number.
ChannelRecord* Channel(Program& p, int group, int channel) {
    const int slot = GroupBase(group, p.Model.ModelType) + channel;
    for (int i = 0; i < p.Image.UsedCount(); ++i)
        if (p.Image.Channels[static_cast<size_t>(i)].SlotNumber == slot)
            return &p.Image.Channels[static_cast<size_t>(i)];
    return nullptr;
}

std::string LineOf(const std::string& out, const std::string& start) {
    const size_t at = out.find("\n" + start);
    if (at == std::string::npos) return "";
    return out.substr(at + 1, out.find('\n', at + 1) - at - 1);
}

// "  slot  group  channel  ..." as show prints a channel row, columns squeezed.
std::string Squeezed(std::string line) {
    std::string out;
    for (char c : line)
        if (c != ' ' || (!out.empty() && out.back() != ' ')) out += c;
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

TEST(CliShow, ChannelsOptionsAndKeysAreShownByName) {
    auto t = test::MakeTestProgram(2); // HAM: duplex, offset and three powers are in use
    InitImage(*t);
    t->Image.Settings.Version.ModelType = 2;
    ChannelRecord* c = Channel(*t, 0, 2);
    ASSERT_NE(c, nullptr);
    c->DUP = 1;
    c->OffSetFre = 600;
    c->AM_FM = 0;
    c->Tx_Power = 2;
    c->Scan = 0;
    c->RDCT = 1;  // the first CTCSS tone
    c->TDCT = 39; // the first DCS code
    c->RBTone = 3;
    ChannelRecord* am = Channel(*t, 0, 3);
    ASSERT_NE(am, nullptr);
    am->AM_FM = 1;
    am->Tx_Power = 1;
    am->DUP = 2;
    am->OffSetFre = 100;
    auto& keys = t->Image.Settings.KeyTable;
    keys[0] = 1;  // pages 1&3
    keys[1] = 20; // page 1, P1: NULL
    keys[7] = 3;  // page 2, P1: EMG
    keys[18] = 1; // page 3, P6: MOD
    FeatureBlock& f = t->Image.Settings.Features;
    SetOptionValue(f, 2, 1); // beep on
    const std::string file = test::TempDir() + "/named.dat";
    ASSERT_TRUE(SaveCodeplug(*t, file));

    const CliResult r = RunCli({"show", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string high = LangText(*t, 15046_txt), medium = LangText(*t, 15045_txt);
    const std::string group = GroupName(0, 2);
    struct Row {
        const char* what;
        std::string start, expected;
    };
    const std::vector<Row> rows = {
        {"duplex + with offset, FM high power, tones, roger beep",
         std::to_string(GroupBase(0, 2) + 2) + "  " + group,
         std::to_string(GroupBase(0, 2) + 2) + " " + group + " 2 29.52000 +600 kHz FM " + high +
             " Del C_001(67.0Hz) " + "D_001(023N) 3"},
        {"duplex - on AM, whose second power is the middle one",
         std::to_string(GroupBase(0, 2) + 3) + "  " + group,
         std::to_string(GroupBase(0, 2) + 3) + " " + group + " 3 29.54000 -100 kHz AM " + medium +
             " Add Off Off " + LangText(*t, 15030_txt)},
    };
    for (const Row& row : rows) {
        std::string line;
        for (size_t at = 0; (at = r.out.find('\n', at)) != std::string::npos; ++at) {
            const std::string next = Squeezed(r.out.substr(at + 1, r.out.find('\n', at + 1) - at - 1));
            if (next.starts_with(Squeezed(row.start) + " ")) line = next;
        }
        EXPECT_EQ(line, row.expected) << row.what << "\n" << r.out;
    }
    EXPECT_EQ(LineOf(r.out, LangText(*t, 25007_txt) + ":"), LangText(*t, 25007_txt) + ": 1&3");
    EXPECT_EQ(LineOf(r.out, LangText(*t, 25008_txt) + " 1 P1:"), LangText(*t, 25008_txt) + " 1 P1: NULL");
    EXPECT_EQ(LineOf(r.out, LangText(*t, 25008_txt) + " 2 P1:"), LangText(*t, 25008_txt) + " 2 P1: EMG");
    EXPECT_EQ(LineOf(r.out, LangText(*t, 25008_txt) + " 3 P6:"), LangText(*t, 25008_txt) + " 3 P6: MOD");
    EXPECT_EQ(LineOf(r.out, LangText(*t, 16003_txt) + ":"), LangText(*t, 16003_txt) + ": On");
}

TEST(CliShow, ValuesNoListHasAreShownAsTheirNumbers) {
    auto t = test::MakeTestProgram(2);
    InitImage(*t);
    t->Image.Settings.Version.ModelType = 2;
    ChannelRecord* c = Channel(*t, 0, 1);
    ASSERT_NE(c, nullptr);
    c->DUP = 7;
    c->AM_FM = 1;
    c->Tx_Power = 2; // no high power on AM
    c->Scan = 5;
    t->Image.Settings.KeyTable[0] = 9;
    t->Image.Settings.KeyTable[1] = 0;
    t->Image.Settings.KeyTable[2] = 21;
    const std::string file = test::TempDir() + "/odd.dat";
    ASSERT_TRUE(SaveCodeplug(*t, file));

    const CliResult r = RunCli({"show", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string row =
        Squeezed(LineOf(r.out, std::string(5 - std::to_string(GroupBase(0, 2) + 1).size(), ' ') +
                                   std::to_string(GroupBase(0, 2) + 1) + "  "));
    EXPECT_NE(row.find(" ?7 AM ?2 ? "), std::string::npos) << row;
    EXPECT_EQ(LineOf(r.out, LangText(*t, 25007_txt) + ":"), LangText(*t, 25007_txt) + ": ?9");
    EXPECT_EQ(LineOf(r.out, LangText(*t, 25008_txt) + " 1 P1:"), LangText(*t, 25008_txt) + " 1 P1: ?0");
    EXPECT_EQ(LineOf(r.out, LangText(*t, 25008_txt) + " 1 P2:"), LangText(*t, 25008_txt) + " 1 P2: ?21");
}

} // namespace
} // namespace tarvane
