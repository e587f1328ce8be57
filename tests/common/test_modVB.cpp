#include "common/modVB.h"

#include <gtest/gtest.h>

TEST(VbRules, BankersRounding)
{
    EXPECT_EQ(vb::Round(2.5), 2);
    EXPECT_EQ(vb::Round(3.5), 4);
    EXPECT_EQ(vb::Round(-2.5), -2);
    EXPECT_EQ(vb::CInt(87.5), 88);
    EXPECT_EQ(vb::CInt(86.5), 86);
    EXPECT_DOUBLE_EQ(vb::Round(1.5, 0), 2);
    EXPECT_DOUBLE_EQ(vb::Round(0.125, 2), 0.12);
}

TEST(VbRules, Val)
{
    EXPECT_EQ(vb::Val(" 1 "), 1);
    EXPECT_EQ(vb::Val("1 2 3"), 123);
    EXPECT_EQ(vb::Val("12abc"), 12);
    EXPECT_EQ(vb::Val("abc"), 0);
    EXPECT_EQ(vb::Val(""), 0);
    EXPECT_DOUBLE_EQ(vb::Val("-3.75xyz"), -3.75);
    EXPECT_EQ(vb::Val("&HFF"), 255);
    EXPECT_EQ(vb::Val("&HFFFF"), -1);
    EXPECT_EQ(vb::Val("&H80000005"), double(0x80000005u));
    EXPECT_EQ(vb::Val("1e3"), 1000);
}

TEST(VbRules, NumericTests)
{
    EXPECT_TRUE(vb::EqualsNumber(" 1 ", 1));
    EXPECT_TRUE(vb::EqualsNumber("", 0));
    EXPECT_FALSE(vb::EqualsNumber("yes", 1));
    EXPECT_TRUE(vb::IsNumeric("42"));
    EXPECT_FALSE(vb::IsNumeric("4x"));
}

TEST(VbRules, NumberFormatAndText)
{
    EXPECT_EQ(vb::FormatNumber(5, "0#"), QStringLiteral("05"));
    EXPECT_EQ(vb::FormatNumber(123, "0#"), QStringLiteral("123"));
    EXPECT_EQ(vb::FormatNumber(7, "00#"), QStringLiteral("007"));
    EXPECT_EQ(vb::CStr(3.0), QStringLiteral("3"));
    EXPECT_EQ(vb::CStr(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(vb::ProperCase("hello WORLD of o'neil"), QStringLiteral("Hello World Of O'neil"));
    EXPECT_TRUE(vb::EqualText("ABC", "abc"));
    EXPECT_EQ(vb::Trim("  a b  "), QStringLiteral("a b"));
    EXPECT_EQ(vb::TwipsToPixels(1500), 100);
}
