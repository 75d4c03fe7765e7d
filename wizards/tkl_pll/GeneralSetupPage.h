#pragma once

#include "OlmBase.h"
#include "wizard/Olm_WizPage.h"

#include <QPointer>

class Nx_WizardPage;

namespace TklPll {

class PllWizMain;

// "General Setup": the input clock (frequency and port), the feedback
// source, the frequency tolerance and the optional reset and locked ports.
class GeneralSetupPage : public Olm_WizPage {
public:
    static constexpr const char* kTitle = "General Setup";

    explicit GeneralSetupPage(PllWizMain* main);

    bool RunBatch() override;
    bool CreateGuiDlg(Nx_Wizard* wizard) override;
    Nx_WizardPage* GetGui() override;

    // Checks what the page sets; reports the first problem and returns false.
    bool Check();
    PllWizMain* Main() const { return m_main; }

private:
    PllWizMain* m_main;
    QPointer<Nx_WizardPage> m_gui;  // owned by the wizard window
};

}  // namespace TklPll
