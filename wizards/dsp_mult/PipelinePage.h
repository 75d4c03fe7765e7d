#pragma once

#include "../common/RefWizPage.h"

#include <string>

namespace DspMult {

class MultWizMain;

// "Pipelining - Multiplier": register stages of the inputs, the multiplier
// and the output, the reset type, and the clock, clock-enable and reset ports.
// Checking the page commits the whole configuration to the model.
class PipelinePage : public OlmRef::RefWizPage {
public:
    static constexpr const char* kPageName = "Pipelining";

    explicit PipelinePage(MultWizMain* main);

    bool Check() override;
    Pal::String Title() const override;
    MultWizMain* Main() const { return m_main; }

protected:
    Nx_WizardPage* MakeGui(Nx_Wizard* wizard) override;

private:
    // Reports unless the value is one of the attribute's possible values.
    bool CheckChoice(const char* what, const char* attr, const std::string& value);

    MultWizMain* m_main;
};

}  // namespace DspMult
