#pragma once

#include "OlmBase.h"
#include "wizard/Olm_WizPage.h"

#include <QPointer>

class Nx_WizardPage;

namespace OlmRef {

// The page class of the reference wizards. It does what every page does
// alike: a batch run is the page's check, and the window page is made on
// request and kept by a guarded pointer (the wizard window owns it).
// A concrete page supplies Check, Title and MakeGui.
class RefWizPage : public Olm_WizPage {
public:
    explicit RefWizPage(Olm_WizMain* main);

    bool RunBatch() override;
    bool CreateGuiDlg(Nx_Wizard* wizard) override;
    Nx_WizardPage* GetGui() override;

    // Checks what the page sets; reports the first problem and returns false.
    virtual bool Check() = 0;
    // The page title, also the help topic of More Info.
    virtual Pal::String Title() const = 0;

protected:
    // Makes the window page, with the wizard as its parent.
    virtual Nx_WizardPage* MakeGui(Nx_Wizard* wizard) = 0;

private:
    QPointer<Nx_WizardPage> m_gui;
};

}  // namespace OlmRef
