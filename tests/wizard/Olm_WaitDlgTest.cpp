// The wait dialogs against a fake child, whose polls are counted, against
// the Cancel button and the Escape key. Each run of the modal dialog lasts at
// least one polling interval (1000 ms), so the runs are few.

#include "OlmBase.h"

#include "GuiTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

// A child that answers as told: running for the first `runningPolls` polls,
// then the given status and exit code. Setting runningPolls to 0 lets it end
// at the next poll.
struct FakeProcess : Pal::Process {
    FakeProcess(int running, int end, int code) : runningPolls(running), status(end), retcode(code) {}
    int ChildProcStatus() override { return ++polls <= runningPolls ? kRunning : status; }
    int GetChildRetcode() override { return retcode; }
    int runningPolls, status, retcode, polls = 0;
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

using WaitDialogs = guitest::GuiTest;

void PressEscape(QWidget* dlg) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(dlg, &press);
}

// A wait for a child that runs for some polls and then ends with a status and
// return code, or that the user ends some time after the dialog opened. The
// dialog polls the child once a second, the first poll after one second, and
// closes at its end with the exit code that the end gives. Cancel ends the
// wait with exit code 1; Escape rejects the dialog the ordinary way and
// leaves the exit code as it was. Without a process the polls do nothing:
// only Cancel ends the wait. Once closed, the dialog polls no more.
struct Wait {
    const char* name;
    bool withChild;
    int runningPolls, status, retcode;
    void (*close)(QWidget*);  // null: the child's end closes the dialog
    int closeAfterMs;
    int result, exitCode, polls;
};

// Printed by name: the struct's padding bytes are never read.
void PrintTo(const Wait& c, std::ostream* os) { *os << c.name; }

class WaitDialog : public WaitDialogs, public ::testing::WithParamInterface<Wait> {};

TEST_P(WaitDialog, EndsWithTheChildOrTheUser) {
    const Wait& c = GetParam();
    FakeProcess child(c.runningPolls, c.status, c.retcode);
    Olm_WaitDlg dlg;
    EXPECT_EQ(dlg.GetExitCode(), 2000);
    if (c.withChild) dlg.SetProcessPtr(&child);
    int pollsAtOpening = -1;
    QString shown;
    QPointer<QTimer> timer;
    WhenModal([&](QWidget* d) {
        pollsAtOpening = child.polls;
        shown = d->windowTitle() + ": " + d->findChild<QLabel*>("IDC_STATIC_WAIT_TEXT")->text();
        timer = d->findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 1000);
        EXPECT_FALSE(timer->isSingleShot());
        if (c.close) c.close(d);
    }, c.closeAfterMs);
    EXPECT_EQ(dlg.Run(), c.result);
    EXPECT_EQ(pollsAtOpening, 0);
    EXPECT_EQ(shown, "Olm Wizard: Generating HDL file...");
    // The polling timer is the only thing that polls: once the dialog is
    // closed it is gone or stopped, so no poll can follow.
    EXPECT_TRUE(timer.isNull() || !timer->isActive());
    EXPECT_EQ(child.polls, c.polls);
    EXPECT_EQ(dlg.GetExitCode(), c.exitCode);
}

const int kEnded = Pal::Process::kEnded;

// Ended normally with 0 or 3; crashed; any other status than running or a
// normal end; then Cancel, Escape, and Cancel without a process.
INSTANTIATE_TEST_SUITE_P(Waits, WaitDialog,
                         ::testing::Values(Wait{"child_ends_at_once", true, 0, kEnded, 0, nullptr, 50, 1, 0, 1},
                                           Wait{"child_ends_after_two_polls", true, 2, kEnded, 3, nullptr, 50, 1, 3, 3},
                                           Wait{"child_crashes", true, 0, Pal::Process::kCrashed, 3, nullptr, 50, 1, 1, 1},
                                           Wait{"child_reports_another_status", true, 0, 7, 3, nullptr, 50, 1, 1, 1},
                                           Wait{"cancel_while_the_child_runs", true, 1000, kEnded, 7, ClickCancel, 50, 0, 1, 0},
                                           Wait{"escape_while_the_child_runs", true, 1000, kEnded, 7, PressEscape, 50, 0, 2000, 0},
                                           Wait{"cancel_without_a_child", false, 1000, kEnded, 7, ClickCancel, 1300, 0, 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

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
