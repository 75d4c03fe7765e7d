#pragma once

#include "kit/Olm_RunSession.h"
#include "plugin/Olm_WizardRegistry.h"

#include <string>
#include <vector>

// The wizards olmwiz offers, by name: the built-in wizards of wizards/ and
// the wizard plugins of the plugin folders ($OLMW_WIZARD_PATH, then the
// installed folder), in one registry. The first use finds the plugins and
// registers their data types.
namespace olmwiz {

using WizardEntry = Olm_WizardRegistry::Wizard;

Olm_WizardRegistry& Registry();
const std::vector<WizardEntry>& Wizards();
// The entry of a wizard name, or null.
const WizardEntry* FindWizard(const std::string& name);
// The names, separated by ", ".
std::string WizardTypes();
// Whether the wizard needs --type: it works on any data type, or makes more
// than one wizard type.
bool TakesType(const WizardEntry& entry);
// Why --type TYPE does not go with the wizard ("" when it does).
std::string TypeProblem(const WizardEntry& entry, const std::string& type);
// The wizard type a run of the wizard uses: type when given, else its own.
std::string WizTypeOf(const WizardEntry& entry, const std::string& type);
// The factory of an entry for the wizard type; null, after saying why on
// standard error, when its plugin cannot be loaded.
Olm_RunSession::Factory FactoryOf(const WizardEntry& entry, const std::string& wizType);

}  // namespace olmwiz
