#include "WizardTable.h"

#include "HsxWizard.h"
#include "MultWizard.h"
#include "PllWizard.h"

namespace olmwiz {

namespace {

template <class Main>
Olm_RunSession::Factory Make() {
    return [](bool batch) { return std::unique_ptr<Olm_KitMain>(new Main(batch)); };
}

}  // namespace

const std::vector<WizardEntry>& Wizards() {
    static const std::vector<WizardEntry> wizards = {
        {"tkl_pll", "a phase-locked loop with up to six output clocks", Make<TklPll::PllWizard>()},
        {"dsp_mult", "a DSP block used as a pipelined multiplier", Make<DspMult::MultWizard>()},
        {"hsx", "transceiver lanes: line rate, data path, clock compensation, bonding", Make<Hsx::HsxWizard>()},
    };
    return wizards;
}

const WizardEntry* FindWizard(const std::string& type) {
    for (const WizardEntry& entry : Wizards())
        if (type == entry.type) return &entry;
    return nullptr;
}

std::string WizardTypes() {
    std::string text;
    for (const WizardEntry& entry : Wizards()) text += (text.empty() ? "" : ", ") + std::string(entry.type);
    return text;
}

}  // namespace olmwiz
