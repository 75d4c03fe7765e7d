// Batch runs of the source-synchronous I/O wizards through the run session:
// every bus width, data rate, ratio and option, checked by the HDL tools;
// the examples' bit wiring, constraint template and reruns; what they refuse.
#include "WizardTable.h"

#include "TestSupport.h"

#include "OlmKit.h"

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

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A silent batch run into <dir>/<out>; one session serves every run. Strict:
// the option file may name only what the data and the wizard define.
Olm_RunOutcome RunWizard(const fs::path& dir, const std::string& wizType, const std::string& design,
                         const std::string& options, const std::string& out, const std::string& hdl = "verilog",
                         const std::string& kfz = "", bool strict = true) {
    static Olm_RunSession session;
    Olm_RunRequest request;
    request.wizType = wizType;
    request.family = "korvo5";
    request.design = design;
    request.designFile = kfz;
    if (!options.empty()) std::ofstream(request.optionFile = (dir / (out + "_" + design + ".opt")).string()) << options;
    request.hdl = hdl;
    request.outputDir = (dir / out).string();
    request.batch = request.silent = true;
    request.strict = strict;
    return session.Run(request, olmwiz::FindWizard(wizType)->make);
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
                                RunWizard(dir.Path(), rx ? "ssio_rx" : "ssio_tx", c.Name(), c.Options(), hdl, hdl);
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

// The bundled examples: what they make, the bits each block reaches, the
// constraint template, and the same bytes again, also from the design file.
struct Example {
    const char* wizType;
    const char* file;
    std::vector<std::string> features;
    std::vector<std::string> verilog;  // parts of the HDL file
    std::string pkx;                   // a part of the constraint template
};

class SsioExample : public ::testing::TestWithParam<Example> {};

TEST_P(SsioExample, MakesTheSameFilesAgainAndFromItsDesignFile) {
    const Example& c = GetParam();
    olmtest::ScratchDir dir;
    const std::string options = ReadFile(std::string(OLM_EXAMPLES_DIR) + "/" + c.file);
    const Olm_RunOutcome first = RunWizard(dir.Path(), c.wizType, "core", options, "first");
    ASSERT_TRUE(first.Succeeded()) << first.failure;
    EXPECT_EQ(first.features, c.features);
    const std::string verilog = ReadFile(dir.File("first/core.v"));
    for (const std::string& part : c.verilog) EXPECT_TRUE(Contains(verilog, part)) << part;
    EXPECT_TRUE(Contains(ReadFile(dir.File("first/core_olmw.pkx")), c.pkx));
    ASSERT_TRUE(RunWizard(dir.Path(), c.wizType, "core", options, "second").Succeeded());
    ASSERT_TRUE(
        RunWizard(dir.Path(), c.wizType, "core", "", "third", "verilog", dir.File("first/core.kfz")).Succeeded());
    for (const std::string file : {"core.kfz", "core.v", "core_olmw.pkx"}) {
        EXPECT_EQ(ReadFile(dir.File("second/" + file)), ReadFile(dir.File("first/" + file))) << file;
        EXPECT_EQ(ReadFile(dir.File("third/" + file)), ReadFile(dir.File("first/" + file))) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SsioExample,
    ::testing::Values(
        // 1000 Mb/s DDR: 500 MHz, 1000 / 8 = 125 MHz; 500 ps / 78.125 ps = 6.4 taps: 6.
        Example{"ssio_rx", "ssio_rx_lvds8.opt",
                {"8 ISERs receive a bus of 8 lines in DDR, 8 bits per word: 1000 Mb/s per line, fast clock rx_clk "
                 "500 MHz, word clock rx_clk_div 125 MHz.",
                 "8 IDLYs delay each line by 6 taps of 78.125 ps (468.75 ps); 1 IDLYCTRL calibrates them from clk_ref "
                 "at 200 MHz."},
                {".D(DATA_DLY[2])", ".I(rx_p[2])", ".O(DATA_DLY[2])", ".Q(rx_word[23:16])", ".DELAY_TAPS(6)"},
                "# site rx_p[7] = ?;\n# site rx_clk = ?;\n# site rx_clk_div = ?;\n# site clk_ref = ?;\n\n"
                "# Clock periods\nclock_period rx_clk = 2.000 ns;\nclock_period rx_clk_div = 8.000 ns;\n"
                "clock_period clk_ref = 5.000 ns;\n"},
        // 1200 Mb/s DDR: 600 MHz, 1200 / 10 = 120 MHz; line 2: master OSER_INST3 (bits 20-27 of the
        // words), slave OSER_INST11 (8 + 2 + 1; bits 28-29).
        Example{"ssio_tx", "ssio_tx_lvds8.opt",
                {"16 OSERs transmit a bus of 8 lines in DDR, 10 bits per word, each line on a master and a slave "
                 "OSER: 1200 Mb/s per line, fast clock tx_clk 600 MHz, word clock tx_clk_div 120 MHz.",
                 "Tristate control per line: 4 bits per word from tx_tri (DDR), output enables on tx_tq."},
                {") OSER_INST3 (\n        .CLK(tx_clk),\n        .CLKWORD(tx_clk_div),\n        .D(tx_word[27:20]),\n"
                 "        .T(tx_tri[11:8]),",
                 ") OSER_INST11 (\n        .CLK(tx_clk),\n        .CLKWORD(tx_clk_div),\n"
                 "        .D({6'b0, tx_word[29:28]}),\n        .T(4'b0),",
                 ".CASC_DIN1(OSER_CASC1[2]),\n        .CASC_DIN2(OSER_CASC2[2]),\n        .DOUT(tx_p[2]),\n"
                 "        .TOUT(tx_tq[2]),",
                 ".CASC_DOUT1(OSER_CASC1[2]),\n        .CASC_DOUT2(OSER_CASC2[2])"},
                "# site tx_p[7] = ?;\n# site tx_clk = ?;\n# site tx_clk_div = ?;\n\n# Clock periods\n"
                "clock_period tx_clk = 1.667 ns;\nclock_period tx_clk_div = 8.333 ns;\n"}),
    [](const ::testing::TestParamInfo<Example>& info) { return std::string(info.param.wizType); });

// Settings the wizards refuse, and the message that says why; nothing is written.
struct Refusal {
    const char* wizType;
    const char* options;
    const char* message;
};

class SsioRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(SsioRefuses, SaysWhyAndWritesNothing) {
    olmtest::ScratchDir dir;
    const Olm_RunOutcome outcome =
        RunWizard(dir.Path(), GetParam().wizType, "x", GetParam().options, "out", "verilog", "", false);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_TRUE(Contains(outcome.failure, GetParam().message)) << outcome.failure;
    EXPECT_FALSE(fs::exists(dir.File("out")));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SsioRefuses,
    ::testing::Values(
        Refusal{"ssio_rx", "BlockProp: ISER.*.DATA_WIDTH=3;\n",
                "ISER cannot use the ratio 3 in DDR: DDR takes the ratios 4, 6, 8 and 10."},
        Refusal{"ssio_rx", "BlockProp: ISER.*.DATA_RATE=SDR;\nBlockProp: ISER.*.OLMW_ONLY_BIT_RATE=900;\n",
                "ISER cannot run 900 Mb/s in SDR: the fast clock would run at 900 MHz, above its limit of 800 MHz."},
        Refusal{"ssio_tx",  // 700 / 2 = 350 MHz
                "BlockProp: OSER.*.DATA_RATE_OUT=SDR;\nBlockProp: OSER.*.DATA_WIDTH=2;\n"
                "BlockProp: OSER.*.OLMW_ONLY_BIT_RATE=700;\n",
                "OSER cannot run 700 Mb/s with 2 bits per word: the word clock would run at 350 MHz, above its limit "
                "of 300 MHz."},
        Refusal{"ssio_rx",  // 2500 / 78.125 = 32
                "BlockProp: ISER.*.OLMW_ONLY_USE_DELAY=TRUE;\nBlockProp: IDLY.*.OLMW_ONLY_DELAY_PS=2500;\n",
                "A delay of 2500 ps needs 32 taps of 78.125 ps (reference clock 200 MHz); IDLY has at most 31 taps, "
                "2421.875 ps."},
        Refusal{"ssio_rx", "BlockProp: ISER.*.OLMW_ONLY_Q_PORT=iser_inst2;\n",
                "The port name 'iser_inst2' of the port of pin Q (Parallel data port) is the name of a block that the "
                "wizard makes."},
        Refusal{"ssio_rx", "BlockProp: IDLY.*.OLMW_ONLY_I_PORT=DATA_DLY;\n",
                "The port name 'DATA_DLY' of the port of pin I (Serial data port) is the name of a net that the "
                "wizard makes."},
        Refusal{"ssio_tx", "BlockProp: OSER.*.OLMW_ONLY_USE_TRISTATE=TRUE;\nBlockProp: OSER.*.DATA_RATE_TRI=BUF;\n",
                "An unregistered tristate path (DATA_RATE_TRI=BUF) passes 1 bit per word, not 4."},
        Refusal{"ssio_tx",
                "BlockProp: OSER.*.OLMW_ONLY_USE_TRISTATE=TRUE;\nBlockProp: OSER.*.DATA_RATE_OUT=SDR;\n"
                "BlockProp: OSER.*.DATA_WIDTH=2;\nBlockProp: OSER.*.OLMW_ONLY_BIT_RATE=400;\n",
                "The tristate word of 4 bits is longer than the data word of 2 bits."}),
    [](const ::testing::TestParamInfo<Refusal>& info) {
        return std::string(info.param.wizType) + "_" + std::to_string(info.index);
    });

}  // namespace
