#include "engine/Olm_StrArray.h"

#include <gtest/gtest.h>

// Duplicates stay, in the order added; SetAt replaces in place; indices
// outside are ignored.
TEST(Olm_StrArray, SetAtReplacesInPlaceAndIndicesOutsideAreIgnored) {
    Olm_StrArray a;
    EXPECT_TRUE(a.IsEmpty());
    for (const char* s : {"x", "y", "x"}) a.Add(s);
    a.SetAt(1, "z");
    a.SetAt(7, "ignored");
    EXPECT_TRUE(a.GetAt(-1).IsEmpty());
    EXPECT_TRUE(a.GetAt(3).IsEmpty());
    ASSERT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a.GetAt(0).str() + a.GetAt(1).str() + a.GetAt(2).str(), "xzx");
}
