#include "PortNameCheck.h"

#include "OlmBase.h"
#include "wizard/Olm_WizPage.h"

namespace OlmRef {

bool CheckPortNames(Olm_WizPage& page, const std::vector<std::string>& names, int hdl) {
    Olm_StrArray rows;
    for (const std::string& name : names) rows.Add(name);
    if (!page.UniqueNameCheck(page.GetWizDataPtr(), &rows, true)) return false;
    Pal::String report;
    if (!Olm_WizPage::CheckIllegalPortnames(&rows, report, hdl)) {
        // The report is a list of lines: shown as plain text in a window.
        page.IssueMessage(report, true, false, true);
        return false;
    }
    return true;
}

}  // namespace OlmRef
