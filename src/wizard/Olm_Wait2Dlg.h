#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

#include <memory>

class Olm_Wait2DlgImp;

// The modeless wait dialog of a concrete wizard: shows "Waiting..." (or the
// text given) while the wizard works, until Quit. A QApplication must exist.
class OLM_BASE_EXPORT Olm_Wait2Dlg {
public:
    Olm_Wait2Dlg();
    ~Olm_Wait2Dlg();
    // One dialog window per handle.
    Olm_Wait2Dlg(const Olm_Wait2Dlg&) = delete;
    Olm_Wait2Dlg& operator=(const Olm_Wait2Dlg&) = delete;

    // The text for the next Run; an empty text keeps the current one.
    void SetText(Pal::String text);
    // Shows the dialog and returns at once.
    void Run();
    // Hides the dialog.
    void Quit();

private:
    std::unique_ptr<Olm_Wait2DlgImp> m_dlg;
};
