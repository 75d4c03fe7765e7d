#include "EngineTestSupport.h"

#include <gtest/gtest.h>

using enginetest::BuildSample;
using enginetest::Cmd;
using enginetest::Walk;

namespace {

// A command with its arguments as the engine takes them, null included.
struct Command {
    const char* cmd;
    const char* a[5];
};

void PrintTo(const Command& c, std::ostream* os) {
    *os << (c.cmd ? c.cmd : "(null)");
    for (const char* a : c.a) *os << " " << (a ? a : "(null)");
}

std::string Send(Olm_Engine& e, const Command& c) { return e.Execute(c.cmd, c.a[0], c.a[1], c.a[2], c.a[3], c.a[4]).str(); }

// Queries and iterations about what does not exist answer "", never "FALSE".
class EmptyAnswers : public testing::TestWithParam<Command> {};

TEST_P(EmptyAnswers, InAnEmptyEngine) {
    Olm_Engine e;
    EXPECT_EQ(Send(e, GetParam()), "");
}

INSTANTIATE_TEST_SUITE_P(
    Queries, EmptyAnswers,
    testing::ValuesIn(std::vector<Command>{
        {"get", {"kfzVersion"}}, {"get", {"family"}}, {"getfirst", {"block"}}, {"getnext", {"block"}},
        {"getfirst", {"signal"}}, {"get", {"primtype", "nope"}}, {"get", {"blkprop", "nope", "PRIMTYPE"}},
        {"get", {"pindir", "p", "nope"}}, {"get", {"signal", "p", "nope"}}, {"get", {"pinprop", "p", "nope", "X"}},
        {"get", {"sigprop", "nope", "X"}}, {"getfirst", {"pin", "nope"}}, {"getfirst", {"pinprop", "p", "nope"}}}));

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

TEST(EngineCommands, GetnextWithoutItsGetfirstAnswersEmpty) {
    Olm_Engine e;
    BuildSample(e);
    EXPECT_EQ(Cmd(e, "getnext", "block"), "");
    EXPECT_EQ(Cmd(e, "getfirst", "pin", "B1"), "CLKIN");
    EXPECT_EQ(Cmd(e, "getnext", "pin", "B2"), "");  // another owner
    EXPECT_EQ(Cmd(e, "getfirst", "pinprop", "DATA", "B1"), "PINWIDTH");
    EXPECT_EQ(Cmd(e, "getnext", "pinprop", "CLKIN", "B1"), "");
}

TEST(EngineCommands, AddingWhatExistsUpdatesInPlace) {
    Olm_Engine e;
    BuildSample(e);
    for (const Command& c : {Command{"add", {"block", "B1", "TKL", "1"}}, Command{"add", {"pin", "bidir", "CLKIN", "B1"}},
                             Command{"add", {"blkprop", "B1", "DIVIDE", "8"}},
                             Command{"add", {"pinprop", "CLKIN", "B1", "PROP_PINISACTIVE", "FALSE"}},
                             Command{"add", {"sigprop", "clk", "LOC", "B2"}}, Command{"add", {"signal", "clk"}}})
        EXPECT_EQ(Send(e, c), "TRUE");
    const std::string walk = Walk(e);
    EXPECT_EQ(walk.substr(0, walk.find("  pin DATA")),
              "version=2.1 family=korvo5\n"
              "block B1 type=TKL\n"
              "  blkprop PRIMTYPE=TKL\n"
              "  blkprop DIVIDE=8\n"
              "  blkprop ALPHA=x\n"
              "  pin CLKIN dir=bidir signal=clk\n"  // the connection stays
              "    pinprop PINWIDTH=[0:0]\n"
              "    pinprop PROP_PINISACTIVE=FALSE\n");
    EXPECT_EQ(walk.substr(walk.find("signal clk")), "signal clk\n  sigprop SIGEXTERNAL=clk_in\n  sigprop SIGISBUS=8\n"
                                                   "  sigprop LOC=B2\nsignal gnd\n  sigprop SIGISGNDED=TRUE\n"
                                                   "  sigprop SIGISVCC=TRUE\n");
}

TEST(EngineCommands, BlockPinAndPropertyNamesMatchWithLetterCaseFolded) {
    Olm_Engine e;
    BuildSample(e);
    EXPECT_EQ(Cmd(e, "add", "blkprop", "b1", "divide", "9"), "TRUE");
    EXPECT_EQ(Cmd(e, "get", "blkprop", "B1", "DIVIDE"), "9");
    EXPECT_EQ(e.GetDesign().blocks[0].properties[0].name, "DIVIDE");  // the first spelling stays
    EXPECT_EQ(Cmd(e, "getfirst", "pin", "B1"), "CLKIN");
    EXPECT_EQ(Cmd(e, "getnext", "pin", "b1"), "DATA");
    EXPECT_EQ(Cmd(e, "get", "pinprop", "data", "b1", "pinwidth"), "[7:0]");
}

// Every failure answers "FALSE" and leaves the design as it was.
class FalseAnswers : public testing::TestWithParam<Command> {};

TEST_P(FalseAnswers, AndChangeNothing) {
    Olm_Engine e;
    BuildSample(e);
    const std::string before = Walk(e);
    EXPECT_EQ(Send(e, GetParam()), "FALSE");
    EXPECT_EQ(Walk(e), before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FalseAnswers,
    testing::ValuesIn(std::vector<Command>{
        {nullptr, {"block"}}, {"remove", {"block", "B1"}}, {"Get", {"kfzVersion"}}, {"get", {"part"}},
        {"get", {nullptr}}, {"get", {"primtype"}}, {"get", {"blkprop", "B1"}}, {"get", {"pindir", "CLKIN"}},
        {"get", {"pinprop", "CLKIN", "B1"}}, {"get", {"sigprop", "clk"}}, {"getfirst", {"wire"}},
        {"getfirst", {"pin"}}, {"getnext", {"pinprop", "CLKIN"}}, {"set", {"kfzVersion"}}, {"set", {"colour", "B1"}},
        {"add", {"block", "B9", "T"}}, {"add", {"block", "", "T", "1"}}, {"add", {"blkprop", "NOBLOCK", "K", "V"}},
        {"add", {"blkprop", "B1", "", "V"}}, {"add", {"blkprop", "B1", "PRIMTYPE", "X"}},
        {"add", {"blkprop", "B1", "primtype", "X"}}, {"add", {"pin", "input", "P", "NOBLOCK"}},
        {"add", {"pin", "input", "", "B1"}}, {"add", {"pin", nullptr, "P", "B1"}},
        {"add", {"pinprop", "NOPIN", "B1", "K", "V"}}, {"add", {"pinprop", "CLKIN", "B1", "K"}},
        {"add", {"pinprop", "CLKIN", "B1", "PINWIDTH", "[1:0]"}}, {"add", {"pinprop", "CLKIN", "B1", "PINISVCC", "TRUE"}},
        {"add", {"pinprop", "CLKIN", "B1", "PINISGNDED", "TRUE"}},
        {"add", {"pinprop", "CLKIN", "B1", "PINHASBUS", "TRUE"}}, {"add", {"signal", ""}},
        {"add", {"sigprop", "NOSIG", "K", "V"}}, {"add", {"sigprop", "clk", "SIGEXTERNAL", "x"}},
        {"add", {"sigprop", "clk", "SIGISBUS", "2"}}, {"add", {"sigprop", "clk", "SIGISGNDED", "TRUE"}},
        {"add", {"sigprop", "clk", "SIGISVCC", "TRUE"}}, {"set", {"pinwidth", "NOPIN", "B1", "[1:0]"}},
        {"set", {"pinwidth", "CLKIN", "B1"}}, {"set", {"vccpin", "CLKIN", "NOBLOCK"}}, {"set", {"gndpin", "NOPIN", "B1"}},
        {"set", {"hasbus", "NOPIN", "B1"}}, {"set", {"externalsig", "NOSIG", "x"}}, {"set", {"externalsig", "clk"}},
        {"set", {"bus", "clk", "eight"}}, {"set", {"bus", "clk", "8x"}}, {"set", {"bus", "clk", ""}},
        {"set", {"bus", "NOSIG", "8"}}, {"set", {"gndsig", "NOSIG"}}, {"set", {"vccsig", nullptr}},
        {"connect", {"signal", "s", "NOPIN", "B1"}}, {"connect", {"signal", "s", "CLKIN", "NOBLOCK"}},
        {"connect", {"signal", "", "CLKIN", "B1"}}, {"connect", {"wire", "s", "CLKIN", "B1"}}}));

// Empty values are values, and a stored "FALSE" is a value like any other.
TEST(EngineCommands, WritesOfEmptyOrOddValuesSucceed) {
    Olm_Engine e;
    EXPECT_EQ(Cmd(e, "set", "kfzVersion", ""), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "block", "B", "", "1"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "blkprop", "B", "K", ""), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pin", "", "P", "B"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pin", "sideways", "Q", "B"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "pinprop", "P", "B", "FALSE", "FALSE"), "TRUE");
    EXPECT_EQ(Cmd(e, "add", "signal", "s"), "TRUE");
    EXPECT_EQ(Cmd(e, "set", "externalsig", "s", ""), "TRUE");
    EXPECT_EQ(Cmd(e, "set", "bus", "s", "-3"), "TRUE");
    EXPECT_EQ(Walk(e), "version= family=\nblock B type=\n  blkprop PRIMTYPE=\n  blkprop K=\n  pin P dir= signal=\n"
                       "    pinprop FALSE=FALSE\n  pin Q dir=sideways signal=\nsignal s\n  sigprop SIGEXTERNAL=\n"
                       "  sigprop SIGISBUS=-3\n");
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
    EXPECT_EQ(e.GetPart().str() + e.GetDevice().str() + e.GetSpeed().str(), "p100d7-2");
}

}  // namespace
