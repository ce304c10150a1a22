// The feature areas of the radio memory at their addresses and bits.
#include <gtest/gtest.h>

#include "TestProgram.h"
#include "features/dtmf/DtmfArea.h"
#include "features/keys/KeysArea.h"
#include "features/options/OptionsArea.h"
#include "features/tonetips/ToneTipsArea.h"

namespace tarvane {
namespace {

TEST(DtmfArea, StarAndHashBecomeFAndEThenPadding) {
    SettingsRecord s;
    s.Dtmf.Codes[2].Length = 4;
    s.Dtmf.Codes[2].Code.Assign("12*#");
    RadioMemory m{};
    PackDtmf(m, s);
    const uint8_t want[16] = {1, 2, 15, 14, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(m[static_cast<size_t>(0x1C20 + k)], want[k]) << k;
    EXPECT_EQ(m[0x1A19], 0x04);
    EXPECT_EQ(m[0x1A1A], 0x00);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(m[static_cast<size_t>(0x1C00 + k)], 255) << "undefined code 1";

    SettingsRecord back;
    UnpackDtmf(m, back);
    EXPECT_EQ(back.Dtmf.Codes[2].Length, 4);
    EXPECT_EQ(back.Dtmf.Codes[2].Code.Trimmed(), "12*#");
}

TEST(DtmfArea, SettingsGoOutInTheRadiosOrder) {
    SettingsRecord s;
    DtmfBlock& d = s.Dtmf;
    d.DtmfRate = 10;
    d.FirstDigitTime = 3;
    d.FirstDigitDelay = 7;
    d.StarHashTime = 5;
    d.DKeySetting = 16;
    d.DtmfDisplay = 1;
    RadioMemory m{};
    PackDtmf(m, s);
    const uint8_t want[6] = {10, 7, 3, 5, 16, 1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(m[static_cast<size_t>(0x1A4E + i)], want[i]) << i;
    SettingsRecord back;
    UnpackDtmf(m, back);
    EXPECT_EQ(back.Dtmf.FirstDigitTime, 3);
    EXPECT_EQ(back.Dtmf.FirstDigitDelay, 7);
}

TEST(DtmfArea, ReadStopsAtTheFirstByteThatIsNoDigit) {
    RadioMemory m{};
    std::fill_n(m.begin() + 0x1C00 + 16 * 15, 16, uint8_t{255});
    m[0x1C00 + 16 * 15] = 3;
    m[0x1C00 + 16 * 15 + 1] = 4;
    m[0x1C00 + 16 * 15 + 3] = 5; // after the end: ignored
    m[0x1A1A] = 0x80;            // code 16 present
    SettingsRecord s;
    s.Dtmf.Codes[0].Length = 3;
    s.Dtmf.Codes[0].Code.Assign("999");
    UnpackDtmf(m, s);
    EXPECT_EQ(s.Dtmf.Codes[15].Length, 2);
    EXPECT_EQ(s.Dtmf.Codes[15].Code.Raw(), "34              ");
    EXPECT_EQ(s.Dtmf.Codes[0].Length, 0) << "absent code";
    EXPECT_EQ(s.Dtmf.Codes[0].Code.Trimmed(), "999") << "its text stays";
}

TEST(DtmfArea, HostileLengthsCountAsNoCode) {
    SettingsRecord s;
    s.Dtmf.Codes[0].Length = 17;
    s.Dtmf.Codes[0].Code.Assign("1234");
    s.Dtmf.Codes[1].Length = -3;
    s.Dtmf.Codes[2].Length = 6; // longer than its text: padded with digit 0
    s.Dtmf.Codes[2].Code.Assign("9x");
    RadioMemory m{};
    PackDtmf(m, s);
    EXPECT_EQ(m[0x1A19], 0x04);
    for (int k = 0; k < 16; ++k)
        EXPECT_EQ(m[static_cast<size_t>(0x1C00 + k)], 255);
    const uint8_t want[7] = {9, 0, 0, 0, 0, 0, 255};
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(m[static_cast<size_t>(0x1C20 + k)], want[k]) << k;
}

TEST(KeysArea, NullOnPage2KeyP3GoesTo0x1A88) {
    SettingsRecord s;
    for (size_t k = 0; k < s.KeyTable.size(); ++k)
        s.KeyTable[k] = static_cast<int16_t>(k);
    s.KeyTable[0] = 1;      // "1&3"
    s.KeyTable[1 + 8] = 20; // page 2, P3: "NULL"
    RadioMemory m{};
    PackKeys(m, s);
    EXPECT_EQ(m[0x1A48], 1);
    EXPECT_EQ(m[0x1A88], 20);
    EXPECT_EQ(m[0x1A80], 1);
    EXPECT_EQ(m[0x1A91], 18);
    SettingsRecord back;
    UnpackKeys(m, back);
    EXPECT_EQ(back.KeyTable, s.KeyTable);
}

TEST(ToneTipsArea, EightSlotsOfThirtyBytesTwoPerSixtyFour) {
    const int want[8] = {0x1B00, 0x1B1E, 0x1B40, 0x1B5E, 0x1B80, 0x1B9E, 0x1BC0, 0x1BDE};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ToneTipAddress(i), want[i]);
    SettingsRecord s;
    ToneTipRecord& t = s.ToneTips[3];
    t.LoopCount = 2;
    t.LoopInterval = 30;
    t.Pairs[0] = {64, 6};
    t.Pairs[13] = {255, 7};
    RadioMemory m{};
    PackToneTips(m, s);
    EXPECT_EQ(m[0x1B5E], 2);
    EXPECT_EQ(m[0x1B5F], 30);
    EXPECT_EQ(m[0x1B5E + 2], 64);
    EXPECT_EQ(m[0x1B5E + 15], 255);
    EXPECT_EQ(m[0x1B5E + 16], 6);
    EXPECT_EQ(m[0x1B5E + 29], 7);
    for (int a : {0x1B3C, 0x1B7C, 0x1BBC, 0x1BFC})
        EXPECT_EQ(m[static_cast<size_t>(a)], 0);
    SettingsRecord back;
    UnpackToneTips(m, back);
    EXPECT_EQ(back.ToneTips, s.ToneTips);
}

TEST(OptionsArea, CombinedBytesAndGroupFlags) {
    SettingsRecord s;
    FeatureBlock& f = s.Features;
    f.Options[kOptAsqFun] = 1;
    f.Options[kOptAsqValue] = 9;
    f.Options[kOptMemEditAllowed] = 1;
    f.Options[kOptSwrInUse] = 1;
    f.EmgEditAllowed = 1;
    f.GroupEnabled[0] = 1;
    f.GroupEnabled[8] = 1;
    f.GroupEnabled[9] = 3; // above 0 counts as on
    f.MemChannelUse = 2;
    f.Options[kOptSwrLimit] = 160;
    f.Display[3] = 1;
    f.DisplayMode = 1;
    f.EmgChannelSel = 2;
    f.WorkChannel[9] = 79;
    RadioMemory m{};
    PackOptions(m, s);
    EXPECT_EQ(m[0x1A45], 0x89);
    EXPECT_EQ(m[0x1A55], 0x0B);
    EXPECT_EQ(m[0x1A1E], 0x01);
    EXPECT_EQ(m[0x1A1F], 0x03);
    EXPECT_EQ(m[0x1A12], 2) << "the whole byte is written";
    EXPECT_EQ(m[0x1A54], 160);
    EXPECT_EQ(m[0x1A59], 1);
    EXPECT_EQ(m[0x1A5A], 1);
    EXPECT_EQ(m[0x1AE0], 2);
    EXPECT_EQ(m[0x1A29], 79);
    EXPECT_EQ(m[0x1A48], 0) << "the key mode is not an option";

    SettingsRecord back;
    UnpackOptions(m, back);
    EXPECT_EQ(back.Features.MemChannelUse, 0) << "only bit 0 is read back";
    EXPECT_EQ(back.Features.Options[kOptAsqFun], 1);
    EXPECT_EQ(back.Features.Options[kOptAsqValue], 9);
    EXPECT_EQ(back.Features.GroupEnabled[9], 1);
    EXPECT_EQ(back.Features.GroupEnabled[1], 0);
    EXPECT_EQ(back.Features.EmgEditAllowed, 1);
}

TEST(OptionsArea, HostileValuesDoNotSpillIntoNeighbouringBits) {
    SettingsRecord s;
    FeatureBlock& f = s.Features;
    f.Options[kOptAsqFun] = 0;
    f.Options[kOptAsqValue] = 200; // 7 bits only
    f.Options[kOptMemEditAllowed] = 2;
    f.Options[kOptSwrInUse] = 0;
    f.EmgEditAllowed = 0xFE;
    RadioMemory m{};
    PackOptions(m, s);
    EXPECT_EQ(m[0x1A45], 200 & 0x7F);
    EXPECT_EQ(m[0x1A55], 0);
}

TEST(OptionsArea, CommonChannelTravelsInTheBlockAt0x1A30WithoutFrequency) {
    SettingsRecord s;
    ChannelRecord& c = s.CommonChannel;
    c.RxFreq.Assign("02696500");
    c.OffSetFre = 1000;
    c.TDCT = 40;
    c.Public = 1;
    c.DTMF_Call = 16;
    RadioMemory m{};
    PackOptions(m, s);
    EXPECT_EQ(m[0x1A30] | m[0x1A31] | m[0x1A32], 0);
    EXPECT_EQ(m[0x1A33], 0xE8);
    EXPECT_EQ(m[0x1A34], 0x03);
    EXPECT_EQ(m[0x1A38], 1);
    EXPECT_EQ(m[0x1A3A], 0x80);
    EXPECT_EQ(m[0x1A3B], 0x80);
    EXPECT_EQ(m[0x1A3F], 16);
    SettingsRecord back;
    back.CommonChannel.RxFreq.Assign("keep");
    UnpackOptions(m, back);
    EXPECT_EQ(back.CommonChannel.TDCT, 40);
    EXPECT_EQ(back.CommonChannel.Public, 1);
    EXPECT_EQ(back.CommonChannel.OffSetFre, 1000);
    EXPECT_EQ(back.CommonChannel.RxFreq.Trimmed(), "keep");
}

} // namespace
} // namespace tarvane
