// Batch runs of the single-PLL wizard: what a run reports and logs, port
// names checked for the HDL at hand, and each clock buffer. The files of the
// bundled example are compared whole with the golden files.
#include "WizardBatch.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(TklPllBatch, KeywordPortNamesFollowTheHdl) {
    olmtest::ScratchDir dir;
    // "module" is a Verilog keyword (refused there, see refusals.txt), and legal in VHDL.
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = "tkl_pll", .options = "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=module;\n", .hdl = "vhdl"});
    EXPECT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_TRUE(Contains(ReadFile(dir.File("out/x.vhd")), "module : out std_logic"));
}

// Each clock buffer of an output: the instance it puts between the PLL
// output and the port (and no other), the input ports it adds, the routing
// line of the constraint template. Both languages pass the HDL tools, and a
// rerun from the design file writes the same files.
struct BufferCase {
    const char* name;
    const char* choice;
    const char* primitive;  // empty: the output drives its port straight
    std::vector<std::string> ports;
    const char* route;      // empty: no routing line
};

class TklPllClockBuffer : public ::testing::TestWithParam<BufferCase> {};

TEST_P(TklPllClockBuffer, ReachesTheWrapperAndTheConstraintTemplate) {
    const BufferCase& c = GetParam();
    olmtest::ScratchDir dir;
    const std::string options =
        "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=clk;\nTklClkBuf: RKO_ADV.*.CLKOUT0=" + std::string(c.choice) + ";\n";
    for (const char* hdl : {"verilog", "vhdl"}) {
        const olmtest::BatchResult run =
            olmtest::RunBatch(dir, {.wizard = "tkl_pll", .options = options, .out = hdl, .hdl = hdl, .design = "top"});
        ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    }
    const std::string v = ReadFile(dir.File("verilog/top.v")), pkx = ReadFile(dir.File("verilog/top_olmw.pkx"));
    for (const std::string prim : {"KBUFG", "KBUFGCE", "KBUFGMUX", "KOBUF"})
        EXPECT_EQ(Contains(v, prim + "_CLKOUT0 ("), prim == c.primitive) << prim << "\n" << v;
    const bool buffered = *c.primitive != '\0';
    EXPECT_EQ(Contains(v, ".O(clk)"), buffered) << v;
    EXPECT_EQ(Contains(v, ".CLKOUT0(clk)"), !buffered) << v;
    for (const std::string& port : c.ports) EXPECT_TRUE(Contains(v, "input wire " + port)) << port << "\n" << v;
    EXPECT_EQ(Contains(pkx, "clock_route"), *c.route != '\0') << pkx;
    if (*c.route) {
        EXPECT_TRUE(Contains(pkx, "\n# Clock routing\nclock_route clk = " + std::string(c.route) + ";\n")) << pkx;
    }

    ASSERT_TRUE(olmtest::RunBatch(dir, {.wizard = "tkl_pll", .out = "again", .design = "top",
                                        .kfz = dir.File("verilog/top.kfz")})
                    .outcome.Succeeded());
    olmtest::ExpectSameFiles(dir, "verilog", "again", "top");
    std::filesystem::copy_file(dir.File("vhdl/top.vhd"), dir.File("verilog/top.vhd"));
    for (const char* lang : {"verilog", "vhdl"}) olmtest::ExpectHdlWrittenAgain(dir.Path() / "verilog", "top", lang);
    for (const std::string& finding : olmtest::HdlToolFindings(dir.Path() / "verilog", "top")) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TklPllClockBuffer,
    ::testing::Values(BufferCase{"Global", "Global Buffer", "KBUFG", {}, ""},
                      BufferCase{"Enabled", "Enabled Buffer", "KBUFGCE", {"clk_ce"}, ""},
                      BufferCase{"Mux", "Clock Mux", "KBUFGMUX", {"clk_alt", "clk_sel"}, ""},
                      BufferCase{"Output", "Output Buffer", "KOBUF", {}, ""},
                      BufferCase{"LowSkew", "Lowskewline", "", {}, "lowskew"},
                      BufferCase{"Local", "Local Routing", "", {}, "local"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
