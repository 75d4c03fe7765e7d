// The five installed data files: every one reads without a single error, the
// loader finds them in the build tree's data folder, and they hold what the
// wizards rely on.

#include "ReaderTestUtil.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataFileReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class InstalledData : public ::testing::TestWithParam<const char*> {};

TEST_P(InstalledData, ReadsWithoutErrors) {
    const std::string path = std::string(OLM_SOURCE_DATA_DIR) + "/" + GetParam();
    olmtest::MsgCapture capture;
    Olm_DataFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str()));
    Olm_WizData wd;
    EXPECT_TRUE(reader.ReadFile(&wd));
    EXPECT_EQ(reader.GetErrorCount(), 0);
    EXPECT_TRUE(capture.Texts().empty()) << capture.Texts().front();
    EXPECT_FALSE(reader.IsAborted());
    EXPECT_EQ(wd.GetVersion(), "1.0");
    EXPECT_FALSE(wd.GetBlkList().empty());
    EXPECT_FALSE(wd.GetSigList().empty());
    // Every pin's signal is a signal of the file.
    for (Olm_Block* block : wd.GetBlkList()) {
        for (Olm_Pin* pin : block->GetPinList()) {
            if (pin->GetSigName().IsEmpty()) continue;
            EXPECT_NE(wd.GetNamedSignal(pin->GetSigName()), nullptr)
                << GetParam() << ": " << block->GetName().str() << "." << pin->GetName().str();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, InstalledData,
                         ::testing::Values("olm_tkl.dev", "olm_hsx.dev", "olm_hsx11.dev", "olm_dsp.dev",
                                           "olm_ssio.dev"));

// What the wizards rely on in each installed file, loaded through the
// device-data library from the build tree's data folder.
struct Content {
    const char* wizType;
    const char* family;
    const char* primitive;
    std::vector<const char*> pins;
    std::vector<const char*> attributes;  // "NAME" or "NAME={a|b}" for its possible values
};

TEST(InstalledContent, HoldsWhatTheWizardsUse) {
    ::unsetenv("OLMW_DATA_DIR");
    const Content contents[] = {
        {"tkl_pll", "korvo5", "TKL", {}, {"OLMW_ONLY_KDIV={NONE|SINGLE|PARALLEL}"}},
        {"tkl_pll", "korvo5", "TKL_SP", {}, {"OLMW_ONLY_KDIV={NONE|SINGLE|PARALLEL}"}},
        {"tkl_pll", "korvo5", "TKL_ADV", {},
         {"OLMW_ONLY_KDIV={NONE|SINGLE|PARALLEL}", "OLM_TKL2PLL_CLKOUT", "OLM_PLL2TKL_CLKOUT"}},
        {"tkl_pll", "korvo5", "KDIV", {}, {}},
        {"tkl_pll", "korvo5", "RKO_BASE", {"CLKIN"},
         {"FBCLKOUT_MULT", "FBCLKOUT_PHASE", "OLMW_ONLY_PLL_FB_SOURCE"}},
        {"tkl_pll", "korvo5", "RKO_ADV", {"CLKIN1", "CLKIN2", "CLKFBIN", "CLKFBOUT", "RST", "LOCKED", "CLKOUT0", "CLKOUT5"},
         {"CLKFBOUT_MULT={OLMRANGE=2:64}", "REFCLK_DIV={OLMRANGE=1:56}", "OLMW_ONLY_VCO_FREQ={OLMRANGE=400.0:1000.0}",
          "OLMW_ONLY_PFD_FREQ={OLMRANGE=10.0:450.0}", "CLKOUT5_DIVIDE={OLMRANGE=1:128}", "CLKFBOUT_PHASE",
          "CLKOUT3_DUTY", "OLMW_ONLY_PLL_FBSRC_CLKOUT", "LOC"}},
        {"hsx", "korvo5", "HSX3", {"TXDATA"}, {"HSX_DISPLAY_NAME"}},
        {"hsx", "korvo5", "HSX10", {"TXSWING"}, {}},
        {"dsp_mult", "", "DSP", {"A", "B", "P", "CLK", "CE", "RST"},
         {"OPERATION_MODE={MULTIPLY|MULTIPLY_ACCUMULATE|ADD_SUBTRACT|ACCUMULATE|MULTIPLEXER|COUNTER}", "A_WIDTH",
          "B_WIDTH", "A_SIGNED", "B_SIGNED", "A_PIPE", "B_PIPE", "M_PIPE", "P_PIPE"}},
        {"ssio_nonmem", "", "OSER", {}, {}},
        {"ssio_nonmem", "", "ISER", {}, {}},
        {"ssio_nonmem", "", "IDLY", {}, {}},
    };
    for (const Content& c : contents) {
        SCOPED_TRACE(std::string(c.wizType) + " " + c.primitive);
        olmtest::MsgCapture capture;
        Olm_Data data;
        ASSERT_TRUE(data.ReadDataFile(c.wizType, c.family));
        EXPECT_TRUE(capture.Texts().empty());
        Olm_Block* block = data.GetWizData()->GetPrimitiveBlock(c.primitive);
        ASSERT_NE(block, nullptr);
        for (const char* pin : c.pins) EXPECT_NE(block->GetNamedPin(pin), nullptr) << pin;
        for (const std::string attribute : c.attributes) {
            const std::size_t eq = attribute.find("={");
            Olm_Attribute* a = block->GetNamedAttribute(attribute.substr(0, eq).c_str());
            ASSERT_NE(a, nullptr) << attribute;
            if (eq != std::string::npos) {
                EXPECT_EQ("{" + dftest::Possible(a) + "}", attribute.substr(eq + 1));
            }
        }
    }
}

TEST(InstalledContent, ClockAndTransceiverDetails) {
    ::unsetenv("OLMW_DATA_DIR");
    Olm_Data data;
    ASSERT_TRUE(data.ReadDataFile("tkl_pll", "korvo5"));
    Olm_WizData* wd = data.GetWizData();
    Olm_Block* adv = wd->GetPrimitiveBlock("RKO_ADV");
    EXPECT_EQ(adv->GetNamedPin("CLKIN"), nullptr);
    EXPECT_TRUE(wd->GetNamedSignal(adv->GetNamedPin("CLKIN1")->GetSigName())->IsExternal());
    EXPECT_EQ(adv->GetNamedPin("CLKIN2")->GetAttributeValue("OLM_PIN_GND_IN_DATAFILE"), "TRUE");
    EXPECT_NE(wd->GetActiveBlockInstNum("TKL_ADV", 1), nullptr);

    ASSERT_TRUE(data.ReadDataFile("hsx", "korvo5"));
    wd = data.GetWizData();
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX3")->SupportsHSX3());
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX10")->SupportsHSX10());
    EXPECT_FALSE(wd->GetPrimitiveBlock("HSX10")->SupportsHSX3());
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX3")->GetNamedPin("TXDATA")->SupportsDataWidth());
    EXPECT_EQ(wd->GetPrimitiveBlock("HSX10")->GetNamedPin("TXSWING")->GetAttributeValue("OLM_PIN_TIE"), "3'b100");

    ASSERT_TRUE(data.ReadDataFile("hsx", "korvo4"));
    wd = data.GetWizData();
    ASSERT_EQ(wd->GetBlkList().size(), 2u);
    for (Olm_Block* lane : wd->GetBlkList()) {
        EXPECT_TRUE(lane->SupportsHSX11());
        EXPECT_TRUE(lane->GetNamedPin("RXDATA")->SupportsDataWidth());
    }
    EXPECT_EQ(wd->GetBlkList()[1]->GetAttributeValue("HSX_DISPLAY_NAME"), "Lane1");
}

}  // namespace
