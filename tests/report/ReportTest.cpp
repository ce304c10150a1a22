// The document report: what it lists, by the names the windows show, and that
// hostile values print as numbers instead of reaching past a list.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestProgram.h"
#include "features/dtmf/DtmfArea.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"
#include "report/CodeplugReport.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

const ReportSection* Find(const Report& r, const std::string& title) {
    for (const ReportSection& s : r.Sections)
        if (s.Title == title) return &s;
    return nullptr;
}

std::vector<std::string> Titles(const Report& r) {
    std::vector<std::string> out;
    for (const ReportSection& s : r.Sections)
        out.push_back(s.Title);
    return out;
}

// Only the listed slots, in the HAM band.
test::TestProgram HamWith(std::initializer_list<int> slots) {
    auto t = test::MakeTestProgram(kBandHAM);
    t->Image.Settings.ChannelCount = 0;
    for (int s : slots)
        AppendChannel(t->Image, s, "29.60000");
    return t;
}

TEST(Report, ListsTheChannelsOfEachGroupWithTheirSettingsByName) {
    auto t = HamWith({3, 401, 42});
    Program& p = *t;
    ChannelRecord& c = p.Image.Channels[0]; // bank A, channel 3
    c.RxFreq.Assign("02962000");
    c.DUP = 2;
    c.OffSetFre = 100;
    c.RDCT = 1;
    c.TDCT = 39; // the first DCS code
    c.AM_FM = 0;
    c.Tx_Power = 2;
    c.Scan = 0;
    c.Public = 0;
    c.NB = 1;
    c.BUSY = 1;
    c.RBTone = 0;
    c.DTMF_Call = 4;
    const Report r = BuildCodeplugReport(p, "club.dat", "2026-12-08 04:40");
    EXPECT_EQ(r.Title, "Tarvane CPS");
    EXPECT_NE(r.HeaderDetail.find("club.dat"), std::string::npos);
    EXPECT_NE(r.HeaderDetail.find("HAM"), std::string::npos);
    EXPECT_EQ(r.Footer, "Printed: 2026-12-08 04:40");
    const auto& lines = r.Sections.at(0).Lines;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Band: HAM " + p.Model.BandText), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "File: club.dat"), lines.end());
    // Groups with channels only, each on its own page, in group order; then the features.
    EXPECT_EQ(Titles(r),
              (std::vector<std::string>{"Document", "Channels [Group: A]", "Channels [Group: B]",
                                        "Channels [Group: VFO]", "Optional features", "Common channel data",
                                        "DTMF", "Programmable keys", "Tone tips", "Emergency channels"}));
    const ReportSection* a = Find(r, "Channels [Group: A]");
    ASSERT_TRUE(a);
    // The first group shares page 1 with the summary; the others start pages, and
    // a table that runs on repeats its heading.
    EXPECT_FALSE(a->NewPage);
    EXPECT_TRUE(Find(r, "Channels [Group: B]")->NewPage);
    EXPECT_EQ(a->ContinuedTitle, "Channels [Group: A] (continued)");
    EXPECT_EQ(a->Table.Columns,
              (std::vector<std::string>{"No.", "Frequency (MHz)", "Duplex", "Offset (kHz)",
                                        "Receive CTCSS/DCS", "Transmit CTCSS/DCS", "Modulation",
                                        "Transmit power", "Scan", "Other settings"}));
    ASSERT_EQ(a->Table.Rows.size(), 1u);
    EXPECT_EQ(a->Table.Rows[0],
              (std::vector<std::string>{"3", "29.62000", "-", "100", "C_001(67.0Hz)", "D_001(023N)", "FM",
                                        "High", "Del", "Busy lock-out, Noise blanker, DTMF call 4"}));
    EXPECT_EQ(Find(r, "Channels [Group: B]")->Table.Rows.at(0).at(0), "2");
}

TEST(Report, FeaturesDtmfKeysTipsAndEmergencyChannels) {
    auto t = test::MakeTestProgram(kBandCB);
    Program& p = *t;
    SettingsRecord& s = p.Image.Settings;
    s.Features.Options[kOptBeep] = 1;
    s.Features.ActiveGroup = 3; // the UK plan: the CB window shows "UK" and "UK"
    StoreDtmfCode(p, 2, "12*#");
    s.Dtmf.DtmfRate = 5;
    s.Dtmf.DKeySetting = 3;
    s.KeyTable = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    s.ToneTips[4] = {};
    s.ToneTips[4].LoopCount = 2;
    s.ToneTips[4].LoopInterval = 50;
    s.ToneTips[4].Pairs[0] = {100, 12};
    s.ToneTips[4].Pairs[1] = {0, 5};
    const Report r = BuildCodeplugReport(p, "x.dat", "now");

    const ReportSection* opt = Find(r, "Optional features");
    ASSERT_TRUE(opt);
    auto value = [opt](const std::string& name) {
        for (const auto& row : opt->Table.Rows)
            if (row.at(0) == name) return row.at(1);
        return std::string("(missing)");
    };
    EXPECT_EQ(value("Beep"), "On");
    EXPECT_EQ(value("Active group"), "UK / UK");
    // The common channel data: the CB window has no duplex and no power list.
    const ReportSection* common = Find(r, "Common channel data");
    ASSERT_TRUE(common);
    std::vector<std::string> names;
    for (const auto& row : common->Table.Rows)
        names.push_back(row.at(0));
    EXPECT_EQ(std::count(names.begin(), names.end(), "Duplex"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Transmit power"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Modulation"), 1);

    const ReportSection* dtmf = Find(r, "DTMF");
    ASSERT_TRUE(dtmf);
    EXPECT_NE(std::find(dtmf->Lines.begin(), dtmf->Lines.end(), "Digit time (ms): 50"), dtmf->Lines.end());
    EXPECT_NE(std::find(dtmf->Lines.begin(), dtmf->Lines.end(), "D key: 3s"), dtmf->Lines.end());
    const auto code2 = std::find_if(dtmf->Table.Rows.begin(), dtmf->Table.Rows.end(),
                                    [](const auto& row) { return row.at(0) == "2"; });
    ASSERT_NE(code2, dtmf->Table.Rows.end());
    EXPECT_EQ(code2->at(1), "12*#");

    const ReportSection* keys = Find(r, "Programmable keys");
    ASSERT_TRUE(keys);
    EXPECT_EQ(keys->Lines.at(0), "Pages in use: 1&3");
    EXPECT_EQ(keys->Table.Rows.at(0),
              (std::vector<std::string>{"1", "MOD", "RFG", "EMG", "VOL", "SQL", "POW"}));
    EXPECT_EQ(keys->Table.Rows.at(2).back(), "5K");

    const ReportSection* tips = Find(r, "Tone tips");
    ASSERT_TRUE(tips);
    const auto tip5 = std::find_if(tips->Table.Rows.begin(), tips->Table.Rows.end(),
                                   [](const auto& row) { return row.at(0) == "5"; });
    ASSERT_NE(tip5, tips->Table.Rows.end());
    EXPECT_EQ(*tip5, (std::vector<std::string>{"5", "2", "500", "1000/120, Rest/50"}));

    const ReportSection* emg = Find(r, "Emergency channels");
    ASSERT_TRUE(emg);
    ASSERT_EQ(emg->Table.Rows.size(), 2u);
    EXPECT_EQ(emg->Table.Columns.at(0), "Group");
    EXPECT_EQ(emg->Table.Columns.at(1), "Channel");
    for (const auto& row : emg->Table.Rows)
        EXPECT_EQ(row.size(), emg->Table.Columns.size());
}

TEST(Report, HostileValuesPrintAsNumbers) {
    auto t = HamWith({1});
    Program& p = *t;
    ChannelRecord& c = p.Image.Channels[0];
    c.RxFreq.Assign("2x.!");
    c.DUP = 77;
    c.RDCT = 999;
    c.TDCT = -5;
    c.AM_FM = 5;
    c.Tx_Power = -3;
    c.Scan = 300;
    c.RBTone = 77;
    c.DTMF_BOT = 99;
    p.Image.Settings.KeyTable[0] = 40;
    p.Image.Settings.KeyTable[5] = 0;
    p.Image.Settings.Features.Options[kOptVolume] = 31000;
    p.Image.Settings.Dtmf.Codes[0] = {40, {}};
    p.Image.Settings.Emergency[0].EmgGroup = 55;
    p.Image.Settings.Emergency[0].EmgChannel = 3;
    const Report r = BuildCodeplugReport(p, "bad.dat", "now");
    const ReportSection* a = Find(r, "Channels [Group: A]");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Table.Rows.at(0),
              (std::vector<std::string>{"1", "", "77", "100", "999", "-5", "5", "-3", "300",
                                        "Common data, Noise blanker, DTMF at start 99"}));
    EXPECT_EQ(Find(r, "Programmable keys")->Lines.at(0), "Pages in use: 40");
    EXPECT_EQ(Find(r, "Programmable keys")->Table.Rows.at(0).at(5), "-1");
    EXPECT_TRUE(Find(r, "DTMF")->Table.Rows.empty()); // a length of 40 is no code
    EXPECT_EQ(Find(r, "Emergency channels")->Table.Rows.at(0).at(0), "");
}

TEST(Report, FollowsTheLanguage) {
    auto t = test::MakeTestProgram(kBandCB);
    SetLanguage(*t, 2);
    const Report r = BuildCodeplugReport(*t, "x.dat", "now");
    EXPECT_EQ(r.Sections.at(1).Title,
              LangText(*t, 33305_txt).replace(LangText(*t, 33305_txt).find("%1"), 2, "D"));
    EXPECT_NE(r.Sections.at(1).Title.find("D"), std::string::npos);
    EXPECT_EQ(r.Sections.at(1).Table.Columns.at(0), LangText(*t, 14001_txt));
    EXPECT_NE(ReportText(r).find(LangText(*t, 16000_txt)), std::string::npos);
    // The words of the lists too: no English "On", "Off", "Add" or "Del" in any cell.
    int added = 0;
    for (const ReportSection& s : r.Sections)
        for (const auto& row : s.Table.Rows)
            for (const std::string& cell : row) {
                EXPECT_TRUE(cell != "On" && cell != "Off" && cell != "Add" && cell != "Del") << s.Title;
                added += cell == LangText(*t, 32403_txt);
            }
    EXPECT_GT(added, 0);
}

} // namespace
} // namespace tarvane
