// Malformed design files given to every command that loads one: show-kfz,
// run --kfz, hdl --kfz and dump --kfz must refuse each with an error naming
// the file (and the line and column of a JSON syntax error), without a crash,
// and leave every output file as it was, the design file itself included.

#include "BadInput.h"

#include "engine/Olm_Engine.h"

#include <algorithm>
#include <iterator>

namespace {

namespace fs = std::filesystem;
using namespace badinput;

const std::string& Sample() {
    static const std::string text = olmtest::ReadFile(OLM_SAMPLE_KFZ);
    return text;
}

// A small design file around body.
std::string Doc(const std::string& body) { return "{\"format\": \"olm-kfz\", \"formatVersion\": 1, " + body + "}"; }

// The sample cut at a spread of places: the parser meets the end of the
// input on the last line.
std::vector<Case> Truncations() {
    std::vector<Case> cases;
    const std::size_t end = Sample().rfind('}');
    for (std::size_t i = 0; i < 10; ++i) {
        const std::size_t cut = end * i / 10 + 1;
        cases.push_back({"truncated_at_" + std::to_string(cut), Sample().substr(0, cut), LineAt(Sample(), cut),
                         "parse error"});
    }
    return cases;
}

std::vector<Case> KfzCases() {
    // The sample edited; a syntax error names the line of the edit (plus
    // lineOffset), other errors no line.
    const auto edit = [](std::string name, const std::string& from, const std::string& to, std::string text,
                         int lineOffset = kNoLine) { return Edited(Sample(), name, from, to, text, lineOffset); };
    const int syntax = 0;
    const std::string nul(1, '\0');
    std::vector<Case> cases =
        NotFiles("No such file", "it is ", "", "it is too large ", Olm_Engine::kMaxDesignFileBytes);
    cases.insert(cases.end(), {
        // Some 70 bytes of memory for each byte of the file: well within the
        // size limit, but more than the memory olmwiz is given.
        {"nested_lists_low_memory", std::string(4 << 20, '['), 0, "not enough memory to read it", Kind::kContent,
         true},
        {"empty_file", "", 1, "unexpected end of input"},
        {"binary_garbage", "\x89PNG\r\n\x1a\n\x01\x02\xfe\xff", 1, "parse error"},
        {"nul_first", nul + Sample(), 1, "parse error"},
        {"spaces_over_1MB", std::string(1100000, ' ') + "x", 1, "parse error"},
        {"newlines_then_garbage", std::string(300, '\n') + "garbage", 301, "parse error"},
        edit("unterminated_string_over_255", "\"designVersion\": \"1.0.0\"",
             "\"designVersion\": \"" + std::string(300, 'v'), "parse error", syntax),
        edit("nul_in_string", "\"TKL_ADV_INST\"", "\"TKL" + nul + "ADV\"", "parse error", syntax),
        edit("latin1_in_string", "\"clk_in\"", "\"clk_\xe9\"", "ill-formed UTF-8", syntax),
        edit("trailing_comma", "\"speed\": \"-2\"", "\"speed\": \"-2\",", "parse error", syntax + 1),
        edit("single_quotes", "\"family\": \"korvo5\"", "'family': 'korvo5'", "parse error", syntax),
        edit("comment", "\"designVersion\"", "// a note\n  \"designVersion\"", "parse error", syntax),
        {"trailing_garbage", Sample() + "}\n", LineAt(Sample(), Sample().size()), "parse error"},
        edit("number_overflow", "\"formatVersion\": 1", "\"formatVersion\": 1e400", "number overflow", syntax),
        {"top_level_list", "[" + Sample() + "]", 0, "the top level is not an object"},
        edit("format_missing", "\"format\": \"olm-kfz\",", "", "\"format\" is missing"),
        edit("format_other", "\"olm-kfz\"", "\"olm-kfy\"", "not a KFZ design file"),
        edit("version_2", "\"formatVersion\": 1", "\"formatVersion\": 2", "format version 2 is not supported"),
        edit("version_text", "\"formatVersion\": 1", "\"formatVersion\": \"1\"", "is not supported"),
        edit("version_real", "\"formatVersion\": 1", "\"formatVersion\": 1.0", "is not supported"),
        edit("version_missing", "\"formatVersion\": 1,", "", "\"formatVersion\" is missing"),
        {"device_list", Doc("\"device\": []"), 0, "\"device\" must be an object"},
        edit("family_number", "\"family\": \"korvo5\"", "\"family\": 5", "\"family\" must be text"),
        {"blocks_object", Doc("\"blocks\": {}"), 0, "\"blocks\" must be a list"},
        {"signals_text", Doc("\"signals\": \"clk\""), 0, "\"signals\" must be a list"},
        edit("block_list", "\"blocks\": [", "\"blocks\": [[], ", "a block must be an object"),
        edit("block_name_number", "\"name\": \"TKL_ADV_INST\"", "\"name\": 17", "\"name\" must be text"),
        edit("block_name_missing", "\"name\": \"TKL_ADV_INST\",", "", "\"name\" is missing"),
        edit("block_name_empty", "\"name\": \"TKL_ADV_INST\"", "\"name\": \"\"", "\"name\" is empty"),
        edit("primtype_missing", "\"primType\": \"TKL_ADV\",", "", "\"primType\" is missing"),
        edit("properties_list", "\"properties\": {\n        \"CLKOUT_DIVIDE\": \"4\"\n      }",
             "\"properties\": [\"CLKOUT_DIVIDE\"]", "\"properties\" must be an object"),
        edit("property_number", "\"CLKOUT_DIVIDE\": \"4\"", "\"CLKOUT_DIVIDE\": 4", "must be text"),
        edit("property_zero_char", "\"CLKOUT_DIVIDE\": \"4\"", "\"CLKOUT_DIVIDE\": \"4\\u0000\"", "zero character"),
        edit("reserved_property", "\"CLKOUT_DIVIDE\"", "\"PRIMTYPE\"", "reserved key"),
        {"pins_object", Doc("\"blocks\": [{\"name\": \"B\", \"primType\": \"T\", \"pins\": {}}]"), 0,
         "\"pins\" must be a list"},
        edit("hasBus_text", "\"ground\": true", "\"ground\": \"yes\"", "must be true or false"),
        edit("busWidth_text", "\"external\": \"clk_in\"", "\"external\": \"clk_in\", \"busWidth\": \"8\"",
             "\"busWidth\" must be a whole number"),
        edit("busWidth_huge", "\"external\": \"clk_in\"", "\"external\": \"clk_in\", \"busWidth\": 99999999999",
             "\"busWidth\" must be a whole number"),
        edit("duplicate_pin", "\"name\": \"RST\"", "\"name\": \"CLKIN\"", "appears twice"),
        edit("duplicate_signal_case", "\"signals\": [", "\"signals\": [{\"name\": \"CLK_IN\"}, ", "appears twice"),
        edit("duplicate_block", "\"blocks\": [",
             "\"blocks\": [{\"name\": \"tkl_adv_inst\", \"primType\": \"TKL_ADV\"}, ", "appears twice"),
        edit("duplicate_block_escape_name", "\"blocks\": [",
             "\"blocks\": [{\"name\": \"B\\u001b[2J\", \"primType\": \"T\"}, "
             "{\"name\": \"B\\u001b[2J\", \"primType\": \"T\"}, ",
             "block 'B\\x1B[2J'"),
        // A key twice in one object, in any object of the file: the second one is named.
        edit("duplicate_key_top_level", "\"designVersion\": \"1.0.0\",",
             "\"designVersion\": \"1.0.0\",\n  \"designVersion\": \"2.0.0\",",
             "the key \"designVersion\" appears twice", syntax + 1),
        edit("duplicate_property_key", "\"CLKOUT_DIVIDE\": \"4\"", "\"CLKOUT_DIVIDE\": \"4\", \"CLKOUT_DIVIDE\": \"8\"",
             "the key \"CLKOUT_DIVIDE\" appears twice", syntax),
        edit("duplicate_key_escaped", "\"ground\": true", "\"ground\": true, \"n\\u0061me\": \"CLKIN\"",
             "the key \"name\" appears twice", syntax),
        edit("duplicate_key_in_unknown_field", "\"designVersion\"",
             "\"colour\": [{\"a\": 1}, {\"a\": 2, \"b\": {\"a\": 3}, \"a\": 4}],\n  \"designVersion\"",
             "the key \"a\" appears twice", syntax),
        edit("connection_no_block", "\"block\": \"TKL_ADV_INST\"", "\"block\": \"NONE\"", "there is no such block"),
        edit("connection_no_pin", "\"pin\": \"CLKIN\"", "\"pin\": \"NONE\"", "the block has no such pin"),
        edit("connection_no_signal", "\"signal\": \"clk_in\"", "\"signal\": \"none\"", "there is no such signal"),
        edit("connection_twice", "\"connections\": [",
             "\"connections\": [{\"signal\": \"clk_in\", \"block\": \"TKL_ADV_INST\", \"pin\": \"CLKIN\"}, ",
             "connected to 'clk_in' already"),
    });
    cases.push_back(edit("crlf_syntax_error", "\"speed\": \"-2\"", "\"speed\": -", "parse error", syntax));
    cases.back().content = Crlf(cases.back().content);
    std::ranges::move(Truncations(), std::back_inserter(cases));
    return cases;
}

class BadKfz : public BadInput {};

TEST_P(BadKfz, EveryCommandRefusesIt) {
    OutputGuard out(m_scratch.Path() / "out");
    const std::string dump = out.Add("d.dmp", "earlier dump\n");
    const std::string stubs = out.Add("d_stubs.v", "// earlier stubs\n");
    // A design file lies in the output folder under the design's name; a
    // missing one would be there too, anything else lies beside it.
    std::string path = (out.Folder() / "d.kfz").string();
    if (GetParam().kind == Kind::kContent) out.Add("d.kfz", GetParam().content);
    else path = Place(GetParam().kind == Kind::kMissing ? out.Folder() / "none.kfz" : m_scratch.Path() / "other.kfz");

    const std::vector<std::vector<std::string>> commands = {
        {"show-kfz", path},
        BatchRun("tkl_pll", out.Folder(), {"--kfz", path}),
        {"hdl", "--kfz", path, "--lang", "verilog", "-o", (out.Folder() / "d.v").string(), "--stubs", stubs},
        {"dump", "--wizard", "tkl_pll", "--kfz", path, "-o", dump},
    };
    for (const auto& command : commands) {
        EXPECT_TRUE(Refused(m_olmwiz.Run(command), path, GetParam().line, GetParam().text)) << command[0];
    }
    EXPECT_EQ(out.Changes(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, BadKfz, ::testing::ValuesIn(KfzCases()), CaseName);

// Accepted by the format's rules: unknown fields are ignored, CR LF line ends
// are JSON white space.
using KfzAccepted = OlmwizTest;
TEST_F(KfzAccepted, UnknownFieldsAndCrlf) {
    std::string unknown = Sample();
    unknown.insert(unknown.find("\"blocks\""), "\"colour\": [1, {\"x\": null}],\n  ");
    const std::string plain = m_olmwiz.Run({"show-kfz", OLM_SAMPLE_KFZ}).out;
    for (const auto& [name, content] : {std::pair{"unknown.kfz", unknown}, {"crlf.kfz", Crlf(Sample())}}) {
        const ChildResult run = m_olmwiz.Run({"show-kfz", m_scratch.Write(name, content)});
        EXPECT_TRUE(Accepted(run));
        EXPECT_EQ(run.out.substr(run.out.find('\n')), plain.substr(plain.find('\n'))) << name;
    }
}

// A pin width the wrapper cannot use is reported and taken as one bit.
TEST_F(KfzAccepted, UnusableWidthIsTakenAsOneBit) {
    std::string wide = Sample();
    wide.replace(wide.find("[0:0]"), 5, "[99999999:0]");
    EXPECT_TRUE(Accepted(m_olmwiz.Run({"hdl", "--kfz", m_scratch.Write("wide.kfz", wide), "--lang", "verilog", "-o",
                                       m_scratch.File("wide.v")}),
                         "has the width '[99999999:0]'; it is taken as one bit"));
}

}  // namespace
