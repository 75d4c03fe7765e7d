// olmwiz dump --wizard TYPE --family FAMILY [-o FILE]: loads the installed
// wizard data of a wizard type and writes it in the data-file format.
// With --kfz FILE instead of --family, the data is synchronised with a design
// file first (CmdDumpKfz.cpp).

#include "CommandLine.h"
#include "Commands.h"
#include "StderrReports.h"
#include "WizardTable.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/OutputFile.h"
#include "pal/Stream.h"

#include <cstdio>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz dump --wizard TYPE --family FAMILY [-o FILE]\n"
    "       olmwiz dump --wizard TYPE --kfz DESIGN [-o FILE]\n\n"
    "Loads the installed wizard data of a wizard type (for example tkl_pll, hsx,\n"
    "dsp_mult, ssio_mem) for a device family and writes it in the data-file format.\n\n"
    "Options:\n"
    "  -w, --wizard TYPE     the wizard type\n"
    "  -f, --family FAMILY   the device family (chooses the transceiver data)\n"
    "  -k, --kfz DESIGN      synchronise the data with a design file, whose\n"
    "                        device family is used\n"
    "  -o, --output FILE     write to FILE instead of standard output\n"
    "  -h, --help            show this help\n\n"
    "The data files are looked up in the folders of $OLMW_DATA_PATH, then in\n"
    "$OLMW_DATA_DIR when it is set, otherwise in the installation's data folder.\n"
    "The data types of wizard plugins (olmwiz list) count too.\n\n"
    "Exit codes: 0 written, 1 the data could not be loaded or written, 2 wrong usage.\n";

}  // namespace

int RunDump(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz dump", kHelp);
    parser.Option("-w,--wizard");
    parser.Option("-f,--family");
    parser.Option("-o,--output");
    parser.Option("-k,--kfz");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    if (parser.Has("kfz") && parser.Has("family")) return parser.Usage("give either --family or --kfz, not both");
    const char* missing = !parser.Has("wizard")                          ? "--wizard"
                          : !parser.Has("family") && !parser.Has("kfz") ? "--family or --kfz"
                                                                        : nullptr;
    if (missing) return parser.Usage(std::string(missing) + " is required");
    if (const int exitCode = parser.RejectPositional(); exitCode != CommandLine::kParsed) return exitCode;

    const std::string output = parser.Value("output");
    const std::string* outputPath = parser.Has("output") ? &output : nullptr;
    if (parser.Has("kfz")) return DumpFromDesign(parser.Value("wizard"), parser.Value("kfz"), outputPath);

    // The loader reports its own errors, to standard error.
    const StderrReports reports;
    // The data types of wizard plugins count too: finding the plugins
    // registers them.
    Registry();
    const std::string wizType = parser.Value("wizard");
    Olm_Data data;
    if (!data.ReadDataFile(wizType, parser.Value("family"))) {
        if (Olm_DataTypes::FileOf(wizType, parser.Value("family")).empty())
            std::fprintf(stderr, "olmwiz dump: %s\n", Olm_DataTypes::UnknownTypeText(wizType).c_str());
        else
            std::fprintf(stderr, "olmwiz dump: the data folders searched: %s\n", Olm_DataTypes::FoldersSearched().c_str());
        return kExitErrors;
    }
    return WriteDump(*data.GetWizData(), outputPath);
}

int WriteDump(Olm_WizData& data, const std::string* output) {
    if (!output) {
        data.DumpToFile(Pal::File::getCout(), true);
        return kExitOk;
    }
    Pal::OutputFile file(*output);
    if (file.Open()) {
        data.DumpToFile(&file, true);
        if (file.Commit()) return kExitOk;
    }
    std::fprintf(stderr, "olmwiz dump: cannot write '%s': %s\n", output->c_str(), file.Reason().c_str());
    return kExitErrors;
}

}  // namespace olmwiz
