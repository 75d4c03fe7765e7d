// The core symbol without Qt: the groups of the ports, the outline of a
// clock, and the SVG text.
#include "OlmConfig.h"

#include "translator/Olm_HdlDesign.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Group = Olm_CoreSymbol::Group;

Olm_HdlConnection Pin(const std::string& name, Olm_HdlDir dir, const std::string& net) {
    Olm_HdlConnection connection;
    connection.pin.name = name;
    connection.pin.dir = dir;
    Olm_HdlBit bit;
    bit.kind = Olm_HdlBit::kNet;
    bit.net = net;
    connection.bits.push_back(bit);
    return connection;
}

// A clock manager whose output reaches its port through a buffer, a buffer
// with an enable, and a registered multiplier.
Olm_HdlDesign Netlist() {
    using D = Olm_HdlDir;
    Olm_HdlDesign view;
    view.name = "core";
    view.ports = {{"ref_in", D::kIn, 1, false},     {"btn", D::kIn, 1, false},    {"locked", D::kOut, 1, false},
                  {"fast", D::kOut, 1, false},      {"clk_slow_ce", D::kIn, 1, false}, {"a", D::kIn, 8, true},
                  {"p", D::kOut, 16, true},         {"done", D::kOut, 1, false},  {"sample_clock", D::kIn, 1, false},
                  {"pad", D::kInout, 4, true},      {"line_p", D::kOut, 1, false}, {"line_n_in", D::kIn, 1, false}};
    view.instances = {
        {"PLL", "PLL", {}, {Pin("CLKIN", D::kIn, "ref_in"), Pin("RST", D::kIn, "btn"), Pin("LOCKED", D::kOut, "locked"),
                            Pin("CLKOUT0", D::kOut, "CLKOUT0_PLL")}},
        {"BUF", "BUF", {}, {Pin("I", D::kIn, "CLKOUT0_PLL"), Pin("O", D::kOut, "fast")}},
        {"BUFCE", "BUFCE", {}, {Pin("I", D::kIn, "CLKOUT0_PLL"), Pin("CE", D::kIn, "clk_slow_ce")}},
        {"MUL", "MUL", {}, {Pin("CLK", D::kIn, "fast"), Pin("A", D::kIn, "a"), Pin("P", D::kOut, "p"),
                            Pin("DONE", D::kOut, "done"), Pin("D", D::kIn, "sample_clock"), Pin("IO", D::kInout, "pad")}},
        {"LANE", "LANE", {}, {Pin("TXP", D::kOut, "line_p"), Pin("RXN", D::kIn, "line_n_in")}},
    };
    return view;
}

TEST(CoreSymbol, GroupsPortsByNameAndPins) {
    const Olm_CoreSymbol symbol = Olm_CoreSymbol::FromDesign(Netlist());
    std::map<std::string, Group> groups;
    for (const Olm_CoreSymbol::Port& port : symbol.Ports()) groups[port.name] = port.group;
    const std::map<std::string, Group> expected = {
        {"ref_in", Group::Clock},         // on a clock pin
        {"btn", Group::Reset},            // on a reset pin
        {"locked", Group::Control},       // one bit
        {"fast", Group::Clock},           // a buffer's output of a clock output
        {"clk_slow_ce", Group::Control},  // an enable, whatever its name says
        {"a", Group::DataIn},
        {"p", Group::DataOut},            // the multiplier's clock input makes no clock of it
        {"done", Group::Control},
        {"sample_clock", Group::Clock},   // by its name
        {"pad", Group::DataOut},          // bidirectional stands with the outputs
        {"line_p", Group::Serial},        // a transceiver's serial lines, not control
        {"line_n_in", Group::Serial},
    };
    EXPECT_EQ(groups, expected);
    EXPECT_EQ(symbol.Name(), "core");
    EXPECT_EQ(symbol.Ports().size(), Netlist().ports.size()) << "every port, in the wrapper's order";
    EXPECT_EQ(symbol.Ports()[5].width, 8);
}

struct WaveCase {
    const char* name;
    Olm_ClockWave wave;
    double span;
    std::vector<std::pair<double, double>> points;  // x over 0..100, y 0 high, 1 low
};

class ClockOutline : public ::testing::TestWithParam<WaveCase> {};

TEST_P(ClockOutline, ChangesLevelAtItsEdges) {
    const WaveCase& c = GetParam();
    EXPECT_EQ(Olm_SymbolDrawing::WavePoints(c.wave, c.span, 0.0, 100.0, 1.0, 0.0), c.points);
}

INSTANTIATE_TEST_SUITE_P(
    Waves, ClockOutline,
    ::testing::Values(
        WaveCase{"Phase90Duty50", {"c", 10.0, 90.0, 0.5}, 10.0, {{0, 1}, {25, 1}, {25, 0}, {75, 0}, {75, 1}, {100, 1}}},
        WaveCase{"NegativePhaseCountsFromTheEnd", {"c", 10.0, -90.0, 0.5}, 10.0,
                 {{0, 0}, {25, 0}, {25, 1}, {75, 1}, {75, 0}, {100, 0}}},
        WaveCase{"TwoCyclesQuarterDuty", {"c", 5.0, 0.0, 0.25}, 10.0,
                 {{0, 0}, {12.5, 0}, {12.5, 1}, {50, 1}, {50, 0}, {62.5, 0}, {62.5, 1}, {100, 1}}},
        WaveCase{"FullDutyIsFlat", {"c", 10.0, 0.0, 1.5}, 10.0, {{0, 0}, {100, 0}}},
        WaveCase{"NoPeriodNoOutline", {"c", 0.0, 0.0, 0.5}, 10.0, {}},
        WaveCase{"TooFastForTheScale", {"c", 0.01, 0.0, 0.5}, 10.0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SymbolSvg, IsTheSameTextEachTimeWithNamesEscapedAndAWaveEach) {
    Olm_CoreSymbol symbol = Olm_CoreSymbol::FromDesign(Netlist());
    symbol.SetName("a<b&c");
    symbol.SetWaves({{"fast", 5.0, 0.0, 0.5}, {"slow", 20.0, 90.0, 0.5}});
    const std::string svg = Olm_SymbolSvg::Text(symbol);
    EXPECT_EQ(svg, Olm_SymbolSvg::Text(symbol));
    EXPECT_NE(svg.find(">a&lt;b&amp;c</text>"), std::string::npos);
    EXPECT_NE(svg.find("Output clocks over 20 ns"), std::string::npos);
    EXPECT_NE(svg.find("20 ns, 90\u00B0, 50%"), std::string::npos);
    std::size_t blue = 0;
    for (std::size_t at = svg.find("stroke=\"#1f4e9a\"/>"); at != std::string::npos; at = svg.find("stroke=\"#1f4e9a\"/>", at + 1))
        ++blue;
    EXPECT_EQ(blue, 2u) << "one outline per clock";
}

}  // namespace
