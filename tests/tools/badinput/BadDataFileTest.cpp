// Malformed wizard data files: olmwiz check-data must report each with the
// file and the line, and a run or dump that finds one installed must stop
// before writing anything.

#include "BadInputText.h"
#include "OlmwizChild.h"
#include "OutputGuard.h"
#include "TestSupport.h"
#include "Verdict.h"

#include "datafiles/Olm_DataFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using badinput::Crlf;
using badinput::Garbage;
using badinput::LineAt;
using badinput::Refusal;

using badinput::Kind;

constexpr std::uint64_t kLimit = Olm_DataFileReader::kMaxFileBytes;

struct DataCase {
    std::string name;
    std::string content;
    int line = 0;       // the line the error names; 0: none
    std::string text;   // a piece of the error
    bool installed = false;  // also installed as olm_tkl.dev for run and dump
    Kind kind = Kind::kContent;
    bool lowMemory = false;  // olmwiz gets badinput::kLowMemory of memory
};

const std::string& ValidTkl() {
    static const std::string text = olmtest::ReadFile(OLM_DATA_DIR "/olm_tkl.dev");
    return text;
}

// The valid file with the first occurrence of from replaced; the case names
// the line of the replacement, or the one lineOffset lines further on.
DataCase Edit(std::string name, const std::string& from, const std::string& to, std::string text,
              bool installed = false, int lineOffset = 0) {
    std::string content = ValidTkl();
    const std::size_t pos = content.find(from);
    if (pos == std::string::npos) return {name + "_EDIT_NOT_FOUND", "", 1, from};
    content.replace(pos, from.size(), to);
    const int line = LineAt(content, pos) + lineOffset;
    return {std::move(name), std::move(content), line, std::move(text), installed};
}

// The valid file cut a few characters into the keyword of each of a spread
// of statements inside Block, Signal and Attribute sections; each cut leaves
// an unknown keyword (or a value-less "Bus") on the last line.
std::vector<DataCase> Truncations() {
    static const char* const kInner[] = {"Primitive", "InputPin", "OutputPin", "BlkFlags", "PossibleValues",
                                         "DefaultValue", "IsModifiable", "EndAttribute", "EndBlock", "External",
                                         "Bus", "EndSignal"};
    const std::string& text = ValidTkl();
    std::vector<DataCase> cases;
    std::size_t lineStart = 0;
    int line = 1;
    std::size_t seen = 0;
    while (lineStart < text.size()) {
        const std::size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
        const std::size_t first = text.find_first_not_of(" \t", lineStart);
        for (const char* keyword : kInner) {
            if (first < lineEnd && text.compare(first, std::strlen(keyword), keyword) == 0 && seen++ % 97 == 0) {
                cases.push_back({"truncated_in_" + std::string(keyword) + "_line" + std::to_string(line),
                                 text.substr(0, first + 3), line, "line"});
                break;
            }
        }
        lineStart = lineEnd + 1;
        ++line;
    }
    return cases;
}

std::vector<DataCase> DataCases() {
    const std::string head = "Version: 1.0;\nWizData: tkl;\n  Block: B;\n    Primitive: B;\n";
    std::vector<DataCase> cases = {
        {"empty_file", "", 0, "Missing the WizData statement", true},
        {"comments_only", "# one\n# two\n\n", 0, "Missing the WizData statement"},
        {"missing_file", "", 0, "Could not", true, Kind::kMissing},
        {"folder", "", 0, "is not a regular file (a folder)", true, Kind::kFolder},
        {"fifo", "", 0, "is not a regular file (a FIFO)", true, Kind::kFifo},
        {"dev_zero", "", 0, "is not a regular file (a character device)", true, Kind::kZero},
        {"dev_urandom", "", 0, "is not a regular file (a character device)", false, Kind::kRandom},
        {"dev_zero_low_memory", "", 0, "is not a regular file (a character device)", false, Kind::kZero, true},
        {"over_size_limit", "", 0, "is too large " + badinput::OverLimitText(kLimit), true, Kind::kOverLimit},
        {"cut_before_WizData", ValidTkl().substr(0, ValidTkl().find("WizData:")), 0, "Missing the WizData"},
        {"hash_after_blanks", "  # not a comment\n" + ValidTkl(), 1, "Unrecognized keyword"},
        {"binary_garbage", Garbage(4096, 7), 1, "ERROR in reading"},
        {"garbage_inside_block", head + Garbage(200, 11, "\n") + "\n", 5, "ERROR in reading", true},
        {"nul_inside_keyword", head + "    Primi" + std::string(1, '\0') + "tive: B;\n", 5, "zero byte"},
        {"nul_only_line", head + std::string(3, '\0') + "\n", 5, "zero byte"},
        {"nul_inside_value", head + "    Attribute: A;\n      DefaultValue: 2" + std::string(1, '\0') + "00;\n", 6,
         "zero byte", true},
        {"line_of_256", head + "    BlkFlags: " + std::string(246, 'F') + "\n", 5, "longer than 255"},
        {"line_over_1MB", head + "    BlkFlags: " + std::string(1100000, 'F') + ";\n", 5, "longer than 255", true},
        {"cr_only_line_ends", "Version: 1.0;\rWizData: tkl;\r" + std::string(300, ' ') + "X\r", 1, "longer"},
        {"terminal_escape_in_block", head + "    \x1b[2J\x1b[31mPrimitive: B;\n", 5, "\\x1B[2J"},
        {"separators_only_in_block", head + "    ::;;\n", 5, "No keyword"},
        {"attribute_without_values", head + "    Attribute: A;\n    EndAttribute;\n", 6,
         "Missing the DefaultValue"},
        // Reported at the attribute's end, two lines on.
        Edit("missing_DefaultValue", "      DefaultValue: 10.000;\n", "", "Missing the DefaultValue", true, 2),
        Edit("missing_PossibleValues", "      PossibleValues: OLMRANGE=1.250:1000.000;\n", "",
             "Missing the PossibleValues", false, 3),
        Edit("unknown_keyword_file_level", "Version: 1.0;", "Revision: 1.0;", "Unrecognized keyword"),
        Edit("unknown_keyword_in_block", "    Primitive: TKL;", "    Primtive: TKL;", "Unrecognized", true),
        Edit("unknown_keyword_in_attribute", "      DefaultValue: 10.000;", "      Default: 10.000;",
             "Unrecognized keyword"),
        Edit("unknown_keyword_in_signal", "External: CLKIN_IN;", "Extern: CLKIN_IN;", "Unrecognized keyword"),
        Edit("IsModifiable_yes", "IsModifiable: TRUE;", "IsModifiable: yes;", "'yes'", true),
        Edit("SaveToKFZ_number", "SaveToKFZ: TRUE;", "SaveToKFZ: 1;", "'1'"),
        Edit("pin_HasBus_text", "HasBus=TRUE;", "HasBus=maybe;", "'maybe'"),
        Edit("pin_Grounded_number", "Grounded=TRUE;", "Grounded=0;", "'0'"),
        Edit("block_without_name", "  Block: TKL;", "  Block:;", "Missing ';'"),
        Edit("primitive_without_type", "    Primitive: TKL;", "    Primitive:;", "Missing ';'", true),
        Edit("version_without_value", "Version: 1.0;", "Version:", "Missing ';'"),
        Edit("WizData_without_name", "WizData: tkl;", "WizData:;", "Missing ';'"),
        Edit("latin1_in_keyword", "    Primitive: TKL;", "    Primit\xe9ve: TKL;", "Unrecognized"),
        Edit("latin1_in_boolean", "IsModifiable: TRUE;", "IsModifiable: TR\xc9;", "not a valid value"),
        Edit("truncated_boolean", "IsModifiable: TRUE;", "IsModifiable: TR", "not a valid value"),
    };
    // A CR LF file still counts its lines right.
    DataCase crlf = Edit("crlf_unknown_keyword", "    Primitive: TKL_SP;", "    Primitiv TKL_SP;", "Unrecognized");
    crlf.content = Crlf(crlf.content);
    cases.push_back(crlf);
    for (DataCase& cut : Truncations()) cases.push_back(std::move(cut));
    return cases;
}

std::vector<DataCase> InstalledCases() {
    std::vector<DataCase> cases = DataCases();
    std::erase_if(cases, [](const DataCase& c) { return !c.installed; });
    return cases;
}

void PrintTo(const DataCase& c, std::ostream* os) { *os << c.name; }

class BadDataFile : public ::testing::TestWithParam<DataCase> {
protected:
    void SetUp() override {
        if (GetParam().lowMemory) {
            if (!badinput::OlmwizChild::kMemoryLimitWorks) GTEST_SKIP() << "no memory limit under AddressSanitizer";
            m_olmwiz.SetMemoryLimit(badinput::kLowMemory);
        }
        // What is not a file to read is refused at once: a child that waits
        // on it fails the case instead of holding up the suite.
        if (GetParam().kind != Kind::kContent) m_olmwiz.SetTimeout(20);
    }

    // Places the case as name in folder; returns the path to give olmwiz.
    std::string Place(const fs::path& folder, const std::string& name) const {
        const fs::path path = folder / name;
        if (GetParam().kind != Kind::kContent) return badinput::MakeInput(GetParam().kind, path, kLimit);
        std::ofstream(path, std::ios::binary) << GetParam().content;
        return path.string();
    }

    olmtest::ScratchDir m_scratch;
    badinput::OlmwizChild m_olmwiz{OLMWIZ_PATH, m_scratch.Path()};
};

TEST_P(BadDataFile, CheckDataNamesFileAndLine) {
    const DataCase& c = GetParam();
    const std::string path = Place(m_scratch.Path(), "bad.dev");
    EXPECT_TRUE(badinput::Refused(m_olmwiz.Run({"check-data", path}), Refusal{path, c.line, c.text}));
}

// The case installed as the clock-manager data file of a scratch data folder
// (the other files link to the real ones): run and dump stop before writing.
class BadInstalledDataFile : public BadDataFile {};

TEST_P(BadInstalledDataFile, StopsRunAndDump) {
    const DataCase& c = GetParam();
    const fs::path data = badinput::DataFolderWithoutTkl(m_scratch.Path() / "data");
    const fs::path installed = data / "olm_tkl.dev";
    if (const std::string given = Place(data, "olm_tkl.dev"); given != installed) fs::create_symlink(given, installed);
    // The lookup passes over what is not a regular file as not installed,
    // naming the short name.
    const bool found = c.kind == Kind::kContent || c.kind == Kind::kOverLimit;
    const Refusal refusal{found ? installed.string() : "'olm_tkl.dev'", c.line,
                          found ? c.text : "Could not find the installed"};
    m_olmwiz.SetEnv("OLMW_DATA_DIR", data.string());
    badinput::OutputGuard out(m_scratch.Path() / "out", "d");
    const std::string dump = out.Add("d.dmp", "earlier dump\n");

    EXPECT_TRUE(badinput::Refused(m_olmwiz.Run({"run", "--wizard", "tkl_pll", "--family", "korvo5", "--design",
                                                "d", "--batch", "--outdir", out.Folder().string()}),
                                  refusal));
    EXPECT_TRUE(badinput::Refused(m_olmwiz.Run({"dump", "--wizard", "tkl_pll", "--family", "korvo5", "-o", dump}),
                                  refusal));
    EXPECT_EQ(out.Changes(), "");
}

std::string CaseName(const ::testing::TestParamInfo<DataCase>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Cases, BadDataFile, ::testing::ValuesIn(DataCases()), CaseName);
INSTANTIATE_TEST_SUITE_P(Cases, BadInstalledDataFile, ::testing::ValuesIn(InstalledCases()), CaseName);

// A data file within the size limit that does not fit in the memory olmwiz
// is given: one line of 64 MiB zero bytes (a sparse file), read with 192 MiB
// of address space, of which olmwiz itself takes under 128 MiB. Running out
// of memory is an error like any other, not an abort.
TEST(DataFileOutOfMemory, IsAnErrorNotAnAbort) {
    if (!badinput::OlmwizChild::kMemoryLimitWorks) GTEST_SKIP() << "no memory limit under AddressSanitizer";
    const olmtest::ScratchDir scratch;
    badinput::OlmwizChild olmwiz(OLMWIZ_PATH, scratch.Path());
    olmwiz.SetMemoryLimit(192ull << 20);
    const fs::path data = badinput::DataFolderWithoutTkl(scratch.Path() / "data");
    const std::string path = (data / "olm_tkl.dev").string();
    std::ofstream(path, std::ios::binary).close();
    fs::resize_file(path, kLimit);
    olmwiz.SetEnv("OLMW_DATA_DIR", data.string());
    badinput::OutputGuard out(scratch.Path() / "out", "d");
    const std::vector<std::vector<std::string>> commands = {
        {"check-data", path},
        {"dump", "--wizard", "tkl_pll", "--family", "korvo5", "-o", (out.Folder() / "d.dmp").string()},
        {"run", "--wizard", "tkl_pll", "--family", "korvo5", "--design", "d", "--batch", "--outdir",
         out.Folder().string()},
    };
    for (const auto& command : commands) {
        EXPECT_TRUE(badinput::Refused(olmwiz.Run(command), Refusal{"", 0, "olmwiz " + command[0] + ": out of memory"}));
    }
    EXPECT_EQ(out.Changes(), "");
}

// Accepted by the reader's rules: a CR LF copy of the installed file reads
// like the original, and an unknown statement between sections is passed over.
TEST(DataFileAccepted, CrlfAndUnknownStatementBetweenSections) {
    const olmtest::ScratchDir scratch;
    const badinput::OlmwizChild olmwiz(OLMWIZ_PATH, scratch.Path());
    const std::string plain = scratch.Write("plain.dev", ValidTkl());
    const std::string crlf = scratch.Write("crlf.dev", Crlf(ValidTkl()));
    std::string between = ValidTkl();
    between.insert(between.find("  Block: TKL_SP;"), "  Colour: red;\n");
    const std::string unknown = scratch.Write("unknown.dev", between);
    const badinput::ChildResult runs[] = {olmwiz.Run({"check-data", plain}), olmwiz.Run({"check-data", crlf}),
                                          olmwiz.Run({"check-data", unknown})};
    for (const auto& run : runs) EXPECT_TRUE(badinput::Accepted(run));
    const std::string summary = runs[0].out.substr(runs[0].out.find(": OK"));
    EXPECT_EQ(runs[1].out.substr(runs[1].out.find(": OK")), summary);
    EXPECT_EQ(runs[2].out.substr(runs[2].out.find(": OK")), summary);
}

// Accepted by the reader, but not believable: pins whose bit numbers run to
// the ends of the integer range. The HDL writer declares them as one bit with
// a warning instead of building a wrapper bit by bit.
TEST(DataFileAccepted, UnbelievableWidthIsWarnedAbout) {
    const olmtest::ScratchDir scratch;
    badinput::OlmwizChild olmwiz(OLMWIZ_PATH, scratch.Path());
    olmwiz.SetTimeout(30);
    const fs::path data = badinput::DataFolderWithoutTkl(scratch.Path() / "data");
    std::string wide = ValidTkl();
    const std::string pin = "InputPin: CLKIN; Signal=CLKIN_IN;";
    for (std::size_t pos = wide.find(pin); pos != std::string::npos; pos = wide.find(pin, pos + 1)) {
        wide.insert(pos + pin.size(), " Width=[2147483647:-2147483648];");
    }
    std::ofstream(data / "olm_tkl.dev", std::ios::binary) << wide;
    olmwiz.SetEnv("OLMW_DATA_DIR", data.string());
    EXPECT_TRUE(badinput::Accepted(olmwiz.Run({"check-data", (data / "olm_tkl.dev").string()})));
    EXPECT_TRUE(badinput::Accepted(
        olmwiz.Run({"hdl", "--kfz", OLM_SAMPLE_KFZ, "--lang", "verilog", "-o", scratch.File("w.v")}),
        "pin 'CLKIN' of primitive 'TKL_ADV' the bits [2147483647:-2147483648]; it is declared as one bit"));
}

}  // namespace
