#include <gtest/gtest.h>

#include "base/FieldHelpers.h"
#include "base/NumberText.h"

namespace tarvane {
namespace {

struct ClampCase {
    const char* text;
    int16_t min, max, step, fallback;
    int16_t expected;
};

TEST(ClampNumberText, RangeThenStepThenDefault) {
    const ClampCase cases[] = {
        {"1003", 5, 1000, 5, 5, 1000}, {"7", 5, 1000, 5, 5, 5},     {"abc", 5, 1000, 5, 5, 5},
        {"", 5, 1000, 5, 5, 5},        {"123", 5, 1000, 5, 5, 120}, {"2", 5, 1000, 5, 5, 5},
        {"3", 3, 100, 5, 9, 0},     // the step is applied after the range: 3 steps down to 0
        {"-7", -10, 10, 5, 0, -5},  // the remainder keeps the sign of the value
        {"12.5", 0, 100, 1, 0, 12}, // halves go to the even neighbour
        {"13.5", 0, 100, 1, 0, 14},    {"40000", 0, 100, 1, 7, 7}, // does not fit 16 bits
        {" 42 ", 0, 100, 1, 0, 42},    {"1,5", 0, 100, 1, 9, 9},   // a comma is not a decimal point
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampNumberText(c.text, c.min, c.max, c.step, c.fallback), c.expected)
            << "text '" << c.text << "'";
}

TEST(ParseNumberOr, NumbersAndFallbacks) {
    EXPECT_EQ(ParseNumberOr("17", -1), 17);
    EXPECT_EQ(ParseNumberOr("", -1), -1);
    EXPECT_EQ(ParseNumberOr("x1", -1), -1);
    EXPECT_EQ(ParseNumberOr("99999999999", -1), -1);
    EXPECT_EQ(ParseNumberOr("-3", 0), -3);
}

TEST(TrimFixedText, BlanksThenNul) {
    EXPECT_EQ(TrimFixedText(std::string("1234\0           ", 16)), "1234");
    EXPECT_EQ(TrimFixedText("V100    "), "V100");
    // Trailing blanks go first, so a blank before the NUL stays.
    EXPECT_EQ(TrimFixedText(std::string("AB \0", 4)), "AB ");
    EXPECT_EQ(TrimFixedText(std::string(8, '\0')), "");
}

TEST(FileNameOf, LastSeparator) {
    EXPECT_EQ(FileNameOf("plain.dat"), "plain.dat");
    EXPECT_EQ(FileNameOf("C:\\radios\\one.dat"), "one.dat");
    EXPECT_EQ(FileNameOf("/home/u/two.dat"), "two.dat");
    EXPECT_EQ(FileNameOf("/home/u/"), "");
}

TEST(FileNames, AnEndingOnlyWhereNoneAndTitlesWithoutAccessMarks) {
    for (const auto& [path, expected] : {std::pair{"/u/club", "/u/club.csv"},
                                         {"/u/club.txt", "/u/club.txt"},
                                         {"/u/club.", "/u/club.csv"},
                                         {"/u.v/club", "/u.v/club.csv"},
                                         {"/u/.club", "/u/.club.csv"},
                                         {"/u/", "/u/"}})
        EXPECT_EQ(WithDefaultExtension(path, "csv"), expected) << path;
    for (const auto& [text, expected] : {std::pair{"Print pre&view...", "Print preview"},
                                         {"\xE6\x89\x93(&V)...", "\xE6\x89\x93"},
                                         {"PDF (&D)\xE2\x80\xA6", "PDF"},
                                         {"\xE4\xBF\x9D\xEF\xBC\x88&S\xEF\xBC\x89", "\xE4\xBF\x9D"},
                                         {"Tom && Jerry (&T)", "Tom & Jerry"},
                                         {"Keys (&&1)", "Keys (&1)"}})
        EXPECT_EQ(WithoutAccessMark(text), expected) << text;
}

TEST(NumberText, FormatAndParseUseAPoint) {
    EXPECT_EQ(FormatFixed(26.965, 5), "26.96500");
    EXPECT_EQ(FormatFixed(-0.000001, 5), "0.00000");
    EXPECT_EQ(FormatShortest(26.965), "26.965");
    EXPECT_DOUBLE_EQ(*ParseDouble("+27.5"), 27.5);
    EXPECT_DOUBLE_EQ(*ParseDouble(".5"), 0.5);
    EXPECT_DOUBLE_EQ(*ParseDouble("1e2"), 100.0);
    EXPECT_FALSE(ParseDouble("27,5"));
    EXPECT_FALSE(ParseDouble("++1"));
    EXPECT_FALSE(ParseDouble("inf"));
    EXPECT_FALSE(ParseDouble("12abc"));
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
}

} // namespace
} // namespace tarvane
