#pragma once

#include "OlmBase.h"
#include "wizard/Olm_WizPage.h"

#include <QPointer>

class Nx_WizardPage;

namespace TklPll {

class PllWizMain;

// "Output Clocks": up to six outputs, each with its enable, requested
// frequency, phase, duty cycle, clock-buffer type and port name. Checking
// the page solves the dividers and writes the whole configuration into the
// model.
class OutputClocksPage : public Olm_WizPage {
public:
    static constexpr const char* kTitle = "Output Clocks";

    explicit OutputClocksPage(PllWizMain* main);

    bool RunBatch() override;
    bool CreateGuiDlg(Nx_Wizard* wizard) override;
    Nx_WizardPage* GetGui() override;

    // Checks the outputs, solves the dividers and, when all is well, commits
    // the configuration to the model; otherwise reports the first problem.
    bool Check();
    PllWizMain* Main() const { return m_main; }

private:
    bool CheckRange(int output, const char* what, const char* attr, const std::string& value);

    PllWizMain* m_main;
    QPointer<Nx_WizardPage> m_gui;  // owned by the wizard window
};

}  // namespace TklPll
