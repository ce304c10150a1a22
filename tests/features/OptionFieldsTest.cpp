// The rules of the optional-features boxes and lists, without the window.
#include <gtest/gtest.h>

#include <set>

#include "TestProgram.h"
#include "features/options/OptionFields.h"
#include "freq/Bands.h"
#include "state/Program.h"
#include "state/lang/LangText.h"

namespace tarvane {
namespace {

struct SwrCase {
    const char* typed;
    const char* shown;
    int16_t stored;
};

TEST(SwrBox, LeavingClampsShowsOneDecimalAndStoresTenTimesTheShownValue) {
    const SwrCase cases[] = {
        {"25", "20.0", 200},    {"6.96", "7.0", 70}, {"", "20.0", 200},      {"abc", "20.0", 200},
        {"12.34", "12.3", 123}, {"7", "7.0", 70},    {"19.96", "20.0", 200}, {"16", "16.0", 160},
        {"9.25", "9.2", 92}, // half to even on the shown digit; the stored value follows the text
    };
    for (const SwrCase& c : cases) {
        const auto [shown, stored] = SwrFromText(c.typed);
        EXPECT_EQ(shown, c.shown) << c.typed;
        EXPECT_EQ(stored, c.stored) << c.typed;
    }
}

TEST(OffsetBox, ClampedToFiveUpToAThousandInStepsOfFive) {
    const std::pair<const char*, int16_t> cases[] = {{"1003", 1000}, {"7", 5},       {"", 5},
                                                     {"x", 5},       {"123", 120},   {"2", 5},
                                                     {"99999", 5},   {"1000", 1000}, {"15", 15}};
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(OffsetFromText(typed), stored) << typed;
}

TEST(CountrySelector, ChoicesStoreTheGroupOfTheSameName) {
    const std::pair<const char*, int> cases[] = {{"EU", 0}, {"CE", 1}, {"UK", 3}, {"EI", 2},
                                                 {"PL", 4}, {"I2", 5}, {"DE", 6}, {"IN", 7}};
    for (const auto& [chosen, group] : cases) {
        EXPECT_EQ(CountryChoiceToGroup(chosen), group) << chosen;
        EXPECT_EQ(GroupName(group, kBandCB), chosen == std::string("EU")   ? "D"
                                             : chosen == std::string("EI") ? "U"
                                                                           : chosen);
    }
}

TEST(CountrySelector, StoredGroupShowsInTheTwoListsAndChoosingItAgainKeepsIt) {
    struct Case {
        int stored;
        const char* first;
        const char* second;
        int again; // the value stored when the shown entries are chosen again
    };
    const Case cases[] = {{0, "EU", "", 0}, {1, "CE", "", 1}, {2, "UK", "EI", 2}, {3, "UK", "UK", 3},
                          {6, "DE", "", 6}, {8, "EU", "", 0}, {-1, "EU", "", 0},  {99, "EU", "", 0}};
    for (const Case& c : cases) {
        const auto [first, second] = CountryTexts(c.stored);
        EXPECT_EQ(first, c.first) << c.stored;
        EXPECT_EQ(second, c.second) << c.stored;
        EXPECT_EQ(CountryChoiceToGroup(second.empty() ? first : second), c.again) << c.stored;
    }
}

TEST(OptionFields, EveryOptionListEditsAFieldOfItsOwn) {
    FeatureBlock f;
    for (int i = 0; i < kOptionListCount; ++i)
        SetOptionValue(f, i, 100 + i);
    for (int i = 0; i < kOptionListCount; ++i)
        EXPECT_EQ(OptionValue(f, i), 100 + i) << i;
    // The fields that are not options stay untouched.
    EXPECT_EQ(f.Options[kOptSwrInUse], 0);
    EXPECT_EQ(f.Options[kOptSwrLimit], 0);
    EXPECT_EQ(f.CurrentGroup, 0);
    EXPECT_EQ(f.EmgChannelSel, 0);
}

TEST(OptionFields, OptionsLandInTheirFeatureBlockFields) {
    FeatureBlock f;
    SetOptionValue(f, 2, 1);  // beep
    SetOptionValue(f, 6, 9);  // squelch
    SetOptionValue(f, 16, 1); // memory-channel editing
    SetOptionValue(f, 18, 2); // screen-saver colour
    SetOptionValue(f, 21, 1); // emergency-channel editing, a byte
    SetOptionValue(f, 22, 1); // display mode, a byte
    EXPECT_EQ(f.Options[kOptBeep], 1);
    EXPECT_EQ(f.Options[kOptSquelch], 9);
    EXPECT_EQ(f.Options[kOptMemEditAllowed], 1);
    EXPECT_EQ(f.Display[kDispScreenSaverColour], 2);
    EXPECT_EQ(f.EmgEditAllowed, 1);
    EXPECT_EQ(f.DisplayMode, 1);
}

TEST(OptionFields, ListEntriesMatchTheRadioMenus) {
    auto t = test::MakeTestProgram(kBandCB);
    Program& p = *t;
    struct Case {
        int i;
        size_t count;
        size_t at;
        std::string text;
    };
    const Case cases[] = {
        {3, 31, 30, "30" + LangText(p, 16061_txt)},
        {3, 31, 0, LangText(p, 16040_txt)}, // no time-out, not "0min"
        {4, 3, 2, "3"},
        {5, 56, 55, "56"},
        {6, 29, 0, LangText(p, 16040_txt)},
        {6, 29, 28, "28"},
        {9, 12, 1, "3"},
        {9, 12, 10, "30"},
        {9, 12, 11, LangText(p, 16049_txt)},
        {12, 6, 0, "5" + LangText(p, 16060_txt)},
        {12, 6, 5, "30" + LangText(p, 16060_txt)},
        {1, 9, 8, "EMG"},
        {18, 3, 2, LangText(p, 16304_txt)},
    };
    for (const Case& c : cases) {
        const auto entries = OptionEntries(p, c.i);
        ASSERT_EQ(entries.size(), c.count) << c.i;
        EXPECT_EQ(entries[c.at], c.text) << c.i;
    }
    std::set<int> numbers;
    for (int i = 0; i < kOptionListCount; ++i)
        if (OptionShowsNumber(i)) numbers.insert(i);
    EXPECT_EQ(numbers, (std::set<int>{4, 5, 8, 13, 14}));
}

TEST(OptionFields, HfGroupOptionOffersTheBanksVfoAndEmg) {
    auto t = test::MakeTestProgram(kBandHF);
    const auto entries = OptionEntries(*t, kOptActiveGroupList);
    ASSERT_EQ(entries.size(), 12u);
    EXPECT_EQ(entries.front(), "A");
    EXPECT_EQ(entries[10], "VFO");
    EXPECT_EQ(entries[11], "EMG");
}

TEST(OptionFields, PowerListLosesItsHighestLevelUnderAm) {
    auto t = test::MakeTestProgram(kBandHF);
    EXPECT_EQ(PowerEntries(*t, 0).size(), 3u);
    EXPECT_EQ(PowerEntries(*t, 1).size(), 2u);
}

TEST(OptionFields, RogerBeepListOffersOnlyTipsInUse) {
    auto t = test::MakeTestProgram(kBandCB);
    Program& p = *t;
    for (ToneTipRecord& tip : p.Image.Settings.ToneTips)
        tip = ToneTipRecord{};
    for (int n : {2, 5}) {
        ToneTipRecord& tip = p.Image.Settings.ToneTips[static_cast<size_t>(n - 1)];
        tip.LoopCount = 1;
        tip.Pairs[3].Duration = 4;
    }
    p.Image.Settings.ToneTips[6].LoopCount = 0; // tones but no loops: not in use
    p.Image.Settings.ToneTips[6].Pairs[0].Duration = 9;
    EXPECT_EQ(RogerBeepEntries(p), (std::vector<std::string>{LangText(p, 15030_txt), "2", "5"}));
    EXPECT_EQ(RogerBeepText(p, 9), LangText(p, 15030_txt));
    EXPECT_EQ(RogerBeepText(p, 0), LangText(p, 15030_txt));
    EXPECT_EQ(RogerBeepText(p, 7), "7");
}

} // namespace
} // namespace tarvane
