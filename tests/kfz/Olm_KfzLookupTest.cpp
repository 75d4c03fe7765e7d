// The engine and the synchronisation find blocks and signals through name
// indexes, and the engine settles the order of signals that "add signal"
// moves to the end only when the order is looked at. These tests hold both
// to what a walk of the lists in order gives: the first entry of the name,
// letter case folded, in the order of adding, through every change of the
// lists.

#include "EngineTestSupport.h"
#include "KfzFixture.h"
#include "ModelBuilders.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using enginetest::Cmd;
using olmtest::RunScript;

namespace {

std::vector<std::string> SignalWalk(Olm_Engine& e) {
    std::vector<std::string> names;
    enginetest::ForEach(e, "signal", [&](const std::string& s) { names.push_back(s); });
    return names;
}

std::vector<std::string> DesignSignals(const Olm_Engine& e) {
    std::vector<std::string> names;
    for (const auto& signal : e.GetDesign().nets) names.push_back(signal.name.str());
    return names;
}

template <typename List>
std::vector<std::string> Names(const List& list) {
    std::vector<std::string> names;
    for (const auto* item : list) names.push_back(item->GetName().str());
    return names;
}

TEST(KfzEngineLookup, SignalsMovedByAddSignalStandInTheOrderOfAdding) {
    Olm_Engine e;
    RunScript(e, "add block B T 1; add pin input p1 B; add pin input p2 B; add pin input p3 B;"
                 "connect signal s1 p1 B; connect signal s2 p2 B; connect signal s3 p3 B;"
                 "add signal S2;"        // moves s2 after s3
                 "add signal s4;"        // new: after s2
                 "set bus s2 4;"         // found while its move is pending
                 "add signal s1;"        // moves s1 last
                 "add signal s4");       // declared already: stays
    const std::vector<std::string> expected = {"s3", "s2", "s4", "s1"};
    EXPECT_EQ(SignalWalk(e), expected);
    EXPECT_EQ(DesignSignals(e), expected);
    EXPECT_EQ(Cmd(e, "get", "sigprop", "S2", "SIGISBUS"), "4");
    EXPECT_EQ(Cmd(e, "get", "signal", "p1", "B"), "s1");

    // The file holds the settled order, and a loaded design is indexed afresh.
    olmtest::ScratchDir dir;
    const std::string path = dir.File("moved.kfz");
    ASSERT_TRUE(e.Save(path.c_str()));
    Olm_Engine loaded;
    ASSERT_TRUE(loaded.Load(path.c_str()));
    EXPECT_EQ(DesignSignals(loaded), expected);
    EXPECT_EQ(Cmd(loaded, "get", "sigprop", "s2", "SIGISBUS"), "4");
    RunScript(loaded, "add signal s5");
    EXPECT_EQ(SignalWalk(loaded).back(), "s5");
}

TEST(KfzEngineLookup, NamesOfAReplacedDesignAreGone) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("one.kfz");
    Olm_Engine e;
    RunScript(e, "add block Only T1 1; add signal net");
    ASSERT_TRUE(e.Save(path.c_str()));
    RunScript(e, "add block Other T2 1; add signal extra");
    ASSERT_TRUE(e.Load(path.c_str()));
    EXPECT_EQ(Cmd(e, "get", "primtype", "other"), "");
    EXPECT_EQ(Cmd(e, "add", "sigprop", "extra", "K", "V"), "FALSE");
    EXPECT_EQ(Cmd(e, "get", "primtype", "ONLY"), "T1");
    e.NewDesign();
    EXPECT_EQ(Cmd(e, "get", "primtype", "Only"), "");
    EXPECT_EQ(Cmd(e, "set", "bus", "net", "2"), "FALSE");
    RunScript(e, "add block oNLY T3 1");
    ASSERT_EQ(e.GetDesign().blocks.size(), 1u);
    EXPECT_EQ(e.GetDesign().blocks[0].name, "oNLY");
}

// Every name of the pool, in a spelling of its own for each call.
std::string Spelling(const std::string& name, unsigned variant) {
    std::string spelled = name;
    for (std::size_t i = 0; i < spelled.size(); ++i) {
        if ((variant >> (i % 8)) & 1u) spelled[i] = static_cast<char>(std::toupper(spelled[i]));
    }
    return spelled;
}

// Random writes over a small pool of names in changing spellings; after
// each few, every name is looked up through the commands and compared with
// a walk of the design's lists in order.
TEST(KfzEngineLookup, LookupsAgreeWithAWalkOfTheListsThroughRandomWrites) {
    const std::vector<std::string> pool = {"clk", "rst", "data_in", "Data_In0", "q", "Q_out"};
    std::mt19937 random(20261206u);
    Olm_Engine e;
    olmtest::ScratchDir dir;
    const std::string path = dir.File("random.kfz");
    int serial = 0;
    for (int step = 0; step < 1500; ++step) {
        // A few writes, so that several moves of signals can be pending at once.
        for (int write = 1 + static_cast<int>(random() % 4); write > 0; --write) {
            const std::string a = Spelling(pool[random() % pool.size()], random());
            const std::string b = Spelling(pool[random() % pool.size()], random());
            const std::string id = std::to_string(++serial);
            switch (random() % 10) {
            case 0: case 1:
                Cmd(e, "add", "block", a.c_str(), id.c_str(), "1");
                Cmd(e, "add", "pin", "input", "p", a.c_str());
                break;
            case 2: case 3: Cmd(e, "connect", "signal", a.c_str(), "p", b.c_str()); break;
            case 4: case 5:
                Cmd(e, "add", "signal", a.c_str());
                Cmd(e, "add", "sigprop", a.c_str(), "ID", id.c_str());
                break;
            case 6: SignalWalk(e); break;
            case 7: if (random() % 20 == 0) e.NewDesign(); break;
            case 8:
                if (random() % 5 == 0) {
                    ASSERT_TRUE(e.Save(path.c_str()));
                    ASSERT_TRUE(e.Load(path.c_str()));
                }
                break;
            default: Cmd(e, "add", "blkprop", a.c_str(), "ID", id.c_str());
            }
        }
        // The commands answer first, while moves may still be pending; then
        // the design's lists are walked.
        std::vector<std::string> asked, answers;
        for (const std::string& name : pool) {
            asked.push_back(Spelling(name, random()));
            const char* n = asked.back().c_str();
            answers.push_back(Cmd(e, "get", "primtype", n) + "|" + Cmd(e, "get", "blkprop", n, "ID") + "|" +
                              Cmd(e, "get", "sigprop", n, "ID"));
        }
        const Olm_KfzDesign& design = e.GetDesign();
        for (std::size_t i = 0; i < asked.size(); ++i) {
            const Olm_KfzBlock* block = design.FindBlock(asked[i].c_str());
            const Olm_KfzSignal* signal = design.FindSignal(asked[i].c_str());
            ASSERT_EQ(answers[i], (block ? block->primType.str() + "|" + Olm_KfzDesign::BlockPropertyValue(*block, "ID").str() : "|") +
                                      "|" + (signal ? Olm_KfzDesign::SignalPropertyValue(*signal, "ID").str() : ""))
                << "step " << step << " " << asked[i];
        }
        ASSERT_EQ(SignalWalk(e), DesignSignals(e)) << "step " << step;
    }
}

// Two blocks and two signals whose names differ in letter case only.
class KfzSyncLookup : public kfztest::KfzFixture {
protected:
    void SetUp() override {
        Setup("dsp_mult", "names_by_case");
        // The reader merges signal sections of one name: the second spelling is added by hand.
        data->AddSignal(new Olm_Signal("NET"));
    }
};

TEST_F(KfzSyncLookup, TheFirstOfTheNameInListOrderIsSynchronised) {
    RunScript(engine, "add block mULT DSP 1; add blkprop mULT N 7; add signal net; set bus net 9");
    bridge->SyncWizDataWithKFZ();
    EXPECT_EQ(olmtest::Describe(*data), "wiz dsp v\nblock Mult DSP\n attr N =1 current=7 1{1}\nblock MULT DSP off\n"
                                        " attr N =2 1{2}\nsignal Net bus w=9\nsignal NET off\n");
}

TEST_F(KfzSyncLookup, BlocksAndSignalsTheDesignAddsAreAppendedOnce) {
    RunScript(engine, "add block B0 DSP 1; add block Mult DSP 1; add block B1 DSP 1; add block B2 DSP 1;"
                      "add signal S0; add signal S1; add signal NET");
    for (int pass = 0; pass < 2; ++pass) {  // a second synchronisation finds what the first added
        bridge->SyncWizDataWithKFZ();
        EXPECT_EQ(Names(data->GetBlkList()), (std::vector<std::string>{"Mult", "MULT", "B0", "B1", "B2"}));
        EXPECT_EQ(Names(data->GetSigList()), (std::vector<std::string>{"Net", "NET", "S0", "S1"}));
    }
}

}  // namespace
