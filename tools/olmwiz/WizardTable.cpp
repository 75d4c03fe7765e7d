#include "WizardTable.h"

#include "MultWizard.h"
#include "PllWizard.h"
#include "SsioRxWizard.h"
#include "SsioTxWizard.h"

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
        {"ssio_rx", "a source-synchronous receiver: a deserializer per line of a bus", Make<Ssio::SsioRxWizard>()},
        {"ssio_tx", "a source-synchronous transmitter: a serializer per line of a bus", Make<Ssio::SsioTxWizard>()},
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
