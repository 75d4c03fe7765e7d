// Synchronisation and the data-file reader look blocks and signals up by
// name through indexes; these cases hold them to what a walk of the lists in
// order finds: the first entry of the name, letter case folded, after every
// block or signal the run itself adds or renames.

#include "KfzFixture.h"

#include "datafiles/Olm_DataFileReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kfztest::KfzFixture;

namespace {

std::string Attr(const char* name, const char* value) {
    return std::string("    Attribute: ") + name + ";\n      PossibleValues: " + value + ";\n      DefaultValue: " +
           value + ";\n      IsModifiable: TRUE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n";
}

void Cmd(Olm_Engine& e, const char* cmd, const char* a1, const char* a2 = nullptr, const char* a3 = nullptr,
         const char* a4 = nullptr) {
    ASSERT_EQ(e.Execute(cmd, a1, a2, a3, a4, nullptr).str(), "TRUE") << cmd << " " << a1;
}

std::vector<std::string> BlockNames(const Olm_WizData& data) {
    std::vector<std::string> names;
    for (const Olm_Block* block : data.GetBlkList()) names.push_back(block->GetName().str());
    return names;
}

// Two blocks and two signals whose names differ in letter case only.
class KfzSyncLookup : public KfzFixture {
protected:
    void SetUp() override {
        Setup("dsp_mult", "olm_dsp.dev",
              "Version: 1.0;\nWizData: dsp;\n"
              "  Block: Mult;\n    Primitive: DSP;\n" + Attr("N", "1") + "  EndBlock;\n"
              "  Block: MULT;\n    Primitive: DSP;\n" + Attr("N", "2") + "  EndBlock;\n"
              "  Signal: Net;\n    Bus: 2;\n  EndSignal;\n"
              "EndWizData;\n");
        // The reader merges signal sections of one name: the second spelling is added by hand.
        data->AddSignal(new Olm_Signal("NET"));
    }
};

TEST_F(KfzSyncLookup, TheFirstOfTheNameInListOrderIsSynchronised) {
    ASSERT_EQ(BlockNames(*data), (std::vector<std::string>{"Mult", "MULT"}));
    Cmd(engine, "add", "block", "mULT", "DSP", "1");
    Cmd(engine, "add", "blkprop", "mULT", "N", "7");
    Cmd(engine, "add", "signal", "net");
    Cmd(engine, "set", "bus", "net", "9");
    bridge->SyncWizDataWithKFZ();

    const Olm_BlockList& blocks = data->GetBlkList();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_TRUE(blocks[0]->IsActive());
    EXPECT_EQ(blocks[0]->GetAttributeValue("N"), "7");
    EXPECT_FALSE(blocks[1]->IsActive());
    EXPECT_EQ(blocks[1]->GetAttributeValue("N"), "2");
    const Olm_SignalList& signals = data->GetSigList();
    ASSERT_EQ(signals.size(), 2u);
    EXPECT_TRUE(signals[0]->IsActive());
    EXPECT_EQ(signals[0]->GetWidth(), 9);
    EXPECT_FALSE(signals[1]->IsActive());
}

TEST_F(KfzSyncLookup, BlocksAndSignalsTheDesignAddsAreAppendedOnce) {
    for (const char* name : {"B0", "Mult", "B1", "B2"}) Cmd(engine, "add", "block", name, "DSP", "1");
    for (const char* name : {"S0", "S1", "NET"}) Cmd(engine, "add", "signal", name);
    bridge->SyncWizDataWithKFZ();
    EXPECT_EQ(BlockNames(*data), (std::vector<std::string>{"Mult", "MULT", "B0", "B1", "B2"}));
    std::vector<std::string> signals;
    for (const Olm_Signal* signal : data->GetSigList()) signals.push_back(signal->GetName().str());
    EXPECT_EQ(signals, (std::vector<std::string>{"Net", "NET", "S0", "S1"}));
    // A second synchronisation finds what the first added.
    bridge->SyncWizDataWithKFZ();
    EXPECT_EQ(data->GetBlkList().size(), 5u);
    EXPECT_EQ(data->GetSigList().size(), 4u);
}

class KfzSyncLookupHsx : public KfzFixture {
protected:
    void SetUp() override {
        Setup("hsx", "olm_hsx.dev",
              "Version: 1.0;\nWizData: hsx;\n  Block: HSXA;\n    Primitive: HSXA;\n" + Attr("RATE", "1") +
                  "  EndBlock;\nEndWizData;\n");
    }
};

// The transceiver wizard renames the installed block after the design's
// first block: its old name no longer finds it.
TEST_F(KfzSyncLookupHsx, ARenamedBlockIsFoundUnderItsNewNameOnly) {
    Cmd(engine, "add", "block", "LANE0", "HSXA", "1");
    Cmd(engine, "add", "block", "hsxa", "HSXA", "1");
    Cmd(engine, "add", "blkprop", "hsxa", "RATE", "5");
    bridge->SyncWizDataWithKFZ();
    EXPECT_EQ(BlockNames(*data), (std::vector<std::string>{"LANE0", "hsxa"}));
    EXPECT_EQ(data->GetBlkList()[0]->GetAttributeValue("RATE"), "1");
    EXPECT_EQ(data->GetBlkList()[1]->GetAttributeValue("RATE"), "5");
}

// Signal sections of one name, in any spelling, update the first signal of it.
TEST(KfzReaderLookup, RepeatedSignalSectionsUpdateTheFirstSignalOfTheName) {
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("olm_x.dev",
              "Version: 1.0;\nWizData: x;\n  Signal: PRE;\n    Bus: 8;\n  EndSignal;\n"
              "  Signal: A;\n    Bus: 2;\n  EndSignal;\n  Signal: B;\n    Bus: 3;\n  EndSignal;\n"
              "  Signal: a;\n    Bus: 4;\n  EndSignal;\n  Signal: b;\n    External: pad;\n  EndSignal;\n"
              "  Signal: C;\n    Bus: 5;\n  EndSignal;\n  Signal: c;\n    Bus: 6;\n  EndSignal;\n"
              "EndWizData;\n");
    Olm_WizData data;
    data.AddSignal(new Olm_Signal("Pre"));  // held before the file is read: its section updates it
    {
        Olm_DataFileReader reader;
        ASSERT_TRUE(reader.Open(path.c_str()));
        ASSERT_TRUE(reader.ReadFile(&data));
    }
    std::vector<std::string> names;
    std::vector<int> widths;
    for (const Olm_Signal* signal : data.GetSigList()) {
        names.push_back(signal->GetName().str());
        widths.push_back(signal->GetWidth());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Pre", "A", "B", "C"}));
    EXPECT_EQ(widths, (std::vector<int>{8, 4, 3, 6}));
    EXPECT_TRUE(data.GetNamedSignal("B")->IsExternal());
}

}  // namespace
