#pragma once

#include "../common/RefWizGui.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace DspMult {

class MultSetupPage;

// The window page of "General Setup - Multiplier".
class MultSetupGui : public OlmRef::RefWizGui {
public:
    MultSetupGui(Nx_Wizard* wizard, MultSetupPage* page);

    void dataToWidgets() override;
    void widgetsToData() override;

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
