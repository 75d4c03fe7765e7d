// olmwiz run --wizard TYPE --family FAMILY --design NAME [--kfz FILE]
//            [--options FILE] [--hdl verilog|vhdl] [--outdir DIR] [--batch]
//            [--silent] [--log FILE] [--strict]
// Runs a wizard in its window or in batch mode: a shell over Olm_RunSession.

#include "ArgParser.h"
#include "Commands.h"
#include "StderrReports.h"
#include "WizardTable.h"

#include <cstdio>
#include <string>

namespace olmwiz {

namespace {

std::string Help() {
    std::string wizards;
    for (const WizardEntry& entry : Wizards()) wizards += "  " + std::string(entry.type) + std::string(12 - std::string(entry.type).size(), ' ') + entry.summary + "\n";
    return "Usage: olmwiz run --wizard TYPE --family FAMILY --design NAME [--kfz FILE]\n"
           "                  [--options FILE] [--hdl verilog|vhdl] [--outdir DIR]\n"
           "                  [--batch] [--silent] [--log FILE] [--strict]\n\n"
           "Runs a wizard and writes the design file NAME.kfz, the HDL wrapper NAME.v\n"
           "or NAME.vhd and the constraint template NAME_olmw.pkx into the output folder.\n\n"
           "Wizards:\n" +
           wizards +
           "\nOptions:\n"
           "  -w, --wizard TYPE    the wizard type (see above)\n"
           "  -t, --type TYPE      with --wizard generic: the wizard type whose installed\n"
           "                       data it works on (tkl_..., hsx, dsp_..., ssio_...)\n"
           "  -f, --family FAMILY  the device family; with --kfz it overrides the design\n"
           "                       file's family\n"
           "  -d, --design NAME    the design name (names the files and the HDL module)\n"
           "      --kfz FILE       an existing design file to start from\n"
           "      --options FILE   an option file applied before the wizard runs\n"
           "      --hdl LANG       verilog (default) or vhdl\n"
           "      --outdir DIR     the output folder (default: the folder of --kfz,\n"
           "                       else the working directory); created when missing\n"
           "      --batch          run without a window, on the data and option file\n"
           "      --silent         batch messages go to the log only\n"
           "      --log FILE       write every message of the run and its report to FILE\n"
           "      --strict         refuse an option file that names a block type,\n"
           "                       attribute, pin or value the installed data does not\n"
           "                       define or allow (otherwise these are warnings)\n"
           "  -h, --help           show this help\n\n"
           "Without --options the wizard starts from the defaults of the installed data.\n"
           "A refused or failed run leaves no file and no folder behind.\n\n"
           "Exit codes: 0 finished, 1 the wizard failed or was abandoned, 2 wrong usage.\n";
}

}  // namespace

int RunRun(const std::vector<std::string>& args) {
    static const std::string help = Help();
    ArgParser parser("olmwiz run", help.c_str());
    parser.AddOption("wizard", 'w', true);
    parser.AddOption("family", 'f', true);
    parser.AddOption("design", 'd', true);
    parser.AddOption("kfz", 0, true);
    parser.AddOption("options", 0, true);
    parser.AddOption("hdl", 0, true);
    parser.AddOption("outdir", 0, true);
    parser.AddOption("batch", 0, false);
    parser.AddOption("silent", 0, false);
    parser.AddOption("log", 0, true);
    parser.AddOption("strict", 0, false);
    parser.AddOption("type", 't', true);
    if (const int exitCode = parser.ParseCommand(args); exitCode != ArgParser::kParsed) return exitCode;
    for (const char* required : {"wizard", "family", "design"}) {
        if (!parser.Has(required) || parser.Value(required).empty())
            return parser.Usage(std::string("--") + required + " is required");
    }
    if (const int exitCode = parser.RejectPositional(); exitCode != ArgParser::kParsed) return exitCode;
    Olm_RunRequest request;
    request.hdl = parser.Has("hdl") ? parser.Value("hdl") : "verilog";
    if (request.hdl != "verilog" && request.hdl != "vhdl")
        return parser.Usage("--hdl must be verilog or vhdl, not '" + request.hdl + "'");
    request.wizType = parser.Value("wizard");
    const WizardEntry* wizard = FindWizard(request.wizType);
    if (!wizard) return parser.Usage("unknown wizard type '" + request.wizType + "' (known: " + WizardTypes() + ")");
    if (wizard->forType) {
        if (parser.Value("type").empty()) return parser.Usage("--wizard " + request.wizType + " needs --type TYPE");
        request.wizType = parser.Value("type");
    } else if (parser.Has("type")) {
        return parser.Usage("--type goes with --wizard generic only");
    }
    request.design = parser.Value("design");
    if (request.design.find('/') != std::string::npos)
        return parser.Usage("--design takes a name, not a path: '" + request.design + "'");
    request.family = parser.Value("family");
    request.designFile = parser.Value("kfz");
    request.optionFile = parser.Value("options");
    request.outputDir = parser.Value("outdir");
    request.logFile = parser.Value("log");
    request.batch = parser.Has("batch");
    request.silent = parser.Has("silent");
    request.strict = parser.Has("strict");

    // The data-file reader reports through the message manager: to stderr.
    const StderrReports reports;
    Olm_RunSession session;
    const Olm_RunOutcome outcome = session.Run(request, FactoryOf(*wizard, request.wizType));
    if (!outcome.Succeeded()) return parser.Fail(outcome.failure);
    if (!request.silent) std::fputs(outcome.Report().c_str(), stdout);
    return kExitOk;
}

}  // namespace olmwiz
