#include "OlmBase.h"

#include <gtest/gtest.h>

TEST(Olm_AttributeTest, NameValueConstructorMakesTheValueTheOnlyChoice) {
    Olm_Attribute empty("X", "");
    EXPECT_EQ(empty.GetPossibleValues().GetSize(), 1);
    EXPECT_EQ(empty.GetPossibleValues().GetAt(0), "");
    EXPECT_EQ(empty.GetDefaultValue(), "");
}

TEST(Olm_AttributeTest, DefaultFillsTheCurrentValueOnlyWhenEmpty) {
    Olm_Attribute a;
    a.SetDefaultValue("7");
    EXPECT_EQ(a.GetCurrentValue(), "7");
    a.SetDefaultValue("8");
    EXPECT_EQ(a.GetDefaultValue(), "8");
    EXPECT_EQ(a.GetCurrentValue(), "7");
    a.SetCurrentValue("");
    a.SetDefaultValue("3");
    EXPECT_EQ(a.GetCurrentValue(), "3");
}

TEST(Olm_AttributeTest, RangeValuesSplitAtTheFirstEqualsAndColon) {
    const Olm_Attribute a;
    struct Case { const char* text; bool ok; const char* min; const char* max; };
    const Case cases[] = {{"OLMRANGE=1:32", true, "1", "32"}, {"OLMRANGE=1:2:3", true, "1", "2:3"},
                          {"OLMRANGE=:", true, "", ""},        {"OLMRANGE=5", false, "", ""},
                          {"OLMRANGE", false, "", ""},         {"A=B=C:D", true, "B=C", "D"}};
    for (const Case& c : cases) {
        Pal::String min("old"), max("old");
        EXPECT_EQ(a.GetRangeValues(c.text, min, max), c.ok) << c.text;
        EXPECT_EQ(min, c.min) << c.text;
        EXPECT_EQ(max, c.max) << c.text;
    }
    // The text may be one of the output strings itself.
    Pal::String text("OLMRANGE=4:9"), max;
    EXPECT_TRUE(a.GetRangeValues(text, text, max));
    EXPECT_EQ(text, "4");
    EXPECT_EQ(max, "9");
    EXPECT_TRUE(a.IsValueRange("X OLMRANGE=0:9"));
    EXPECT_FALSE(a.IsValueRange("0:9"));
    EXPECT_FALSE(a.IsValueRange("olmrange=0:9"));
}
