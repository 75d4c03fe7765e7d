#include "engine/Olm_StrArray.h"

#include <gtest/gtest.h>

TEST(Olm_StrArray, KeepsDuplicatesInOrderAndCopiesByValue) {
    Olm_StrArray a;
    EXPECT_TRUE(a.IsEmpty());
    for (const char* s : {"x", "y", "x"}) a.Add(s);
    ASSERT_EQ(a.GetSize(), 3);
    EXPECT_STREQ(a.GetAt(2), "x");
    Olm_StrArray copy;
    copy = a;
    copy.SetAt(0, "changed");
    EXPECT_STREQ(a.GetAt(0), "x");
    EXPECT_STREQ(copy.GetAt(0), "changed");
}

TEST(Olm_StrArray, IndicesOutsideAreIgnored) {
    Olm_StrArray a;
    a.Add("x");
    EXPECT_TRUE(a.GetAt(-1).IsEmpty());
    EXPECT_TRUE(a.GetAt(1).IsEmpty());
    a.SetAt(7, "ignored");
    EXPECT_EQ(a.GetSize(), 1);
}
