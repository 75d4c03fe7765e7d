#include "EngineTestSupport.h"

#include <gtest/gtest.h>

using enginetest::BuildSample;
using enginetest::Cmd;
using enginetest::Walk;

namespace {

TEST(EngineCommands, EmptyEngineAnswersEmptyQueriesAndIterations) {
    Olm_Engine e;
    EXPECT_EQ(Cmd(e, "get", "kfzVersion"), "");
    EXPECT_EQ(Cmd(e, "get", "family"), "");
    EXPECT_EQ(Cmd(e, "getfirst", "block"), "");
    EXPECT_EQ(Cmd(e, "getnext", "block"), "");
    EXPECT_EQ(Cmd(e, "getfirst", "signal"), "");
    // Queries about things that do not exist answer "", never "FALSE".
    EXPECT_EQ(Cmd(e, "get", "primtype", "nope"), "");
    EXPECT_EQ(Cmd(e, "get", "blkprop", "nope", "PRIMTYPE"), "");
    EXPECT_EQ(Cmd(e, "get", "pindir", "p", "nope"), "");
    EXPECT_EQ(Cmd(e, "get", "signal", "p", "nope"), "");
    EXPECT_EQ(Cmd(e, "get", "pinprop", "p", "nope", "X"), "");
    EXPECT_EQ(Cmd(e, "get", "sigprop", "nope", "X"), "");
    EXPECT_EQ(Cmd(e, "getfirst", "pin", "nope"), "");
    EXPECT_EQ(Cmd(e, "getfirst", "pinprop", "p", "nope"), "");
}

TEST(EngineCommands, WholeDesignWalksInOrderWithReservedKeys) {
    Olm_Engine e;
    BuildSample(e);
    EXPECT_EQ(Walk(e),
              "version=2.1 family=korvo5\n"
              "block B1 type=TKL_ADV\n"
              "  blkprop PRIMTYPE=TKL_ADV\n"
              "  blkprop DIVIDE=4\n"
              "  blkprop ALPHA=x\n"
              "  pin CLKIN dir=input signal=clk\n"
              "    pinprop PINWIDTH=[0:0]\n"
              "    pinprop PROP_PINISACTIVE=TRUE\n"
              "  pin DATA dir=output signal=\n"
              "    pinprop PINWIDTH=[7:0]\n"
              "    pinprop PINHASBUS=TRUE\n"
              "    pinprop PINISGNDED=TRUE\n"
              "block B2 type=KDIV\n"
              "  blkprop PRIMTYPE=KDIV\n"
              "  pin IO dir=bidir signal=\n"
              "    pinprop PINISVCC=TRUE\n"
              "signal clk\n"
              "  sigprop SIGEXTERNAL=clk_in\n"
              "  sigprop SIGISBUS=8\n"
              "  sigprop LOC=A1\n"
              "signal gnd\n"
              "  sigprop SIGISGNDED=TRUE\n"
              "  sigprop SIGISVCC=TRUE\n");
    // Reserved keys that were never set answer "".
    EXPECT_EQ(Cmd(e, "get", "pinprop", "IO", "B2", "PINWIDTH"), "");
    EXPECT_EQ(Cmd(e, "get", "pinprop", "IO", "B2", "PINISGNDED"), "");
    EXPECT_EQ(Cmd(e, "get", "sigprop", "gnd", "SIGEXTERNAL"), "");
}

TEST(EngineCommands, CursorsOfEachKindAreIndependent) {
    Olm_Engine e;
    BuildSample(e);
    EXPECT_EQ(Cmd(e, "getfirst", "block"), "B1");
    EXPECT_EQ(Cmd(e, "getfirst", "signal"), "clk");
    EXPECT_EQ(Cmd(e, "getfirst", "sigprop", "clk"), "SIGEXTERNAL");
    EXPECT_EQ(Cmd(e, "getfirst", "pin", "B1"), "CLKIN");
    EXPECT_EQ(Cmd(e, "getfirst", "pinprop", "DATA", "B1"), "PINWIDTH");
    // Writes and queries of every kind in between move no cursor.
    Cmd(e, "add", "blkprop", "B2", "Z", "1");
    Cmd(e, "add", "pin", "input", "NEW", "B2");
    Cmd(e, "get", "sigprop", "gnd", "SIGISVCC");
    Cmd(e, "getfirst", "blkprop", "B2");
    EXPECT_EQ(Cmd(e, "getnext", "signal"), "gnd");
    EXPECT_EQ(Cmd(e, "getnext", "block"), "B2");
    EXPECT_EQ(Cmd(e, "getnext", "pin", "B1"), "DATA");
    EXPECT_EQ(Cmd(e, "getnext", "pinprop", "DATA", "B1"), "PINHASBUS");
    EXPECT_EQ(Cmd(e, "getnext", "sigprop", "clk"), "SIGISBUS");
    EXPECT_EQ(Cmd(e, "getnext", "blkprop", "B2"), "Z");
    EXPECT_EQ(Cmd(e, "getnext", "block"), "");
    EXPECT_EQ(Cmd(e, "getnext", "block"), "");
}

TEST(EngineCommands, GetnextForAnotherOwnerEndsTheIteration) {
    Olm_Engine e;
    BuildSample(e);
    EXPECT_EQ(Cmd(e, "getfirst", "pin", "B1"), "CLKIN");
    EXPECT_EQ(Cmd(e, "getnext", "pin", "B2"), "");
    EXPECT_EQ(Cmd(e, "getfirst", "pinprop", "DATA", "B1"), "PINWIDTH");
    EXPECT_EQ(Cmd(e, "getnext", "pinprop", "CLKIN", "B1"), "");
    // getnext without getfirst answers "".
    Olm_Engine fresh;
    BuildSample(fresh);
    EXPECT_EQ(Cmd(fresh, "getnext", "block"), "");
    EXPECT_EQ(Cmd(fresh, "getnext", "sigprop", "clk"), "");
}

TEST(EngineCommands, AddingWhatExistsUpdatesInPlace) {
    Olm_Engine e;
    BuildSample(e);
    EXPECT_EQ(Cmd(e, "add", "block", "B1", "TKL", "1"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pin", "bidir", "CLKIN", "B1"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "blkprop", "B1", "DIVIDE", "8"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pinprop", "CLKIN", "B1", "PROP_PINISACTIVE", "FALSE"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "sigprop", "clk", "LOC", "B2"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "signal", "clk"), "TRUE");
    const Olm_KfzDesign& d = e.GetDesign();
    ASSERT_EQ(d.blocks.size(), 2u);
    EXPECT_EQ(d.blocks[0].primType, "TKL");
    ASSERT_EQ(d.blocks[0].pins.size(), 2u);
    EXPECT_EQ(d.blocks[0].pins[0].direction, "bidir");
    EXPECT_EQ(d.blocks[0].pins[0].signal, "clk");  // the connection stays
    ASSERT_EQ(d.blocks[0].properties.size(), 2u);
    EXPECT_EQ(d.blocks[0].properties[0].value, "8");  // same position, new value
    EXPECT_EQ(Cmd(e, "get", "pinprop", "CLKIN", "B1", "PROP_PINISACTIVE"), "FALSE");
    ASSERT_EQ(d.nets.size(), 2u);
    EXPECT_EQ(d.nets[0].properties.size(), 1u);
    EXPECT_EQ(Cmd(e, "get", "sigprop", "clk", "LOC"), "B2");
}

TEST(EngineCommands, NamesMatchWithLetterCaseFolded) {
    Olm_Engine e;
    BuildSample(e);
    EXPECT_EQ(Cmd(e, "add", "blkprop", "b1", "divide", "9"), "TRUE");
    EXPECT_EQ(Cmd(e, "get", "blkprop", "B1", "DIVIDE"), "9");
    EXPECT_EQ(Cmd(e, "add", "signal", "CLK"), "TRUE");
    EXPECT_EQ(e.GetDesign().nets.size(), 2u);
    EXPECT_EQ(e.GetDesign().nets[0].name, "clk");  // the first spelling stays
    EXPECT_EQ(Cmd(e, "getfirst", "pin", "B1"), "CLKIN");
    EXPECT_EQ(Cmd(e, "getnext", "pin", "b1"), "DATA");
    EXPECT_EQ(Cmd(e, "get", "pinprop", "data", "b1", "pinwidth"), "[7:0]");
}

TEST(EngineCommands, ConnectCreatesTheSignalThatAddSignalThenFinds) {
    Olm_Engine e;
    Cmd(e, "add", "block", "B", "T", "1");
    Cmd(e, "add", "pin", "input", "P", "B");
    EXPECT_EQ(Cmd(e, "connect", "signal", "net1", "P", "B"), "TRUE");
    EXPECT_EQ(Cmd(e, "getfirst", "signal"), "net1");
    EXPECT_EQ(Cmd(e, "add", "signal", "net0"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "signal", "net1"), "TRUE");
    EXPECT_EQ(Cmd(e, "set", "bus", "net1", "4"), "TRUE");
    // The added signal takes its place in the order of adding; a second add keeps it there.
    ASSERT_EQ(e.GetDesign().nets.size(), 2u);
    EXPECT_EQ(e.GetDesign().nets[0].name, "net0");
    EXPECT_EQ(e.GetDesign().nets[1].name, "net1");
    EXPECT_EQ(Cmd(e, "add", "signal", "net0"), "TRUE");
    EXPECT_EQ(e.GetDesign().nets[0].name, "net0");
    EXPECT_EQ(Cmd(e, "get", "sigprop", "net1", "SIGISBUS"), "4");
    EXPECT_EQ(Cmd(e, "get", "signal", "P", "B"), "net1");
}

TEST(EngineCommands, FalseAnswersEveryFailureAndChangesNothing) {
    Olm_Engine e;
    BuildSample(e);
    const std::string before = Walk(e);
    struct Case {
        const char* cmd;
        const char* a[5];
    };
    const Case failures[] = {
        {nullptr, {"block"}},
        {"remove", {"block", "B1"}},
        {"Get", {"kfzVersion"}},
        {"get", {"part"}},
        {"get", {nullptr}},
        {"get", {"primtype"}},
        {"get", {"blkprop", "B1"}},
        {"get", {"pindir", "CLKIN"}},
        {"get", {"pinprop", "CLKIN", "B1"}},
        {"get", {"sigprop", "clk"}},
        {"getfirst", {"wire"}},
        {"getfirst", {"pin"}},
        {"getnext", {"pinprop", "CLKIN"}},
        {"set", {"kfzVersion"}},
        {"set", {"colour", "B1"}},
        {"add", {"block", "B9", "T"}},
        {"add", {"block", "", "T", "1"}},
        {"add", {"blkprop", "NOBLOCK", "K", "V"}},
        {"add", {"blkprop", "B1", "", "V"}},
        {"add", {"blkprop", "B1", "PRIMTYPE", "X"}},
        {"add", {"blkprop", "B1", "primtype", "X"}},
        {"add", {"pin", "input", "P", "NOBLOCK"}},
        {"add", {"pin", "input", "", "B1"}},
        {"add", {"pin", nullptr, "P", "B1"}},
        {"add", {"pinprop", "NOPIN", "B1", "K", "V"}},
        {"add", {"pinprop", "CLKIN", "B1", "K"}},
        {"add", {"pinprop", "CLKIN", "B1", "PINWIDTH", "[1:0]"}},
        {"add", {"pinprop", "CLKIN", "B1", "PINISVCC", "TRUE"}},
        {"add", {"pinprop", "CLKIN", "B1", "PINISGNDED", "TRUE"}},
        {"add", {"pinprop", "CLKIN", "B1", "PINHASBUS", "TRUE"}},
        {"add", {"signal", ""}},
        {"add", {"sigprop", "NOSIG", "K", "V"}},
        {"add", {"sigprop", "clk", "SIGEXTERNAL", "x"}},
        {"add", {"sigprop", "clk", "SIGISBUS", "2"}},
        {"add", {"sigprop", "clk", "SIGISGNDED", "TRUE"}},
        {"add", {"sigprop", "clk", "SIGISVCC", "TRUE"}},
        {"set", {"pinwidth", "NOPIN", "B1", "[1:0]"}},
        {"set", {"pinwidth", "CLKIN", "B1"}},
        {"set", {"vccpin", "CLKIN", "NOBLOCK"}},
        {"set", {"gndpin", "NOPIN", "B1"}},
        {"set", {"hasbus", "NOPIN", "B1"}},
        {"set", {"externalsig", "NOSIG", "x"}},
        {"set", {"externalsig", "clk"}},
        {"set", {"bus", "clk", "eight"}},
        {"set", {"bus", "clk", "8x"}},
        {"set", {"bus", "clk", ""}},
        {"set", {"bus", "NOSIG", "8"}},
        {"set", {"gndsig", "NOSIG"}},
        {"set", {"vccsig", nullptr}},
        {"connect", {"signal", "s", "NOPIN", "B1"}},
        {"connect", {"signal", "s", "CLKIN", "NOBLOCK"}},
        {"connect", {"signal", "", "CLKIN", "B1"}},
        {"connect", {"wire", "s", "CLKIN", "B1"}},
    };
    for (const Case& c : failures) {
        SCOPED_TRACE(std::string(c.cmd ? c.cmd : "(null)") + " " + (c.a[0] ? c.a[0] : "(null)") + " " +
                     (c.a[1] ? c.a[1] : "(null)"));
        EXPECT_EQ(e.Execute(c.cmd, c.a[0], c.a[1], c.a[2], c.a[3], c.a[4]).str(), "FALSE");
    }
    EXPECT_EQ(Walk(e), before);
}

TEST(EngineCommands, SuccessfulWritesNeverAnswerFalse) {
    Olm_Engine e;
    // Empty values are values, not failures.
    EXPECT_EQ(Cmd(e, "set", "kfzVersion", ""), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "block", "B", "", "1"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "blkprop", "B", "K", ""), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pin", "", "P", "B"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pin", "sideways", "Q", "B"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pinprop", "P", "B", "FALSE", "FALSE"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "signal", "s"), "TRUE");
    EXPECT_EQ(Cmd(e, "set", "externalsig", "s", ""), "TRUE");
    EXPECT_EQ(Cmd(e, "set", "bus", "s", "-3"), "TRUE");
    EXPECT_EQ(Cmd(e, "get", "pindir", "Q", "B"), "sideways");
    // A property value that happens to read "FALSE" comes back as stored.
    EXPECT_EQ(Cmd(e, "get", "pinprop", "P", "B", "FALSE"), "FALSE");
    EXPECT_EQ(Cmd(e, "get", "sigprop", "s", "SIGEXTERNAL"), "");
    EXPECT_EQ(Cmd(e, "getfirst", "sigprop", "s"), "SIGEXTERNAL");
    EXPECT_EQ(Cmd(e, "get", "sigprop", "s", "SIGISBUS"), "-3");
}

TEST(EngineCommands, NewDesignKeepsDeviceSettingsAndEndsIterations) {
    Olm_Engine e;
    BuildSample(e);
    e.SetPart("p100");
    e.SetDevice("d7");
    e.SetSpeed("-2");
    EXPECT_EQ(Cmd(e, "getfirst", "block"), "B1");
    e.NewDesign();
    EXPECT_EQ(Cmd(e, "getnext", "block"), "");
    EXPECT_EQ(Walk(e), "version= family=korvo5\n");
    EXPECT_EQ(e.GetPart(), "p100");
    EXPECT_EQ(e.GetDevice(), "d7");
    EXPECT_EQ(e.GetSpeed(), "-2");
}

}  // namespace
