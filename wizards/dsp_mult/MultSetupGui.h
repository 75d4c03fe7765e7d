#pragma once

// The library header comes before any Qt header: Qt defines "signals" as a
// keyword, which the engine's design header uses as a member name.
#include "OlmBase.h"

#include "gui_nx/Nx_WizardPage.h"

class Nx_Wizard;
class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace DspMult {

class MultSetupPage;

// The window page of "General Setup - Multiplier".
class MultSetupGui : public Nx_WizardPage {
public:
    MultSetupGui(Nx_Wizard* wizard, MultSetupPage* page);

    int advancedSupport() override;
    void dataToWidgets() override;
    void widgetsToData() override;
    void onActive() override;
    bool onCancel() override;
    bool onNext() override;
    void onMoreInfo() override;

private:
    MultSetupPage* m_page;
    QSpinBox* m_aWidth;
    QCheckBox* m_aSigned;
    QSpinBox* m_bWidth;
    QCheckBox* m_bSigned;
    QSpinBox* m_pWidth;
    QLineEdit* m_portA;
    QLineEdit* m_portB;
    QLineEdit* m_portP;
};

}  // namespace DspMult
