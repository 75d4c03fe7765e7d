#include "WizardTestSupport.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include "gui_nx/Nx_HelpManager.h"

#include <QComboBox>
#include <QTextBrowser>

namespace {

using guitest::BoxAnswerer;
using guitest::GuiTest;
using wiztest::TestPage;
using wiztest::TestWizMain;

class WizPageTest : public GuiTest {
protected:
    void TearDown() override {
        Nx_HelpManager::getInstance()->closeHelpWindow();
        GuiTest::TearDown();
    }
    std::string Stdout() { return testing::internal::GetCapturedStdout(); }
};

// --- messages in batch mode -------------------------------------------------

TEST_F(WizPageTest, BatchErrorGoesToStdoutAndLog) {
    Pal::MemoryStream log;
    testing::internal::CaptureStdout();
    Olm_WizPage::DoMessage("Bad value", true, &log, true, false, false);
    EXPECT_EQ(Stdout(), "ERROR: Bad value\n");
    EXPECT_EQ(log.Text(), "ERROR: Bad value\n");
}

TEST_F(WizPageTest, BatchSilentWritesOnlyTheLogAndNoLogOnlyStdout) {
    Pal::MemoryStream log;
    testing::internal::CaptureStdout();
    Olm_WizPage::DoMessage("Note", true, &log, false, true, false);
    EXPECT_EQ(Stdout(), "");
    EXPECT_EQ(log.Text(), "Note\n");

    testing::internal::CaptureStdout();
    Olm_WizPage::DoMessage("<b>kept</b>", true, nullptr, false, false, false);
    EXPECT_EQ(Stdout(), "<b>kept</b>\n");
}

TEST_F(WizPageTest, IssueMessageUsesTheMainsSettingsAndEitherErrorFlag) {
    Pal::MemoryStream log;
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    testing::internal::CaptureStdout();
    page.IssueMessage("second flag", false, true, false);
    page.IssueMessage("plain note", false, false, true);
    main.SetSilentMode(true);
    page.IssueMessage("quiet", true, false, false);
    EXPECT_EQ(Stdout(), "ERROR: second flag\nplain note\n");
    EXPECT_EQ(log.Text(), "ERROR: second flag\nplain note\nERROR: quiet\n");
}

TEST_F(WizPageTest, PageWithoutMainIssuesNothing) {
    BoxAnswerer answerer;
    TestPage page(nullptr, "P");
    EXPECT_EQ(page.GetWizDataPtr(), nullptr);
    testing::internal::CaptureStdout();
    page.IssueMessage("lost", true, true, false);
    page.IssueMessage("lost", false, false, true);
    EXPECT_EQ(page.IssueYesNoQuestion("Go on?", "going on"), 1);
    EXPECT_EQ(Stdout(), "");
    EXPECT_TRUE(answerer.Boxes().empty());
}

// --- messages in GUI mode ---------------------------------------------------

TEST_F(WizPageTest, GuiMessagesShowBoxesAndWriteNothing) {
    BoxAnswerer answerer;
    Pal::MemoryStream log;
    testing::internal::CaptureStdout();
    Olm_WizPage::DoMessage("Bad <b>value</b>", false, &log, true, false, false);
    Olm_WizPage::DoMessage("Plain text", false, &log, true, false, true);
    Olm_WizPage::DoMessage("Careful", false, &log, false, false, false);
    EXPECT_EQ(Stdout(), "");
    EXPECT_EQ(log.Text(), "");
    ASSERT_EQ(answerer.Boxes().size(), 3u);
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes()[0].text, "<qt>Bad <b>value</b>");
    EXPECT_EQ(answerer.Boxes()[0].format, Qt::RichText);
    EXPECT_EQ(answerer.Boxes()[1].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes()[1].text, "Plain text");
    EXPECT_EQ(answerer.Boxes()[1].format, Qt::PlainText);
    EXPECT_EQ(answerer.Boxes()[2].icon, QMessageBox::Warning);
    EXPECT_EQ(answerer.Boxes()[2].text, "<qt>Careful");
    EXPECT_EQ(answerer.Boxes()[2].buttons, QStringList{"OK"});
}

TEST_F(WizPageTest, GuiIssueMessageWithSecondErrorFlagIsCritical) {
    BoxAnswerer answerer;
    Pal::MemoryStream log;
    TestWizMain main("dsp_mult", false);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    page.IssueMessage("x", false, true, false);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(log.Text(), "");
}

// --- questions --------------------------------------------------------------

TEST_F(WizPageTest, BatchQuestionAnswersYesAndWritesTheNote) {
    Pal::MemoryStream log;
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    testing::internal::CaptureStdout();
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "Overwriting the file."), 1);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", ""), 1);
    main.SetSilentMode(true);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "Quietly."), 1);
    EXPECT_EQ(Stdout(), "Overwriting the file.\n");
    EXPECT_EQ(log.Text(), "Overwriting the file.\nQuietly.\n");
}

TEST_F(WizPageTest, GuiQuestionAsksYesOrNo) {
    BoxAnswerer answerer({"No", "Yes"});
    Pal::MemoryStream log;
    TestWizMain main("tkl_pll", false);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite <i>x</i>?", "note"), 0);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "note"), 1);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].text, "<qt>Overwrite <i>x</i>?");
    EXPECT_EQ(answerer.Boxes()[0].buttons, (QStringList{"Yes", "No"}));
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Question);
    EXPECT_EQ(log.Text(), "");
}

// --- combo boxes ------------------------------------------------------------

TEST_F(WizPageTest, ComboBoxLookupIsExact) {
    QComboBox box;
    box.addItems({"X", "Y", "X"});
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "X"), 0);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "Y"), 1);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "Z"), -1);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "x"), -1);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(nullptr, "X"), -1);

    box.setCurrentIndex(2);
    EXPECT_TRUE(Olm_WizPage::SetComboBoxText(&box, "Y"));
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(&box, "Z"));
    EXPECT_EQ(box.currentIndex(), 0);
    box.setCurrentIndex(1);
    EXPECT_TRUE(Olm_WizPage::SetComboBoxText(&box, "X"));
    EXPECT_EQ(box.currentIndex(), 0);

    QComboBox empty;
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(&empty, "X"));
    EXPECT_EQ(empty.currentIndex(), -1);
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(nullptr, "X"));
}

// --- blocks -----------------------------------------------------------------

TEST_F(WizPageTest, FindAndActivateBlk) {
    Olm_WizData data("tkl_pll");
    Olm_Block* block = data.AddBlock("PLL0", "RKO_ADV");
    block->SetIsActive(false);
    Pal::MemoryStream log;
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    main.SetSilentMode(true);
    main.SetWizDataPtr(&data);
    TestPage page(&main, "P");
    EXPECT_EQ(page.GetWizDataPtr(), &data);
    EXPECT_EQ(page.GetWizMainPtr(), &main);

    EXPECT_EQ(page.FindAndActivateBlk(&data, "PLL0", true), block);
    EXPECT_TRUE(block->IsActive());
    EXPECT_EQ(page.FindAndActivateBlk(&data, "NONE", false), nullptr);
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(page.FindAndActivateBlk(&data, "NONE", true), nullptr);
    EXPECT_EQ(log.Text(), "ERROR: Olm Wizard internal data error\n");
    EXPECT_EQ(page.FindAndActivateBlk(nullptr, "PLL0", true), nullptr);
    EXPECT_EQ(log.Text(), "ERROR: Olm Wizard internal data error\n");
}

TEST_F(WizPageTest, DeleteTheseBlksRemovesEveryBlockOfTheType) {
    Olm_WizData data("dsp_mult");
    data.AddBlock("A", "DSP48");
    data.AddBlock("B", "BUFG");
    data.AddBlock("C", "dsp48");
    data.AddBlock("D", "BUFG");
    data.AddBlock("E", "DSP48");
    Olm_WizPage::DeleteTheseBlks(&data, "DSP48");
    ASSERT_EQ(data.GetBlkList().size(), 2u);
    EXPECT_EQ(data.GetBlkList()[0]->GetName(), "B");
    EXPECT_EQ(data.GetBlkList()[1]->GetName(), "D");
    Olm_WizPage::DeleteTheseBlks(nullptr, "BUFG");
}

// --- help -------------------------------------------------------------------

TEST_F(WizPageTest, MoreInfoWithoutHelpMapWarns) {
    BoxAnswerer answerer;
    TestWizMain main("tkl_pll", false);
    main.SetFamily("korvo5");
    TestPage page(&main, "P");
    EXPECT_FALSE(page.InvokeMoreInfo("General Setup"));
    // Available, but no help manager.
    main.SetHelp(true, nullptr);
    EXPECT_FALSE(page.InvokeMoreInfo("General Setup"));
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    for (const guitest::SeenBox& box : answerer.Boxes()) {
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_EQ(box.text, "<qt>Unable to run the web browser in order to show the More Info requested.");
    }
}

TEST_F(WizPageTest, MoreInfoShowsTheCategoryAndFamilyTopic) {
    Nx_HelpManager* help = Nx_HelpManager::getInstance();
    olmtest::ScratchDir data;
    data.Write("help/clocking.html", "<html><body>Clocking help for korvo5</body></html>");
    data.Write("help/olmw.map", "Clocking korvo5 = clocking.html\n");
    qputenv("OLMW_DATA_DIR", QByteArray::fromStdString(data.Path().string()));
    const bool added = help->addHelpFile("olmw.map");
    qunsetenv("OLMW_DATA_DIR");
    ASSERT_TRUE(added);

    TestWizMain main("tkl_pll", false);
    main.SetHelp(true, help);
    TestPage page(&main, "P");
    main.SetFamily("korvo4");
    EXPECT_FALSE(page.InvokeMoreInfo("Clocking"));
    main.SetFamily("korvo5");
    ASSERT_TRUE(page.InvokeMoreInfo("Clocking"));
    ASSERT_NE(help->helpWindow(), nullptr);
    EXPECT_TRUE(help->helpWindow()->toPlainText().contains("Clocking help for korvo5"));
    // The shipped map again, for the tests that follow.
    EXPECT_TRUE(help->addHelpFile("olmw.map"));
}

}  // namespace
