// The design rules on the small designs of golden/design_rules.txt, built
// with engine commands, and the report of their findings.

#include "CaseFiles.h"
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

const char* RuleName(Rule rule) {
    switch (rule) {
    case Rule::kMultipleDrivers: return "multiple_drivers";
    case Rule::kUndrivenInput: return "undriven_input";
    case Rule::kWidthMismatch: return "width_mismatch";
    case Rule::kUndrivenOutput: return "undriven_output";
    }
    return "?";
}

class DesignRules : public testing::TestWithParam<olmtest::CaseRecord> {};

// Each design of design_rules.txt: exactly its findings, in order, each with its rule.
TEST_P(DesignRules, FindExactlyTheBrokenRules) {
    Olm_Engine engine;
    olmtest::RunScript(engine, GetParam()["script"]);
    Olm_HdlDesign design;
    std::string error;
    ASSERT_TRUE(design.Build(engine.GetDesign(), "d", {Buf()}, error)) << error;
    std::vector<std::string> findings;
    for (const auto& finding : Olm_DesignRules::Check(design))
        findings.push_back(RuleName(finding.rule) + std::string(": ") + finding.text);
    EXPECT_EQ(findings, olmtest::Lines(GetParam()["finding"]));
}

INSTANTIATE_TEST_SUITE_P(Netlists, DesignRules,
                         testing::ValuesIn(olmtest::ReadCaseRecords(OLM_TRANSLATOR_GOLDEN_DIR "/design_rules.txt")),
                         [](const auto& info) { return olmtest::CaseName(info.param); });

TEST(DesignRulesReport, CountsTheFindingsAndGivesEachALine) {
    const std::vector<Olm_DesignFinding> findings = {{Rule::kMultipleDrivers, "net 'y' has 2 drivers"},
                                                     {Rule::kUndrivenOutput, "output port 'q' has no driver"}};
    EXPECT_EQ(Olm_DesignRules::Report(findings),
              "The design breaks the design rules (2 findings):\nnet 'y' has 2 drivers\noutput port 'q' has no driver");
    EXPECT_EQ(Olm_DesignRules::Report({findings[0]}),
              "The design breaks the design rules (1 finding):\nnet 'y' has 2 drivers");
}

}  // namespace
