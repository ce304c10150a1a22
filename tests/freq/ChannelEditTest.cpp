// Changing channels through SetChannelField and the upkeep that follows.
#include <gtest/gtest.h>

#include "TestProgram.h"
#include "features/dtmf/DtmfArea.h"
#include "features/dtmf/DtmfReferences.h"
#include "features/tonetips/ToneTipReferences.h"
#include "freq/ChannelEdit.h"
#include "freq/ChannelSlots.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

// A program whose list holds exactly the slots given, all on one frequency.
test::TestProgram WithSlots(int band, std::initializer_list<int> slots, const char* freq = "28.50000") {
    auto p = test::MakeTestProgram(band);
    p->Image.Settings.ChannelCount = 0;
    for (int s : slots)
        AppendChannel(p->Image, s, freq);
    p->Image.Settings.Features.GroupEnabled = {};
    return p;
}

ChannelRecord& At(test::TestProgram& p, int slot) {
    int i = FindChannelSlot(p->Image, slot);
    EXPECT_GE(i, 0) << "slot " << slot;
    return p->Image.Channels[static_cast<size_t>(i < 0 ? 0 : i)];
}

TEST(SetChannelField, FrequencyForAnEmptySlotAddsANewChannel) {
    auto p = WithSlots(2, {1});
    std::vector<int> rows;
    Subscription sub = p->Notify.channelRowChanged.Subscribe([&](int slot) { rows.push_back(slot); });
    SetChannelField(*p, 1, 3, kColRxFreq, "28.0123"); // bank B, channel 3
    ASSERT_EQ(p->Image.Settings.ChannelCount, 2);
    const ChannelRecord& r = At(p, 43);
    EXPECT_EQ(r.RxFreq.Trimmed(), "02801000");
    EXPECT_EQ(r.Scan, 1);
    EXPECT_EQ(r.OffSetFre, 100);
    EXPECT_EQ(r.NB, 1);
    EXPECT_EQ(r.Public, 1);
    EXPECT_EQ(rows, std::vector<int>{43});
}

TEST(SetChannelField, OtherColumnsOnAnEmptySlotDoNothing) {
    auto p = WithSlots(2, {1});
    SetChannelField(*p, 0, 2, kColTsq, "1");
    EXPECT_EQ(p->Image.Settings.ChannelCount, 1);
}

TEST(SetChannelField, TheOnlyChannelOfTheOnlyBankIsNotDeleted) {
    auto p = WithSlots(2, {1, 401, 402});
    SetChannelField(*p, 0, 1, kColRxFreq, "");
    EXPECT_EQ(p->Image.Settings.ChannelCount, 3);
    EXPECT_EQ(At(p, 1).RxFreq.Trimmed(), "02850000");
    EXPECT_TRUE(p.script->shown.empty());
}

TEST(SetChannelField, AChannelIsDeletedWhenAnotherBankHasChannels) {
    auto p = WithSlots(2, {1, 2, 45});
    SetChannelField(*p, 0, 1, kColRxFreq, "");
    ASSERT_EQ(p->Image.Settings.ChannelCount, 2);
    EXPECT_EQ(p->Image.Channels[0].SlotNumber, 2);
    EXPECT_EQ(p->Image.Channels[1].SlotNumber, 45);
}

TEST(SetChannelField, MemoryChannelsDeleteDownToTheLastOne) {
    auto p = WithSlots(1, {1, 402, 403});
    SetChannelField(*p, 11, 1, kColRxFreq, "");
    EXPECT_EQ(FindChannelSlot(p->Image, 402), -1);
    SetChannelField(*p, 11, 2, kColRxFreq, "");
    EXPECT_GE(FindChannelSlot(p->Image, 403), 0);
    EXPECT_EQ(p->Image.Settings.ChannelCount, 2);
}

TEST(SetChannelField, TheVfoIsNeverDeleted) {
    auto p = WithSlots(1, {1, 2, 401});
    SetChannelField(*p, 10, 1, kColRxFreq, "");
    EXPECT_GE(FindChannelSlot(p->Image, 401), 0);
}

TEST(SetChannelField, AmLowersTheTopPowerAndFmLeavesIt) {
    auto p = WithSlots(2, {1});
    At(p, 1).Tx_Power = 3;
    SetChannelField(*p, 0, 1, kColAmFm, "1");
    EXPECT_EQ(At(p, 1).AM_FM, 1);
    EXPECT_EQ(At(p, 1).Tx_Power, 1);
    At(p, 1).Tx_Power = 2;
    SetChannelField(*p, 0, 1, kColAmFm, "0");
    EXPECT_EQ(At(p, 1).Tx_Power, 2);
}

TEST(SetChannelField, OffsetIsClampedToItsRangeAndStep) {
    auto p = WithSlots(2, {1});
    const std::pair<const char*, int> cases[] = {{"123", 120}, {"2", 5}, {"x", 5}, {"1003", 1000}, {"", 5}};
    for (auto [typed, stored] : cases) {
        SetChannelField(*p, 0, 1, kColOffSetFre, typed);
        EXPECT_EQ(At(p, 1).OffSetFre, stored) << typed;
    }
}

TEST(SetChannelField, ReferencesAreClampedAndIntegersRoundHalfToEven) {
    auto p = WithSlots(2, {1});
    SetChannelField(*p, 0, 1, kColRbTone, "12");
    SetChannelField(*p, 0, 1, kColDtmfEot, "17");
    SetChannelField(*p, 0, 1, kColDtmfCall, "q");
    SetChannelField(*p, 0, 1, kColRdct, "2.5");
    SetChannelField(*p, 0, 1, kColTdct, "3.5");
    const ChannelRecord& r = At(p, 1);
    EXPECT_EQ(r.RBTone, 8);
    EXPECT_EQ(r.DTMF_EOT, 16);
    EXPECT_EQ(r.DTMF_Call, 0);
    EXPECT_EQ(r.RDCT, 2);
    EXPECT_EQ(r.TDCT, 4);
    ChannelRecord before = r;
    SetChannelField(*p, 0, 1, kColDup, "not a number");
    SetChannelField(*p, 0, 1, 19, "1");
    EXPECT_EQ(At(p, 1), before);
}

TEST(SetChannelField, TheSameFrequencyRunsNoGroupBookkeeping) {
    auto p = WithSlots(2, {5, 7});
    FeatureBlock& f = p->Image.Settings.Features;
    f.WorkChannel[0] = 30; // names no existing channel: the bookkeeping would move it
    int panels = 0;
    Subscription sub = p->Notify.groupPanelChanged.Subscribe([&] { ++panels; });
    SetChannelField(*p, 0, 5, kColRxFreq, "28.5");
    EXPECT_EQ(f.WorkChannel[0], 30);
    EXPECT_EQ(panels, 0);
    SetChannelField(*p, 0, 5, kColRxFreq, "28.505");
    EXPECT_EQ(At(p, 5).RxFreq.Trimmed(), "02850500");
    EXPECT_EQ(f.WorkChannel[0], 4) << "lowest existing channel of the group, minus 1";
    EXPECT_EQ(panels, 1);
}

TEST(SetChannelField, OutOfBandFrequencyIsClampedWithAWarning) {
    auto p = WithSlots(0, {1});
    SetChannelField(*p, 1, 2, kColRxFreq, "27.4075");
    EXPECT_EQ(At(p, 42).RxFreq.Trimmed(), "02740500");
    EXPECT_EQ(p.script->shown.size(), 1u);
}

TEST(SetChannelField, DeletingTheLastChannelOfTheEnabledPlanSwitchesToTheFirstRemaining) {
    auto p = WithSlots(0, {5, 130, 45, 402}, "27.00000");
    FeatureBlock& f = p->Image.Settings.Features;
    f.GroupEnabled[0] = 1;
    f.WorkChannel[0] = 4;
    SetChannelField(*p, 0, 5, kColRxFreq, "");
    EXPECT_EQ(FindChannelSlot(p->Image, 5), -1);
    EXPECT_EQ(f.GroupEnabled[0], 0);
    EXPECT_EQ(f.WorkChannel[0], 0);
    EXPECT_EQ(f.GroupEnabled[3], 1) << "slot 130 comes first in the list";
    EXPECT_EQ(f.GroupEnabled[1], 0);
    EXPECT_EQ(CountOtherEnabledGroups(p->Image, 0, 0), 1);
}

TEST(SetChannelField, ChannelNumbersOutsideTheGroupChangeNothing) {
    auto p = WithSlots(0, {1});
    SetChannelField(*p, 1, 0, kColRxFreq, "27.0"); // would be slot 40 of group 0
    SetChannelField(*p, 0, 41, kColRxFreq, "27.0");
    EXPECT_EQ(p->Image.Settings.ChannelCount, 1);
}

TEST(ChannelEdit, SelectionsFollowTheGroupsContents) {
    auto p = WithSlots(0, {403, 405, 411});
    FeatureBlock& f = p->Image.Settings.Features;
    f.MemChannelSel = 3; // channel 4: present
    EXPECT_EQ(ValidChannelSel(p->Image, 8, f.MemChannelSel, p->Model.ModelType), 3);
    EXPECT_EQ(ValidChannelSel(p->Image, 8, 0, p->Model.ModelType), 1);
    f.EmgChannelSel = 0;
    AfterGroupChange(*p, 9);
    EXPECT_EQ(f.EmgChannelSel, 1);
    f.MemChannelSel = 5;
    AfterGroupChange(*p, 8);
    EXPECT_EQ(f.MemChannelSel, 1);
    EXPECT_EQ(CountInGroup(p->Image, 8, 0), 2);
    EXPECT_EQ(CountNormalOutside(p->Image, 8, 0), 0);
}

TEST(ChannelEdit, RemoveChannelMovesLaterRecordsDown) {
    auto p = WithSlots(1, {1, 2, 3});
    EXPECT_TRUE(RemoveChannel(*p, 0));
    EXPECT_FALSE(RemoveChannel(*p, 2));
    EXPECT_FALSE(RemoveChannel(*p, -1));
    ASSERT_EQ(p->Image.Settings.ChannelCount, 2);
    EXPECT_EQ(p->Image.Channels[0].SlotNumber, 2);
    EXPECT_EQ(p->Image.Channels[1].SlotNumber, 3);
}

TEST(ChannelEdit, HostileSlotsDoNotPermitADelete) {
    auto p = WithSlots(1, {1});
    p->Image.Channels[1].SlotNumber = 0;
    p->Image.Channels[2].SlotNumber = -40;
    p->Image.Settings.ChannelCount = 3;
    EXPECT_EQ(CountNormalOutside(p->Image, 0, 1), 0);
    p->Image.Settings.Features.GroupEnabled = {};
    EnsureOneGroupEnabled(*p, 1);
    EXPECT_EQ(p->Image.Settings.Features.GroupEnabled[0], 1);
}

TEST(DtmfReferences, ClearingACodeLeavesOtherCodesAlone) {
    auto p = WithSlots(1, {1, 2});
    At(p, 1).DTMF_EOT = 5;
    At(p, 1).DTMF_BOT = 6;
    At(p, 2).DTMF_Call = 5;
    At(p, 2).DTMF_EOT = 6;
    p->Image.Settings.CommonChannel.DTMF_BOT = 5;
    ClearDtmfReferences(*p, 5);
    EXPECT_EQ(At(p, 1).DTMF_EOT, 0);
    EXPECT_EQ(At(p, 1).DTMF_BOT, 6);
    EXPECT_EQ(At(p, 2).DTMF_Call, 0);
    EXPECT_EQ(At(p, 2).DTMF_EOT, 6);
    EXPECT_EQ(p->Image.Settings.CommonChannel.DTMF_BOT, 0);
}

TEST(DtmfReferences, TheCodeListOffersDefinedCodesOnly) {
    auto p = WithSlots(1, {1});
    auto& codes = p->Image.Settings.Dtmf.Codes;
    for (auto& c : codes)
        c.Length = 0;
    codes[1].Length = 3;
    codes[9].Length = 16;
    codes[4].Length = 17; // counts as 0
    codes[5].Length = -1;
    auto list = FillDtmfCodeList(*p);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_FALSE(list[0].empty());
    EXPECT_EQ(list[1], "2");
    EXPECT_EQ(list[2], "10");
}

TEST(DtmfReferences, EmptyingACodeClearsItsReferencesAndRefillsLists) {
    auto p = WithSlots(1, {1});
    At(p, 1).DTMF_EOT = 5;
    int refills = 0;
    Subscription sub = p->Notify.dtmfCodesChanged.Subscribe([&] { ++refills; });
    StoreDtmfCode(*p, 5, "12*#   ");
    EXPECT_EQ(p->Image.Settings.Dtmf.Codes[4].Length, 4);
    EXPECT_EQ(At(p, 1).DTMF_EOT, 5);
    StoreDtmfCode(*p, 5, "  ");
    EXPECT_EQ(p->Image.Settings.Dtmf.Codes[4].Length, 0);
    EXPECT_EQ(At(p, 1).DTMF_EOT, 0);
    EXPECT_EQ(refills, 2);
}

TEST(ToneTipReferences, OnlyTipsInUseStayReferenced) {
    auto p = WithSlots(1, {1, 2});
    SettingsRecord& s = p->Image.Settings;
    for (auto& t : s.ToneTips)
        t = {};
    s.ToneTips[1].LoopCount = 1;
    s.ToneTips[1].Pairs[13].Duration = 1; // tip 2: in use
    s.ToneTips[2].Pairs[0].Duration = 5;  // tip 3: loop count 0
    s.ToneTips[3].LoopCount = 2;          // tip 4: no tone
    EXPECT_EQ(CheckToneTipReference(p->Image, 0), 0);
    EXPECT_EQ(CheckToneTipReference(p->Image, 2), 2);
    EXPECT_EQ(CheckToneTipReference(p->Image, 3), 0);
    EXPECT_EQ(CheckToneTipReference(p->Image, 4), 0);
    EXPECT_EQ(CheckToneTipReference(p->Image, 9), 0);
    EXPECT_EQ(CheckToneTipReference(p->Image, -2), 0);

    At(p, 1).RBTone = 2;
    At(p, 2).RBTone = 3;
    s.CommonChannel.RBTone = 4;
    s.Emergency[0].Channel.RBTone = 3;
    s.Emergency[1].Channel.RBTone = 2;
    int shown = 0;
    Subscription sub = p->Notify.toneTipsChanged.Subscribe([&] { ++shown; });
    RecheckToneTipReferences(*p);
    EXPECT_EQ(At(p, 1).RBTone, 2);
    EXPECT_EQ(At(p, 2).RBTone, 0);
    EXPECT_EQ(s.CommonChannel.RBTone, 0);
    EXPECT_EQ(s.Emergency[0].Channel.RBTone, 0);
    EXPECT_EQ(s.Emergency[1].Channel.RBTone, 2);
    EXPECT_EQ(shown, 1);
}

} // namespace
} // namespace tarvane
