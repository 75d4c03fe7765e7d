#include "pal/String.h"

#include <gtest/gtest.h>

using Pal::String;

TEST(PalString, NullAndEmptyConstructionGiveAnEmptyTerminatedText) {
    String fromNull(static_cast<const char*>(nullptr));
    EXPECT_TRUE(fromNull.IsEmpty());
    EXPECT_NE(fromNull.c_str(), nullptr);
    EXPECT_STREQ(static_cast<const char*>(fromNull), "");
    String s;
    s = static_cast<const char*>(nullptr);
    EXPECT_EQ(s.GetLength(), 0u);
}

TEST(PalString, FormatMayUseItsOwnText) {
    String s("abc");
    s.Format("%s-%s-%d", s.c_str(), s.c_str(), 42);
    EXPECT_STREQ(s, "abc-abc-42");
    String big;
    big.Format("%0300d", 7);  // longer than any fixed buffer a naive version might use
    EXPECT_EQ(big.GetLength(), 300u);
}

TEST(PalString, CompareModes) {
    EXPECT_EQ(String("Clk").Compare("CLK", 1), 0);
    EXPECT_NE(String("Clk").Compare("CLK", 0), 0);
    EXPECT_NE(String("CLK").Compare("CLK0", 1), 0);
    EXPECT_LT(String("a").Compare("b", 1), 0);
    EXPECT_EQ(String("").Compare("", 0), 0);
}

TEST(PalString, IndexOfString) {
    String s("X OLMRANGE=0:9");
    EXPECT_EQ(s.GetIndexOfString("OLMRANGE", 0), 2u);
    EXPECT_EQ(s.GetIndexOfString("olmrange", 0), String::kNotFound);
    EXPECT_EQ(s.GetIndexOfString("olmrange", 1), 2u);
    EXPECT_EQ(s.GetIndexOfString("too long for the text at all", 0), ~0U);
    EXPECT_EQ(s.GetIndexOfString(nullptr, 0), ~0U);
}

TEST(PalString, TrimTruncateRemoveUpper) {
    String s(" \t a b \t");
    s.Trim(" \t", 2);
    EXPECT_STREQ(s, "a b");
    String all(" \t ");
    all.Trim(" \t", 2);
    EXPECT_TRUE(all.IsEmpty());
    String t("tkl_bddeskew");
    t.Truncate(3);
    EXPECT_STREQ(t, "tkl");
    t.Truncate(10);
    EXPECT_STREQ(t, "tkl");
    String d("xc2v1000");
    d.Remove(Pal::Range{0, 3});
    EXPECT_STREQ(d, "v1000");
    d.Remove(Pal::Range{50, 2});
    EXPECT_STREQ(d, "v1000");
    String u("tkl_adv");
    u.MakeUpper();
    EXPECT_STREQ(u, "TKL_ADV");
}
