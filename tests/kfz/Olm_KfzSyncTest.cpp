// Synchronising the container with the design the engine holds, for the
// wizard kinds whose rules differ: DSP (plain), transceiver and clock manager.

#include "KfzFixture.h"
#include "ModelBuilders.h"

#include <gtest/gtest.h>

using olmtest::Describe;
using olmtest::RunScript;

namespace {

class KfzSyncDsp : public kfztest::KfzFixture {
protected:
    void SetUp() override { Setup("dsp_mult", "dsp"); }
};

TEST_F(KfzSyncDsp, EmptyDesignLeavesEverythingInactive) {
    bridge->SyncWizDataWithKFZ();
    EXPECT_EQ(data->GetVersion(), "");  // the engine's answer, even an empty one
    EXPECT_EQ(data->GetActiveBlock(), nullptr);
    for (Olm_Signal* signal : data->GetSigList()) EXPECT_FALSE(signal->IsActive());
    EXPECT_EQ(engine.Sent(true), "get kfzVersion; getfirst block; getfirst signal");
}

TEST_F(KfzSyncDsp, DesignUpdatesBlocksPinsAndSignalsInPlace) {
    RunScript(engine, "set kfzVersion 9.9; add block MULT DSP 1; add blkprop MULT A_PIPE 0; add blkprop MULT NEWPROP n;"
                      "add pin input A MULT; set pinwidth A MULT [3:0]; set hasbus A MULT; connect signal A_IN A MULT;"
                      "add pinprop A MULT PROP_PINISACTIVE TRUE; add pinprop A MULT PROP_DATAWIDTH TRUE;"
                      "add pinprop A MULT OLM_PIN_GND_IN_DATAFILE TRUE; add pinprop A MULT SLEW FAST;"
                      "add pin output P MULT; set gndpin P MULT;"  // a pin the data lacks
                      "add signal A_IN; set bus A_IN 4; add sigprop A_IN LOC Y7;"
                      "add signal NEW; set externalsig NEW new_pad; set vccsig NEW; add sigprop NEW K V");
    data->GetNamedBlock("MULT")->GetNamedAttribute("B_PIPE")->SetIsActive(false);
    bridge->SyncWizDataWithKFZ();
    // Other wizards than the clock managers keep the flags of attributes the design lacks.
    EXPECT_EQ(Describe(*data), kfztest::Golden("sync_dsp_design.txt"));
}

TEST_F(KfzSyncDsp, SignalFlagsAreSetOnlyByExactTrue) {
    RunScript(engine, "add signal B_IN; set gndsig B_IN; set vccsig B_IN");
    engine.replies["get sigprop B_IN SIGISGNDED"] = "true";
    bridge->SyncWizDataWithKFZ();
    EXPECT_FALSE(data->GetNamedSignal("B_IN")->IsGrounded());
    EXPECT_TRUE(data->GetNamedSignal("B_IN")->IsVcc());
}

class KfzSyncHsx : public kfztest::KfzFixture {
protected:
    void SetUp() override { Setup("hsx", "hsx"); }
};

TEST_F(KfzSyncHsx, FirstBlockIsTheInstalledPrimitiveRenamed) {
    RunScript(engine, "add block LANE0 HSXA 1; add blkprop LANE0 HSX_DISPLAY_NAME FromDesign; add blkprop LANE0 RATE 2.5;"
                      "add blkprop LANE0 PROP_HSX3 TRUE; add blkprop LANE0 PROP_HSX10 TRUE; add block LANE1 HSXA 1;"
                      "add blkprop LANE1 HSX_DISPLAY_NAME FromDesign; add blkprop LANE1 PROP_HSX11 TRUE");
    bridge->SyncWizDataWithKFZ();
    // The flag HSX3 is not doubled; the second block, added from the design,
    // takes the installed display name.
    EXPECT_EQ(Describe(*data), kfztest::Golden("sync_hsx_first_block.txt"));
}

TEST_F(KfzSyncHsx, PinsTiedByTheInstalledDataStayTied) {
    RunScript(engine, "add block LANE0 HSXA 1");
    for (const std::string pin : {"PD", "EN", "RX", "DATA"})
        RunScript(engine, "add pin input " + pin + " LANE0; set pinwidth " + pin + " LANE0 [1:0]; connect signal x " +
                              pin + " LANE0; add pinprop " + pin + " LANE0 PROP_PINISACTIVE TRUE");
    RunScript(engine, "set vccpin PD LANE0; set gndpin RX LANE0");
    bridge->SyncWizDataWithKFZ();
    // An untied pin follows the design: the tie, then the connection, which
    // clears it. The installed widths stay; only PINHASBUS sets the bus flag.
    EXPECT_EQ(Describe(*data->GetNamedBlock("LANE0")), kfztest::Golden("sync_hsx_tied_pins.txt"));
}

// The transceiver wizard renames the installed block after the design's
// first block: its old name no longer finds it.
TEST_F(KfzSyncHsx, ARenamedBlockIsFoundUnderItsNewNameOnly) {
    RunScript(engine, "add block LANE0 HSXA 1; add block hsxa HSXA 1; add blkprop hsxa RATE 5");
    bridge->SyncWizDataWithKFZ();
    const Olm_BlockList& blocks = data->GetBlkList();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0]->GetName().str() + " " + blocks[0]->GetAttributeValue("RATE").str(), "LANE0 3.125");
    EXPECT_EQ(blocks[1]->GetName().str() + " " + blocks[1]->GetAttributeValue("RATE").str(), "hsxa 5");
}

class KfzSyncTkl : public kfztest::KfzFixture {
protected:
    void SetUp() override { Setup("tkl_bddeskew", "tkl"); }
};

TEST_F(KfzSyncTkl, UnknownNamesCopyInstalledPrimitivesOfCopyableTypes) {
    RunScript(engine, "add block MYTKL TKL_ADV 1; add blkprop MYTKL DIVIDE 5; add pin input CLKIN MYTKL;"
                      "add pinprop CLKIN MYTKL PROP_PINISACTIVE TRUE; add block OTHER FOO 1; add blkprop OTHER K V;"
                      "add pin bidir IO OTHER; add block NOTEMPLATE KDIV 1");
    bridge->SyncWizDataWithKFZ();
    // The copy brings the installed pins; what the design lacks is off.
    EXPECT_EQ(Describe(*data), kfztest::Golden("sync_tkl_unknown_names.txt"));
}

TEST_F(KfzSyncTkl, SignalIterationResumesAfterPropertyQueries) {
    for (const std::string name : {"s1", "s2", "s3"})
        RunScript(engine, "add signal " + name + "; add sigprop " + name + " K " + name + "; set bus " + name + " 2");
    bridge->SyncWizDataWithKFZ();
    std::string signals;
    for (const Olm_Signal* signal : data->GetSigList()) signals += Describe(*signal);
    EXPECT_EQ(signals, "signal s1 bus w=2\n attr K = current=s1 1{s1}\nsignal s2 bus w=2\n attr K = current=s2 1{s2}\n"
                       "signal s3 bus w=2\n attr K = current=s3 1{s3}\n");
}

TEST(KfzSetup, RefusalsLeaveTheContainerUnset) {
    olmtest::DataDirOverride override(kfztest::DataFolder("bare_tkl"));
    olmtest::ScriptedEngine engine;
    Olm_KfzWizData emptyType(&engine, Pal::String(""));
    EXPECT_FALSE(emptyType.SetupWizData());
    EXPECT_TRUE(engine.log.empty());
    Olm_KfzWizData noFamily(&engine, Pal::String("tkl_pll"));
    EXPECT_FALSE(noFamily.SetupWizData());
    EXPECT_EQ(noFamily.GetWizDataPtr(), nullptr);
    engine.SetFamily("korvo5");
    Olm_KfzWizData notInstalled(&engine, Pal::String("dsp_mult"));
    {
        olmtest::MsgCapture quiet;
        EXPECT_FALSE(notInstalled.SetupWizData());
    }
    EXPECT_EQ(notInstalled.GetWizDataPtr(), nullptr);
}

TEST(KfzSetup, CopiesShareEngineAndContainerAndASecondSetupMakesANewContainer) {
    olmtest::DataDirOverride override(kfztest::DataFolder("bare_tkl"));
    Olm_Engine engine;
    engine.SetFamily("korvo5");
    Olm_KfzWizData bridge(&engine, Pal::String("tkl_pll"));
    bridge.SetBatchMode(true);
    ASSERT_TRUE(bridge.SetupWizData());
    const std::unique_ptr<Olm_WizData> first(bridge.GetWizDataPtr());
    Olm_KfzWizData copy(bridge);
    EXPECT_EQ(copy.GetWizDataPtr(), first.get());
    EXPECT_EQ(copy.GetEnginePtr(), &engine);
    EXPECT_TRUE(copy.IsBatchMode());
    ASSERT_TRUE(bridge.SetupWizData());
    const std::unique_ptr<Olm_WizData> second(bridge.GetWizDataPtr());
    EXPECT_NE(second.get(), first.get());
    EXPECT_EQ(second->GetWizType(), "tkl");
}

}  // namespace
