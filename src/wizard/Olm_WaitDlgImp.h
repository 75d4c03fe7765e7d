#pragma once

#include "wizard/Olm_WaitUI.h"

namespace Pal {
class Process;
}
class QTimer;

// The modal wait dialog: polls a child process once a second until it ends
// or the user cancels, and records the exit code.
class Olm_WaitDlgImp : public Olm_WaitUI {
    Q_OBJECT

public:
    static constexpr int kPollIntervalMs = 1000;
    static constexpr int kNoExitCode = 2000;  // nothing recorded yet

    explicit Olm_WaitDlgImp(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                            Qt::WindowFlags flags = {});
    ~Olm_WaitDlgImp() override;

    void SetProcessPtr(Pal::Process* process) { m_process = process; }
    // Shows the dialog modally: 1 when the process ended, 0 when cancelled
    // or closed.
    int Run();
    int GetExitCode() const { return m_exitCode; }

public slots:
    void OnTimer();
    void OnCancel();

private:
    int m_exitCode = kNoExitCode;
    QTimer* m_timer = nullptr;            // child of the dialog
    Pal::Process* m_process = nullptr;    // not owned
};
