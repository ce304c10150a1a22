// Numbers are read and written with "." whatever the user's locale. These tests
// switch the process to a comma locale first and prove that it took effect.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "TestProgram.h"
#include "base/FieldHelpers.h"
#include "base/NumberText.h"
#include "freq/Bands.h"
#include "freq/FreqCodec.h"

namespace tarvane {
namespace {

class CommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"};
        for (const char* n : names)
            if (std::setlocale(LC_ALL, n)) break;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 1.5);
        // Without a comma locale the test would prove nothing; the test command
        // installs de_DE.UTF-8, so a missing one is a failure, not a skip.
        ASSERT_STREQ(buf, "1,5") << "no comma locale available: generate de_DE.UTF-8";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }
    std::string saved_;
};

TEST_F(CommaLocale, NumbersKeepThePoint) {
    EXPECT_EQ(FormatFixed(27.185, 5), "27.18500");
    EXPECT_DOUBLE_EQ(*ParseDouble("27.405"), 27.405);
    EXPECT_FALSE(ParseDouble("27,405"));
    EXPECT_EQ(ClampNumberText("12.5", 0, 100, 1, 0), 12);
    double lo = 0, hi = 0;
    ParseBandRange("26.965 - 27.405 MHz", lo, hi);
    EXPECT_DOUBLE_EQ(lo, 26.965);
    EXPECT_DOUBLE_EQ(hi, 27.405);
}

TEST_F(CommaLocale, FrequenciesKeepThePoint) {
    auto t = test::MakeTestProgram(kBandCB);
    EXPECT_EQ(FreqToDisplay(*t, "02696500"), "26.96500");
    EXPECT_EQ(CheckFreq(*t, "26.9675", 1, kBandCB), "26.96500");
    EXPECT_EQ(DisplayToFreq("27.405"), "02740500");
    EXPECT_TRUE(t.script->shown.empty());
}

} // namespace
} // namespace tarvane
