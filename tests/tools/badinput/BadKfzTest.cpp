// Malformed design files given to every command that loads one: show-kfz,
// run --kfz, hdl --kfz and dump --kfz must refuse each with an error naming
// the file (and the line and column of a JSON syntax error), without a crash,
// and leave every output file as it was, the design file itself included.

#include "BadInput.h"

#include "engine/Olm_Engine.h"

#include <algorithm>
#include <iterator>

namespace {

using namespace badinput;

const std::string kSample = olmtest::ReadFile(OLM_SAMPLE_KFZ);

// The sample cut at a spread of places: the parser meets the end of the
// input on the last line.
std::vector<Case> Truncations() {
    std::vector<Case> cases;
    for (std::size_t i = 0; i < 10; ++i) {
        const std::size_t cut = kSample.rfind('}') * i / 10 + 1;
        cases.push_back({"truncated_at_" + std::to_string(cut), kSample.substr(0, cut), LineAt(kSample, cut),
                         "parse error"});
    }
    return cases;
}

std::vector<Case> KfzCases() {
    std::vector<Case> cases =
        NotFiles("No such file", "it is ", "", "it is too large ", Olm_Engine::kMaxDesignFileBytes);
    std::ranges::move(TableCases(OLM_BADINPUT_CASES "/KfzCases.txt", {{"{FILE}", kSample}}),
                      std::back_inserter(cases));
    cases.insert(cases.end(), {
        // Some 70 bytes of memory for each byte of the file: well within the
        // size limit, but more than the memory olmwiz is given.
        {"nested_lists_low_memory", std::string(4 << 20, '['), 0, "not enough memory to read it", Kind::kContent,
         true},
        {"spaces_over_1MB", std::string(1100000, ' ') + "x", 1, "parse error"},
        {"newlines_then_garbage", std::string(300, '\n') + "garbage", 301, "parse error"},
        {"trailing_garbage", kSample + "}\n", LineAt(kSample, kSample.size()), "parse error"},
        Edited(kSample, "unterminated_string_over_255", "\"designVersion\": \"1.0.0\"",
               "\"designVersion\": \"" + std::string(300, 'v'), "parse error", 0),
        Edited(kSample, "crlf_syntax_error", "\"speed\": \"-2\"", "\"speed\": -", "parse error", 0),
    });
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
    std::string unknown = kSample;
    unknown.insert(unknown.find("\"blocks\""), "\"colour\": [1, {\"x\": null}],\n  ");
    const std::string plain = m_olmwiz.Run({"show-kfz", OLM_SAMPLE_KFZ}).out;
    for (const auto& [name, content] : {std::pair{"unknown.kfz", unknown}, {"crlf.kfz", Crlf(kSample)}}) {
        const ChildResult run = m_olmwiz.Run({"show-kfz", m_scratch.Write(name, content)});
        EXPECT_TRUE(Accepted(run));
        EXPECT_EQ(run.out.substr(run.out.find('\n')), plain.substr(plain.find('\n'))) << name;
    }
}

// A pin width the wrapper cannot use is reported and taken as one bit.
TEST_F(KfzAccepted, UnusableWidthIsTakenAsOneBit) {
    std::string wide = kSample;
    wide.replace(wide.find("[0:0]"), 5, "[99999999:0]");
    EXPECT_TRUE(Accepted(m_olmwiz.Run({"hdl", "--kfz", m_scratch.Write("wide.kfz", wide), "--lang", "verilog", "-o",
                                       m_scratch.File("wide.v")}),
                         "has the width '[99999999:0]'; it is taken as one bit"));
}

}  // namespace
