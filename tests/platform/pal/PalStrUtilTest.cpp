#include "pal/StrUtil.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>

using Pal::StrUtil;

TEST(PalStrUtil, TokenizeSkipsLeadingDelimitersAndKeepsItsPosition) {
    char line[] = "Block: B1; rest";
    EXPECT_STREQ(StrUtil::Tokenize(line, ":;"), "Block");
    EXPECT_STREQ(StrUtil::Tokenize(nullptr, ";"), " B1");
    EXPECT_STREQ(StrUtil::Tokenize(nullptr, ";"), " rest");
    EXPECT_EQ(StrUtil::Tokenize(nullptr, ";"), nullptr);
    EXPECT_EQ(StrUtil::Tokenize(nullptr, ";"), nullptr);

    char missing[] = "Block:;";
    EXPECT_STREQ(StrUtil::Tokenize(missing, ":;"), "Block");
    EXPECT_EQ(StrUtil::Tokenize(nullptr, ";"), nullptr);

    char onlyDelims[] = ":;:";
    EXPECT_EQ(StrUtil::Tokenize(onlyDelims, ":;"), nullptr);
}

TEST(PalStrUtil, AToISaturatesInsteadOfOverflowing) {
    EXPECT_EQ(StrUtil::AToI("  42abc"), 42);
    EXPECT_EQ(StrUtil::AToI("-7"), -7);
    EXPECT_EQ(StrUtil::AToI("abc"), 0);
    EXPECT_EQ(StrUtil::AToI(nullptr), 0);
    EXPECT_EQ(StrUtil::AToI("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(StrUtil::AToI("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(StrUtil::AToI("-2147483648"), INT_MIN);
}

TEST(PalStrUtil, CopyNeverOverflowsItsTarget) {
    char small[4];
    StrUtil::Copy(small, "abcdef");
    EXPECT_STREQ(small, "abc");
    StrUtil::Copy(small, nullptr);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(StrUtil::Len(nullptr), 0u);
    EXPECT_EQ(StrUtil::NCompare("Attributes", "Attribute", 9), 0);
    EXPECT_NE(StrUtil::Compare("a", "b"), 0);
}

// The strict readers of user-typed numbers: what they take and what they
// refuse, for the odd texts users and scripts produce.
struct NumberCase {
    const char* text;
    bool isNumber;  // ParseNumber accepts it
    double number;
    bool isInt;  // ParseInt accepts it
    int integer;
};

class StrictNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(StrictNumbers, ParseAsExpected) {
    const NumberCase& c = GetParam();
    double number = -123.0;
    int integer = -123;
    EXPECT_EQ(StrUtil::ParseNumber(c.text, number), c.isNumber) << c.text;
    EXPECT_EQ(number, c.isNumber ? c.number : -123.0) << "a refused text must leave the value: " << c.text;
    EXPECT_EQ(StrUtil::ParseInt(c.text, integer), c.isInt) << c.text;
    EXPECT_EQ(integer, c.isInt ? c.integer : -123) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    OddTexts, StrictNumbers,
    testing::Values(NumberCase{"42", true, 42.0, true, 42}, NumberCase{"  +7\t", true, 7.0, true, 7},
                    NumberCase{"-0", true, -0.0, true, 0}, NumberCase{"2.5e3", true, 2500.0, false, 0},
                    NumberCase{".5", true, 0.5, false, 0}, NumberCase{"-.5", true, -0.5, false, 0},
                    NumberCase{"+-0", false, 0, false, 0}, NumberCase{"+-50", false, 0, false, 0},
                    NumberCase{"--1", false, 0, false, 0}, NumberCase{"+", false, 0, false, 0},
                    NumberCase{"1e400", false, 0, false, 0}, NumberCase{"nan", false, 0, false, 0},
                    NumberCase{"-inf", false, 0, false, 0}, NumberCase{"inf", false, 0, false, 0},
                    NumberCase{"0x10", false, 0, false, 0}, NumberCase{"", false, 0, false, 0},
                    NumberCase{" \t ", false, 0, false, 0}, NumberCase{"1 2", false, 0, false, 0},
                    NumberCase{"12abc", false, 0, false, 0}, NumberCase{"\xd9\xa3", false, 0, false, 0},
                    NumberCase{"\xef\xbc\x91", false, 0, false, 0}, NumberCase{"5\n", false, 0, false, 0},
                    NumberCase{"2147483648", true, 2147483648.0, false, 0},
                    NumberCase{"-2147483648", true, -2147483648.0, true, INT_MIN}));

TEST(PalStrUtil, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_TRUE(StrUtil::EqualNoCase("Tkl_Pll", "TKL_PLL"));
    EXPECT_FALSE(StrUtil::EqualNoCase("TKL", "TKL_"));
    EXPECT_FALSE(StrUtil::EqualNoCase("@", "`"));      // 0x40 and 0x60 differ by the case bit only
    EXPECT_FALSE(StrUtil::EqualNoCase("\xe9", "\xc9"));  // Latin-1 letters are not folded
    EXPECT_TRUE(StrUtil::StartsWithNoCase("dsp_mult", "DSP"));
    EXPECT_FALSE(StrUtil::StartsWithNoCase("ds", "dsp"));
}
