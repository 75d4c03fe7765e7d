#include "GoldenSections.h"

#include "translator/Olm_Translator.h"
#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The rules' verdicts against the listings of golden/rules.txt.
class TranslatorRules : public testing::Test {
protected:
    olmtest::GoldenSections golden{OLM_TRANSLATOR_GOLDEN_DIR "/rules.txt"};
};

TEST_F(TranslatorRules, PortNamesGetTheVerdictAndReasonOfBothLanguages) {
    golden.CheckAnswers("port names", [](const std::string& shown) {
        std::string answer;
        for (auto rule : {&Olm_VhdlTranslator::IsPortnameLegal, &Olm_VerilogTranslator::IsPortnameLegal}) {
            Pal::String name(olmtest::Unescape(shown.substr(1, shown.size() - 2))), reason;
            const bool legal = rule(name, reason);
            EXPECT_EQ(legal, reason.IsEmpty()) << shown;
            answer += (answer.empty() ? "" : " | ") + (legal ? "legal" : reason.str());
        }
        return answer;
    });
}

TEST(PortNameRule, ALegalNameLeavesNameAndReasonAlone) {
    for (const std::string& legal : {std::string("data_out"), std::string(300, 'x')}) {  // no length limit
        Pal::String name(legal), reason("untouched");
        EXPECT_TRUE(Olm_VhdlTranslator::IsPortnameLegal(name, reason));
        EXPECT_TRUE(Olm_VerilogTranslator::IsPortnameLegal(name, reason));
        EXPECT_EQ(reason, "untouched");
        EXPECT_EQ(name, legal.c_str());
    }
}

// Block properties the summary and the HDL leave out: the internal and flag
// prefixes (spelled as the wizard spells them), the primitive type, and the
// display name of transceiver blocks. A question is "[NAME] of PRIMTYPE",
// with " (transceiver)" for a transceiver block.
TEST_F(TranslatorRules, BlockPropertiesIgnoredAreOnlyWhatTheWizardKeepsToItself) {
    golden.CheckAnswers("block properties", [](const std::string& question) {
        const std::size_t close = question.find("] of ");
        Pal::String name(question.substr(1, close - 1));
        const std::string type = question.substr(close + 5, question.find(' ', close + 5) - close - 5);
        const bool transceiver = question.find(" (transceiver)") != std::string::npos;
        return Olm_Translator::IsBlkPropIgnored(name, type.c_str(), transceiver) ? "ignored" : "kept";
    });
}

}  // namespace
