// End-to-end batch runs of the reference wizards through the run session, as
// `olmwiz run` makes them: what they compute, what they write and what they
// refuse.
#include "WizardTable.h"

#include "TestSupport.h"

#include "OlmKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;
using olmtest::ScratchDir;

struct BatchRun {
    Olm_RunOutcome outcome;
    std::string log;
};

// A silent batch run with its messages in a log file beside the output folder.
BatchRun RunBatch(const ScratchDir& dir, const std::string& wizType, const std::string& design,
                  const std::string& optionText = "", const std::string& outSub = "out", const std::string& kfz = "",
                  const std::string& hdl = "verilog") {
    Olm_RunRequest request;
    request.wizType = wizType;
    request.family = "korvo5";
    request.design = design;
    request.designFile = kfz;
    if (!optionText.empty()) request.optionFile = dir.Write(design + ".opt", optionText);
    request.hdl = hdl;
    request.outputDir = dir.File(outSub);
    request.logFile = dir.File(outSub + ".log");
    request.batch = true;
    request.silent = true;
    Olm_RunSession session;
    const olmwiz::WizardEntry* entry = olmwiz::FindWizard(wizType);
    BatchRun run{session.Run(request, entry ? entry->make : nullptr), ""};
    if (fs::exists(request.logFile)) run.log = ReadFile(request.logFile);
    return run;
}

std::string Prop(const std::string& kfzPath, const char* block, const char* property) {
    Olm_Engine engine;
    EXPECT_TRUE(engine.Load(kfzPath.c_str())) << kfzPath;
    return engine.Execute("get", "blkprop", block, property, nullptr, nullptr).str();
}

std::string Example(const char* name) { return ReadFile(std::string(OLM_EXAMPLES_DIR) + "/" + name); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(TklPllBatch, ExampleOptionFileSetsDividersPortsAndClockPeriods) {
    ScratchDir dir;
    const BatchRun run = RunBatch(dir, "tkl_pll", "clkgen", Example("tkl_pll_clkgen.opt"));
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    const std::string kfz = dir.File("out/clkgen.kfz");
    // 50 MHz in; 200, 100, 25 MHz out: VCO 1000 = 50 * 20 / 1, dividers 5, 10, 40.
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKFBOUT_MULT"), "20");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKOUT2_DIVIDE"), "40");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "INCLK1_PERIOD"), "20.000");
    EXPECT_EQ(run.outcome.files,
              (std::vector<std::string>{kfz, dir.File("out/clkgen.v"), dir.File("out/clkgen_olmw.pkx")}));
    EXPECT_EQ(run.outcome.features, (std::vector<std::string>{"1 RKO_ADV configured for Single PLL.",
                                                              "Input clock 50 MHz; output clocks CLKOUT0 200 MHz, "
                                                              "CLKOUT1 100 MHz, CLKOUT2 25 MHz."}));
    EXPECT_TRUE(Contains(ReadFile(dir.File("out/clkgen_olmw.pkx")),
                         "clock_period sys_clk_in = 20.000 ns;\nclock_period clk_200 = 5.000 ns;\n"
                         "clock_period clk_100_90 = 10.000 ns;\nclock_period clk_25 = 40.000 ns;\n"));
    // The log has the run's report even though nothing went wrong.
    EXPECT_TRUE(Contains(run.log, "RKO_ADV.CLKOUT2_DIVIDE = 40  (default 12)")) << run.log;
}

TEST(TklPllBatch, ExistingDesignFileReproducesTheSameFiles) {
    ScratchDir dir;
    ASSERT_TRUE(RunBatch(dir, "tkl_pll", "clkgen", Example("tkl_pll_clkgen.opt"), "first").outcome.Succeeded());
    // No option file: the requests come back from the design file alone.
    const BatchRun again = RunBatch(dir, "tkl_pll", "clkgen", "", "second", dir.File("first/clkgen.kfz"));
    ASSERT_TRUE(again.outcome.Succeeded()) << again.outcome.failure;
    for (const char* file : {"clkgen.kfz", "clkgen.v", "clkgen_olmw.pkx"})
        EXPECT_EQ(ReadFile(dir.File(std::string("second/") + file)), ReadFile(dir.File(std::string("first/") + file)))
            << file;
}

// Settings that a wizard refuses in batch mode, and the message that says why.
// The run writes nothing, not even the output folder.
struct Refusal {
    const char* wizType;
    const char* options;
    const char* message;
};

class RefWizardRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefWizardRefuses, SaysWhyAndWritesNothing) {
    ScratchDir dir;
    const BatchRun run = RunBatch(dir, GetParam().wizType, "x", GetParam().options);
    EXPECT_EQ(run.outcome.result, -1);
    EXPECT_TRUE(Contains(run.outcome.failure, GetParam().message)) << run.outcome.failure;
    EXPECT_TRUE(Contains(run.log, GetParam().message)) << run.log;
    EXPECT_FALSE(fs::exists(dir.File("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RefWizardRefuses,
    ::testing::Values(
        // The slowest output is VCO 400 / divider 128 = 3.125 MHz, the data's lower bound.
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=2;\n",
                "ERROR: RKO_ADV cannot generate the requested clocks. CLKOUT0: 2.000 MHz cannot be reached: the output "
                "divider range 1..128 divides the VCO by at most 128, and the VCO goes no lower than 400.000 MHz "
                "within its range 400..1000 MHz; nearest achievable 3.125 MHz"},
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKIN1_FREQ=900;\n",
                "Input clock: 900.000 MHz is outside the input range 10..800 MHz"},
        // One output not a number does not hide the other's problem.
        Refusal{"tkl_pll",
                "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKIN1_FREQ=10;\nBlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=700;\n"
                "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT1_USED=TRUE;\nBlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT1_FREQ=abc;\n",
                "the VCO reaches at most 640.000 MHz, the input 10.000 MHz times the largest feedback multiplier 64 "
                "over the smallest input divider 1; nearest achievable 640.000 MHz\nCLKOUT1: the frequency 'abc' is "
                "not a number of MHz"},
        // 100 / 3 MHz is not exact from 100 MHz within the VCO range: 0 ppm refuses it.
        Refusal{"tkl_pll",
                "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=33.3334;\n"
                "BlockProp: RKO_ADV.*.OLMW_ONLY_FREQ_TOLERANCE_PPM=0;\n",
                "cannot be reached within 0 ppm"},
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_FREQ_TOLERANCE_PPM=+-0;\n",
                "The value '+-0' of OLMW_ONLY_FREQ_TOLERANCE_PPM"},
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_USED=FALSE;\n",
                "ERROR: Enable at least one output clock."},
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.CLKOUT0_DUTY=1.5;\n",
                "The value '1.5' of CLKOUT0_DUTY (CLKOUT0 duty cycle) is not allowed: it must be a number from "
                "0.01 to 0.99."},
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_PLL_FBSRC_CLKOUT=CLKOUT3;\n",
                "The feedback source CLKOUT3 is not an enabled output clock."},
        Refusal{"tkl_pll",
                "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKIN1_PORT=clk;\nBlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=CLK;\n",
                "The port name 'CLK' of the port of pin CLKOUT0 (CLKOUT0 port name) differs only in letter case from "
                "the port name 'clk' of the port of pin CLKIN1 (Input clock port name)."},
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_LOCKED_PORT=RKO_ADV;\n",
                "The port name 'RKO_ADV' of the port of pin LOCKED (Locked port name) is the name of a block"},
        Refusal{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=module;\n",
                "The name 'module' is not a legal portname"},
        Refusal{"dsp_mult", "BlockProp: DSP.*.A_WIDTH=30;\n",
                "The value '30' of A_WIDTH (Operand A width (bits)) is not allowed: it must be a whole number from 2 "
                "to 18."},
        Refusal{"dsp_mult", "BlockProp: DSP.*.A_WIDTH=8;\nBlockProp: DSP.*.B_WIDTH=8;\n",
                "The product width 36 is larger than the full product of 8 x 8 bits (16 bits)."},
        Refusal{"dsp_mult", "BlockProp: DSP.*.A_PIPE=3;\n", "it must be one of 0, 1, 2."},
        Refusal{"dsp_mult", "BlockProp: DSP.*.OLMW_ONLY_RST_PORT=A;\n", "The port name 'A' of the port of pin RST"},
        Refusal{"dsp_mult", "BlockProp: DSP.*.OLMW_ONLY_USE_CE=maybe;\n",
                "The value 'maybe' of OLMW_ONLY_USE_CE (Clock enable) is not allowed: it must be TRUE or FALSE."}),
    [](const ::testing::TestParamInfo<Refusal>& info) {
        return std::string(info.param.wizType) + "_" + std::to_string(info.index);
    });

TEST(TklPllBatch, KeywordPortNamesFollowTheHdl) {
    ScratchDir dir;
    // "module" is a Verilog keyword, and legal in VHDL.
    const BatchRun run = RunBatch(dir, "tkl_pll", "n", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=module;\n",
                                  "vhdl", "", "vhdl");
    EXPECT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_TRUE(Contains(ReadFile(dir.File("vhdl/n.vhd")), "module : out std_logic"));
}

TEST(DspMultBatch, ExampleGivesTheConfiguredEntityAndTemplate) {
    ScratchDir dir;
    const BatchRun run = RunBatch(dir, "dsp_mult", "mult12x10", Example("dsp_mult_small.opt"), "ex", "", "vhdl");
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    const std::string vhd = ReadFile(dir.File("ex/mult12x10.vhd"));
    EXPECT_TRUE(Contains(vhd, "sample : in std_logic_vector(11 downto 0)"));
    // The clock enable is switched off: the entity has a reset port but no enable port.
    EXPECT_TRUE(Contains(vhd, "\n        RST : in std_logic"));
    EXPECT_FALSE(Contains(vhd, "\n        CE : in std_logic"));
    EXPECT_TRUE(Contains(run.outcome.features.at(0), "A 12 bits signed x B 10 bits unsigned, product 22 bits, latency 4"));
    EXPECT_TRUE(Contains(ReadFile(dir.File("ex/mult12x10_olmw.pkx")), "# clock_period CLK = ? ns;\n"));
}

TEST(DspMultBatch, CombinationalMultiplierHasNoClockPorts) {
    ScratchDir dir;
    const BatchRun run = RunBatch(dir, "dsp_mult", "comb",
                                  "BlockProp: DSP.*.A_PIPE=0;\nBlockProp: DSP.*.B_PIPE=0;\n"
                                  "BlockProp: DSP.*.M_PIPE=0;\nBlockProp: DSP.*.P_PIPE=0;\n");
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    EXPECT_FALSE(Contains(ReadFile(dir.File("out/comb_olmw.pkx")), "CLK"));
    EXPECT_FALSE(Contains(ReadFile(dir.File("out/comb.v")), "input wire CLK"));
    EXPECT_EQ(Prop(dir.File("out/comb.kfz"), "DSP", "OLMW_ONLY_USE_CE"), "");
}

}  // namespace

// Every field of both reference wizards given values its rule refuses, one
// run each: each run fails, says which attribute, and leaves no folder and no
// file behind.
TEST(RefWizardBatch, RefusedRunsLeaveNothingBehind) {
    const ScratchDir dir;
    Olm_RunSession session;
    int runs = 0, refused = 0;
    for (const char* wizType : {"tkl_pll", "dsp_mult"}) {
        const std::unique_ptr<Olm_KitMain> probe = olmwiz::FindWizard(wizType)->make(true);
        const std::string prim = probe->GetBlockType();
        for (const auto& page : probe->Pages()) {
            for (const Olm_Field* field : page->Fields()) {
                // Values that no rule of a number, a choice or a switch takes,
                // and names that no HDL takes as a port.
                const std::vector<std::string> values =
                    field->IsPort() ? std::vector<std::string>{"9lives", "a b", "module", "DSP", "RKO_ADV"}
                    : field->GetAllowed().GetKind() == Olm_AllowedValues::Kind::Text
                        ? std::vector<std::string>{}
                        : std::vector<std::string>{"+-0", "1e400", "nan", "0x10", "\xd9\xa3", "maybe", "-99999999"};
                for (const std::string& value : values) {
                  for (const char* hdl : {"verilog", "vhdl"}) {
                    Olm_RunRequest request;
                    request.hdl = hdl;
                    request.wizType = wizType;
                    request.family = "korvo5";
                    request.design = "x";
                    // Every output clock on, so that their fields are checked too.
                    std::string options;
                    for (int n = 0; n < 6 && prim == "RKO_ADV"; ++n)
                        options += "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT" + std::to_string(n) + "_USED=TRUE;\n";
                    options += "BlockProp: " + prim + ".*." + field->GetAttribute() + "=" + value + ";\n";
                    request.optionFile = dir.Write("refused.opt", options);
                    request.outputDir = dir.File("out/" + std::to_string(++runs));
                    request.batch = request.silent = true;
                    const Olm_RunOutcome outcome = session.Run(request, olmwiz::FindWizard(wizType)->make);
                    // A port name that only VHDL refuses may pass in Verilog,
                    // and the HDL checks refuse a disabled port's name too:
                    // only the failures count here.
                    if (outcome.Succeeded()) continue;
                    EXPECT_FALSE(outcome.failure.empty());
                    ++refused;
                    EXPECT_FALSE(fs::exists(request.outputDir)) << field->GetAttribute() << "=" << value;
                  }
                }
            }
        }
    }
    EXPECT_GT(refused, 250) << "of " << runs << " runs";
}
