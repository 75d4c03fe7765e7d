#include "MultSetupPage.h"

#include "MultSetupGui.h"
#include "MultWizMain.h"

#include "../common/DesignUtil.h"
#include "../common/PortNameCheck.h"

namespace DspMult {

MultSetupPage::MultSetupPage(MultWizMain* main) : RefWizPage(main), m_main(main) {}

Nx_WizardPage* MultSetupPage::MakeGui(Nx_Wizard* wizard) { return new MultSetupGui(wizard, this); }

Pal::String MultSetupPage::Title() const { return Olm_WizMain::FormPageName(kPageName, m_main->GetWizType()); }

bool MultSetupPage::CheckWidth(const char* what, const char* attr, const std::string& value, int* result) {
    std::string lo, hi;
    int v = 0, min = 0, max = 0;
    const bool haveRange = OlmRef::AttrRange(m_main->Block(), attr, lo, hi) && OlmRef::ParseInt(lo, min) &&
                           OlmRef::ParseInt(hi, max);
    if (OlmRef::ParseInt(value, v) && (!haveRange || (v >= min && v <= max))) {
        if (result) *result = v;
        return true;
    }
    Pal::String text;
    if (haveRange)
        text.Format("The %s '%s' must be a whole number of bits from %d to %d.", what, value.c_str(), min, max);
    else
        text.Format("The %s '%s' is not a whole number of bits.", what, value.c_str());
    IssueMessage(text, true, false, false);
    return false;
}

bool MultSetupPage::Check() {
    const MultConfig& config = m_main->Config();
    int a = 0, b = 0, p = 0;
    if (!CheckWidth("width of operand A", "A_WIDTH", config.aWidth, &a)) return false;
    if (!CheckWidth("width of operand B", "B_WIDTH", config.bWidth, &b)) return false;
    if (!CheckWidth("product width", "P_WIDTH", config.pWidth, &p)) return false;
    if (p > a + b) {
        Pal::String text;
        IssueMessage(text.Format("The product width %d is larger than the full product of %d x %d bits (%d bits).", p,
                                 a, b, a + b),
                     true, false, false);
        return false;
    }
    return OlmRef::CheckPortNames(*this, {config.portA, config.portB, config.portP}, m_main->GetHdlSelector());
}

}  // namespace DspMult
