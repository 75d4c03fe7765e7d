// The wait dialogs against real short-lived child processes, against the
// Cancel button and the Escape key, and against a fake child where the
// number of polls matters. Each run of the modal dialog lasts at least one
// polling interval (1000 ms), so the runs are few.

#include "pal/Process.h"
#include "wizard/Olm_Wait2Dlg.h"
#include "wizard/Olm_WaitDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "waitdlg_tests";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// A child that answers as told: running for the first `runningPolls` polls,
// then the given status and exit code.
class FakeProcess : public Pal::Process {
public:
    FakeProcess(int runningPolls, int status, int retcode)
        : m_runningPolls(runningPolls), m_status(status), m_retcode(retcode) {}
    int ChildProcStatus() override {
        ++polls;
        return polls <= m_runningPolls ? kRunning : m_status;
    }
    int GetChildRetcode() override { return m_retcode; }
    // Lets the child end at the next poll.
    void End(int status, int retcode) {
        m_runningPolls = 0;
        m_status = status;
        m_retcode = retcode;
    }

    int polls = 0;

private:
    int m_runningPolls;
    int m_status;
    int m_retcode;
};

QWidget* TopLevel(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(objectName)) return w;
    }
    return nullptr;
}

// Runs `action` on the modal dialog shortly after it has opened.
void WhenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(50, [action] {
        QWidget* dlg = QApplication::activeModalWidget();
        ASSERT_NE(dlg, nullptr);
        action(dlg);
    });
}

void SpinEventLoop(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void SavePng(QWidget* w, const char* file) {
    const QString path = QStringLiteral(OLM_WAITDLG_PNG_DIR "/") + QLatin1String(file);
    EXPECT_TRUE(w->grab().save(path, "PNG")) << path.toStdString();
}

class WaitDialogs : public ::testing::Test {
protected:
    void TearDown() override {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a window was left behind";
    }
};

}  // namespace

TEST_F(WaitDialogs, ModalFormAsDesigned) {
    Olm_WaitDlg dlg;
    EXPECT_EQ(dlg.GetExitCode(), 2000);
    QWidget* form = TopLevel("Olm_WaitDialogBase");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Olm Wizard");
    EXPECT_EQ(form->font().family(), "MS Sans Serif");
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->layout(), nullptr);
    EXPECT_EQ(form->size(), QSize(229, 98));

    auto* cancel = form->findChild<QPushButton*>("IDCANCEL2");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_EQ(cancel->geometry(), QRect(76, 57, 75, 30));
    EXPECT_EQ(cancel->focusPolicy(), Qt::NoFocus);

    auto* text = form->findChild<QLabel*>("IDC_STATIC_WAIT_TEXT");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Generating HDL file...");
    EXPECT_EQ(text->geometry(), QRect(19, 23, 190, 30));
    EXPECT_EQ(text->font().family(), "MS Shell Dlg");
    EXPECT_EQ(text->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(text->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(text->frameShadow(), QFrame::Plain);
    EXPECT_EQ(text->lineWidth(), 2);
    EXPECT_EQ(text->alignment(), Qt::AlignCenter);

    const QMetaObject* meta = form->metaObject();
    EXPECT_STREQ(meta->className(), "Olm_WaitDlgImp");
    EXPECT_GE(meta->indexOfSlot("OnTimer()"), 0);
    EXPECT_GE(meta->indexOfSlot("OnCancel()"), 0);
    EXPECT_LT(meta->indexOfSlot("OnTimer()"), meta->indexOfSlot("OnCancel()"));
    EXPECT_STREQ(meta->superClass()->className(), "Olm_WaitUI");
    EXPECT_GE(meta->indexOfSlot("languageChange()"), 0);
    SavePng(form, "olm_waitdlg.png");
}

TEST_F(WaitDialogs, RealChildrenEndingNormallyOrByACrash) {
    struct Child {
        const char* script;
        int exitCode;
    } children[] = {{"exit 0", 0}, {"exit 3", 3}, {"kill -SEGV $$", 1}};
    Olm_WaitDlg dlg;  // one dialog, run once per child
    for (const Child& c : children) {
        SCOPED_TRACE(c.script);
        Pal::Process child;
        ASSERT_TRUE(child.Start({"sh", "-c", c.script}));
        dlg.SetProcessPtr(&child);
        EXPECT_EQ(dlg.Run(), 1);
        EXPECT_EQ(dlg.GetExitCode(), c.exitCode);
    }
}

TEST_F(WaitDialogs, PollsOnceASecondUntilTheChildEnds) {
    FakeProcess child(2, 0, 5);
    Olm_WaitDlg dlg;
    dlg.SetProcessPtr(&child);
    int interval = 0;
    bool singleShot = true;
    WhenModal([&](QWidget* d) {
        auto* timer = d->findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        interval = timer->interval();
        singleShot = timer->isSingleShot();
        EXPECT_EQ(child.polls, 0);  // the first poll comes after one interval
    });
    EXPECT_EQ(dlg.Run(), 1);
    EXPECT_EQ(interval, 1000);
    EXPECT_FALSE(singleShot);
    EXPECT_EQ(child.polls, 3);  // twice running, then the end
    EXPECT_EQ(dlg.GetExitCode(), 5);
}

TEST_F(WaitDialogs, CancelWithoutAProcessAndWhileAChildRuns) {
    {
        // Without a process the polls do nothing: only Cancel ends the wait.
        Olm_WaitDlg dlg;
        QTimer::singleShot(1300, [] {
            QWidget* d = QApplication::activeModalWidget();
            ASSERT_NE(d, nullptr);
            d->findChild<QPushButton*>("IDCANCEL2")->click();
        });
        EXPECT_EQ(dlg.Run(), 0);
        EXPECT_EQ(dlg.GetExitCode(), 1);
    }
    {
        // The child is left running; its later end changes nothing.
        Pal::Process child;
        ASSERT_TRUE(child.Start({"sleep", "30"}));
        FakeProcess later(1000, 0, 0);
        Olm_WaitDlg dlg;
        dlg.SetProcessPtr(&later);
        WhenModal([](QWidget* d) { d->findChild<QPushButton*>("IDCANCEL2")->click(); });
        EXPECT_EQ(dlg.Run(), 0);
        EXPECT_EQ(dlg.GetExitCode(), 1);
        later.End(0, 0);
        SpinEventLoop(1200);
        EXPECT_EQ(later.polls, 0);
        EXPECT_EQ(dlg.GetExitCode(), 1);
        EXPECT_EQ(child.ChildProcStatus(), Pal::Process::kRunning);
        child.Kill();
        child.Wait();
    }
}

TEST_F(WaitDialogs, EscapeRejectsWithoutTouchingTheExitCode) {
    FakeProcess child(1000, 0, 7);
    Olm_WaitDlg dlg;
    dlg.SetProcessPtr(&child);
    WhenModal([](QWidget* d) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(d, &press);
    });
    EXPECT_EQ(dlg.Run(), 0);
    EXPECT_EQ(dlg.GetExitCode(), 2000);
    // The dialog is closed: a child that ends now is no longer polled.
    child.End(0, 7);
    SpinEventLoop(1200);
    EXPECT_EQ(child.polls, 0);
    EXPECT_EQ(dlg.GetExitCode(), 2000);
}

TEST_F(WaitDialogs, ModelessDialogShowsItsTextUntilQuit) {
    Olm_Wait2Dlg dlg;
    QWidget* form = TopLevel("Olm_Wait2DialogBase");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Olm Wizard");
    EXPECT_EQ(form->font().family(), "MS Sans Serif");
    EXPECT_EQ(form->size(), QSize(264, 115).expandedTo(form->minimumSizeHint()));
    auto* layout = qobject_cast<QVBoxLayout*>(form->layout());
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->objectName(), "Olm_Wait2DialogBaseLayout");
    EXPECT_EQ(layout->spacing(), 6);
    EXPECT_EQ(layout->contentsMargins(), QMargins(11, 11, 11, 11));
    auto* label = form->findChild<QLabel*>("textLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    EXPECT_EQ(form->metaObject()->methodCount(), form->metaObject()->superClass()->methodCount());

    dlg.SetText("");
    dlg.Run();  // returns at once
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(label->text(), "Waiting...");
    SavePng(form, "olm_wait2dlg.png");

    dlg.SetText("Building the netlist...");
    EXPECT_EQ(label->text(), "Waiting...");  // taken over by the next Run
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
