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

TEST_F(WizPageTest, BatchMessagesAndQuestionsGoToStdoutUnlessSilentAndToTheLog) {
    Capture();
    Olm_WizPage::DoMessage("Bad value", true, &log, true, false, false);
    Olm_WizPage::DoMessage("Note", true, &log, false, true, false);
    Olm_WizPage::DoMessage("<b>kept</b>", true, nullptr, false, false, false);
    EXPECT_EQ(Stdout(), "ERROR: Bad value\n<b>kept</b>\n");
    EXPECT_EQ(log.Text(), "ERROR: Bad value\nNote\n");

    // The page takes the main's settings; either flag makes an error; a
    // question is answered yes and writes its note, if any.
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    log.Clear();
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
    TestWizMain main("dsp_mult", false);
    main.SetLogFilePtr(&log);
    TestPage page(&main, "P");
    BoxAnswerer answerer({"OK", "OK", "OK", "OK", "No", "Yes"});
    Capture();
    Olm_WizPage::DoMessage("Bad <b>value</b>", false, &log, true, false, false);
    Olm_WizPage::DoMessage("Plain text", false, &log, true, false, true);
    page.IssueMessage("Careful", false, false, false);
    page.IssueMessage("Second flag", false, true, false);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite <i>x</i>?", "note"), 0);
    EXPECT_EQ(page.IssueYesNoQuestion("Overwrite?", "note"), 1);
    EXPECT_EQ(Stdout(), "");
    EXPECT_EQ(log.Text(), "");
    std::vector<std::string> shown;
    for (const guitest::SeenBox& box : answerer.Boxes()) shown.push_back(Shown(box));
    EXPECT_EQ(shown, (std::vector<std::string>{"critical <qt>Bad <b>value</b> (rich) OK", "critical Plain text (plain) OK",
                                               "warning <qt>Careful (rich) OK", "critical <qt>Second flag (rich) OK",
                                               "other <qt>Overwrite <i>x</i>? (rich) Yes/No",
                                               "other <qt>Overwrite? (rich) Yes/No"}));

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
    TestWizMain main("tkl_pll", true);
    main.SetLogFilePtr(&log);
    main.SetSilentMode(true);
    TestPage page(&main, "P");
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
    BoxAnswerer answerer;
    Nx_HelpManager* help = Nx_HelpManager::getInstance();
    TestWizMain main("tkl_pll", false);
    main.SetFamily("korvo5");
    TestPage page(&main, "P");
    EXPECT_FALSE(page.InvokeMoreInfo("General Setup"));  // help not available
    main.SetHelp(true, nullptr);
    EXPECT_FALSE(page.InvokeMoreInfo("General Setup"));  // no help manager
    ASSERT_EQ(answerer.Boxes().size(), 2u);
    for (const guitest::SeenBox& box : answerer.Boxes())
        EXPECT_EQ(Shown(box),
                  "warning <qt>Unable to run the web browser in order to show the More Info requested. (rich) OK");

    olmtest::ScratchDir data;
    data.Write("help/clocking.html", "<html><body>Clocking help for korvo5</body></html>");
    data.Write("help/olmw.map", "Clocking korvo5 = clocking.html\n");
    qputenv("OLMW_DATA_DIR", QByteArray::fromStdString(data.Path().string()));
    const bool added = help->addHelpFile("olmw.map");
    qunsetenv("OLMW_DATA_DIR");
    ASSERT_TRUE(added);
    main.SetHelp(true, help);
    main.SetFamily("korvo4");
    EXPECT_FALSE(page.InvokeMoreInfo("Clocking"));
    main.SetFamily("korvo5");
    ASSERT_TRUE(page.InvokeMoreInfo("Clocking"));
    EXPECT_TRUE(help->helpWindow()->toPlainText().contains("Clocking help for korvo5"));
    EXPECT_TRUE(help->addHelpFile("olmw.map"));  // the shipped map again
}

}  // namespace
