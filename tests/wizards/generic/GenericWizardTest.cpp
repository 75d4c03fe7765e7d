// The generic wizard on every installed data file: a batch run in both
// languages, with several instances of a block, and the HDL it writes
// passes the HDL tools.
#include "DataDir.h"
#include "GenericWizard.h"
#include "WizardBatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

struct DataCase {
    const char* type;
    const char* family;
    const char* options;   // more instances of a block, or none
    const char* features;  // what the run reports it made
    const char* settings;  // a line of the summary on a type's settings
};

void PrintTo(const DataCase& c, std::ostream* os) { *os << c.type << " on " << c.family; }

class GenericWizard : public ::testing::TestWithParam<DataCase> {};

TEST_P(GenericWizard, WritesHdlThatTheToolsTake) {
    const DataCase& c = GetParam();
    const olmtest::ScratchDir dir;
    for (const char* hdl : {"verilog", "vhdl"}) {
        const Olm_RunOutcome outcome = olmtest::RunBatch(dir, {.wizard = "generic", .options = c.options, .hdl = hdl,
                                                               .family = c.family, .design = "top", .dataType = c.type})
                                           .outcome;
        ASSERT_TRUE(outcome.Succeeded()) << outcome.failure;
        EXPECT_NE(std::find(outcome.features.begin(), outcome.features.end(), c.features), outcome.features.end())
            << c.features;
        EXPECT_NE(std::find(outcome.features.begin(), outcome.features.end(), c.settings), outcome.features.end())
            << c.settings;
        olmtest::ExpectHdlWrittenAgain(dir.Path() / "out", "top", hdl);
    }
    for (const std::string& finding : olmtest::HdlToolFindings(dir.Path() / "out", "top")) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(
    InstalledData, GenericWizard,
    ::testing::Values(
        DataCase{"tkl_any", "korvo5", "BlockProp: RKO_ADV.*.OLMW_ONLY_INST_COUNT=3;\nBlockProp: TKL.*.OLMW_ONLY_INST_COUNT=0;\n",
                 "From the installed data of tkl_any: 1 TKL_SP, 1 TKL_ADV, 1 RKO_BASE, 3 RKO_ADV, 1 KDIV, 1 KBUFG, "
                 "1 KBUFGCE, 1 KBUFGMUX, 1 KOBUF.",
                 "3 RKO_ADV: the data's defaults."},
        DataCase{"dsp_any", "korvo5", "BlockProp: DSP.*.OLMW_ONLY_INST_COUNT=2;\nBlockProp: DSP.*.A_WIDTH=12;\n",
                 "From the installed data of dsp_any: 2 DSP.", "2 DSP: Operand A width 12 bits."},
        DataCase{"ssio_any", "korvo5", "BlockProp: ISER.*.DATA_RATE=SDR;\n",
                 "From the installed data of ssio_any: 1 OSER, 1 ISER, 1 IDLY, 1 IDLYCTRL.",
                 "1 ISER: Data rate SDR."},
        DataCase{"hsx", "korvo5", "", "From the installed data of hsx: 1 HSX3, 1 HSX10.", "1 HSX10: the data's defaults."},
        DataCase{"hsx", "korvo4", "", "From the installed data of hsx: 1 HSX11.", "1 HSX11: the data's defaults."}),
    [](const ::testing::TestParamInfo<DataCase>& info) {
        return std::string(info.param.type) + "_" + info.param.family;
    });

// The pages show the data's labels and units, never an internal name, and
// no field for a limit of the device.
TEST_P(GenericWizard, LabelsItsFieldsFromTheData) {
    const DataCase& c = GetParam();
    const olmtest::DataDirOverride buildTree("");
    Olm_Data data;
    ASSERT_TRUE(data.ReadDataFile(c.type, c.family));
    Generic::GenericWizard wizard(c.type, true);
    wizard.SetFamily(c.family);
    wizard.DeclareFromData(*data.GetWizData());
    int fields = 0;
    for (const auto& page : wizard.Pages()) {
        for (const Olm_Field* field : page->Fields()) {
            const std::string& label = field->GetLabel();
            SCOPED_TRACE(page->GetBlockType() + "." + field->GetAttribute() + ": " + label);
            ++fields;
            EXPECT_TRUE(label.ends_with(":"));
            if (field->IsPort()) continue;
            EXPECT_EQ(label.find("OLMW_ONLY"), std::string::npos);
            EXPECT_EQ(label.find('_'), std::string::npos);
            for (const char* limit : {"OLMW_ONLY_PFD_FREQ", "OLMW_ONLY_VCO_FREQ", "OLMW_ONLY_FABRIC_FREQ"})
                EXPECT_NE(field->GetAttribute(), limit) << "a device limit is no setting";
        }
    }
    EXPECT_GT(fields, 10);
}

// The I/O data: the clocks get their periods from the bit rate (800 Mb/s DDR,
// 4 bits per word: 400 and 200 MHz) and the delay's reference clock, and the
// net between IDLY and ISER, which the data keeps inside, is no port.
TEST(GenericWizardIo, ClockPeriodsFromTheSettingsAndNoPortForAnInnerNet) {
    const olmtest::ScratchDir dir;
    const Olm_RunOutcome outcome =
        olmtest::RunBatch(dir, {.wizard = "generic", .design = "top", .dataType = "ssio_any"}).outcome;
    ASSERT_TRUE(outcome.Succeeded()) << outcome.failure;
    const std::string pkx = olmtest::ReadFile(dir.File("out/top_olmw.pkx"));
    for (const char* line : {"clock_period CLK = 2.500 ns;", "clock_period CLKWORD = 5.000 ns;",
                             "clock_period REFCLK = 5.000 ns;"})
        EXPECT_TRUE(olmtest::Contains(pkx, line)) << line << "\n" << pkx;
    std::istringstream hdl(olmtest::ReadFile(dir.File("out/top.v")));
    for (std::string line; std::getline(hdl, line);) {
        const bool port = line.find("input") != std::string::npos || line.find("output") != std::string::npos;
        EXPECT_FALSE(port && line.find("DATA_DLY") != std::string::npos) << line;
    }
}

}  // namespace
