// The core symbol of each reference wizard's example shows exactly the ports
// of the wrapper the run wrote (name, direction, width), and the symbol file
// a run writes names each of them; the PLL's adds its output clocks.
#include "WizardBatch.h"

#include "kit/Olm_SymbolSource.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace {

struct Example {
    const char* name;
    const char* wizard;
    const char* dataType;
    const char* family;
    const char* options;  // in examples/
};

// "dir name width" per port of a Verilog wrapper's header.
std::vector<std::string> WrapperPorts(const std::string& verilog) {
    static const std::regex port(R"(^\s*(input|output|inout) wire (\[(-?\d+):(-?\d+)\] )?(\w+),?$)");
    std::vector<std::string> ports;
    std::istringstream lines(verilog);
    bool header = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("module ", 0) == 0) header = true;
        else if (header && line == ");") break;
        std::smatch m;
        if (!header || !std::regex_match(line, m, port)) continue;
        const int width = m[2].matched ? std::abs(std::stoi(m[3]) - std::stoi(m[4])) + 1 : 1;
        ports.push_back(m[1].str() + " " + m[5].str() + " " + std::to_string(width));
    }
    return ports;
}

std::vector<std::string> PortsOf(const Olm_CoreSymbol& symbol) {
    static const char* const dirs[] = {"input", "output", "inout"};  // in the order of Olm_HdlDir
    std::vector<std::string> ports;
    for (const Olm_CoreSymbol::Port& p : symbol.Ports())
        ports.push_back(std::string(dirs[static_cast<int>(p.dir)]) + " " + p.name + " " + std::to_string(p.width));
    return ports;
}

class SymbolPorts : public ::testing::TestWithParam<Example> {};

TEST_P(SymbolPorts, AreTheWrappersPorts) {
    const Example& e = GetParam();
    const olmtest::ScratchDir dir;
    const olmtest::BatchResult run = olmtest::RunBatch(
        dir, {.wizard = e.wizard,
              .options = olmtest::ReadFile(std::string(OLM_EXAMPLES_DIR "/") + e.options),
              .family = e.family,
              .dataType = e.dataType});
    ASSERT_TRUE(run.outcome.Succeeded()) << run.outcome.failure;
    const std::vector<std::string> wrapper = WrapperPorts(olmtest::ReadFile(dir.File("out/x.v")));
    ASSERT_FALSE(wrapper.empty());
    Olm_HdlGenerator generator(e.family);
    Olm_CoreSymbol symbol;
    std::string error;
    ASSERT_TRUE(Olm_SymbolSource::FromDesignFile(dir.File("out/x.kfz"), "x", generator, symbol, error)) << error;
    EXPECT_EQ(PortsOf(symbol), wrapper);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SymbolPorts,
    ::testing::Values(Example{"tkl_pll", "tkl_pll", "", "korvo5", "tkl_pll_clkgen.opt"},
                      Example{"dsp_mult", "dsp_mult", "", "korvo5", "dsp_mult_small.opt"},
                      Example{"hsx_quad", "hsx", "", "korvo5", "hsx_hsx3_x4.opt"},
                      Example{"hsx_korvo4", "hsx", "", "korvo4", "hsx_korvo4_bonded.opt"},
                      Example{"ssio_rx", "ssio_rx", "", "korvo5", "ssio_rx_lvds8.opt"},
                      Example{"ssio_tx", "ssio_tx", "", "korvo5", "ssio_tx_lvds8.opt"},
                      Example{"generic_tkl", "generic", "tkl_any", "korvo5", "generic_tkl.opt"}),
    [](const auto& info) { return std::string(info.param.name); });

// `olmwiz run --symbol`: the SVG beside the files, which stay as a run
// without it writes them; the PLL's output clocks drawn with their settings.
TEST(SymbolFile, NamesThePortsAndDrawsThePllClocks) {
    const olmtest::ScratchDir dir;
    const std::string options = std::string(OLM_EXAMPLES_DIR) + "/tkl_pll_clkgen.opt";
    const auto run = [&](const std::string& out, std::vector<std::string> extra) {
        std::vector<std::string> args = {OLMWIZ_PATH, "run",       "--wizard", "tkl_pll", "--family", "korvo5",
                                         "--design",  "clkgen",    "--options", options,  "--batch",  "--outdir",
                                         dir.File(out)};
        args.insert(args.end(), extra.begin(), extra.end());
        return olmtest::RunIn(dir.Path(), args);
    };
    const olmtest::CommandResult plain = run("plain", {});
    const olmtest::CommandResult drawn = run("drawn", {"--symbol", "clkgen.svg"});
    ASSERT_EQ(drawn.code, 0) << drawn.output;
    std::string said = drawn.output;
    for (std::size_t at = said.find("/drawn"); at != std::string::npos; at = said.find("/drawn", at))
        said.replace(at, 6, "/plain");
    EXPECT_EQ(said, plain.output) << "the run says nothing else";
    olmtest::ExpectSameFiles(dir, "plain", "drawn", "clkgen");
    const std::string svg = olmtest::ReadFile(dir.File("clkgen.svg"));
    for (const char* port : {"sys_clk_in", "sys_rst", "pll_locked", "clk_200", "clk_100_90", "clk_25", "clk_25_ce"})
        EXPECT_NE(svg.find(std::string(">") + port + "</text>"), std::string::npos) << port;
    EXPECT_NE(svg.find("Output clocks over 40 ns"), std::string::npos) << svg;
    EXPECT_NE(svg.find(">10 ns, 90\u00B0, 50%</text>"), std::string::npos) << svg;

    // A symbol file that cannot be written refuses the run before it writes anything.
    const olmtest::CommandResult refused = run("refused", {"--symbol", dir.File("no/such/folder/x.svg")});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.output.find("Could not write the symbol"), std::string::npos) << refused.output;
    EXPECT_FALSE(std::filesystem::exists(dir.File("refused")));
}

}  // namespace
