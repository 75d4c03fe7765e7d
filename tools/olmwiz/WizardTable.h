#pragma once

#include "kit/Olm_RunSession.h"

#include <string>
#include <vector>

// The wizards `olmwiz run` offers, by wizard type.
namespace olmwiz {

struct WizardEntry {
    const char* type;
    const char* summary;  // one line for the help
    Olm_RunSession::Factory make;
    // The wizard works on the installed data of any wizard type, given with
    // --type: Make gives its factory for that type (make is then null).
    Olm_RunSession::Factory (*forType)(const std::string& dataType) = nullptr;
};

const std::vector<WizardEntry>& Wizards();
// The entry of a wizard type, or null.
const WizardEntry* FindWizard(const std::string& type);
// The types, separated by ", ".
std::string WizardTypes();
// The factory of an entry for the installed data of dataType (the entry's
// own when it takes no --type), and the wizard type the run uses.
Olm_RunSession::Factory FactoryOf(const WizardEntry& entry, const std::string& dataType);

}  // namespace olmwiz
