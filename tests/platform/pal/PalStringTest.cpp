#include "pal/String.h"

#include <gtest/gtest.h>

using Pal::String;

TEST(PalString, NullTextGivesAnEmptyTerminatedString) {
    EXPECT_STREQ(String(static_cast<const char*>(nullptr)), "");
    String s("x");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
}

TEST(PalString, FormatMayUseItsOwnTextAndGrowsWithoutLimit) {
    String s("abc");
    s.Format("%s-%s-%d", s.c_str(), s.c_str(), 42);
    EXPECT_STREQ(s, "abc-abc-42");
    s.Format("%0300d", 7);  // longer than any fixed buffer a naive version might use
    EXPECT_EQ(s.GetLength(), 300u);
}

TEST(PalString, ConcatenationLinksOutsideTheLibrary) {
    String a("clk");
    EXPECT_STREQ(a + String("_out") + "1", "clk_out1");
    EXPECT_STREQ(a, "clk");
}

TEST(PalString, CompareFoldsCaseOnlyInMode1) {
    EXPECT_EQ(String("Clk").Compare("CLK", String::kNoCase), 0);
    EXPECT_NE(String("Clk").Compare("CLK", String::kExact), 0);
    EXPECT_NE(String("CLK").Compare("CLK0", String::kNoCase), 0);
    EXPECT_LT(String("a").Compare("B", String::kNoCase), 0);
}

TEST(PalString, IndexOfStringIsAllBitsWhenAbsent) {
    const String s("X OLMRANGE=0:9");
    EXPECT_EQ(s.GetIndexOfString("OLMRANGE", 0), 2u);
    EXPECT_EQ(s.GetIndexOfString("olmrange", 0), ~0U);
    EXPECT_EQ(s.GetIndexOfString("olmrange", 1), 2u);
    EXPECT_EQ(s.GetIndexOfString("too long for the text at all", 0), ~0U);
    EXPECT_EQ(s.GetIndexOfString(nullptr, 0), ~0U);
}

TEST(PalString, EditsClipToTheText) {
    String s(" \t a b \t");
    EXPECT_STREQ(s.Trim(" \t", 2), "a b");
    EXPECT_STREQ(String(" \t ").Trim(" \t", 2), "");
    EXPECT_STREQ(String("tkl_bddeskew").Truncate(3), "tkl");
    EXPECT_STREQ(String("tkl").Truncate(10), "tkl");
    EXPECT_STREQ(String("xc2v1000").Remove(Pal::Range{0, 3}), "v1000");
    EXPECT_STREQ(String("v1000").Remove(Pal::Range{50, 2}), "v1000");
    EXPECT_STREQ(String("tkl_adv1").MakeUpper(), "TKL_ADV1");
}
