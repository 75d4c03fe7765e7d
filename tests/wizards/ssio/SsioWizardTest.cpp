// Batch runs of the source-synchronous I/O wizards through the run session:
// every bus width, data rate, ratio and option, checked by the HDL tools;
// the examples' bit wiring, constraint template and reruns. What they refuse
// is listed in refusals.txt.
#include "CaseFiles.h"
#include "WizardBatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;
using olmtest::RunIn;
using olmtest::Contains;

int Count(const std::string& text, const std::string& piece) {
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

// A strict batch run (the option file may name only what the data and the
// wizard define) of a design into <dir>/<out>.
Olm_RunOutcome RunWizard(const olmtest::ScratchDir& dir, const std::string& wizType, const std::string& design,
                         const std::string& options, const std::string& out, const std::string& hdl = "verilog",
                         const std::string& kfz = "") {
    return olmtest::RunBatch(dir, {.wizard = wizType, .options = options, .out = out, .hdl = hdl, .design = design,
                                   .kfz = kfz, .strict = true})
        .outcome;
}

struct Config {
    bool rx;
    int bits;
    bool ddr;
    int ratio;
    bool option;  // the input delay (rx) or the tristate path (tx)

    std::string Name() const {
        return (rx ? "rx" : "tx") + std::to_string(bits) + (ddr ? "_ddr" : "_sdr") + std::to_string(ratio) +
               (option ? "_opt" : "");
    }
    // At the fastest bit rate the blocks run: min(800 * k, 300 * R) Mb/s.
    std::string Options() const {
        const std::string p = std::string("BlockProp: ") + (rx ? "ISER" : "OSER") + ".*.";
        std::string text = p + "OLMW_ONLY_BUS_WIDTH=" + std::to_string(bits) + ";\n" + p +
                           (rx ? "DATA_RATE=" : "DATA_RATE_OUT=") + (ddr ? "DDR;\n" : "SDR;\n") + p + "DATA_WIDTH=" +
                           std::to_string(ratio) + ";\n" + p + "OLMW_ONLY_BIT_RATE=" +
                           std::to_string(std::min(800 * (ddr ? 2 : 1), 300 * ratio)) + ";\n";
        if (option && rx) text += p + "OLMW_ONLY_USE_DELAY=TRUE;\nBlockProp: IDLY.*.OLMW_ONLY_DELAY_PS=500;\n";
        if (option && !rx) text += p + "OLMW_ONLY_USE_TRISTATE=TRUE;\n" + (ratio < 4 ? p + "TRI_WIDTH=1;\n" : "");
        return text;
    }
};

// A top module that holds every design, each port wired to a port of the
// top's own (read from the designs' module headers), so that one Verilator
// run lints them all.
std::string MatrixTop(const std::string& name, const std::vector<std::pair<std::string, std::string>>& designs) {
    static const std::regex port(R"(^    ((input|output) wire (\[\d+:\d+\] )?)(\w+),?$)");
    std::string ports, body;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        const std::string u = "u" + std::to_string(i) + "_";
        std::string conns;
        std::istringstream in(designs[i].second);
        std::smatch m;
        for (std::string line; std::getline(in, line) && line != ");";) {
            if (!std::regex_match(line, m, port)) continue;
            ports += (ports.empty() ? "    " : ",\n    ") + m[1].str() + u + m[4].str();
            conns += (conns.empty() ? "." : ", .") + m[4].str() + "(" + u + m[4].str() + ")";
        }
        body += "    " + designs[i].first + " " + u + " (" + conns + ");\n";
    }
    return "module " + name + " (\n" + ports + "\n);\n" + body + "endmodule\n";
}

TEST(SsioMatrix, EveryConfigurationWiresItsBlocksAndPassesTheHdlTools) {
    olmtest::ScratchDir dir;
    std::vector<std::pair<std::string, std::string>> verilog;  // design, text
    std::vector<std::string> vhdl;
    for (bool rx : {true, false})
        for (int bits : {1, 8, 64})
            for (bool ddr : {false, true})
                for (int ratio : ddr ? std::vector<int>{4, 6, 8, 10} : std::vector<int>{2, 3, 4, 5, 6, 7, 8})
                    for (bool option : {false, true}) {
                        const Config c{rx, bits, ddr, ratio, option};
                        for (const char* hdl : {"verilog", "vhdl"}) {
                            const Olm_RunOutcome outcome =
                                RunWizard(dir, rx ? "ssio_rx" : "ssio_tx", c.Name(), c.Options(), hdl, hdl);
                            ASSERT_TRUE(outcome.Succeeded()) << c.Name() << ": " << outcome.failure;
                        }
                        vhdl.push_back(c.Name() + ".vhd");
                        const std::string text = ReadFile(dir.File("verilog/" + c.Name() + ".v"));
                        verilog.emplace_back(c.Name(), text);
                        // A block (or a master and a slave) per bit; with the
                        // delay an IDLY per bit and exactly one IDLYCTRL.
                        EXPECT_EQ(Count(text, rx ? "\n    ISER #(" : "\n    OSER #("), ratio > 8 ? 2 * bits : bits);
                        EXPECT_EQ(Count(text, "\n    IDLY #("), rx && option ? bits : 0) << c.Name();
                        EXPECT_EQ(Count(text, "\n    IDLYCTRL "), rx && option ? 1 : 0) << c.Name();
                    }
    // The black boxes of every primitive, from an rx design with the delay and a tx design.
    const fs::path vdir = dir.Path() / "verilog", hdir = dir.Path() / "vhdl";
    for (const char* wiz : {"rx", "tx"}) {
        for (const auto& [folder, lang, ext] : {std::tuple{vdir, "verilog", ".v"}, std::tuple{hdir, "vhdl", ".vhd"}}) {
            const std::string w = wiz;
            const olmtest::CommandResult r = RunIn(folder, {OLMWIZ_PATH, "hdl", "--kfz", w + "8_ddr4_opt.kfz",
                                                            "--lang", lang, "-o", "again" + w + ext, "--stubs",
                                                            w + "_stubs" + ext});
            ASSERT_EQ(r.code, 0) << r.output;
        }
    }
    // The tools run side by side: Icarus and GHDL on every file in one call
    // each, Verilator once per wizard on a top that holds its designs.
    using Checked = std::pair<const char*, olmtest::CommandResult>;
    std::vector<std::future<Checked>> checks;
    const auto check = [&checks](const char* tool, const fs::path& folder, std::vector<std::string> argv) {
        if (olmtest::OnPath(tool))
            checks.push_back(std::async(std::launch::async, [=] { return Checked{tool, RunIn(folder, argv)}; }));
    };
    std::vector<std::string> argv{"iverilog", "-g2005", "-t", "null", "rx_stubs.v", "tx_stubs.v"};
    for (const auto& design : verilog) argv.push_back(design.first + ".v");
    check("iverilog", vdir, argv);
    std::ofstream(vdir / "black_boxes.vlt") << olmtest::kStubLintConfig;
    for (const std::string wiz : {"rx", "tx"}) {
        std::vector<std::pair<std::string, std::string>> designs;
        std::copy_if(verilog.begin(), verilog.end(), std::back_inserter(designs),
                     [&wiz](const auto& design) { return design.first.rfind(wiz, 0) == 0; });
        std::ofstream(vdir / ("matrix_" + wiz + ".v")) << MatrixTop("matrix_" + wiz, designs);
        argv = {"verilator",       "--lint-only",       "-Wall",      "--Mdir",    "obj_" + wiz, "--top-module",
                "matrix_" + wiz, "black_boxes.vlt", "matrix_" + wiz + ".v", "rx_stubs.v", "tx_stubs.v"};
        for (const auto& design : designs) argv.push_back(design.first + ".v");
        check("verilator", vdir, argv);
    }
    fs::create_directory(hdir / "work");
    argv = {"sh", "-c", "ghdl -a --std=08 --workdir=work \"$@\" && ghdl -e --std=08 --workdir=work rx64_ddr10_opt && "
                        "ghdl -e --std=08 --workdir=work tx64_ddr10_opt", "sh", "rx_stubs.vhd", "tx_stubs.vhd"};
    argv.insert(argv.end(), vhdl.begin(), vhdl.end());
    check("ghdl", hdir, argv);
    for (auto& done : checks) {
        const auto [tool, result] = done.get();
        EXPECT_EQ(result.code, 0) << tool << ":\n" << result.output;
        EXPECT_FALSE(Contains(result.output, "arning")) << tool << ":\n" << result.output;
    }
}

// The bundled examples of examples.txt: what they make, the bits each block
// reaches, the constraint template, and the same bytes again, also from the
// design file.
class SsioExample : public ::testing::TestWithParam<olmtest::CaseRecord> {};

TEST_P(SsioExample, MakesTheSameFilesAgainAndFromItsDesignFile) {
    const olmtest::CaseRecord& c = GetParam();
    olmtest::ScratchDir dir;
    const std::string options = olmtest::ExampleOptions(c["example"]);
    const Olm_RunOutcome first = RunWizard(dir, c["wizard"], "core", options, "first");
    ASSERT_TRUE(first.Succeeded()) << first.failure;
    EXPECT_EQ(first.features, olmtest::Lines(c["feature"]));
    const std::string verilog = ReadFile(dir.File("first/core.v")), snippets = c["verilog"] + "\n\n";
    for (std::size_t at = 0, end; (end = snippets.find("\n\n", at)) != std::string::npos; at = end + 2)
        EXPECT_TRUE(Contains(verilog, snippets.substr(at, end - at))) << snippets.substr(at, end - at);
    EXPECT_TRUE(Contains(ReadFile(dir.File("first/core_olmw.pkx")), c["pkx"] + "\n"));
    ASSERT_TRUE(RunWizard(dir, c["wizard"], "core", options, "second").Succeeded());
    ASSERT_TRUE(RunWizard(dir, c["wizard"], "core", "", "third", "verilog", dir.File("first/core.kfz")).Succeeded());
    olmtest::ExpectSameFiles(dir, "first", "second", "core");
    olmtest::ExpectSameFiles(dir, "first", "third", "core");
}

INSTANTIATE_TEST_SUITE_P(Examples, SsioExample,
                         ::testing::ValuesIn(olmtest::ReadCaseRecords(OLM_CASES_DIR "/ssio/examples.txt")),
                         [](const auto& info) { return olmtest::CaseName(info.param); });

}  // namespace
