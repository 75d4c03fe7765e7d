// Malformed option files given to a batch run of each reference wizard: the
// run must stop with an error on stderr naming the file (and the line of a
// faulty statement) and leave the output folder as it was.

#include "BadInput.h"
#include "CaseFiles.h"

#include "datafiles/Olm_OptFileReader.h"

#include <algorithm>

namespace {

using namespace badinput;

// The cases of one reference wizard, whose option files address primitive
// and pin.
std::vector<Case> ForWizard(const std::string& wizard, const std::string& primitive, const std::string& pin) {
    const std::string good = "BlockProp: " + primitive + ".*.OLMW_ONLY_NOTE=first;\n";
    const std::string note = "BlockProp: " + primitive + ".*.OLMW_ONLY_NOTE=";
    std::vector<Case> cases = NotFiles("Could not find the specified option file", "is not a regular file (", ")",
                                       "is too large ", Olm_OptFileReader::kMaxFileBytes);
    // A FIFO may carry an option file; one that nobody writes to is given up
    // after a bounded wait.
    for (Case& c : cases) {
        if (c.kind == Kind::kFifo) c.text = "It is a FIFO that nothing was written to within";
    }
    std::ranges::move(TableCases(OLM_BADINPUT_CASES "/OptionFileCases.txt",
                                 {{"{GOOD}", good}, {"{P}", primitive}, {"{N}", pin}}),
                      std::back_inserter(cases));
    cases.insert(cases.end(), {
        {"binary_garbage", good + Garbage(200, 3, "\n:#") + "\n", 2, "ERROR in reading"},
        // A line is read in pieces of 255 characters: the second piece of a
        // long statement is a statement of its own, on the next line number.
        {"line_over_255", note + std::string(300, 'v') + ";\n", 2, "Unrecognized keyword"},
        {"line_over_1MB", note + std::string(1100000, 'v') + ";\n", 2, "Unrecognized keyword"},
        {"cr_only_line_ends", note + "1;\rNonsense;\r" + std::string(300, 'x') + "\r", 2, "Unrecognized keyword"},
    });
    for (Case& c : cases) c.wizard = wizard;
    return cases;
}

class BadOptionFile : public BadInput {};

TEST_P(BadOptionFile, RunStopsBeforeWriting) {
    const std::string path = Place(m_scratch.Path() / "bad.opt");
    OutputGuard out(m_scratch.Path() / "out");
    const ChildResult run = m_olmwiz.Run(BatchRun(GetParam().wizard, out.Folder(), {"--options", path}));
    EXPECT_TRUE(Refused(run, path, GetParam().line, GetParam().text));
    EXPECT_EQ(out.Changes(), "");
    // Said once: no line of the failure on standard error again on standard output.
    const std::vector<std::string> shown = olmtest::Split(run.out, "\n");
    for (const std::string& line : olmtest::Split(run.err, "\n"))
        EXPECT_TRUE(line.find("ERROR") == std::string::npos || std::ranges::find(shown, line) == shown.end()) << line;
}

INSTANTIATE_TEST_SUITE_P(tkl_pll, BadOptionFile, ::testing::ValuesIn(ForWizard("tkl_pll", "RKO_ADV", "CLKOUT0")),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(dsp_mult, BadOptionFile, ::testing::ValuesIn(ForWizard("dsp_mult", "DSP", "P")), CaseName);

// Settings that the option-file reader passes on but the wizard refuses: the
// run stops, says why and names the option file they came from.
INSTANTIATE_TEST_SUITE_P(WizardRefusesSetting, BadOptionFile,
                         ::testing::ValuesIn(TableCases(OLM_BADINPUT_CASES "/WizardSettingCases.txt", {})), CaseName);

// A refused option or design file leaves no output folder behind when the
// run would have made one.
using RefusedRun = OlmwizTest;
TEST_F(RefusedRun, MakesNoOutputFolder) {
    const std::string options = m_scratch.Write("bad.opt", "Frobnicate: 1;\n");
    const std::string kfz = m_scratch.Write("bad.kfz", "{\n");
    for (const auto& [flag, path] : {std::pair{"--options", options}, {"--kfz", kfz}}) {
        const fs::path fresh = m_scratch.Path() / (std::string("fresh") + flag);
        EXPECT_TRUE(Refused(m_olmwiz.Run(BatchRun("tkl_pll", fresh, {flag, path})), path, 0, ""));
        EXPECT_FALSE(fs::exists(fresh)) << flag;
    }
}

// Accepted by the rules: a CR LF copy of an example runs like the original.
using OptionFileAccepted = OlmwizTest;
TEST_F(OptionFileAccepted, CrlfExampleRunsLikeTheOriginal) {
    const std::string lf = OLM_EXAMPLES_DIR "/tkl_pll_clkgen.opt";
    const std::string crlf = m_scratch.Write("crlf.opt", Crlf(olmtest::ReadFile(lf)));
    EXPECT_TRUE(Accepted(m_olmwiz.Run(BatchRun("tkl_pll", m_scratch.Path() / "lf", {"--options", lf}))));
    EXPECT_TRUE(Accepted(m_olmwiz.Run(BatchRun("tkl_pll", m_scratch.Path() / "crlf", {"--options", crlf}))));
    EXPECT_EQ(olmtest::ReadFile(m_scratch.File("crlf/d.v")), olmtest::ReadFile(m_scratch.File("lf/d.v")));
}

}  // namespace
