#include "OlmBase.h"

#include <gtest/gtest.h>

TEST(Olm_BlockTest, AddPinByNameReusesTheFirstPin) {
    Olm_Block block("B", "T");
    Olm_Pin* pin = block.AddPin("CLK", "IN");
    pin->SetIsActive(false);
    EXPECT_EQ(block.AddPin("clk", "OUT"), pin);
    EXPECT_TRUE(pin->IsActive());
    EXPECT_EQ(pin->GetDirection(), "IN");
    block.AddPin(new Olm_Pin("CLK", "OUT"));
    EXPECT_EQ(block.GetPinList().size(), 2u);
    EXPECT_EQ(block.GetNamedPin("CLK"), pin);
}

TEST(Olm_BlockTest, PinLookupsReportMissingNames) {
    Olm_Block block;
    block.AddPin("P", "IN");
    EXPECT_FALSE(block.IsPinActive("Q"));
    EXPECT_FALSE(block.SetPinIsActive("Q", true));
    EXPECT_FALSE(block.SetPinWidth("Q", 7, 0));
    EXPECT_TRUE(block.SetPinWidth("P", 0, 0));
    EXPECT_FALSE(block.GetNamedPin("P")->HasBus());
}

TEST(Olm_BlockTest, DeleteTakesOverObjectsOutsideTheList) {
    Olm_Block block;
    Olm_Pin* kept = block.AddPin("P", "IN");
    block.DeletePin(new Olm_Pin("X", "IN"));  // deleted although not in the list
    EXPECT_EQ(block.GetPinList().size(), 1u);
    block.DeletePin(kept);
    EXPECT_TRUE(block.GetPinList().empty());
    block.DeleteAttribute(new Olm_Attribute("A", ""));
}

TEST(Olm_BlockTest, FlagsAreWholeWords) {
    Olm_Block block;
    block.AddFlag("HSX1");
    EXPECT_FALSE(block.SupportsHSX3() || block.SupportsHSX10() || block.SupportsHSX11());
    block.AddFlag("hsx10");
    EXPECT_TRUE(block.SupportsHSX10());
}

TEST(Olm_BlockTest, AttributeQueries) {
    Olm_Block block;
    EXPECT_FALSE(block.HasAttrWPrefix("CLK"));
    block.AddAttribute("OUT_CLKDIV", "2");
    EXPECT_TRUE(block.HasAttrWPrefix("CLK"));
    EXPECT_FALSE(block.HasAttrWPrefix(""));
    EXPECT_FALSE(block.IsAttributeActive("none"));
    EXPECT_FALSE(block.SetAttributeIsActive("none", true));
}

TEST(Olm_BlockTest, PinSignalAndClockBufferClearing) {
    Olm_Block block;
    Olm_Pin* vcc = block.AddPin("V", "IN");
    vcc->SetIsVcc(true);
    Olm_Pin* sig = block.AddPin("S", "IN");
    sig->SetSigName("net");
    sig->AddAttribute("OLM_CLKBUF_X", "GCLKBUF");
    sig->AddAttribute("X_OLM_CLKBUF", "1");
    vcc->AddAttribute("OLM_CLKBUF", "1");
    block.ClearAllPinSignals();
    EXPECT_TRUE(vcc->IsVcc());
    EXPECT_EQ(sig->GetSigName(), "");
    block.RemoveAllPinClkBufAttrs();
    EXPECT_TRUE(vcc->GetAttributeList().empty());
    ASSERT_EQ(sig->GetAttributeList().size(), 1u);
    EXPECT_EQ(sig->GetAttributeList()[0]->GetName(), "X_OLM_CLKBUF");
}
