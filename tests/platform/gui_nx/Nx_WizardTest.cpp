#include "gui_nx/Nx_WheelGuard.h"
#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include "GoldenSections.h"
#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <functional>
#include <string>
#include <vector>

namespace {

// The calls of the pages, one a line as "PAGE:SLOT".
using Log = std::string;

// A page that logs every call of the wizard and refuses each move as often
// as told.
class LoggingPage : public Nx_WizardPage {
    Q_OBJECT
public:
    LoggingPage(QWidget* parent, const QString& name, Log& log) : Nx_WizardPage(parent), m_log(log) {
        setPageName(name);
        setPageWidget(new QLabel(name, parent));
    }
    int refuseNext = 0, refuseBack = 0, refuseCancel = 0, refuseFinish = 0;
    int advanced = 0;

    int advancedSupport() override { return advanced; }
    void dataToWidgets() override { note("dataToWidgets"); }
    void widgetsToData() override { note("widgetsToData"); }
    void onActive() override { note("onActive"); }
    bool onCancel() override { return note("onCancel"), refuseCancel-- <= 0; }
    bool onBack() override { return note("onBack"), refuseBack-- <= 0; }
    bool onNext() override { return note("onNext"), refuseNext-- <= 0; }
    bool onFinish() override { return note("onFinish"), refuseFinish-- <= 0; }
    void onMoreInfo() override { note("onMoreInfo"); }
    void onAdvanced() override { note("onAdvanced"); }

protected:
    void note(const char* what) { m_log += pageName().toStdString() + ":" + what + "\n"; }
    Log& m_log;
};

// A page with an init() slot, like the summary page.
class InitPage : public LoggingPage {
    Q_OBJECT
public:
    using LoggingPage::LoggingPage;
public slots:
    void init() { note("init"); }
};

// Runs step(n) the n-th time the running wizard is seen.
struct Steps {
    Steps(Nx_Wizard& wizard, std::function<void(int)> step)
        : driver([&wizard, step, this](QWidget* modal) {
              if (modal == &wizard) step(count++);
          }) {}
    int count = 0;
    guitest::ModalDriver driver;
};

// The logs of the runs are compared with golden/wizard_runs.txt.
class NxWizardTest : public guitest::GuiTest {
protected:
    Log log;
    olmtest::GoldenSections golden{OLM_GUI_NX_GOLDEN_DIR "/wizard_runs.txt"};
};

TEST_F(NxWizardTest, WizardOwnsItsPagesWhichJoinInOrderAndLeaveWhenDeleted) {
    QPointer<QLabel> body;
    QPointer<Nx_WizardPage> first;
    {
        Nx_Wizard wizard("Olm Wizard", nullptr, "OlmWiz", true, 0);
        EXPECT_EQ(wizard.objectName(), "OlmWiz");
        EXPECT_TRUE(wizard.isModal());
        first = new LoggingPage(&wizard, "First", log);
        auto* second = new LoggingPage(&wizard, "Second", log);
        auto* third = new LoggingPage(&wizard, "Third", log);
        ASSERT_EQ(wizard.nxPages(), (QList<Nx_WizardPage*>{first, second, third}));
        EXPECT_EQ(first->pageBackName() + "|" + second->pageBackName() + "|" + second->pageNextName() + "|" +
                      third->pageNextName(),
                  "|First|Third|");
        delete second;
        EXPECT_EQ(wizard.nxPages(), (QList<Nx_WizardPage*>{first, third}));
        EXPECT_EQ(wizard.pageIds().size(), 2);
        EXPECT_EQ(first->pageNextName(), "Third");
        body = new QLabel("body");
        first->setPageWidget(body);
        EXPECT_TRUE(wizard.isAncestorOf(body));
    }
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(body.isNull());
}

TEST_F(NxWizardTest, PageWithoutAWizardOnlyKeepsItsWidget) {
    QWidget owner;
    LoggingPage alone(&owner, "Alone", log);
    EXPECT_EQ(alone.wizard(), nullptr);
    EXPECT_EQ(alone.pageWidget()->parent(), &owner);
}

// A run: the pages (L a logging page, I one with an init() slot), whether
// the pages refuse once each move they are asked for (A Next, B Back, Cancel
// and Finish), the buttons pressed in turn and what exec() returns.
struct Run {
    const char* name;
    const char* pages;
    bool refusing;
    std::vector<QWizard::WizardButton> presses;
    int result;
};

void PrintTo(const Run& r, std::ostream* os) { *os << r.name; }

class NxWizardRun : public NxWizardTest, public testing::WithParamInterface<Run> {};

TEST_P(NxWizardRun, CallsTheSlotsOfThePagesInTheLoggedOrder) {
    Nx_Wizard wizard("W");
    std::vector<LoggingPage*> pages;
    for (const char* kind = GetParam().pages; *kind; ++kind) {
        const QString name(QChar('A' + static_cast<int>(pages.size())));
        pages.push_back(*kind == 'I' ? new InitPage(&wizard, name, log) : new LoggingPage(&wizard, name, log));
    }
    if (GetParam().refusing) pages[0]->refuseNext = pages[1]->refuseBack = pages[1]->refuseCancel = pages[1]->refuseFinish = 1;
    Steps presses(wizard, [&](int n) {
        if (n < static_cast<int>(GetParam().presses.size())) wizard.button(GetParam().presses[n])->click();
    });
    EXPECT_EQ(wizard.exec(), GetParam().result);
    golden.Check(GetParam().name, log);
}

using B = QWizard;
INSTANTIATE_TEST_SUITE_P(
    Runs, NxWizardRun,
    testing::Values(Run{"finished", "LI", false, {B::NextButton, B::FinishButton}, 1},
                    // init() runs once, onActive() each time the page becomes current.
                    Run{"back and forth", "II", false, {B::NextButton, B::BackButton, B::NextButton, B::CancelButton}, 0},
                    // Next is refused, then taken; Back, Cancel and Finish on B
                    // are refused, and the second Cancel ends the run.
                    Run{"refused moves", "LL", true,
                        {B::NextButton, B::NextButton, B::BackButton, B::CancelButton, B::FinishButton, B::CancelButton},
                        0}));

// Help and Advanced on A: shown and pressed; on B: help disabled, no
// Advanced; then help switched off and on for A and off for the wizard. The
// state of the buttons joins the log.
TEST_F(NxWizardTest, MoreInfoAndAdvancedButtonsFollowTheWizardAndThePage) {
    Nx_Wizard wizard("W");
    auto* first = new LoggingPage(&wizard, "A", log);
    new LoggingPage(&wizard, "B", log);
    wizard.nxPages()[1]->enableMoreInfo(Nx_WizardPage::DisplayOff);
    first->advanced = 1;
    wizard.showMoreInfo(true);
    const auto buttons = [&] {
        const bool help = wizard.testOption(QWizard::HaveHelpButton);
        log += std::string("help ") + (!help ? "none" : wizard.button(QWizard::HelpButton)->isEnabled() ? "on" : "off") +
               ", advanced " + (wizard.testOption(QWizard::HaveCustomButton1) ? "shown" : "none") + "\n";
    };
    Steps steps(wizard, [&](int n) {
        if (n < 2) buttons();
        if (n == 0) {
            for (auto button : {QWizard::HelpButton, QWizard::CustomButton1, QWizard::NextButton})
                wizard.button(button)->click();
        } else if (n == 1) {
            wizard.reject();
        }
    });
    wizard.exec();
    first->showMoreInfo(Nx_WizardPage::DisplayOff);
    wizard.restart();
    buttons();
    first->showMoreInfo(Nx_WizardPage::DisplayOn);
    buttons();
    wizard.showMoreInfo(false);
    buttons();
    golden.Check("more info and advanced", log);
}

// A turn of the wheel towards the user over the middle of a widget.
void TurnWheel(QWidget* widget) {
    const QPointF at(widget->rect().center());
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// The wheel over a combo box or spin box of a scrolling page changes it only
// while it has the focus; otherwise the page scrolls. The guard also covers
// a widget the page gets after it was given its body.
TEST_F(NxWizardTest, WheelChangesOnlyTheFocusedComboOrSpinBoxElseScrollsThePage) {
    Nx_Wizard wizard("W");
    auto* page = new LoggingPage(&wizard, "A", log);
    auto* scroll = new QScrollArea;
    auto* body = new QWidget;
    auto* column = new QVBoxLayout(body);
    auto* combo = new QComboBox;
    combo->addItems({"one", "two", "three"});
    column->addWidget(combo);
    column->addSpacing(2000);
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    page->setPageWidget(scroll);
    auto* spin = new QSpinBox;
    spin->setValue(5);
    column->insertWidget(1, spin);
    wizard.resize(400, 300);
    wizard.show();
    QApplication::setActiveWindow(&wizard);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&wizard));
    QScrollBar* bar = scroll->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);

    EXPECT_EQ(combo->focusPolicy(), Qt::StrongFocus) << "the wheel gives no focus";
    TurnWheel(combo);
    EXPECT_EQ(combo->currentIndex(), 0) << "an unfocused combo box keeps its choice";
    EXPECT_GT(bar->value(), 0) << "the page scrolls instead";
    bar->setValue(0);
    TurnWheel(spin);
    EXPECT_EQ(spin->value(), 5) << "the page's later spin box is guarded once it is current";
    EXPECT_GT(bar->value(), 0);

    combo->setFocus();
    ASSERT_TRUE(combo->hasFocus());
    TurnWheel(combo);
    EXPECT_EQ(combo->currentIndex(), 1) << "the focused combo box takes the wheel";
    spin->setFocus();
    TurnWheel(spin);
    EXPECT_EQ(spin->value(), 4);
    EXPECT_TRUE(Nx_WheelGuard::isGuarded(spin));
    wizard.hide();
}

// A walk to Finish waits for a dialog that ends by itself (a wait dialog)
// and stops, closing it, at any other dialog a page opens.
class DialogPage : public LoggingPage {
public:
    DialogPage(QWidget* parent, Log& log, bool endsByItself) : LoggingPage(parent, "Asking", log), m_ends(endsByItself) {}
    bool onNext() override {
        QDialog dialog;
        dialog.setWindowTitle("Busy");
        dialog.setProperty(Nx_Wizard::kEndsByItself, m_ends);
        if (m_ends) QTimer::singleShot(300, &dialog, &QDialog::accept);
        return dialog.exec() == QDialog::Accepted;
    }

private:
    bool m_ends;
};

TEST_F(NxWizardTest, WalkWaitsForADialogThatEndsByItselfAndStopsAtAnyOther) {
    for (const bool ends : {true, false}) {
        Nx_Wizard wizard("W");
        new DialogPage(&wizard, log, ends);
        new LoggingPage(&wizard, "Last", log);
        wizard.setWalkToFinish(true);
        EXPECT_EQ(wizard.exec(), ends ? 1 : 0) << ends;
        EXPECT_EQ(wizard.walkProblem(),
                  ends ? QString() : "a dialog 'Busy' opened on the page Asking, which the walk cannot answer");
    }
}

}  // namespace

#include "Nx_WizardTest.moc"
