// The five installed data files: every one reads without a single error, the
// loader finds them in the build tree's data folder, and they hold what the
// wizards rely on.

#include "ReaderTestUtil.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataFileReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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
    for (Olm_Block* block : wd.GetBlkList())
        for (Olm_Pin* pin : block->GetPinList())
            if (!pin->GetSigName().IsEmpty())
                EXPECT_NE(wd.GetNamedSignal(pin->GetSigName()), nullptr)
                    << GetParam() << ": " << block->GetName().str() << "." << pin->GetName().str();
}

INSTANTIATE_TEST_SUITE_P(Files, InstalledData,
                         ::testing::Values("olm_tkl.dev", "olm_hsx.dev", "olm_hsx11.dev", "olm_dsp.dev",
                                           "olm_ssio.dev"));

// Loads through the device-data library from the build tree's data folder.
class Installed : public ::testing::Test {
protected:
    void SetUp() override { ::unsetenv("OLMW_DATA_DIR"); }
    Olm_WizData* Load(const char* wizType, const char* family) {
        olmtest::MsgCapture capture;
        EXPECT_TRUE(m_data.ReadDataFile(wizType, family)) << (capture.Texts().empty() ? "" : capture.Texts()[0]);
        EXPECT_TRUE(capture.Texts().empty());
        return m_data.GetWizData();
    }
    static std::string Possible(Olm_Block* block, const char* attribute) {
        Olm_Attribute* a = block->GetNamedAttribute(attribute);
        return a ? dftest::Possible(a) : "<none>";
    }
    Olm_Data m_data;
};

TEST_F(Installed, ClockManagerData) {
    Olm_WizData* wd = Load("tkl_pll", "korvo5");
    ASSERT_NE(wd, nullptr);
    for (const char* prim : {"TKL", "TKL_SP", "TKL_ADV", "RKO_BASE", "RKO_ADV", "KDIV"})
        EXPECT_NE(wd->GetPrimitiveBlock(prim), nullptr) << prim;
    for (const char* prim : {"TKL", "TKL_SP", "TKL_ADV"})
        EXPECT_EQ(Possible(wd->GetPrimitiveBlock(prim), "OLMW_ONLY_KDIV"), "NONE|SINGLE|PARALLEL");
    Olm_Block* tklAdv = wd->GetPrimitiveBlock("TKL_ADV");
    EXPECT_NE(tklAdv->GetNamedAttribute("OLM_TKL2PLL_CLKOUT"), nullptr);
    EXPECT_NE(tklAdv->GetNamedAttribute("OLM_PLL2TKL_CLKOUT"), nullptr);
    EXPECT_NE(wd->GetActiveBlockInstNum("TKL_ADV", 1), nullptr);

    Olm_Block* base = wd->GetPrimitiveBlock("RKO_BASE");
    EXPECT_NE(base->GetNamedPin("CLKIN"), nullptr);
    EXPECT_NE(base->GetNamedAttribute("FBCLKOUT_MULT"), nullptr);
    EXPECT_NE(base->GetNamedAttribute("FBCLKOUT_PHASE"), nullptr);
    EXPECT_NE(base->GetNamedAttribute("OLMW_ONLY_PLL_FB_SOURCE"), nullptr);

    Olm_Block* adv = wd->GetPrimitiveBlock("RKO_ADV");
    for (const char* pin : {"CLKIN1", "CLKFBIN", "CLKFBOUT", "RST", "LOCKED", "CLKOUT0", "CLKOUT5"})
        EXPECT_NE(adv->GetNamedPin(pin), nullptr) << pin;
    EXPECT_EQ(adv->GetNamedPin("CLKIN"), nullptr);
    EXPECT_EQ(Possible(adv, "CLKFBOUT_MULT"), "OLMRANGE=2:64");
    EXPECT_EQ(Possible(adv, "DIVCLK_DIVIDE"), "OLMRANGE=1:56");
    EXPECT_EQ(Possible(adv, "OLMW_ONLY_VCO_FREQ"), "OLMRANGE=400:1000");
    EXPECT_EQ(Possible(adv, "OLMW_ONLY_PFD_FREQ"), "OLMRANGE=10:450");
    EXPECT_EQ(Possible(adv, "CLKOUT5_DIVIDE"), "OLMRANGE=1:128");
    EXPECT_NE(adv->GetNamedAttribute("CLKFBOUT_PHASE"), nullptr);
    EXPECT_NE(adv->GetNamedAttribute("CLKOUT3_DUTY_CYCLE"), nullptr);
    EXPECT_NE(adv->GetNamedAttribute("OLMW_ONLY_PLL_FBSRC_CLKOUT"), nullptr);
    EXPECT_NE(adv->GetNamedAttribute("LOC"), nullptr);
    Olm_Signal* clkin = wd->GetNamedSignal(adv->GetNamedPin("CLKIN1")->GetSigName());
    ASSERT_NE(clkin, nullptr);
    EXPECT_TRUE(clkin->IsExternal());
    EXPECT_EQ(adv->GetNamedPin("CLKIN2")->GetAttributeValue("OLM_PIN_GND_IN_DATAFILE"), "TRUE");
}

TEST_F(Installed, TransceiverData) {
    Olm_WizData* wd = Load("hsx", "korvo5");
    ASSERT_NE(wd, nullptr);
    ASSERT_NE(wd->GetPrimitiveBlock("HSX3"), nullptr);
    ASSERT_NE(wd->GetPrimitiveBlock("HSX10"), nullptr);
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX3")->SupportsHSX3());
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX10")->SupportsHSX10());
    EXPECT_FALSE(wd->GetPrimitiveBlock("HSX10")->SupportsHSX3());
    EXPECT_TRUE(wd->GetPrimitiveBlock("HSX3")->GetNamedPin("TXDATA")->SupportsDataWidth());
    EXPECT_NE(wd->GetPrimitiveBlock("HSX3")->GetNamedAttribute("HSX_DISPLAY_NAME"), nullptr);
    EXPECT_EQ(wd->GetPrimitiveBlock("HSX10")->GetNamedPin("TXDIFFCTRL")->GetAttributeValue("OLM_PIN_TIE"), "3'b100");

    wd = Load("hsx", "korvo4");
    ASSERT_NE(wd, nullptr);
    ASSERT_EQ(wd->GetBlkList().size(), 2u);
    for (Olm_Block* lane : wd->GetBlkList()) {
        EXPECT_TRUE(lane->SupportsHSX11());
        EXPECT_TRUE(lane->GetNamedPin("RXDATA")->SupportsDataWidth());
    }
    EXPECT_EQ(wd->GetBlkList()[1]->GetAttributeValue("HSX_DISPLAY_NAME"), "Lane1");
}

TEST_F(Installed, DspAndSourceSynchronousData) {
    Olm_WizData* wd = Load("dsp_mult", "");
    ASSERT_NE(wd, nullptr);
    Olm_Block* dsp = wd->GetPrimitiveBlock("DSP");
    ASSERT_NE(dsp, nullptr);
    for (const char* pin : {"A", "B", "P", "CLK", "CE", "RST"}) EXPECT_NE(dsp->GetNamedPin(pin), nullptr) << pin;
    EXPECT_TRUE(dsp->GetNamedPin("A")->HasBus());
    EXPECT_TRUE(dsp->GetNamedPin("P")->HasBus());
    EXPECT_EQ(Possible(dsp, "OPERATION_MODE"),
              "MULTIPLY|MULTIPLY_ACCUMULATE|ADD_SUBTRACT|ACCUMULATE|MULTIPLEXER|COUNTER");
    for (const char* attr : {"A_WIDTH", "B_WIDTH", "A_SIGNED", "B_SIGNED", "AREG", "BREG", "MREG", "PREG"})
        EXPECT_NE(dsp->GetNamedAttribute(attr), nullptr) << attr;

    wd = Load("ssio_nonmem", "");
    ASSERT_NE(wd, nullptr);
    for (const char* prim : {"OSER", "ISER", "IDLY"}) EXPECT_NE(wd->GetPrimitiveBlock(prim), nullptr) << prim;
}

}  // namespace
