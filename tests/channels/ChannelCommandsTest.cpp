// The channel-edit commands of the channel table: cut, copy, paste, insert, delete
// and move, and the rules the channel windows share.
#include <gtest/gtest.h>

#include <set>

#include "TestProgram.h"
#include "base/NumberText.h"
#include "channels/ChannelClipboard.h"
#include "channels/ChannelRules.h"
#include "freq/Bands.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

constexpr int CB = 0, HF = 1, HAM = 2;

// A program whose list holds exactly the given slots, each on its own frequency
// (the lower band limit plus 5 kHz per slot within the band), every plan off.
test::TestProgram WithSlots(int band, std::initializer_list<int> slots) {
    auto p = test::MakeTestProgram(band);
    p->Image.Settings.ChannelCount = 0;
    for (int s : slots) {
        const double f = p->Model.LowerLimit + 0.005 * (s % 80);
        AppendChannel(p->Image, s, FormatFixed(f, 5));
    }
    p->Image.Settings.Features.GroupEnabled = {};
    p->Image.Settings.Features.GroupEnabled[static_cast<size_t>(GroupOfSlot(*slots.begin(), band))] = 1;
    return p;
}

const ChannelRecord* At(test::TestProgram& p, int slot) {
    int i = FindChannelSlot(p->Image, slot);
    return i < 0 ? nullptr : &p->Image.Channels[static_cast<size_t>(i)];
}

std::string Freq(test::TestProgram& p, int slot) {
    const ChannelRecord* r = At(p, slot);
    return r ? r->RxFreq.Trimmed() : "";
}

// What every command must leave behind: one record per slot, selections naming
// channels that exist, no switched-on plan without channels, and a plan switched
// on while any plan has channels.
void ExpectConsistent(test::TestProgram& p) {
    const int band = p->Model.ModelType;
    std::set<int> slots;
    for (int i = 0; i < p->Image.UsedCount(); ++i)
        EXPECT_TRUE(slots.insert(p->Image.Channels[static_cast<size_t>(i)].SlotNumber).second)
            << "slot " << p->Image.Channels[static_cast<size_t>(i)].SlotNumber << " twice";
    const FeatureBlock& f = p->Image.Settings.Features;
    bool anyPlanChannel = false, anyOn = false;
    for (int g = 0; g <= HighestPlanGroup(band); ++g) {
        const auto gi = static_cast<size_t>(g);
        const int base = GroupBase(g, band);
        if (CountInGroup(p->Image, g, band) == 0) {
            EXPECT_EQ(f.GroupEnabled[gi], 0) << "empty group " << g << " on";
            continue;
        }
        anyPlanChannel = true;
        anyOn = anyOn || f.GroupEnabled[gi] > 0;
        for (int sel : {f.WorkChannel[gi], f.GroupEmgChannel1[gi], f.GroupEmgChannel2[gi]})
            EXPECT_NE(At(p, base + sel + 1), nullptr) << "group " << g << " selection " << sel;
    }
    if (anyPlanChannel) {
        EXPECT_TRUE(anyOn);
    }
    if (CountInGroup(p->Image, MemGroup(band), band) > 0) {
        EXPECT_NE(At(p, GroupBase(MemGroup(band), band) + f.MemChannelSel + 1), nullptr);
    }
}

TEST(ChannelClipboard, CopyWritesEveryFieldInColumnOrder) {
    auto p = WithSlots(HF, {1});
    ChannelRecord& r = p->Image.Channels[0];
    r.RxFreq.Assign("02812340");
    r.Public = 0, r.DUP = 2, r.OffSetFre = 600, r.TSQ = 1, r.Scan = 0, r.HI_CUT = 1, r.BUSY = 1, r.NB = 0;
    r.Add_Sub_5K = 1, r.AM_FM = 1, r.Tx_Power = 1, r.RBTone = 4, r.DTMF_BOT = 5, r.DTMF_EOT = 6;
    r.DTMF_Call = 7, r.RDCT = 39, r.TDCT = 142;
    EXPECT_EQ(CopyChannels(*p, 0, 1, 2), "28.12340\t0\t2\t600\t1\t0\t1\t1\t0\t1\t1\t1\t4\t5\t6\t7\t39\t142\n"
                                         "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n");
}

TEST(ChannelClipboard, CopyAndPasteToAnotherBankKeepsEveryOption) {
    auto p = WithSlots(HF, {1, 2, 401});
    ChannelRecord& r = p->Image.Channels[0];
    r.Public = 0, r.DUP = 1, r.OffSetFre = 250, r.TSQ = 1, r.Scan = 0, r.HI_CUT = 1, r.BUSY = 1, r.NB = 0;
    r.AM_FM = 0, r.Tx_Power = 2, r.RDCT = 12, r.TDCT = 100;
    const ChannelRecord before = r;
    const std::string text = CopyChannels(*p, 0, 1, 1);
    PasteResult res = PasteChannels(*p, 3, 7, text); // bank D, channel 7 (slot 127)
    ASSERT_TRUE(res.Valid);
    EXPECT_EQ(res.Rows, 1);
    const ChannelRecord* copy = At(p, 127);
    ASSERT_NE(copy, nullptr);
    ChannelRecord expected = before;
    expected.SlotNumber = 127;
    EXPECT_EQ(*copy, expected);
    ExpectConsistent(p);
}

TEST(ChannelClipboard, CutAndPasteMovesChannelsAcrossGroupsWithUniqueSlots) {
    auto p = WithSlots(HF, {1, 2, 3, 41, 401, 402, 403});
    const std::string f2 = Freq(p, 2), f3 = Freq(p, 3);
    p->Image.Settings.Features.WorkChannel[0] = 2; // channel 3 of bank A
    CutResult cut = CutChannels(*p, 0, 2, 2);
    EXPECT_EQ(cut.Kept, 0);
    EXPECT_EQ(At(p, 2), nullptr);
    EXPECT_EQ(At(p, 3), nullptr);
    PasteResult res = PasteChannels(*p, 1, 1, cut.Text); // over bank B channel 1, which exists
    EXPECT_TRUE(res.Valid);
    EXPECT_EQ(Freq(p, 41), f2);
    EXPECT_EQ(Freq(p, 42), f3);
    EXPECT_EQ(p->Image.Settings.Features.WorkChannel[0], 0); // follows to an existing channel
    ExpectConsistent(p);
}

TEST(ChannelClipboard, CutKeepsWhatTheDeleteLimitsKeep) {
    auto p = WithSlots(HF, {1, 2, 401});
    CutResult cut = CutChannels(*p, 0, 1, 2); // no channel outside bank A
    EXPECT_EQ(cut.Kept, 2);
    EXPECT_NE(At(p, 1), nullptr);
    EXPECT_NE(At(p, 2), nullptr);
    ExpectConsistent(p);
}

TEST(ChannelClipboard, PasteFitsTheTarget) {
    // CB "CE" is FM only; the top power level needs FM; unused DTMF codes and tone
    // tips are not referred to.
    auto p = WithSlots(CB, {1, 41});
    p->Image.Settings.ToneTips[2] = {};
    const std::string line = "26.96500\t0\t0\t100\t0\t1\t0\t0\t1\t0\t1\t2\t3\t9\t0\t0\t0\t0\n";
    ASSERT_TRUE(PasteChannels(*p, 1, 5, line).Valid); // "CE" channel 5
    const ChannelRecord* ce = At(p, 45);
    ASSERT_NE(ce, nullptr);
    EXPECT_EQ(ce->AM_FM, 0);
    EXPECT_EQ(ce->Tx_Power, 2);
    EXPECT_EQ(ce->RBTone, 0);
    EXPECT_EQ(ce->DTMF_BOT, 0);

    auto h = WithSlots(HF, {1, 41});
    ASSERT_TRUE(PasteChannels(*h, 0, 5, "28.10000\t0\t\t\t\t\t\t\t\t\t1\t2\n").Valid);
    ASSERT_NE(At(h, 5), nullptr);
    EXPECT_EQ(At(h, 5)->AM_FM, 1);
    EXPECT_EQ(At(h, 5)->Tx_Power, 1);
}

TEST(ChannelClipboard, PasteOfAFrequencyColumnOnlyRetunesAndKeepsOptions) {
    auto p = WithSlots(HAM, {1, 2, 41});
    p->Image.Channels[1].TSQ = 1;
    ASSERT_TRUE(PasteChannels(*p, 0, 2, "28.3\r\n29.1\r\n").Valid);
    EXPECT_EQ(Freq(p, 2), "02830000");
    EXPECT_EQ(At(p, 2)->TSQ, 1);
    EXPECT_EQ(Freq(p, 3), "02910000");
    EXPECT_EQ(At(p, 3)->TSQ, 0); // a new channel takes the defaults
}

TEST(ChannelClipboard, PasteStopsAtTheGroupsEnd) {
    auto p = WithSlots(HF, {1, 41});
    PasteResult res = PasteChannels(*p, 0, 39, "28.1\n28.2\n28.3\n");
    EXPECT_EQ(res.Rows, 2);
    EXPECT_NE(At(p, 39), nullptr);
    EXPECT_NE(At(p, 40), nullptr);
    EXPECT_EQ(At(p, 41)->SlotNumber, 41); // bank B untouched below
    EXPECT_EQ(p->Image.Settings.ChannelCount, 4);
}

TEST(ChannelClipboard, TextThatHoldsNoChannelsChangesNothing) {
    const char* bad[] = {
        "",                                                                   // empty clipboard
        "hello world",                                                        // prose
        "28.1\nabc\n",                                                        // one bad line refuses all
        "28.1\t2\n",                                                          // Public out of range
        "28.1\t0\t3\n",                                                       // DUP out of range
        "28.1\t0\t0\t100\t0\t0\t0\t0\t0\t0\t0\t3\n",                          // Tx_Power 3
        "28.1\t0\t0\t100\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t143\n",         // tone code past the table
        "28.1\t0.5\n",                                                        // not a whole number
        "28.1\t0\t0\t100\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\textra\n", // too many fields
        "\t1\n",                                                              // options without a frequency
    };
    for (const char* text : bad) {
        auto p = WithSlots(HF, {1, 2, 41});
        const RadioImage before = p->Image;
        PasteResult res = PasteChannels(*p, 0, 1, text);
        EXPECT_FALSE(res.Valid) << text;
        EXPECT_EQ(p->Image, before) << text;
    }
}

TEST(ChannelClipboard, AnEmptyLineClearsTheTargetWithinTheLimits) {
    auto p = WithSlots(HF, {1, 2, 41});
    const std::string emptyRow = CopyChannels(*p, 0, 10, 1);
    ASSERT_TRUE(PasteChannels(*p, 0, 2, emptyRow).Valid);
    EXPECT_EQ(At(p, 2), nullptr);
    ExpectConsistent(p);
}

TEST(ChannelRows, InsertShiftsDownAndDropsTheLastChannel) {
    auto p = WithSlots(HF, {1, 2, 3, 40, 41});
    const std::string f1 = Freq(p, 1), f2 = Freq(p, 2), f3 = Freq(p, 3);
    EXPECT_TRUE(InsertDropsLast(*p, 0, 2));
    EXPECT_EQ(InsertChannelRow(*p, 0, 2), RowEdit::Done);
    EXPECT_EQ(Freq(p, 1), f1);
    EXPECT_EQ(At(p, 2), nullptr);
    EXPECT_EQ(Freq(p, 3), f2);
    EXPECT_EQ(Freq(p, 4), f3);
    EXPECT_EQ(CountInGroup(p->Image, 0, HF), 3); // channel 40 went
    ExpectConsistent(p);
}

TEST(ChannelRows, DeleteShiftsUpAndSelectionsFollowTheirChannels) {
    auto p = WithSlots(HF, {1, 2, 3, 4, 41});
    FeatureBlock& f = p->Image.Settings.Features;
    f.WorkChannel[0] = 3;      // channel 4
    f.GroupEmgChannel1[0] = 1; // channel 2, deleted
    const std::string f3 = Freq(p, 3), f4 = Freq(p, 4);
    EXPECT_EQ(DeleteChannelRow(*p, 0, 2), RowEdit::Done);
    EXPECT_EQ(Freq(p, 2), f3);
    EXPECT_EQ(Freq(p, 3), f4);
    EXPECT_EQ(At(p, 4), nullptr);
    EXPECT_EQ(f.WorkChannel[0], 2); // still the channel that was 4
    ExpectConsistent(p);
}

TEST(ChannelRows, RefusedWhereADeleteWouldBe) {
    struct Case {
        const char* name;
        int band;
        std::initializer_list<int> slots;
        int group, channel;
        bool insert;
    } cases[] = {
        {"delete, nothing outside the bank", HF, {1, 2, 401}, 0, 1, false},
        {"delete the VFO", HF, {1, 41, 401}, 10, 1, false},
        {"insert over the VFO", HF, {1, 41, 401}, 10, 1, true},
        {"delete the last memory channel", HF, {1, 41, 402}, 11, 1, false},
        {"insert pushing out the only memory channel", HF, {1, 41, 409}, 11, 1, true},
    };
    for (const Case& c : cases) {
        auto p = WithSlots(c.band, c.slots);
        const RadioImage before = p->Image;
        RowEdit r =
            c.insert ? InsertChannelRow(*p, c.group, c.channel) : DeleteChannelRow(*p, c.group, c.channel);
        EXPECT_EQ(r, RowEdit::Refused) << c.name;
        EXPECT_EQ(p->Image, before) << c.name;
    }
}

TEST(ChannelRows, MoveSwapsWithTheNeighbourAndKeepsSlotsUnique) {
    auto p = WithSlots(CB, {241, 242, 285, 1});
    FeatureBlock& f = p->Image.Settings.Features;
    f.GroupEmgChannel1[6] = 39; // "DE" channel 40 is empty; selections follow channels only
    f.WorkChannel[6] = 1;       // channel 2
    f.GroupEmgAmFm1[6] = 1;
    const std::string f1 = Freq(p, 241), f2 = Freq(p, 242);
    EXPECT_EQ(MoveChannel(*p, 6, 2, -1), RowEdit::Done);
    EXPECT_EQ(Freq(p, 241), f2);
    EXPECT_EQ(Freq(p, 242), f1);
    EXPECT_EQ(f.WorkChannel[6], 0);
    EXPECT_EQ(MoveChannel(*p, 6, 1, -1), RowEdit::Nothing); // no row above
    EXPECT_EQ(MoveChannel(*p, 6, 45, 1), RowEdit::Done);    // "DE" 45 into the empty 46
    EXPECT_EQ(At(p, 285), nullptr);
    EXPECT_NE(At(p, 286), nullptr);
    ExpectConsistent(p);
}

TEST(ChannelRows, AnEmergencySelectionMovedIntoTheFmOnlyPartTakesFm) {
    auto p = WithSlots(CB, {1, 280, 281});
    FeatureBlock& f = p->Image.Settings.Features;
    f.GroupEmgChannel2[6] = 39; // "DE" channel 40 (AM allowed)
    f.GroupEmgAmFm2[6] = 1;
    ASSERT_EQ(MoveChannel(*p, 6, 40, 1), RowEdit::Done);
    EXPECT_EQ(f.GroupEmgChannel2[6], 40);
    EXPECT_EQ(f.GroupEmgAmFm2[6], 0);
}

TEST(ChannelRules, FmOnlyChannels) {
    struct Case {
        int channel, group, band;
        bool fixed;
    } cases[] = {{1, 1, CB, true},  {40, 3, CB, true}, {40, 6, CB, false},
                 {41, 6, CB, true}, {80, 6, CB, true}, {1, 0, CB, false},
                 {5, 8, CB, false}, {1, 1, HF, false}, {41, 6, HAM, false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsFixFM(c.channel, c.group, c.band), c.fixed)
            << c.channel << "/" << c.group << "/" << c.band;
}

TEST(ChannelRules, CountryListsNameEveryCbGroupOnce) {
    std::set<int> seen;
    const int firstCount = static_cast<int>(CountryListEntries().size());
    for (int first = 0; first < firstCount; ++first)
        for (int second : {0, 1}) {
            const int g = GroupOfCountryChoice(first, second);
            ASSERT_GE(g, 0);
            seen.insert(g);
            const CountryChoice back = CountryChoiceOfGroup(g);
            EXPECT_EQ(back.First, first);
            if (first == kSharedCountryPos) {
                EXPECT_EQ(back.Second, second);
            } else {
                EXPECT_EQ(CountryListEntries()[static_cast<size_t>(first)], GroupName(g, CB));
            }
        }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(CountryListEntries()[0], "D");
    EXPECT_EQ(GroupOfCountryChoice(kSharedCountryPos, -1), 2); // an unset second list means "U"
    EXPECT_EQ(GroupOfCountryChoice(firstCount, 0), -1);
}

TEST(ChannelRules, AHostileCurrentGroupShowsTheFirstGroup) {
    auto p = test::MakeTestProgram(HF);
    p->Image.Settings.Features.CurrentGroup = 13;
    EXPECT_EQ(DisplayedGroup(*p), 0);
    p->Image.Settings.Features.CurrentGroup = 12;
    p->ChannelTableChannel = 4;
    EXPECT_EQ(DisplayedGroup(*p), 12);
    EXPECT_EQ(DisplayedChannel(*p), 1); // "EMG" has 3 channels
}

} // namespace
} // namespace tarvane
