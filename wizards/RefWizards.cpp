#include "RefWizards.h"

#include "dsp_mult/MultWizMain.h"
#include "tkl_pll/PllWizMain.h"

namespace OlmRef {

std::unique_ptr<RefWizMain> MakeRefWizard(const std::string& wizType, bool batch) {
    if (wizType == "tkl_pll") return std::make_unique<TklPll::PllWizMain>(batch);
    if (wizType == "dsp_mult") return std::make_unique<DspMult::MultWizMain>(batch);
    return nullptr;
}

const char* RefWizardTypes() { return "tkl_pll, dsp_mult"; }

}  // namespace OlmRef
