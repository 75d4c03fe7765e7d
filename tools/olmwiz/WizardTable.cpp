#include "WizardTable.h"

#include "GenericWizard.h"
#include "HsxWizard.h"
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
        {"hsx", "transceiver lanes: line rate, data path, clock compensation, bonding", Make<Hsx::HsxWizard>()},
        {"ssio_rx", "a source-synchronous receiver: a deserializer per line of a bus", Make<Ssio::SsioRxWizard>()},
        {"ssio_tx", "a source-synchronous transmitter: a serializer per line of a bus", Make<Ssio::SsioTxWizard>()},
        {"generic", "any installed data (--type TYPE): a page per block type, a field per attribute", nullptr,
         [](const std::string& dataType) -> Olm_RunSession::Factory {
             return [dataType](bool batch) { return std::unique_ptr<Olm_KitMain>(new Generic::GenericWizard(dataType, batch)); };
         }},
    };
    return wizards;
}

const WizardEntry* FindWizard(const std::string& type) {
    for (const WizardEntry& entry : Wizards())
        if (type == entry.type) return &entry;
    return nullptr;
}

Olm_RunSession::Factory FactoryOf(const WizardEntry& entry, const std::string& dataType) {
    return entry.forType ? entry.forType(dataType) : entry.make;
}

std::string WizardTypes() {
    std::string text;
    for (const WizardEntry& entry : Wizards()) text += (text.empty() ? "" : ", ") + std::string(entry.type);
    return text;
}

}  // namespace olmwiz
