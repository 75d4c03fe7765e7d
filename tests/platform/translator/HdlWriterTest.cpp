// The HDL writers on small designs built in code: the exact text of a tiny
// design in both languages, port directions, ties and bit ties, buses of
// other widths than their pins, parameter kinds and the name checks.

#include "engine/Olm_KfzDesign.h"
#include "translator/Olm_HdlDesign.h"
#include "translator/Olm_VerilogWriter.h"
#include "translator/Olm_VhdlWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

Olm_KfzPin Pin(const char* name, const char* dir, const char* width = "[0:0]", const char* signal = "") {
    Olm_KfzPin pin;
    pin.name = name;
    pin.direction = dir;
    pin.hasWidth = true;
    pin.width = width;
    pin.hasBus = std::string(width) != "[0:0]";
    pin.signal = signal;
    return pin;
}

Olm_KfzSignal Signal(const char* name, const char* external = nullptr, int busWidth = 0) {
    Olm_KfzSignal sig;
    sig.name = name;
    if (external) {
        sig.isExternal = true;
        sig.externalName = external;
    }
    if (busWidth > 0) {
        sig.isBus = true;
        sig.busWidth = busWidth;
    }
    return sig;
}

Olm_KfzBlock Block(const char* name, const char* type, std::vector<Olm_KfzPin> pins,
                   Olm_KfzPropertyList props = {}) {
    Olm_KfzBlock block;
    block.name = name;
    block.primType = type;
    block.pins = std::move(pins);
    block.properties = std::move(props);
    return block;
}

// A buffer driving an inverter: an input bus, an output, an internal net, a
// VCC tie, an integer and a string parameter and an internal property.
Olm_KfzDesign TinyDesign() {
    Olm_KfzDesign kfz;
    kfz.nets = {Signal("din", "d_in", 4), Signal("q", "q_out"), Signal("mid")};
    Olm_KfzPin en = Pin("EN", "input");
    en.isVcc = true;
    kfz.blocks.push_back(Block("U1", "BUF4",
                               {Pin("D", "input", "[3:0]", "din"), Pin("Y", "output", "[0:0]", "mid"), en},
                               {{"MODE", "FAST"}, {"DEPTH", "3"}, {"OLMW_ONLY_INST_NUM", "1"}}));
    kfz.blocks.push_back(Block("U2", "INV", {Pin("A", "input", "[0:0]", "mid"), Pin("Z", "output", "[0:0]", "q")}));
    return kfz;
}

struct Texts {
    bool ok = false;
    std::string error;
    std::string verilog, verilogStubs, vhdl, vhdlStubs;
    Olm_HdlDesign design;
};

Texts Write(const Olm_KfzDesign& kfz, const std::string& name, const std::vector<Olm_HdlPrimitive>& library = {}) {
    Texts t;
    if (!t.design.Build(kfz, name, library, t.error)) return t;
    t.ok = Olm_VerilogWriter::WriteWrapper(t.design, t.verilog, t.error) &&
           Olm_VerilogWriter::WriteStubs(t.design, t.verilogStubs, t.error) &&
           Olm_VhdlWriter::WriteWrapper(t.design, t.vhdl, t.error) &&
           Olm_VhdlWriter::WriteStubs(t.design, t.vhdlStubs, t.error);
    return t;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(HdlWriter, TinyDesignInVerilog) {
    const Texts t = Write(TinyDesign(), "tiny");
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(t.verilog,
              "// Wrapper of design 'tiny'.\n"
              "module tiny (\n"
              "    input wire [3:0] d_in,\n"
              "    output wire q_out\n"
              ");\n"
              "\n"
              "    wire mid;\n"
              "\n"
              "    BUF4 #(\n"
              "        .MODE(\"FAST\"),\n"
              "        .DEPTH(3)\n"
              "    ) U1 (\n"
              "        .D(d_in),\n"
              "        .Y(mid),\n"
              "        .EN(1'b1)\n"
              "    );\n"
              "\n"
              "    INV U2 (\n"
              "        .A(mid),\n"
              "        .Z(q_out)\n"
              "    );\n"
              "\n"
              "endmodule\n");
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

TEST(HdlWriter, TinyDesignInVhdl) {
    const Texts t = Write(TinyDesign(), "tiny");
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_EQ(t.vhdl,
              "-- Wrapper of design 'tiny'.\n"
              "library ieee;\n"
              "use ieee.std_logic_1164.all;\n"
              "\n"
              "entity tiny is\n"
              "    port (\n"
              "        d_in : in std_logic_vector(3 downto 0);\n"
              "        q_out : out std_logic\n"
              "    );\n"
              "end entity tiny;\n"
              "\n"
              "architecture structure of tiny is\n"
              "\n"
              "    component BUF4 is\n"
              "        generic (\n"
              "            MODE : string := \"FAST\";\n"
              "            DEPTH : integer := 3\n"
              "        );\n"
              "        port (\n"
              "            D : in std_logic_vector(3 downto 0) := (others => '0');\n"
              "            Y : out std_logic;\n"
              "            EN : in std_logic := '0'\n"
              "        );\n"
              "    end component BUF4;\n"
              "\n"
              "    component INV is\n"
              "        port (\n"
              "            A : in std_logic := '0';\n"
              "            Z : out std_logic\n"
              "        );\n"
              "    end component INV;\n"
              "\n"
              "    signal mid : std_logic;\n"
              "\n"
              "begin\n"
              "\n"
              "    U1 : BUF4\n"
              "        generic map (\n"
              "            MODE => \"FAST\",\n"
              "            DEPTH => 3\n"
              "        )\n"
              "        port map (\n"
              "            D => d_in,\n"
              "            Y => mid,\n"
              "            EN => '1'\n"
              "        );\n"
              "\n"
              "    U2 : INV\n"
              "        port map (\n"
              "            A => mid,\n"
              "            Z => q_out\n"
              "        );\n"
              "\n"
              "end architecture structure;\n");
}


// Direction from the pins on the signal: an output pin drives it, a bidir
// pin makes it inout even beside an output, inputs alone make an input, and
// a port no pin reaches stays an input.
TEST(HdlWriter, PortDirectionsFollowThePins) {
    Olm_KfzDesign kfz;
    kfz.nets = {Signal("a", "pa"), Signal("b", "pb"), Signal("c", "pc"), Signal("d", "pd")};
    kfz.blocks.push_back(Block("U1", "P", {Pin("I", "input", "[0:0]", "a"), Pin("O", "output", "[0:0]", "b"),
                                           Pin("IO", "bidir", "[0:0]", "c"), Pin("I2", "input", "[0:0]", "b")}));
    kfz.blocks.push_back(Block("U2", "Q", {Pin("O", "output", "[0:0]", "c")}));
    const Texts t = Write(kfz, "dirs");
    ASSERT_TRUE(t.ok) << t.error;
    ASSERT_EQ(t.design.ports.size(), 4u);
    EXPECT_EQ(t.design.ports[0].dir, Olm_HdlDir::kIn);
    EXPECT_EQ(t.design.ports[1].dir, Olm_HdlDir::kOut);
    EXPECT_EQ(t.design.ports[2].dir, Olm_HdlDir::kInout);
    EXPECT_EQ(t.design.ports[3].dir, Olm_HdlDir::kIn);
    EXPECT_TRUE(Contains(t.verilog, "    inout wire pc,\n"));
    EXPECT_TRUE(Contains(t.vhdl, "        pb : out std_logic;\n"));
}

// Bit ties on a 4-bit input: bit 3 from net bit, bit 2 VCC, bits 1..0 from
// a bus; the pin's own connection is the tie signal GNDa as the wizard's
// save leaves it. Ties to whole pins become all ones / all zeros.
TEST(HdlWriter, BitTiesBecomeConstantBits) {
    Olm_KfzDesign kfz;
    Olm_KfzSignal vcc = Signal("VCCa");
    vcc.isVcc = true;
    Olm_KfzSignal gnd = Signal("GNDa");
    gnd.isGnded = true;
    kfz.nets = {Signal("a", "a", 2), Signal("b", "b", 3), vcc, gnd};
    Olm_KfzPin mode = Pin("MODE", "input", "[3:0]", "GNDa");
    mode.properties = {{"OLMW_ONLY_PIN_SIG_BIT_3:3", "a[1:1]"},
                       {"OLMW_ONLY_PIN_SIG_BIT_2:2", "VCCa[0:0]"},
                       {"OLMW_ONLY_PIN_SIG_BIT_1:0", "b[2:1]"}};
    Olm_KfzPin ones = Pin("ONES", "input", "[5:0]");
    ones.isVcc = true;
    Olm_KfzPin zeros = Pin("ZEROS", "input", "[5:0]");
    zeros.isGnded = true;
    // Only bits 2 and 0 tied; bit 1 follows the pin's connection (VCCa).
    Olm_KfzPin partial = Pin("PART", "input", "[2:0]", "VCCa");
    partial.properties = {{"OLMW_ONLY_PIN_SIG_BIT_2:2", "GNDa[0:0]"}, {"OLMW_ONLY_PIN_SIG_BIT_0:0", "GNDa[0:0]"}};
    kfz.blocks.push_back(Block("U1", "P", {mode, ones, zeros, partial}));
    const Texts t = Write(kfz, "ties");
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_TRUE(Contains(t.verilog, "        .MODE({a[1], 1'b1, b[2:1]}),\n")) << t.verilog;
    EXPECT_TRUE(Contains(t.verilog, "        .ONES({6{1'b1}}),\n"));
    EXPECT_TRUE(Contains(t.verilog, "        .ZEROS(6'b0),\n"));
    EXPECT_TRUE(Contains(t.verilog, "        .PART(3'b010)\n"));
    // VHDL feeds the mixed pin through a signal of its own, slice by slice.
    EXPECT_TRUE(Contains(t.vhdl, "    signal U1_MODE : std_logic_vector(3 downto 0);\n"));
    EXPECT_TRUE(Contains(t.vhdl, "    U1_MODE(3) <= a(1);\n    U1_MODE(2) <= '1';\n    U1_MODE(1 downto 0) <= b(2 downto 1);\n"))
        << t.vhdl;
    EXPECT_TRUE(Contains(t.vhdl, "            MODE => U1_MODE,\n"));
    EXPECT_TRUE(Contains(t.vhdl, "            ONES => (others => '1'),\n"));
    EXPECT_TRUE(Contains(t.vhdl, "            ZEROS => (others => '0'),\n"));
    EXPECT_TRUE(Contains(t.vhdl, "            PART => \"010\"\n"));
    // The tie signals are constants, never nets.
    EXPECT_TRUE(t.design.nets.empty());
    EXPECT_FALSE(Contains(t.verilog, "VCCa"));
}

// A bus narrower than an input pin is zero-extended; an output pin wider
// than its bus sends its upper bits to an unused wire (Verilog) or through a
// pin signal (VHDL); a bus wider than an input pin gives its low bits.
TEST(HdlWriter, BusesOfOtherWidthsThanTheirPins) {
    Olm_KfzDesign kfz;
    kfz.nets = {Signal("n", "narrow", 3), Signal("p", "p", 5), Signal("w", "wide", 8), Signal("s", "s")};
    kfz.blocks.push_back(Block("U1", "PRIM",
                               {Pin("A", "input", "[5:0]", "n"), Pin("Y", "output", "[7:0]", "p"),
                                Pin("B", "input", "[3:0]", "w"), Pin("C", "input", "[1:0]", "s"),
                                Pin("UNUSED_OUT", "output", "[2:0]")}));
    const Texts t = Write(kfz, "widths");
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_TRUE(Contains(t.verilog, "        .A({3'b0, narrow}),\n")) << t.verilog;
    EXPECT_TRUE(Contains(t.verilog, "    wire [7:0] U1_Y_unused;\n"));
    EXPECT_TRUE(Contains(t.verilog, "        .Y({U1_Y_unused[7:5], p}),\n"));
    EXPECT_TRUE(Contains(t.verilog, "        .B(wide[3:0]),\n"));
    EXPECT_TRUE(Contains(t.verilog, "        .C({1'b0, s}),\n"));
    EXPECT_TRUE(Contains(t.verilog, "        .UNUSED_OUT(U1_UNUSED_OUT_unused)\n"));
    EXPECT_TRUE(Contains(t.vhdl, "    p <= U1_Y(4 downto 0);\n")) << t.vhdl;
    EXPECT_TRUE(Contains(t.vhdl, "            B => wide(3 downto 0),\n"));
    EXPECT_TRUE(Contains(t.vhdl, "    U1_C(0) <= s;\n"));
    EXPECT_TRUE(Contains(t.vhdl, "            UNUSED_OUT => open\n"));
}

// Parameters take the kind of the primitive's parameter: an integer value of
// a real parameter is written as a real, ignored properties are left out, a
// value that does not fit an integer parameter is refused.
TEST(HdlWriter, ParameterKindsComeFromThePrimitive) {
    Olm_HdlPrimitive prim;
    prim.name = "PLL";
    prim.pins = {Olm_HdlPrimitivePin{"CLK", Olm_HdlDir::kIn, 0, 0, false}};
    prim.params = {{"FREQ", "10.000", Olm_HdlParamKind::kReal},
                   {"DIV", "1", Olm_HdlParamKind::kInteger},
                   {"NAME", "a\"b", Olm_HdlParamKind::kString}};
    Olm_KfzDesign kfz;
    kfz.blocks.push_back(Block("U1", "PLL", {},
                               {{"FREQ", "100"}, {"DIV", "-4"}, {"PROP_HSX10", "TRUE"}, {"OLM_X", "1"},
                                {"NAME", "say \"hi\""}}));
    const Texts t = Write(kfz, "kinds", {prim});
    ASSERT_TRUE(t.ok) << t.error;
    EXPECT_TRUE(Contains(t.verilog, "        .FREQ(100.0),\n        .DIV(-4),\n        .NAME(\"say \\\"hi\\\"\")\n"))
        << t.verilog;
    EXPECT_TRUE(Contains(t.verilogStubs, "    parameter real FREQ = 10.000,\n    parameter integer DIV = 1,\n"));
    EXPECT_TRUE(Contains(t.vhdl, "            NAME => \"say \"\"hi\"\"\"\n")) << t.vhdl;
    EXPECT_TRUE(Contains(t.vhdlStubs, "        FREQ : real := 10.000;\n"));
    EXPECT_FALSE(Contains(t.verilog, "PROP_HSX10"));
    EXPECT_FALSE(Contains(t.verilog, "OLM_X"));
    // The unconnected input CLK of the library primitive is still named.
    EXPECT_TRUE(Contains(t.verilog, "        .CLK(1'b0)\n"));

    kfz.blocks[0].properties = {{"DIV", "FAST"}};
    Olm_HdlDesign design;
    std::string error;
    EXPECT_FALSE(design.Build(kfz, "kinds", {prim}, error));
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

// Internal blocks are left out; a block named like its primitive keeps its
// name in Verilog and gets a label of its own in VHDL.
TEST(HdlWriter, InternalBlocksAndLabels) {
    Olm_KfzDesign kfz;
    kfz.blocks.push_back(Block("TOPBLK", "OLM_TOP", {Pin("X", "input")}));
    kfz.blocks.push_back(Block("DSP", "DSP", {Pin("X", "input")}));
    const Texts t = Write(kfz, "labels");
    ASSERT_TRUE(t.ok) << t.error;
    ASSERT_EQ(t.design.instances.size(), 1u);
    EXPECT_TRUE(Contains(t.verilog, "    DSP DSP (\n"));
    EXPECT_TRUE(Contains(t.vhdl, "    DSP_inst : DSP\n"));
    EXPECT_FALSE(Contains(t.verilog, "OLM_TOP"));
}

TEST(HdlWriter, NameChecks) {
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
    EXPECT_EQ(errorOf(kfz, "tiny", false),
              "the port name 'D_IN' is already used by another object of the design");
    kfz.nets[1].externalName = "q out";
    EXPECT_EQ(errorOf(kfz, "tiny", true).rfind("the port name 'q out' ", 0), 0u);
    EXPECT_EQ(Olm_HdlDesign::DesignNameFromPath("/a/b.kfz/top_1.KFZ"), "top_1");
    EXPECT_EQ(Olm_HdlDesign::DesignNameFromPath("top"), "top");
}

}  // namespace
