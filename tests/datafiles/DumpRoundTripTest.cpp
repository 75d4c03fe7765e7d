// A dump read back by the reader: it gives the model that was dumped except
// for the documented differences (version lost, pin attributes read as block
// attributes, current values lost, an empty possible value for an attribute
// without possible values), and the lines only the dump writes are the
// reader's unrecognised-keyword errors.

#include "ReaderTestUtil.h"

#include "pal/Stream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace dftest;
using ::testing::ElementsAre;

namespace {

std::string Describe(Olm_Attribute* a) {
    std::ostringstream s;
    s << "attr " << a->GetName().str() << " default=" << a->GetDefaultValue().str()
      << " current=" << a->GetCurrentValue().str() << " possible=" << Possible(a) << " mod=" << a->IsModifiable()
      << " active=" << a->IsActive() << "\n";
    return s.str();
}

std::string Flags(const Olm_StrArray& flags) {
    std::string text;
    for (int i = 0; i < flags.GetSize(); ++i) text += flags.GetAt(i).str() + ";";
    return text;
}

std::string Describe(Olm_WizData& wd) {
    std::ostringstream s;
    s << "wiz " << wd.GetWizType().str() << " version=" << wd.GetVersion().str() << "\n";
    for (Olm_Block* b : wd.GetBlkList()) {
        s << "block " << b->GetName().str() << " prim=" << b->GetPrimType().str() << " active=" << b->IsActive()
          << " flags=" << Flags(b->GetFlagList()) << "\n";
        for (Olm_Pin* p : b->GetPinList()) {
            s << " pin " << p->GetName().str() << " dir=" << p->GetDirection().str() << " bits=" << p->GetStartBit()
              << ":" << p->GetEndBit() << " bus=" << p->HasBus() << " sig=" << p->GetSigName().str()
              << " gnd=" << p->IsGrounded() << " vcc=" << p->IsVcc() << " active=" << p->IsActive()
              << " flags=" << Flags(p->GetFlagList()) << "\n";
            for (Olm_Attribute* a : p->GetAttributeList()) s << "  " << Describe(a);
        }
        for (Olm_Attribute* a : b->GetAttributeList()) s << " " << Describe(a);
    }
    for (Olm_Signal* g : wd.GetSigList()) {
        s << "signal " << g->GetName().str() << " ext=" << g->IsExternal() << ":" << g->GetDirection().str()
          << " bus=" << g->IsBus() << ":" << g->GetWidth() << " gnd=" << g->IsGrounded() << " vcc=" << g->IsVcc()
          << " active=" << g->IsActive() << "\n";
        for (Olm_Attribute* a : g->GetAttributeList()) s << " " << Describe(a);
    }
    return s.str();
}

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

// The model dumped, and the model the reader makes of that dump.
void BuildPair(Olm_WizData& original, Olm_WizData& expected) {
    for (Olm_WizData* wd : {&original, &expected}) {
        const bool orig = wd == &original;
        wd->SetWizType("rt");
        wd->SetVersion(orig ? "2.0" : "");  // Version inside WizData is not read back

        auto* b1 = new Olm_Block("B1", "P1");
        for (const char* f : {"F1", "F2", "F3"}) b1->AddFlag(f);
        auto* clk = new Olm_Pin("CLK", "IN");
        clk->SetSigName("CLK_IN");
        clk->AddFlag("DATAWIDTH");
        if (orig) clk->AddAttribute(Pal::String("PA"), Pal::String("v"));
        b1->AddPin(clk);
        auto* g = new Olm_Pin("G", "OUT");
        g->SetIsGrounded(true);
        // The Grounded pair gives the pin its data-file marker on reading.
        if (!orig) g->AddAttribute(Pal::String("OLM_PIN_GND_IN_DATAFILE"), Pal::String("TRUE"));
        b1->AddPin(g);
        auto* t = new Olm_Pin("T", "IN");
        t->SetStartBit(3);
        if (orig) t->AddAttribute(Pal::String("OLM_PIN_TIE"), Pal::String("4'b1010"));
        b1->AddPin(t);
        auto* x = new Olm_Pin("X", "INOUT");
        x->SetIsActive(false);
        x->SetIsVcc(true);
        if (!orig) x->AddAttribute(Pal::String("OLM_PIN_VCC_IN_DATAFILE"), Pal::String("TRUE"));
        b1->AddPin(x);
        if (!orig) {
            // The pins' attributes come back as block attributes, in dump order,
            // with their current values lost (a current value comes from the default).
            b1->AddAttribute(MakeAttribute("PA", "", {"v"}, ""));
            b1->AddAttribute(MakeAttribute("OLM_PIN_TIE", "", {"4'b1010"}, ""));
        }
        Olm_Attribute* a1 = MakeAttribute("A1", "3", {"1", "2", "3"}, orig ? "2" : "3");
        a1->SetIsModifiable(false);
        a1->SetIsActive(false);
        b1->AddAttribute(a1);
        // No possible values: one empty possible value after reading.
        if (orig) b1->AddAttribute(MakeAttribute("A2", "d", {}, "d"));
        else b1->AddAttribute(MakeAttribute("A2", "d", {""}, "d"));
        b1->AddAttribute(MakeAttribute("RANGE", "8", {"OLMRANGE=1:56", "x y"}, orig ? "12" : "8"));
        wd->AddBlock(b1, false);
        wd->AddBlock(new Olm_Block("B2", "P2"), false);

        auto* s1 = new Olm_Signal("CLK_IN");
        s1->SetIsExternal(true, "CLK");
        s1->SetIsBus(true, 4);
        s1->SetIsGrounded(true);
        s1->AddAttribute(MakeAttribute("SA", "x", {"x", "y"}, orig ? "y" : "x"));
        wd->AddSignal(s1);
        auto* s2 = new Olm_Signal("S2");
        s2->SetIsActive(false);
        wd->AddSignal(s2);
    }
}

TEST(DumpRoundTrip, ShortDumpReadsBackWithOnlyTheDocumentedDifferences) {
    Olm_WizData original;
    Olm_WizData expected;
    BuildPair(original, expected);
    const std::string dump = Dump(original, false);
    EXPECT_NE(dump.find("\n    BlkFlags: F1; F2; F3;\n"), std::string::npos);
    EXPECT_NE(dump.find("\n      PossibleValues: ;\n"), std::string::npos);
    EXPECT_NE(dump.find("\n  WizType: rt;\n"), std::string::npos);

    Olm_WizData read;
    const auto r = ReadText(dump, read);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.reports.empty()) << r.reports.front();
    EXPECT_EQ(Describe(read), Describe(expected));
}

TEST(DumpRoundTrip, FullDumpLinesOfBlocksAndAttributesAreUnrecognised) {
    Olm_WizData wd;
    wd.SetWizType("w");
    auto* block = new Olm_Block("B", "P");
    block->AddAttribute(MakeAttribute("A", "d", {"d"}, "cur"));
    wd.AddBlock(block, false);
    Olm_WizData read;
    const auto r = ReadText(Dump(wd, true), read);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.reports,
                ElementsAre(Unrecognized(r.path, 6, "SaveToKFZ: TRUE;"), Unrecognized(r.path, 10, "CurrentValue: cur;")));
    EXPECT_TRUE(read.GetBlkList().empty());
}

TEST(DumpRoundTrip, FullDumpVccLineOfSignalsIsUnrecognised) {
    Olm_WizData wd;
    wd.SetWizType("w");
    wd.AddSignal(new Olm_Signal("S"));
    Olm_WizData read;
    const auto r = ReadText(Dump(wd, true), read);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.reports, ElementsAre(Unrecognized(r.path, 8, "VCC: FALSE;")));
    EXPECT_TRUE(read.GetSigList().empty());
}

TEST(DumpRoundTrip, PinOfAnotherDirectionIsUnrecognised) {
    Olm_WizData wd;
    wd.SetWizType("w");
    auto* block = new Olm_Block("B", "P");
    block->AddPin(new Olm_Pin("P", "CLOCK"));
    wd.AddBlock(block, false);
    Olm_WizData read;
    const auto r = ReadText(Dump(wd, false), read);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.reports, ElementsAre(Unrecognized(r.path, 6, "CLOCK Pin: P;")));
}

}  // namespace
