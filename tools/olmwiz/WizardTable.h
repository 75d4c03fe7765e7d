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
};

const std::vector<WizardEntry>& Wizards();
// The entry of a wizard type, or null.
const WizardEntry* FindWizard(const std::string& type);
// The types, separated by ", ".
std::string WizardTypes();

}  // namespace olmwiz
