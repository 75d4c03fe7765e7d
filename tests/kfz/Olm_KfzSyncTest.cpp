#include "KfzFixture.h"

#include <gtest/gtest.h>

using kfztest::KfzFixture;

namespace {

std::string Attr(const char* name, const char* value) {
    return std::string("    Attribute: ") + name + ";\n      PossibleValues: " + value + ";\n      DefaultValue: " +
           value + ";\n      IsModifiable: TRUE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n";
}

std::string HsxData() {
    return "Version: 1.0;\nWizData: hsx;\n"
           "  Block: HSXA;\n    Primitive: HSXA;\n    BlkFlags: HSX3;\n"
           "    InputPin: RX; Signal=RX_IN;\n"
           "    InputPin: PD; Grounded=TRUE;\n"
           "    InputPin: EN; VCC=TRUE;\n"
           "    InputPin: DATA; Width=[7:0]; HasBus=TRUE; Flag=DATAWIDTH;\n" +
           Attr("HSX_DISPLAY_NAME", "Installed Lane") + Attr("RATE", "3.125") +
           "  EndBlock;\n"
           "  Signal: RX_IN;\n    External: RX;\n    Bus: FALSE;\n  EndSignal;\n"
           "EndWizData;\n";
}

std::string TklData() {
    return "Version: 1.0;\nWizData: tkl;\n"
           "  Block: TKL_ADV;\n    Primitive: TKL_ADV;\n"
           "    InputPin: CLKIN; Signal=CLKIN_IN;\n"
           "    OutputPin: CLK0; Signal=CLK0_OUT;\n" +
           Attr("DIVIDE", "2") + Attr("PHASE", "0") +
           "  EndBlock;\n"
           "EndWizData;\n";
}

void Cmd(Olm_Engine& e, const char* cmd, const char* a1, const char* a2 = nullptr, const char* a3 = nullptr,
         const char* a4 = nullptr, const char* a5 = nullptr) {
    ASSERT_EQ(e.Execute(cmd, a1, a2, a3, a4, a5).str(), "TRUE") << cmd << " " << a1;
}

class KfzSyncHsx : public KfzFixture {
protected:
    void SetUp() override { Setup("hsx", "olm_hsx.dev", HsxData()); }
};

class KfzSyncTkl : public KfzFixture {
protected:
    void SetUp() override { Setup("tkl_bddeskew", "olm_tkl.dev", TklData()); }
};

class KfzSyncDsp : public KfzFixture {
protected:
    void SetUp() override {
        Setup("dsp_mult", "olm_dsp.dev",
              "Version: 1.0;\nWizData: dsp;\n  Block: MULT;\n    Primitive: DSP;\n"
              "    InputPin: A; Width=[17:0]; HasBus=TRUE; Signal=A_IN;\n"
              "    InputPin: B; Signal=B_IN;\n" +
                  Attr("A_PIPE", "1") + Attr("B_PIPE", "1") +
                  "  EndBlock;\n"
                  "  Signal: A_IN;\n    External: A;\n    Bus: 18;\n" + Attr("LOC", "X1") +
                  "  EndSignal;\n  Signal: B_IN;\n    External: B;\n    Bus: FALSE;\n  EndSignal;\nEndWizData;\n");
    }
};

TEST_F(KfzSyncDsp, EmptyDesignLeavesEverythingInactive) {
    bridge->SyncWizDataWithKFZ();
    EXPECT_EQ(data->GetVersion(), "");  // the engine's answer, even an empty one
    EXPECT_EQ(data->GetActiveBlock(), nullptr);
    for (Olm_Signal* signal : data->GetSigList()) EXPECT_FALSE(signal->IsActive());
    EXPECT_EQ(engine.log, (std::vector<std::string>{"get kfzVersion", "getfirst block", "getfirst signal"}));
}

TEST_F(KfzSyncDsp, DesignUpdatesBlocksPinsAndSignalsInPlace) {
    Cmd(engine, "set", "kfzVersion", "9.9");
    Cmd(engine, "add", "block", "MULT", "DSP", "1");
    Cmd(engine, "add", "blkprop", "MULT", "A_PIPE", "0");
    Cmd(engine, "add", "blkprop", "MULT", "NEWPROP", "n");
    Cmd(engine, "add", "pin", "input", "A", "MULT");
    Cmd(engine, "set", "pinwidth", "A", "MULT", "[3:0]");
    Cmd(engine, "set", "hasbus", "A", "MULT");
    Cmd(engine, "connect", "signal", "A_IN", "A", "MULT");
    Cmd(engine, "add", "pinprop", "A", "MULT", "PROP_PINISACTIVE", "TRUE");
    Cmd(engine, "add", "pinprop", "A", "MULT", "PROP_DATAWIDTH", "TRUE");
    Cmd(engine, "add", "pinprop", "A", "MULT", "OLM_PIN_GND_IN_DATAFILE", "TRUE");
    Cmd(engine, "add", "pinprop", "A", "MULT", "SLEW", "FAST");
    Cmd(engine, "add", "pin", "output", "P", "MULT");  // a pin the data lacks
    Cmd(engine, "set", "gndpin", "P", "MULT");
    Cmd(engine, "add", "signal", "A_IN");
    Cmd(engine, "set", "bus", "A_IN", "4");
    Cmd(engine, "add", "sigprop", "A_IN", "LOC", "Y7");
    Cmd(engine, "add", "signal", "NEW");
    Cmd(engine, "set", "externalsig", "NEW", "new_pad");
    Cmd(engine, "set", "vccsig", "NEW");
    Cmd(engine, "add", "sigprop", "NEW", "K", "V");
    Olm_Block* mult = data->GetNamedBlock("MULT");
    mult->GetNamedAttribute("B_PIPE")->SetIsActive(false);

    bridge->SyncWizDataWithKFZ();

    EXPECT_EQ(data->GetVersion(), "9.9");
    ASSERT_EQ(data->GetBlkList().size(), 1u);
    EXPECT_TRUE(mult->IsActive());
    EXPECT_EQ(mult->GetAttributeValue("A_PIPE"), "0");
    EXPECT_FALSE(mult->IsAttributeActive("B_PIPE"));  // other wizards keep attribute flags
    EXPECT_EQ(mult->GetAttributeValue("NEWPROP"), "n");
    EXPECT_EQ(mult->GetNamedAttribute("PRIMTYPE"), nullptr);

    Olm_Pin* a = mult->GetNamedPin("A");
    EXPECT_TRUE(a->IsActive());
    EXPECT_EQ(a->GetStartBit(), 3);
    EXPECT_EQ(a->GetEndBit(), 0);
    EXPECT_TRUE(a->HasBus());
    EXPECT_EQ(a->GetSigName(), "A_IN");
    EXPECT_TRUE(a->SupportsDataWidth());
    EXPECT_EQ(a->GetNamedAttribute("OLM_PIN_GND_IN_DATAFILE"), nullptr);
    EXPECT_EQ(a->GetAttributeValue("SLEW"), "FAST");
    EXPECT_FALSE(mult->IsPinActive("B"));  // the design lacks it
    EXPECT_EQ(mult->GetNamedPin("B")->GetSigName(), "B_IN");

    Olm_Pin* p = mult->GetNamedPin("P");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetDirection(), "OUT");
    EXPECT_TRUE(p->IsGrounded());
    EXPECT_FALSE(p->IsActive());

    Olm_Signal* aIn = data->GetNamedSignal("A_IN");
    EXPECT_TRUE(aIn->IsActive());
    EXPECT_EQ(aIn->GetWidth(), 4);
    EXPECT_EQ(aIn->GetAttributeValue("LOC"), "Y7");
    EXPECT_EQ(aIn->GetAttributeList().size(), 1u);
    EXPECT_FALSE(data->GetNamedSignal("B_IN")->IsActive());
    Olm_Signal* added = data->GetNamedSignal("NEW");
    ASSERT_NE(added, nullptr);
    EXPECT_TRUE(added->IsExternal());
    EXPECT_EQ(added->GetDirection(), "new_pad");
    EXPECT_TRUE(added->IsVcc());
    EXPECT_EQ(added->GetAttributeValue("K"), "V");
    EXPECT_EQ(added->GetAttributeList().size(), 1u);
}

TEST_F(KfzSyncDsp, SignalFlagsAreSetOnlyByExactTrue) {
    Cmd(engine, "add", "signal", "B_IN");
    Cmd(engine, "set", "gndsig", "B_IN");
    Cmd(engine, "set", "vccsig", "B_IN");
    engine.replies["get sigprop B_IN SIGISGNDED"] = "true";
    bridge->SyncWizDataWithKFZ();
    Olm_Signal* b = data->GetNamedSignal("B_IN");
    EXPECT_FALSE(b->IsGrounded());
    EXPECT_TRUE(b->IsVcc());
}

TEST_F(KfzSyncHsx, FirstBlockIsTheInstalledPrimitiveRenamed) {
    Cmd(engine, "add", "block", "LANE0", "HSXA", "1");
    Cmd(engine, "add", "blkprop", "LANE0", "HSX_DISPLAY_NAME", "From Design");
    Cmd(engine, "add", "blkprop", "LANE0", "RATE", "2.5");
    Cmd(engine, "add", "blkprop", "LANE0", "PROP_HSX3", "TRUE");
    Cmd(engine, "add", "blkprop", "LANE0", "PROP_HSX10", "TRUE");
    Cmd(engine, "add", "block", "LANE1", "HSXA", "1");
    Cmd(engine, "add", "blkprop", "LANE1", "HSX_DISPLAY_NAME", "From Design");
    Cmd(engine, "add", "blkprop", "LANE1", "PROP_HSX11", "TRUE");
    bridge->SyncWizDataWithKFZ();

    ASSERT_EQ(data->GetBlkList().size(), 2u);
    Olm_Block* lane0 = data->GetBlkList()[0];
    EXPECT_EQ(lane0->GetName(), "LANE0");
    EXPECT_TRUE(lane0->IsActive());
    EXPECT_EQ(lane0->GetAttributeValue("HSX_DISPLAY_NAME"), "Installed Lane");
    EXPECT_EQ(lane0->GetAttributeValue("RATE"), "2.5");
    // HSX3 was a flag already: it is not doubled.
    EXPECT_EQ(lane0->GetFlagList().GetSize(), 2);
    EXPECT_TRUE(lane0->SupportsHSX10());

    // The second block is added from the design; its display name is the installed one.
    Olm_Block* lane1 = data->GetBlkList()[1];
    EXPECT_EQ(lane1->GetName(), "LANE1");
    EXPECT_EQ(lane1->GetPrimType(), "HSXA");
    EXPECT_EQ(lane1->GetAttributeValue("HSX_DISPLAY_NAME"), "Installed Lane");
    EXPECT_TRUE(lane1->SupportsHSX11());
    EXPECT_EQ(lane1->GetAttributeList().size(), 1u);
}

TEST_F(KfzSyncHsx, PinsTiedByTheInstalledDataStayTied) {
    Cmd(engine, "add", "block", "LANE0", "HSXA", "1");
    for (const char* pin : {"PD", "EN", "RX", "DATA"}) {
        Cmd(engine, "add", "pin", "input", pin, "LANE0");
        Cmd(engine, "set", "pinwidth", pin, "LANE0", "[1:0]");
        Cmd(engine, "connect", "signal", "x", pin, "LANE0");
        Cmd(engine, "add", "pinprop", pin, "LANE0", "PROP_PINISACTIVE", "TRUE");
    }
    Cmd(engine, "set", "vccpin", "PD", "LANE0");
    Cmd(engine, "set", "gndpin", "RX", "LANE0");
    bridge->SyncWizDataWithKFZ();

    Olm_Block* lane = data->GetNamedBlock("LANE0");
    Olm_Pin* pd = lane->GetNamedPin("PD");
    EXPECT_TRUE(pd->IsGrounded());
    EXPECT_FALSE(pd->IsVcc());
    EXPECT_EQ(pd->GetSigName(), "");
    EXPECT_EQ(pd->GetAttributeValue("OLM_PIN_GND_IN_DATAFILE"), "TRUE");
    Olm_Pin* en = lane->GetNamedPin("EN");
    EXPECT_TRUE(en->IsVcc());
    EXPECT_EQ(en->GetAttributeValue("OLM_PIN_VCC_IN_DATAFILE"), "TRUE");
    // An untied pin follows the design: the tie, then the connection, which clears it.
    Olm_Pin* rx = lane->GetNamedPin("RX");
    EXPECT_EQ(rx->GetSigName(), "x");
    EXPECT_FALSE(rx->IsGrounded());
    // The transceiver wizard keeps the installed widths.
    Olm_Pin* data0 = lane->GetNamedPin("DATA");
    EXPECT_EQ(data0->GetStartBit(), 7);
    EXPECT_FALSE(data0->HasBus());  // only PINHASBUS sets it
}

TEST_F(KfzSyncTkl, UnknownNamesCopyInstalledPrimitivesOfCopyableTypes) {
    Cmd(engine, "add", "block", "MYTKL", "TKL_ADV", "1");
    Cmd(engine, "add", "blkprop", "MYTKL", "DIVIDE", "5");
    Cmd(engine, "add", "pin", "input", "CLKIN", "MYTKL");
    Cmd(engine, "add", "pinprop", "CLKIN", "MYTKL", "PROP_PINISACTIVE", "TRUE");
    Cmd(engine, "add", "block", "OTHER", "FOO", "1");
    Cmd(engine, "add", "blkprop", "OTHER", "K", "V");
    Cmd(engine, "add", "pin", "bidir", "IO", "OTHER");
    Cmd(engine, "add", "block", "NOTEMPLATE", "KDIV", "1");
    bridge->SyncWizDataWithKFZ();

    ASSERT_EQ(data->GetBlkList().size(), 4u);
    EXPECT_FALSE(data->GetNamedBlock("TKL_ADV")->IsActive());
    Olm_Block* copy = data->GetNamedBlock("MYTKL");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetPrimType(), "TKL_ADV");
    EXPECT_TRUE(copy->IsActive());
    EXPECT_EQ(copy->GetPinList().size(), 2u);  // the installed pins came with the copy
    EXPECT_TRUE(copy->IsPinActive("CLKIN"));
    EXPECT_FALSE(copy->IsPinActive("CLK0"));
    EXPECT_EQ(copy->GetAttributeValue("DIVIDE"), "5");
    EXPECT_TRUE(copy->IsAttributeActive("DIVIDE"));
    EXPECT_FALSE(copy->IsAttributeActive("PHASE"));  // clock managers: what the design lacks is off

    Olm_Block* bare = data->GetNamedBlock("OTHER");
    EXPECT_EQ(bare->GetPrimType(), "FOO");
    EXPECT_EQ(bare->GetAttributeList().size(), 1u);
    ASSERT_EQ(bare->GetPinList().size(), 1u);
    EXPECT_EQ(bare->GetPinList()[0]->GetDirection(), "INOUT");
    Olm_Block* noTemplate = data->GetNamedBlock("NOTEMPLATE");
    EXPECT_TRUE(noTemplate->GetPinList().empty());
}

TEST_F(KfzSyncTkl, SignalIterationResumesAfterPropertyQueries) {
    for (const char* name : {"s1", "s2", "s3"}) {
        Cmd(engine, "add", "signal", name);
        Cmd(engine, "add", "sigprop", name, "K", name);
        Cmd(engine, "set", "bus", name, "2");
    }
    bridge->SyncWizDataWithKFZ();
    ASSERT_EQ(data->GetSigList().size(), 3u);
    EXPECT_EQ(data->GetSigList()[2]->GetName(), "s3");
    EXPECT_EQ(data->GetSigList()[2]->GetAttributeValue("K"), "s3");
    EXPECT_TRUE(data->GetSigList()[2]->IsBus());
}

TEST(KfzSetup, RefusalsLeaveTheContainerUnset) {
    olmtest::ScratchDir dir;
    dir.Write("olm_tkl.dev", kfztest::EmptyData("tkl"));
    kfztest::DataDirOverride override(dir.Path().string());
    kfztest::ScriptedEngine engine;

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

    // A copy shares engine and container; a second setup makes a new container.
    Olm_KfzWizData bridge(&engine, Pal::String("tkl_pll"));
    bridge.SetBatchMode(true);
    ASSERT_TRUE(bridge.SetupWizData());
    Olm_KfzWizData copy(bridge);
    EXPECT_EQ(copy.GetWizDataPtr(), bridge.GetWizDataPtr());
    EXPECT_EQ(copy.GetEnginePtr(), &engine);
    EXPECT_TRUE(copy.IsBatchMode());
    Olm_WizData* first = bridge.GetWizDataPtr();
    ASSERT_TRUE(bridge.SetupWizData());
    EXPECT_NE(bridge.GetWizDataPtr(), first);
    EXPECT_EQ(bridge.GetWizDataPtr()->GetWizType(), "tkl");
    delete first;
    delete bridge.GetWizDataPtr();
}

TEST_F(KfzSyncDsp, DumpWritesTheContainer) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("out.dmp");
    bridge->DumpWizData(path.c_str());
    EXPECT_EQ(olmtest::ReadFile(path), kfztest::Dump(*data));
}

}  // namespace
