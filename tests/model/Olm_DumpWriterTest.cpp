#include "OlmBase.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// Two blocks (one inactive) with pins of every direction kind, and two signals.
void BuildModel(Olm_WizData& data) {
    data.SetVersion("2.1");
    Olm_Block* b1 = data.AddBlock("B1", "RKO_BASE");
    for (const char* flag : {"F1", "F2", "F3"}) b1->AddFlag(flag);
    Olm_Pin* clkin = b1->AddPin("CLKIN", "IN");
    clkin->SetSigName("clk");
    clkin->AddAttribute("IOSTD", "LVDS");
    Olm_Pin* d = b1->AddPin("D", "out");
    d->SetWidth(8);
    d->SetIsVcc(true);
    d->AddFlag("DATAWIDTH");
    d->SetIsActive(false);
    b1->AddPin("X", "TRI");
    Olm_Attribute* mult = b1->AddAttribute("MULT", "4");
    mult->SetDefaultValue("1");
    mult->AddPossibleValue("8");
    mult->SetIsModifiable(false);

    Olm_Block* b2 = data.AddBlock("B2", "RKO_ADV");
    b2->SetIsActive(false);
    auto* empty = new Olm_Attribute();
    empty->SetName("EMPTY");
    empty->SetIsActive(false);
    b2->AddAttribute(empty);

    Olm_Signal* clk = data.AddSignal("clk", true, "CLK_PORT");
    clk->SetIsBus(true, 4);
    clk->SetIsGrounded(true);
    clk->SetIsVcc(true);
    data.AddSignal("n2", false, "")->SetIsActive(false);
}

const char* const kFullDump =
    "WizData: tkl;\n  Version: 2.1;\n  WizType: tkl;\n"
    "  Block: B1;\n    Primitive: RKO_BASE;\n    BlkFlags: F1; F2; F3;\n    SaveToKFZ: TRUE;\n"
    "    InputPin: CLKIN; Width=1; Signal=clk; HasBus=FALSE; Grounded=FALSE; VCC=FALSE; SaveToKFZ=TRUE;\n"
    "    Attribute: IOSTD;\n      DefaultValue: ;\n      PossibleValues: LVDS;\n      CurrentValue: LVDS;\n"
    "      IsModifiable: TRUE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n"
    "    OutputPin: D; Width=[0:7]; HasBus=TRUE; Grounded=FALSE; VCC=TRUE; Flag=DATAWIDTH; SaveToKFZ=FALSE;\n"
    "    TRI Pin: X; Width=1; HasBus=FALSE; Grounded=FALSE; VCC=FALSE; SaveToKFZ=TRUE;\n"
    "    Attribute: MULT;\n      DefaultValue: 1;\n      PossibleValues: 4,8;\n      CurrentValue: 4;\n"
    "      IsModifiable: FALSE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n"
    "  EndBlock;\n"
    "  Block: B2;\n    Primitive: RKO_ADV;\n    SaveToKFZ: FALSE;\n"
    "    Attribute: EMPTY;\n      DefaultValue: ;\n      PossibleValues: ;\n      CurrentValue: ;\n"
    "      IsModifiable: TRUE;\n      SaveToKFZ: FALSE;\n    EndAttribute;\n"
    "  EndBlock;\n"
    "  Signal: clk;\n    External: CLK_PORT;\n    Bus: 4;\n    Grounded: TRUE;\n    VCC: TRUE;\n"
    "    SaveToKFZ: TRUE;\n  EndSignal;\n"
    "  Signal: n2;\n    External: FALSE;\n    Bus: FALSE;\n    Grounded: FALSE;\n    VCC: FALSE;\n"
    "    SaveToKFZ: FALSE;\n  EndSignal;\n"
    "EndWizData;\n";

}  // namespace

TEST(Olm_DumpWriterTest, FullDumpOfAContainer) {
    Olm_WizData data("tkl");
    BuildModel(data);
    Pal::MemoryStream out;
    data.DumpToFile(&out, true);
    EXPECT_EQ(out.Text(), kFullDump);
}

TEST(Olm_DumpWriterTest, ShortDumpLeavesOutDefaults) {
    Olm_WizData data("tkl");
    BuildModel(data);
    Pal::MemoryStream out;
    data.GetNamedBlock("B1")->DumpToFile(&out, false);
    for (Olm_Signal* signal : data.GetSigList()) signal->DumpToFile(&out, false);
    EXPECT_EQ(out.Text(),
              "  Block: B1;\n    Primitive: RKO_BASE;\n    BlkFlags: F1; F2; F3;\n"
              "    InputPin: CLKIN; Signal=clk;\n"
              "    Attribute: IOSTD;\n      DefaultValue: ;\n      PossibleValues: LVDS;\n"
              "      IsModifiable: TRUE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n"
              "    OutputPin: D; Width=[0:7]; HasBus=TRUE; VCC=TRUE; Flag=DATAWIDTH; SaveToKFZ=FALSE;\n"
              "    TRI Pin: X;\n"
              "    Attribute: MULT;\n      DefaultValue: 1;\n      PossibleValues: 4,8;\n"
              "      IsModifiable: FALSE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n"
              "  EndBlock;\n"
              "  Signal: clk;\n    External: CLK_PORT;\n    Bus: 4;\n    Grounded: TRUE;\n    VCC: TRUE;\n"
              "  EndSignal;\n"
              "  Signal: n2;\n    SaveToKFZ: FALSE;\n  EndSignal;\n");
}

TEST(Olm_DumpWriterTest, BidirPinAndNullStream) {
    Olm_Pin pin("IO", "InOut");
    Pal::MemoryStream out;
    pin.DumpToFile(&out, false);
    EXPECT_EQ(out.Text(), "    BidirPin: IO;\n");
    Olm_WizData().DumpToFile(nullptr, true);  // writes nothing, must not crash
}

TEST(Olm_DumpWriterTest, DumpWizDataWritesTheFullDumpToAFile) {
    olmtest::ScratchDir dir;
    Olm_WizData data("tkl");
    BuildModel(data);
    const std::string path = dir.File("model.dmp");
    data.DumpWizData(path.c_str());
    EXPECT_EQ(olmtest::ReadFile(path), kFullDump);
}

TEST(Olm_DumpWriterTest, DumpWizDataWithoutNameUsesTheWorkingDirectory) {
    olmtest::ScratchDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    Olm_WizData data("hsx");
    data.DumpWizData(nullptr);
    std::filesystem::current_path(previous);
    EXPECT_EQ(olmtest::ReadFile(dir.File("olmwtest.dmp")),
              "WizData: hsx;\n  Version: ;\n  WizType: hsx;\nEndWizData;\n");
}

TEST(Olm_DumpWriterTest, UnopenableFileWritesAndReportsNothing) {
    olmtest::ScratchDir dir;
    olmtest::MsgCapture messages;
    Olm_WizData data("tkl");
    data.DumpWizData(dir.File("missing/sub/x.dmp").c_str());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "missing"));
    EXPECT_TRUE(messages.Reports().empty());
}
