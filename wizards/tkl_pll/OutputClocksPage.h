#pragma once

#include "../common/RefWizPage.h"

#include <string>

namespace TklPll {

class PllWizMain;

// "Output Clocks": up to six outputs, each with its enable, requested
// frequency, phase, duty cycle, clock-buffer type and port name. Checking
// the page solves the dividers and writes the whole configuration into the
// model.
class OutputClocksPage : public OlmRef::RefWizPage {
public:
    static constexpr const char* kTitle = "Output Clocks";

    explicit OutputClocksPage(PllWizMain* main);

    // Checks the outputs, solves the dividers and, when all is well, commits
    // the configuration to the model; otherwise reports the first problem.
    bool Check() override;
    Pal::String Title() const override { return kTitle; }
    PllWizMain* Main() const { return m_main; }

protected:
    Nx_WizardPage* MakeGui(Nx_Wizard* wizard) override;

private:
    bool CheckRange(int output, const char* what, const char* attr, const std::string& value);

    PllWizMain* m_main;
};

}  // namespace TklPll
