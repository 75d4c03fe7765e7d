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
