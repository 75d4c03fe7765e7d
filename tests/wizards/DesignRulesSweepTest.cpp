// Every reference wizard on its defaults and on every bundled option file, and
// the generic wizard on every installed data file, in both languages: the
// run passes the design rules (a run that breaks one writes nothing and
// fails), `olmwiz check` finds the written design clean, Icarus elaborates the
// Verilog wrapper with the simulation models, and Yosys finds no conflicting
// or missing driver in the Verilog wrapper with its black boxes. The
// testbenches of the same designs run in tests/sim/testbench.

#include "WizardBatch.h"

#include "datafiles/Olm_SimModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>

namespace {

struct SweepCase {
    std::string name;
    std::string wizard;
    std::string family = "korvo5";
    std::string dataType{};  // the generic wizard's data
    std::string example{};   // an option file of examples/, empty for the defaults
};

void PrintTo(const SweepCase& c, std::ostream* os) { *os << c.name; }

// The value of an option in the usage line an example's header shows.
std::string UsageValue(const std::string& text, const std::string& option) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(option + "\\s+(\\S+)")) ? match[1].str() : std::string();
}

std::vector<SweepCase> Cases() {
    std::vector<SweepCase> cases = {
        {"tkl_pll", "tkl_pll"},
        {"dsp_mult", "dsp_mult"},
        {"hsx_korvo5", "hsx"},
        {"hsx_korvo4", "hsx", "korvo4"},
        {"ssio_rx", "ssio_rx"},
        {"ssio_tx", "ssio_tx"},
        {"generic_tkl_any", "generic", "korvo5", "tkl_any"},
        {"generic_dsp_any", "generic", "korvo5", "dsp_any"},
        {"generic_ssio_any", "generic", "korvo5", "ssio_any"},
        {"generic_hsx_korvo5", "generic", "korvo5", "hsx"},
        {"generic_hsx_korvo4", "generic", "korvo4", "hsx"},
    };
    // Each option file says in its header how it is run.
    std::vector<std::filesystem::path> examples;
    for (const auto& entry : std::filesystem::directory_iterator(OLM_EXAMPLES_DIR))
        if (entry.path().extension() == ".opt") examples.push_back(entry.path());
    std::sort(examples.begin(), examples.end());
    for (const auto& path : examples) {
        const std::string text = olmtest::ReadFile(path.string());
        SweepCase c{path.stem().string(), UsageValue(text, "--wizard"), UsageValue(text, "--family"),
                    UsageValue(text, "--type"), path.filename().string()};
        if (c.family.empty()) c.family = "korvo5";
        cases.push_back(c);
    }
    return cases;
}

class DesignRulesSweep : public testing::TestWithParam<SweepCase> {};

TEST_P(DesignRulesSweep, RunsCleanAndYosysAgrees) {
    const SweepCase& c = GetParam();
    ASSERT_FALSE(c.wizard.empty()) << c.example << " shows no --wizard in its header";
    const olmtest::ScratchDir dir;
    const std::string options = c.example.empty() ? "" : olmtest::ExampleOptions(c.example);
    for (const char* hdl : {"verilog", "vhdl"}) {
        const std::string out = std::string("out_") + hdl;
        const Olm_RunOutcome outcome = olmtest::RunBatch(dir, {.wizard = c.wizard, .options = options, .out = out,
                                                               .hdl = hdl, .family = c.family, .design = "top",
                                                               .dataType = c.dataType})
                                           .outcome;
        ASSERT_TRUE(outcome.Succeeded()) << hdl << ": " << outcome.failure;
        const olmtest::CommandResult check =
            olmtest::RunIn(dir.Path() / out, {OLMWIZ_PATH, "check", "--kfz", "top.kfz"});
        EXPECT_EQ(check.code, 0) << check.output;
    }
    const std::filesystem::path folder = dir.Path() / "out_verilog";
    // The wrapper against the simulation models: every instance's ports and
    // parameters as the models declare them (Yosys cannot read the models'
    // behaviour, Icarus elaborates it).
    if (olmtest::OnPath("iverilog")) {
        std::vector<std::string> command = {"iverilog", "-g2005", "-t", "null", "-s", "top", "top.v"};
        // The first model of each primitive in the folders olmwiz sim searches.
        std::set<std::string> primitives;
        for (const std::string& models : Olm_SimModels::Folders(Olm_HdlLanguage::Verilog)) {
            std::error_code ec;
            for (const auto& model : std::filesystem::directory_iterator(models, ec))
                if (model.path().extension() == ".v" && primitives.insert(model.path().stem().string()).second)
                    command.push_back(model.path().string());
        }
        const olmtest::CommandResult models = olmtest::RunIn(folder, command);
        EXPECT_EQ(models.code, 0) << models.output;
    }
    if (!olmtest::OnPath("yosys")) GTEST_SKIP() << "yosys is not on PATH";
    const olmtest::CommandResult stubs = olmtest::RunIn(folder, {OLMWIZ_PATH, "hdl", "--kfz", "top.kfz", "--lang",
                                                                 "verilog", "-o", "again.v", "--stubs", "top_stubs.v"});
    ASSERT_EQ(stubs.code, 0) << stubs.output;
    const olmtest::CommandResult yosys = olmtest::YosysCheck(folder, "top");
    EXPECT_EQ(yosys.code, 0) << yosys.output;
}

INSTANTIATE_TEST_SUITE_P(Wizards, DesignRulesSweep, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<SweepCase>& info) { return info.param.name; });

}  // namespace
