// End-to-end runs of the reference wizards in batch mode, as `olmwiz run`
// does them, with the real HDL generator (the built olmwiz) as child process.
#include "RefWizards.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;
using olmtest::ScratchDir;

void EnsureApp() {
    static int argc = 1;
    static char name[] = "ref_wizard_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

struct BatchRun {
    OlmRef::RunOutcome outcome;
    std::string log;
};

// Runs a wizard in batch mode, silent, with its messages in a log file.
BatchRun RunBatch(const ScratchDir& dir, const std::string& wizType, const std::string& design,
             const std::string& optionText = "", const std::string& outSub = "out", const std::string& kfz = "",
             const std::string& hdl = "verilog", const std::string& hdlTool = OLMWIZ_PATH,
             const std::vector<std::string>& hdlToolArgs = {"hdl"}) {
    EnsureApp();
    OlmRef::RunOptions options;
    options.wizType = wizType;
    options.family = "korvo5";
    options.design = design;
    options.kfz = kfz;
    if (!optionText.empty()) options.options = dir.Write(design + ".opt", optionText);
    options.hdl = hdl;
    options.outDir = dir.File(outSub);
    options.log = dir.File(outSub + ".log");
    options.hdlTool = hdlTool;
    options.hdlToolArgs = hdlToolArgs;
    options.batch = true;
    options.silent = true;
    BatchRun run;
    run.outcome = OlmRef::RunWizard(options, &OlmRef::MakeRefWizard);
    run.log = fs::exists(options.log) ? ReadFile(options.log) : "";
    return run;
}

std::string Prop(const std::string& kfzPath, const char* block, const char* property) {
    Olm_Engine engine;
    EXPECT_TRUE(engine.Load(kfzPath.c_str())) << kfzPath;
    return engine.Execute("get", "blkprop", block, property, nullptr, nullptr).str();
}

std::string Example(const char* name) { return ReadFile(std::string(OLM_EXAMPLES_DIR) + "/" + name); }

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// --- single PLL -----------------------------------------------------------

TEST(TklPllBatch, DefaultsGiveAllFilesByteIdenticallyAndTheDesignLoadsBack) {
    ScratchDir dir;
    const BatchRun first = RunBatch(dir, "tkl_pll", "clkgen");
    ASSERT_EQ(first.outcome.result, 0) << first.outcome.error << first.log;
    const std::string kfz = dir.File("out/clkgen.kfz");
    const std::string v = ReadFile(dir.File("out/clkgen.v"));
    const std::string pkx = ReadFile(dir.File("out/clkgen_olmw.pkx"));
    const std::string kfzText = ReadFile(kfz);
    EXPECT_TRUE(Contains(v, "module clkgen"));
    EXPECT_TRUE(Contains(first.outcome.report, "Configured: 1 RKO_ADV configured for Single PLL."));

    // 100 MHz in, 100 MHz out: the highest VCO in 400..1000 is 1000 = 100 * 10 / 1.
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "REFCLK_DIV"), "1");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKFBOUT_MULT"), "10");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKOUT0_DIVIDE"), "10");
    // Only the PLL is in the design.
    Olm_Engine engine;
    ASSERT_TRUE(engine.Load(kfz.c_str()));
    EXPECT_EQ(engine.Execute("getfirst", "block", nullptr, nullptr, nullptr, nullptr).str(), "RKO_ADV");
    EXPECT_EQ(engine.Execute("getnext", "block", nullptr, nullptr, nullptr, nullptr).str(), "");

    const BatchRun second = RunBatch(dir, "tkl_pll", "clkgen");
    ASSERT_EQ(second.outcome.result, 0) << second.log;
    EXPECT_EQ(ReadFile(kfz), kfzText);
    EXPECT_EQ(ReadFile(dir.File("out/clkgen.v")), v);
    EXPECT_EQ(ReadFile(dir.File("out/clkgen_olmw.pkx")), pkx);
}

TEST(TklPllBatch, ExampleOptionFileSetsDividersPortsAndConstraintLines) {
    ScratchDir dir;
    const BatchRun run = RunBatch(dir, "tkl_pll", "clkgen", Example("tkl_pll_clkgen.opt"));
    ASSERT_EQ(run.outcome.result, 0) << run.outcome.error << run.log;
    const std::string kfz = dir.File("out/clkgen.kfz");
    // 50 MHz in; 200, 100, 25 MHz out: VCO 1000 = 50 * 20 / 1, dividers 5, 10, 40.
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKFBOUT_MULT"), "20");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKOUT0_DIVIDE"), "5");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKOUT1_DIVIDE"), "10");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKOUT2_DIVIDE"), "40");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "INCLK1_PERIOD"), "20.000");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "CLKOUT1_PHASE"), "90.000");
    EXPECT_EQ(Prop(kfz, "RKO_ADV", "OLMW_ONLY_SETCLKBUF_,CLKOUT2"), "Enabled Buffer");

    const std::string pkx = ReadFile(dir.File("out/clkgen_olmw.pkx"));
    for (const char* port : {"sys_clk_in", "sys_rst", "pll_locked", "clk_200", "clk_100_90", "clk_25"})
        EXPECT_TRUE(Contains(pkx, std::string("# site ") + port + " = ?;\n")) << port;
    EXPECT_TRUE(Contains(pkx, "clock_period sys_clk_in = 20.000 ns;\n"
                              "clock_period clk_200 = 5.000 ns;\n"
                              "clock_period clk_100_90 = 10.000 ns;\n"
                              "clock_period clk_25 = 40.000 ns;\n"))
        << pkx;
    EXPECT_TRUE(Contains(ReadFile(dir.File("out/clkgen.v")), "clk_100_90"));
    EXPECT_TRUE(Contains(run.outcome.report, "RKO_ADV.CLKOUT2_DIVIDE = 40"));
}

TEST(TklPllBatch, ExistingDesignFileReproducesTheSameFiles) {
    ScratchDir dir;
    ASSERT_EQ(RunBatch(dir, "tkl_pll", "clkgen", Example("tkl_pll_clkgen.opt"), "first").outcome.result, 0);
    // No option file: the requests come back from the design file alone.
    const BatchRun again = RunBatch(dir, "tkl_pll", "clkgen", "", "second", dir.File("first/clkgen.kfz"));
    ASSERT_EQ(again.outcome.result, 0) << again.outcome.error << again.log;
    for (const char* file : {"clkgen.kfz", "clkgen.v", "clkgen_olmw.pkx"})
        EXPECT_EQ(ReadFile(dir.File(std::string("second/") + file)), ReadFile(dir.File(std::string("first/") + file)))
            << file;
}

TEST(TklPllBatch, ImpossibleRequestsFailAndNameTheLimit) {
    ScratchDir dir;
    // The slowest output is VCO 400 / divider 128 = 3.125 MHz.
    BatchRun run = RunBatch(dir, "tkl_pll", "slow", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=2;\n");
    EXPECT_EQ(run.outcome.result, -1);
    EXPECT_TRUE(Contains(run.log, "ERROR: RKO_ADV cannot generate the requested clocks.")) << run.log;
    EXPECT_TRUE(Contains(run.log, "output divider range 1..128")) << run.log;
    EXPECT_TRUE(Contains(run.log, "nearest achievable 3.125")) << run.log;
    EXPECT_FALSE(fs::exists(dir.File("out/slow.kfz")));
}

// Settings that a page refuses in batch mode, and the message that says why.
TEST(RefWizardBatch, PagesRefuseWrongSettingsWithTheirMessage) {
    struct Case {
        const char* wizType;
        const char* options;
        const char* message;
    };
    const Case cases[] = {
        {"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKIN1_FREQ=900;\n", "outside the input range 10..800 MHz"},
        // 100 / 3 MHz is not exact from 100 MHz within the VCO range: 0 ppm refuses it.
        {"tkl_pll",
         "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=33.3334;\nBlockProp: RKO_ADV.*.OLMW_ONLY_FREQ_TOLERANCE_PPM=0;\n",
         "cannot be reached within 0 ppm"},
        {"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_USED=FALSE;\n", "ERROR: Enable at least one output clock."},
        {"tkl_pll", "BlockProp: RKO_ADV.*.CLKOUT0_DUTY=1.5;\n",
         "CLKOUT0: the duty cycle '1.5' must be a number from 0.01 to 0.99."},
        {"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_PLL_FBSRC_CLKOUT=CLKOUT3;\n",
         "The feedback source CLKOUT3 is not an enabled output clock."},
        {"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKIN1_FREQ=fast;\n",
         "The input clock frequency 'fast' is not a number of MHz."},
        // PLL port rows: input 1, reset 2, locked 3, CLKOUT0 4.
        {"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKIN1_PORT=clk;\nBlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=clk;\n",
         "The name 'clk' is entered in both row 1 and row 4."},
        {"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_LOCKED_PORT=RKO_ADV;\n",
         "The name RKO_ADV used in row 3 is already used in the design."},
        {"dsp_mult", "BlockProp: DSP.*.A_WIDTH=30;\n",
         "The width of operand A '30' must be a whole number of bits from 2 to 18."},
        {"dsp_mult", "BlockProp: DSP.*.A_WIDTH=8;\nBlockProp: DSP.*.B_WIDTH=8;\n",
         "The product width 36 is larger than the full product of 8 x 8 bits (16 bits)."},
        {"dsp_mult", "BlockProp: DSP.*.A_PIPE=3;\n", "The number of A input registers '3' is not one of 0, 1, 2."},
        // Multiplier port rows: A 1, B 2, P 3, CLK 4, CE 5, RST 6.
        {"dsp_mult", "BlockProp: DSP.*.OLMW_ONLY_RST_PORT=A;\n", "The name 'A' is entered in both row 1 and row 6."},
        {"dsp_mult", "BlockProp: DSP.*.OLMW_ONLY_P_PORT=DSP;\n",
         "The name DSP used in row 3 is already used in the design."},
    };
    ScratchDir dir;
    int n = 0;
    for (const Case& c : cases) {
        const BatchRun run = RunBatch(dir, c.wizType, "x", c.options, "out" + std::to_string(++n));
        EXPECT_EQ(run.outcome.result, -1) << c.options;
        EXPECT_TRUE(Contains(run.log, c.message)) << c.options << run.log;
    }
}

TEST(TklPllBatch, KeywordPortNamesFollowTheHdl) {
    ScratchDir dir;
    // "module" is a Verilog keyword, and legal in VHDL.
    const std::string keyword = "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=module;\n";
    BatchRun run = RunBatch(dir, "tkl_pll", "n", keyword);
    EXPECT_EQ(run.outcome.result, -1);
    EXPECT_TRUE(Contains(run.log, "not legal portnames")) << run.log;
    EXPECT_TRUE(Contains(run.log, "row 4: module")) << run.log;
    run = RunBatch(dir, "tkl_pll", "n", keyword, "vhdl", "", "vhdl");
    EXPECT_EQ(run.outcome.result, 0) << run.log;
    EXPECT_TRUE(fs::exists(dir.File("vhdl/n.vhd")));
}

TEST(TklPllBatch, FailedHdlGeneratorGivesAClearErrorAndFailure) {
    ScratchDir dir;
    const BatchRun run = RunBatch(dir, "tkl_pll", "clkgen", "", "out", "", "verilog", "/bin/false");
    EXPECT_EQ(run.outcome.result, -1);
    EXPECT_TRUE(Contains(run.log, "ERROR: The HDL generator failed (exit code 1) while writing")) << run.log;
    const BatchRun missing = RunBatch(dir, "tkl_pll", "clkgen", "", "out2", "", "verilog", dir.File("no-such-tool"));
    EXPECT_EQ(missing.outcome.result, -1);
    EXPECT_TRUE(Contains(missing.log, "ERROR: Could not start the HDL generator")) << missing.log;
}

TEST(TklPllBatch, LeanHdlGeneratorWritesWhatOlmwizHdlWrites) {
    ScratchDir dir;
    const std::string options = Example("tkl_pll_clkgen.opt");
    for (const char* hdl : {"verilog", "vhdl"}) {
        const std::string lang = hdl;
        const BatchRun full = RunBatch(dir, "tkl_pll", "clkgen", options, lang + "-full", "", lang);
        const BatchRun lean =
            RunBatch(dir, "tkl_pll", "clkgen", options, lang + "-lean", "", lang, OLMWIZ_HDL_PATH, {});
        ASSERT_EQ(full.outcome.result, 0) << full.outcome.error << full.log;
        ASSERT_EQ(lean.outcome.result, 0) << lean.outcome.error << lean.log;
        const std::string file = lang == "verilog" ? "/clkgen.v" : "/clkgen.vhd";
        const std::string text = ReadFile(dir.File(lang + "-lean" + file));
        EXPECT_TRUE(Contains(text, "clk_100_90")) << lang;
        EXPECT_EQ(text, ReadFile(dir.File(lang + "-full" + file))) << lang;
    }
}

TEST(TklPllBatch, SetupProblemsStopBeforeTheWizard) {
    ScratchDir dir;
    BatchRun run = RunBatch(dir, "tkl_pll", "x", "", "out", dir.File("missing.kfz"));
    EXPECT_EQ(run.outcome.result, -1);
    EXPECT_TRUE(Contains(run.outcome.error, "cannot load the design file")) << run.outcome.error;
    run = RunBatch(dir, "tkl_pll", "x", "Bogus: 1;\n");
    EXPECT_EQ(run.outcome.result, -1);
    EXPECT_TRUE(Contains(run.log, "Unrecognized keyword on line 1")) << run.log;
    EXPECT_EQ(RunBatch(dir, "tkl_nothing", "x").outcome.error, "'tkl_nothing' is not a wizard type of this program");
}

TEST(TklPllBatch, DesignNamesThatAreNotHdlNamesAreRefusedBeforeAnythingIsWritten) {
    ScratchDir dir;
    const struct {
        const char* design;
        const char* hdl;
        const char* reason;
    } cases[] = {
        {"clk gen", "verilog", "it contains a space"},
        {"clk;touch pwned", "verilog", "it contains the character ';'"},
        {"clk\"gen", "vhdl", "it contains the character '\"'"},
        {"clk'gen", "verilog", "it contains the character '''"},
        {"$(touch pwned)", "verilog", "it contains the character '('"},
        {"$display", "verilog", "it begins with a dollar sign"},
        {"`touch pwned`", "vhdl", "it contains the character '`'"},
        {"module", "verilog", "it is a reserved word"},
        {"clk__gen", "vhdl", "it contains two underscores in a row"},
    };
    for (const auto& c : cases) {
        const BatchRun run = RunBatch(dir, "tkl_pll", c.design, "", "out", "", c.hdl);
        EXPECT_EQ(run.outcome.result, -1) << c.design;
        EXPECT_TRUE(Contains(run.outcome.error, std::string("the design name '") + c.design + "' is not a legal"))
            << run.outcome.error;
        EXPECT_TRUE(Contains(run.outcome.error, c.reason)) << run.outcome.error;
    }
    // Refused before the output folder, the log or any file came to be.
    EXPECT_FALSE(fs::exists(dir.File("out")));
    EXPECT_FALSE(fs::exists(dir.File("out.log")));
    EXPECT_FALSE(fs::exists("pwned"));
}

// --- multiplier -----------------------------------------------------------

TEST(DspMultBatch, DefaultsAndExampleRunIdenticallyTwice) {
    ScratchDir dir;
    ASSERT_EQ(RunBatch(dir, "dsp_mult", "mult").outcome.result, 0);
    EXPECT_EQ(Prop(dir.File("out/mult.kfz"), "DSP", "OPERATION_MODE"), "MULTIPLY");

    const std::string options = Example("dsp_mult_small.opt");
    const BatchRun first = RunBatch(dir, "dsp_mult", "mult12x10", options, "ex", "", "vhdl");
    ASSERT_EQ(first.outcome.result, 0) << first.outcome.error << first.log;
    const std::string kfz = dir.File("ex/mult12x10.kfz");
    EXPECT_EQ(Prop(kfz, "DSP", "A_WIDTH"), "12");
    EXPECT_EQ(Prop(kfz, "DSP", "B_SIGNED"), "FALSE");
    EXPECT_EQ(Prop(kfz, "DSP", "A_PIPE"), "2");
    const std::string vhd = ReadFile(dir.File("ex/mult12x10.vhd"));
    EXPECT_TRUE(Contains(vhd, "entity mult12x10 is"));
    EXPECT_TRUE(Contains(vhd, "sample : in std_logic_vector(11 downto 0)"));
    // The clock enable is switched off: the entity has a reset port but no enable port.
    EXPECT_TRUE(Contains(vhd, "\n        RST : in std_logic"));
    EXPECT_FALSE(Contains(vhd, "\n        CE : in std_logic"));
    const std::string pkx = ReadFile(dir.File("ex/mult12x10_olmw.pkx"));
    EXPECT_TRUE(Contains(pkx, "# site product[21:0] = ?;\n# site CLK = ?;\n# site RST = ?;\n")) << pkx;
    EXPECT_TRUE(Contains(pkx, "# clock_period CLK = ? ns;\n"));
    EXPECT_TRUE(Contains(first.outcome.report, "A 12 bits signed x B 10 bits unsigned, product 22 bits, latency 4"));

    const BatchRun second = RunBatch(dir, "dsp_mult", "mult12x10", options, "ex", "", "vhdl");
    ASSERT_EQ(second.outcome.result, 0);
    EXPECT_EQ(ReadFile(dir.File("ex/mult12x10.vhd")), vhd);
    EXPECT_EQ(ReadFile(dir.File("ex/mult12x10_olmw.pkx")), pkx);
}

TEST(DspMultBatch, CombinationalMultiplierHasNoClockPorts) {
    ScratchDir dir;
    const BatchRun run = RunBatch(dir, "dsp_mult", "comb",
                             "BlockProp: DSP.*.A_PIPE=0;\nBlockProp: DSP.*.B_PIPE=0;\n"
                             "BlockProp: DSP.*.M_PIPE=0;\nBlockProp: DSP.*.P_PIPE=0;\n");
    ASSERT_EQ(run.outcome.result, 0) << run.log;
    const std::string pkx = ReadFile(dir.File("out/comb_olmw.pkx"));
    EXPECT_FALSE(Contains(pkx, "CLK")) << pkx;
    EXPECT_FALSE(Contains(ReadFile(dir.File("out/comb.v")), "input wire CLK"));
}

}  // namespace
