// Batch runs of the single-PLL wizard: what a run reports and logs, reruns
// from its design file, and port names checked for the HDL at hand. The files
// of the bundled example are compared whole with the golden files.
#include "WizardBatch.h"

#include <gtest/gtest.h>

namespace {

using olmtest::Contains;
using olmtest::ReadFile;

TEST(TklPllBatch, ExampleReportsItsFilesAndFeaturesAndLogsTheSettings) {
    olmtest::ScratchDir dir;
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = "tkl_pll", .options = olmtest::ExampleOptions("tkl_pll_clkgen.opt"), .design = "clkgen"});
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_EQ(run.outcome.files, (std::vector<std::string>{dir.File("out/clkgen.kfz"), dir.File("out/clkgen.v"),
                                                           dir.File("out/clkgen_olmw.pkx")}));
    // 50 MHz in; 200, 100, 25 MHz out: VCO 1000 = 50 * 20 / 1, dividers 5, 10, 40.
    EXPECT_EQ(run.outcome.features, (std::vector<std::string>{"1 RKO_ADV configured for Single PLL.",
                                                              "Input clock 50 MHz; output clocks CLKOUT0 200 MHz, "
                                                              "CLKOUT1 100 MHz, CLKOUT2 25 MHz."}));
    // The log has the run's report even though nothing went wrong.
    EXPECT_TRUE(Contains(run.log, "RKO_ADV.CLKOUT2_DIVIDE = 40  (default 12)")) << run.log;
}

TEST(TklPllBatch, ExistingDesignFileReproducesTheSameFiles) {
    olmtest::ScratchDir dir;
    const std::string options = olmtest::ExampleOptions("tkl_pll_clkgen.opt");
    ASSERT_TRUE(olmtest::RunBatch(dir, {.wizard = "tkl_pll", .options = options, .out = "first", .design = "clkgen"})
                    .outcome.Succeeded());
    // No option file: the requests come back from the design file alone.
    const olmtest::BatchResult again = olmtest::RunBatch(
        dir, {.wizard = "tkl_pll", .out = "second", .design = "clkgen", .kfz = dir.File("first/clkgen.kfz")});
    ASSERT_TRUE(again.outcome.Succeeded()) << again.outcome.failure;
    olmtest::ExpectSameFiles(dir, "first", "second", "clkgen");
}

TEST(TklPllBatch, KeywordPortNamesFollowTheHdl) {
    olmtest::ScratchDir dir;
    // "module" is a Verilog keyword (refused there, see refusals.txt), and legal in VHDL.
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = "tkl_pll", .options = "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=module;\n", .hdl = "vhdl"});
    EXPECT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_TRUE(Contains(ReadFile(dir.File("out/x.vhd")), "module : out std_logic"));
}

}  // namespace
