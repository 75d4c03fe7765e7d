// Malformed wizard data files: olmwiz check-data must report each with the
// file and the line, and a run or dump that finds one installed must stop
// before writing anything.

#include "BadInput.h"

#include "datafiles/Olm_DataFileReader.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

using namespace badinput;

const std::string kValidTkl = olmtest::ReadFile(OLM_DATA_DIR "/olm_tkl.dev");

// The valid file cut a few characters into the keyword of each of a spread
// of statements inside Block, Signal and Attribute sections; each cut leaves
// an unknown keyword (or a value-less "Bus") on the last line.
std::vector<Case> Truncations() {
    static const std::regex kInner("[ \t]*(Primitive|InputPin|OutputPin|BlkFlags|PossibleValues|DefaultValue|"
                                   "IsModifiable|EndAttribute|EndBlock|External|Bus|EndSignal).*");
    std::vector<Case> cases;
    std::istringstream lines(kValidTkl);
    std::size_t seen = 0, start = 0;
    int line = 0;
    std::smatch keyword;
    for (std::string text; std::getline(lines, text); start += text.size() + 1) {
        ++line;
        if (std::regex_match(text, keyword, kInner) && seen++ % 97 == 0) {
            cases.push_back({"truncated_in_" + keyword[1].str() + "_line" + std::to_string(line),
                             kValidTkl.substr(0, start + keyword.position(1) + 3), line, "line"});
        }
    }
    return cases;
}

std::vector<Case> DataCases() {
    const std::string head = "Version: 1.0;\nWizData: tkl;\n  Block: B;\n    Primitive: B;\n";
    std::vector<Case> cases = NotFiles("Could not", "is not a regular file (", ")", "is too large ",
                                       Olm_DataFileReader::kMaxFileBytes);
    std::ranges::move(TableCases(OLM_BADINPUT_CASES "/DataFileCases.txt", {{"{FILE}", kValidTkl}, {"{HEAD}", head}}),
                      std::back_inserter(cases));
    cases.insert(cases.end(), {
        {"cut_before_WizData", kValidTkl.substr(0, kValidTkl.find("WizData:")), 0, "Missing the WizData"},
        {"binary_garbage", Garbage(4096, 7), 1, "ERROR in reading"},
        {"garbage_inside_block", head + Garbage(200, 11, "\n") + "\n", 5, "ERROR in reading"},
        {"line_of_256", head + "    BlkFlags: " + std::string(246, 'F') + "\n", 5, "longer than 255"},
        {"line_over_1MB", head + "    BlkFlags: " + std::string(1100000, 'F') + ";\n", 5, "longer than 255"},
        {"cr_only_line_ends", "Version: 1.0;\rWizData: tkl;\r" + std::string(300, ' ') + "X\r", 1, "longer"},
        // A CR LF file still counts its lines right.
        Edited(kValidTkl, "crlf_unknown_keyword", "    Primitive: TKL_SP;", "    Primitiv TKL_SP;", "Unrecognized", 0),
    });
    cases.back().content = Crlf(cases.back().content);
    std::ranges::move(Truncations(), std::back_inserter(cases));
    return cases;
}

class BadDataFile : public BadInput {};

TEST_P(BadDataFile, CheckDataNamesFileAndLine) {
    const std::string path = Place(m_scratch.Path() / "bad.dev");
    EXPECT_TRUE(Refused(m_olmwiz.Run({"check-data", path}), path, GetParam().line, GetParam().text));
}

// The case installed as olm_tkl.dev of a scratch data folder (the other
// files link to the real ones): run and dump stop before writing.
class BadInstalledDataFile : public BadInput {};

TEST_P(BadInstalledDataFile, StopsRunAndDump) {
    const Case& c = GetParam();
    const fs::path installed = DataFolderWithoutTkl();
    if (const std::string given = Place(installed); given != installed) fs::create_symlink(given, installed);
    // The lookup passes over what is not a regular file as not installed,
    // naming the short name.
    const bool found = c.kind == Kind::kContent || c.kind == Kind::kOverLimit;
    const std::string file = found ? installed.string() : "'olm_tkl.dev'";
    const std::string text = found ? c.text : "Could not find the installed";
    OutputGuard out(m_scratch.Path() / "out");
    const std::string dump = out.Add("d.dmp", "earlier dump\n");

    EXPECT_TRUE(Refused(m_olmwiz.Run(BatchRun("tkl_pll", out.Folder())), file, c.line, text));
    EXPECT_TRUE(Refused(m_olmwiz.Run({"dump", "--wizard", "tkl_pll", "--family", "korvo5", "-o", dump}), file,
                        c.line, text));
    EXPECT_EQ(out.Changes(), "");
}

// Widths the reader takes silently (a run goes on with them), which
// check-data refuses naming the file, the line and what is wrong.
class BadPinWidth : public BadInput {};

TEST_P(BadPinWidth, CheckDataNamesFileLineAndFault) {
    const std::string path = Place(m_scratch.Path() / "bad.dev");
    const ChildResult run = m_olmwiz.Run({"check-data", path});
    EXPECT_TRUE(Refused(run, path, GetParam().line, GetParam().text));
    EXPECT_EQ(run.out, "");
}

using BadPinWidths = OlmwizTest;
TEST_F(BadPinWidths, CheckDataReportsEveryOne) {
    const std::string path = m_scratch.Write(
        "two.dev", "Version: 1.0;\nWizData: tkl;\n  Block: B;\n    Primitive: B;\n    InputPin: A; Width=[35:0;\n"
                   "    InputPin: C; Width=[3:0];\n    OutputPin: D; Signal=D_OUT; Width=[35:O];\n");
    const ChildResult run = m_olmwiz.Run({"check-data", path});
    EXPECT_TRUE(Refused(run, path, 5, "pin 'A' has the malformed width '[35:0'"));
    EXPECT_TRUE(Refused(run, path, 7, "pin 'D' has the malformed width '[35:O]'"));
    EXPECT_NE(run.err.find(path + ": 2 errors"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Cases, BadDataFile, ::testing::ValuesIn(DataCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Cases, BadPinWidth,
                         ::testing::ValuesIn(TableCases(OLM_BADINPUT_CASES "/PinWidthCases.txt", {{"{FILE}", kValidTkl}})),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Cases, BadInstalledDataFile, ::testing::ValuesIn(DataCases()), CaseName);

// A data file within the size limit that does not fit in the memory olmwiz
// is given: one line of 64 MiB zero bytes (a sparse file), read with 192 MiB
// of address space, of which olmwiz itself takes under 128 MiB. Running out
// of memory is an error like any other, not an abort.
using DataFileOutOfMemory = OlmwizTest;
TEST_F(DataFileOutOfMemory, IsAnErrorNotAnAbort) {
    if (!OlmwizChild::kMemoryLimitWorks) GTEST_SKIP() << "no memory limit under AddressSanitizer";
    m_olmwiz.memoryLimit = 192ull << 20;
    const std::string path = DataFolderWithoutTkl();
    std::ofstream(path, std::ios::binary).close();
    fs::resize_file(path, Olm_DataFileReader::kMaxFileBytes);
    OutputGuard out(m_scratch.Path() / "out");
    const std::vector<std::vector<std::string>> commands = {
        {"check-data", path}, {"dump", "--wizard", "tkl_pll", "--family", "korvo5", "-o", out.Folder() / "d.dmp"},
        BatchRun("tkl_pll", out.Folder())};
    for (const auto& command : commands) {
        EXPECT_TRUE(Refused(m_olmwiz.Run(command), "", 0, "olmwiz " + command[0] + ": out of memory"));
    }
    EXPECT_EQ(out.Changes(), "");
}

// Accepted by the reader's rules: a CR LF copy of the installed file reads
// like the original, and an unknown statement between sections is passed over.
using DataFileAccepted = OlmwizTest;
TEST_F(DataFileAccepted, CrlfAndUnknownStatementBetweenSections) {
    std::string between = kValidTkl;
    between.insert(between.find("  Block: TKL_SP;"), "  Colour: red;\n");
    const ChildResult plain = m_olmwiz.Run({"check-data", m_scratch.Write("plain.dev", kValidTkl)});
    ASSERT_TRUE(Accepted(plain));
    for (const auto& [name, content] : {std::pair{"crlf.dev", Crlf(kValidTkl)}, {"unknown.dev", between}}) {
        const ChildResult run = m_olmwiz.Run({"check-data", m_scratch.Write(name, content)});
        EXPECT_TRUE(Accepted(run));
        EXPECT_EQ(run.out.substr(run.out.find(": OK")), plain.out.substr(plain.out.find(": OK"))) << name;
    }
}

// Accepted by the reader, but not believable: pins whose bit numbers run to
// the ends of the integer range. The HDL writer declares them as one bit with
// a warning instead of building a wrapper bit by bit.
TEST_F(DataFileAccepted, UnbelievableWidthIsWarnedAbout) {
    m_olmwiz.timeoutSeconds = 30;
    const fs::path installed = DataFolderWithoutTkl();
    std::string wide = kValidTkl;
    const std::string pin = "InputPin: CLKIN; Signal=CLKIN_IN;";
    for (std::size_t pos = wide.find(pin); pos != std::string::npos; pos = wide.find(pin, pos + 1)) {
        wide.insert(pos + pin.size(), " Width=[2147483647:-2147483648];");
    }
    std::ofstream(installed, std::ios::binary) << wide;
    EXPECT_TRUE(Accepted(m_olmwiz.Run({"check-data", installed.string()})));
    EXPECT_TRUE(Accepted(
        m_olmwiz.Run({"hdl", "--kfz", OLM_SAMPLE_KFZ, "--lang", "verilog", "-o", m_scratch.File("w.v")}),
        "pin 'CLKIN' of primitive 'TKL_ADV' the bits [2147483647:-2147483648]; it is declared as one bit"));
}

}  // namespace
