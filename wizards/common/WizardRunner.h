#pragma once

#include "RefWizMain.h"

#include <memory>
#include <string>
#include <vector>

// One run of a reference wizard, as `olmwiz run` does it: engine and bridge,
// the installed data, an existing design file, an option file, then the
// wizard in its window or in batch mode.
namespace OlmRef {

struct RunOptions {
    std::string wizType;
    std::string family;
    std::string design;
    std::string kfz;      // an existing design file to start from; empty: a new design
    std::string options;  // an option file; empty: none
    std::string hdl = "verilog";
    std::string outDir;   // empty: the folder of the existing design file, else the working directory
    std::string log;      // a log file of the batch messages; empty: none
    std::string hdlTool;  // the program that writes the HDL file
    // The arguments of hdlTool before the generator's options: "hdl" for an
    // olmwiz, none for olmwiz-hdl.
    std::vector<std::string> hdlToolArgs{"hdl"};
    bool batch = false;
    bool silent = false;
};

// Makes the wizard main of a wizard type, or null when the type is not one of
// the caller's wizards.
using WizardFactory = std::unique_ptr<RefWizMain> (*)(const std::string& wizType, bool batch);

struct RunOutcome {
    int result = -1;      // the wizard's run result: 0 done, 1 abandoned, -1 failed
    std::string error;    // a set-up problem that stopped the run before the wizard
    std::string report;   // after a finished run: what was configured and written
};

// The working directory is the output folder while the wizard runs (the
// summary page names it) and is restored afterwards. A QApplication must
// exist for the GUI run and for the batch run of a clock-manager wizard.
RunOutcome RunWizard(const RunOptions& options, WizardFactory factory);

}  // namespace OlmRef
