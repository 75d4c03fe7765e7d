#pragma once

#include "common/WizardRunner.h"

#include <memory>
#include <string>

namespace OlmRef {

// The wizard main of a reference wizard type ("tkl_pll", "dsp_mult"), or null.
std::unique_ptr<RefWizMain> MakeRefWizard(const std::string& wizType, bool batch);
// The wizard types MakeRefWizard knows, separated by ", ".
const char* RefWizardTypes();

}  // namespace OlmRef
