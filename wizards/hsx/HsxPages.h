#pragma once

#include "OlmKit.h"

namespace Hsx {

class HsxWizard;

// Adds the wizard's pages in their order; returns the first, the lane page.
Olm_KitPage& AddPages(HsxWizard& wizard);

}  // namespace Hsx
