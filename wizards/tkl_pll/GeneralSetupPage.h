#pragma once

#include "../common/RefWizPage.h"

#include <string>

namespace TklPll {

class PllWizMain;

// "General Setup": the input clock (frequency and port), the feedback
// source, the frequency tolerance and the optional reset and locked ports.
class GeneralSetupPage : public OlmRef::RefWizPage {
public:
    static constexpr const char* kTitle = "General Setup";

    explicit GeneralSetupPage(PllWizMain* main);

    bool Check() override;
    Pal::String Title() const override { return kTitle; }
    PllWizMain* Main() const { return m_main; }

protected:
    Nx_WizardPage* MakeGui(Nx_Wizard* wizard) override;

private:
    PllWizMain* m_main;
};

}  // namespace TklPll
