#include "GoldenSections.h"

#include "pal/StrUtil.h"

#include <climits>
#include <cstdio>
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

// The strict readers of user-typed numbers against golden/strict_numbers.txt;
// a refused text leaves the value as it was.
TEST(PalStrUtil, StrictNumberReadersTakeAndRefuseTheListedTexts) {
    olmtest::GoldenSections golden(OLM_PAL_GOLDEN_DIR "/strict_numbers.txt");
    golden.CheckAnswers("numbers", [](const std::string& shown) {
        const std::string text = olmtest::Unescape(shown.substr(1, shown.size() - 2));
        double number = -123.0;
        int integer = -123;
        const bool isNumber = StrUtil::ParseNumber(text, number), isInt = StrUtil::ParseInt(text, integer);
        EXPECT_TRUE(isNumber || number == -123.0) << shown;
        EXPECT_TRUE(isInt || integer == -123) << shown;
        char shownNumber[32];
        std::snprintf(shownNumber, sizeof shownNumber, "%.17g", number);
        return (isNumber ? shownNumber : "refused") + std::string(" | ") + (isInt ? std::to_string(integer) : "refused");
    });
}

// One number however written; texts that are not both numbers never are.
TEST(PalStrUtil, SameNumberComparesValuesOfTheStrictGrammar) {
    const struct {
        const char *a, *b;
        bool same;
    } cases[] = {{"125", "125.0", true},   {"156.25", "156.250", true}, {"625e-2", "6.25", true},
                 {"2E2", "+200", true},    {" 1 ", "1.", true},         {"-0", "0", true},
                 {"156.25", "156.26", false}, {"1e400", "1e400", false}, {"TRUE", "TRUE", false},
                 {"0x10", "16", false},    {"", "", false}};
    for (const auto& c : cases) EXPECT_EQ(StrUtil::SameNumber(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(PalStrUtil, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_TRUE(StrUtil::EqualNoCase("Tkl_Pll", "TKL_PLL"));
    EXPECT_FALSE(StrUtil::EqualNoCase("TKL", "TKL_"));
    EXPECT_FALSE(StrUtil::EqualNoCase("@", "`"));        // 0x40 and 0x60 differ by the case bit only
    EXPECT_FALSE(StrUtil::EqualNoCase("\xe9", "\xc9"));  // Latin-1 letters are not folded
    EXPECT_TRUE(StrUtil::StartsWithNoCase("dsp_mult", "DSP"));
    EXPECT_FALSE(StrUtil::StartsWithNoCase("ds", "dsp"));
}
