#include "engine/Olm_StrArray.h"

#include <gtest/gtest.h>

TEST(Olm_StrArray, AddKeepsDuplicatesInOrderAndSetAtReplacesInPlace) {
    Olm_StrArray a;
    EXPECT_TRUE(a.IsEmpty());
    for (const char* s : {"x", "y", "x", "w"}) a.Add(s);
    a.SetAt(1, "z");
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a.GetAt(0).str() + a.GetAt(1).str() + a.GetAt(2).str() + a.GetAt(3).str(), "xzxw");
}

TEST(Olm_StrArray, IndicesOutsideAreIgnored) {
    Olm_StrArray a;
    a.Add("x");
    EXPECT_TRUE(a.GetAt(-1).IsEmpty());
    EXPECT_TRUE(a.GetAt(1).IsEmpty());
    a.SetAt(7, "ignored");
    EXPECT_EQ(a.GetSize(), 1);
}
