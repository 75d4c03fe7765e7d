#include "OutputClocksPage.h"

#include "OutputClocksGui.h"
#include "PllWizMain.h"

#include "../common/DesignUtil.h"
#include "../common/PortNameCheck.h"

namespace TklPll {

OutputClocksPage::OutputClocksPage(PllWizMain* main) : RefWizPage(main), m_main(main) {}

Nx_WizardPage* OutputClocksPage::MakeGui(Nx_Wizard* wizard) { return new OutputClocksGui(wizard, this); }

bool OutputClocksPage::CheckRange(int output, const char* what, const char* attr, const std::string& value) {
    std::string lo, hi;
    double v = 0.0, min = 0.0, max = 0.0;
    const std::string name = "CLKOUT" + std::to_string(output) + attr;
    const bool haveRange = OlmRef::AttrRange(m_main->Block(), name.c_str(), lo, hi) && OlmRef::ParseNumber(lo, min) &&
                           OlmRef::ParseNumber(hi, max);
    if (OlmRef::ParseNumber(value, v) && (!haveRange || (v >= min && v <= max))) return true;
    Pal::String text;
    if (haveRange)
        text.Format("CLKOUT%d: the %s '%s' must be a number from %s to %s.", output, what, value.c_str(), lo.c_str(),
                    hi.c_str());
    else
        text.Format("CLKOUT%d: the %s '%s' is not a number.", output, what, value.c_str());
    IssueMessage(text, true, false, false);
    return false;
}

bool OutputClocksPage::Check() {
    const PllConfig& config = m_main->Config();
    Pal::String text;
    bool any = false;
    for (const PllOutputConfig& out : config.outputs) any = any || out.enabled;
    if (!any) {
        IssueMessage("Enable at least one output clock.", true, false, false);
        return false;
    }
    if (config.feedback != "CLKFBOUT") {
        int n = -1;
        if (config.feedback.size() == 7 && config.feedback.rfind("CLKOUT", 0) == 0) n = config.feedback[6] - '0';
        if (n < 0 || n >= kMaxOutputs || !config.outputs[n].enabled) {
            IssueMessage(text.Format("The feedback source %s is not an enabled output clock.", config.feedback.c_str()),
                         true, false, false);
            return false;
        }
    }
    for (int n = 0; n < kMaxOutputs; ++n) {
        const PllOutputConfig& out = config.outputs[n];
        if (!out.enabled) continue;
        if (!CheckRange(n, "phase", "_PHASE", out.phase)) return false;
        if (!CheckRange(n, "duty cycle", "_DUTY", out.duty)) return false;
    }
    const PllResult result = m_main->Solve(config, true);
    if (!result.ok) {
        IssueMessage(text.Format("RKO_ADV cannot generate the requested clocks. %s", result.Message().c_str()), true,
                     false, false);
        return false;
    }
    std::vector<std::string> ports = {config.inputPort};
    if (config.useReset) ports.push_back(config.resetPort);
    if (config.useLocked) ports.push_back(config.lockedPort);
    for (const PllOutputConfig& out : config.outputs)
        if (out.enabled) ports.push_back(out.port);
    if (!OlmRef::CheckPortNames(*this, ports, m_main->GetHdlSelector())) return false;
    m_main->Commit(result);
    return true;
}

}  // namespace TklPll
