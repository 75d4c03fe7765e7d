// The HDL writers on small designs, one file of golden/ each: the engine
// commands that build the design, then the Verilog and VHDL wrappers and
// black boxes it must give byte for byte, which must also pass the HDL tools
// on PATH. Besides: refused parameter values and names, the kinds of values.
// (OLM_UPDATE_GOLDEN=1 writes the texts anew after a deliberate change.)

#include "GoldenSections.h"
#include "ScriptedEngine.h"
#include "TestSupport.h"

#include "engine/Olm_Engine.h"
#include "translator/Olm_HdlDesign.h"
#include "translator/Olm_VerilogWriter.h"
#include "translator/Olm_VhdlWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// The library primitive PLL, with a parameter of each kind.
Olm_HdlPrimitive Pll() {
    Olm_HdlPrimitive prim;
    prim.name = "PLL";
    prim.pins = {Olm_HdlPrimitivePin{"CLK", Olm_HdlDir::kIn, 0, 0, false}};
    prim.params = {{"FREQ", "10.000", Olm_HdlParamKind::kReal},
                   {"DIV", "1", Olm_HdlParamKind::kInteger},
                   {"NAME", "a\"b", Olm_HdlParamKind::kString}};
    return prim;
}

// The design of a golden file: its command lines, comment lines left out.
void BuildFromGolden(Olm_Engine& engine, const olmtest::GoldenSections& golden) {
    std::istringstream lines(golden.head);
    std::string script;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind('#', 0) != 0) script += line + ";";
    olmtest::RunScript(engine, script);
}

class HdlWriterGolden : public testing::TestWithParam<const char*> {};

TEST_P(HdlWriterGolden, WrapperAndBlackBoxesAreTheGoldenTextsAndPassTheHdlTools) {
    const std::string name = GetParam();
    olmtest::GoldenSections golden(std::string(OLM_TRANSLATOR_GOLDEN_DIR) + "/" + name + ".txt");
    Olm_Engine engine;
    BuildFromGolden(engine, golden);
    Olm_HdlDesign design;
    std::string error, texts[4];
    ASSERT_TRUE(design.Build(engine.GetDesign(), name, {Pll()}, error)) << error;
    ASSERT_TRUE(Olm_VerilogWriter::WriteWrapper(design, texts[0], error) &&
                Olm_VerilogWriter::WriteStubs(design, texts[1], error) &&
                Olm_VhdlWriter::WriteWrapper(design, texts[2], error) && Olm_VhdlWriter::WriteStubs(design, texts[3], error))
        << error;
    olmtest::ScratchDir dir;
    const std::string files[4] = {name + ".v", name + "_stubs.v", name + ".vhd", name + "_stubs.vhd"};
    for (int i = 0; i < 4; ++i) {
        golden.Check(files[i], texts[i]);
        dir.Write(files[i], texts[i]);
    }
    // Some designs leave input bits unused on purpose, which Verilator's -Wall
    // reports; any other message is a fault.
    for (const std::string& finding : olmtest::HdlToolFindings(dir.Path(), name)) {
        bool onlyUnused = finding.find(": verilator (exit") != std::string::npos;
        std::istringstream lines(finding);
        for (std::string l; std::getline(lines, l);)
            if (l.rfind('%', 0) == 0 && l.rfind("%Warning-UNUSEDSIGNAL:", 0) && l.rfind("%Error: Exiting due to", 0))
                onlyUnused = false;
        if (!onlyUnused) ADD_FAILURE() << finding;
    }
}

INSTANTIATE_TEST_SUITE_P(Designs, HdlWriterGolden, testing::Values("tiny", "dirs", "ties", "widths", "kinds", "labels",
                                                                     "reals"));

// A value that is no number of the parameter's kind: the text of the
// grammar does not fit an integer, nor a number out of its range a real.
TEST(HdlWriter, ValueThatDoesNotFitTheParametersKindIsRefused) {
    for (const auto& [script, error] : std::initializer_list<std::pair<const char*, const char*>>{
             {"add block U1 PLL 1; add blkprop U1 DIV FAST",
              "block 'U1': parameter 'DIV' has the value 'FAST', but primitive 'PLL' takes an integer there"},
             {"add block U1 PLL 1; add blkprop U1 FREQ 1e400",
              "block 'U1': parameter 'FREQ' has the value '1e400', but primitive 'PLL' takes a real number there"}}) {
        Olm_Engine engine;
        olmtest::RunScript(engine, script);
        Olm_HdlDesign design;
        std::string text;
        EXPECT_FALSE(design.Build(engine.GetDesign(), "kinds", {Pll()}, text));
        EXPECT_EQ(text, error);
    }
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
    // Numbers with an exponent are reals; what the number grammar refuses is text.
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValues({"625e-2", "1"}), Olm_HdlParamKind::kReal);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValue("1e400"), Olm_HdlParamKind::kString);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValue("2e"), Olm_HdlParamKind::kString);
    EXPECT_EQ(Olm_HdlPrimitive::KindOfValue(" 2.5"), Olm_HdlParamKind::kString);
    EXPECT_EQ(Olm_HdlPrimitive::NumberText(".5", Olm_HdlParamKind::kReal), "0.5");
    EXPECT_EQ(Olm_HdlPrimitive::NumberText("-5.", Olm_HdlParamKind::kReal), "-5.0");
    EXPECT_EQ(Olm_HdlPrimitive::NumberText("+7", Olm_HdlParamKind::kInteger), "7");
}

TEST(HdlWriter, NamesThatAreNoIdentifiersOfTheLanguageAreRefused) {
    Olm_Engine engine;
    olmtest::GoldenSections golden(std::string(OLM_TRANSLATOR_GOLDEN_DIR) + "/tiny.txt");
    BuildFromGolden(engine, golden);
    auto errorOf = [&](const std::string& name, bool verilog) {
        Olm_HdlDesign design;
        std::string error, text;
        EXPECT_TRUE(design.Build(engine.GetDesign(), name, {}, error));
        const bool ok = verilog ? Olm_VerilogWriter::WriteWrapper(design, text, error)
                                : Olm_VhdlWriter::WriteWrapper(design, text, error);
        return ok ? std::string("ok") : error;
    };
    EXPECT_EQ(errorOf("1tiny", true).rfind("the design name '1tiny' ", 0), 0u);
    EXPECT_EQ(errorOf("entity", false).rfind("the design name 'entity' ", 0), 0u);
    EXPECT_EQ(errorOf("entity", true), "ok");  // not a Verilog keyword
    // Ports differing only in letter case: fine in Verilog, one name in VHDL.
    olmtest::RunScript(engine, "set externalsig q D_IN");
    EXPECT_EQ(errorOf("tiny", true), "ok");
    EXPECT_EQ(errorOf("tiny", false), "the port name 'D_IN' is already used by another object of the design");
    engine.Execute("set", "externalsig", "q", "q out", nullptr, nullptr);
    EXPECT_EQ(errorOf("tiny", true).rfind("the port name 'q out' ", 0), 0u);
}

TEST(HdlWriter, DesignNameIsTheFileNameWithoutKfz) {
    EXPECT_EQ(Olm_HdlDesign::DesignNameFromPath("/a/b.kfz/top_1.KFZ"), "top_1");
    EXPECT_EQ(Olm_HdlDesign::DesignNameFromPath("top"), "top");
}


}  // namespace
