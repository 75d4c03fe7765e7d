#include "WizardTestSupport.h"

#include "GuiTestSupport.h"

#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

namespace {

using wiztest::TestPage;
using wiztest::TestWizMain;

Olm_StrArray Rows(std::initializer_list<const char*> names) {
    Olm_StrArray rows;
    for (const char* name : names) rows.Add(name);
    return rows;
}

// The reason the translator gives for an illegal name.
std::string Reason(const char* name, bool verilog) {
    Pal::String candidate = name, reason;
    const bool legal = verilog ? Olm_VerilogTranslator::IsPortnameLegal(candidate, reason)
                               : Olm_VhdlTranslator::IsPortnameLegal(candidate, reason);
    EXPECT_FALSE(legal) << name;
    return reason.str();
}

// A silent batch page whose messages land in a log.
class NameCheckTest : public guitest::GuiTest {
protected:
    NameCheckTest() : main("tkl_pll", true), page(&main, "P") {
        main.SetLogFilePtr(&log);
        main.SetSilentMode(true);
        data.AddBlock("PLL_BLK", "RKO_ADV");
    }
    Olm_WizData data{"tkl_pll"};
    Pal::MemoryStream log;
    TestWizMain main;
    TestPage page;
};

TEST_F(NameCheckTest, UniqueNameCheckReportsTheFirstProblemOnly) {
    struct Case {
        std::vector<const char*> rows;
        const char* message;  // null: the rows pass
    };
    const Case cases[] = {
        {{"CLK0", "", "CLK0"},
         "ERROR: The name 'CLK0' is entered in both row 1 and row 3.  All names must be unique.\n"},
        {{"A", "B", "A", "B"}, "ERROR: The name 'A' is entered in both row 1 and row 3.  All names must be unique.\n"},
        // A clash between rows comes before a clash with the design.
        {{"X", "PLL_BLK", "Y", "PLL_BLK"},
         "ERROR: The name 'PLL_BLK' is entered in both row 2 and row 4.  All names must be unique.\n"},
        {{"CLKA", "", "pll_blk"},
         "ERROR: The name pll_blk used in row 3 is already used in the design.  All names must be unique.\n"},
        {{"clk0", "CLK0", "CLK"}, nullptr},  // letter case counts between rows
        {{"", "", ""}, nullptr},
        {{}, nullptr},
    };
    for (const Case& c : cases) {
        Olm_StrArray rows;
        for (const char* name : c.rows) rows.Add(name);
        for (bool show : {false, true}) {
            log.Clear();
            EXPECT_EQ(page.UniqueNameCheck(&data, &rows, show), c.message == nullptr) << c.rows.size();
            EXPECT_EQ(log.Text(), show && c.message ? c.message : "");
        }
    }
    Olm_StrArray rows = Rows({"A"});
    EXPECT_FALSE(page.UniqueNameCheck(nullptr, &rows, true));
    EXPECT_FALSE(page.UniqueNameCheck(&data, nullptr, true));
    EXPECT_EQ(log.Text(), "");
    TestPage orphan(nullptr, "O");
    Olm_StrArray dup = Rows({"A", "A"});
    testing::internal::CaptureStdout();
    EXPECT_FALSE(orphan.UniqueNameCheck(&data, &dup, true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(NameCheckTest, CheckIllegalPortnamesReport) {
    const std::string heading =
        "The names specified in the following rows are not legal portnames and must be changed:";
    Pal::String report = "old";
    EXPECT_TRUE(Olm_WizPage::CheckIllegalPortnames(nullptr, report, 0));
    EXPECT_EQ(report.str(), "");
    Olm_StrArray legal = Rows({"clk_in", "CLKOUT0"});
    EXPECT_TRUE(Olm_WizPage::CheckIllegalPortnames(&legal, report, 0));
    EXPECT_EQ(report.str(), heading);

    Olm_StrArray rows = Rows({"ok_a", "1bad", "ok_b", "signal"});
    EXPECT_FALSE(Olm_WizPage::CheckIllegalPortnames(&rows, report, 1));
    EXPECT_EQ(report.str(), heading + "\r\n  - row 2: 1bad: " + Reason("1bad", false) +
                                "\r\n  - row 4: signal: " + Reason("signal", false));
    Olm_StrArray verilog = Rows({"signal", "module"});
    EXPECT_FALSE(Olm_WizPage::CheckIllegalPortnames(&verilog, report, 2));
    EXPECT_EQ(report.str(), heading + "\r\n  - row 2: module: " + Reason("module", true));
    // Empty rows go to the translator like any other.
    Olm_StrArray withEmpty = Rows({"a", ""});
    EXPECT_FALSE(Olm_WizPage::CheckIllegalPortnames(&withEmpty, report, 0));
    EXPECT_EQ(report.str(), heading + "\r\n  - row 2: : " + Reason("", false));
    // Another selector checks nothing.
    EXPECT_TRUE(Olm_WizPage::CheckIllegalPortnames(&rows, report, 5));
    EXPECT_EQ(report.str(), heading);
}

TEST_F(NameCheckTest, IsPortnameLegal) {
    Pal::String message = "old", empty, name = "signal", bad = "9lives";
    EXPECT_TRUE(Olm_WizPage::IsPortnameLegal(empty, message, 0));
    EXPECT_EQ(message.str(), "");
    EXPECT_FALSE(Olm_WizPage::IsPortnameLegal(name, message, 0));
    EXPECT_EQ(message.str(), "The name 'signal' is not a legal portname: " + Reason("signal", false));
    EXPECT_TRUE(Olm_WizPage::IsPortnameLegal(name, message, 2));
    EXPECT_EQ(message.str(), "");
    EXPECT_FALSE(Olm_WizPage::IsPortnameLegal(bad, message, 2));
    EXPECT_EQ(message.str(), "The name '9lives' is not a legal portname: " + Reason("9lives", true));
    EXPECT_TRUE(Olm_WizPage::IsPortnameLegal(bad, message, 5));
    EXPECT_EQ(message.str(), "");
}

}  // namespace
