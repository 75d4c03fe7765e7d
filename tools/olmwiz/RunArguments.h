#pragma once

#include "kit/Olm_RunRequest.h"

#include <string>

// The arguments of `olmwiz run`, shared by the command and by the jobs of an
// `olmwiz regen` manifest, which are written the same way.
namespace olmwiz {

class CommandLine;
struct WizardEntry;

void DeclareRunOptions(CommandLine& line);
// Turns parsed arguments into the request they ask for and the wizard that
// carries it out: "" when they make one, else the problem ("--design is
// required", "unknown wizard type 'x' (known: ...)", ...). Paths stay as given.
std::string RunRequestFrom(const CommandLine& line, Olm_RunRequest& request, const WizardEntry*& wizard);

}  // namespace olmwiz
