// What a tone tip plays and draws.
#include <gtest/gtest.h>

#include "features/tonetips/ToneSequence.h"

namespace tarvane {
namespace {

ToneTipRecord Tip(std::initializer_list<TonePair> pairs, int loops, int interval) {
    ToneTipRecord t;
    size_t k = 0;
    for (const TonePair& p : pairs)
        t.Pairs[k++] = p;
    t.LoopCount = static_cast<int16_t>(loops);
    t.LoopInterval = static_cast<int16_t>(interval);
    return t;
}

using S = ToneStep;

TEST(ToneSequence, LoopsRepeatTheTonesEachFollowedByTheInterval) {
    // A silent tone 0, an unused tone, a tone of 40 Hz (too low to sound: a rest).
    const ToneTipRecord tip = Tip({{100, 5}, {0, 3}, {150, 0}, {4, 2}, {255, 1}}, 2, 7);
    const std::vector<ToneStep> pass{
        {S::Tone, 1000, 50}, {S::Rest, 0, 30}, {S::Rest, 0, 20}, {S::Tone, 2550, 10}, {S::LoopPause, 0, 70}};
    std::vector<ToneStep> expected = pass;
    expected.insert(expected.end(), pass.begin(), pass.end());
    EXPECT_EQ(ToneSequence(tip), expected);
}

TEST(ToneSequence, EdgesOfLoopsIntervalAndFrequency) {
    struct Case {
        const char* what;
        ToneTipRecord tip;
        size_t steps;
    };
    const Case cases[] = {
        {"loop count 0 plays nothing", Tip({{100, 5}}, 0, 3), 0},
        {"negative loop count plays nothing", Tip({{100, 5}}, -2, 3), 0},
        {"interval 0 adds no pause", Tip({{100, 5}, {90, 5}}, 3, 0), 6},
        {"ten loops with a pause each", Tip({{100, 5}}, 10, 1), 20},
        {"a loop count the radio never finishes stops after 255 passes", Tip({{100, 5}}, 300, 0), 255},
        {"no tone with a duration", Tip({{100, 0}, {90, 0}}, 2, 0), 0},
        {"a hostile negative duration is skipped", Tip({{100, -5}, {90, 1}}, 1, 0), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToneSequence(c.tip).size(), c.steps) << c.what;
}

TEST(ToneSequence, FortyNineHertzSoundsAndFortyEightRests) {
    // Frequencies are in 10 Hz units, so the lowest tone that sounds is 50 Hz.
    EXPECT_EQ(ToneSequence(Tip({{5, 1}}, 1, 0)).front(), (ToneStep{S::Tone, 50, 10}));
    EXPECT_EQ(ToneSequence(Tip({{4, 1}}, 1, 0)).front(), (ToneStep{S::Rest, 0, 10}));
}

TEST(ToneStop, StopLetsTheSoundingToneEndAndCutsSilencesAtOnce) {
    const std::vector<ToneStep> steps{
        {S::Tone, 1000, 2000}, {S::Rest, 0, 300}, {S::Tone, 800, 100}, {S::LoopPause, 0, 500}};
    const std::pair<long long, int> cases[] = {
        {0, 2000},                                      // at the start of a 2-second tone: all of it
        {500, 1500},                                    // half a second in: the rest of it, not the next tone
        {1999, 1},   {2000, 0},                         // the rest begins: stop now
        {2150, 0},   {2300, 100}, {2399, 1}, {2400, 0}, // pause after the pass
        {9000, 0},                                      // already over
    };
    for (const auto& [elapsed, ms] : cases)
        EXPECT_EQ(MsUntilStop(steps, elapsed), ms) << elapsed;
    EXPECT_EQ(MsUntilStop({}, 0), 0);
}

TEST(ToneTipTotal, SumsOnePassOfDurations) {
    EXPECT_EQ(ToneTipTotalMs(Tip({{100, 5}, {0, 3}}, 4, 100)), 80);
    EXPECT_EQ(ToneTipTotalMs(Tip({}, 1, 0)), 0);
}

TEST(ToneTipBars, RisingTipDrawsEqualWidthsAndRisingHeightsInAlternatingColours) {
    const ToneTipRecord tip4 = Tip({{64, 6}, {94, 6}, {134, 6}, {163, 6}, {192, 6}}, 1, 0);
    const auto bars = ToneTipBars(tip4, 5100, 1700);
    ASSERT_EQ(bars.size(), 5u);
    int x = 50;
    for (size_t k = 0; k < bars.size(); ++k) {
        EXPECT_EQ(bars[k].left, x) << k;
        EXPECT_EQ(bars[k].width, 1000) << k; // (5100 - 100) / 5
        EXPECT_EQ(bars[k].top + bars[k].height, 1650) << k;
        EXPECT_EQ(bars[k].red, k % 2 == 0) << k;
        if (k > 0) {
            EXPECT_GT(bars[k].height, bars[k - 1].height) << k;
        }
        x += bars[k].width;
    }
    EXPECT_EQ(bars[0].height, 400); // 64 * 1600 / 256
    EXPECT_EQ(bars[4].height, 1200);
}

TEST(ToneTipBars, RestTakesWidthWithoutHeightAndUnusedTonesTakeNothing) {
    const auto bars = ToneTipBars(Tip({{128, 10}, {0, 10}, {55, 0}, {128, 20}}, 1, 0), 4100, 612);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[1].height, 0);
    EXPECT_EQ(bars[1].width, 1000);
    EXPECT_EQ(bars[2].left, 50 + 1000 + 1000);
    EXPECT_EQ(bars[2].width, 2000);
    EXPECT_EQ(bars[2].height, 256);
    EXPECT_FALSE(bars[1].red); // tone 2 is even: blue, even when it has no height
    EXPECT_FALSE(bars[2].red); // tone 4 stays blue although tone 3 was skipped
}

TEST(ToneTipBars, NothingWithoutDurationsAndHostileValuesStayInsideThePicture) {
    EXPECT_TRUE(ToneTipBars(Tip({{100, 0}}, 1, 0), 3000, 1000).empty());
    const auto bars = ToneTipBars(Tip({{900, 5}, {-20, 5}, {100, -30}}, 1, 0), 3000, 1000);
    ASSERT_EQ(bars.size(), 2u);
    EXPECT_GE(bars[0].top, 50);
    EXPECT_EQ(bars[1].height, 0);
    EXPECT_LE(bars[1].left + bars[1].width, 2950);
}

} // namespace
} // namespace tarvane
