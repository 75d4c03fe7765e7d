// The transceiver wizard end to end in batch mode, through the run session as
// `olmwiz run` makes it: every kind of lane and a bonded group, their design
// files, HDL through the HDL tools, and reruns, as listed in lanes.txt. What
// it refuses is listed in refusals.txt.
#include "CaseFiles.h"
#include "WizardBatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;

// A batch run of the wizard for the design "xcvr".
Olm_RunOutcome RunHsx(const olmtest::ScratchDir& dir, const std::string& family, const std::string& options,
                      const std::string& out, const std::string& hdl = "verilog", const std::string& kfz = "") {
    return olmtest::RunBatch(dir, {.wizard = "hsx", .options = options, .out = out, .hdl = hdl, .family = family,
                                   .design = "xcvr", .kfz = kfz})
        .outcome;
}

std::string Get(Olm_Engine& engine, const char* what, const std::string& a, const std::string& b = {},
                const std::string& c = {}) {
    return engine.Execute("get", what, a.c_str(), b.empty() ? nullptr : b.c_str(), c.empty() ? nullptr : c.c_str(),
                          nullptr).str();
}

class HsxLanes : public ::testing::TestWithParam<olmtest::CaseRecord> {};

// Each case of lanes.txt: the lane blocks with their properties and pin
// widths, the constraint template, reruns, and the HDL through the HDL tools.
TEST_P(HsxLanes, DesignHdlAndTemplateAreWhatTheLanesNeedAndRerunTheSame) {
    const olmtest::CaseRecord& c = GetParam();
    const std::string family = c.Value("family", "korvo5");
    const std::string options = !c["example"].empty() ? olmtest::ExampleOptions(c["example"])
                                : c["options"].empty() ? ""
                                                       : c["options"] + "\n";
    olmtest::ScratchDir dir;
    const Olm_RunOutcome first = RunHsx(dir, family, options, "out");
    ASSERT_TRUE(first.Succeeded()) << first.failure;

    Olm_Engine engine;
    ASSERT_TRUE(engine.Load(dir.File("out/xcvr.kfz").c_str()));
    std::vector<std::string> blocks;
    for (const char* step = "getfirst";; step = "getnext") {
        const std::string block = engine.Execute(step, "block", nullptr, nullptr, nullptr, nullptr).str();
        if (block.empty()) break;
        blocks.push_back(block);
    }
    EXPECT_EQ(blocks, olmtest::Words(c["blocks"]));
    const std::vector<std::string> bonding = olmtest::Words(c["bonding"]);
    for (std::size_t lane = 0; lane < blocks.size(); ++lane) {
        const std::string& b = blocks[lane];
        EXPECT_EQ(Get(engine, "blkprop", b, c["flag"]), "TRUE") << b;
        EXPECT_EQ(Get(engine, "blkprop", b, "OLMW_ONLY_INST_NUM"), std::to_string(lane + 1)) << b;
        EXPECT_EQ(Get(engine, "blkprop", b, "LANE_BOND_MODE"), bonding.at(lane)) << b;
        EXPECT_EQ(Get(engine, "blkprop", b, "PLL_MULT"), c["mult"]) << b;
        EXPECT_EQ(Get(engine, "pinprop", "TXDATA", b, "PINWIDTH"), c["txdata"]) << b;
        EXPECT_EQ(Get(engine, "pinprop", "TXISCTRL", b, "PINWIDTH"), c["txflag"]) << b;
        EXPECT_EQ(Get(engine, "pinprop", "RXDATA", b, "PROP_DATAWIDTH"), "TRUE") << b;
    }
    const std::string pkx = ReadFile(dir.File("out/xcvr_olmw.pkx"));
    for (const std::string& site : olmtest::Lines(c["site"])) EXPECT_TRUE(olmtest::Contains(pkx, site + "\n")) << pkx;

    // The same request, and the design file alone, give the same bytes.
    ASSERT_TRUE(RunHsx(dir, family, options, "again").Succeeded());
    ASSERT_TRUE(RunHsx(dir, family, "", "reread", "verilog", dir.File("out/xcvr.kfz")).Succeeded());
    olmtest::ExpectSameFiles(dir, "out", "again", "xcvr");
    olmtest::ExpectSameFiles(dir, "out", "reread", "xcvr");

    // Both languages with the black boxes `olmwiz hdl --stubs` writes pass the HDL tools.
    ASSERT_TRUE(RunHsx(dir, family, options, "vhdl", "vhdl").Succeeded());
    fs::copy_file(dir.File("vhdl/xcvr.vhd"), dir.File("out/xcvr.vhd"));
    for (const char* lang : {"verilog", "vhdl"}) olmtest::ExpectHdlWrittenAgain(dir.Path() / "out", "xcvr", lang);
    for (const std::string& finding : olmtest::HdlToolFindings(dir.Path() / "out", "xcvr")) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(Matrix, HsxLanes, ::testing::ValuesIn(olmtest::ReadCaseRecords(OLM_CASES_DIR "/hsx/lanes.txt")),
                         [](const auto& info) { return olmtest::CaseName(info.param); });

}  // namespace
