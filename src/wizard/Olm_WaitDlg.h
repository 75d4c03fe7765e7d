#pragma once

#include "shared/OlmBaseExport.h"

#include <memory>

namespace Pal {
class Process;
}
class Olm_WaitDlgImp;

// The modal "Generating HDL file..." dialog of a concrete wizard. It watches
// a child process that the wizard started, polling it once a second, and
// closes when the process ends or the user presses Cancel. A QApplication
// must exist.
class OLM_BASE_EXPORT Olm_WaitDlg {
public:
    Olm_WaitDlg();
    ~Olm_WaitDlg();
    // One dialog window per handle.
    Olm_WaitDlg(const Olm_WaitDlg&) = delete;
    Olm_WaitDlg& operator=(const Olm_WaitDlg&) = delete;

    // The child process to watch; not owned. Without one the dialog waits
    // for Cancel.
    void SetProcessPtr(Pal::Process* process);
    // 1 when the process ended, 0 when cancelled or closed.
    int Run();
    // The child's exit code after its normal end; 1 after a crash or Cancel;
    // 2000 while nothing has been recorded.
    int GetExitCode();

private:
    std::unique_ptr<Olm_WaitDlgImp> m_dlg;
};
