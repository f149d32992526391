#include "tools/NumberFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(NumberFormat, FormatFixedRightAlignsAndRounds)
{
    EXPECT_EQ(FormatFixed(15, 0, 123), "            123");
    EXPECT_EQ(FormatFixed(15, 2, 3.5), "           3.50");
    EXPECT_EQ(FormatFixed(15, 2, 2.999), "           3.00");
    EXPECT_EQ(FormatFixed(0, 0, 999999.6), "1000000");
    EXPECT_EQ(FormatFixed(3, 1, -1.25), "-1.2");                  // exact binary tie: to even
    EXPECT_EQ(FormatFixed(4, 0, 1e20), "100000000000000000000");  // longer texts are not cut
    EXPECT_EQ(FormatFixed(-5, 0, 7), "7");
}

TEST(NumberFormat, FormatFixedOfHugeValuesWithManyDecimalsFits)
{
    const std::string s = FormatFixed(15, 255, std::numeric_limits<double>::max());
    EXPECT_EQ(s.size(), 309u + 1 + 255);
    EXPECT_EQ(FormatFixed(15, 255, -std::numeric_limits<double>::max()).size(), 310u + 1 + 255);
}

TEST(NumberFormat, RemoveCharDropsTheCharacterAndNuls)
{
    EXPECT_EQ(RemoveChar("  1 2 3 ", ' '), "123");
    EXPECT_EQ(RemoveChar(std::string_view("a\0b\0", 4), 'x'), "ab");
    EXPECT_EQ(RemoveChar("", ' '), "");
}

TEST(NumberFormat, PadLeftOnlyGrows)
{
    EXPECT_EQ(PadLeft("12", 5, '0'), "00012");
    EXPECT_EQ(PadLeft("12345", 3, '0'), "12345");
    EXPECT_EQ(PadLeft("", 2, '*'), "**");
}

TEST(NumberFormat, SplitFixedDigits)
{
    TFixedDigits d = SplitFixedDigits(2, 3.5, 12);
    EXPECT_TRUE(d.Valid);
    EXPECT_EQ(d.Integer, "000000000003");
    EXPECT_EQ(d.Fraction, "50");

    d = SplitFixedDigits(9, 1.123456789, 12);
    EXPECT_EQ(d.Fraction, "12345");  // at most five fraction digits

    // The text is cut to 20 characters before the fraction is taken.
    d = SplitFixedDigits(10, 123456789012345.0, 15);
    EXPECT_EQ(d.Integer, "123456789012345");
    EXPECT_EQ(d.Fraction, "0000");

    EXPECT_TRUE(SplitFixedDigits(0, 999999999999.4, 12).Valid);
    EXPECT_FALSE(SplitFixedDigits(0, 999999999999.5, 12).Valid);  // rounds to 13 digits
    EXPECT_FALSE(SplitFixedDigits(0, -1, 12).Valid);
    EXPECT_FALSE(SplitFixedDigits(2, -0.001, 12).Valid);
    EXPECT_TRUE(SplitFixedDigits(0, -0.0, 12).Valid);
    EXPECT_FALSE(SplitFixedDigits(0, std::nan(""), 12).Valid);
    EXPECT_FALSE(SplitFixedDigits(0, HUGE_VAL, 12).Valid);
}
