#include "OlmBase.h"

#include <gtest/gtest.h>

namespace {

// An active RKO_BASE block and an inactive RKO_ADV template.
class Olm_ConversionTest : public ::testing::Test {
protected:
    Olm_ConversionTest() : data("tkl") {
        base = data.AddBlock("BASE", "RKO_BASE");
        base->AddAttribute("CLKFBOUT_MULT", "9");
        base->AddAttribute("FBCLKOUT_MULT", "4");
        base->AddAttribute("CLKFBOUT_PHASE", "45");
        base->AddAttribute("DIVCLK", "2");
        base->AddAttribute("BASE_ONLY", "x");
        Olm_Pin* in = base->AddPin("CLKIN", "IN");
        in->SetSigName("clk_in");
        in->AddAttribute("IOSTD", "LVDS");
        base->AddPin("CLKFBIN", "IN");  // no signal
        base->AddPin("CLKOUT0", "OUT")->SetSigName("off");
        base->SetPinIsActive("CLKOUT0", false);

        adv = data.AddBlock("ADV", "RKO_ADV");
        adv->SetIsActive(false);
        Olm_Attribute* mult = adv->AddAttribute("CLKFBOUT_MULT", "1");
        mult->SetIsActive(false);
        adv->AddAttribute("FBCLKOUT_MULT", "1");
        adv->AddAttribute("DIVCLK", "1");
        adv->AddAttribute("FBCLKOUT_PHASE", "0");
        adv->AddPin("CLKIN1", "IN")->SetIsGrounded(true);
        adv->AddPin("CLKFBIN", "IN")->SetIsVcc(true);
        adv->AddPin("CLKOUT0", "OUT")->SetSigName("keep");
    }

    Olm_WizData data;
    Olm_Block* base;
    Olm_Block* adv;
};

}  // namespace

TEST_F(Olm_ConversionTest, NothingHappensWithoutOldBlockOrTemplate) {
    base->SetIsActive(false);
    EXPECT_EQ(data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 0), nullptr);
    base->SetIsActive(true);
    EXPECT_EQ(data.ConvertActiveBlk("RKO_BASE", "NONE", 1), nullptr);
    EXPECT_TRUE(base->IsActive());
    EXPECT_EQ(data.GetBlkList().size(), 2u);
}

TEST_F(Olm_ConversionTest, InstanceZeroActivatesTheTemplate) {
    base->AddAttribute("OLMW_ONLY_INST_NUM", "5");  // ignored for 0
    Olm_Block* target = data.ConvertActiveBlk("rko_base", "RKO_ADV", 0);
    ASSERT_EQ(target, adv);
    EXPECT_TRUE(adv->IsActive());
    EXPECT_FALSE(base->IsActive());
    EXPECT_EQ(data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 0), nullptr);  // old block now inactive
}

TEST_F(Olm_ConversionTest, AttributesCarryOverWithOneWayRenames) {
    Olm_Block* target = data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 0);
    // CLKFBOUT_MULT gets 9 from its own name, then 4 through the later rename.
    EXPECT_EQ(target->GetAttributeValue("CLKFBOUT_MULT"), "4");
    EXPECT_FALSE(target->GetNamedAttribute("CLKFBOUT_MULT")->IsActive());  // only the value moves
    EXPECT_EQ(target->GetAttributeValue("FBCLKOUT_MULT"), "4");
    EXPECT_EQ(target->GetAttributeValue("FBCLKOUT_PHASE"), "0");  // no rename backwards
    EXPECT_EQ(target->GetNamedAttribute("CLKFBOUT_PHASE"), nullptr);  // not created
    EXPECT_EQ(target->GetAttributeValue("DIVCLK"), "2");
    EXPECT_EQ(target->GetNamedAttribute("BASE_ONLY"), nullptr);
    EXPECT_EQ(base->GetAttributeValue("DIVCLK"), "2");
}

TEST_F(Olm_ConversionTest, PinsCarryOverActiveConnectionsOnly) {
    Olm_Block* target = data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 0);
    Olm_Pin* in1 = target->GetNamedPin("CLKIN1");
    EXPECT_EQ(in1->GetSigName(), "clk_in");
    EXPECT_FALSE(in1->IsGrounded());
    EXPECT_EQ(in1->GetAttributeValue("IOSTD"), "LVDS");  // created on the target pin
    EXPECT_TRUE(target->GetNamedPin("CLKFBIN")->IsVcc());  // empty signal keeps the tie
    EXPECT_EQ(target->GetNamedPin("CLKOUT0")->GetSigName(), "keep");  // old pin inactive
}

TEST_F(Olm_ConversionTest, ClkinIsRenamedOnlyFromTheBaseType) {
    Olm_Block* other = data.AddBlock("OTHER", "RKO_X");
    other->AddPin("CLKIN", "IN")->SetSigName("c");
    base->SetIsActive(false);
    adv->AddPin("CLKIN", "IN");
    Olm_Block* target = data.ConvertActiveBlk("RKO_X", "RKO_ADV", 0);
    EXPECT_EQ(target->GetNamedPin("CLKIN")->GetSigName(), "c");
    EXPECT_TRUE(target->GetNamedPin("CLKIN1")->IsGrounded());
}

TEST_F(Olm_ConversionTest, NumberedInstancesAreFreshCopiesAtTheEnd) {
    base->AddAttribute("OLMW_ONLY_INST_NUM", "3");
    EXPECT_EQ(data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 2), nullptr);
    data.CopyBlock(adv, "RKO_ADV_INST3")->SetAttributeValue("DIVCLK", "stale");
    data.GetBlkList().back()->AddAttribute("STALE_ONLY", "1");
    Olm_Block* target = data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 3);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_EQ(data.GetBlkList().back(), target);
    EXPECT_EQ(target->GetName(), "RKO_ADV_INST3");
    EXPECT_EQ(target->GetAttributeValue("DIVCLK"), "2");
    EXPECT_EQ(target->GetNamedAttribute("STALE_ONLY"), nullptr);
    EXPECT_EQ(data.GetActiveBlockInstNum("RKO_ADV", 3), target);
}

TEST_F(Olm_ConversionTest, ConversionReadsNumbersButLookupsCompareText) {
    base->AddAttribute("OLMW_ONLY_INST_NUM", "03");
    EXPECT_EQ(data.GetBlockInstNum("RKO_BASE", 3), nullptr);
    EXPECT_EQ(data.GetActiveBlockInstNum("rko_base", 3), nullptr);
    base->SetAttributeValue("OLMW_ONLY_INST_NUM", "03");
    EXPECT_NE(data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 3), nullptr);
    EXPECT_EQ(data.GetBlockInstNum("RKO_BASE", 3), nullptr);
}

TEST_F(Olm_ConversionTest, InstanceBlockConvertedToItsOwnTypeAndNumber) {
    Olm_Block* first = data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 0);
    first->SetAttributeValue("OLMW_ONLY_INST_NUM", "1");
    Olm_Block* inst = data.ConvertActiveBlk("RKO_ADV", "RKO_ADV", 1);
    ASSERT_NE(inst, nullptr);
    inst->SetAttributeValue("DIVCLK", "7");
    inst->GetNamedPin("CLKFBIN")->SetSigName("fb");
    // The old block bears the instance name and is replaced by the new copy.
    Olm_Block* again = data.ConvertActiveBlk("RKO_ADV", "RKO_ADV", 1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_TRUE(again->IsActive());
    EXPECT_EQ(again->GetAttributeValue("DIVCLK"), "7");
    EXPECT_EQ(again->GetNamedPin("CLKFBIN")->GetSigName(), "fb");
}

TEST_F(Olm_ConversionTest, TemplateNamedLikeTheInstanceBlock) {
    adv->SetName("RKO_ADV_INST1");
    base->AddAttribute("OLMW_ONLY_INST_NUM", "1");
    Olm_Block* target = data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 1);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(data.GetBlkList().size(), 2u);
    EXPECT_EQ(data.GetBlkList().back(), target);
    EXPECT_EQ(target->GetNamedPin("CLKIN1")->GetSigName(), "clk_in");
}
