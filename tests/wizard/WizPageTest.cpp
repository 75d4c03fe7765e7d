#include "WizardTestSupport.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include "gui_nx/Nx_HelpManager.h"

#include <QComboBox>
#include <QTextBrowser>

namespace {

using guitest::BoxAnswerer;
using wiztest::TestPage;
using wiztest::TestWizMain;

const char* const kNoHelp = "<qt>Unable to run the web browser in order to show the More Info requested.";

class WizPageTest : public guitest::GuiTest {
protected:
    void TearDown() override {
        Nx_HelpManager::getInstance()->closeHelpWindow();
        GuiTest::TearDown();
    }
    static void Capture() { testing::internal::CaptureStdout(); }
    static std::string Stdout() { return testing::internal::GetCapturedStdout(); }
    Pal::MemoryStream log;
};

TEST_F(WizPageTest, BatchMessagesGoToStdoutUnlessSilentAndToTheLog) {
    Capture();
    Olm_WizPage::DoMessage("Bad value", true, &log, true, false, false);
    Olm_WizPage::DoMessage("Note", true, &log, false, true, false);
    Olm_WizPage::DoMessage("<b>kept</b>", true, nullptr, false, false, false);
    EXPECT_EQ(Stdout(), "ERROR: Bad value\n<b>kept</b>\n");
    EXPECT_EQ(log.Text(), "ERROR: Bad value\nNote\n");

    // IssueMessage takes the main's settings; either flag makes an error.
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    log.Clear();
    Capture();
    page.IssueMessage("second flag", false, true, false);
    main.SetSilentMode(true);
    page.IssueMessage("quiet", false, false, true);
    EXPECT_EQ(Stdout(), "ERROR: second flag\n");
    EXPECT_EQ(log.Text(), "ERROR: second flag\nquiet\n");
}

TEST_F(WizPageTest, GuiMessagesShowBoxesAndWriteNothing) {
    BoxAnswerer answerer;
    TestWizMain main("dsp_mult", false);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    Capture();
    Olm_WizPage::DoMessage("Bad <b>value</b>", false, &log, true, false, false);
    Olm_WizPage::DoMessage("Plain text", false, &log, true, false, true);
    page.IssueMessage("Careful", false, false, false);
    page.IssueMessage("Second flag", false, true, false);
    EXPECT_EQ(Stdout(), "");
    EXPECT_EQ(log.Text(), "");
    ASSERT_EQ(answerer.Boxes().size(), 4u);
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes()[0].text, "<qt>Bad <b>value</b>");
    EXPECT_EQ(answerer.Boxes()[0].format, Qt::RichText);
    EXPECT_EQ(answerer.Boxes()[1].text, "Plain text");
    EXPECT_EQ(answerer.Boxes()[1].format, Qt::PlainText);
    EXPECT_EQ(answerer.Boxes()[2].icon, QMessageBox::Warning);
    EXPECT_EQ(answerer.Boxes()[2].text, "<qt>Careful");
    EXPECT_EQ(answerer.Boxes()[2].buttons, QStringList{"OK"});
    EXPECT_EQ(answerer.Boxes()[3].icon, QMessageBox::Critical);
}

TEST_F(WizPageTest, PageWithoutMainIssuesNothingAndHearsYes) {
    BoxAnswerer answerer;
    TestPage page(nullptr, "P");
    EXPECT_EQ(page.GetWizDataPtr(), nullptr);
    Capture();
    page.IssueMessage("lost", true, true, false);
    EXPECT_EQ(page.IssueYesNoQuestion("Go on?", "going on"), 1);
    EXPECT_FALSE(page.InvokeMoreInfo("Clocking"));
    EXPECT_EQ(Stdout(), "");
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(WizPageTest, BatchQuestionAnswersYesAndWritesTheNote) {
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    Capture();
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "Overwriting the file."), 1);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", ""), 1);
    main.SetSilentMode(true);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "Quietly."), 1);
    EXPECT_EQ(Stdout(), "Overwriting the file.\n");
    EXPECT_EQ(log.Text(), "Overwriting the file.\nQuietly.\n");
}

TEST_F(WizPageTest, GuiQuestionAsksYesOrNo) {
    BoxAnswerer answerer({"No", "Yes"});
    TestWizMain main("tkl_pll", false);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite <i>x</i>?", "note"), 0);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "note"), 1);
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[0].text, "<qt>Overwrite <i>x</i>?");
    EXPECT_EQ(answerer.Boxes()[0].buttons, (QStringList{"Yes", "No"}));
    EXPECT_EQ(log.Text(), "");
}

TEST_F(WizPageTest, ComboBoxTextsCompareExactly) {
    QComboBox box;
    box.addItems({"X", "Y", "X"});
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "X"), 0);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "Z"), -1);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(&box, "x"), -1);
    box.setCurrentIndex(2);
    EXPECT_TRUE(Olm_WizPage::SetComboBoxText(&box, "Y"));
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(&box, "Z"));
    EXPECT_EQ(box.currentIndex(), 0);
    QComboBox empty;
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(&empty, "X"));
    EXPECT_EQ(empty.currentIndex(), -1);
    EXPECT_EQ(Olm_WizPage::GetComboBoxIndex(nullptr, "X"), -1);
    EXPECT_FALSE(Olm_WizPage::SetComboBoxText(nullptr, "X"));
}

TEST_F(WizPageTest, FindAndActivateBlk) {
    Olm_WizData data("tkl_pll");
    Olm_Block* block = data.AddBlock("PLL0", "RKO_ADV");
    block->SetIsActive(false);
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    main.SetSilentMode(true);
    main.SetWizDataPtr(&data);
    TestPage page(&main, "P");
    EXPECT_EQ(page.GetWizDataPtr(), &data);

    EXPECT_EQ(page.FindAndActivateBlk(&data, "PLL0", true), block);
    EXPECT_TRUE(block->IsActive());
    EXPECT_EQ(page.FindAndActivateBlk(&data, "NONE", false), nullptr);
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(page.FindAndActivateBlk(&data, "NONE", true), nullptr);
    EXPECT_EQ(page.FindAndActivateBlk(nullptr, "PLL0", true), nullptr);
    EXPECT_EQ(log.Text(), "ERROR: Olm Wizard internal data error\n");
}

TEST_F(WizPageTest, DeleteTheseBlksRemovesEveryBlockOfTheType) {
    Olm_WizData data("dsp_mult");
    for (const char* name : {"A", "B", "C", "D", "E"})
        data.AddBlock(name, std::string("BD").find(name) == std::string::npos ? "DSP48" : "BUFG");
    Olm_WizPage::DeleteTheseBlks(&data, "dsp48");
    ASSERT_EQ(data.GetBlkList().size(), 2u);
    EXPECT_EQ(data.GetBlkList()[0]->GetName(), "B");
    EXPECT_EQ(data.GetBlkList()[1]->GetName(), "D");
    Olm_WizPage::DeleteTheseBlks(nullptr, "BUFG");
}

TEST_F(WizPageTest, MoreInfoWarnsWithoutHelp) {
    BoxAnswerer answerer;
    TestWizMain main("tkl_pll", false);
    main.SetFamily("korvo5");
    TestPage page(&main, "P");
    EXPECT_FALSE(page.InvokeMoreInfo("General Setup"));
    main.SetHelp(true, nullptr);
    EXPECT_FALSE(page.InvokeMoreInfo("General Setup"));
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    for (const guitest::SeenBox& box : answerer.Boxes()) {
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_EQ(box.text, kNoHelp);
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
    EXPECT_TRUE(help->helpWindow()->toPlainText().contains("Clocking help for korvo5"));
    EXPECT_TRUE(help->addHelpFile("olmw.map"));  // the shipped map again
}

}  // namespace
