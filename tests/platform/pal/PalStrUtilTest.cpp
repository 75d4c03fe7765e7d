#include "pal/StrUtil.h"

#include <climits>
#include <gtest/gtest.h>

using Pal::StrUtil;

TEST(PalStrUtil, TokenizeSkipsLeadingDelimitersAndStaysAtTheEnd) {
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
    const std::pair<const char*, int> cases[] = {{"  42abc", 42}, {"-7", -7}, {"abc", 0}, {nullptr, 0},
                                                 {"99999999999999999999999", INT_MAX},
                                                 {"-99999999999999999999999", INT_MIN}, {"-2147483648", INT_MIN}};
    for (const auto& [text, value] : cases) EXPECT_EQ(StrUtil::AToI(text), value) << (text ? text : "(null)");
}

TEST(PalStrUtil, CopyAndLenTakeNullAndCopyNeverOverflows) {
    char small[4];
    StrUtil::Copy(small, "abcdef");
    EXPECT_STREQ(small, "abc");
    StrUtil::Copy(small, nullptr);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(StrUtil::Len(nullptr), 0u);
}

// The strict readers of user-typed numbers: what they take and what they
// refuse, for the odd texts users and scripts produce.
struct NumberCase {
    const char* text;
    bool isNumber;  // ParseNumber accepts it, with this value
    double number;
    bool isInt;  // ParseInt accepts it, with this value
    int integer;
};

const NumberCase kNumbers[] = {
    {"42", true, 42.0, true, 42},     {"  +7\t", true, 7.0, true, 7},  {"-0", true, -0.0, true, 0},
    {"2.5e3", true, 2500, false, 0},  {".5", true, 0.5, false, 0},      {"-.5", true, -0.5, false, 0},
    {"+-0", false, 0, false, 0},      {"+-50", false, 0, false, 0},     {"--1", false, 0, false, 0},
    {"+", false, 0, false, 0},        {"1e400", false, 0, false, 0},    {"nan", false, 0, false, 0},
    {"-inf", false, 0, false, 0},     {"inf", false, 0, false, 0},      {"0x10", false, 0, false, 0},
    {"", false, 0, false, 0},         {" \t ", false, 0, false, 0},     {"1 2", false, 0, false, 0},
    {"12abc", false, 0, false, 0},    {"\xd9\xa3", false, 0, false, 0}, {"\xef\xbc\x91", false, 0, false, 0},
    {"5\n", false, 0, false, 0},      {"2147483648", true, 2147483648.0, false, 0},
    {"-2147483648", true, -2147483648.0, true, INT_MIN},
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class StrictNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(StrictNumbers, ParseAsExpectedAndLeaveTheValueWhenRefused) {
    const NumberCase& c = GetParam();
    double number = -123.0;
    int integer = -123;
    EXPECT_EQ(StrUtil::ParseNumber(c.text, number), c.isNumber);
    EXPECT_EQ(number, c.isNumber ? c.number : -123.0);
    EXPECT_EQ(StrUtil::ParseInt(c.text, integer), c.isInt);
    EXPECT_EQ(integer, c.isInt ? c.integer : -123);
}

INSTANTIATE_TEST_SUITE_P(OddTexts, StrictNumbers, testing::ValuesIn(kNumbers));

TEST(PalStrUtil, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_TRUE(StrUtil::EqualNoCase("Tkl_Pll", "TKL_PLL"));
    EXPECT_FALSE(StrUtil::EqualNoCase("TKL", "TKL_"));
    EXPECT_FALSE(StrUtil::EqualNoCase("@", "`"));        // 0x40 and 0x60 differ by the case bit only
    EXPECT_FALSE(StrUtil::EqualNoCase("\xe9", "\xc9"));  // Latin-1 letters are not folded
    EXPECT_TRUE(StrUtil::StartsWithNoCase("dsp_mult", "DSP"));
    EXPECT_FALSE(StrUtil::StartsWithNoCase("ds", "dsp"));
}
