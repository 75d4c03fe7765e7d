// olmwiz check-data FILE...: reads each wizard data file with the data-file
// reader and reports its errors, then the malformed pin widths that the
// reader takes without a word (PinWidthLint); exit 1 when any file has errors.

#include "CommandLine.h"
#include "Commands.h"
#include "PinWidthLint.h"
#include "StderrReports.h"

#include "datafiles/Olm_DataFileReader.h"
#include "model/Olm_WizData.h"

#include <cstdio>
#include <fstream>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz check-data [-q] FILE...\n\n"
    "Reads each wizard data file and reports every error in it to standard error,\n"
    "malformed pin widths among them.\n"
    "Prints one line per file that reads cleanly, unless -q is given.\n\n"
    "Options:\n"
    "  -q, --quiet   print nothing for files without errors\n"
    "  -h, --help    show this help\n\n"
    "Exit codes: 0 every file read without errors, 1 some file has errors or\n"
    "cannot be opened, 2 wrong usage.\n";

// One file; true when it reads without errors.
bool CheckFile(const std::string& path, bool quiet) {
    Olm_DataFileReader reader;
    if (!reader.Open(path.c_str())) {
        std::fprintf(stderr, "%s: cannot be opened\n", path.c_str());
        return false;
    }
    Olm_WizData wizData;
    const bool ok = reader.ReadFile(&wizData);
    if (!ok) {
        const int errors = reader.GetErrorCount();
        std::fprintf(stderr, "%s: %d error%s\n", path.c_str(), errors, errors == 1 ? "" : "s");
        return false;
    }
    // The file read cleanly, so it is a regular file within the reader's limits.
    std::ifstream in(path, std::ios::binary);
    const std::vector<PinWidthLint::Finding> findings = PinWidthLint::Check(in);
    for (const PinWidthLint::Finding& f : findings) {
        const std::string text = path + ": line " + std::to_string(f.line) + ": pin '" + f.pin +
                                 "' has the malformed width '" + f.width + "': " + f.problem + ".";
        std::fprintf(stderr, "%s\n", StderrReports::Printable(text).c_str());
    }
    if (!findings.empty()) {
        std::fprintf(stderr, "%s: %zu error%s\n", path.c_str(), findings.size(), findings.size() == 1 ? "" : "s");
        return false;
    }
    if (!quiet) {
        std::printf("%s: OK, wizard data '%s' with %zu blocks and %zu signals\n", path.c_str(),
                    wizData.GetWizType().c_str(), wizData.GetBlkList().size(), wizData.GetSigList().size());
    }
    return true;
}

}  // namespace

int RunCheckData(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz check-data", kHelp);
    parser.Flag("-q,--quiet");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    if (parser.Positional().empty()) return parser.Usage("no data file given");
    // The reader's messages already name the file and the line.
    const StderrReports reports;
    bool allOk = true;
    for (const std::string& path : parser.Positional()) allOk = CheckFile(path, parser.Has("quiet")) && allOk;
    std::fflush(stdout);
    return allOk ? kExitOk : kExitErrors;
}

}  // namespace olmwiz
