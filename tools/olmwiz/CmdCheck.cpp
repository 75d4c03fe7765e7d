// olmwiz check --kfz FILE: checks the netlist of a design file against the
// design rules that every run applies before it writes a file.

#include "CommandLine.h"
#include "Commands.h"
#include "StderrReports.h"

#include "engine/Olm_Engine.h"
#include "kit/Olm_HdlGenerator.h"
#include "translator/Olm_HdlDesign.h"

#include <cstdio>
#include <string>
#include <vector>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz check --kfz FILE\n\n"
    "Checks the netlist that the HDL wrapper of a design file would hold against\n"
    "the design rules, the same rules every run, regen job and hdl command checks\n"
    "before it writes a file:\n"
    "  - no net bit has more than one driver (an output or bidirectional pin of a\n"
    "    block, or an input port of the wrapper);\n"
    "  - every net that feeds an input of a block has a driver, and every input\n"
    "    pin the design uses is connected or tied;\n"
    "  - no bit of a signal joined to a pin is lost (a signal wider than its pin);\n"
    "  - every bit of an output port of the wrapper is driven.\n"
    "Each finding is printed on standard output as one line, \"FILE: finding\";\n"
    "a clean design prints \"FILE: meets the design rules\". Warnings go to\n"
    "standard error.\n\n"
    "Options:\n"
    "  -k, --kfz FILE   the design file to check\n"
    "  -h, --help       show this help\n\n"
    "The primitives are looked up in the installed wizard data files\n"
    "($OLMW_DATA_DIR when it is set, otherwise the installation's data folder),\n"
    "the data files of the wizard plugins and every *.dev file in the folders\n"
    "of $OLMW_DATA_PATH.\n\n"
    "Exit codes: 0 the design meets the rules, 1 findings, 2 wrong usage or a\n"
    "design file that cannot be read.\n";

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz check", kHelp);
    parser.Option("-k,--kfz");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    if (!parser.Has("kfz")) return parser.Usage("--kfz is required");
    if (const int exitCode = parser.RejectPositional(); exitCode != CommandLine::kParsed) return exitCode;
    const std::string kfzPath = parser.Value("kfz");

    Olm_Engine engine;
    Pal::String loadError;
    if (!engine.Load(kfzPath.c_str(), &loadError)) {
        parser.Fail(loadError.str());
        return kExitUsage;
    }
    Olm_HdlGenerator generator(engine.GetFamily().str());
    if (generator.DataFilesRead() == 0) {
        std::fprintf(stderr, "olmwiz check: warning: no installed wizard data file could be read; the primitives "
                             "are taken from the design alone\n");
    }
    std::vector<Olm_DesignFinding> findings;
    std::string error;
    const bool read = generator.Check(engine.GetDesign(), Olm_HdlDesign::DesignNameFromPath(kfzPath), findings, error);
    for (const auto& warning : generator.Warnings()) {
        std::fprintf(stderr, "olmwiz check: warning: '%s': %s\n", kfzPath.c_str(),
                     StderrReports::Printable(warning).c_str());
    }
    const std::string file = StderrReports::Printable(kfzPath);
    if (!read) {
        std::printf("%s: %s\n", file.c_str(), StderrReports::Printable(error).c_str());
        return kExitErrors;
    }
    for (const auto& finding : findings) {
        std::printf("%s: %s\n", file.c_str(), StderrReports::Printable(finding.text).c_str());
    }
    if (findings.empty()) std::printf("%s: meets the design rules\n", file.c_str());
    return findings.empty() ? kExitOk : kExitErrors;
}

}  // namespace olmwiz
