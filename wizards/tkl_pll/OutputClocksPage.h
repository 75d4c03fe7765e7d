#pragma once

#include "OlmKit.h"

namespace TklPll {

class PllWizard;

// "Output Clocks": six outputs, each with its enable, frequency, phase, duty
// cycle, clock buffer and port, and in the window the achieved frequency and
// its error, worked out while the user types. Its checks across the
// outputs are declarative (AddCheck), so that the window shows them live.
class OutputClocksPage : public Olm_KitPage {
public:
    OutputClocksPage(Olm_KitMain* main, PllWizard* wizard);

    void BuildGui(Olm_KitGui& gui) override;
    void Refresh(Olm_KitGui& gui) override;

private:
    PllWizard* m_wizard;
};

}  // namespace TklPll
