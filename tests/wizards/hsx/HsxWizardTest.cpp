// The transceiver wizard end to end in batch mode, through the run session as
// `olmwiz run` makes it: every kind of lane and a bonded group, their design
// files, HDL through the HDL tools, reruns, and what the wizard refuses.
#include "WizardTable.h"

#include "TestSupport.h"

#include "OlmKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;

Olm_RunOutcome RunHsx(const olmtest::ScratchDir& dir, const std::string& family, const std::string& options,
                   const std::string& out, const std::string& hdl = "verilog", const std::string& kfz = "") {
    Olm_RunRequest request;
    request.wizType = "hsx";
    request.family = family;
    request.design = "xcvr";
    request.designFile = kfz;
    if (!options.empty()) request.optionFile = dir.Write(out + ".opt", options);
    request.hdl = hdl;
    request.outputDir = dir.File(out);
    request.logFile = dir.File(out + ".log");
    request.batch = true;
    request.silent = true;
    Olm_RunSession session;
    return session.Run(request, olmwiz::FindWizard("hsx")->make);
}

std::string Example(const char* name) { return ReadFile(std::string(OLM_EXAMPLES_DIR) + "/" + name); }

std::string Get(Olm_Engine& engine, const char* what, const std::string& a, const std::string& b = {},
                const std::string& c = {}) {
    return engine.Execute("get", what, a.c_str(), b.empty() ? nullptr : b.c_str(), c.empty() ? nullptr : c.c_str(),
                          nullptr).str();
}

struct Lanes {
    const char* name;
    const char* family;
    std::string options;
    std::vector<std::string> blocks;  // the lane blocks, in order
    const char* flag;                 // the generation's block property
    std::vector<std::string> bonding; // LANE_BOND_MODE of each lane
    const char* txDataWidth;          // PINWIDTH of TXDATA and of TXISCTRL
    const char* txFlagWidth;
    const char* pllMult;
    std::vector<std::string> sites;   // the site lines of the constraint template
};

class HsxLanes : public ::testing::TestWithParam<Lanes> {};

TEST_P(HsxLanes, DesignHdlAndTemplateAreWhatTheLanesNeedAndRerunTheSame) {
    const Lanes& c = GetParam();
    olmtest::ScratchDir dir;
    const Olm_RunOutcome first = RunHsx(dir, c.family, c.options, "out");
    ASSERT_TRUE(first.Succeeded()) << first.failure;

    Olm_Engine engine;
    ASSERT_TRUE(engine.Load(dir.File("out/xcvr.kfz").c_str()));
    std::vector<std::string> blocks;
    for (const char* step = "getfirst";; step = "getnext") {
        const std::string block = engine.Execute(step, "block", nullptr, nullptr, nullptr, nullptr).str();
        if (block.empty()) break;
        blocks.push_back(block);
    }
    EXPECT_EQ(blocks, c.blocks);
    for (std::size_t lane = 0; lane < blocks.size(); ++lane) {
        const std::string& b = blocks[lane];
        EXPECT_EQ(Get(engine, "blkprop", b, c.flag), "TRUE") << b;
        EXPECT_EQ(Get(engine, "blkprop", b, "OLMW_ONLY_INST_NUM"), std::to_string(lane + 1)) << b;
        EXPECT_EQ(Get(engine, "blkprop", b, "LANE_BOND_MODE"), c.bonding.at(lane)) << b;
        EXPECT_EQ(Get(engine, "blkprop", b, "PLL_MULT"), c.pllMult) << b;
        EXPECT_EQ(Get(engine, "pinprop", "TXDATA", b, "PINWIDTH"), c.txDataWidth) << b;
        EXPECT_EQ(Get(engine, "pinprop", "TXISCTRL", b, "PINWIDTH"), c.txFlagWidth) << b;
        EXPECT_EQ(Get(engine, "pinprop", "RXDATA", b, "PROP_DATAWIDTH"), "TRUE") << b;
    }
    const std::string pkx = ReadFile(dir.File("out/xcvr_olmw.pkx"));
    for (const std::string& site : c.sites) EXPECT_NE(pkx.find(site + "\n"), std::string::npos) << pkx;

    // The same request, and the design file alone, give the same bytes.
    ASSERT_TRUE(RunHsx(dir, c.family, c.options, "again").Succeeded());
    ASSERT_TRUE(RunHsx(dir, c.family, "", "reread", "verilog", dir.File("out/xcvr.kfz")).Succeeded());
    for (const std::string file : {"xcvr.kfz", "xcvr.v", "xcvr_olmw.pkx"}) {
        EXPECT_EQ(ReadFile(dir.File("again/" + file)), ReadFile(dir.File("out/" + file))) << file;
        EXPECT_EQ(ReadFile(dir.File("reread/" + file)), ReadFile(dir.File("out/" + file))) << file;
    }

    // Both languages with the black boxes `olmwiz hdl --stubs` writes pass the HDL tools.
    ASSERT_TRUE(RunHsx(dir, c.family, c.options, "vhdl", "vhdl").Succeeded());
    fs::copy_file(dir.File("vhdl/xcvr.vhd"), dir.File("out/xcvr.vhd"));
    for (const char* lang : {"verilog", "vhdl"}) {
        const std::string ext = lang[1] == 'e' ? ".v" : ".vhd";
        const olmtest::CommandResult r = olmtest::RunIn(
            dir.File("out"), {OLMWIZ_PATH, "hdl", "--kfz", "xcvr.kfz", "--lang", lang, "-o", "again" + ext, "--stubs",
                              "xcvr_stubs" + ext});
        ASSERT_EQ(r.code, 0) << r.output;
        EXPECT_EQ(ReadFile(dir.File("out/again" + ext)), ReadFile(dir.File("out/xcvr" + ext)));
    }
    for (const std::string& finding : olmtest::HdlToolFindings(dir.Path() / "out", "xcvr")) ADD_FAILURE() << finding;
}

const std::string kBondedPair =
    "BlockProp: HSX3.*.OLMW_ONLY_LANE_COUNT=2;\nBlockProp: HSX3.*.OLMW_ONLY_BOND_MASTER=1;\n"
    "BlockProp: HSX3.*.OLMW_ONLY_LANE1_LOC=HSX3_L0_6;\nBlockProp: HSX3.*.TX_ENCODING=NONE;\n";

INSTANTIATE_TEST_SUITE_P(
    Matrix, HsxLanes,
    ::testing::Values(
        // 2.5 Gbit/s from 100 MHz: 100 x 25 / 2 = 1250 MHz.
        Lanes{"hsx3", "korvo5", Example("hsx_hsx3_lane.opt"), {"HSX3_LANE0"}, "PROP_HSX3", {"NONE"}, "[15:0]", "[1:0]",
              "25", {"site HSX3_LANE0 = HSX3_L0_2;", "clock_period REFCLK = 10.000 ns;",
                     "clock_period TXFABCLK = 8.000 ns;"}},
        // 10.3125 Gbit/s from 156.25 MHz: 156.25 x 33 = 5156.25 MHz; 64 bits, 64b/66b: 156.25 MHz fabric.
        Lanes{"hsx10", "korvo5", Example("hsx_hsx10_lane.opt"), {"HSX10_LANE0"}, "PROP_HSX10", {"NONE"}, "[63:0]",
              "[7:0]", "33", {"site HSX10_LANE0 = HSX10_L0_5;", "clock_period RXFABCLK = 6.400 ns;"}},
        // Two HSX3 lanes, the second the master; no 8b/10b on TX: no control-character port.
        Lanes{"hsx3_pair", "korvo5", kBondedPair, {"HSX3_LANE0", "HSX3_LANE1"}, "PROP_HSX3", {"SLAVE", "MASTER"},
              "[15:0]", "[1:0]", "10", {"# site HSX3_LANE0 = ?;", "site HSX3_LANE1 = HSX3_L0_6;",
                                        "clock_period TXFABCLK_1 = 5.120 ns;"}},
        Lanes{"hsx3_x4", "korvo5", Example("hsx_hsx3_x4.opt"),
              {"HSX3_LANE0", "HSX3_LANE1", "HSX3_LANE2", "HSX3_LANE3"}, "PROP_HSX3",
              {"MASTER", "SLAVE", "SLAVE", "SLAVE"}, "[15:0]", "[1:0]", "10", {"site HSX3_LANE3 = HSX3_L0_3;"}},
        // korvo4 by default: Lane0 alone at 6.5 Gbit/s from 250 MHz (250 x 13 = 3250 MHz), 32 bits.
        Lanes{"korvo4_lane0", "korvo4", "", {"HSX11_LANE0"}, "PROP_HSX11", {"NONE"}, "[31:0]", "[3:0]", "13",
              {"clock_period REFCLK_0 = 4.000 ns;"}},
        // Lane1 alone at 3.125 Gbit/s from 156.25 MHz: 156.25 x 20 = 3125 MHz, rate divider 2; 40 bits.
        Lanes{"korvo4_lane1", "korvo4",
              "BlockProp: HSX11.HSX11_LANE1.HSX_DISPLAY_NAME=Lane1;\nBlockProp: HSX11.*.LINE_RATE=3.125;\n"
              "BlockProp: HSX11.*.REFCLK_FREQ=156.25;\nBlockProp: HSX11.*.TX_DATA_WIDTH=40;\n"
              "BlockProp: HSX11.*.RX_DATA_WIDTH=40;\nBlockProp: HSX11.HSX11_LANE1.LOC=HSX11_L0_7;\n",
              {"HSX11_LANE1"}, "PROP_HSX11", {"NONE"}, "[39:0]", "[4:0]", "20",
              {"site HSX11_LANE1 = HSX11_L0_7;", "clock_period REFCLK_1 = 6.400 ns;"}},
        Lanes{"korvo4_bonded", "korvo4", Example("hsx_korvo4_bonded.opt"), {"HSX11_LANE0", "HSX11_LANE1"},
              "PROP_HSX11", {"MASTER", "SLAVE"}, "[31:0]", "[3:0]", "20",
              {"site HSX11_LANE0 = HSX11_L0_2;", "site HSX11_LANE1 = HSX11_L0_3;"}}),
    [](const ::testing::TestParamInfo<Lanes>& info) { return std::string(info.param.name); });

// What the wizard refuses, and the message that says why; nothing is written.
struct Refusal {
    const char* family;
    const char* options;
    const char* message;
};

class HsxRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(HsxRefuses, SaysWhyAndWritesNothing) {
    olmtest::ScratchDir dir;
    const Olm_RunOutcome outcome = RunHsx(dir, GetParam().family, GetParam().options, "out");
    EXPECT_EQ(outcome.result, -1);
    EXPECT_NE(outcome.failure.find(GetParam().message), std::string::npos) << outcome.failure;
    EXPECT_FALSE(fs::exists(dir.File("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HsxRefuses,
    ::testing::Values(
        Refusal{"korvo5", "BlockProp: HSX3.*.LINE_RATE=1.7;\nBlockProp: HSX3.*.REFCLK_FREQ=100;\n",
                "ruled out by the VCO range: it needs a VCO of 850, 1700 or 3400 MHz (rate divider 1, 2 or 4), and the "
                "VCO runs from 1000 to 1600 MHz. The nearest achievable rate is 1.6 Gbit/s"},
        Refusal{"korvo5", "BlockProp: HSX3.*.LINE_RATE=2.3;\nBlockProp: HSX3.*.REFCLK_FREQ=100;\n",
                "ruled out by the multiplier choices: it needs the multiplier 23"},
        Refusal{"korvo5", "BlockProp: HSX3.*.LINE_RATE=2.0;\n",
                "ruled out by the divider choices: VCO 1000 MHz is 6.4 times 156.25 MHz (x 32 / 5), which needs the "
                "reference divider 5, and the reference-divider choices are 1 or 2. The nearest achievable rate is "
                "1.5625 Gbit/s"},
        Refusal{"korvo5", "BlockProp: HSX3.*.REFCLK_FREQ=150;\n", "it must be one of 62.5, 100, 125, 156.25."},
        Refusal{"korvo5", "BlockProp: HSX3.*.TX_DATA_WIDTH=8;\n",
                "The TX fabric clock 312.5 MHz (3.125 Gbit/s x 8/10 / 8 bits) is ruled out by the fabric-clock range "
                "10 to 250 MHz. A TX data width of 16 or 32 bits would fit."},
        Refusal{"korvo5",
                "BlockProp: HSX10.*.HSX_DISPLAY_NAME=HSX10 Lane;\nBlockProp: HSX10.*.RX_DECODING=64B66B;\n"
                "BlockProp: HSX10.*.RX_DATA_WIDTH=16;\n",
                "The RX data width 16 bits does not suit 64b/66b coding"},
        Refusal{"korvo5", "BlockProp: HSX3.*.CLK_COMP_SEQ_LEN=2;\n",
                "The clock-compensation sequence 'K28.0' has 1 character; its length CLK_COMP_SEQ_LEN is 2."},
        Refusal{"korvo5", "BlockProp: HSX3.*.CLK_COMP_SEQ=K27.5;\n", "'K27.5' in the clock-compensation sequence is no "
                                                                    "8b/10b character"},
        Refusal{"korvo5", "BlockProp: HSX3.*.OLMW_ONLY_LANE_COUNT=2;\nBlockProp: HSX3.*.OLMW_ONLY_BOND_MASTER=2;\n",
                "The master lane 2 is not one of the 2 lanes (0 to 1)."},
        Refusal{"korvo5",
                "BlockProp: HSX3.*.OLMW_ONLY_LANE_COUNT=3;\nBlockProp: HSX3.*.LOC=HSX3_L0_1;\n"
                "BlockProp: HSX3.*.OLMW_ONLY_LANE2_LOC=HSX3_L0_1;\n",
                "Lanes 0 and 2 are both placed at HSX3_L0_1; every lane needs a site of its own."},
        Refusal{"korvo4", "BlockProp: HSX11.HSX11_LANE1.HSX_DISPLAY_NAME=Lane1;\nBlockProp: HSX11.*.LOC=HSX11_L0_4;\n",
                "The value 'HSX11_L0_4' of LOC (Site of lane 0) is not allowed: it must be one of HSX11_L0_1, "
                "HSX11_L0_3, HSX11_L0_5, HSX11_L0_7."},
        Refusal{"korvo5", "BlockProp: HSX3.*.RX_BUFFER_USE=FALSE;\n",
                "Clock compensation repeats or drops characters in the RX buffer"},
        Refusal{"korvo5",
                "BlockProp: HSX3.*.RX_BUFFER_USE=FALSE;\nBlockProp: HSX3.*.CLK_COMP=FALSE;\n"
                "BlockProp: HSX3.*.OLMW_ONLY_LANE_COUNT=2;\n",
                "Bonded lanes are aligned in their RX buffers"},
        Refusal{"korvo5", "BlockProp: HSX3.*.LOOPBACK_MODE=NEAR_END_PMA;\nBlockProp: HSX3.*.RX_DATA_WIDTH=32;\n",
                "the TX encoding 8B10B and width 16 bits must match the RX decoding 8B10B and width 32 bits."}));

}  // namespace
