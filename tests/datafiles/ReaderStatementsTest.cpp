// What well-formed statements put into the container.

#include "ReaderTestUtil.h"

#include <gtest/gtest.h>

using dftest::Possible;
using dftest::ReadText;

namespace {

TEST(ReaderStatements, ReadsTheExampleFileIntoTheModel) {
    Olm_WizData wd;
    const auto r = ReadText(
        "# clock manager primitives\n"
        "Version: 1.0;\n"
        "WizData: tkl_bddeskew;\n"
        "Block: TKL_ADV;\n"
        "Primitive: TKL_ADV;\n"
        "InputPin: CLKIN; Signal=CLKIN_IN; SaveToKFZ=TRUE;\n"
        "OutputPin: STATUS; Width=[7:0]; HasBus=TRUE;\n"
        "BidirPin: IO; SaveToKFZ=FALSE;\n"
        "BlkFlags: HSX3; DATAWIDTH;\n"
        "Attribute: CLKOUT_DIVIDE;\n"
        "PossibleValues: 1,2,3,4;\n"
        "DefaultValue: 2;\n"
        "IsModifiable: FALSE;\n"
        "SaveToKFZ: FALSE;\n"
        "EndAttribute;\n"
        "EndBlock;\n"
        "Signal: CLKIN_IN;\n"
        "External: CLKIN_IN;\n"
        "Bus: FALSE;\n"
        "EndSignal;\n"
        "EndWizData;\n",
        wd);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.reports.empty());
    EXPECT_EQ(wd.GetVersion(), "1.0");
    EXPECT_EQ(wd.GetWizType(), "tkl_bddeskew");
    ASSERT_EQ(wd.GetBlkList().size(), 1u);
    Olm_Block* block = wd.GetBlkList()[0];
    EXPECT_EQ(block->GetName(), "TKL_ADV");
    EXPECT_EQ(block->GetPrimType(), "TKL_ADV");
    EXPECT_TRUE(block->IsActive());
    ASSERT_EQ(block->GetFlagList().GetSize(), 2);
    EXPECT_EQ(block->GetFlagList().GetAt(0), "HSX3");
    EXPECT_EQ(block->GetFlagList().GetAt(1), "DATAWIDTH");

    ASSERT_EQ(block->GetPinList().size(), 3u);
    Olm_Pin* clkin = block->GetPinList()[0];
    EXPECT_EQ(clkin->GetName(), "CLKIN");
    EXPECT_EQ(clkin->GetDirection(), "IN");
    EXPECT_EQ(clkin->GetSigName(), "CLKIN_IN");
    EXPECT_TRUE(clkin->IsActive());
    EXPECT_EQ(clkin->GetWidth(), 1);
    Olm_Pin* status = block->GetPinList()[1];
    EXPECT_EQ(status->GetDirection(), "OUT");
    EXPECT_EQ(status->GetStartBit(), 7);
    EXPECT_EQ(status->GetEndBit(), 0);
    EXPECT_TRUE(status->HasBus());
    EXPECT_EQ(block->GetPinList()[2]->GetDirection(), "INOUT");
    EXPECT_FALSE(block->GetPinList()[2]->IsActive());

    ASSERT_EQ(block->GetAttributeList().size(), 1u);
    Olm_Attribute* a = block->GetAttributeList()[0];
    EXPECT_EQ(a->GetName(), "CLKOUT_DIVIDE");
    EXPECT_EQ(Possible(a), "1|2|3|4");
    EXPECT_EQ(a->GetDefaultValue(), "2");
    EXPECT_EQ(a->GetCurrentValue(), "2");
    EXPECT_FALSE(a->IsModifiable());
    EXPECT_FALSE(a->IsActive());

    ASSERT_EQ(wd.GetSigList().size(), 1u);
    Olm_Signal* s = wd.GetSigList()[0];
    EXPECT_TRUE(s->IsExternal());
    EXPECT_EQ(s->GetDirection(), "CLKIN_IN");
    EXPECT_FALSE(s->IsBus());
    EXPECT_EQ(s->GetWidth(), 1);
}

TEST(ReaderStatements, KeysMatchAsPrefixesAndValuesFollowTheSeparators) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Blockx: B1;\n"
        "Attributes: A;\n"
        "PossibleValues: 1, 2,3;\n"
        "PossibleValues: a;b;c\n"
        "DefaultValue: 5\n"
        "EndAttribute;\n"
        "Attribute: T;\n"
        "PossibleValues: x y ,\tz\t;\n"
        "DefaultValue: OLMRANGE=1:2; ignored after the value\n"
        "EndAttribute;\n"
        "EndBlock;\n"
        "Block: ;\n"
        "EndBlock;\n"
        "Block; B3;\n"
        "EndBlock\n",
        wd);
    ASSERT_TRUE(r.ok) << (r.reports.empty() ? "" : r.reports[0]);
    ASSERT_EQ(wd.GetBlkList().size(), 3u);
    Olm_Block* b1 = wd.GetBlkList()[0];
    EXPECT_EQ(b1->GetName(), "B1");
    ASSERT_EQ(b1->GetAttributeList().size(), 2u);
    EXPECT_EQ(Possible(b1->GetAttributeList()[0]), "1|2|3|a|b|c");
    EXPECT_EQ(b1->GetAttributeList()[0]->GetDefaultValue(), "5");
    // Only spaces are trimmed from pieces: tabs inside the line stay.
    EXPECT_EQ(Possible(b1->GetAttributeList()[1]), "x y|\tz\t");
    EXPECT_EQ(b1->GetAttributeList()[1]->GetDefaultValue(), "OLMRANGE=1:2");
    EXPECT_EQ(wd.GetBlkList()[1]->GetName(), "");
    EXPECT_EQ(wd.GetBlkList()[2]->GetName(), "B3");
}

TEST(ReaderStatements, FlagWordsKeepEmptyPiecesAndOrder) {
    Olm_WizData wd;
    const auto r = ReadText("WizData: w;\nBlock: B;\nBlkFlags: F1; ; F3;\nBlkFlags: F4\nEndBlock;\n", wd);
    ASSERT_TRUE(r.ok);
    const Olm_StrArray& flags = wd.GetBlkList()[0]->GetFlagList();
    ASSERT_EQ(flags.GetSize(), 4);
    EXPECT_EQ(flags.GetAt(0), "F1");
    EXPECT_EQ(flags.GetAt(1), "");
    EXPECT_EQ(flags.GetAt(2), "F3");
    EXPECT_EQ(flags.GetAt(3), "F4");
}

TEST(ReaderStatements, PinPairsSetConnectionsTiesAndFlags) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Block: B;\n"
        "InputPin: G; Grounded=TRUE;\n"
        "InputPin: V; VCC=TRUE; Flag=DATAWIDTH; Flag=X;\n"
        "InputPin: T; Width=[3:0]; TIE=4'b1x00;\n"
        "InputPin: D; Foo=1; Width=4;\n"
        "InputPin: W; Width=8; Signal=S1; Grounded=FALSE;\n"
        "InputPin: E; Signal=S2; Width=;;\n"
        "InputPin: N; width=[0:0]; hasbus=true; saveToKfz=false;\n"
        "InputPin:;\n"
        "EndBlock;\n",
        wd);
    ASSERT_TRUE(r.ok);
    Olm_Block* b = wd.GetBlkList()[0];
    ASSERT_EQ(b->GetPinList().size(), 7u);  // "InputPin:;" has no name and makes no pin

    Olm_Pin* g = b->GetNamedPin("G");
    EXPECT_TRUE(g->IsGrounded());
    EXPECT_EQ(g->GetAttributeValue("OLM_PIN_GND_IN_DATAFILE"), "TRUE");
    Olm_Pin* v = b->GetNamedPin("V");
    EXPECT_TRUE(v->IsVcc());
    EXPECT_EQ(v->GetAttributeValue("OLM_PIN_VCC_IN_DATAFILE"), "TRUE");
    ASSERT_EQ(v->GetFlagList().GetSize(), 2);
    EXPECT_TRUE(v->SupportsDataWidth());
    EXPECT_EQ(v->GetFlagList().GetAt(1), "X");
    Olm_Pin* t = b->GetNamedPin("T");
    EXPECT_EQ(t->GetAttributeValue("OLM_PIN_TIE"), "4'b1x00");
    EXPECT_EQ(t->GetWidth(), 4);
    EXPECT_FALSE(t->IsGrounded());

    // The unknown key Foo swallows the Width pair after it.
    EXPECT_EQ(b->GetNamedPin("D")->GetWidth(), 1);
    Olm_Pin* w = b->GetNamedPin("W");
    EXPECT_EQ(w->GetWidth(), 8);
    EXPECT_TRUE(w->HasBus());
    EXPECT_EQ(w->GetSigName(), "S1");
    EXPECT_TRUE(w->GetAttributeList().empty());
    // A key with nothing but ";" after it ends the line without an error.
    EXPECT_EQ(b->GetNamedPin("E")->GetWidth(), 1);
    EXPECT_EQ(b->GetNamedPin("E")->GetSigName(), "S2");
    Olm_Pin* n = b->GetNamedPin("N");
    EXPECT_TRUE(n->HasBus());
    EXPECT_FALSE(n->IsActive());
}

TEST(ReaderStatements, SignalStatementsAndRepeatedSections) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Signal: S;\n"
        "External: CLK_OUT;\n"
        "Bus: 8;\n"
        "Grounded: TRUE;\n"
        "SaveToKFZ: FALSE;\n"
        "Attribute: IOSTANDARD;\nPossibleValues: LVCMOS;\nDefaultValue: LVCMOS;\nEndAttribute;\n"
        "EndSignal;\n"
        "Signal: T;\nBus: TRUE;\nEndSignal;\n"
        "Signal: S;\n"
        "External: FALSE;\n"
        "Bus: FALSE;\n"
        "EndSignal;\n"
        "Signal: U;\nBus: 12abc;\nExternal: false;\nGrounded: false;\nEndSignal;\n"
        "EndWizData;\n",
        wd);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(wd.GetSigList().size(), 3u);  // S is filled twice but held once
    Olm_Signal* s = wd.GetNamedSignal("S");
    EXPECT_FALSE(s->IsExternal());
    EXPECT_EQ(s->GetDirection(), "");
    EXPECT_FALSE(s->IsBus());
    EXPECT_EQ(s->GetWidth(), 1);
    EXPECT_TRUE(s->IsGrounded());
    EXPECT_FALSE(s->IsActive());
    ASSERT_EQ(s->GetAttributeList().size(), 1u);
    Olm_Signal* t = wd.GetNamedSignal("T");
    EXPECT_TRUE(t->IsBus());
    EXPECT_EQ(t->GetWidth(), 0);
    Olm_Signal* u = wd.GetNamedSignal("U");
    EXPECT_TRUE(u->IsBus());
    EXPECT_EQ(u->GetWidth(), 12);
    EXPECT_FALSE(u->IsGrounded());
}

TEST(ReaderStatements, SectionsAfterTheFirstWizDataAndMissingEnds) {
    Olm_WizData wd;
    wd.SetVersion("kept");
    auto r = ReadText("WizData: first;\nBlock: A;\nEndBlock;\nEndWizData;\n"
                      "WizData: second;\nBlock: B;\nEndBlock;\nEndWizData;\n"
                      "Version: 2.5;\n"
                      "WizData: third;\nBlock: C;\nPrimitive: P;\n",
                      wd);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(wd.GetVersion(), "2.5");
    EXPECT_EQ(wd.GetWizType(), "third");
    ASSERT_EQ(wd.GetBlkList().size(), 3u);
    EXPECT_EQ(wd.GetBlkList()[2]->GetName(), "C");  // kept although the file ends inside it
    EXPECT_EQ(wd.GetBlkList()[2]->GetPrimType(), "P");

    Olm_WizData untouched;
    untouched.SetVersion("kept");
    r = ReadText("WizData: w;\n", untouched);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(untouched.GetVersion(), "kept");
}

TEST(ReaderStatements, CommentsSeparatorsAndUnknownKeysInsideWizData) {
    Olm_WizData wd;
    const auto r = ReadText(
        "#comment at file level\n"
        "\t \n"
        ":;:\n"
        "WizData: w;\n"
        "  # indented: a statement, ignored inside WizData\n"
        "Whatever: x;\n"
        "Block: B;\n"
        "# Primitive: NOT_READ;\n"
        "EndBlock;\n",
        wd);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(wd.GetBlkList().size(), 1u);
    EXPECT_EQ(wd.GetBlkList()[0]->GetPrimType(), "");
}

TEST(ReaderStatements, AcceptsLinesOfExactly255CharactersAfterTrimming) {
    std::string values;
    while (values.size() < 255 - std::string("PossibleValues: ;").size()) values += "x";
    const std::string line = "PossibleValues: " + values + ";";
    ASSERT_EQ(line.size(), 255u);
    Olm_WizData wd;
    const auto r = ReadText("WizData: w;\nBlock: B;\nAttribute: A;\n \t" + line + " \t\nDefaultValue: 1;\nEndAttribute;\n",
                            wd);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(Possible(wd.GetBlkList()[0]->GetAttributeList()[0]), values);
}

}  // namespace
