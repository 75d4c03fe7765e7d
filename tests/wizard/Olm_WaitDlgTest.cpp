// The wait dialogs against real short-lived child processes, against the
// Cancel button and the Escape key, and against a fake child where the
// number of polls matters. Each run of the modal dialog lasts at least one
// polling interval (1000 ms), so the runs are few.

#include "GuiTestSupport.h"

#include "pal/Process.h"
#include "wizard/Olm_Wait2Dlg.h"
#include "wizard/Olm_WaitDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <functional>

namespace {

// A child that answers as told: running for the first `runningPolls` polls,
// then the given status and exit code.
class FakeProcess : public Pal::Process {
public:
    FakeProcess(int runningPolls, int status, int retcode)
        : m_runningPolls(runningPolls), m_status(status), m_retcode(retcode) {}
    int ChildProcStatus() override { return ++polls <= m_runningPolls ? kRunning : m_status; }
    int GetChildRetcode() override { return m_retcode; }
    // Lets the child end normally at the next poll.
    void End() { m_runningPolls = 0; }

    int polls = 0;

private:
    int m_runningPolls;
    int m_status;
    int m_retcode;
};

// Runs `action` on the modal dialog once, `ms` after it has opened.
void WhenModal(std::function<void(QWidget*)> action, int ms = 50) {
    QTimer::singleShot(ms, [action] {
        QWidget* dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        action(dlg);
    });
}

void ClickCancel(QWidget* dlg) { dlg->findChild<QPushButton*>("IDCANCEL2")->click(); }

// Lets polls that a closed dialog might still make happen.
void SpinEventLoop(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

using WaitDialogs = guitest::GuiTest;

// A child that runs for some polls and then ends with a status and return
// code: the dialog polls it once a second, the first poll after one second,
// and closes at its end with the exit code that the end gives.
struct Child {
    int runningPolls;
    int status;
    int retcode;
    int exitCode;
};

class WaitDialogChild : public WaitDialogs, public ::testing::WithParamInterface<Child> {};

TEST_P(WaitDialogChild, EndsWithTheChild) {
    const Child& c = GetParam();
    FakeProcess child(c.runningPolls, c.status, c.retcode);
    Olm_WaitDlg dlg;
    EXPECT_EQ(dlg.GetExitCode(), 2000);
    dlg.SetProcessPtr(&child);
    int pollsAtOpening = -1;
    WhenModal([&](QWidget*) { pollsAtOpening = child.polls; });
    EXPECT_EQ(dlg.Run(), 1);
    EXPECT_EQ(dlg.GetExitCode(), c.exitCode);
    EXPECT_EQ(pollsAtOpening, 0);
    EXPECT_EQ(child.polls, c.runningPolls + 1);
}

// Ended normally with 0 or 3; crashed; any other status than running or a
// normal end.
INSTANTIATE_TEST_SUITE_P(Ends, WaitDialogChild,
                         ::testing::Values(Child{0, Pal::Process::kEnded, 0, 0}, Child{2, Pal::Process::kEnded, 3, 3},
                                           Child{0, Pal::Process::kCrashed, 3, 1}, Child{0, 7, 3, 1}));

// Cancel ends the wait with exit code 1; Escape rejects the dialog the
// ordinary way and leaves the exit code as it was. Either way the closed
// dialog polls no more, and the child's later end changes nothing. Without a
// process the polls do nothing: only Cancel ends the wait.
struct Closing {
    void (*close)(QWidget*);
    int exitCode;
    bool withChild;
    int afterMs;
};

class WaitDialogClosed : public WaitDialogs, public ::testing::WithParamInterface<Closing> {};

TEST_P(WaitDialogClosed, ByTheUser) {
    const Closing& c = GetParam();
    FakeProcess child(1000, Pal::Process::kEnded, 7);
    Olm_WaitDlg dlg;
    if (c.withChild) dlg.SetProcessPtr(&child);
    QString shown;
    WhenModal([&](QWidget* d) {
        shown = d->windowTitle() + ": " + d->findChild<QLabel*>("IDC_STATIC_WAIT_TEXT")->text();
        const QTimer* timer = d->findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 1000);
        EXPECT_FALSE(timer->isSingleShot());
        c.close(d);
    }, c.afterMs);
    EXPECT_EQ(dlg.Run(), 0);
    EXPECT_EQ(shown, "Olm Wizard: Generating HDL file...");
    child.End();
    SpinEventLoop(1200);
    EXPECT_EQ(child.polls, 0);
    EXPECT_EQ(dlg.GetExitCode(), c.exitCode);
}

void PressEscape(QWidget* dlg) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dlg, &press);
}

INSTANTIATE_TEST_SUITE_P(By, WaitDialogClosed,
                         ::testing::Values(Closing{ClickCancel, 1, true, 50}, Closing{PressEscape, 2000, true, 50},
                                           Closing{ClickCancel, 1, false, 1300}));

// The text set is shown by the next Run; an empty text keeps the one shown.
TEST_F(WaitDialogs, ModelessDialogShowsItsTextUntilQuit) {
    Olm_Wait2Dlg dlg;
    QWidget* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "Olm_Wait2DialogBase") form = w;
    }
    ASSERT_NE(form, nullptr);
    auto* label = form->findChild<QLabel*>("textLabel");
    dlg.SetText("");
    dlg.Run();  // returns at once
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form->windowTitle(), "Olm Wizard");
    EXPECT_EQ(label->text(), "Waiting...");
    dlg.SetText("Building the netlist...");
    EXPECT_EQ(label->text(), "Waiting...");
    dlg.Run();
    EXPECT_EQ(label->text(), "Building the netlist...");
    dlg.Quit();
    EXPECT_FALSE(form->isVisible());
    dlg.SetText("");
    dlg.Run();
    EXPECT_EQ(label->text(), "Building the netlist...");
    EXPECT_TRUE(form->isVisible());
    dlg.Quit();
}

}  // namespace
