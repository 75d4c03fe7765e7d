// olmwiz check-opt --wizard TYPE --family FAMILY FILE...: checks option files
// against the installed data of a wizard type without applying them.

#include "CommandLine.h"
#include "Commands.h"
#include "StderrReports.h"
#include "WizardTable.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "datafiles/Olm_OptFileReader.h"
#include "kit/Olm_KitMain.h"
#include "kit/Olm_OptFileCheck.h"
#include "model/Olm_WizData.h"
#include "pal/Stream.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz check-opt [-q] --wizard TYPE [--type TYPE] --family FAMILY FILE...\n\n"
    "Checks option files against the installed data of a wizard type, without\n"
    "applying them: every statement that names a block type, attribute or pin\n"
    "that the data does not define, or a value outside an attribute's choices or\n"
    "range, is reported as FILE:LINE: what, on standard error. The attributes a\n"
    "wizard of olmwiz run defines itself (port names, wizard-only switches) count\n"
    "as defined. Prints one line per file without findings, unless -q is given.\n\n"
    "Options:\n"
    "  -w, --wizard TYPE    the wizard type whose installed data is used\n"
    "  -t, --type TYPE      with --wizard generic: the type of the installed data\n"
    "  -f, --family FAMILY  the device family (it chooses the transceiver data)\n"
    "  -q, --quiet          print nothing for files without findings\n"
    "  -h, --help           show this help\n\n"
    "Exit codes: 0 no findings, 1 findings or a file or the data cannot be read,\n"
    "2 wrong usage.\n";

}  // namespace

int RunCheckOpt(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz check-opt", kHelp);
    parser.Option("-w,--wizard");
    parser.Option("-f,--family");
    parser.Flag("-q,--quiet");
    parser.Option("-t,--type");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    for (const char* required : {"wizard", "family"}) {
        if (!parser.Has(required) || parser.Value(required).empty())
            return parser.Usage(std::string("--") + required + " is required");
    }
    if (parser.Positional().empty()) return parser.Usage("no option file given");
    const WizardEntry* wizard = FindWizard(parser.Value("wizard"));
    if (wizard && !parser.Value("type").empty() && !TakesType(*wizard))
        return parser.Usage("--type goes with --wizard generic only");
    if (const std::string problem = wizard ? TypeProblem(*wizard, parser.Value("type")) : ""; !problem.empty())
        return parser.Usage(problem);
    const std::string wizType = wizard ? WizTypeOf(*wizard, parser.Value("type")) : parser.Value("wizard");
    const StderrReports reports;
    Olm_Data data;
    if (!data.ReadDataFile(wizType, parser.Value("family")) || !data.GetWizData()) {
        const std::string file = Olm_DataTypes::FileOf(wizType, parser.Value("family"));
        return parser.Fail("cannot load the installed data of the wizard type '" + wizType + "': " +
                           (file.empty() ? Olm_DataTypes::UnknownTypeText(wizType)
                                         : "see above; the data folders searched: " + Olm_DataTypes::FoldersSearched()));
    }
    Olm_OptFileCheck check(*data.GetWizData());
    if (wizard) {
        const Olm_RunSession::Factory factory = FactoryOf(*wizard, wizType);
        if (!factory) return kExitErrors;
        const std::unique_ptr<Olm_KitMain> main = factory(true);
        if (!main) return parser.Fail("the wizard " + wizard->name + " makes no wizard of the type '" + wizType + "'");
        main->Declare(*data.GetWizData());
        main->DeclareAttributes(check);
    }
    bool clean = true;
    for (const std::string& path : parser.Positional()) {
        std::string unreadable;
        const std::vector<std::string> findings = check.Check(path, &unreadable);
        for (const std::string& finding : findings)
            std::fprintf(stderr, "%s\n", StderrReports::Printable(finding).c_str());
        if (!unreadable.empty()) std::fprintf(stderr, "%s\n", StderrReports::Printable(unreadable).c_str());
        // The file is applied to a copy of the installed data by the reader
        // of `olmwiz run`, so that what run refuses is refused here too.
        bool applied = true;
        if (unreadable.empty()) {
            Olm_WizData copy(*data.GetWizData());
            Pal::MemoryStream said;
            Olm_OptFileReader reader;
            reader.SetBatchMode(true);
            reader.SetSilent(true);
            reader.SetLogFile(&said);
            applied = reader.Read(&copy, path.c_str());
            std::string line;
            while (said.ReadLine(line)) {
                std::string_view shown = line;
                if (shown.starts_with("ERROR: ERROR")) shown.remove_prefix(7);  // says it once
                std::fprintf(stderr, "%s", StderrReports::Printable(std::string(shown)).c_str());
            }
        }
        const bool ok = findings.empty() && unreadable.empty() && applied;
        if (ok && !parser.Has("quiet")) std::printf("%s: OK\n", path.c_str());
        clean = clean && ok;
    }
    std::fflush(stdout);
    return clean ? kExitOk : kExitErrors;
}

}  // namespace olmwiz
