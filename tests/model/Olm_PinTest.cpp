#include "OlmBase.h"

#include <climits>
#include <gtest/gtest.h>

TEST(Olm_PinTest, ConnectionSettersKeepOneDriver) {
    Olm_Pin pin;
    pin.SetSigName("s");
    pin.SetIsVcc(true);
    EXPECT_EQ(pin.GetSigName(), "");
    pin.SetIsGrounded(true);
    EXPECT_FALSE(pin.IsVcc());
    pin.SetSigName("");
    EXPECT_TRUE(pin.IsGrounded());  // an empty name keeps the tie
    pin.SetSigName("t");
    EXPECT_FALSE(pin.IsGrounded());
}

TEST(Olm_PinTest, BitSettersOnlyEverRaiseTheBusFlag) {
    Olm_Pin pin;
    pin.SetWidth(8);
    EXPECT_EQ(pin.GetEndBit(), 7);
    EXPECT_EQ(pin.GetWidth(), 8);
    EXPECT_TRUE(pin.HasBus());
    pin.SetWidth(1);
    pin.SetStartBit(0);
    EXPECT_EQ(pin.GetWidth(), 1);
    EXPECT_TRUE(pin.HasBus());
    Olm_Pin up;
    up.SetStartBit(INT_MIN);
    up.SetEndBit(INT_MAX);
    EXPECT_EQ(up.GetWidth(), INT_MAX);  // saturates instead of overflowing
}

TEST(Olm_PinTest, WidthTexts) {
    struct Case { const char* text; bool ok; int start; int end; bool bus; };
    const Case cases[] = {{"[7:0]", true, 7, 0, true},     {" \t[7:0]\t ", true, 7, 0, true},
                          {"[3:3]", true, 3, 3, true},     {"[0:0]", true, 0, 0, false},
                          {"8", false, 0, 7, true},        {"1", false, 0, 0, false},
                          {"[:]", true, 0, 0, false},      {"[0:15]", true, 0, 15, true}};
    for (const Case& c : cases) {
        Olm_Pin pin;
        EXPECT_EQ(Olm_Pin::SetPinWidthData(&pin, c.text), c.ok) << c.text;
        EXPECT_EQ(pin.GetStartBit(), c.start) << c.text;
        EXPECT_EQ(pin.GetEndBit(), c.end) << c.text;
        EXPECT_EQ(pin.HasBus(), c.bus) << c.text;
    }
    for (const char* bad : {"[7:0", "[70]", "[5:2)"}) {
        Olm_Pin pin;
        pin.SetStartBit(4);
        EXPECT_FALSE(Olm_Pin::SetPinWidthData(&pin, bad)) << bad;
        EXPECT_EQ(pin.GetStartBit(), 4) << bad;
        EXPECT_EQ(pin.GetEndBit(), 0) << bad;
    }
    EXPECT_FALSE(Olm_Pin::SetPinWidthData(nullptr, "[1:0]"));
}

TEST(Olm_PinTest, FlagsFoldCaseAndRemovalLeavesAnEmptyWord) {
    Olm_Pin pin;
    pin.AddFlag("DataWidth");
    EXPECT_TRUE(pin.SupportsDataWidth());
    pin.RemoveFlag("DATAWIDTH");
    EXPECT_EQ(pin.GetFlagList().GetSize(), 1);
    EXPECT_TRUE(pin.HasFlag(""));
}

TEST(Olm_PinTest, AttributeCreateOrUpdateKeepsDefaultsAndReactivates) {
    Olm_Pin pin;
    Olm_Attribute* a = pin.AddAttribute("Mode", "A");
    a->SetDefaultValue("D");
    a->SetIsActive(false);
    a->SetIsModifiable(false);
    EXPECT_EQ(pin.AddAttribute("MODE", "B"), a);  // lookup folds case
    EXPECT_TRUE(a->IsActive());
    EXPECT_FALSE(a->IsModifiable());
    EXPECT_EQ(a->GetDefaultValue(), "D");
    EXPECT_EQ(a->GetPossibleValues().GetSize(), 1);
    EXPECT_TRUE(pin.SetAttributeValue("New", "1"));
    EXPECT_EQ(pin.GetAttributeList().size(), 2u);
    pin.RemoveAttribute("mode");  // removal is case-sensitive
    EXPECT_EQ(pin.GetAttributeList().size(), 2u);
    pin.RemoveAttribute("Mode");
    EXPECT_EQ(pin.GetNamedAttribute("Mode"), nullptr);
}

TEST(Olm_PinTest, PinSigBitProperties) {
    Olm_Pin pin;
    pin.SetIsVcc(true);
    pin.SetPinSigBitProp("bus", 3, 3, 0, 0);
    pin.SetPinSigBitProp("bus", 3, 3, 5, 5);
    ASSERT_EQ(pin.GetAttributeList().size(), 1u);
    EXPECT_EQ(pin.GetAttributeValue("OLMW_ONLY_PIN_SIG_BIT_3:3"), "bus[5:5]");
    EXPECT_EQ(pin.GetSigName(), "bus");
    EXPECT_FALSE(pin.IsVcc());
    pin.SetPinSigBitProp("other", 1, 0, 1, 0);
    EXPECT_EQ(pin.GetSigName(), "bus");  // an existing connection stays
    pin.RemovePinSigBitProp(9, 9);
    EXPECT_EQ(pin.GetAttributeList().size(), 2u);
    pin.RemoveAllPinSigBitProps();
    EXPECT_FALSE(pin.HasPinSigBitProp());
}

TEST(Olm_PinTest, PrefixRemovalIsCaseSensitiveAndKeepsOrder) {
    Olm_Pin pin;
    for (const char* name : {"OLMW_ONLY_A", "keep1", "OLM_B", "olm_x", "OLM", "keep2"}) pin.AddAttribute(name, "");
    pin.RemoveAllInternalProps();
    ASSERT_EQ(pin.GetAttributeList().size(), 4u);
    EXPECT_EQ(pin.GetAttributeList()[0]->GetName(), "keep1");
    EXPECT_EQ(pin.GetAttributeList()[1]->GetName(), "olm_x");
    EXPECT_EQ(pin.GetAttributeList()[2]->GetName(), "OLM");
    pin.RemoveAllPropsWBase("");
    EXPECT_TRUE(pin.GetAttributeList().empty());
}
