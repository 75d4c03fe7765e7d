// The generic wizard on every installed data file: a batch run in both
// languages, with several instances of a block, and the HDL it writes
// passes the HDL tools.
#include "WizardBatch.h"

#include <gtest/gtest.h>

namespace {

struct DataCase {
    const char* type;
    const char* family;
    const char* options;   // more instances of a block, or none
    const char* features;  // what the run reports it made
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
        EXPECT_EQ(outcome.features.back(), c.features);
        olmtest::ExpectHdlWrittenAgain(dir.Path() / "out", "top", hdl);
    }
    for (const std::string& finding : olmtest::HdlToolFindings(dir.Path() / "out", "top")) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(
    InstalledData, GenericWizard,
    ::testing::Values(
        DataCase{"tkl_any", "korvo5", "BlockProp: RKO_ADV.*.OLMW_ONLY_INST_COUNT=3;\nBlockProp: TKL.*.OLMW_ONLY_INST_COUNT=0;\n",
                 "From the installed data of tkl_any: 1 TKL_SP, 1 TKL_ADV, 1 RKO_BASE, 3 RKO_ADV, 1 KDIV, 1 KBUFG, "
                 "1 KBUFGCE, 1 KBUFGMUX, 1 KOBUF."},
        DataCase{"dsp_any", "korvo5", "BlockProp: DSP.*.OLMW_ONLY_INST_COUNT=2;\n",
                 "From the installed data of dsp_any: 2 DSP."},
        DataCase{"ssio_any", "korvo5", "", "From the installed data of ssio_any: 1 OSER, 1 ISER, 1 IDLY, 1 IDLYCTRL."},
        DataCase{"hsx", "korvo5", "", "From the installed data of hsx: 1 HSX3, 1 HSX10."},
        DataCase{"hsx", "korvo4", "", "From the installed data of hsx: 1 HSX11."}),
    [](const ::testing::TestParamInfo<DataCase>& info) {
        return std::string(info.param.type) + "_" + info.param.family;
    });

}  // namespace
