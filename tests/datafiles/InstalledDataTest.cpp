// The five installed data files, loaded through the device-data library from
// the build tree's data folder: each reads without a message, every pin's
// signal is a signal of the file, and the blocks hold what the wizards use.

#include "DataDir.h"
#include "ReaderTestUtil.h"

#include "datafiles/Olm_Data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A primitive block of a file: pins it has, and attributes as "NAME" or
// "NAME={a|b}" with their possible values.
struct Primitive {
    const char* type;
    std::vector<const char*> pins;
    std::vector<std::string> attributes;
};

struct Installed {
    const char* wizType;
    const char* family;
    std::vector<Primitive> primitives;
};

class InstalledData : public ::testing::TestWithParam<Installed> {
protected:
    olmtest::DataDirOverride m_buildTree{""};
    Olm_Data m_data;
};

TEST_P(InstalledData, ReadsCleanlyAndHoldsWhatTheWizardsUse) {
    olmtest::MsgCapture capture;
    ASSERT_TRUE(m_data.ReadDataFile(GetParam().wizType, GetParam().family));
    EXPECT_TRUE(capture.Texts().empty());
    Olm_WizData* wd = m_data.GetWizData();
    EXPECT_EQ(wd->GetVersion(), "1.0");
    EXPECT_FALSE(wd->GetSigList().empty());
    for (Olm_Block* block : wd->GetBlkList()) {
        for (Olm_Pin* pin : block->GetPinList()) {
            if (!pin->GetSigName().IsEmpty()) {
                EXPECT_NE(wd->GetNamedSignal(pin->GetSigName()), nullptr) << block->GetName().str() << "." << pin->GetName().str();
            }
        }
    }
    for (const Primitive& p : GetParam().primitives) {
        Olm_Block* block = wd->GetPrimitiveBlock(p.type);
        ASSERT_NE(block, nullptr) << p.type;
        for (const char* pin : p.pins) EXPECT_NE(block->GetNamedPin(pin), nullptr) << p.type << "." << pin;
        for (const std::string& attribute : p.attributes) {
            const std::size_t eq = attribute.find("={");
            Olm_Attribute* a = block->GetNamedAttribute(attribute.substr(0, eq).c_str());
            ASSERT_NE(a, nullptr) << p.type << "." << attribute;
            if (eq != std::string::npos) {
                EXPECT_EQ("{" + olmtest::Possible(*a) + "}", attribute.substr(eq + 1));
            }
        }
    }
}

const std::string kKdiv = "OLMW_ONLY_KDIV={NONE|SINGLE|PARALLEL}";

INSTANTIATE_TEST_SUITE_P(
    Files, InstalledData,
    ::testing::Values(
        Installed{"tkl_pll", "korvo5",
                  {{"TKL", {}, {kKdiv}}, {"TKL_SP", {}, {kKdiv}}, {"KDIV", {}, {}},
                   {"TKL_ADV", {}, {kKdiv, "OLM_TKL2PLL_CLKOUT", "OLM_PLL2TKL_CLKOUT"}},
                   {"RKO_BASE", {"CLKIN"}, {"FBCLKOUT_MULT", "FBCLKOUT_PHASE", "OLMW_ONLY_PLL_FB_SOURCE"}},
                   {"RKO_ADV", {"CLKIN1", "CLKIN2", "CLKFBIN", "CLKFBOUT", "RST", "LOCKED", "CLKOUT0", "CLKOUT5"},
                    {"CLKFBOUT_MULT={OLMRANGE=2:64}", "REFCLK_DIV={OLMRANGE=1:56}",
                     "OLMW_ONLY_VCO_FREQ={OLMRANGE=400.0:1000.0}", "OLMW_ONLY_PFD_FREQ={OLMRANGE=10.0:450.0}",
                     "CLKOUT5_DIVIDE={OLMRANGE=1:128}", "CLKFBOUT_PHASE", "CLKOUT3_DUTY", "OLMW_ONLY_PLL_FBSRC_CLKOUT",
                     "LOC"}}}},
        Installed{"hsx", "korvo5", {{"HSX3", {"TXDATA"}, {"HSX_DISPLAY_NAME"}}, {"HSX10", {"TXSWING"}, {}}}},
        Installed{"hsx", "korvo4", {}},
        Installed{"dsp_mult", "",
                  {{"DSP", {"A", "B", "P", "CLK", "CE", "RST"},
                    {"OPERATION_MODE={MULTIPLY|MULTIPLY_ACCUMULATE|ADD_SUBTRACT|ACCUMULATE|MULTIPLEXER|COUNTER}",
                     "A_WIDTH", "B_WIDTH", "A_SIGNED", "B_SIGNED", "A_PIPE", "B_PIPE", "M_PIPE", "P_PIPE"}}}},
        Installed{"ssio_nonmem", "", {{"OSER", {}, {}}, {"ISER", {}, {}}, {"IDLY", {}, {}}}}));

// Ties, flags and instances the clock-manager and transceiver wizards rely on.
TEST_F(InstalledData, ClockAndTransceiverDetails) {
    ASSERT_TRUE(m_data.ReadDataFile("tkl_pll", "korvo5"));
    Olm_WizData* wd = m_data.GetWizData();
    Olm_Block* adv = wd->GetPrimitiveBlock("RKO_ADV");
    EXPECT_EQ(adv->GetNamedPin("CLKIN"), nullptr);
    EXPECT_TRUE(wd->GetNamedSignal(adv->GetNamedPin("CLKIN1")->GetSigName())->IsExternal());
    EXPECT_EQ(adv->GetNamedPin("CLKIN2")->GetAttributeValue("OLM_PIN_GND_IN_DATAFILE"), "TRUE");
    EXPECT_NE(wd->GetActiveBlockInstNum("TKL_ADV", 1), nullptr);

    ASSERT_TRUE(m_data.ReadDataFile("hsx", "korvo5"));
    wd = m_data.GetWizData();
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX3")->SupportsHSX3());
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX10")->SupportsHSX10());
    EXPECT_FALSE(wd->GetPrimitiveBlock("HSX10")->SupportsHSX3());
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX3")->GetNamedPin("TXDATA")->SupportsDataWidth());
    EXPECT_EQ(wd->GetPrimitiveBlock("HSX10")->GetNamedPin("TXSWING")->GetAttributeValue("OLM_PIN_TIE"), "3'b100");

    ASSERT_TRUE(m_data.ReadDataFile("hsx", "korvo4"));
    wd = m_data.GetWizData();
    ASSERT_EQ(wd->GetBlkList().size(), 2u);
    for (Olm_Block* lane : wd->GetBlkList()) {
        EXPECT_TRUE(lane->SupportsHSX11());
        EXPECT_TRUE(lane->GetNamedPin("RXDATA")->SupportsDataWidth());
    }
    EXPECT_EQ(wd->GetBlkList()[1]->GetAttributeValue("HSX_DISPLAY_NAME"), "Lane1");
}

}  // namespace
