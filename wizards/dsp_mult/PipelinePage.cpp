#include "PipelinePage.h"

#include "MultWizMain.h"
#include "PipelineGui.h"

#include "../common/PortNameCheck.h"

namespace DspMult {

PipelinePage::PipelinePage(MultWizMain* main) : RefWizPage(main), m_main(main) {}

Nx_WizardPage* PipelinePage::MakeGui(Nx_Wizard* wizard) { return new PipelineGui(wizard, this); }

Pal::String PipelinePage::Title() const { return Olm_WizMain::FormPageName(kPageName, m_main->GetWizType()); }

bool PipelinePage::CheckChoice(const char* what, const char* attr, const std::string& value) {
    Olm_Attribute* attribute = m_main->Block() ? m_main->Block()->GetNamedAttribute(attr) : nullptr;
    if (!attribute) return true;
    const Olm_StrArray& values = attribute->GetPossibleValues();
    std::string list;
    for (int i = 0; i < values.GetSize(); ++i) {
        if (values.GetAt(i) == value.c_str()) return true;
        list += (i ? ", " : "") + values.GetAt(i).str();
    }
    Pal::String text;
    IssueMessage(text.Format("The %s '%s' is not one of %s.", what, value.c_str(), list.c_str()), true, false, false);
    return false;
}

bool PipelinePage::Check() {
    const MultConfig& config = m_main->Config();
    if (!CheckChoice("number of A input registers", "A_PIPE", config.aPipe) ||
        !CheckChoice("number of B input registers", "B_PIPE", config.bPipe) ||
        !CheckChoice("number of multiplier registers", "M_PIPE", config.mPipe) ||
        !CheckChoice("number of output registers", "P_PIPE", config.pPipe) ||
        !CheckChoice("reset type", "RESET_TYPE", config.resetType))
        return false;
    std::vector<std::string> ports = {config.portA, config.portB, config.portP};
    if (config.Latency() > 0) {
        ports.push_back(config.portClk);
        if (config.useCe) ports.push_back(config.portCe);
        if (config.useRst) ports.push_back(config.portRst);
    }
    if (!OlmRef::CheckPortNames(*this, ports, m_main->GetHdlSelector())) return false;
    m_main->Commit();
    return true;
}

}  // namespace DspMult
