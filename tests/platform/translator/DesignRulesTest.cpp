// The design rules on small designs built with engine commands, read as the
// HDL writers read them: every rule broken once, and the connections the
// rules must let pass (ties, pins the design leaves out, bidirectional ports,
// bits taken from a bus one by one).

#include "ScriptedEngine.h"

#include "engine/Olm_Engine.h"
#include "translator/Olm_DesignRules.h"
#include "translator/Olm_HdlDesign.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rule = Olm_DesignFinding::Rule;

// A primitive whose pin I the designs below may leave out.
Olm_HdlPrimitive Buf() {
    return Olm_HdlPrimitive{"BUF",
                            {Olm_HdlPrimitivePin{"I", Olm_HdlDir::kIn, 0, 0, false},
                             Olm_HdlPrimitivePin{"O", Olm_HdlDir::kOut, 0, 0, false}},
                            {}};
}

struct RulesCase {
    const char* name;
    const char* script;  // engine commands, ';' between them
    std::vector<Rule> rules;
    std::vector<std::string> texts;
};

void PrintTo(const RulesCase& c, std::ostream* os) { *os << c.name; }

class DesignRules : public testing::TestWithParam<RulesCase> {};

TEST_P(DesignRules, FindExactlyTheBrokenRules) {
    const RulesCase& c = GetParam();
    Olm_Engine engine;
    olmtest::RunScript(engine, c.script);
    Olm_HdlDesign design;
    std::string error;
    ASSERT_TRUE(design.Build(engine.GetDesign(), "d", {Buf()}, error)) << error;
    const std::vector<Olm_DesignFinding> findings = Olm_DesignRules::Check(design);
    std::vector<Rule> rules;
    std::vector<std::string> texts;
    for (const auto& finding : findings) {
        rules.push_back(finding.rule);
        texts.push_back(finding.text);
    }
    EXPECT_EQ(rules, c.rules);
    EXPECT_EQ(texts, c.texts);
}

// Two copies of BUF, U1 and U2, with their input on port a.
#define TWO_BUFS                                                                                            \
    "add signal a; set externalsig a a; add block U1 BUF 1; add pin input I U1; connect signal a I U1;"      \
    "add block U2 BUF 2; add pin input I U2; connect signal a I U2;"                                         \
    "add pin output O U1; add pin output O U2;"

INSTANTIATE_TEST_SUITE_P(
    Netlists, DesignRules,
    testing::Values(
        RulesCase{"Clean", TWO_BUFS
                  "add signal y1; set externalsig y1 y1; connect signal y1 O U1;"
                  "add signal y2; set externalsig y2 y2; connect signal y2 O U2;",
                  {}, {}},
        RulesCase{"TwoOutputsOnOneNet", TWO_BUFS
                  "add signal y; set externalsig y y; connect signal y O U1; connect signal y O U2;",
                  {Rule::kMultipleDrivers},
                  {"net 'y' has 2 drivers: pin 'O' of block 'U1', pin 'O' of block 'U2'"}},
        RulesCase{"BusBitsGroupedIntoOneFinding",
                  "add signal d; set externalsig d d; set bus d 4;"
                  "add block U1 W 1; add pin output D U1; set pinwidth D U1 [3:0]; connect signal d D U1;"
                  "add block U2 W 2; add pin output D U2; set pinwidth D U2 [3:0]; connect signal d D U2;",
                  {Rule::kMultipleDrivers},
                  {"net 'd[3:0]' has 2 drivers: pin 'D' of block 'U1', pin 'D' of block 'U2'"}},
        RulesCase{"InternalNetWithoutDriver",
                  "add signal w; add block U1 BUF 1; add pin input I U1; connect signal w I U1;",
                  {Rule::kUndrivenInput}, {"net 'w' has no driver but feeds pin 'I' of block 'U1'"}},
        RulesCase{"UsedInputConnectedToNothing",
                  "add block U1 BUF 1; add pin input I U1; add pinprop I U1 PROP_PINISACTIVE TRUE;",
                  {Rule::kUndrivenInput},
                  {"input pin 'I' of block 'U1' has no driver: the design neither connects nor ties it"}},
        RulesCase{"InputsLeftOutOrSavedAsUnused",
                  "add block U1 BUF 1; add pin output O U1; add block U2 BUF 2; add pin input I U2;", {}, {}},
        RulesCase{"TiedInputs",
                  "add block U1 BUF 1; add pin input I U1; set gndpin I U1;"
                  "add block U2 BUF 2; add pin input I U2; set vccpin I U2;"
                  "add signal VCCa; set vccsig VCCa; add block U3 BUF 3; add pin input I U3; connect signal VCCa I U3;",
                  {}, {}},
        RulesCase{"BitPropertiesTieSomeBitsAndTakeOthersFromABus",
                  "add signal b; set externalsig b b; set bus b 3; add signal GNDa; set gndsig GNDa;"
                  "add block U1 P 1; add pin input M U1; set pinwidth M U1 [3:0]; connect signal b M U1;"
                  "add pinprop M U1 OLMW_ONLY_PIN_SIG_BIT_3:2 GNDa[0:0];"
                  "add pinprop M U1 OLMW_ONLY_PIN_SIG_BIT_1:0 b[2:1];",
                  {}, {}},
        RulesCase{"BitPropertyOfAnotherWidth",
                  "add signal b; set externalsig b b; set bus b 4;"
                  "add block U1 P 1; add pin input M U1; set pinwidth M U1 [1:0]; connect signal b M U1;"
                  "add pinprop M U1 OLMW_ONLY_PIN_SIG_BIT_1:0 b[3:1];",
                  {Rule::kWidthMismatch}, {"pin 'M' of block 'U1' has 2 bits but is joined to 3 bits of net 'b'"}},
        RulesCase{"WideBusOnANarrowPin",
                  "add signal DIN; set externalsig DIN DIN; set bus DIN 36;"
                  "add block M1 MULT 1; add pin input DIN M1; connect signal DIN DIN M1;",
                  {Rule::kWidthMismatch}, {"pin 'DIN' of block 'M1' has 1 bit but is joined to 36 bits of net 'DIN'"}},
        RulesCase{"NarrowNetsFillTheLowBitsOfWidePins",
                  "add signal a; set externalsig a a; set bus a 2; add signal q; set externalsig q q; set bus q 2;"
                  "add block U1 P 1; add pin input M U1; set pinwidth M U1 [3:0]; connect signal a M U1;"
                  "add pin output Q U1; set pinwidth Q U1 [3:0]; connect signal q Q U1;",
                  {}, {}},
        RulesCase{"BitPropertyWithAShorterSignalRange",
                  "add signal b; set externalsig b b; set bus b 4;"
                  "add block U1 P 1; add pin input M U1; set pinwidth M U1 [3:0]; connect signal b M U1;"
                  "add pinprop M U1 OLMW_ONLY_PIN_SIG_BIT_3:0 b[1:0];",
                  {Rule::kWidthMismatch}, {"pin 'M' of block 'U1' has 4 bits but is joined to 2 bits of net 'b'"}},
        RulesCase{"OutputPortWiderThanItsDriver",
                  "add signal q; set externalsig q q; set bus q 4;"
                  "add block U1 P 1; add pin output Q U1; set pinwidth Q U1 [1:0]; add pinprop Q U1 "
                  "OLMW_ONLY_PIN_SIG_BIT_1:0 q[1:0]; connect signal q Q U1;",
                  {Rule::kUndrivenOutput}, {"output port 'q[3:2]' has no driver"}},
        RulesCase{"BidirectionalPortNeedsNoDriverInside",
                  "add signal io; set externalsig io io; add block U1 IOB 1; add pin bidir IO U1;"
                  "connect signal io IO U1; add block U2 BUF 2; add pin input I U2; connect signal io I U2;",
                  {}, {}}),
    [](const testing::TestParamInfo<RulesCase>& info) { return std::string(info.param.name); });

TEST(DesignRulesReport, CountsTheFindingsAndGivesEachALine) {
    const std::vector<Olm_DesignFinding> findings = {{Rule::kMultipleDrivers, "net 'y' has 2 drivers"},
                                                     {Rule::kUndrivenOutput, "output port 'q' has no driver"}};
    EXPECT_EQ(Olm_DesignRules::Report(findings),
              "The design breaks the design rules (2 findings):\nnet 'y' has 2 drivers\noutput port 'q' has no driver");
    EXPECT_EQ(Olm_DesignRules::Report({findings[0]}),
              "The design breaks the design rules (1 finding):\nnet 'y' has 2 drivers");
}

}  // namespace
