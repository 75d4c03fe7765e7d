#include "translator/Olm_Translator.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A name with the reasons the two languages give against it ("" when legal).
struct PortName {
    std::string name, vhdl, verilog;
};

void PrintTo(const PortName& c, std::ostream* os) { *os << "[" << c.name << "]"; }

class PortNameRules : public testing::TestWithParam<PortName> {};

TEST_P(PortNameRules, VerdictAndReasonOfBothLanguages) {
    for (const auto& [rule, reason] : {std::pair{&Olm_VhdlTranslator::IsPortnameLegal, GetParam().vhdl},
                                       std::pair{&Olm_VerilogTranslator::IsPortnameLegal, GetParam().verilog}}) {
        Pal::String name(GetParam().name);
        Pal::String given;
        EXPECT_EQ(rule(name, given), reason.empty());
        EXPECT_EQ(given.str(), reason);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, PortNameRules,
    testing::ValuesIn(std::vector<PortName>{
        {"CLK0", "", ""}, {"clk_in_1", "", ""}, {"", "is empty", "is empty"},
        {"0clk", "begins with a digit", "begins with a digit"}, {"_clk", "begins with an underscore", ""},
        {"_", "begins with an underscore", ""}, {"clk_", "ends with an underscore", ""},
        {"clk__in", "contains two underscores in a row", ""}, {"clk$", "contains the character '$'", ""},
        {"$clk", "contains the character '$'", "begins with a dollar sign"},
        {"a,b", "contains the character ','", "contains the character ','"},
        {"a b", "contains a space", "contains a space"}, {"clk ", "contains a space", "contains a space"},
        {"a\tb", "contains a tab", "contains a tab"},
        {"a-b", "contains the character '-'", "contains the character '-'"},
        {"clk[0]", "contains the character '['", "contains the character '['"},
        {"1a,b", "contains the character ','", "contains the character ','"}, {"a\xe9", "", "contains the byte 0xE9"},
        {"a\xd7", "contains the byte 0xD7", "contains the byte 0xD7"},
        {"a\x01", "contains the byte 0x01", "contains the byte 0x01"}, {"entity", "is a reserved word", ""},
        {"ENTITY", "is a reserved word", ""}, {"Fairness", "is a reserved word", ""},
        {"module", "", "is a reserved word"}, {"Module", "", ""}, {"wire", "", "is a reserved word"}, {"WIRE", "", ""},
        {"and", "is a reserved word", "is a reserved word"}, {"xor", "is a reserved word", "is a reserved word"},
        {"logic", "", ""},  // a later language's keyword, not one of these two
        {"PATHPULSE$in", "contains the character '$'", "begins with PATHPULSE$, which names pulse limits"},
        {"pathpulse$in", "contains the character '$'", ""},
        {"\\clk\\", "is an extended identifier; the wizard writes plain identifiers only",
         "is an escaped identifier; the wizard writes plain identifiers only"},
        {std::string(300, 'x'), "", ""},
    }));

TEST(PortNameRule, ALegalNameLeavesNameAndReasonAlone) {
    Pal::String name("data_out");
    Pal::String reason("untouched");
    EXPECT_TRUE(Olm_VhdlTranslator::IsPortnameLegal(name, reason));
    EXPECT_TRUE(Olm_VerilogTranslator::IsPortnameLegal(name, reason));
    EXPECT_EQ(reason, "untouched");
    EXPECT_EQ(name, "data_out");
}

// Block properties the summary and the HDL leave out: the internal and flag
// prefixes (spelled as the wizard spells them), the primitive type, and the
// display name of transceiver blocks.
struct Property {
    const char* name;
    const char* primType;
    bool isTransceiver;
    bool ignored;
};

void PrintTo(const Property& c, std::ostream* os) { *os << c.name << " of " << c.primType; }

class BlockPropertyFilter : public testing::TestWithParam<Property> {};

TEST_P(BlockPropertyFilter, IgnoresOnlyWhatTheWizardKeepsToItself) {
    Pal::String name(GetParam().name);
    EXPECT_EQ(Olm_Translator::IsBlkPropIgnored(name, GetParam().primType, GetParam().isTransceiver), GetParam().ignored);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, BlockPropertyFilter,
    testing::Values(Property{"OLMW_ONLY_INST_NUM", "TKL_ADV", false, true}, Property{"OLMW_ONLY", "HSXA", true, true},
                    Property{"OLM_CLKBUF", "TKL_ADV", false, true}, Property{"OLM_", "HSXA", true, true},
                    Property{"PROP_HSX10", "TKL_ADV", false, true}, Property{"PROP_PINISACTIVE", "HSXA", true, true},
                    Property{"CLKOUT_DIVIDE", "TKL_ADV", false, false}, Property{"X_OLM_CLKBUF", "TKL_ADV", false, false},
                    Property{"OLMW", "TKL_ADV", false, false}, Property{"OLM", "TKL_ADV", false, false},
                    Property{"PROP", "TKL_ADV", false, false}, Property{"olm_clkbuf", "TKL_ADV", false, false},
                    Property{"LOC", "TKL_ADV", false, false}, Property{"", "TKL_ADV", false, false},
                    Property{"PrimType", "TKL_ADV", false, true}, Property{"HSX_DISPLAY_NAME", "HSXA", true, true},
                    Property{"HSX_DISPLAY_NAME", "GT_LANE", true, true},  // any transceiver block
                    Property{"HSX_DISPLAY_NAME", "hsxb", false, true},   // a transceiver primitive
                    Property{"HSX_DISPLAY_NAME", "TKL_ADV", false, false}));

}  // namespace
