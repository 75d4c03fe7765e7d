#include "WizardTestSupport.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>

#include <memory>

namespace {

using guitest::GuiTest;
using guitest::ModalDriver;
using wiztest::Calls;
using wiztest::TestPage;
using wiztest::TestWizMain;

class WizMainTest : public GuiTest {
protected:
    Calls calls;
};

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

TEST_F(WizMainTest, Korvo5FlagIsSetBySetupDataOrRunAndNeverCleared) {
    TestWizMain main("tkl_pll", true);
    main.SetFamily("korvo4");
    main.SetupData();
    EXPECT_FALSE(main.IsKorvo5());
    for (const char* family : {"korvo5", "QKORVO5", "qrkorvo5"}) {
        TestWizMain other("tkl_pll", true);
        other.SetFamily(family);
        other.SetupData();
        EXPECT_TRUE(other.IsKorvo5()) << family;
        other.SetFamily("korvo4");
        other.SetupData();
        EXPECT_TRUE(other.IsKorvo5()) << family;
    }
    // Run sets it too, even when InitWizard fails; no window is made then.
    TestWizMain failing("tkl_pll", false, &calls);
    failing.SetFamily("qrkorvo5");
    failing.initWizard = false;
    EXPECT_EQ(failing.Run(), -1);
    EXPECT_TRUE(failing.IsKorvo5());
    EXPECT_EQ(calls, (Calls{"InitWizard"}));
    EXPECT_EQ(failing.GetNxWizard(), nullptr);
}

TEST_F(WizMainTest, CopiesShareEverythingTheyPointTo) {
    Olm_WizData data;
    Pal::MemoryStream log;
    TestWizMain main("tkl_pll", true);
    TestPage page(&main, "A");
    main.GetPages()[0] = &page;
    main.SetWizDataPtr(&data);
    main.SetLogFilePtr(&log);
    TestWizMain copy(main);
    EXPECT_EQ(copy.GetPages()[0], &page);
    EXPECT_EQ(copy.GetWizDataPtr(), &data);
    EXPECT_EQ(copy.GetLogFilePtr(), &log);
    TestWizMain assigned("dsp_mult", false);
    assigned = main;
    EXPECT_EQ(assigned.GetWizType(), "tkl_pll");
    EXPECT_TRUE(assigned.IsBatchMode());
    EXPECT_EQ(assigned.GetPages()[0], &page);
}

// --- creating the GUI pages -------------------------------------------------

TEST_F(WizMainTest, CreateGuiDlgsAddsTheSummaryPageLastEvenAfterAFailure) {
    TestWizMain main("tkl_pll", false, &calls);
    TestPage a(&main, "A", &calls), b(&main, "B", &calls), c(&main, "C", &calls);
    main.GetPages()[0] = &a;
    main.GetPages()[1] = &b;
    main.GetPages()[3] = &c;  // after the first empty slot: not a page
    EXPECT_FALSE(main.CreateGuiDlgs(nullptr));
    EXPECT_EQ(main.GetSummaryGui(), nullptr);
    EXPECT_TRUE(calls.empty());

    Nx_Wizard wizard("Olm Wizard", nullptr, "OlmWiz", true, 0);
    EXPECT_TRUE(main.CreateGuiDlgs(&wizard));
    EXPECT_EQ(main.GetNxWizard(), &wizard);
    EXPECT_EQ(calls, (Calls{"A:CreateGuiDlg", "B:CreateGuiDlg"}));
    ASSERT_EQ(wizard.nxPages().size(), 3);
    EXPECT_EQ(wizard.nxPages()[2], main.GetSummaryGui());
    EXPECT_EQ(b.gui->pageNextName(), "Summary");

    calls.clear();
    a.createGui = false;
    Nx_Wizard second("Olm Wizard", nullptr, "OlmWiz", true, 0);
    EXPECT_FALSE(main.CreateGuiDlgs(&second));
    EXPECT_EQ(calls, (Calls{"A:CreateGuiDlg"}));
    ASSERT_EQ(second.nxPages().size(), 1);
    EXPECT_EQ(second.nxPages()[0], main.GetSummaryGui());
}

// --- GUI runs -----------------------------------------------------------------

// Presses the wizard's buttons, one press each time the page changes.
class Presser {
public:
    explicit Presser(std::vector<QWizard::WizardButton> presses)
        : m_presses(std::move(presses)), m_driver([this](QWidget* modal) {
              auto* wizard = qobject_cast<Nx_Wizard*>(modal);
              if (!wizard || m_next >= m_presses.size()) return;
              seenTitle = wizard->windowTitle();
              seenName = wizard->objectName();
              helpShown = wizard->testOption(QWizard::HaveHelpButton);
              pagesSeen.push_back(wizard->currentNxPage() ? wizard->currentNxPage()->pageName() : QString());
              wizard->button(m_presses[m_next++])->click();
          }) {}
    QString seenTitle, seenName;
    bool helpShown = false;
    std::vector<QString> pagesSeen;

private:
    std::vector<QWizard::WizardButton> m_presses;
    std::size_t m_next = 0;
    ModalDriver m_driver;
};

TEST_F(WizMainTest, GuiRunFinishedReturnsTheResultOfDoFinish) {
    Olm_WizData data("tkl_pll");
    TestWizMain main("tkl_pll", false, &calls);
    main.SetWizDataPtr(&data);
    TestPage a(&main, "A", &calls);
    main.GetPages()[0] = &a;
    main.finishResult = 42;
    Presser presser({QWizard::NextButton, QWizard::FinishButton});
    EXPECT_EQ(main.Run(), 42);
    EXPECT_EQ(calls, (Calls{"InitWizard", "A:CreateGuiDlg", "InitGuiDlgs", "DoFinish"}));
    EXPECT_EQ(presser.seenTitle, "Olm Wizard");
    EXPECT_EQ(presser.seenName, "OlmWiz");
    EXPECT_EQ(presser.pagesSeen, (std::vector<QString>{"A", "Summary"}));
    // The shipped help map is found, so the wizard offers more info.
    EXPECT_TRUE(presser.helpShown);
    // The window is gone, and so are the pointers to it.
    EXPECT_EQ(main.GetNxWizard(), nullptr);
    EXPECT_EQ(main.GetSummaryGui(), nullptr);
}

TEST_F(WizMainTest, GuiRunCancelledOrHeldByAPageReturnsOneWithoutDoFinish) {
    struct Case {
        bool refuseNext;
        std::vector<QWizard::WizardButton> presses;
        std::vector<QString> pagesSeen;
    };
    const Case cases[] = {
        {false, {QWizard::NextButton, QWizard::CancelButton}, {"A", "Summary - Multiplier"}},
        {true, {QWizard::NextButton, QWizard::NextButton, QWizard::CancelButton}, {"A", "A", "A"}},
    };
    for (const Case& c : cases) {
        TestWizMain main("dsp_mult", false, &calls);
        TestPage a(&main, "A", &calls);
        a.refuseNext = c.refuseNext;
        main.GetPages()[0] = &a;
        Presser presser(c.presses);
        EXPECT_EQ(main.Run(), 1);
        EXPECT_EQ(main.finishCalls, 0);
        EXPECT_EQ(presser.pagesSeen, c.pagesSeen);
    }
}

TEST_F(WizMainTest, GuiRunFailsWhenPagesCannotBeMadeOrSetUp) {
    TestWizMain main("tkl_pll", false, &calls);
    TestPage a(&main, "A", &calls);
    a.createGui = false;
    main.GetPages()[0] = &a;
    EXPECT_EQ(main.Run(), -1);
    EXPECT_EQ(calls, (Calls{"InitWizard", "A:CreateGuiDlg"}));

    calls.clear();
    a.createGui = true;
    main.initGuiDlgs = false;
    EXPECT_EQ(main.Run(), -1);
    EXPECT_EQ(calls, (Calls{"InitWizard", "A:CreateGuiDlg", "InitGuiDlgs"}));
    EXPECT_EQ(main.finishCalls, 0);
}

// --- batch runs ---------------------------------------------------------------

TEST_F(WizMainTest, DspBatchRunDrivesThePagesWithoutAWindow) {
    TestWizMain main("dsp_mult", true, &calls);
    TestPage a(&main, "A", &calls), b(&main, "B", &calls), c(&main, "C", &calls);
    main.GetPages()[0] = &a;
    main.GetPages()[1] = &b;
    main.GetPages()[3] = &c;
    main.finishResult = 3;
    EXPECT_EQ(main.Run(), 3);
    EXPECT_EQ(calls, (Calls{"InitWizard", "A:RunBatch", "B:RunBatch", "DoFinish"}));
    EXPECT_EQ(main.GetNxWizard(), nullptr);

    calls.clear();
    a.runBatch = false;
    EXPECT_EQ(main.Run(), -1);
    EXPECT_EQ(calls, (Calls{"InitWizard", "A:RunBatch"}));
}

TEST_F(WizMainTest, TklBatchRunKeepsItsHiddenWindow) {
    QPointer<Nx_Wizard> window;
    {
        TestWizMain main("tkl_bddeskew", true, &calls);
        TestPage a(&main, "A", &calls);
        main.GetPages()[0] = &a;
        EXPECT_EQ(main.Run(), 7);
        EXPECT_EQ(calls, (Calls{"InitWizard", "A:CreateGuiDlg", "InitGuiDlgs", "A:RunBatch", "DoFinish"}));
        window = main.GetNxWizard();
        ASSERT_FALSE(window.isNull());
        EXPECT_EQ(main.initGuiWizard, window.data());
        EXPECT_FALSE(window->isVisible());
        ASSERT_NE(main.GetSummaryGui(), nullptr);
        EXPECT_EQ(window->nxPages().size(), 2);
        EXPECT_EQ(a.GetGui()->wizard(), window.data());

        // Copies share the window; it goes with the last of them.
        auto copy = std::make_unique<TestWizMain>(main);
        TestWizMain assigned("dsp_mult", true);
        assigned = main;
        EXPECT_EQ(copy->GetNxWizard(), window.data());
        copy.reset();
        EXPECT_FALSE(window.isNull());
    }
    EXPECT_TRUE(window.isNull());
}

TEST_F(WizMainTest, TklBatchRunFailsBeforeAnyPageWhenSetUpFails) {
    TestWizMain main("tkl_pll", true, &calls);
    TestPage a(&main, "A", &calls);
    main.GetPages()[0] = &a;
    main.initGuiDlgs = false;
    EXPECT_EQ(main.Run(), -1);
    EXPECT_EQ(calls, (Calls{"InitWizard", "A:CreateGuiDlg", "InitGuiDlgs"}));

    calls.clear();
    main.initGuiDlgs = true;
    a.createGui = false;
    EXPECT_EQ(main.InitializeTklBatchMode(), 0);
    EXPECT_EQ(main.Run(), -1);
    EXPECT_EQ(calls, (Calls{"A:CreateGuiDlg", "InitWizard", "A:CreateGuiDlg"}));
    EXPECT_EQ(main.finishCalls, 0);
}

}  // namespace
