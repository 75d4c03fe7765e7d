#include "WizardTestSupport.h"

#include "GuiTestSupport.h"

#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

namespace {

using guitest::GuiTest;
using wiztest::TestPage;
using wiztest::TestWizMain;

Olm_StrArray Rows(std::initializer_list<const char*> names) {
    Olm_StrArray rows;
    for (const char* name : names) rows.Add(name);
    return rows;
}

std::string VhdlReason(const char* name) {
    Pal::String candidate = name, reason;
    EXPECT_FALSE(Olm_VhdlTranslator::IsPortnameLegal(candidate, reason)) << name;
    return reason.str();
}

std::string VerilogReason(const char* name) {
    Pal::String candidate = name, reason;
    EXPECT_FALSE(Olm_VerilogTranslator::IsPortnameLegal(candidate, reason)) << name;
    return reason.str();
}

// A batch page whose messages land in a log.
class NameCheckTest : public GuiTest {
protected:
    NameCheckTest() : main("tkl_pll", true), page(&main, "P") {
        main.SetLogFilePtr(&log);
        main.SetSilentMode(true);
        main.SetWizDataPtr(&data);
        data.AddBlock("PLL_BLK", "RKO_ADV");
    }
    Olm_WizData data{"tkl_pll"};
    Pal::MemoryStream log;
    TestWizMain main;
    TestPage page;
};

TEST_F(NameCheckTest, NullInputsFailSilently) {
    Olm_StrArray rows = Rows({"A"});
    EXPECT_FALSE(page.UniqueNameCheck(nullptr, &rows, true));
    EXPECT_FALSE(page.UniqueNameCheck(&data, nullptr, true));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(NameCheckTest, DuplicateRowsAreReportedWithBothRowNumbers) {
    Olm_StrArray rows = Rows({"CLK0", "", "CLK0"});
    EXPECT_FALSE(page.UniqueNameCheck(&data, &rows, true));
    EXPECT_EQ(log.Text(),
              "ERROR: The name 'CLK0' is entered in both row 1 and row 3.  All names must be unique.\n");
}

TEST_F(NameCheckTest, OnlyTheFirstProblemIsReported) {
    Olm_StrArray rows = Rows({"A", "B", "A", "B"});
    EXPECT_FALSE(page.UniqueNameCheck(&data, &rows, true));
    EXPECT_EQ(log.Text(), "ERROR: The name 'A' is entered in both row 1 and row 3.  All names must be unique.\n");

    // A clash between rows comes before a clash with the design, row by row.
    log.Clear();
    Olm_StrArray mixed = Rows({"X", "PLL_BLK", "Y", "PLL_BLK"});
    EXPECT_FALSE(page.UniqueNameCheck(&data, &mixed, true));
    EXPECT_EQ(log.Text(),
              "ERROR: The name 'PLL_BLK' is entered in both row 2 and row 4.  All names must be unique.\n");
}

TEST_F(NameCheckTest, LetterCaseCountsBetweenRows) {
    Olm_StrArray rows = Rows({"clk0", "CLK0"});
    EXPECT_TRUE(page.UniqueNameCheck(&data, &rows, true));
    Olm_StrArray prefix = Rows({"CLK", "CLK0"});
    EXPECT_TRUE(page.UniqueNameCheck(&data, &prefix, true));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(NameCheckTest, NameOfADesignBlockIsReported) {
    Olm_StrArray rows = Rows({"CLKA", "", "PLL_BLK"});
    EXPECT_FALSE(page.UniqueNameCheck(&data, &rows, true));
    EXPECT_EQ(log.Text(),
              "ERROR: The name PLL_BLK used in row 3 is already used in the design.  All names must be unique.\n");
}

TEST_F(NameCheckTest, EmptyRowsPassAndShowMessageOffIsQuiet) {
    Olm_StrArray empty = Rows({"", "", ""});
    EXPECT_TRUE(page.UniqueNameCheck(&data, &empty, true));
    Olm_StrArray none;
    EXPECT_TRUE(page.UniqueNameCheck(&data, &none, true));
    Olm_StrArray dup = Rows({"A", "A"});
    Olm_StrArray design = Rows({"PLL_BLK"});
    EXPECT_FALSE(page.UniqueNameCheck(&data, &dup, false));
    EXPECT_FALSE(page.UniqueNameCheck(&data, &design, false));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(NameCheckTest, PageWithoutMainGivesTheResultWithoutMessage) {
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
    EXPECT_EQ(report.str(), heading + "\r\n  - row 2: 1bad: " + VhdlReason("1bad") +
                                "\r\n  - row 4: signal: " + VhdlReason("signal"));

    // Verilog has other reserved words; selector 2 asks its rules.
    Olm_StrArray verilog = Rows({"signal", "module"});
    EXPECT_FALSE(Olm_WizPage::CheckIllegalPortnames(&verilog, report, 2));
    EXPECT_EQ(report.str(), heading + "\r\n  - row 2: module: " + VerilogReason("module"));

    // Empty rows go to the translator like any other.
    Olm_StrArray withEmpty = Rows({"a", ""});
    EXPECT_FALSE(Olm_WizPage::CheckIllegalPortnames(&withEmpty, report, 0));
    EXPECT_EQ(report.str(), heading + "\r\n  - row 2: : " + VhdlReason(""));

    // Another selector checks nothing.
    EXPECT_TRUE(Olm_WizPage::CheckIllegalPortnames(&rows, report, 5));
    EXPECT_EQ(report.str(), heading);
}

TEST_F(NameCheckTest, IsPortnameLegal) {
    Pal::String message = "old";
    Pal::String empty;
    EXPECT_TRUE(Olm_WizPage::IsPortnameLegal(empty, message, 0));
    EXPECT_EQ(message.str(), "");

    Pal::String name = "signal";
    message = "old";
    EXPECT_FALSE(Olm_WizPage::IsPortnameLegal(name, message, 0));
    EXPECT_EQ(message.str(), "The name 'signal' is not a legal portname: " + VhdlReason("signal"));
    EXPECT_TRUE(Olm_WizPage::IsPortnameLegal(name, message, 2));
    EXPECT_EQ(message.str(), "");

    Pal::String bad = "9lives";
    EXPECT_FALSE(Olm_WizPage::IsPortnameLegal(bad, message, 2));
    EXPECT_EQ(message.str(), "The name '9lives' is not a legal portname: " + VerilogReason("9lives"));
    EXPECT_TRUE(Olm_WizPage::IsPortnameLegal(bad, message, 5));
    EXPECT_EQ(message.str(), "");
    EXPECT_TRUE(Olm_WizPage::IsPortnameLegal(bad, message, -1));
}

}  // namespace
