#include "translator/Olm_Translator.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Verdict {
    bool legal;
    std::string reason;
};

Verdict Check(bool (*rule)(Pal::String&, Pal::String&), const std::string& name) {
    Pal::String n(name);
    Pal::String reason;
    const bool legal = rule(n, reason);
    return {legal, reason.str()};
}

struct Case {
    std::string name;
    std::string vhdl;     // expected reason, "" for a legal name
    std::string verilog;  // expected reason, "" for a legal name
};

}  // namespace

TEST(PortNameRules, VerdictsAndReasonsOfBothLanguages) {
    const Case cases[] = {
        {"CLK0", "", ""},
        {"clk_in_1", "", ""},
        {"", "is empty", "is empty"},
        {"0clk", "begins with a digit", "begins with a digit"},
        {"_clk", "begins with an underscore", ""},
        {"_", "begins with an underscore", ""},
        {"clk_", "ends with an underscore", ""},
        {"clk__in", "contains two underscores in a row", ""},
        {"clk$", "contains the character '$'", ""},
        {"$clk", "contains the character '$'", "begins with a dollar sign"},
        {"a,b", "contains the character ','", "contains the character ','"},
        {"a b", "contains a space", "contains a space"},
        {"clk ", "contains a space", "contains a space"},
        {"a\tb", "contains a tab", "contains a tab"},
        {"a-b", "contains the character '-'", "contains the character '-'"},
        {"clk[0]", "contains the character '['", "contains the character '['"},
        {"1a,b", "contains the character ','", "contains the character ','"},
        {"a\xe9", "", "contains the byte 0xE9"},
        {"a\xd7", "contains the byte 0xD7", "contains the byte 0xD7"},
        {"a\x01", "contains the byte 0x01", "contains the byte 0x01"},
        {"entity", "is a reserved word", ""},
        {"ENTITY", "is a reserved word", ""},
        {"Fairness", "is a reserved word", ""},
        {"module", "", "is a reserved word"},
        {"Module", "", ""},
        {"wire", "", "is a reserved word"},
        {"WIRE", "", ""},
        {"and", "is a reserved word", "is a reserved word"},
        {"xor", "is a reserved word", "is a reserved word"},
        {"logic", "", ""},  // a later language's keyword, not one of these two
        {"PATHPULSE$in", "contains the character '$'", "begins with PATHPULSE$, which names pulse limits"},
        {"pathpulse$in", "contains the character '$'", ""},
        {"\\clk\\", "is an extended identifier; the wizard writes plain identifiers only",
         "is an escaped identifier; the wizard writes plain identifiers only"},
        {std::string(300, 'x'), "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("name [" + c.name + "]");
        const Verdict vhdl = Check(&Olm_VhdlTranslator::IsPortnameLegal, c.name);
        EXPECT_EQ(vhdl.legal, c.vhdl.empty());
        EXPECT_EQ(vhdl.reason, c.vhdl);
        const Verdict verilog = Check(&Olm_VerilogTranslator::IsPortnameLegal, c.name);
        EXPECT_EQ(verilog.legal, c.verilog.empty());
        EXPECT_EQ(verilog.reason, c.verilog);
    }
}

TEST(PortNameRules, ALegalNameLeavesTheReasonAlone) {
    Pal::String name("data_out");
    Pal::String reason("untouched");
    EXPECT_TRUE(Olm_VhdlTranslator::IsPortnameLegal(name, reason));
    EXPECT_TRUE(Olm_VerilogTranslator::IsPortnameLegal(name, reason));
    EXPECT_EQ(reason, "untouched");
    EXPECT_EQ(name, "data_out");
}

TEST(BlockPropertyFilter, InternalAndFlagPropertiesAreIgnored) {
    const char* ignored[] = {"OLMW_ONLY_INST_NUM", "OLMW_ONLY", "OLM_CLKBUF", "OLM_", "PROP_HSX10", "PROP_PINISACTIVE"};
    for (const char* name : ignored) {
        Pal::String prop(name);
        EXPECT_TRUE(Olm_Translator::IsBlkPropIgnored(prop, "TKL_ADV", false)) << name;
        EXPECT_TRUE(Olm_Translator::IsBlkPropIgnored(prop, "HSXA", true)) << name;
    }
    // Only the prefixes count, spelled as the wizard spells them.
    const char* kept[] = {"CLKOUT_DIVIDE", "X_OLM_CLKBUF", "OLMW", "OLM", "PROP", "olm_clkbuf", "LOC"};
    for (const char* name : kept) {
        Pal::String prop(name);
        EXPECT_FALSE(Olm_Translator::IsBlkPropIgnored(prop, "TKL_ADV", false)) << name;
    }
}

TEST(BlockPropertyFilter, PerPrimitiveExceptions) {
    Pal::String display("HSX_DISPLAY_NAME");
    EXPECT_TRUE(Olm_Translator::IsBlkPropIgnored(display, "HSXA", true));
    EXPECT_TRUE(Olm_Translator::IsBlkPropIgnored(display, "GT_LANE", true));  // any transceiver block
    EXPECT_TRUE(Olm_Translator::IsBlkPropIgnored(display, "hsxb", false));    // a transceiver primitive
    EXPECT_FALSE(Olm_Translator::IsBlkPropIgnored(display, "TKL_ADV", false));

    Pal::String primType("PrimType");
    EXPECT_TRUE(Olm_Translator::IsBlkPropIgnored(primType, "TKL_ADV", false));
    Pal::String empty;
    EXPECT_FALSE(Olm_Translator::IsBlkPropIgnored(empty, "TKL_ADV", false));
}
