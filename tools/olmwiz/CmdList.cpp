// olmwiz list [--verbose]: every wizard and data type olmwiz knows, built-in
// and of plugins, with where each came from. Plugins are not loaded: their
// metadata is read from the files.

#include "CommandLine.h"
#include "Commands.h"
#include "WizardTable.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataTypes.h"
#include "devinfo/DevData.h"
#include "pal/String.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz list [--verbose]\n\n"
    "Lists every wizard (what olmwiz run --wizard takes) and every data type\n"
    "(the data file a wizard type loads), built-in or of a wizard plugin, with\n"
    "where each came from and, for a data type, where its data file was found.\n"
    "Wizard plugins are found in the folders of $OLMW_WIZARD_PATH (colon-\n"
    "separated), then in the installed plugin folder; data files in the folders\n"
    "of $OLMW_DATA_PATH, then in the data folder ($OLMW_DATA_DIR when set).\n\n"
    "Options:\n"
    "  -v, --verbose  also name every folder searched, and every file of a plugin\n"
    "                 folder that was skipped, with the reason\n"
    "  -h, --help     show this help\n\n"
    "Exit codes: 0 listed, 2 wrong usage.\n";

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(text.size() < width ? width - text.size() : 1, ' ');
}

std::string FoundAt(const std::string& file) {
    Pal::String path;
    return Olm_Data().GetDataFileName(file.c_str(), path) ? path.str() : "(not found)";
}

}  // namespace

int RunList(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz list", kHelp);
    parser.Flag("-v,--verbose");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    if (const int exitCode = parser.RejectPositional(); exitCode != CommandLine::kParsed) return exitCode;
    const Olm_WizardRegistry& registry = Registry();

    std::printf("Wizards:\n");
    for (const WizardEntry& wizard : registry.Wizards()) {
        std::string types;
        for (const std::string& type : wizard.wizardTypes) types += (types.empty() ? "" : ",") + type;
        if (wizard.anyType) types = "any (--type)";
        std::printf("  %s%s  types: %s  from: %s\n", Padded(wizard.name, 12).c_str(), wizard.summary.c_str(),
                    types.c_str(), wizard.origin.c_str());
    }

    std::printf("Data types:\n");
    struct Row {
        std::string type, file, origin;
    };
    std::vector<Row> rows = {{"tkl", Olm_Data::DataFileName("tkl", ""), "built-in"},
                             {"hsx", Olm_Data::DataFileName("hsx", ""), "built-in"},
                             {"hsx (korvo4)", Olm_Data::DataFileName("hsx", "korvo4"), "built-in"},
                             {"dsp", Olm_Data::DataFileName("dsp", ""), "built-in"},
                             {"ssio", Olm_Data::DataFileName("ssio", ""), "built-in"}};
    for (const Olm_DataTypes::Entry& entry : Olm_DataTypes::Registered())
        rows.push_back({entry.type, entry.file, entry.origin});
    for (const Row& row : rows)
        std::printf("  %s%s  at: %s  from: %s\n", Padded(row.type, 14).c_str(), Padded(row.file, 16).c_str(),
                    FoundAt(row.file).c_str(), row.origin.c_str());

    if (parser.Has("verbose")) {
        std::printf("Plugin folders searched:\n");
        for (const Olm_WizardRegistry::Folder& folder : registry.FoldersSearched())
            std::printf("  %s  (%s%s)\n", folder.path.c_str(), folder.source.c_str(),
                        folder.exists ? "" : "; no such folder");
        std::printf("Skipped:\n");
        if (registry.SkippedFiles().empty()) std::printf("  (none)\n");
        for (const Olm_WizardRegistry::Skipped& skipped : registry.SkippedFiles())
            std::printf("  %s: %s\n", skipped.file.c_str(), skipped.reason.c_str());
        std::printf("Data folders searched:\n");
        const std::vector<std::string> folders = DevSpec::getdatafolders();
        for (std::size_t i = 0; i < folders.size(); ++i) {
            const bool last = i + 1 == folders.size();
            std::printf("  %s  (%s)\n", folders[i].c_str(),
                        !last ? "OLMW_DATA_PATH" : std::getenv("OLMW_DATA_DIR") && *std::getenv("OLMW_DATA_DIR")
                                                     ? "OLMW_DATA_DIR"
                                                     : "installed");
        }
    }
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace olmwiz
