// Batch runs of the source-synchronous I/O wizards through the run session:
// every bus width, data rate, ratio and option, checked by the HDL tools;
// the bit wiring, the constraint template, reruns, and what they refuse.
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
#include <string>
#include <vector>

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

std::string Example(const char* name) { return ReadFile(std::string(OLM_EXAMPLES_DIR) + "/" + name); }

// A silent batch run into <dir>/<out>; one session serves every run. Strict:
// the option file must name only what the data and the wizard define.
Olm_RunOutcome RunWizard(const fs::path& dir, const std::string& wizType, const std::string& design,
                         const std::string& options, const std::string& out, const std::string& hdl = "verilog",
                         const std::string& kfz = "", bool strict = true) {
    static Olm_RunSession session;
    Olm_RunRequest request;
    request.wizType = wizType;
    request.family = "korvo5";
    request.design = design;
    request.designFile = kfz;
    if (!options.empty()) {
        request.optionFile = (dir / (out + "_" + design + ".opt")).string();
        std::ofstream(request.optionFile) << options;
    }
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
        return std::string(rx ? "rx" : "tx") + std::to_string(bits) + (ddr ? "_ddr" : "_sdr") +
               std::to_string(ratio) + (option ? "_opt" : "");
    }
    // The fastest bit rate the blocks run: min(800 * k, 300 * R) Mb/s.
    std::string Options() const {
        const std::string p = std::string("BlockProp: ") + (rx ? "ISER" : "OSER") + ".*.";
        std::string text = p + "OLMW_ONLY_BUS_WIDTH=" + std::to_string(bits) + ";\n" + p +
                           (rx ? "DATA_RATE=" : "DATA_RATE_OUT=") + (ddr ? "DDR" : "SDR") + ";\n" + p +
                           "DATA_WIDTH=" + std::to_string(ratio) + ";\n" + p + "OLMW_ONLY_BIT_RATE=" +
                           std::to_string(std::min(800 * (ddr ? 2 : 1), 300 * ratio)) + ";\n";
        if (option && rx) text += p + "OLMW_ONLY_USE_DELAY=TRUE;\nBlockProp: IDLY.*.OLMW_ONLY_DELAY_PS=500;\n";
        if (option && !rx)
            text += p + "OLMW_ONLY_USE_TRISTATE=TRUE;\n" + p + "TRI_WIDTH=" + (ratio >= 4 ? "4" : "1") + ";\n";
        return text;
    }
};

// The ports of a Verilog wrapper's module header: "input wire [7:0] A".
std::vector<std::string> PortLines(const std::string& verilog) {
    std::vector<std::string> ports;
    std::istringstream in(verilog);
    static const std::regex port(R"(^    ((input|output) wire (\[\d+:\d+\] )?)(\w+),?$)");
    for (std::string line; std::getline(in, line) && line != ");";) {
        std::smatch m;
        if (std::regex_match(line, m, port)) ports.push_back(m[1].str() + "|" + m[4].str());
    }
    return ports;
}

// A top module that instantiates every design with each port wired to a
// port of its own, so that one Verilator run lints them all.
std::string MatrixTop(const std::string& name, const std::vector<std::pair<std::string, std::string>>& designs) {
    std::string ports, body;
    for (std::size_t i = 0; i < designs.size(); ++i) {
        const std::string u = "u" + std::to_string(i);
        std::string conns;
        for (const std::string& port : PortLines(designs[i].second)) {
            const std::string decl = port.substr(0, port.find('|')), name = port.substr(port.find('|') + 1);
            ports += std::string(ports.empty() ? "" : ",\n") + "    " + decl + u + "_" + name;
            conns += std::string(conns.empty() ? "" : ", ") + "." + name + "(" + u + "_" + name + ")";
        }
        body += "    " + designs[i].first + " " + u + " (" + conns + ");\n";
    }
    return "module " + name + " (\n" + ports + "\n);\n" + body + "endmodule\n";
}

struct Checked {
    const char* tool;
    olmtest::CommandResult result;
};

TEST(SsioMatrix, EveryConfigurationWiresItsBlocksAndPassesTheHdlTools) {
    olmtest::ScratchDir dir;
    std::vector<Config> configs;
    for (bool rx : {true, false})
        for (int bits : {1, 8, 64})
            for (bool ddr : {false, true})
                for (int ratio : ddr ? std::vector<int>{4, 6, 8, 10} : std::vector<int>{2, 3, 4, 5, 6, 7, 8})
                    for (bool option : {false, true}) configs.push_back({rx, bits, ddr, ratio, option});
    std::vector<std::pair<std::string, std::string>> verilog;
    std::vector<std::string> vhdl;
    for (const Config& c : configs) {
        const std::string name = c.Name();
        for (const char* hdl : {"verilog", "vhdl"}) {
            const Olm_RunOutcome outcome =
                RunWizard(dir.Path(), c.rx ? "ssio_rx" : "ssio_tx", name, c.Options(), hdl, hdl);
            ASSERT_TRUE(outcome.Succeeded()) << name << ": " << outcome.failure;
        }
        vhdl.push_back(name + ".vhd");
        const std::string text = ReadFile(dir.File("verilog/" + name + ".v"));
        verilog.emplace_back(name, text);
        // A block (or a master and a slave) per bit; with the delay an IDLY
        // per bit and exactly one IDLYCTRL.
        const int blocks = c.ratio > 8 ? 2 * c.bits : c.bits;
        EXPECT_EQ(Count(text, c.rx ? "\n    ISER #(" : "\n    OSER #("), blocks) << name;
        EXPECT_EQ(Count(text, "\n    IDLY #("), c.rx && c.option ? c.bits : 0) << name;
        EXPECT_EQ(Count(text, "\n    IDLYCTRL "), c.rx && c.option ? 1 : 0) << name;
        const std::string serial = c.rx ? "input wire [" : "output wire [";
        EXPECT_TRUE(Contains(text, serial + std::to_string(c.bits - 1) + ":0] " + (c.rx ? "DATA_IN" : "DATA_OUT")))
            << name;
        EXPECT_TRUE(Contains(text, "wire [" + std::to_string(c.bits * c.ratio - 1) + ":0] " +
                                       (c.rx ? "RXDATA" : "TXDATA")))
            << name;
    }
    // The black boxes of every primitive: an rx design with the delay and a tx design.
    const fs::path vdir = dir.Path() / "verilog", hdir = dir.Path() / "vhdl";
    for (const auto& [kfz, stubs] : {std::pair{"rx8_ddr4_opt.kfz", "rx"}, std::pair{"tx8_ddr4.kfz", "tx"}}) {
        for (const auto& [folder, lang, ext] : {std::tuple{vdir, "verilog", ".v"}, std::tuple{hdir, "vhdl", ".vhd"}}) {
            const olmtest::CommandResult r = RunIn(folder, {OLMWIZ_PATH, "hdl", "--kfz", kfz, "--lang", lang, "-o",
                                                            std::string("again") + ext, "--stubs",
                                                            std::string(stubs) + "_stubs" + ext});
            ASSERT_EQ(r.code, 0) << r.output;
        }
    }
    // The tools run side by side: Icarus and GHDL on every file in one call
    // each, Verilator once per wizard on a top that holds all its designs.
    std::vector<std::future<Checked>> checks;
    if (olmtest::OnPath("iverilog"))
        checks.push_back(std::async(std::launch::async, [&] {
            std::vector<std::string> argv{"iverilog", "-g2005", "-t", "null", "rx_stubs.v", "tx_stubs.v"};
            for (const auto& design : verilog) argv.push_back(design.first + ".v");
            return Checked{"iverilog", RunIn(vdir, argv)};
        }));
    if (olmtest::OnPath("verilator")) {
        std::ofstream(vdir / "black_boxes.vlt") << olmtest::kStubLintConfig;
        for (const char* wiz : {"rx", "tx"}) {
            std::vector<std::pair<std::string, std::string>> designs;
            for (const auto& design : verilog)
                if (design.first.rfind(wiz, 0) == 0) designs.push_back(design);
            const std::string top = std::string("ssio_matrix_") + wiz;
            std::ofstream(vdir / (top + ".v")) << MatrixTop(top, designs);
            std::vector<std::string> argv{"verilator", "--lint-only", "-Wall", "--Mdir", "obj_" + top, "--top-module",
                                          top, "black_boxes.vlt", top + ".v", "rx_stubs.v", "tx_stubs.v"};
            for (const auto& design : designs) argv.push_back(design.first + ".v");
            checks.push_back(std::async(std::launch::async, [vdir, argv] { return Checked{"verilator", RunIn(vdir, argv)}; }));
        }
    }
    if (olmtest::OnPath("ghdl"))
        checks.push_back(std::async(std::launch::async, [&] {
            fs::create_directory(hdir / "work");
            std::vector<std::string> argv{"ghdl", "-a", "--std=08", "--workdir=work", "rx_stubs.vhd", "tx_stubs.vhd"};
            argv.insert(argv.end(), vhdl.begin(), vhdl.end());
            olmtest::CommandResult r = RunIn(hdir, argv);
            for (const char* top : {"rx64_ddr10_opt", "tx64_ddr10_opt"}) {
                if (r.code == 0) r = RunIn(hdir, {"ghdl", "-e", "--std=08", "--workdir=work", top});
            }
            return Checked{"ghdl", r};
        }));
    for (auto& check : checks) {
        const Checked done = check.get();
        EXPECT_EQ(done.result.code, 0) << done.tool << ":\n" << done.result.output;
        EXPECT_FALSE(Contains(done.result.output, "arning")) << done.tool << ":\n" << done.result.output;
    }
}

// The bundled examples: what they make, the bits each block reaches, the
// constraint template, and the same bytes again, also from the design file.
struct ExampleCase {
    const char* wizType;
    const char* example;
    std::vector<std::string> features;
    std::vector<std::string> verilog;  // parts of the HDL file
    std::string pkx;                   // a part of the constraint template
};

class SsioExample : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(SsioExample, MakesTheSameFilesAgainAndFromItsDesignFile) {
    const ExampleCase& c = GetParam();
    olmtest::ScratchDir dir;
    const Olm_RunOutcome first = RunWizard(dir.Path(), c.wizType, "core", Example(c.example), "first");
    ASSERT_TRUE(first.Succeeded()) << first.failure;
    EXPECT_EQ(first.features, c.features);
    const std::string verilog = ReadFile(dir.File("first/core.v"));
    for (const std::string& part : c.verilog) EXPECT_TRUE(Contains(verilog, part)) << part;
    EXPECT_TRUE(Contains(ReadFile(dir.File("first/core_olmw.pkx")), c.pkx)) << ReadFile(dir.File("first/core_olmw.pkx"));
    ASSERT_TRUE(RunWizard(dir.Path(), c.wizType, "core", Example(c.example), "second").Succeeded());
    const Olm_RunOutcome again = RunWizard(dir.Path(), c.wizType, "core", "", "third", "verilog", dir.File("first/core.kfz"));
    ASSERT_TRUE(again.Succeeded()) << again.failure;
    for (const char* file : {"core.kfz", "core.v", "core_olmw.pkx"}) {
        const std::string expected = ReadFile(dir.File(std::string("first/") + file));
        EXPECT_EQ(ReadFile(dir.File(std::string("second/") + file)), expected) << file;
        EXPECT_EQ(ReadFile(dir.File(std::string("third/") + file)), expected) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SsioExample,
    ::testing::Values(
        // 1000 Mb/s DDR: 500 MHz, 1000 / 8 = 125 MHz; 500 ps / 78.125 = 6.4 taps: 6.
        ExampleCase{"ssio_rx",
                    "ssio_rx_lvds8.opt",
                    {"8 ISERs receive a bus of 8 lines in DDR, 8 bits per word: 1000 Mb/s per line, fast clock rx_clk "
                     "500 MHz, word clock rx_clk_div 125 MHz.",
                     "8 IDLYs delay each line by 6 taps of 78.125 ps (468.75 ps); 1 IDLYCTRL calibrates them from "
                     "clk_ref at 200 MHz."},
                    {"    ISER #(", ".D(DATA_DLY[2])", ".I(rx_p[2])", ".O(DATA_DLY[2])", ".Q(rx_word[23:16])",
                     ".DELAY_TAPS(6)"},
                    "# site rx_p[7] = ?;\n# site rx_clk = ?;\n# site rx_clk_div = ?;\n# site clk_ref = ?;\n\n"
                    "# Clock periods\nclock_period rx_clk = 2.000 ns;\nclock_period rx_clk_div = 8.000 ns;\n"
                    "clock_period clk_ref = 5.000 ns;\n"},
        // 1200 Mb/s DDR: 600 MHz, 1200 / 10 = 120 MHz; 10 bits: a master (bits 0-7) and a slave (8-9).
        ExampleCase{"ssio_tx",
                    "ssio_tx_lvds8.opt",
                    {"16 OSERs transmit a bus of 8 lines in DDR, 10 bits per word, each line on a master and a slave "
                     "OSER: 1200 Mb/s per line, fast clock tx_clk 600 MHz, word clock tx_clk_div 120 MHz.",
                     "Tristate control per line: 4 bits per word from tx_tri (DDR), output enables on tx_tq."},
                    {"OSER_INST3 (", ".D(tx_word[27:20])", "OSER_INST11 (", ".D({6'b0, tx_word[29:28]})",
                     ".CASC_DOUT1(OSER_CASC1[2])", ".CASC_DIN1(OSER_CASC1[2])", ".T(tx_tri[11:8])", ".TOUT(tx_tq[2])",
                     ".DOUT(tx_p[2])"},
                    "# site tx_p[7] = ?;\n# site tx_clk = ?;\n# site tx_clk_div = ?;\n\n# Clock periods\n"
                    "clock_period tx_clk = 1.667 ns;\nclock_period tx_clk_div = 8.333 ns;\n"}),
    [](const ::testing::TestParamInfo<ExampleCase>& info) { return std::string(info.param.wizType); });

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
        Refusal{"ssio_tx", "BlockProp: OSER.*.DATA_RATE_OUT=SDR;\nBlockProp: OSER.*.DATA_WIDTH=10;\n",
                "OSER cannot use the ratio 10 in SDR: SDR takes the ratios 2, 3, 4, 5, 6, 7 and 8."},
        // SDR: the fast clock runs at the bit rate.
        Refusal{"ssio_rx", "BlockProp: ISER.*.DATA_RATE=SDR;\nBlockProp: ISER.*.OLMW_ONLY_BIT_RATE=900;\n",
                "ISER cannot run 900 Mb/s in SDR: the fast clock would run at 900 MHz, above its limit of 800 MHz."},
        // 700 / 2 = 350 MHz.
        Refusal{"ssio_tx",
                "BlockProp: OSER.*.DATA_RATE_OUT=SDR;\nBlockProp: OSER.*.DATA_WIDTH=2;\n"
                "BlockProp: OSER.*.OLMW_ONLY_BIT_RATE=700;\n",
                "OSER cannot run 700 Mb/s with 2 bits per word: the word clock would run at 350 MHz, above its limit "
                "of 300 MHz."},
        Refusal{"ssio_rx", "BlockProp: ISER.*.OLMW_ONLY_BIT_RATE=15;\n",
                "ISER cannot run 15 Mb/s in DDR: the fast clock would run at 7.5 MHz, below its lowest of 10 MHz."},
        Refusal{"ssio_rx", "BlockProp: ISER.*.OLMW_ONLY_BUS_WIDTH=65;\n",
                "The value '65' of OLMW_ONLY_BUS_WIDTH (Bus width (bits)) is not allowed: it must be a whole number "
                "from 1 to 64."},
        Refusal{"ssio_tx", "BlockProp: OSER.*.OLMW_ONLY_BIT_RATE=2000;\n",
                "The value '2000' of OLMW_ONLY_BIT_RATE (Bit rate per line (Mb/s)) is not allowed: it must be a "
                "number from 10.0 to 1600.0."},
        // 2500 ps / 78.125 ps = 32 taps.
        Refusal{"ssio_rx", "BlockProp: ISER.*.OLMW_ONLY_USE_DELAY=TRUE;\nBlockProp: IDLY.*.OLMW_ONLY_DELAY_PS=2500;\n",
                "A delay of 2500 ps needs 32 taps of 78.125 ps (reference clock 200 MHz); IDLY has at most 31 taps, "
                "2421.875 ps."},
        Refusal{"ssio_rx", "BlockProp: ISER.*.OLMW_ONLY_USE_DELAY=TRUE;\nBlockProp: IDLY.*.REF_FREQ=250;\n",
                "The value '250' of REF_FREQ (Reference clock (MHz)) is not allowed: it must be a number from 190.0 "
                "to 210.0."},
        Refusal{"ssio_rx", "BlockProp: ISER.*.OLMW_ONLY_Q_PORT=iser_inst2;\n",
                "The port name 'iser_inst2' of the port of pin Q (Parallel data port) is the name of a block that the "
                "wizard makes."},
        Refusal{"ssio_rx", "BlockProp: IDLY.*.OLMW_ONLY_I_PORT=DATA_DLY;\n",
                "The port name 'DATA_DLY' of the port of pin I (Serial data port) is the name of a net that the "
                "wizard makes."},
        Refusal{"ssio_tx",
                "BlockProp: OSER.*.OLMW_ONLY_USE_TRISTATE=TRUE;\nBlockProp: OSER.*.DATA_RATE_TRI=BUF;\n",
                "An unregistered tristate path (DATA_RATE_TRI=BUF) passes 1 bit per word, not 4."},
        Refusal{"ssio_tx",
                "BlockProp: OSER.*.OLMW_ONLY_USE_TRISTATE=TRUE;\nBlockProp: OSER.*.DATA_RATE_OUT=SDR;\n"
                "BlockProp: OSER.*.DATA_WIDTH=2;\nBlockProp: OSER.*.OLMW_ONLY_BIT_RATE=400;\n",
                "The tristate word of 4 bits is longer than the data word of 2 bits."}),
    [](const ::testing::TestParamInfo<Refusal>& info) {
        return std::string(info.param.wizType) + "_" + std::to_string(info.index);
    });

}  // namespace
