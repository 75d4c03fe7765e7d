#include "WizardTestSupport.h"

#include "CaseFiles.h"
#include "GuiTestSupport.h"

#include <QComboBox>
#include <QTextBrowser>

namespace {

using wiztest::TestPage;
using wiztest::TestWizMain;

// Page P of a silent batch wizard main whose messages land in a log.
class WizPageTest : public guitest::GuiTest {
protected:
    WizPageTest() : main("tkl_pll", true), page(&main, "P") {
        main.SetLogFilePtr(&log);
        main.SetSilentMode(true);
    }
    void TearDown() override {
        Nx_HelpManager::getInstance()->closeHelpWindow();
        GuiTest::TearDown();
    }
    static void Capture() { testing::internal::CaptureStdout(); }
    static std::string Stdout() { return testing::internal::GetCapturedStdout(); }

    Pal::MemoryStream log;
    TestWizMain main;
    TestPage page;
};

TEST_F(WizPageTest, BatchMessagesAndQuestionsGoToStdoutUnlessSilentAndToTheLog) {
    Capture();
    Olm_WizPage::DoMessage("Bad value", true, &log, true, false, false);
    Olm_WizPage::DoMessage("Note", true, &log, false, true, false);
    Olm_WizPage::DoMessage("<b>kept</b>", true, nullptr, false, false, false);
    EXPECT_EQ(Stdout(), "ERROR: Bad value\n<b>kept</b>\n");
    EXPECT_EQ(log.Text(), "ERROR: Bad value\nNote\n");

    // The page takes the main's settings; either flag makes an error; a
    // question is answered yes and writes its note, if any.
    log.Clear();
    main.SetSilentMode(false);
    Capture();
    page.IssueMessage("second flag", false, true, false);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "Overwriting the file."), 1);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", ""), 1);
    main.SetSilentMode(true);
    page.IssueMessage("quiet", false, false, true);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "Quietly."), 1);
    EXPECT_EQ(Stdout(), "ERROR: second flag\nOverwriting the file.\n");
    EXPECT_EQ(log.Text(), "ERROR: second flag\nOverwriting the file.\nquiet\nQuietly.\n");
}

// What a box showed: its icon, text, text format and buttons.
std::string Shown(const guitest::SeenBox& box) {
    const char* icon = box.icon == QMessageBox::Critical  ? "critical"
                       : box.icon == QMessageBox::Warning ? "warning"
                                                          : "other";
    return std::string(icon) + " " + box.text.toStdString() + (box.format == Qt::RichText ? " (rich) " : " (plain) ") +
           box.buttons.join("/").toStdString();
}

TEST_F(WizPageTest, GuiMessagesAndQuestionsShowBoxesAndWriteNothing) {
    TestWizMain gui("dsp_mult", false);
    gui.SetLogFilePtr(&log);
    TestPage guiPage(&gui, "G");
    guitest::BoxAnswerer answerer({"OK", "OK", "OK", "OK", "No", "Yes"});
    Capture();
    Olm_WizPage::DoMessage("Bad <b>value</b>", false, &log, true, false, false);
    Olm_WizPage::DoMessage("Plain text", false, &log, true, false, true);
    guiPage.IssueMessage("Careful", false, false, false);
    guiPage.IssueMessage("Second flag", false, true, false);
    EXPECT_EQ(guiPage.IssueYesNoQuestion("Overwrite <i>x</i>?", "note"), 0);
    EXPECT_EQ(guiPage.IssueYesNoQuestion("Overwrite?", "note"), 1);
    EXPECT_EQ(Stdout(), "");
    EXPECT_EQ(log.Text(), "");
    std::string shown;  // a line per box: icon, text, format, buttons
    for (const guitest::SeenBox& box : answerer.Boxes()) shown += Shown(box) + "\n";
    EXPECT_EQ(shown, olmtest::ReadFile(OLM_WIZARD_TEST_DATA "/gui_boxes.txt"));

    // A page without a main shows and writes nothing, and hears yes.
    TestPage orphan(nullptr, "O");
    Capture();
    orphan.IssueMessage("lost", true, true, false);
    EXPECT_EQ(orphan.IssueYesNoQuestion("Go on?", "going on"), 1);
    EXPECT_FALSE(orphan.InvokeMoreInfo("Clocking"));
    EXPECT_EQ(Stdout(), "");
    EXPECT_EQ(answerer.Boxes().size(), 6u);
}

TEST_F(WizPageTest, ComboBoxTextsCompareExactly) {
    QComboBox box, empty;
    box.addItems({"X", "Y", "X"});
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "X"), 0);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "Z"), -1);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "x"), -1);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(nullptr, "X"), -1);
    box.setCurrentIndex(2);
    EXPECT_TRUE(Olm_WizPage::SetComboBoxText(&box, "Y"));
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(&box, "Z"));
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(&empty, "X"));
    EXPECT_EQ(empty.currentIndex(), -1);
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(nullptr, "X"));
}

TEST_F(WizPageTest, FindAndDeleteBlocks) {
    Olm_WizData data("tkl_pll");
    Olm_Block* block = data.AddBlock("PLL0", "RKO_ADV");
    block->SetIsActive(false);
    EXPECT_EQ(page.FindAndActivateBlk(&data, "PLL0", true), block);
    EXPECT_TRUE(block->IsActive());
    EXPECT_EQ(page.FindAndActivateBlk(&data, "NONE", false), nullptr);
    EXPECT_EQ(page.FindAndActivateBlk(nullptr, "PLL0", true), nullptr);
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(page.FindAndActivateBlk(&data, "NONE", true), nullptr);
    EXPECT_EQ(log.Text(), "ERROR: Olm Wizard internal data error\n");

    Olm_WizData mixed("dsp_mult");
    for (const char* name : {"A", "B", "C", "D", "E"})
        mixed.AddBlock(name, std::string("BD").find(name) == std::string::npos ? "MACBLK" : "GCLKBUF");
    Olm_WizPage::DeleteTheseBlks(&mixed, "macblk");
    ASSERT_EQ(mixed.GetBlkList().size(), 2u);
    EXPECT_EQ(mixed.GetBlkList()[0]->GetName(), "B");
    EXPECT_EQ(mixed.GetBlkList()[1]->GetName(), "D");
}

TEST_F(WizPageTest, MoreInfoShowsTheCategoryAndFamilyTopicOrWarns) {
    guitest::BoxAnswerer answerer;
    Nx_HelpManager* help = Nx_HelpManager::getInstance();
    TestWizMain gui("tkl_pll", false);
    gui.SetFamily("korvo5");
    TestPage guiPage(&gui, "G");
    EXPECT_FALSE(guiPage.InvokeMoreInfo("General Setup"));  // help not available
    gui.SetHelp(true, nullptr);
    EXPECT_FALSE(guiPage.InvokeMoreInfo("General Setup"));  // no help manager
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    for (const guitest::SeenBox& box : answerer.Boxes())
        EXPECT_EQ(Shown(box),
                  "warning <qt>Unable to run the web browser in order to show the More Info requested. (rich) OK");

    qputenv("OLMW_DATA_DIR", OLM_WIZARD_TEST_DATA);  // help/olmw.map: the topic "Clocking korvo5"
    const bool added = help->addHelpFile("olmw.map");
    qunsetenv("OLMW_DATA_DIR");
    ASSERT_TRUE(added);
    gui.SetHelp(true, help);
    gui.SetFamily("korvo4");
    EXPECT_FALSE(guiPage.InvokeMoreInfo("Clocking"));
    gui.SetFamily("korvo5");
    ASSERT_TRUE(guiPage.InvokeMoreInfo("Clocking"));
    EXPECT_TRUE(help->helpWindow()->toPlainText().contains("Clocking help for korvo5"));
    EXPECT_TRUE(help->addHelpFile("olmw.map"));  // the shipped map again
}

Olm_StrArray Rows(const std::vector<std::string>& names) {
    Olm_StrArray rows;
    for (const std::string& name : names) rows.Add(name.c_str());
    return rows;
}

TEST_F(WizPageTest, UniqueNameCheckReportsTheFirstProblemOnly) {
    Olm_WizData data("tkl_pll");
    data.AddBlock("PLL_BLK", "RKO_ADV");
    for (const olmtest::CaseRow& c : olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/unique_names.txt")) {
        Olm_StrArray rows = Rows(olmtest::Split(c.at(0), ","));
        for (bool show : {false, true}) {
            log.Clear();
            EXPECT_EQ(page.UniqueNameCheck(&data, &rows, show), c.at(1).empty()) << c[0];
            EXPECT_EQ(log.Text(), show ? c[1] : "");
        }
    }
    Olm_StrArray rows = Rows({"A", "A"});
    EXPECT_FALSE(page.UniqueNameCheck(nullptr, &rows, true));
    EXPECT_FALSE(page.UniqueNameCheck(&data, nullptr, true));
    EXPECT_EQ(log.Text(), "");
    TestPage orphan(nullptr, "O");
    Capture();
    EXPECT_FALSE(orphan.UniqueNameCheck(&data, &rows, true));
    EXPECT_EQ(Stdout(), "");
}

TEST_F(WizPageTest, CheckIllegalPortnamesReport) {
    Pal::String report = "old";
    EXPECT_TRUE(Olm_WizPage::CheckIllegalPortnames(nullptr, report, 0));
    EXPECT_EQ(report.str(), "");
    for (const olmtest::CaseRow& c : olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/illegal_portnames.txt")) {
        Olm_StrArray rows = Rows(olmtest::Split(c.at(0), ","));
        const bool legal = c.at(2).find("\r\n") == std::string::npos;
        EXPECT_EQ(Olm_WizPage::CheckIllegalPortnames(&rows, report, std::stoi(c.at(1))), legal) << c[0];
        EXPECT_EQ(report.str(), c[2]);
    }
}

TEST_F(WizPageTest, IsPortnameLegal) {
    for (const olmtest::CaseRow& c : olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/portname_legal.txt")) {
        Pal::String name = c.at(0).c_str(), message = "old";
        EXPECT_EQ(Olm_WizPage::IsPortnameLegal(name, message, std::stoi(c.at(1))), c.at(2).empty()) << c[0];
        EXPECT_EQ(message.str(), c[2]);
    }
}

}  // namespace
