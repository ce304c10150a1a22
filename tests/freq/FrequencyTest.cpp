#include <gtest/gtest.h>

#include "TestProgram.h"
#include "freq/Bands.h"
#include "freq/ChannelSlots.h"
#include "freq/FreqCodec.h"
#include "image/ImageOps.h"

namespace tarvane {
namespace {

const char* const kWarning = "The frequency is outside the band and has been moved to the band limit.";

struct CheckCase {
    int band;
    int group;
    const char* typed;
    const char* expected;
    bool warns;
};

TEST(CheckFreq, ClampsAndSnapsPerBandAndGroup) {
    const CheckCase cases[] = {
        {kBandCB, 1, "27.4075", "27.40500", true},  // above the CB band
        {kBandCB, 1, "26.9675", "26.96500", false}, // onto the 5 kHz raster, downwards
        {kBandCB, 1, "26.9", "26.96500", true},     // below: the limit itself
        {kBandCB, 1, "abc", "26.96500", true},
        {kBandHAM, 0, "28.0123", "28.01000", false},
        {kBandHAM, 0, "27.99", "28.00000", true},
        {kBandHAM, 11, "27.996", "27.99500", false}, // memory channels may lie 5 kHz below
        {kBandHAM, 12, "27.994", "27.99500", true},
        {kBandHAM, 10, "27.996", "28.00000", true}, // the VFO may not
        {kBandHF, 3, "30.2", "30.10500", true},
        {kBandHF, 3, "25.6175", "25.61500", false},
        {kBandCB, 9, "27.5", "27.40500", false}, // emergency channels of a CB radio: silent
        {kBandCB, 9, "26.0", "26.96000", false},
        {kBandCB, 9, "26.9677", "26.96500", false},
        {kBandCB, 9, "x", "26.96000", false},
    };
    for (const auto& c : cases) {
        auto t = test::MakeTestProgram(c.band);
        EXPECT_EQ(CheckFreq(*t, c.typed, c.group, c.band), c.expected)
            << c.band << "/" << c.group << " " << c.typed;
        EXPECT_EQ(t.script->Saw(kWarning), c.warns) << c.band << "/" << c.group << " " << c.typed;
    }
}

TEST(CheckFreq, CbMemoryChannelsTakeTheNearestPlanChannel) {
    auto t = test::MakeTestProgram(kBandCB);
    Program& p = *t;
    p.Image.Settings.ChannelCount = 0;
    // No country-plan channel at all: the lower band limit.
    EXPECT_EQ(CheckFreq(p, "27.3", 8, kBandCB), "26.96500");
    AppendChannel(p.Image, 41, "27.00500");  // CE 1
    AppendChannel(p.Image, 121, "27.60100"); // UK 1, shown as 27.60125
    AppendChannel(p.Image, 400, "27.30000"); // outside the plans: not a candidate
    AppendChannel(p.Image, 3, "27.00500");   // same frequency later in the list: the first wins
    PlanPick pick = NearestPlanFreq(p.Image, p.Model, 27.1);
    EXPECT_DOUBLE_EQ(pick.Freq, 27.005);
    EXPECT_EQ(pick.Group, 1);
    EXPECT_EQ(pick.Index, 0);
    pick = NearestPlanFreq(p.Image, p.Model, 27.6012);
    EXPECT_EQ(pick.Group, 3);
    EXPECT_DOUBLE_EQ(pick.Freq, 27.601); // the result is the stored text, without the "125"
    EXPECT_EQ(CheckFreq(p, "27.59", 8, kBandCB), "27.60100");
    EXPECT_TRUE(t.script->shown.empty());
}

TEST(FreqText, DisplayAndBack) {
    auto t = test::MakeTestProgram(kBandCB);
    Program& p = *t;
    EXPECT_EQ(FreqToDisplay(p, "02696500"), "26.96500");
    EXPECT_EQ(FreqToDisplay(p, "FFFFFFFF"), "");
    EXPECT_EQ(FreqToDisplay(p, ""), "");
    EXPECT_EQ(FreqToDisplay(p, "0269Z500"), "26.965"); // not a number: the lower limit, with a message
    EXPECT_TRUE(t.script->Saw("Not IsNumeric"));
    EXPECT_EQ(FreqToGroupDisplay(p, "02760100", 3, kBandCB), "27.60125");
    EXPECT_EQ(FreqToGroupDisplay(p, "02760100", 8, kBandCB), "27.60125");
    EXPECT_EQ(FreqToGroupDisplay(p, "02740500", 8, kBandCB), "27.40500");
    EXPECT_EQ(FreqToGroupDisplay(p, "02760100", 1, kBandCB), "27.60100");
    EXPECT_EQ(FreqToGroupDisplay(p, "02760100", 3, kBandHF), "27.60100");

    const std::pair<const char*, const char*> back[] = {{"27.405", "02740500"},
                                                        {"29", "02900000"},
                                                        {"28.0150001", "02801500"},
                                                        {"27.40599", "02740599"},
                                                        {"5.5", "00550000"},
                                                        {".5", "00050000"},
                                                        {"", ""},
                                                        {"126.5", "12650000"}};
    for (auto [shown, text] : back)
        EXPECT_EQ(DisplayToFreq(shown), text) << shown;
}

TEST(FreqText, RadioBytes) {
    EXPECT_EQ(EncodeFreqBytes("02696500"), (std::array<uint8_t, 3>{0x50, 0x96, 0x26}));
    EXPECT_EQ(EncodeFreqBytes(""), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(EncodeFreqBytes("FFFFFFFF"), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
    const uint8_t in[] = {0x05, 0x00, 0x27};
    EXPECT_EQ(DecodeFreqBytes(in), "02700050");
    // The 10 Hz digit never travels: 27.40599 comes back as 27.40590.
    auto bytes = EncodeFreqBytes(DisplayToFreq("27.40599"));
    EXPECT_EQ(DecodeFreqBytes(bytes.data()), "02740590");
    const uint8_t erased[] = {0xFF, 0xFF, 0xFF};
    // Erased bytes keep the stored-text rule, so they are written back as they came.
    EXPECT_EQ(DecodeFreqBytes(erased), "0FFFFFF0");
    EXPECT_FALSE(IsNoFreq(DecodeFreqBytes(erased)));
    EXPECT_EQ(EncodeFreqBytes(DecodeFreqBytes(erased)), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(FreqToRadioDigits("0269650", 7), "0269650");
    EXPECT_EQ(FreqToRadioDigits("027", 7), "0270000");
}

TEST(Bands, GroupsOfEachBand) {
    EXPECT_EQ(GroupBase(6, kBandCB), 240);
    EXPECT_EQ(GroupSize(6, kBandCB), 80);
    EXPECT_EQ(GroupBase(8, kBandCB), 401);
    EXPECT_EQ(GroupSize(9, kBandCB), 3);
    EXPECT_EQ(GroupBase(10, kBandCB), 0);
    EXPECT_EQ(GroupSize(10, kBandCB), 0);
    EXPECT_EQ(GroupName(10, kBandCB), "");
    EXPECT_EQ(GroupBase(9, kBandHAM), 360);
    EXPECT_EQ(GroupName(9, kBandHF), "J");
    EXPECT_EQ(GroupName(10, kBandHF), "VFO");
    EXPECT_EQ(GroupSize(12, kBandHAM), 3);
    EXPECT_EQ(GroupSize(0, 3), 0);

    const std::tuple<int, int, int> slots[] = {
        {1, kBandCB, 0},     {40, kBandCB, 0},   {41, kBandCB, 1},   {320, kBandCB, 6},  {321, kBandCB, 7},
        {360, kBandCB, 7},   {361, kBandCB, -1}, {401, kBandCB, -1}, {402, kBandCB, 8},  {409, kBandCB, 8},
        {410, kBandCB, 9},   {412, kBandCB, 9},  {1, kBandHF, 0},    {400, kBandHAM, 9}, {401, kBandHAM, 10},
        {412, kBandHAM, 10}, {5, 7, -1}};
    for (auto [slot, band, group] : slots)
        EXPECT_EQ(GroupOfSlot(slot, band), group) << slot << " band " << band;

    EXPECT_EQ(GroupListEntries(kBandCB, "MEM"),
              (std::vector<std::string>{"D", "CE", "U", "UK", "PL", "I2", "DE", "IN", "EMG"}));
    EXPECT_EQ(GroupListEntries(kBandHF).size(), 13u);
}

TEST(Bands, BandRangeText) {
    double lo = 0, hi = 0;
    ParseBandRange("28.000 - 29.700 MHz", lo, hi);
    EXPECT_DOUBLE_EQ(lo, 28.0);
    EXPECT_DOUBLE_EQ(hi, 29.7);
    ParseBandRange("garbage", lo, hi);
    EXPECT_DOUBLE_EQ(lo, 100.0);
    EXPECT_DOUBLE_EQ(hi, 500.0);
    ParseBandRange("x - 29.7 MHz", lo, hi);
    EXPECT_DOUBLE_EQ(lo, 100.0);
    EXPECT_DOUBLE_EQ(hi, 29.7);
}

TEST(ChannelListEntries, SortedNumbersOfTheGroup) {
    auto t = test::MakeTestProgram(kBandHAM);
    Program& p = *t;
    p.Image.Settings.ChannelCount = 0;
    for (int slot : {45, 41, 80, 81, 40, 52})
        AppendChannel(p.Image, slot, "28.5");
    EXPECT_EQ(ChannelListEntries(p, 1, kBandHAM, false), (std::vector<std::string>{"1", "5", "12", "40"}));
    auto withNone = ChannelListEntries(p, 1, kBandHAM, true);
    ASSERT_EQ(withNone.size(), 5u);
    EXPECT_EQ(withNone[0], "None");
}

} // namespace
} // namespace tarvane
