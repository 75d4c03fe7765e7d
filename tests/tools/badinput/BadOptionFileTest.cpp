// Malformed option files given to a batch run of each reference wizard: the
// run must stop with an error on stderr naming the file (and the line of a
// faulty statement) and leave the output folder as it was.

#include "BadInputText.h"
#include "OlmwizChild.h"
#include "OutputGuard.h"
#include "TestSupport.h"
#include "Verdict.h"

#include "datafiles/Olm_OptFileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

namespace {

namespace fs = std::filesystem;
using badinput::Garbage;
using badinput::Refusal;

// A reference wizard and the names its option files address.
struct Wizard {
    const char* type;
    const char* primitive;  // {P} in a case's text
    const char* pin;        // {N}: a pin of that primitive
};

constexpr Wizard kWizards[] = {{"tkl_pll", "RKO_ADV", "CLKOUT0"}, {"dsp_mult", "DSP", "P"}};

using badinput::Kind;

constexpr std::uint64_t kLimit = Olm_OptFileReader::kMaxFileBytes;

struct OptCase {
    std::string name;
    std::string content;  // {P} and {N} stand for the wizard's primitive and pin
    int line = 0;         // the line the error names; 0: none
    std::string text;     // a piece of the error
    Kind kind = Kind::kContent;
    bool lowMemory = false;  // olmwiz gets badinput::kLowMemory of memory
};

std::string Replaced(std::string text, const Wizard& wizard) {
    for (const auto& [mark, value] : {std::pair{"{P}", wizard.primitive}, std::pair{"{N}", wizard.pin}}) {
        for (std::size_t pos = text.find(mark); pos != std::string::npos; pos = text.find(mark, pos)) {
            text.replace(pos, 3, value);
        }
    }
    return text;
}

const std::string kGood = "BlockProp: {P}.*.OLMW_ONLY_NOTE=first;\n";

std::vector<OptCase> OptCases() {
    const std::string nul(1, '\0');
    return {
        {"missing_file", "", 0, "Could not find the specified option file", Kind::kMissing},
        {"folder", "", 0, "is not a regular file (a folder)", Kind::kFolder},
        {"fifo", "", 0, "is not a regular file (a FIFO)", Kind::kFifo},
        {"dev_zero", "", 0, "is not a regular file (a character device)", Kind::kZero},
        {"dev_urandom", "", 0, "is not a regular file (a character device)", Kind::kRandom},
        {"dev_zero_low_memory", "", 0, "is not a regular file (a character device)", Kind::kZero, true},
        {"over_size_limit", "", 0, "is too large " + badinput::OverLimitText(kLimit), Kind::kOverLimit},
        {"unknown_keyword", kGood + "Frobnicate: {P}.*.X=1;\n", 2, "Unrecognized keyword"},
        {"misspelt_keyword", "BlokProp: {P}.*.X=1;\n", 1, "Unrecognized keyword"},
        {"keyword_without_colon", kGood + kGood + "BlockProp {P}.*.X=1;\n", 3, "Missing ';'"},
        {"keyword_at_end_without_value", "BlockProp:", 1, "Missing ';'"},
        // The line end is the value: it is taken as the primitive.
        {"keyword_without_value", "BlockProp:\n", 1, "Missing blkname"},
        {"UsePin_without_value", "# comment\n\nUsePin:;\n", 3, "Missing blkname"},
        {"hash_after_blanks", "  # not a comment\n", 1, "Unrecognized keyword"},
        {"tab_only_line", kGood + "\t\n", 2, "Unrecognized keyword"},
        {"empty_value", "BlockProp: ;\n", 1, "Missing primitive"},
        {"missing_block", "BlockProp: {P};\n", 1, "Missing blkname"},
        {"missing_property_name", "BlockProp: {P}.*;\n", 1, "Missing property name"},
        {"missing_property_value", "BlockProp: {P}.*.OLMW_ONLY_NOTE;\n", 1, "Missing property value"},
        {"empty_property_value", kGood + "BlockProp: {P}.*.OLMW_ONLY_NOTE=;\n", 2, "Missing property value"},
        {"UsePin_without_pin", "UsePin: {P}.*;\n", 1, "Missing pinname in UsePin"},
        {"TklClkBuf_without_block", "TklClkBuf: {P};\n", 1, "Missing blkname"},
        {"TklClkBuf_without_type", "TklClkBuf: {P}.*.{N};\n", 1, "Missing clock buffer type"},
        {"TklClkBuf_unknown_type", "TklClkBuf: {P}.*.{N}=Fast Buffer;\n", 1, "Illegal value for the clock buffer"},
        {"block_of_other_type", "BlockProp: KDIV.{P}.X=1;\n", 1, "Cannot process block"},
        {"binary_garbage", kGood + Garbage(200, 3, "\n:#") + "\n", 2, "ERROR in reading"},
        {"nul_inside_keyword", "Block" + nul + "Prop: {P}.*.X=1;\n", 1, "zero byte"},
        {"nul_inside_value", "BlockProp: {P}.*.OLMW_ONLY_NOTE=2" + nul + "00;\n", 1, "zero byte"},
        {"nul_only_line", kGood + kGood + std::string(4, '\0') + "\n", 3, "zero byte"},
        // A line is read in pieces of 255 characters: the second piece of a
        // long statement is a statement of its own, on the next line number.
        {"line_over_255", "BlockProp: {P}.*.OLMW_ONLY_NOTE=" + std::string(300, 'v') + ";\n", 2,
         "Unrecognized keyword"},
        {"line_over_1MB", "BlockProp: {P}.*.OLMW_ONLY_NOTE=" + std::string(1100000, 'v') + ";\n", 2,
         "Unrecognized keyword"},
        {"latin1_in_keyword", "Bl\xf6" "ckProp: {P}.*.X=1;\n", 1, "Unrecognized keyword"},
        {"terminal_escape", "\x1b]0;title\x07" "BlockProp: {P}.*.X=1;\n", 1, "\\x1B]0;title\\x07"},
        {"crlf_error_line", "# note\r\n" + kGood + "Nonsense;\r\n", 3, "Unrecognized keyword"},
        {"cr_only_line_ends", "BlockProp: {P}.*.OLMW_ONLY_NOTE=1;\rNonsense;\r" + std::string(300, 'x') + "\r", 2,
         "Unrecognized keyword"},
        {"third_error_stops_reading", "Foo;\nBar;\nBaz;\n" + kGood, 3, "Unrecognized keyword"},
        {"error_after_good_lines", kGood + kGood + kGood + kGood + "UsePin: {P};\n", 5, "Missing blkname"},
        {"dot_only_target", "BlockProp: ...=1;\n", 1, "Missing blkname"},
    };
}

void PrintTo(const OptCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const Wizard& w, std::ostream* os) { *os << w.type; }

using Param = std::tuple<Wizard, OptCase>;

class BadOptionFile : public ::testing::TestWithParam<Param> {
protected:
    olmtest::ScratchDir m_scratch;
    badinput::OlmwizChild m_olmwiz{OLMWIZ_PATH, m_scratch.Path()};
};

TEST_P(BadOptionFile, RunStopsBeforeWriting) {
    const auto& [wizard, c] = GetParam();
    if (c.lowMemory) {
        if (!badinput::OlmwizChild::kMemoryLimitWorks) GTEST_SKIP() << "no memory limit under AddressSanitizer";
        m_olmwiz.SetMemoryLimit(badinput::kLowMemory);
    }
    // What is not a file to read is refused at once: a child that waits on
    // it fails the case instead of holding up the suite.
    if (c.kind != Kind::kContent) m_olmwiz.SetTimeout(20);
    std::string path = m_scratch.File("bad.opt");
    if (c.kind == Kind::kContent) m_scratch.Write("bad.opt", Replaced(c.content, wizard));
    else path = badinput::MakeInput(c.kind, path, kLimit);
    badinput::OutputGuard out(m_scratch.Path() / "out", "d");

    const badinput::ChildResult run =
        m_olmwiz.Run({"run", "--wizard", wizard.type, "--family", "korvo5", "--design", "d", "--batch", "--options",
                      path, "--outdir", out.Folder().string()});
    EXPECT_TRUE(badinput::Refused(run, Refusal{path, c.line, c.text}));
    EXPECT_EQ(out.Changes(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadOptionFile, ::testing::Combine(::testing::ValuesIn(kWizards),
                                                                  ::testing::ValuesIn(OptCases())),
                         [](const ::testing::TestParamInfo<Param>& info) {
                             return std::string(std::get<0>(info.param).type) + "_" + std::get<1>(info.param).name;
                         });

// Settings that the option-file reader passes on but the wizard refuses: the
// run stops, says why and names the option file they came from.
struct RefusedSetting {
    const char* wizard;
    const char* statement;
    const char* text;
};

void PrintTo(const RefusedSetting& s, std::ostream* os) { *os << s.wizard << ": " << s.statement; }

class WizardRefusesSetting : public ::testing::TestWithParam<RefusedSetting> {};

TEST_P(WizardRefusesSetting, NamesTheOptionFile) {
    const olmtest::ScratchDir scratch;
    const badinput::OlmwizChild olmwiz(OLMWIZ_PATH, scratch.Path());
    const std::string path = scratch.Write("bad.opt", std::string(GetParam().statement) + "\n");
    badinput::OutputGuard out(scratch.Path() / "out", "d");
    const badinput::ChildResult run =
        olmwiz.Run({"run", "--wizard", GetParam().wizard, "--family", "korvo5", "--design", "d", "--batch",
                    "--options", path, "--outdir", out.Folder().string()});
    EXPECT_TRUE(badinput::Refused(run, Refusal{path, 0, GetParam().text}));
    EXPECT_EQ(out.Changes(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WizardRefusesSetting,
    ::testing::Values(
        RefusedSetting{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKIN1_FREQ=fifty;",
                       "Input clock: the frequency 'fifty' is not a number of MHz"},
        RefusedSetting{"tkl_pll", "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_PORT=clk\xff;", "not a legal portname"},
        RefusedSetting{"dsp_mult", "BlockProp: DSP.*.A_WIDTH=99999999;", "must be a whole number from 2 to 18"},
        RefusedSetting{"dsp_mult", "BlockProp: DSP.*.A_WIDTH=-5;", "The value '-5' of A_WIDTH"},
        RefusedSetting{"dsp_mult", "BlockProp: DSP.*.A_WIDTH=twelve;", "The value 'twelve' of A_WIDTH"}));

// A refused option or design file leaves no output folder behind when the
// run would have made one.
TEST(RefusedRun, MakesNoOutputFolder) {
    const olmtest::ScratchDir scratch;
    const badinput::OlmwizChild olmwiz(OLMWIZ_PATH, scratch.Path());
    const std::string options = scratch.Write("bad.opt", "Frobnicate: 1;\n");
    const std::string kfz = scratch.Write("bad.kfz", "{\n");
    for (const auto& [flag, path] : {std::pair{"--options", options}, std::pair{"--kfz", kfz}}) {
        const fs::path fresh = scratch.Path() / (std::string("fresh") + flag);
        EXPECT_TRUE(badinput::Refused(olmwiz.Run({"run", "--wizard", "tkl_pll", "--family", "korvo5", "--design",
                                                  "d", "--batch", flag, path, "--outdir", fresh.string()}),
                                      Refusal{path, 0, ""}));
        EXPECT_FALSE(fs::exists(fresh)) << flag;
    }
}

// Accepted by the rules: a CR LF copy of an example runs like the original.
TEST(OptionFileAccepted, CrlfExampleRunsLikeTheOriginal) {
    const olmtest::ScratchDir scratch;
    const badinput::OlmwizChild olmwiz(OLMWIZ_PATH, scratch.Path());
    const std::string crlfPath =
        scratch.Write("crlf.opt", badinput::Crlf(olmtest::ReadFile(OLM_EXAMPLES_DIR "/tkl_pll_clkgen.opt")));
    for (const auto& [options, folder] : {std::pair{std::string(OLM_EXAMPLES_DIR "/tkl_pll_clkgen.opt"), "lf"},
                                          std::pair{crlfPath, "crlf"}}) {
        EXPECT_TRUE(badinput::Accepted(olmwiz.Run({"run", "--wizard", "tkl_pll", "--family", "korvo5", "--design",
                                                   "d", "--batch", "--options", options, "--outdir",
                                                   (scratch.Path() / folder).string()})));
    }
    EXPECT_EQ(olmtest::ReadFile((scratch.Path() / "crlf" / "d.v").string()),
              olmtest::ReadFile((scratch.Path() / "lf" / "d.v").string()));
}

}  // namespace
