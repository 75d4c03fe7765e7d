// Malformed design files given to every command that loads one: show-kfz,
// run --kfz, hdl --kfz and dump --kfz must refuse each with an error naming
// the file (and the line and column of a JSON syntax error), without a crash,
// and leave every output file as it was, the design file itself included.

#include "BadInputText.h"
#include "OlmwizChild.h"
#include "OutputGuard.h"
#include "TestSupport.h"
#include "Verdict.h"

#include "engine/Olm_Engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using badinput::Crlf;
using badinput::LineAt;
using badinput::Refusal;

using badinput::Kind;

constexpr std::uint64_t kLimit = Olm_Engine::kMaxDesignFileBytes;

struct KfzCase {
    std::string name;
    std::string content;
    int line = 0;      // the line of a syntax error; 0: none
    std::string text;  // a piece of the error
    Kind kind = Kind::kContent;
    bool lowMemory = false;  // olmwiz gets badinput::kLowMemory of memory
};

const std::string& Sample() {
    static const std::string text = olmtest::ReadFile(OLM_SAMPLE_KFZ);
    return text;
}

// The sample with the first occurrence of from replaced. A syntax error is
// expected on the line of the replacement (or lineOffset lines further on),
// other errors have no line.
KfzCase Edit(std::string name, const std::string& from, const std::string& to, std::string text,
             bool syntax = false, int lineOffset = 0) {
    std::string content = Sample();
    const std::size_t pos = content.find(from);
    if (pos == std::string::npos) return {name + "_EDIT_NOT_FOUND", "", 0, from};
    content.replace(pos, from.size(), to);
    const int line = syntax ? LineAt(content, pos) + lineOffset : 0;
    return {std::move(name), std::move(content), line, std::move(text)};
}

// A small design file around body.
std::string Doc(const std::string& body) { return "{\"format\": \"olm-kfz\", \"formatVersion\": 1, " + body + "}"; }

// The sample cut at a spread of places: the parser meets the end of the
// input on the last line.
std::vector<KfzCase> Truncations() {
    std::vector<KfzCase> cases;
    const std::string& text = Sample();
    const std::size_t end = text.rfind('}');
    for (int i = 0; i < 10; ++i) {
        const std::size_t cut = end * static_cast<std::size_t>(i) / 10 + 1;
        cases.push_back(
            {"truncated_at_" + std::to_string(cut), text.substr(0, cut), LineAt(text, cut), "parse error"});
    }
    return cases;
}

std::vector<KfzCase> KfzCases() {
    const std::string nul(1, '\0');
    std::vector<KfzCase> cases = {
        {"missing_file", "", 0, "No such file", Kind::kMissing},
        {"folder", "", 0, "it is a folder", Kind::kFolder},
        {"fifo", "", 0, "it is a FIFO", Kind::kFifo},
        {"dev_zero", "", 0, "it is a character device", Kind::kZero},
        {"dev_urandom", "", 0, "it is a character device", Kind::kRandom},
        {"dev_zero_low_memory", "", 0, "it is a character device", Kind::kZero, true},
        {"over_size_limit", "", 0, "it is too large " + badinput::OverLimitText(kLimit), Kind::kOverLimit},
        // Some 70 bytes of memory for each byte of the file: well within the
        // size limit, but more than the memory olmwiz is given.
        {"nested_lists_low_memory", std::string(4 << 20, '['), 0, "not enough memory to read it", Kind::kContent,
         true},
        {"empty_file", "", 1, "unexpected end of input"},
        {"binary_garbage", "\x89PNG\r\n\x1a\n\x01\x02\xfe\xff", 1, "parse error"},
        {"nul_first", nul + Sample(), 1, "parse error"},
        {"spaces_over_1MB", std::string(1100000, ' ') + "x", 1, "parse error"},
        {"newlines_then_garbage", std::string(300, '\n') + "garbage", 301, "parse error"},
        Edit("unterminated_string_over_255", "\"designVersion\": \"1.0.0\"",
             "\"designVersion\": \"" + std::string(300, 'v'), "parse error", true),
        Edit("nul_in_string", "\"TKL_ADV_INST\"", "\"TKL" + nul + "ADV\"", "parse error", true),
        Edit("latin1_in_string", "\"clk_in\"", "\"clk_\xe9\"", "ill-formed UTF-8", true),
        Edit("trailing_comma", "\"speed\": \"-2\"", "\"speed\": \"-2\",", "parse error", true, 1),
        Edit("single_quotes", "\"family\": \"korvo5\"", "'family': 'korvo5'", "parse error", true),
        Edit("comment", "\"designVersion\"", "// a note\n  \"designVersion\"", "parse error", true),
        {"trailing_garbage", Sample() + "}\n", LineAt(Sample(), Sample().size()), "parse error"},
        Edit("number_overflow", "\"formatVersion\": 1", "\"formatVersion\": 1e400", "number overflow", true),
        {"top_level_list", "[" + Sample() + "]", 0, "the top level is not an object"},
        Edit("format_missing", "\"format\": \"olm-kfz\",", "", "\"format\" is missing"),
        Edit("format_other", "\"olm-kfz\"", "\"olm-kfy\"", "not a KFZ design file"),
        Edit("version_2", "\"formatVersion\": 1", "\"formatVersion\": 2", "format version 2 is not supported"),
        Edit("version_text", "\"formatVersion\": 1", "\"formatVersion\": \"1\"", "is not supported"),
        Edit("version_real", "\"formatVersion\": 1", "\"formatVersion\": 1.0", "is not supported"),
        Edit("version_missing", "\"formatVersion\": 1,", "", "\"formatVersion\" is missing"),
        {"device_list", Doc("\"device\": []"), 0, "\"device\" must be an object"},
        Edit("family_number", "\"family\": \"korvo5\"", "\"family\": 5", "\"family\" must be text"),
        {"blocks_object", Doc("\"blocks\": {}"), 0, "\"blocks\" must be a list"},
        {"signals_text", Doc("\"signals\": \"clk\""), 0, "\"signals\" must be a list"},
        Edit("block_list", "\"blocks\": [", "\"blocks\": [[], ", "a block must be an object"),
        Edit("block_name_number", "\"name\": \"TKL_ADV_INST\"", "\"name\": 17", "\"name\" must be text"),
        Edit("block_name_missing", "\"name\": \"TKL_ADV_INST\",", "", "\"name\" is missing"),
        Edit("block_name_empty", "\"name\": \"TKL_ADV_INST\"", "\"name\": \"\"", "\"name\" is empty"),
        Edit("primtype_missing", "\"primType\": \"TKL_ADV\",", "", "\"primType\" is missing"),
        Edit("properties_list", "\"properties\": {\n        \"CLKOUT_DIVIDE\": \"4\"\n      }",
             "\"properties\": [\"CLKOUT_DIVIDE\"]", "\"properties\" must be an object"),
        Edit("property_number", "\"CLKOUT_DIVIDE\": \"4\"", "\"CLKOUT_DIVIDE\": 4", "must be text"),
        Edit("property_zero_char", "\"CLKOUT_DIVIDE\": \"4\"", "\"CLKOUT_DIVIDE\": \"4\\u0000\"", "zero character"),
        Edit("reserved_property", "\"CLKOUT_DIVIDE\"", "\"PRIMTYPE\"", "reserved key"),
        {"pins_object", Doc("\"blocks\": [{\"name\": \"B\", \"primType\": \"T\", \"pins\": {}}]"), 0,
         "\"pins\" must be a list"},
        Edit("hasBus_text", "\"ground\": true", "\"ground\": \"yes\"", "must be true or false"),
        Edit("busWidth_text", "\"external\": \"clk_in\"", "\"external\": \"clk_in\", \"busWidth\": \"8\"",
             "\"busWidth\" must be a whole number"),
        Edit("busWidth_huge", "\"external\": \"clk_in\"", "\"external\": \"clk_in\", \"busWidth\": 99999999999",
             "\"busWidth\" must be a whole number"),
        Edit("duplicate_pin", "\"name\": \"RST\"", "\"name\": \"CLKIN\"", "appears twice"),
        Edit("duplicate_signal_case", "\"signals\": [", "\"signals\": [{\"name\": \"CLK_IN\"}, ", "appears twice"),
        Edit("duplicate_block", "\"blocks\": [",
             "\"blocks\": [{\"name\": \"tkl_adv_inst\", \"primType\": \"TKL_ADV\"}, ", "appears twice"),
        Edit("duplicate_block_escape_name", "\"blocks\": [",
             "\"blocks\": [{\"name\": \"B\\u001b[2J\", \"primType\": \"T\"}, "
             "{\"name\": \"B\\u001b[2J\", \"primType\": \"T\"}, ",
             "block 'B\\x1B[2J'"),
        // A key twice in one object, in any object of the file: the second one is named.
        Edit("duplicate_key_top_level", "\"designVersion\": \"1.0.0\",",
             "\"designVersion\": \"1.0.0\",\n  \"designVersion\": \"2.0.0\",",
             "the key \"designVersion\" appears twice", true, 1),
        Edit("duplicate_property_key", "\"CLKOUT_DIVIDE\": \"4\"", "\"CLKOUT_DIVIDE\": \"4\", \"CLKOUT_DIVIDE\": \"8\"",
             "the key \"CLKOUT_DIVIDE\" appears twice", true),
        Edit("duplicate_key_escaped", "\"ground\": true", "\"ground\": true, \"n\\u0061me\": \"CLKIN\"",
             "the key \"name\" appears twice", true),
        Edit("duplicate_key_in_unknown_field", "\"designVersion\"",
             "\"colour\": [{\"a\": 1}, {\"a\": 2, \"b\": {\"a\": 3}, \"a\": 4}],\n  \"designVersion\"",
             "the key \"a\" appears twice", true),
        Edit("connection_no_block", "\"block\": \"TKL_ADV_INST\"", "\"block\": \"NONE\"", "there is no such block"),
        Edit("connection_no_pin", "\"pin\": \"CLKIN\"", "\"pin\": \"NONE\"", "the block has no such pin"),
        Edit("connection_no_signal", "\"signal\": \"clk_in\"", "\"signal\": \"none\"", "there is no such signal"),
        Edit("connection_twice", "\"connections\": [",
             "\"connections\": [{\"signal\": \"clk_in\", \"block\": \"TKL_ADV_INST\", \"pin\": \"CLKIN\"}, ",
             "connected to 'clk_in' already"),
    };
    KfzCase crlf = Edit("crlf_syntax_error", "\"speed\": \"-2\"", "\"speed\": -", "parse error", true);
    crlf.content = Crlf(crlf.content);
    cases.push_back(crlf);
    for (KfzCase& cut : Truncations()) cases.push_back(std::move(cut));
    return cases;
}

void PrintTo(const KfzCase& c, std::ostream* os) { *os << c.name; }

class BadKfz : public ::testing::TestWithParam<KfzCase> {
protected:
    olmtest::ScratchDir m_scratch;
    badinput::OlmwizChild m_olmwiz{OLMWIZ_PATH, m_scratch.Path()};
};

TEST_P(BadKfz, EveryCommandRefusesIt) {
    const KfzCase& c = GetParam();
    if (c.lowMemory) {
        if (!badinput::OlmwizChild::kMemoryLimitWorks) GTEST_SKIP() << "no memory limit under AddressSanitizer";
        m_olmwiz.SetMemoryLimit(badinput::kLowMemory);
    }
    // What is not a file to read is refused at once: a child that waits on
    // it fails the case instead of holding up the suite.
    if (c.kind != Kind::kContent) m_olmwiz.SetTimeout(20);
    badinput::OutputGuard out(m_scratch.Path() / "out", "d");
    const std::string dump = out.Add("d.dmp", "earlier dump\n");
    const std::string stubs = out.Add("d_stubs.v", "// earlier stubs\n");
    // A design file lies in the output folder under the design's name; a
    // missing one would be there too, anything else lies beside it.
    std::string path = (out.Folder() / "d.kfz").string();
    if (c.kind == Kind::kContent) out.Add("d.kfz", c.content);
    else if (c.kind == Kind::kMissing) path = (out.Folder() / "none.kfz").string();
    else path = badinput::MakeInput(c.kind, m_scratch.Path() / "other.kfz", kLimit);

    const std::vector<std::vector<std::string>> commands = {
        {"show-kfz", path},
        {"run", "--wizard", "tkl_pll", "--family", "korvo5", "--design", "d", "--batch", "--kfz", path, "--outdir",
         out.Folder().string()},
        {"hdl", "--kfz", path, "--lang", "verilog", "-o", (out.Folder() / "d.v").string(), "--stubs", stubs},
        {"dump", "--wizard", "tkl_pll", "--kfz", path, "-o", dump},
    };
    for (const auto& command : commands) {
        EXPECT_TRUE(badinput::Refused(m_olmwiz.Run(command), Refusal{path, c.line, c.text})) << command[0];
    }
    EXPECT_EQ(out.Changes(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadKfz, ::testing::ValuesIn(KfzCases()),
                         [](const ::testing::TestParamInfo<KfzCase>& info) { return info.param.name; });

// Accepted by the format's rules: unknown fields are ignored, CR LF line ends
// are JSON white space, and a pin width the wrapper cannot use is reported
// and taken as one bit.
TEST(KfzAccepted, UnknownFieldsCrlfAndUnusableWidth) {
    const olmtest::ScratchDir scratch;
    const badinput::OlmwizChild olmwiz(OLMWIZ_PATH, scratch.Path());
    std::string unknown = Sample();
    unknown.insert(unknown.find("\"blocks\""), "\"colour\": [1, {\"x\": null}],\n  ");
    const std::string crlf = Crlf(Sample());
    const std::string plain = olmwiz.Run({"show-kfz", OLM_SAMPLE_KFZ}).out;
    for (const auto& [name, content] : {std::pair{"unknown.kfz", unknown}, std::pair{"crlf.kfz", crlf}}) {
        const std::string path = scratch.Write(name, content);
        const badinput::ChildResult run = olmwiz.Run({"show-kfz", path});
        EXPECT_TRUE(badinput::Accepted(run));
        EXPECT_EQ(run.out.substr(run.out.find('\n')), plain.substr(plain.find('\n')));
    }

    std::string wide = Sample();
    wide.replace(wide.find("[0:0]"), 5, "[99999999:0]");
    const std::string widePath = scratch.Write("wide.kfz", wide);
    EXPECT_TRUE(badinput::Accepted(
        olmwiz.Run({"hdl", "--kfz", widePath, "--lang", "verilog", "-o", scratch.File("wide.v")}),
        "has the width '[99999999:0]'; it is taken as one bit"));
}

}  // namespace
