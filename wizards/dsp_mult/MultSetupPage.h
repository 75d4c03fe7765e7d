#pragma once

#include "OlmBase.h"
#include "wizard/Olm_WizPage.h"

#include <QPointer>

#include <string>

class Nx_WizardPage;

namespace DspMult {

class MultWizMain;

// "General Setup - Multiplier": operand widths and signedness, the product
// width and the ports of the operands and the product.
class MultSetupPage : public Olm_WizPage {
public:
    static constexpr const char* kPageName = "General Setup";

    explicit MultSetupPage(MultWizMain* main);

    bool RunBatch() override;
    bool CreateGuiDlg(Nx_Wizard* wizard) override;
    Nx_WizardPage* GetGui() override;

    // The page title, qualified by the wizard type.
    Pal::String Title() const;
    // Checks what the page sets; reports the first problem and returns false.
    bool Check();
    MultWizMain* Main() const { return m_main; }

    // Reports unless the text is a whole number inside the attribute's range.
    bool CheckWidth(const char* what, const char* attr, const std::string& value, int* result = nullptr);

private:
    MultWizMain* m_main;
    QPointer<Nx_WizardPage> m_gui;
};

}  // namespace DspMult
