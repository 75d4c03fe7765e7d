#pragma once

// The library header comes before any Qt header: Qt defines "signals" as a
// keyword, which the engine's design header uses as a member name.
#include "OlmBase.h"

#include "gui_nx/Nx_WizardPage.h"

class Nx_Wizard;
class QCheckBox;
class QComboBox;
class QLineEdit;

namespace TklPll {

class GeneralSetupPage;

// The window page of General Setup.
class GeneralSetupGui : public Nx_WizardPage {
public:
    GeneralSetupGui(Nx_Wizard* wizard, GeneralSetupPage* page);

    int advancedSupport() override;
    void dataToWidgets() override;
    void widgetsToData() override;
    void onActive() override;
    bool onCancel() override;
    bool onNext() override;
    void onMoreInfo() override;

private:
    GeneralSetupPage* m_page;
    QLineEdit* m_inputFreq;
    QLineEdit* m_inputPort;
    QComboBox* m_feedback;
    QLineEdit* m_tolerance;
    QCheckBox* m_useReset;
    QLineEdit* m_resetPort;
    QCheckBox* m_useLocked;
    QLineEdit* m_lockedPort;
};

}  // namespace TklPll
