#pragma once

#include "../common/RefWizPage.h"

#include <string>

namespace DspMult {

class MultWizMain;

// "General Setup - Multiplier": operand widths and signedness, the product
// width and the ports of the operands and the product.
class MultSetupPage : public OlmRef::RefWizPage {
public:
    static constexpr const char* kPageName = "General Setup";

    explicit MultSetupPage(MultWizMain* main);

    bool Check() override;
    // The page title, qualified by the wizard type.
    Pal::String Title() const override;
    MultWizMain* Main() const { return m_main; }

    // Reports unless the text is a whole number inside the attribute's range.
    bool CheckWidth(const char* what, const char* attr, const std::string& value, int* result = nullptr);

protected:
    Nx_WizardPage* MakeGui(Nx_Wizard* wizard) override;

private:
    MultWizMain* m_main;
};

}  // namespace DspMult
