#pragma once

#include "../common/RefWizGui.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace TklPll {

class GeneralSetupPage;

// The window page of General Setup.
class GeneralSetupGui : public OlmRef::RefWizGui {
public:
    GeneralSetupGui(Nx_Wizard* wizard, GeneralSetupPage* page);

    void dataToWidgets() override;
    void widgetsToData() override;

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
