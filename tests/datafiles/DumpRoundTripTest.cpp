// A dump read back by the reader: it gives the model that was dumped except
// for the documented differences (version lost, pin attributes read as block
// attributes, current values lost, an empty possible value for an attribute
// without possible values), and the lines only the dump writes are the
// reader's unrecognised-keyword errors.

#include "ReaderTestUtil.h"

#include "pal/Stream.h"

#include <gtest/gtest.h>

using namespace dftest;

namespace {

std::string Dump(Olm_WizData& wd, bool full) {
    Pal::MemoryStream stream;
    wd.DumpToFile(&stream, full);
    return stream.Text();
}

Olm_Attribute* MakeAttribute(const char* name, const char* def, std::initializer_list<const char*> possible,
                             const char* current) {
    auto* a = new Olm_Attribute();
    a->SetName(name);
    a->SetDefaultValue(def);
    for (const char* v : possible) a->AddPossibleValue(v);
    a->SetCurrentValue(current);
    return a;
}

TEST(DumpRoundTrip, ShortDumpReadsBackWithOnlyTheDocumentedDifferences) {
    Olm_WizData wd;
    wd.SetWizType("rt");
    wd.SetVersion("2.0");
    auto* b1 = new Olm_Block("B1", "P1");
    for (const char* f : {"F1", "F2", "F3"}) b1->AddFlag(f);
    auto* clk = new Olm_Pin("CLK", "IN");
    clk->SetSigName("CLK_IN");
    clk->AddFlag("DATAWIDTH");
    clk->AddAttribute(Pal::String("PA"), Pal::String("v"));
    b1->AddPin(clk);
    auto* g = new Olm_Pin("G", "OUT");
    g->SetIsGrounded(true);
    b1->AddPin(g);
    auto* t = new Olm_Pin("T", "IN");
    t->SetStartBit(3);
    t->AddAttribute(Pal::String("OLM_PIN_TIE"), Pal::String("4'b1010"));
    b1->AddPin(t);
    auto* x = new Olm_Pin("X", "INOUT");
    x->SetIsActive(false);
    x->SetIsVcc(true);
    b1->AddPin(x);
    Olm_Attribute* a1 = MakeAttribute("A1", "3", {"1", "2", "3"}, "2");
    a1->SetIsModifiable(false);
    a1->SetIsActive(false);
    b1->AddAttribute(a1);
    b1->AddAttribute(MakeAttribute("A2", "d", {}, "d"));
    b1->AddAttribute(MakeAttribute("RANGE", "8", {"OLMRANGE=1:56", "x y"}, "12"));
    wd.AddBlock(b1, false);
    wd.AddBlock(new Olm_Block("B2", "P2"), false);
    auto* s1 = new Olm_Signal("CLK_IN");
    s1->SetIsExternal(true, "CLK");
    s1->SetIsBus(true, 4);
    s1->SetIsGrounded(true);
    s1->AddAttribute(MakeAttribute("SA", "x", {"x", "y"}, "y"));
    wd.AddSignal(s1);
    auto* s2 = new Olm_Signal("S2");
    s2->SetIsActive(false);
    wd.AddSignal(s2);

    const std::string dump = Dump(wd, false);
    EXPECT_NE(dump.find("\n    BlkFlags: F1; F2; F3;\n"), std::string::npos);
    EXPECT_NE(dump.find("\n      PossibleValues: ;\n"), std::string::npos);
    EXPECT_NE(dump.find("\n  WizType: rt;\n"), std::string::npos);
    Olm_WizData read;
    const auto r = ReadText(dump, read);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.reports.empty()) << r.reports.front();
    // Lost: the version and the current values. The pins' attributes come
    // back as block attributes; Grounded and VCC pairs add their markers; an
    // attribute without possible values gets one empty value.
    EXPECT_EQ(Describe(read),
              "wiz rt v\n"
              "block B1 P1 flags=F1;F2;F3\n"
              " pin CLK IN 0:0 sig=CLK_IN flags=DATAWIDTH\n"
              " pin G OUT 0:0 gnd\n"
              "  attr OLM_PIN_GND_IN_DATAFILE = current=TRUE 1{TRUE}\n"
              " pin T IN 3:0 bus\n"
              " pin X INOUT 0:0 vcc off\n"
              "  attr OLM_PIN_VCC_IN_DATAFILE = current=TRUE 1{TRUE}\n"
              " attr PA = 1{v}\n"
              " attr OLM_PIN_TIE = 1{4'b1010}\n"
              " attr A1 =3 3{1|2|3} fixed off\n"
              " attr A2 =d 1{}\n"
              " attr RANGE =8 2{OLMRANGE=1:56|x y}\n"
              "block B2 P2\n"
              "signal CLK_IN ext port=CLK bus w=4 gnd\n"
              " attr SA =x 2{x|y}\n"
              "signal S2 off\n");
}

// The lines only the dump writes, read back.
TEST(DumpRoundTrip, LinesOnlyTheDumpWritesAreUnrecognised) {
    struct Case {
        const char* what;
        void (*build)(Olm_WizData&);
        bool full;
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        {"full: SaveToKFZ of a block, CurrentValue of an attribute",
         [](Olm_WizData& wd) {
             auto* block = new Olm_Block("B", "P");
             block->AddAttribute(MakeAttribute("A", "d", {"d"}, "cur"));
             wd.AddBlock(block, false);
         },
         true, {Unrecognized(6, "SaveToKFZ: TRUE;"), Unrecognized(10, "CurrentValue: cur;")}},
        {"full: VCC of a signal", [](Olm_WizData& wd) { wd.AddSignal(new Olm_Signal("S")); }, true,
         {Unrecognized(8, "VCC: FALSE;")}},
        {"a pin of another direction",
         [](Olm_WizData& wd) {
             auto* block = new Olm_Block("B", "P");
             block->AddPin(new Olm_Pin("P", "CLOCK"));
             wd.AddBlock(block, false);
         },
         false, {Unrecognized(6, "CLOCK Pin: P;")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Olm_WizData wd;
        wd.SetWizType("w");
        c.build(wd);
        Olm_WizData read;
        const auto r = ReadText(Dump(wd, c.full), read);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.reports, c.reports);
        EXPECT_EQ(Describe(read), "wiz w v\n");  // the section with the line is dropped
    }
}

}  // namespace
