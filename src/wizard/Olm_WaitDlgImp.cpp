#include "wizard/Olm_WaitDlgImp.h"

#include "gui_nx/Nx_Wizard.h"
#include "pal/Process.h"

#include <QPushButton>
#include <QTimer>

Olm_WaitDlgImp::Olm_WaitDlgImp(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : Olm_WaitUI(parent, name, modal, flags) {
    connect(IDCANCEL2, &QPushButton::clicked, this, &Olm_WaitDlgImp::OnCancel);
    // It closes when the child process ends: a walk through the window waits for it.
    setProperty(Nx_Wizard::kEndsByItself, true);
}

Olm_WaitDlgImp::~Olm_WaitDlgImp() = default;

int Olm_WaitDlgImp::Run() {
    // A timer of an earlier run has stopped; it goes before a new one starts.
    delete m_timer;
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &Olm_WaitDlgImp::OnTimer);
    m_timer->start(kPollIntervalMs);
    const int result = exec();
    // After Escape or the close button the timer would go on polling in the
    // caller's event loop and could still change the exit code.
    m_timer->stop();
    return result == 1 ? 1 : 0;
}

void Olm_WaitDlgImp::OnTimer() {
    if (!m_process) return;
    const int status = m_process->ChildProcStatus();
    if (status == Pal::Process::kRunning) return;
    // A normal end gives the child's own code; a crash or a failed start, 1.
    m_exitCode = status == Pal::Process::kEnded ? m_process->GetChildRetcode() : 1;
    if (m_timer) m_timer->stop();
    done(1);
}

void Olm_WaitDlgImp::OnCancel() {
    m_exitCode = 1;
    if (m_timer) m_timer->stop();
    done(0);
}
