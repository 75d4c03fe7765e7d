#pragma once

// The library header comes before any Qt header: Qt defines "signals" as a
// keyword, which the engine's design header uses as a member name.
#include "OlmBase.h"

#include "gui_nx/Nx_WizardPage.h"

class Nx_Wizard;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace DspMult {

class PipelinePage;

// The window page of "Pipelining - Multiplier".
class PipelineGui : public Nx_WizardPage {
public:
    PipelineGui(Nx_Wizard* wizard, PipelinePage* page);

    int advancedSupport() override;
    void dataToWidgets() override;
    void widgetsToData() override;
    void onActive() override;
    bool onCancel() override;
    bool onNext() override;
    void onMoreInfo() override;

private:
    void UpdateLatency();

    PipelinePage* m_page;
    QComboBox* m_areg;
    QComboBox* m_breg;
    QComboBox* m_mreg;
    QComboBox* m_preg;
    QComboBox* m_resetType;
    QLineEdit* m_portClk;
    QCheckBox* m_useCe;
    QLineEdit* m_portCe;
    QCheckBox* m_useRst;
    QLineEdit* m_portRst;
    QLabel* m_latency;
};

}  // namespace DspMult
