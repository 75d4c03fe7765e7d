// Batch runs of every reference wizard: the refusals listed beside each
// wizard's tests, and numbers however they are written.
#include "CaseFiles.h"
#include "WizardBatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

std::vector<olmtest::CaseRecord> Refusals() {
    std::vector<olmtest::CaseRecord> all;
    for (const char* folder : {"tkl_pll", "dsp_mult", "hsx", "ssio"}) {
        for (olmtest::CaseRecord& c : olmtest::ReadCaseRecords(std::string(OLM_CASES_DIR "/") + folder + "/refusals.txt")) {
            c.fields["case"] = std::string(folder) + " " + c["case"];
            all.push_back(std::move(c));
        }
    }
    return all;
}

class RefWizardRefuses : public ::testing::TestWithParam<olmtest::CaseRecord> {};

// The failure and the log say why; the run writes nothing, not even the output folder.
TEST_P(RefWizardRefuses, SaysWhyAndWritesNothing) {
    const olmtest::CaseRecord& c = GetParam();
    const olmtest::ScratchDir dir;
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = c["wizard"], .options = c["options"] + "\n", .family = c.Value("family", "korvo5")});
    EXPECT_EQ(run.outcome.result, -1);
    EXPECT_TRUE(olmtest::Contains(run.outcome.failure, c["message"])) << run.outcome.failure;
    EXPECT_TRUE(olmtest::Contains(run.log, c["message"])) << run.log;
    EXPECT_FALSE(fs::exists(dir.File("out")));
}

INSTANTIATE_TEST_SUITE_P(Listed, RefWizardRefuses, ::testing::ValuesIn(Refusals()),
                         [](const auto& info) { return olmtest::CaseName(info.param); });

class RefWizardNumbers : public ::testing::TestWithParam<olmtest::CaseRecord> {};

// A number is taken however it is written, and written in each HDL's syntax.
TEST_P(RefWizardNumbers, AreTakenAndWrittenInEachLanguage) {
    const olmtest::CaseRecord& c = GetParam();
    const olmtest::ScratchDir dir;
    for (const char* lang : {"verilog", "vhdl"}) {
        const olmtest::BatchResult run =
            olmtest::RunBatch(dir, {.wizard = c["wizard"], .options = c["options"] + "\n", .out = lang, .hdl = lang});
        ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
        const std::string wrapper = olmtest::ReadFile(dir.File(std::string(lang) + (std::string(lang) == "verilog" ? "/x.v" : "/x.vhd")));
        EXPECT_TRUE(olmtest::Contains(wrapper, c[lang])) << wrapper;
        for (const std::string& line : run.outcome.changedSettings)
            EXPECT_FALSE(!c["unchanged"].empty() && olmtest::Contains(line, "." + c["unchanged"] + " = ")) << line;
    }
    fs::copy_file(dir.File("vhdl/x.vhd"), dir.File("verilog/x.vhd"));
    for (const char* lang : {"verilog", "vhdl"}) olmtest::ExpectHdlWrittenAgain(dir.Path() / "verilog", "x", lang);
    for (const std::string& finding : olmtest::HdlToolFindings(dir.Path() / "verilog", "x")) ADD_FAILURE() << finding;
}

INSTANTIATE_TEST_SUITE_P(Listed, RefWizardNumbers, ::testing::ValuesIn(olmtest::ReadCaseRecords(OLM_CASES_DIR "/numbers.txt")),
                         [](const auto& info) { return olmtest::CaseName(info.param); });

}  // namespace
