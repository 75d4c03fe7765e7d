#include "WizardTestSupport.h"

#include "GuiTestSupport.h"

#include "translator/Olm_VerilogTranslator.h"
#include "translator/Olm_VhdlTranslator.h"

namespace {

using wiztest::TestPage;
using wiztest::TestWizMain;

Olm_StrArray Rows(const std::vector<const char*>& names) {
    Olm_StrArray rows;
    for (const char* name : names) rows.Add(name);
    return rows;
}

// The reason the translator gives for an illegal name.
std::string Reason(const char* name, bool verilog) {
    Pal::String candidate = name, reason;
    EXPECT_FALSE(verilog ? Olm_VerilogTranslator::IsPortnameLegal(candidate, reason)
                         : Olm_VhdlTranslator::IsPortnameLegal(candidate, reason)) << name;
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

// Only the first problem is reported; a clash between rows comes before a
// clash with the design; letter case counts between rows.
TEST_F(NameCheckTest, UniqueNameCheckReportsTheFirstProblemOnly) {
    const std::string twice = "ERROR: The name '%s' is entered in both row %d and row %d.  All names must be unique.\n";
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"CLK0", "", "CLK0"}, Pal::String().Format(twice.c_str(), "CLK0", 1, 3).str()},
        {{"A", "B", "A", "B"}, Pal::String().Format(twice.c_str(), "A", 1, 3).str()},
        {{"X", "PLL_BLK", "Y", "PLL_BLK"}, Pal::String().Format(twice.c_str(), "PLL_BLK", 2, 4).str()},
        {{"CLKA", "", "pll_blk"},
         "ERROR: The name pll_blk used in row 3 is already used in the design.  All names must be unique.\n"},
        {{"clk0", "CLK0", "CLK"}, ""}, {{"", "", ""}, ""}, {{}, ""}};
    for (const auto& [names, message] : cases) {
        Olm_StrArray rows = Rows(names);
        for (bool show : {false, true}) {
            log.Clear();
            EXPECT_EQ(page.UniqueNameCheck(&data, &rows, show), message.empty()) << message;
            EXPECT_EQ(log.Text(), show ? message : "");
        }
    }
    Olm_StrArray rows = Rows({"A", "A"});
    EXPECT_FALSE(page.UniqueNameCheck(nullptr, &rows, true));
    EXPECT_FALSE(page.UniqueNameCheck(&data, nullptr, true));
    EXPECT_EQ(log.Text(), "");
    TestPage orphan(nullptr, "O");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(orphan.UniqueNameCheck(&data, &rows, true));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// The heading, then a line per illegal row; selector 1 asks the VHDL
// translator, 2 the Verilog one, another checks nothing.
TEST_F(NameCheckTest, CheckIllegalPortnamesReport) {
    const std::string heading =
        "The names specified in the following rows are not legal portnames and must be changed:";
    Pal::String report = "old";
    EXPECT_TRUE(Olm_WizPage::CheckIllegalPortnames(nullptr, report, 0));
    EXPECT_EQ(report.str(), "");
    const struct {
        std::vector<const char*> rows;
        int hdl;
        std::string report;
    } cases[] = {
        {{"clk_in", "CLKOUT0"}, 0, heading},
        {{"ok_a", "1bad", "ok_b", "signal"}, 1,
         heading + "\r\n  - row 2: 1bad: " + Reason("1bad", false) + "\r\n  - row 4: signal: " + Reason("signal", false)},
        {{"signal", "module"}, 2, heading + "\r\n  - row 2: module: " + Reason("module", true)},
        {{"a", ""}, 0, heading + "\r\n  - row 2: : " + Reason("", false)},  // empty rows are checked too
        {{"1bad", "signal"}, 5, heading},
    };
    for (const auto& c : cases) {
        Olm_StrArray rows = Rows(c.rows);
        EXPECT_EQ(Olm_WizPage::CheckIllegalPortnames(&rows, report, c.hdl), c.report == heading);
        EXPECT_EQ(report.str(), c.report);
    }
}

TEST_F(NameCheckTest, IsPortnameLegal) {
    const struct {
        const char* name;
        int hdl;
        std::string message;  // empty: legal
    } cases[] = {{"", 0, ""}, {"signal", 0, "The name 'signal' is not a legal portname: " + Reason("signal", false)},
                 {"signal", 2, ""}, {"9lives", 2, "The name '9lives' is not a legal portname: " + Reason("9lives", true)},
                 {"9lives", 5, ""}};
    for (const auto& c : cases) {
        Pal::String name = c.name, message = "old";
        EXPECT_EQ(Olm_WizPage::IsPortnameLegal(name, message, c.hdl), c.message.empty()) << c.name;
        EXPECT_EQ(message.str(), c.message);
    }
}

}  // namespace
