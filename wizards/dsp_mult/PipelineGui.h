#pragma once

#include "../common/RefWizGui.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace DspMult {

class PipelinePage;

// The window page of "Pipelining - Multiplier".
class PipelineGui : public OlmRef::RefWizGui {
public:
    PipelineGui(Nx_Wizard* wizard, PipelinePage* page);

    void dataToWidgets() override;
    void widgetsToData() override;

private:
    void UpdateLatency();

    PipelinePage* m_page;
    QComboBox* m_aPipe;
    QComboBox* m_bPipe;
    QComboBox* m_mPipe;
    QComboBox* m_pPipe;
    QComboBox* m_resetType;
    QLineEdit* m_portClk;
    QCheckBox* m_useCe;
    QLineEdit* m_portCe;
    QCheckBox* m_useRst;
    QLineEdit* m_portRst;
    QLabel* m_latency;
};

}  // namespace DspMult
