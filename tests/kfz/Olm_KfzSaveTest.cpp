// Saving the container to the engine: the commands in order, failures, and
// the tie values of pins.

#include "KfzFixture.h"

#include "pal/Version.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class KfzSave : public kfztest::KfzFixture {
protected:
    void SetUp() override { Setup("dsp_mult", "bare_dsp"); }

    const std::string version = "set kfzVersion " + Pal::Version::getValue("version").str();
};

TEST_F(KfzSave, BlockFlagsPinsAndAttributesInOrder) {
    Olm_Block* block = data->AddBlock("B", "T");
    block->AddFlag("HSX3");
    block->AddFlag("ADV");
    block->AddAttribute("PRIMTYPE", "ignored");
    block->AddAttribute("Z", "26");
    block->AddAttribute("A", "1");
    block->AddAttribute("OFF", "0")->SetIsActive(false);
    Olm_Pin* in = block->AddPin("CLK", "IN");
    in->SetSigName("clk");
    in->AddFlag("DATAWIDTH");
    for (const char* marker : {"OLM_PIN_GND_IN_DATAFILE", "OLM_PIN_VCC_IN_DATAFILE"}) in->AddAttribute(marker, "TRUE");
    in->AddAttribute("IOSTD", "LV");
    in->AddAttribute("OFF", "x")->SetIsActive(false);
    block->AddPin("Q", "OUT")->SetWidth(8);  // active, no signal
    Olm_Pin* io = block->AddPin("IO", "INOUT");  // inactive: everything but connection and activity
    io->SetSigName("bus");
    io->SetIsGrounded(true);
    io->SetStartBit(3);
    io->AddFlag("F");
    io->AddAttribute("K", "V");
    io->SetIsActive(false);
    block->AddPin("X", "sideways")->SetIsVcc(true);

    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.Sent(false, "\n") + "\n", version + "\n" + kfztest::Golden("save_block_flags_pins_attributes.txt"));
}

TEST_F(KfzSave, ActiveSignalsFollowTheBlocksWithEverySetting) {
    data->AddBlock("B", "T")->SetIsActive(false);
    data->AddSignal("plain", false, "");
    Olm_Signal* full = data->AddSignal("full", true, "full_pad");
    full->SetIsBus(true, 16);
    full->SetIsGrounded(true);
    full->SetIsVcc(true);
    full->AddAttribute("LOC", "A1");
    full->AddAttribute("OFF", "x")->SetIsActive(false);
    data->AddSignal("off", false, "")->SetIsActive(false);
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.Sent(), version + "; add signal plain; add signal full; set externalsig full full_pad; "
                                       "set bus full 16; set gndsig full; set vccsig full; add sigprop full LOC A1");
}

TEST_F(KfzSave, FailedVersionWriteStopsEverything) {
    data->AddBlock("B", "T");
    data->AddSignal("s", false, "");
    engine.failWrite = [](const std::string& line) { return line.rfind("set kfzVersion", 0) == 0; };
    EXPECT_FALSE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.Sent(), version);
}

TEST_F(KfzSave, FailedBlockWriteDoesNotStopTheOthers) {
    data->AddBlock("B1", "T")->AddAttribute("K", "V");
    data->AddBlock("B2", "T");
    data->AddSignal("s", false, "");
    engine.failWrite = [](const std::string& line) { return line == "add block B1 T 1"; };
    EXPECT_FALSE(bridge->SaveWizDataToEngine());
    // The real engine refuses the property of the block it never got.
    EXPECT_EQ(engine.Sent(), version + "; add block B1 T 1; add blkprop B1 K V; add block B2 T 1; add signal s");
}

TEST_F(KfzSave, OnlyExactFalseIsAFailure) {
    data->AddBlock("B", "T");
    data->AddSignal("s", false, "");
    engine.replies["add block B T 1"] = "false";
    engine.replies["add signal s"] = "";
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    engine.replies["add signal s"] = "FALSE";
    EXPECT_FALSE(bridge->SaveWizDataToEngine());
}

TEST_F(KfzSave, RemovedFlagWordsAreNotWritten) {
    Olm_Block* block = data->AddBlock("B", "T");
    block->AddFlag("");
    Olm_Pin* pin = block->AddPin("P", "IN");
    pin->SetIsActive(false);
    pin->AddFlag("GONE");
    pin->AddFlag("KEPT");
    pin->RemoveFlag("GONE");
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.Sent(), version + "; add block B T 1; add pin input P B; set pinwidth P B [0:0]; "
                                       "add pinprop P B PROP_KEPT TRUE");
}

// A mixed tie drives the tied bits from the tie signals, which the signal
// pass writes; a second save adds no second signal or property.
TEST_F(KfzSave, MixedTieIsWrittenThroughTieSignals) {
    Olm_Pin* pin = data->AddBlock("B", "T")->AddPin("P", "IN");
    pin->SetWidth(4);
    pin->AddAttribute("OLM_PIN_TIE", "4'b1x00");
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(engine.Sent(false, "\n") + "\n", version + "\n" + kfztest::Golden("save_mixed_tie.txt"));
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    EXPECT_EQ(data->GetSigList().size(), 2u);
    EXPECT_EQ(pin->GetAttributeList().size(), 4u);
}

// A mixed tie pattern of the width, 1010..., and the bit properties it gives.
std::string MixedTie(int width) {
    std::string value = std::to_string(width) + "'b";
    for (int i = 0; i < width; ++i) value += i % 2 ? '0' : '1';
    return value;
}
std::string MixedBits(int width) {
    std::string bits;
    for (int bit = width - 1; bit >= 0; --bit)
        bits += " " + std::to_string(bit) + (bit % 2 == (width - 1) % 2 ? "=VCCa" : "=GNDa");
    return bits;
}

// A tie value and what saving makes of the pin (of width 1 unless the value
// says otherwise): its ties and bit properties, and the tie signals added.
struct Tie {
    std::string value;
    int width;
    std::string pin;
    std::string signals;
};

class KfzSaveTie : public KfzSave, public ::testing::WithParamInterface<Tie> {};

TEST_P(KfzSaveTie, SetsTheTiesAndBitsTheWidthCovers) {
    Olm_Pin* pin = data->AddBlock("B", "T")->AddPin("P", "IN");
    pin->SetWidth(GetParam().width);
    pin->AddAttribute("OLM_PIN_TIE", GetParam().value);
    EXPECT_TRUE(bridge->SaveWizDataToEngine());
    std::string seen = std::string(pin->IsVcc() ? " vcc" : "") + (pin->IsGrounded() ? " gnd" : "");
    for (Olm_Attribute* a : pin->GetAttributeList()) {  // "OLMW_ONLY_PIN_SIG_BIT_<bit>:<bit>" = "<signal>[0:0]"
        const std::string name = a->GetName().str(), value = a->GetCurrentValue().str();
        if (name != "OLM_PIN_TIE") seen += " " + name.substr(22, name.find(':') - 22) + "=" + value.substr(0, value.find('['));
    }
    EXPECT_EQ(seen, GetParam().pin);
    std::string signals;
    for (Olm_Signal* signal : data->GetSigList()) signals += " " + signal->GetName().str();
    EXPECT_EQ(signals, GetParam().signals);
}

INSTANTIATE_TEST_SUITE_P(
    Values, KfzSaveTie,
    ::testing::Values(Tie{"4'b1111", 4, " vcc", ""}, Tie{"4'b0000", 4, " gnd", ""},
                      Tie{"4'b1x00", 4, " 3=VCCa 1=GNDa 0=GNDa", " VCCa GNDa"},
                      Tie{"2'b0011", 1, " gnd", ""},                          // only "00" counts
                      Tie{"4'b10", 1, " 3=VCCa 2=GNDa", " VCCa GNDa"},        // bits 3 and 2 given
                      Tie{MixedTie(1024), 1, MixedBits(1024), " VCCa GNDa"},  // the bound
                      // Values that say nothing, and values wider than the bound,
                      // whose work would grow with the square of the width.
                      Tie{"4b1111", 1, "", ""}, Tie{"0'b1111", 1, "", ""}, Tie{"-2'b11", 1, "", ""},
                      Tie{"'b1", 1, "", ""}, Tie{"3'bxzx", 1, "", ""}, Tie{"abc", 1, "", ""},
                      Tie{MixedTie(1025), 1, "", ""}, Tie{"99999999999'b10", 1, "", ""}, Tie{"1025'b1", 1, "", ""}));

TEST(KfzSaveWithout, NoContainerOrEngineSendsNothingAndSucceeds) {
    olmtest::ScriptedEngine engine;
    Olm_KfzWizData noContainer(&engine, Pal::String("tkl_pll"));
    EXPECT_TRUE(noContainer.SaveWizDataToEngine());
    noContainer.SyncWizDataWithKFZ();
    EXPECT_TRUE(engine.log.empty());
    Olm_KfzWizData noEngine(nullptr, Pal::String("tkl_pll"));
    EXPECT_TRUE(noEngine.SaveWizDataToEngine());
    EXPECT_FALSE(noEngine.SetupWizData());
    EXPECT_EQ(noEngine.GetWizDataPtr(), nullptr);
}

}  // namespace
