// The HDL writers on small designs built in code: port directions, ties and
// bit ties, buses of other widths than their pins, parameter kinds, labels
// and the name checks. The layout of whole wrappers is held byte for byte by
// the golden files of the reference wizards (tests/wizards/golden).

#include "engine/Olm_KfzDesign.h"
#include "translator/Olm_HdlDesign.h"
#include "translator/Olm_VerilogWriter.h"
#include "translator/Olm_VhdlWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

Olm_KfzPin Pin(const char* name, const char* dir, const char* width = "[0:0]", const char* signal = "",
               Olm_KfzPropertyList props = {}) {
    return {name, dir, true, width, std::string(width) != "[0:0]", false, false, signal, std::move(props)};
}

Olm_KfzPin Tied(Olm_KfzPin pin, bool vcc) {
    (vcc ? pin.isVcc : pin.isGnded) = true;
    return pin;
}

Olm_KfzSignal Signal(const char* name, const char* external = nullptr, int busWidth = 0) {
    Olm_KfzSignal sig;
    sig.name = name;
    sig.isExternal = external != nullptr;
    sig.externalName = external;
    sig.isBus = busWidth > 0;
    sig.busWidth = busWidth > 0 ? busWidth : 1;
    return sig;
}

Olm_KfzBlock Block(const char* name, const char* type, std::vector<Olm_KfzPin> pins, Olm_KfzPropertyList props = {}) {
    return {name, type, "1", std::move(props), std::move(pins)};
}

struct Texts {
    bool ok = false;
    std::string error;
    std::string verilog, verilogStubs, vhdl, vhdlStubs;
    Olm_HdlDesign design;
};

Texts Write(const Olm_KfzDesign& kfz, const std::string& name, const std::vector<Olm_HdlPrimitive>& library = {}) {
    Texts t;
    t.ok = t.design.Build(kfz, name, library, t.error) && Olm_VerilogWriter::WriteWrapper(t.design, t.verilog, t.error) &&
           Olm_VerilogWriter::WriteStubs(t.design, t.verilogStubs, t.error) &&
           Olm_VhdlWriter::WriteWrapper(t.design, t.vhdl, t.error) &&
           Olm_VhdlWriter::WriteStubs(t.design, t.vhdlStubs, t.error);
    return t;
}

// A buffer driving an inverter: an input bus, an output, an internal net, a
// VCC tie, an integer and a string parameter and an internal property.
Olm_KfzDesign TinyDesign() {
    Olm_KfzDesign kfz;
    kfz.nets = {Signal("din", "d_in", 4), Signal("q", "q_out"), Signal("mid")};
    kfz.blocks = {Block("U1", "BUF4", {Pin("D", "input", "[3:0]", "din"), Pin("Y", "output", "[0:0]", "mid"), Tied(Pin("EN", "input"), true)},
                        {{"MODE", "FAST"}, {"DEPTH", "3"}, {"OLMW_ONLY_INST_NUM", "1"}}),
                  Block("U2", "INV", {Pin("A", "input", "[0:0]", "mid"), Pin("Z", "output", "[0:0]", "q")})};
    return kfz;
}

Texts Tiny() { return Write(TinyDesign(), "tiny"); }

// Direction from the pins on the signal: an output pin drives it, a bidir
// pin makes it inout even beside an output, inputs alone make an input, and
// a port no pin reaches stays an input.
Texts Directions() {
    Olm_KfzDesign kfz;
    kfz.nets = {Signal("a", "pa"), Signal("b", "pb"), Signal("c", "pc"), Signal("d", "pd")};
    kfz.blocks = {Block("U1", "P", {Pin("I", "input", "[0:0]", "a"), Pin("O", "output", "[0:0]", "b"),
                                    Pin("IO", "bidir", "[0:0]", "c"), Pin("I2", "input", "[0:0]", "b")}),
                  Block("U2", "Q", {Pin("O", "output", "[0:0]", "c")})};
    return Write(kfz, "dirs");
}

// Bit ties on a 4-bit input: bit 3 from net bit, bit 2 VCC, bits 1..0 from
// a bus; the pin's own connection is the tie signal GNDa as the wizard's
// save leaves it. Ties to whole pins become all ones / all zeros; a pin with
// only bits 2 and 0 tied takes bit 1 from its connection (VCCa).
Texts Ties() {
    Olm_KfzDesign kfz;
    Olm_KfzSignal vcc = Signal("VCCa"), gnd = Signal("GNDa");
    vcc.isVcc = gnd.isGnded = true;
    kfz.nets = {Signal("a", "a", 2), Signal("b", "b", 3), vcc, gnd};
    kfz.blocks = {Block("U1", "P",
                        {Pin("MODE", "input", "[3:0]", "GNDa",
                             {{"OLMW_ONLY_PIN_SIG_BIT_3:3", "a[1:1]"}, {"OLMW_ONLY_PIN_SIG_BIT_2:2", "VCCa[0:0]"},
                              {"OLMW_ONLY_PIN_SIG_BIT_1:0", "b[2:1]"}}),
                         Tied(Pin("ONES", "input", "[5:0]"), true), Tied(Pin("ZEROS", "input", "[5:0]"), false),
                         Pin("PART", "input", "[2:0]", "VCCa",
                             {{"OLMW_ONLY_PIN_SIG_BIT_2:2", "GNDa[0:0]"}, {"OLMW_ONLY_PIN_SIG_BIT_0:0", "GNDa[0:0]"}})})};
    return Write(kfz, "ties");
}

// A bus narrower than an input pin is zero-extended; an output pin wider
// than its bus sends its upper bits to an unused wire (Verilog) or through a
// pin signal (VHDL); a bus wider than an input pin gives its low bits.
Texts Widths() {
    Olm_KfzDesign kfz;
    kfz.nets = {Signal("n", "narrow", 3), Signal("p", "p", 5), Signal("w", "wide", 8), Signal("s", "s")};
    kfz.blocks = {Block("U1", "PRIM", {Pin("A", "input", "[5:0]", "n"), Pin("Y", "output", "[7:0]", "p"),
                                       Pin("B", "input", "[3:0]", "w"), Pin("C", "input", "[1:0]", "s"),
                                       Pin("UNUSED_OUT", "output", "[2:0]")})};
    return Write(kfz, "widths");
}

// A library primitive with a parameter of each kind.
Olm_HdlPrimitive Pll() {
    Olm_HdlPrimitive prim;
    prim.name = "PLL";
    prim.pins = {Olm_HdlPrimitivePin{"CLK", Olm_HdlDir::kIn, 0, 0, false}};
    prim.params = {{"FREQ", "10.000", Olm_HdlParamKind::kReal},
                   {"DIV", "1", Olm_HdlParamKind::kInteger},
                   {"NAME", "a\"b", Olm_HdlParamKind::kString}};
    return prim;
}

// Parameters take the kind of the primitive's parameter: an integer value of
// a real parameter is written as a real; ignored properties are left out.
Texts Kinds() {
    Olm_KfzDesign kfz;
    kfz.blocks = {Block("U1", "PLL", {},
                        {{"FREQ", "100"}, {"DIV", "-4"}, {"PROP_HSX10", "TRUE"}, {"OLM_X", "1"}, {"NAME", "say \"hi\""}})};
    return Write(kfz, "kinds", {Pll()});
}

// Internal blocks are left out; a block named like its primitive keeps its
// name in Verilog and gets a label of its own in VHDL.
Texts Labels() {
    Olm_KfzDesign kfz;
    kfz.blocks = {Block("TOPBLK", "OLM_TOP", {Pin("X", "input")}), Block("DSP", "DSP", {Pin("X", "input")})};
    return Write(kfz, "labels");
}

struct Fragment {
    Texts (*design)();
    std::string Texts::*text;
    const char* part;
    bool present = true;
};

void PrintTo(const Fragment& f, std::ostream* os) { *os << (f.present ? "" : "no ") << f.part; }

class HdlWriterFragment : public testing::TestWithParam<Fragment> {};

TEST_P(HdlWriterFragment, IsWrittenOrLeftOut) {
    const Texts t = GetParam().design();
    ASSERT_TRUE(t.ok) << t.error;
    const std::string& text = t.*GetParam().text;
    EXPECT_EQ(text.find(GetParam().part) != std::string::npos, GetParam().present) << text;
}

using T = Texts;
INSTANTIATE_TEST_SUITE_P(
    Designs, HdlWriterFragment,
    testing::ValuesIn(std::vector<Fragment>{
        {Tiny, &T::verilog, "        .EN(1'b1)\n"}, {Tiny, &T::vhdl, "            EN => '1'\n"},
        {Tiny, &T::verilog, "OLMW_ONLY", false},
        {Directions, &T::verilog, "    input wire pa,\n    output wire pb,\n    inout wire pc,\n    input wire pd\n"},
        {Directions, &T::vhdl, "        pa : in std_logic;\n        pb : out std_logic;\n        pc : inout std_logic;\n"},
        {Ties, &T::verilog, "        .MODE({a[1], 1'b1, b[2:1]}),\n"},
        {Ties, &T::verilog, "        .ONES({6{1'b1}}),\n"}, {Ties, &T::verilog, "        .ZEROS(6'b0),\n"},
        {Ties, &T::verilog, "        .PART(3'b010)\n"},
        {Ties, &T::verilog, "VCCa", false},  // the tie signals are constants, never nets
        {Ties, &T::vhdl, "    signal U1_MODE : std_logic_vector(3 downto 0);\n"},  // the mixed pin's own signal
        {Ties, &T::vhdl, "    U1_MODE(3) <= a(1);\n    U1_MODE(2) <= '1';\n    U1_MODE(1 downto 0) <= b(2 downto 1);\n"},
        {Ties, &T::vhdl, "            MODE => U1_MODE,\n"}, {Ties, &T::vhdl, "            ONES => (others => '1'),\n"},
        {Ties, &T::vhdl, "            ZEROS => (others => '0'),\n"}, {Ties, &T::vhdl, "            PART => \"010\"\n"},
        {Ties, &T::vhdl, "VCCa", false}, {Widths, &T::verilog, "        .A({3'b0, narrow}),\n"},
        {Widths, &T::verilog, "    wire [7:0] U1_Y_unused;\n"},
        {Widths, &T::verilog, "        .Y({U1_Y_unused[7:5], p}),\n"},
        {Widths, &T::verilog, "        .B(wide[3:0]),\n"}, {Widths, &T::verilog, "        .C({1'b0, s}),\n"},
        {Widths, &T::verilog, "        .UNUSED_OUT(U1_UNUSED_OUT_unused)\n"},
        {Widths, &T::vhdl, "    p <= U1_Y(4 downto 0);\n"}, {Widths, &T::vhdl, "            B => wide(3 downto 0),\n"},
        {Widths, &T::vhdl, "    U1_C(0) <= s;\n"}, {Widths, &T::vhdl, "            UNUSED_OUT => open\n"},
        {Kinds, &T::verilog, "        .FREQ(100.0),\n        .DIV(-4),\n        .NAME(\"say \\\"hi\\\"\")\n"},
        {Kinds, &T::verilog, "        .CLK(1'b0)\n"},  // the library primitive's unconnected input is still named
        {Kinds, &T::verilog, "PROP_HSX10", false}, {Kinds, &T::verilog, "OLM_X", false},
        {Kinds, &T::verilogStubs, "    parameter real FREQ = 10.000,\n    parameter integer DIV = 1,\n"},
        {Kinds, &T::vhdl, "            NAME => \"say \"\"hi\"\"\"\n"},
        {Kinds, &T::vhdlStubs, "        FREQ : real := 10.000;\n"}, {Labels, &T::verilog, "    DSP DSP (\n"},
        {Labels, &T::vhdl, "    DSP_inst : DSP\n"}, {Labels, &T::verilog, "OLM_TOP", false},
    }));

TEST(HdlWriter, StubsDeclareThePrimitivesWithTheKindsOfTheirParameters) {
    const Texts t = Tiny();
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(t.verilogStubs,
              "// Black-box declarations of the primitives used by design 'tiny'.\n"
              "\n"
              "module BUF4 #(\n"
              "    parameter MODE = \"FAST\",\n"
              "    parameter integer DEPTH = 3\n"
              ") (\n"
              "    input wire [3:0] D,\n"
              "    output wire Y,\n"
              "    input wire EN\n"
              ");\n"
              "endmodule\n"
              "\n"
              "module INV (\n"
              "    input wire A,\n"
              "    output wire Z\n"
              ");\n"
              "endmodule\n");
}

TEST(HdlWriter, ValueThatDoesNotFitAnIntegerParameterIsRefused) {
    Olm_KfzDesign kfz;
    kfz.blocks = {Block("U1", "PLL", {}, {{"DIV", "FAST"}})};
    Olm_HdlDesign design;
    std::string error;
    EXPECT_FALSE(design.Build(kfz, "kinds", {Pll()}, error));
    EXPECT_EQ(error, "block 'U1': parameter 'DIV' has the value 'FAST', but primitive 'PLL' takes an integer there");
}

TEST(HdlWriter, ValueKinds) {
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValues({"1", "OLMRANGE=2:18"}), Olm_HdlParamKind::kInteger);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValues({"0.50", "1"}), Olm_HdlParamKind::kReal);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValues({"TRUE", "FALSE"}), Olm_HdlParamKind::kString);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValues({"", "1"}), Olm_HdlParamKind::kString);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValue("2147483647"), Olm_HdlParamKind::kInteger);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValue("2147483648"), Olm_HdlParamKind::kString);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValue("-2147483648"), Olm_HdlParamKind::kInteger);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValue("."), Olm_HdlParamKind::kString);
    EXPECT_EQ(Olm_HdlPrimitive::NumberText(".5", Olm_HdlParamKind::kReal), "0.5");
    EXPECT_EQ(Olm_HdlPrimitive::NumberText("-5.", Olm_HdlParamKind::kReal), "-5.0");
    EXPECT_EQ(Olm_HdlPrimitive::NumberText("+7", Olm_HdlParamKind::kInteger), "7");
}

TEST(HdlWriter, NamesThatAreNoIdentifiersOfTheLanguageAreRefused) {
    auto errorOf = [](const Olm_KfzDesign& kfz, const std::string& name, bool verilog) {
        Olm_HdlDesign design;
        std::string error, text;
        EXPECT_TRUE(design.Build(kfz, name, {}, error));
        const bool ok = verilog ? Olm_VerilogWriter::WriteWrapper(design, text, error)
                                : Olm_VhdlWriter::WriteWrapper(design, text, error);
        return ok ? std::string("ok") : error;
    };
    Olm_KfzDesign kfz = TinyDesign();
    EXPECT_EQ(errorOf(kfz, "1tiny", true).rfind("the design name '1tiny' ", 0), 0u);
    EXPECT_EQ(errorOf(kfz, "entity", false).rfind("the design name 'entity' ", 0), 0u);
    EXPECT_EQ(errorOf(kfz, "entity", true), "ok");  // not a Verilog keyword
    // Ports differing only in letter case: fine in Verilog, one name in VHDL.
    kfz.nets[1].externalName = "D_IN";
    EXPECT_EQ(errorOf(kfz, "tiny", true), "ok");
    EXPECT_EQ(errorOf(kfz, "tiny", false), "the port name 'D_IN' is already used by another object of the design");
    kfz.nets[1].externalName = "q out";
    EXPECT_EQ(errorOf(kfz, "tiny", true).rfind("the port name 'q out' ", 0), 0u);
}

TEST(HdlWriter, DesignNameIsTheFileNameWithoutKfz) {
    EXPECT_EQ(Olm_HdlDesign::DesignNameFromPath("/a/b.kfz/top_1.KFZ"), "top_1");
    EXPECT_EQ(Olm_HdlDesign::DesignNameFromPath("top"), "top");
}

}  // namespace
