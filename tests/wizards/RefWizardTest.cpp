// Batch runs of every reference wizard that refuse their settings: the
// refusals listed beside each wizard's tests, and every field given values
// that its rule refuses.
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

// Every field of both reference wizards given values its rule refuses, one
// run each: each run fails, says which attribute, and leaves no folder and no
// file behind.
TEST(RefWizardBatch, RefusedRunsLeaveNothingBehind) {
    const olmtest::ScratchDir dir;
    int runs = 0, refused = 0;
    for (const char* wizType : {"tkl_pll", "dsp_mult"}) {
        const std::unique_ptr<Olm_KitMain> probe = olmwiz::FactoryOf(*olmwiz::FindWizard(wizType), wizType)(true);
        const std::string prim = probe->GetBlockType();
        // Every output clock on, so that their fields are checked too.
        std::string allOutputs;
        for (int n = 0; n < 6 && prim == "RKO_ADV"; ++n)
            allOutputs += "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT" + std::to_string(n) + "_USED=TRUE;\n";
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
                        const std::string out = "run" + std::to_string(++runs);
                        const std::string options =
                            allOutputs + "BlockProp: " + prim + ".*." + field->GetAttribute() + "=" + value + ";\n";
                        const Olm_RunOutcome outcome =
                            olmtest::RunBatch(dir, {.wizard = wizType, .options = options, .out = out, .hdl = hdl})
                                .outcome;
                        // A port name that only VHDL refuses may pass in Verilog,
                        // and the HDL checks refuse a disabled port's name too:
                        // only the failures count here.
                        if (outcome.Succeeded())
                            continue;
                        EXPECT_FALSE(outcome.failure.empty());
                        ++refused;
                        EXPECT_FALSE(fs::exists(dir.File(out))) << field->GetAttribute() << "=" << value;
                    }
                }
            }
        }
    }
    EXPECT_GT(refused, 250) << "of " << runs << " runs";
}
