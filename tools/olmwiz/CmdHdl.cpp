// olmwiz hdl --kfz FILE --lang verilog|vhdl -o FILE [--stubs FILE]: writes
// the HDL wrapper of a design file and, on request, black-box declarations of
// the primitives it uses, built from the installed wizard data files.

#include "CommandLine.h"
#include "Commands.h"
#include "PathClashes.h"
#include "StderrReports.h"

#include "engine/Olm_Engine.h"
#include "kit/Olm_HdlGenerator.h"
#include "pal/OutputFile.h"
#include "translator/Olm_HdlDesign.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz hdl --kfz FILE --lang verilog|vhdl -o FILE [--stubs FILE]\n\n"
    "Writes the HDL wrapper of a design file: a module (Verilog) or an entity\n"
    "(VHDL) named after the design file without \".kfz\", with a port per external\n"
    "signal and an instance per block of the design.\n\n"
    "Options:\n"
    "  -k, --kfz FILE      the design file to read\n"
    "  -l, --lang LANG     verilog or vhdl\n"
    "  -o, --output FILE   the wrapper file to write\n"
    "  -s, --stubs FILE    also write black-box declarations of the primitives used,\n"
    "                      so that a simulator can elaborate the wrapper\n"
    "  -h, --help          show this help\n\n"
    "The primitives are looked up in the installed wizard data files\n"
    "($OLMW_DATA_DIR when it is set, otherwise the installation's data folder),\n"
    "the data files of the wizard plugins and every *.dev file in the folders\n"
    "of $OLMW_DATA_PATH.\n\n"
    "Exit codes: 0 written, 1 the design could not be read or the files not\n"
    "written, 2 wrong usage.\n";

}  // namespace

int RunHdl(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz hdl", kHelp);
    parser.Option("-k,--kfz");
    parser.Option("-l,--lang");
    parser.Option("-o,--output");
    parser.Option("-s,--stubs");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    const char* missing = !parser.Has("kfz")      ? "--kfz"
                          : !parser.Has("lang")   ? "--lang"
                          : !parser.Has("output") ? "-o"
                                                  : nullptr;
    if (missing) return parser.Usage(std::string(missing) + " is required");
    if (const int exitCode = parser.RejectPositional(); exitCode != CommandLine::kParsed) return exitCode;
    const std::string lang = parser.Value("lang");
    if (lang != "verilog" && lang != "vhdl") return parser.Usage("unknown language '" + lang + "' (verilog or vhdl)");
    const std::string kfzPath = parser.Value("kfz");
    const std::string outPath = parser.Value("output");
    const std::string stubsPath = parser.Value("stubs");
    if (outPath.empty() || (parser.Has("stubs") && stubsPath.empty()))
        return parser.Usage("an output file name is empty");

    PathClashes clashes;
    clashes.AddInput("the design file", kfzPath);
    clashes.AddOutput("-o", outPath);
    if (parser.Has("stubs")) clashes.AddOutput("--stubs", stubsPath);
    if (const std::string clash = clashes.Problem(); !clash.empty()) return parser.Fail(clash);

    Olm_Engine engine;
    Pal::String loadError;
    if (!engine.Load(kfzPath.c_str(), &loadError)) return parser.Fail(loadError.str());
    Olm_HdlGenerator generator(engine.GetFamily().str());
    for (const auto& warning : generator.DataWarnings()) {
        std::fprintf(stderr, "olmwiz hdl: warning: %s\n", StderrReports::Printable(warning).c_str());
    }
    if (generator.DataFilesRead() == 0) {
        std::fprintf(stderr, "olmwiz hdl: warning: no installed wizard data file could be read; the primitives "
                             "are declared from the design alone\n");
    }
    Olm_HdlGenerator::Language language = Olm_HdlGenerator::Language::Verilog;
    Olm_HdlGenerator::LanguageOf(lang, language);
    std::string wrapper;
    std::string stubs;
    std::string error;
    const bool written = generator.Write(engine.GetDesign(), Olm_HdlDesign::DesignNameFromPath(kfzPath), language,
                                         wrapper, parser.Has("stubs") ? &stubs : nullptr, error);
    for (const auto& warning : generator.Warnings()) {
        std::fprintf(stderr, "olmwiz hdl: warning: '%s': %s\n", kfzPath.c_str(),
                     StderrReports::Printable(warning).c_str());
    }
    if (!written && generator.DesignRefused()) return parser.Fail("'" + kfzPath + "': " + error);
    if (!written) {
        return parser.Fail(std::string("cannot write the ") + (lang == "verilog" ? "Verilog" : "VHDL") + " of '" +
                           kfzPath + "': " + error);
    }
    // Both files are written in full before either is put in place, so that
    // a failure of one leaves neither.
    Pal::OutputFile outFile(outPath);
    Pal::OutputFile stubsFile(stubsPath);
    const auto failed = [&parser](const Pal::OutputFile& file) {
        return parser.Fail("cannot write '" + file.Path() + "': " + file.Reason());
    };
    if (!outFile.Open() || !outFile.Write(wrapper)) return failed(outFile);
    if (parser.Has("stubs") && (!stubsFile.Open() || !stubsFile.Write(stubs) || !stubsFile.Commit()))
        return failed(stubsFile);
    if (!outFile.Commit()) return failed(outFile);
    return kExitOk;
}

}  // namespace olmwiz
