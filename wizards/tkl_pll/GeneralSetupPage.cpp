#include "GeneralSetupPage.h"

#include "GeneralSetupGui.h"
#include "PllWizMain.h"

#include "../common/DesignUtil.h"
#include "../common/PortNameCheck.h"

namespace TklPll {

GeneralSetupPage::GeneralSetupPage(PllWizMain* main) : RefWizPage(main), m_main(main) {}

Nx_WizardPage* GeneralSetupPage::MakeGui(Nx_Wizard* wizard) { return new GeneralSetupGui(wizard, this); }

bool GeneralSetupPage::Check() {
    const PllConfig& config = m_main->Config();
    Pal::String text;
    double value = 0.0;
    if (!OlmRef::ParseNumber(config.tolerancePpm, value) || value < 0.0) {
        IssueMessage(text.Format("The frequency tolerance '%s' is not a number of ppm, 0 or more.",
                                 config.tolerancePpm.c_str()),
                     true, false, false);
        return false;
    }
    if (!OlmRef::ParseNumber(config.inputFreq, value)) {
        IssueMessage(text.Format("The input clock frequency '%s' is not a number of MHz.", config.inputFreq.c_str()),
                     true, false, false);
        return false;
    }
    const PllResult input = m_main->Solve(config, false);
    if (!input.ok) {
        IssueMessage(text.Format("RKO_ADV cannot use this input clock. %s", input.Message().c_str()), true, false,
                     false);
        return false;
    }
    std::vector<std::string> ports = {config.inputPort};
    if (config.useReset) ports.push_back(config.resetPort);
    if (config.useLocked) ports.push_back(config.lockedPort);
    return OlmRef::CheckPortNames(*this, ports, m_main->GetHdlSelector());
}

}  // namespace TklPll
