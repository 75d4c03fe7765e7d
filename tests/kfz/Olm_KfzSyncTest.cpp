// Synchronising the container with the design the engine holds, for the
// wizard kinds whose rules differ: DSP (plain), transceiver and clock manager.

#include "KfzFixture.h"
#include "ModelBuilders.h"

#include <gtest/gtest.h>

using kfztest::Attr;
using olmtest::Describe;
using olmtest::RunScript;

namespace {

class KfzSyncDsp : public kfztest::KfzFixture {
protected:
    void SetUp() override {
        Setup("dsp_mult", "olm_dsp.dev",
              kfztest::Data("dsp", "  Block: MULT;\n    Primitive: DSP;\n"
                                   "    InputPin: A; Width=[17:0]; HasBus=TRUE; Signal=A_IN;\n"
                                   "    InputPin: B; Signal=B_IN;\n" + Attr("A_PIPE", "1") + Attr("B_PIPE", "1") +
                                   "  EndBlock;\n  Signal: A_IN;\n    External: A;\n    Bus: 18;\n" + Attr("LOC", "X1") +
                                   "  EndSignal;\n  Signal: B_IN;\n    External: B;\n  EndSignal;\n"));
    }
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
    EXPECT_EQ(Describe(*data), "wiz dsp v9.9\nblock MULT DSP\n pin A IN 3:0 bus sig=A_IN flags=DATAWIDTH\n"
                               "  attr SLEW = current=FAST 1{FAST}\n pin B IN 0:0 sig=B_IN off\n pin P OUT 0:0 gnd off\n"
                               " attr A_PIPE =1 current=0 1{1}\n attr B_PIPE =1 1{1} off\n attr NEWPROP = current=n 1{n}\n"
                               "signal A_IN ext port=A bus w=4\n attr LOC =X1 current=Y7 1{X1}\nsignal B_IN ext port=B off\n"
                               "signal NEW ext port=new_pad vcc\n attr K = current=V 1{V}\n");
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
    void SetUp() override {
        Setup("hsx", "olm_hsx.dev",
              kfztest::Data("hsx", "  Block: HSXA;\n    Primitive: HSXA;\n    BlkFlags: HSX3;\n"
                                   "    InputPin: RX; Signal=RX_IN;\n    InputPin: PD; Grounded=TRUE;\n"
                                   "    InputPin: EN; VCC=TRUE;\n    InputPin: DATA; Width=[7:0]; HasBus=TRUE; Flag=DATAWIDTH;\n" +
                                   Attr("HSX_DISPLAY_NAME", "Installed Lane") + Attr("RATE", "3.125") +
                                   "  EndBlock;\n  Signal: RX_IN;\n    External: RX;\n  EndSignal;\n"));
    }
};

TEST_F(KfzSyncHsx, FirstBlockIsTheInstalledPrimitiveRenamed) {
    RunScript(engine, "add block LANE0 HSXA 1; add blkprop LANE0 HSX_DISPLAY_NAME FromDesign; add blkprop LANE0 RATE 2.5;"
                      "add blkprop LANE0 PROP_HSX3 TRUE; add blkprop LANE0 PROP_HSX10 TRUE; add block LANE1 HSXA 1;"
                      "add blkprop LANE1 HSX_DISPLAY_NAME FromDesign; add blkprop LANE1 PROP_HSX11 TRUE");
    bridge->SyncWizDataWithKFZ();
    // The flag HSX3 is not doubled; the second block, added from the design,
    // takes the installed display name.
    EXPECT_EQ(Describe(*data), "wiz hsx v\nblock LANE0 HSXA flags=HSX3;HSX10\n pin RX IN 0:0 sig=RX_IN off\n"
                               " pin PD IN 0:0 gnd off\n  attr OLM_PIN_GND_IN_DATAFILE = current=TRUE 1{TRUE}\n"
                               " pin EN IN 0:0 vcc off\n  attr OLM_PIN_VCC_IN_DATAFILE = current=TRUE 1{TRUE}\n"
                               " pin DATA IN 7:0 bus off flags=DATAWIDTH\n attr HSX_DISPLAY_NAME =Installed Lane 1{Installed Lane}\n"
                               " attr RATE =3.125 current=2.5 1{3.125}\nblock LANE1 HSXA flags=HSX11\n"
                               " attr HSX_DISPLAY_NAME = current=Installed Lane 1{FromDesign}\nsignal RX_IN ext port=RX off\n");
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
    EXPECT_EQ(Describe(*data->GetNamedBlock("LANE0")),
              "block LANE0 HSXA flags=HSX3\n pin RX IN 0:0 sig=x\n pin PD IN 0:0 gnd\n"
              "  attr OLM_PIN_GND_IN_DATAFILE = current=TRUE 1{TRUE}\n pin EN IN 0:0 vcc\n"
              "  attr OLM_PIN_VCC_IN_DATAFILE = current=TRUE 1{TRUE}\n pin DATA IN 7:0 sig=x flags=DATAWIDTH\n"
              " attr HSX_DISPLAY_NAME =Installed Lane 1{Installed Lane}\n attr RATE =3.125 1{3.125}\n");
}

class KfzSyncTkl : public kfztest::KfzFixture {
protected:
    void SetUp() override {
        Setup("tkl_bddeskew", "olm_tkl.dev",
              kfztest::Data("tkl", "  Block: TKL_ADV;\n    Primitive: TKL_ADV;\n    InputPin: CLKIN; Signal=CLKIN_IN;\n"
                                   "    OutputPin: CLK0; Signal=CLK0_OUT;\n" + Attr("DIVIDE", "2") + Attr("PHASE", "0") +
                                   "  EndBlock;\n"));
    }
};

TEST_F(KfzSyncTkl, UnknownNamesCopyInstalledPrimitivesOfCopyableTypes) {
    RunScript(engine, "add block MYTKL TKL_ADV 1; add blkprop MYTKL DIVIDE 5; add pin input CLKIN MYTKL;"
                      "add pinprop CLKIN MYTKL PROP_PINISACTIVE TRUE; add block OTHER FOO 1; add blkprop OTHER K V;"
                      "add pin bidir IO OTHER; add block NOTEMPLATE KDIV 1");
    bridge->SyncWizDataWithKFZ();
    // The copy brings the installed pins; what the design lacks is off.
    EXPECT_EQ(Describe(*data), "wiz tkl v\nblock TKL_ADV TKL_ADV off\n pin CLKIN IN 0:0 sig=CLKIN_IN\n"
                               " pin CLK0 OUT 0:0 sig=CLK0_OUT\n attr DIVIDE =2 1{2}\n attr PHASE =0 1{0}\n"
                               "block MYTKL TKL_ADV\n pin CLKIN IN 0:0\n pin CLK0 OUT 0:0 sig=CLK0_OUT off\n"
                               " attr DIVIDE =2 current=5 1{2}\n attr PHASE =0 1{0} off\nblock OTHER FOO\n"
                               " pin IO INOUT 0:0 off\n attr K = current=V 1{V}\nblock NOTEMPLATE KDIV\n");
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
    olmtest::ScratchDir dir;
    dir.Write("olm_tkl.dev", kfztest::Data("tkl"));
    olmtest::DataDirOverride override(dir.Path().string());
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
    olmtest::ScratchDir dir;
    dir.Write("olm_tkl.dev", kfztest::Data("tkl"));
    olmtest::DataDirOverride override(dir.Path().string());
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
