#include "WizardTestSupport.h"

#include "CaseFiles.h"
#include "GuiTestSupport.h"

#include <QAbstractButton>

#include <map>
#include <memory>
#include <tuple>

namespace {

using wiztest::TestPage;
using wiztest::TestWizMain;
using WizMainTest = guitest::GuiTest;

TEST_F(WizMainTest, PageNamesAndDeviceNames) {
    for (const olmtest::CaseRow& c : olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/page_names.txt"))
        EXPECT_EQ(Olm_WizMain::FormPageName("General", c.at(0).c_str()), c.at(1)) << c[0];
    TestWizMain main("tkl_pll", true);
    main.SetDevice("olmkv5lx30");
    EXPECT_EQ(main.GetDeviceNoPrefix(), "kv5lx30");
    main.SetDevice("ab");
    EXPECT_EQ(main.GetDeviceNoPrefix(), "");
}

TEST_F(WizMainTest, Korvo5FlagIsSetBySetupDataAndNeverCleared) {
    for (const char* family : {"korvo4", "korvo5", "QKORVO5", "qrkorvo5"}) {
        TestWizMain main("tkl_pll", true);
        main.SetFamily(family);
        main.SetupData();
        EXPECT_EQ(main.IsKorvo5(), family != std::string("korvo4")) << family;
        main.SetFamily("korvo4");
        main.SetupData();
        EXPECT_EQ(main.IsKorvo5(), family != std::string("korvo4")) << family;
    }
}

// The pages up to the first empty slot make their GUI pages, until one fails;
// the summary page comes last even then.
TEST_F(WizMainTest, CreateGuiDlgsAddsTheSummaryPageLastEvenAfterAFailure) {
    TestWizMain main("tkl_pll", false);
    TestPage a(&main, "A"), b(&main, "B"), c(&main, "C");
    main.GetPages()[0] = &a;
    main.GetPages()[1] = &b;
    main.GetPages()[3] = &c;
    EXPECT_FALSE(main.CreateGuiDlgs(nullptr));
    EXPECT_EQ(main.GetSummaryGui(), nullptr);
    Nx_Wizard wizard("Olm Wizard", nullptr, "OlmWiz", true, 0);
    EXPECT_TRUE(main.CreateGuiDlgs(&wizard));
    EXPECT_EQ(main.GetNxWizard(), &wizard);
    EXPECT_EQ(wizard.nxPages(), (QList<Nx_WizardPage*>{a.gui, b.gui, main.GetSummaryGui()}));
    EXPECT_EQ(b.gui->pageNextName(), "Summary");

    a.createGui = false;
    Nx_Wizard second("Olm Wizard", nullptr, "OlmWiz", true, 0);
    EXPECT_FALSE(main.CreateGuiDlgs(&second));
    EXPECT_EQ(main.calls, (wiztest::Calls{"A:CreateGuiDlg", "B:CreateGuiDlg", "A:CreateGuiDlg"}));
    EXPECT_EQ(second.nxPages(), QList<Nx_WizardPage*>{main.GetSummaryGui()});
}

class WizMainRun : public WizMainTest, public ::testing::WithParamInterface<olmtest::CaseRow> {};

// Every run also sets the Korvo5 flag (SetupData is not called here); a GUI
// run shows the Olm Wizard window with the help button (the shipped help map
// is found) and forgets its window and summary page after the run.
TEST_P(WizMainRun, CallsTheStepsInOrderAndReturnsTheOutcome) {
    const olmtest::CaseRow& c = GetParam();  // type | mode | failing steps | presses | pages | result | calls
    const std::string& fails = c.at(2);
    TestWizMain main(c.at(0).c_str(), c.at(1) == "batch");
    TestPage a(&main, "A"), unused(&main, "C");
    main.GetPages()[0] = &a;
    main.GetPages()[2] = &unused;
    main.SetFamily("qrkorvo5");
    main.finishResult = 42;
    main.initWizard = fails != "InitWizard";
    main.initGuiDlgs = fails != "InitGuiDlgs";
    a.createGui = fails != "CreateGuiDlg";
    a.runBatch = fails != "RunBatch";
    a.refuseNext = fails == "Next";
    const std::vector<std::string> presses = olmtest::Split(c.at(3), " ");
    const std::map<std::string, QWizard::WizardButton> buttons{
        {"Next", QWizard::NextButton}, {"Finish", QWizard::FinishButton}, {"Cancel", QWizard::CancelButton}};
    // Presses the buttons, one each time the page changes, noting the window
    // and the page.
    std::vector<std::string> pagesSeen;
    QString window;
    guitest::ModalDriver presser([&](QWidget* modal) {
        auto* wizard = qobject_cast<Nx_Wizard*>(modal);
        if (!wizard || pagesSeen.size() >= presses.size()) return;
        window = wizard->windowTitle() + " " + wizard->objectName() +
                 (wizard->testOption(QWizard::HaveHelpButton) ? " with help" : "");
        pagesSeen.push_back(wizard->currentNxPage() ? wizard->currentNxPage()->pageName().toStdString() : "");
        wizard->button(buttons.at(presses[pagesSeen.size() - 1]))->click();
    });
    EXPECT_EQ(main.Run(), std::stoi(c.at(5)));
    EXPECT_EQ(main.calls, olmtest::Split(c.at(6), " "));
    EXPECT_EQ(pagesSeen, olmtest::Split(c.at(4), ", "));
    EXPECT_EQ(window, presses.empty() ? "" : "Olm Wizard OlmWiz with help");
    EXPECT_TRUE(main.IsKorvo5());
    // Only a clock-manager batch run keeps its window after the run.
    const bool keepsWindow = main.IsBatchMode() && c[0].rfind("tkl", 0) == 0 && fails != "InitWizard";
    EXPECT_EQ(main.GetNxWizard() != nullptr, keepsWindow);
    EXPECT_EQ(main.GetSummaryGui() != nullptr, keepsWindow);
}

INSTANTIATE_TEST_SUITE_P(Runs, WizMainRun,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/wizmain_runs.txt")));

// A clock-manager batch run keeps its window, hidden, with its pages; copies
// of the main share it and every other pointer, and the last one deletes it.
TEST_F(WizMainTest, CopiesShareWhatTheyPointToAndTheLastDeletesTheBatchWindow) {
    Olm_WizData data;
    Pal::MemoryStream log;
    QPointer<Nx_Wizard> window;
    {
        TestWizMain main("tkl_bddeskew", true);
        TestPage a(&main, "A");
        main.GetPages()[0] = &a;
        main.SetWizDataPtr(&data);
        main.SetLogFilePtr(&log);
        EXPECT_EQ(main.Run(), 7);
        window = main.GetNxWizard();
        ASSERT_FALSE(window.isNull());
        EXPECT_EQ(main.initGuiWizard, window.data());
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->nxPages(), (QList<Nx_WizardPage*>{a.gui, main.GetSummaryGui()}));
        auto copy = std::make_unique<TestWizMain>(main);
        TestWizMain assigned("dsp_mult", false);
        assigned = main;
        const auto shared = [](TestWizMain& m) {
            return std::make_tuple(m.GetPages()[0], m.GetWizDataPtr(), m.GetLogFilePtr(), m.GetWizType().str(),
                                   m.IsBatchMode(), m.GetNxWizard());
        };
        EXPECT_EQ(shared(*copy), shared(main));
        EXPECT_EQ(shared(assigned), shared(main));
        copy.reset();
        EXPECT_FALSE(window.isNull());
    }
    EXPECT_TRUE(window.isNull());
}

}  // namespace
