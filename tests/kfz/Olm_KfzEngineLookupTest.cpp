// The engine finds blocks and signals through name indexes and settles the
// order of signals that "add signal" moves to the end only when the order is
// looked at. These tests hold both to what a walk of the lists in order
// gives: the first entry of the name, letter case folded, in the order of
// adding, through every change of the lists.

#include "engine/Olm_Engine.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::string Cmd(Olm_Engine& e, const char* cmd, const char* a1 = nullptr, const char* a2 = nullptr,
                const char* a3 = nullptr, const char* a4 = nullptr, const char* a5 = nullptr) {
    return e.Execute(cmd, a1, a2, a3, a4, a5).str();
}

std::vector<std::string> SignalWalk(Olm_Engine& e) {
    std::vector<std::string> names;
    for (std::string s = Cmd(e, "getfirst", "signal"); !s.empty(); s = Cmd(e, "getnext", "signal")) {
        names.push_back(s);
    }
    return names;
}

std::vector<std::string> DesignSignals(const Olm_Engine& e) {
    std::vector<std::string> names;
    for (const auto& signal : e.GetDesign().nets) names.push_back(signal.name.str());
    return names;
}

// Every name of the pool, in a spelling of its own for each call.
std::string Spelling(const std::string& name, unsigned variant) {
    std::string spelled = name;
    for (std::size_t i = 0; i < spelled.size(); ++i) {
        if ((variant >> (i % 8)) & 1u) spelled[i] = static_cast<char>(std::toupper(spelled[i]));
    }
    return spelled;
}

TEST(KfzEngineLookup, SignalsMovedByAddSignalStandInTheOrderOfAdding) {
    Olm_Engine e;
    Cmd(e, "add", "block", "B", "T", "1");
    for (const char* pin : {"p1", "p2", "p3"}) Cmd(e, "add", "pin", "input", pin, "B");
    Cmd(e, "connect", "signal", "s1", "p1", "B");
    Cmd(e, "connect", "signal", "s2", "p2", "B");
    Cmd(e, "connect", "signal", "s3", "p3", "B");
    EXPECT_EQ(Cmd(e, "add", "signal", "S2"), "TRUE");  // moves s2 after s3
    EXPECT_EQ(Cmd(e, "add", "signal", "s4"), "TRUE");  // new: after s2
    EXPECT_EQ(Cmd(e, "set", "bus", "s2", "4"), "TRUE");  // found while its move is pending
    EXPECT_EQ(Cmd(e, "add", "signal", "s1"), "TRUE");  // moves s1 last
    EXPECT_EQ(Cmd(e, "add", "signal", "s4"), "TRUE");  // declared already: stays
    const std::vector<std::string> expected = {"s3", "s2", "s4", "s1"};
    EXPECT_EQ(SignalWalk(e), expected);
    EXPECT_EQ(DesignSignals(e), expected);
    EXPECT_EQ(Cmd(e, "get", "sigprop", "S2", "SIGISBUS"), "4");
    EXPECT_EQ(Cmd(e, "get", "signal", "p1", "B"), "s1");

    // The file holds the settled order, and a loaded design is indexed afresh.
    olmtest::ScratchDir dir;
    const std::string path = (dir.Path() / "moved.kfz").string();
    ASSERT_TRUE(e.Save(path.c_str()));
    Olm_Engine loaded;
    ASSERT_TRUE(loaded.Load(path.c_str()));
    EXPECT_EQ(DesignSignals(loaded), expected);
    EXPECT_EQ(Cmd(loaded, "get", "sigprop", "s2", "SIGISBUS"), "4");
    EXPECT_EQ(Cmd(loaded, "add", "signal", "s5"), "TRUE");
    EXPECT_EQ(SignalWalk(loaded).back(), "s5");
}

TEST(KfzEngineLookup, NamesOfAReplacedDesignAreGone) {
    olmtest::ScratchDir dir;
    const std::string path = (dir.Path() / "one.kfz").string();
    Olm_Engine e;
    Cmd(e, "add", "block", "Only", "T1", "1");
    Cmd(e, "add", "signal", "net");
    ASSERT_TRUE(e.Save(path.c_str()));

    Cmd(e, "add", "block", "Other", "T2", "1");
    Cmd(e, "add", "signal", "extra");
    ASSERT_TRUE(e.Load(path.c_str()));
    EXPECT_EQ(Cmd(e, "get", "primtype", "other"), "");
    EXPECT_EQ(Cmd(e, "add", "sigprop", "extra", "K", "V"), "FALSE");
    EXPECT_EQ(Cmd(e, "get", "primtype", "ONLY"), "T1");

    e.NewDesign();
    EXPECT_EQ(Cmd(e, "get", "primtype", "Only"), "");
    EXPECT_EQ(Cmd(e, "set", "bus", "net", "2"), "FALSE");
    EXPECT_EQ(Cmd(e, "add", "block", "oNLY", "T3", "1"), "TRUE");
    ASSERT_EQ(e.GetDesign().blocks.size(), 1u);
    EXPECT_EQ(e.GetDesign().blocks[0].name, "oNLY");
}

// Random writes over a small pool of names in changing spellings; after
// each, every name is looked up through the commands and compared with a
// walk of the design's lists in order.
TEST(KfzEngineLookup, LookupsAgreeWithAWalkOfTheListsThroughRandomWrites) {
    const std::vector<std::string> pool = {"clk", "rst", "data_in", "Data_In0", "q", "Q_out"};
    std::mt19937 random(20261206u);
    Olm_Engine e;
    olmtest::ScratchDir dir;
    const std::string path = (dir.Path() / "random.kfz").string();
    int serial = 0;
    for (int step = 0; step < 1500; ++step) {
        // A few writes, so that several moves of signals can be pending at once.
        for (int write = 1 + static_cast<int>(random() % 4); write > 0; --write) {
            const std::string a = Spelling(pool[random() % pool.size()], random());
            const std::string b = Spelling(pool[random() % pool.size()], random());
            const std::string value = std::to_string(++serial);
            switch (random() % 10) {
            case 0:
            case 1:
                Cmd(e, "add", "block", a.c_str(), value.c_str(), "1");
                Cmd(e, "add", "pin", "input", "p", a.c_str());
                break;
            case 2:
            case 3:
                Cmd(e, "connect", "signal", a.c_str(), "p", b.c_str());
                break;
            case 4:
            case 5:
                Cmd(e, "add", "signal", a.c_str());
                Cmd(e, "add", "sigprop", a.c_str(), "ID", value.c_str());
                break;
            case 6:
                SignalWalk(e);
                break;
            case 7:
                if (random() % 20 == 0) e.NewDesign();
                break;
            case 8:
                if (random() % 5 == 0) {
                    ASSERT_TRUE(e.Save(path.c_str()));
                    ASSERT_TRUE(e.Load(path.c_str()));
                }
                break;
            default:
                Cmd(e, "add", "blkprop", a.c_str(), "ID", value.c_str());
                break;
            }
        }
        // The commands answer first, while moves may still be pending; then
        // the design's lists are walked.
        std::vector<std::string> asked, types, blockIds, signalIds;
        for (const std::string& name : pool) {
            asked.push_back(Spelling(name, random()));
            types.push_back(Cmd(e, "get", "primtype", asked.back().c_str()));
            blockIds.push_back(Cmd(e, "get", "blkprop", asked.back().c_str(), "ID"));
            signalIds.push_back(Cmd(e, "get", "sigprop", asked.back().c_str(), "ID"));
        }
        const Olm_KfzDesign& design = e.GetDesign();
        for (std::size_t i = 0; i < asked.size(); ++i) {
            const Olm_KfzBlock* block = design.FindBlock(asked[i].c_str());
            const Olm_KfzSignal* signal = design.FindSignal(asked[i].c_str());
            ASSERT_EQ(types[i], block ? block->primType.str() : "") << "step " << step << " " << asked[i];
            ASSERT_EQ(blockIds[i], block ? Olm_KfzDesign::BlockPropertyValue(*block, "ID").str() : "")
                << "step " << step << " " << asked[i];
            ASSERT_EQ(signalIds[i], signal ? Olm_KfzDesign::SignalPropertyValue(*signal, "ID").str() : "")
                << "step " << step << " " << asked[i];
        }
        ASSERT_EQ(SignalWalk(e), DesignSignals(e)) << "step " << step;
    }
}

}  // namespace
