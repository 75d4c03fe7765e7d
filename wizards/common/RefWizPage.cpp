#include "RefWizPage.h"

#include "gui_nx/Nx_WizardPage.h"

namespace OlmRef {

RefWizPage::RefWizPage(Olm_WizMain* main) : Olm_WizPage(main) {}

bool RefWizPage::RunBatch() { return Check(); }

bool RefWizPage::CreateGuiDlg(Nx_Wizard* wizard) {
    if (!wizard) return false;
    m_gui = MakeGui(wizard);
    return true;
}

Nx_WizardPage* RefWizPage::GetGui() { return m_gui.data(); }

}  // namespace OlmRef
