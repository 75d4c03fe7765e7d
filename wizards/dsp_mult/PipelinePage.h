#pragma once

#include "OlmBase.h"
#include "wizard/Olm_WizPage.h"

#include <QPointer>

#include <string>

class Nx_WizardPage;

namespace DspMult {

class MultWizMain;

// "Pipelining - Multiplier": register stages of the inputs, the multiplier
// and the output, the reset type, and the clock, clock-enable and reset ports.
// Checking the page commits the whole configuration to the model.
class PipelinePage : public Olm_WizPage {
public:
    static constexpr const char* kPageName = "Pipelining";

    explicit PipelinePage(MultWizMain* main);

    bool RunBatch() override;
    bool CreateGuiDlg(Nx_Wizard* wizard) override;
    Nx_WizardPage* GetGui() override;

    Pal::String Title() const;
    bool Check();
    MultWizMain* Main() const { return m_main; }

private:
    // Reports unless the value is one of the attribute's possible values.
    bool CheckChoice(const char* what, const char* attr, const std::string& value);

    MultWizMain* m_main;
    QPointer<Nx_WizardPage> m_gui;
};

}  // namespace DspMult
