#include "WizardTable.h"

#include "GenericWizard.h"
#include "HsxWizard.h"
#include "MultWizard.h"
#include "PllWizard.h"
#include "SsioRxWizard.h"
#include "SsioTxWizard.h"

#include <algorithm>
#include <cstdio>

namespace olmwiz {

namespace {

template <class Main>
Olm_WizardRegistry::Maker Make() {
    return [](const std::string&, bool batch) { return std::unique_ptr<Olm_KitMain>(new Main(batch)); };
}

void AddBuiltIns(Olm_WizardRegistry& registry) {
    const auto add = [&registry](const char* name, const char* summary, Olm_WizardRegistry::Maker make) {
        registry.AddBuiltIn({name, summary, {name}, false, "", {}, {}}, std::move(make));
    };
    add("tkl_pll", "a phase-locked loop with up to six output clocks", Make<TklPll::PllWizard>());
    add("dsp_mult", "a DSP block used as a pipelined multiplier", Make<DspMult::MultWizard>());
    add("hsx", "transceiver lanes: line rate, data path, clock compensation, bonding", Make<Hsx::HsxWizard>());
    add("ssio_rx", "a source-synchronous receiver: a deserializer per line of a bus", Make<Ssio::SsioRxWizard>());
    add("ssio_tx", "a source-synchronous transmitter: a serializer per line of a bus", Make<Ssio::SsioTxWizard>());
    registry.AddBuiltIn({"generic", "any installed data (--type TYPE): a page per block type, a field per attribute",
                         {}, true, "", {}, {}},
                        [](const std::string& dataType, bool batch) {
                            return std::unique_ptr<Olm_KitMain>(new Generic::GenericWizard(dataType, batch));
                        });
}

}  // namespace

Olm_WizardRegistry& Registry() {
    static Olm_WizardRegistry* registry = [] {
        // Never destroyed: a plugin's code must stay until the process ends.
        auto* made = new Olm_WizardRegistry();
        AddBuiltIns(*made);
        made->Discover(Olm_WizardRegistry::PluginFolders());
        made->RegisterDataTypes();
        made->RegisterTestbenches();
        // olmwiz-hdl, which a window run starts for the HDL file, takes the
        // primitives of the plugins' data files too.
        Olm_DataTypes::HandDown();
        return made;
    }();
    return *registry;
}

const std::vector<WizardEntry>& Wizards() { return Registry().Wizards(); }

const WizardEntry* FindWizard(const std::string& name) { return Registry().Find(name); }

bool TakesType(const WizardEntry& entry) { return entry.anyType || entry.wizardTypes.size() > 1; }

std::string TypeProblem(const WizardEntry& entry, const std::string& type) {
    if (type.empty()) return TakesType(entry) ? "--wizard " + entry.name + " needs --type TYPE" : "";
    if (entry.anyType) return {};
    if (!TakesType(entry)) return "--type goes only with a wizard of several types (" + entry.name + " has one)";
    if (std::find(entry.wizardTypes.begin(), entry.wizardTypes.end(), type) != entry.wizardTypes.end()) return {};
    std::string known;
    for (const std::string& t : entry.wizardTypes) known += (known.empty() ? "" : ", ") + t;
    return "the wizard " + entry.name + " has no type '" + type + "' (its types: " + known + ")";
}

std::string WizTypeOf(const WizardEntry& entry, const std::string& type) {
    if (!type.empty()) return type;
    return entry.wizardTypes.empty() ? entry.name : entry.wizardTypes.front();
}

Olm_RunSession::Factory FactoryOf(const WizardEntry& entry, const std::string& wizType) {
    std::string why;
    Olm_RunSession::Factory factory = Registry().FactoryOf(entry, wizType, why);
    if (!factory) std::fprintf(stderr, "olmwiz: %s\n", why.c_str());
    return factory;
}

std::string WizardTypes() {
    std::string text;
    for (const WizardEntry& entry : Wizards()) text += (text.empty() ? "" : ", ") + entry.name;
    return text;
}

}  // namespace olmwiz
