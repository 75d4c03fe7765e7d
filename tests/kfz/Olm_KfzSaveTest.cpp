#include "KfzFixture.h"

#include "pal/Version.h"

#include <gtest/gtest.h>

#include <string>

using kfztest::KfzFixture;
using Lines = std::vector<std::string>;

namespace {

class KfzSave : public KfzFixture {
protected:
    void SetUp() override { Setup("dsp_mult", "olm_dsp.dev", kfztest::EmptyData("dsp")); }

    std::string VersionWrite() const { return "set kfzVersion " + Pal::Version::getValue("version").str(); }

    Olm_Block* AddBlock(const char* name, const char* type) {
        auto* block = new Olm_Block(name, type);
        data->AddBlock(block, false);
        return block;
    }
};

TEST_F(KfzSave, BlockFlagsPinsAndAttributesInOrder) {
    Olm_Block* block = AddBlock("B", "T");
    block->AddFlag("HSX3");
    block->AddFlag("ADV");
    block->AddAttribute("PRIMTYPE", "ignored");
    block->AddAttribute("Z", "26");
    block->AddAttribute("A", "1");
    block->AddAttribute("OFF", "0")->SetIsActive(false);

    auto* in = new Olm_Pin("CLK", "IN");
    in->SetSigName("clk");
    in->AddFlag("DATAWIDTH");
    in->AddAttribute("OLM_PIN_GND_IN_DATAFILE", "TRUE");
    in->AddAttribute("OLM_PIN_VCC_IN_DATAFILE", "TRUE");
    in->AddAttribute("IOSTD", "LV");
    in->AddAttribute("OFF", "x")->SetIsActive(false);
    block->AddPin(in);

    auto* out = new Olm_Pin("Q", "OUT");  // active, no signal
    out->SetWidth(8);
    block->AddPin(out);

    auto* io = new Olm_Pin("IO", "INOUT");  // inactive: everything but connection and activity
    io->SetSigName("bus");
    io->SetIsGrounded(true);
    io->SetHasBus(true);
    io->SetStartBit(3);
    io->SetEndBit(0);
    io->AddFlag("F");
    io->AddAttribute("K", "V");
    io->SetIsActive(false);
    block->AddPin(io);

    auto* odd = new Olm_Pin("X", "sideways");
    odd->SetIsVcc(true);
    block->AddPin(odd);

    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.log, (Lines{
                              VersionWrite(),
                              "add block B T 1",
                              "add blkprop B PROP_HSX3 TRUE",
                              "add blkprop B PROP_ADV TRUE",
                              "add pin input CLK B",
                              "set pinwidth CLK B [0:0]",
                              "connect signal clk CLK B",
                              "add pinprop CLK B PROP_PINISACTIVE TRUE",
                              "add pinprop CLK B PROP_DATAWIDTH TRUE",
                              "add pinprop CLK B IOSTD LV",
                              "add pin output Q B",
                              "set pinwidth Q B [0:7]",
                              "set hasbus Q B",
                              "add pinprop Q B PROP_PINISACTIVE TRUE",
                              "add pin bidir IO B",
                              "set pinwidth IO B [3:0]",
                              "set gndpin IO B",
                              "set hasbus IO B",
                              "add pinprop IO B PROP_F TRUE",
                              "add pinprop IO B K V",
                              "add pin sideways X B",
                              "set pinwidth X B [0:0]",
                              "set vccpin X B",
                              "add pinprop X B PROP_PINISACTIVE TRUE",
                              "add blkprop B Z 26",
                              "add blkprop B A 1",
                          }));
}

TEST_F(KfzSave, ActiveSignalsFollowTheBlocksWithEverySetting) {
    AddBlock("B", "T")->SetIsActive(false);
    auto* plain = new Olm_Signal("plain");
    data->AddSignal(plain);
    auto* full = new Olm_Signal("full");
    full->SetIsExternal(true, "full_pad");
    full->SetIsBus(true, 16);
    full->SetIsGrounded(true);
    full->SetIsVcc(true);
    full->AddAttribute("LOC", "A1");
    full->AddAttribute("OFF", "x")->SetIsActive(false);
    data->AddSignal(full);
    auto* off = new Olm_Signal("off");
    off->SetIsActive(false);
    data->AddSignal(off);

    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.log, (Lines{VersionWrite(), "add signal plain", "add signal full", "set externalsig full full_pad",
                                 "set bus full 16", "set gndsig full", "set vccsig full", "add sigprop full LOC A1"}));
}

TEST_F(KfzSave, FailedVersionWriteStopsEverything) {
    AddBlock("B", "T");
    data->AddSignal(new Olm_Signal("s"));
    engine.failWrite = [](const std::string& line) { return line.rfind("set kfzVersion", 0) == 0; };
    EXPECT_FALSE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.log, (Lines{VersionWrite()}));
}

TEST_F(KfzSave, FailedBlockWriteDoesNotStopTheOthers) {
    AddBlock("B1", "T")->AddAttribute("K", "V");
    AddBlock("B2", "T");
    data->AddSignal(new Olm_Signal("s"));
    engine.failWrite = [](const std::string& line) { return line == "add block B1 T 1"; };
    EXPECT_FALSE(bridge->SaveWizDataToEngine());
    // The real engine refuses the property of the block it never got.
    EXPECT_EQ(engine.log,
              (Lines{VersionWrite(), "add block B1 T 1", "add blkprop B1 K V", "add block B2 T 1", "add signal s"}));
}

TEST_F(KfzSave, OnlyExactFalseIsAFailure) {
    AddBlock("B", "T");
    data->AddSignal(new Olm_Signal("s"));
    engine.replies["add block B T 1"] = "false";
    engine.replies["add signal s"] = "";
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    engine.replies["add signal s"] = "FALSE";
    EXPECT_FALSE(bridge->SaveWizDataToEngine());
}

TEST_F(KfzSave, RemovedFlagWordsAreNotWritten) {
    auto* pin = new Olm_Pin("P", "IN");
    pin->SetIsActive(false);
    pin->AddFlag("GONE");
    pin->AddFlag("KEPT");
    pin->RemoveFlag("GONE");
    Olm_Block* block = AddBlock("B", "T");
    block->AddFlag("");
    block->AddPin(pin);
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.Writes(), (Lines{VersionWrite(), "add block B T 1", "add pin input P B", "set pinwidth P B [0:0]",
                                      "add pinprop P B PROP_KEPT TRUE"}));
}

TEST_F(KfzSave, TieOfOnesTiesTheWholePinToVcc) {
    auto* pin = new Olm_Pin("P", "IN");
    pin->SetWidth(4);
    pin->AddAttribute("OLM_PIN_TIE", "4'b1111");
    AddBlock("B", "T")->AddPin(pin);
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.log, (Lines{VersionWrite(), "add block B T 1", "add pin input P B", "set pinwidth P B [0:3]",
                                 "set vccpin P B", "set hasbus P B", "add pinprop P B PROP_PINISACTIVE TRUE"}));
    EXPECT_TRUE(pin->IsVcc());
    EXPECT_TRUE(data->GetSigList().empty());
}

TEST_F(KfzSave, MixedTieDrivesBitsFromTieSignals) {
    auto* pin = new Olm_Pin("P", "IN");
    pin->SetWidth(4);
    pin->AddAttribute("OLM_PIN_TIE", "4'b1x00");
    AddBlock("B", "T")->AddPin(pin);
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.log, (Lines{VersionWrite(), "add block B T 1", "add pin input P B", "set pinwidth P B [0:3]",
                                 "set hasbus P B", "connect signal VCCa P B",
                                 "add pinprop P B PROP_PINISACTIVE TRUE",
                                 "add pinprop P B OLMW_ONLY_PIN_SIG_BIT_3:3 VCCa[0:0]",
                                 "add pinprop P B OLMW_ONLY_PIN_SIG_BIT_1:1 GNDa[0:0]",
                                 "add pinprop P B OLMW_ONLY_PIN_SIG_BIT_0:0 GNDa[0:0]", "add signal VCCa",
                                 "set vccsig VCCa", "add signal GNDa", "set gndsig GNDa"}));
    EXPECT_EQ(pin->GetNamedAttribute("OLMW_ONLY_PIN_SIG_BIT_2:2"), nullptr);
    // Saving again changes nothing: no second tie signal, no second property.
    engine.log.clear();
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(data->GetSigList().size(), 2u);
    EXPECT_EQ(pin->GetAttributeList().size(), 4u);
}

// A mixed tie pattern of the width: 1010...
std::string MixedTie(int width) {
    std::string value = std::to_string(width) + "'b";
    for (int i = 0; i < width; ++i) value += i % 2 ? '0' : '1';
    return value;
}

TEST_F(KfzSave, TieValuesThatSayNothingAreIgnored) {
    // Also values wider than the bound, whose work would grow with the
    // square of the width.
    const std::string ignored[] = {"4b1111", "0'b1111", "-2'b11", "'b1", "3'bxzx", "abc",
                                   MixedTie(1025), "99999999999'b10", "1025'b1"};
    for (const std::string& value : ignored) {
        SCOPED_TRACE(value.substr(0, 20));
        Olm_Pin pin("P", "IN");
        pin.AddAttribute("OLM_PIN_TIE", value);
        auto* block = AddBlock("B", "T");
        block->AddPin(new Olm_Pin(pin));
        EXPECT_TRUE(bridge->SaveWizDataToEngine());
        Olm_Pin* saved = block->GetPinList().front();
        EXPECT_FALSE(saved->IsVcc());
        EXPECT_FALSE(saved->IsGrounded());
        EXPECT_FALSE(saved->HasPinSigBitProp());
        EXPECT_TRUE(data->GetSigList().empty());
        data->DeleteBlock(block);
    }
}

TEST_F(KfzSave, TieLooksOnlyAtTheBitsItsWidthCovers) {
    auto* narrow = new Olm_Pin("N", "IN");
    narrow->AddAttribute("OLM_PIN_TIE", "2'b0011");  // only "00" counts
    auto* shortBits = new Olm_Pin("S", "IN");
    shortBits->AddAttribute("OLM_PIN_TIE", "4'b10");  // bits 3 and 2 given
    Olm_Block* block = AddBlock("B", "T");
    block->AddPin(narrow);
    block->AddPin(shortBits);
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_TRUE(narrow->IsGrounded());
    EXPECT_EQ(shortBits->GetAttributeValue("OLMW_ONLY_PIN_SIG_BIT_3:3"), "VCCa[0:0]");
    EXPECT_EQ(shortBits->GetAttributeValue("OLMW_ONLY_PIN_SIG_BIT_2:2"), "GNDa[0:0]");
    EXPECT_EQ(shortBits->GetAttributeList().size(), 3u);
}

TEST_F(KfzSave, TieOfTheBoundedWidthIsApplied) {
    auto* pin = new Olm_Pin("P", "IN");
    pin->AddAttribute("OLM_PIN_TIE", MixedTie(1024));
    AddBlock("B", "T")->AddPin(pin);
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(pin->GetAttributeValue("OLMW_ONLY_PIN_SIG_BIT_1023:1023"), "VCCa[0:0]");
    EXPECT_EQ(pin->GetAttributeValue("OLMW_ONLY_PIN_SIG_BIT_0:0"), "GNDa[0:0]");
    EXPECT_EQ(pin->GetAttributeList().size(), 1025u);
}

TEST(KfzSaveWithout, NoContainerOrEngineSendsNothingAndSucceeds) {
    kfztest::ScriptedEngine engine;
    Olm_KfzWizData noContainer(&engine, Pal::String("tkl_pll"));
    EXPECT_TRUE(noContainer.SaveWizDataToEngine());
    noContainer.SyncWizDataWithKFZ();
    EXPECT_TRUE(engine.log.empty());
    noContainer.DumpWizData(nullptr);  // nothing to dump, nothing happens

    Olm_KfzWizData noEngine(nullptr, Pal::String("tkl_pll"));
    EXPECT_TRUE(noEngine.SaveWizDataToEngine());
    EXPECT_FALSE(noEngine.SetupWizData());
    EXPECT_EQ(noEngine.GetWizDataPtr(), nullptr);
}

}  // namespace
