#pragma once

#include "WizardTable.h"

#include "kit/Olm_RunRequest.h"

#include <string>

// The arguments of `olmwiz run`, shared by the command and by the jobs of an
// `olmwiz regen` manifest, which are written the same way.
namespace olmwiz {

class CommandLine;
class PathClashes;

void DeclareRunOptions(CommandLine& line);
// Turns parsed arguments into the request they ask for and the wizard that
// carries it out: "" when they make one, else the problem ("--design is
// required", "unknown wizard type 'x' (known: ...)", ...). Paths stay as given.
std::string RunRequestFrom(const CommandLine& line, Olm_RunRequest& request, const WizardEntry*& wizard);
// Adds the files a run reads and writes (its option, design and log files and
// its three outputs) to clashes, each described with suffix after it (" of
// line 4"). The design file written may replace the design file read.
void AddRunFiles(PathClashes& clashes, const Olm_RunRequest& request, const std::string& suffix);
// Why the run would write over a file it reads, or "".
std::string RunClashes(const Olm_RunRequest& request);

}  // namespace olmwiz
