#include "WizardTestSupport.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>

#include <memory>
#include <tuple>

namespace {

using wiztest::Calls;
using wiztest::TestPage;
using wiztest::TestWizMain;
using WizMainTest = guitest::GuiTest;

TEST_F(WizMainTest, PageNamesAndDeviceNames) {
    const std::pair<const char*, const char*> names[] = {
        {"dsp_mult", "General - Multiplier"}, {"DSP_MAC", "General - MACC"},
        {"dsp_add", "General - Adder/Subtractor"}, {"dsp_counter", "General - Accumulator"},
        {"tkl_bddeskew", "General"}, {"", "General"}};
    for (const auto& [type, name] : names) EXPECT_EQ(Olm_WizMain::FormPageName("General", type), name) << type;
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
    EXPECT_EQ(main.calls, (Calls{"A:CreateGuiDlg", "B:CreateGuiDlg", "A:CreateGuiDlg"}));
    EXPECT_EQ(second.nxPages(), QList<Nx_WizardPage*>{main.GetSummaryGui()});
}

// Presses the wizard's buttons, one press each time the page changes, and
// notes the window and the page it pressed them on.
class Presser {
public:
    explicit Presser(std::vector<QWizard::WizardButton> presses)
        : m_presses(std::move(presses)), m_driver([this](QWidget* modal) {
              auto* wizard = qobject_cast<Nx_Wizard*>(modal);
              if (!wizard || m_next >= m_presses.size()) return;
              window = wizard->windowTitle() + " " + wizard->objectName() +
                       (wizard->testOption(QWizard::HaveHelpButton) ? " with help" : "");
              pagesSeen.push_back(wizard->currentNxPage() ? wizard->currentNxPage()->pageName() : QString());
              wizard->button(m_presses[m_next++])->click();
          }) {}
    QString window;
    std::vector<QString> pagesSeen;

private:
    std::vector<QWizard::WizardButton> m_presses;
    std::size_t m_next = 0;
    guitest::ModalDriver m_driver;
};

// A run of a wizard main with page A in its first slot and page C after an
// empty one: what each step answers, the buttons pressed in a GUI run, and
// what comes out.
struct RunCase {
    const char* type;
    bool batch;
    std::string fails;  // the steps that answer false: InitWizard, InitGuiDlgs, CreateGuiDlg, RunBatch, Next
    std::vector<QWizard::WizardButton> presses;
    std::vector<QString> pagesSeen;
    int result;
    Calls calls;
};

class WizMainRun : public WizMainTest, public ::testing::WithParamInterface<RunCase> {};

// Every run also sets the Korvo5 flag (SetupData is not called here); a GUI
// run shows the Olm Wizard window with the help button (the shipped help map
// is found) and forgets its window and summary page after the run.
TEST_P(WizMainRun, CallsTheStepsInOrderAndReturnsTheOutcome) {
    const RunCase& c = GetParam();
    TestWizMain main(c.type, c.batch);
    TestPage a(&main, "A"), unused(&main, "C");
    main.GetPages()[0] = &a;
    main.GetPages()[2] = &unused;
    main.SetFamily("qrkorvo5");
    main.finishResult = 42;
    main.initWizard = c.fails.find("InitWizard") == std::string::npos;
    main.initGuiDlgs = c.fails.find("InitGuiDlgs") == std::string::npos;
    a.createGui = c.fails.find("CreateGuiDlg") == std::string::npos;
    a.runBatch = c.fails.find("RunBatch") == std::string::npos;
    a.refuseNext = c.fails.find("Next") != std::string::npos;
    Presser presser(c.presses);
    EXPECT_EQ(main.Run(), c.result);
    EXPECT_EQ(main.calls, c.calls);
    EXPECT_EQ(presser.pagesSeen, c.pagesSeen);
    EXPECT_EQ(presser.window, c.presses.empty() ? "" : "Olm Wizard OlmWiz with help");
    EXPECT_TRUE(main.IsKorvo5());
    // Only a clock-manager batch run keeps its window after the run.
    const bool keepsWindow = c.batch && std::string(c.type).rfind("tkl", 0) == 0 && c.fails != "InitWizard";
    EXPECT_EQ(main.GetNxWizard() != nullptr, keepsWindow);
    EXPECT_EQ(main.GetSummaryGui() != nullptr, keepsWindow);
}

using B = QWizard::WizardButton;
const B kNext = QWizard::NextButton, kFinish = QWizard::FinishButton, kCancel = QWizard::CancelButton;
const char* const kInit = "InitWizard";
const char* const kGui = "A:CreateGuiDlg";
const char* const kSummary = "DoFinishAtSummaryStart";

INSTANTIATE_TEST_SUITE_P(
    Runs, WizMainRun,
    ::testing::Values(
        RunCase{"tkl_pll", false, "", {kNext, kFinish}, {"A", "Summary"}, 42,
                {kInit, kGui, "InitGuiDlgs", kSummary, "DoFinish"}},
        RunCase{"dsp_mult", false, "", {kNext, kCancel}, {"A", "Summary - Multiplier"}, 1,
                {kInit, kGui, "InitGuiDlgs", kSummary}},
        RunCase{"dsp_mult", false, "Next", {kNext, kNext, kCancel}, {"A", "A", "A"}, 1, {kInit, kGui, "InitGuiDlgs"}},
        RunCase{"tkl_pll", false, "CreateGuiDlg", {}, {}, -1, {kInit, kGui}},
        RunCase{"tkl_pll", false, "InitGuiDlgs", {}, {}, -1, {kInit, kGui, "InitGuiDlgs"}},
        RunCase{"tkl_pll", false, "InitWizard", {}, {}, -1, {kInit}},
        RunCase{"tkl_pll", true, "InitWizard", {}, {}, -1, {kInit}},
        RunCase{"dsp_mult", true, "", {}, {}, 42, {kInit, "A:RunBatch", "DoFinish"}},
        RunCase{"dsp_mult", true, "RunBatch", {}, {}, -1, {kInit, "A:RunBatch"}},
        // Clock-manager wizards make their window, hidden, in batch mode too.
        RunCase{"tkl_bddeskew", true, "", {}, {}, 42, {kInit, kGui, "InitGuiDlgs", "A:RunBatch", "DoFinish"}},
        RunCase{"tkl_pll", true, "InitGuiDlgs", {}, {}, -1, {kInit, kGui, "InitGuiDlgs"}},
        RunCase{"tkl_pll", true, "CreateGuiDlg", {}, {}, -1, {kInit, kGui}}));

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
