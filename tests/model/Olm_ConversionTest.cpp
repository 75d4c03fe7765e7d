#include "OlmBase.h"
#include "ModelBuilders.h"

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

// Values and active connections carry over; renames run one way
// (CLKFBOUT_MULT gets 9 from its own name, then 4 from FBCLKOUT_MULT); an old
// block's attribute that the template lacks is dropped, an old pin's is
// created; an old pin without a signal leaves the template's tie, an inactive
// one its signal. The old block keeps its values.
TEST_F(Olm_ConversionTest, TheTemplateReceivesTheOldBlocksValues) {
    const std::string before = olmtest::Describe(*base);
    Olm_Block* target = data.ConvertActiveBlk("RKO_BASE", "RKO_ADV", 0);
    ASSERT_EQ(target, adv);
    EXPECT_EQ(olmtest::Describe(*target),
              "block ADV RKO_ADV\n pin CLKIN1 IN 0:0 sig=clk_in\n  attr IOSTD = current=LVDS 1{LVDS}\n"
              " pin CLKFBIN IN 0:0 vcc\n pin CLKOUT0 OUT 0:0 sig=keep\n attr CLKFBOUT_MULT = current=4 1{1} off\n"
              " attr FBCLKOUT_MULT = current=4 1{1}\n attr DIVCLK = current=2 1{1}\n attr FBCLKOUT_PHASE = current=0 1{0}\n");
    base->SetIsActive(true);
    EXPECT_EQ(olmtest::Describe(*base), before);
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

// The numbered copies every wizard makes: name, number, place and state.
struct InstanceCopyRow {
    const char* name;
    const char* primType;
    int number;
    const char* infix;  // null: the default
    const char* expected;
    friend void PrintTo(const InstanceCopyRow& row, std::ostream* os) { *os << row.name; }
};

class Olm_InstanceCopyTest : public Olm_ConversionTest, public ::testing::WithParamInterface<InstanceCopyRow> {};

TEST_P(Olm_InstanceCopyTest, CopyOfTheInactiveTemplateIsActiveNumberedAndLast) {
    const InstanceCopyRow& row = GetParam();
    const std::string name = row.infix ? Olm_InstanceCopy::Name(row.primType, row.number, row.infix)
                                       : Olm_InstanceCopy::Name(row.primType, row.number);
    EXPECT_EQ(name, row.expected);
    data.AddBlock(name.c_str(), "RKO_ADV")->AddAttribute("STALE", "1");  // replaced by the copy
    Olm_Block* copy = Olm_InstanceCopy::Make(data, *adv, name, row.number);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_EQ(data.GetBlkList().back(), copy);
    EXPECT_TRUE(copy->IsActive());
    EXPECT_FALSE(adv->IsActive());
    EXPECT_EQ(copy->GetAttributeValue("STALE"), "");
    EXPECT_EQ(copy->GetAttributeValue("OLMW_ONLY_INST_NUM"), std::to_string(row.number).c_str());
    EXPECT_TRUE(copy->IsAttributeActive("OLMW_ONLY_INST_NUM"));
    EXPECT_EQ(adv->GetAttributeValue("OLMW_ONLY_INST_NUM"), "");
}

INSTANTIATE_TEST_SUITE_P(Names, Olm_InstanceCopyTest,
                         ::testing::Values(InstanceCopyRow{"Inst", "RKO_ADV", 2, nullptr, "RKO_ADV_INST2"},
                                           InstanceCopyRow{"Lane", "HSX", 1, "_LANE", "HSX_LANE1"},
                                           InstanceCopyRow{"Wide", "OSER", 128, nullptr, "OSER_INST128"}),
                         [](const auto& info) { return std::string(info.param.name); });
