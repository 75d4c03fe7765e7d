// olmwiz run --wizard TYPE --family FAMILY --design NAME [--kfz FILE]
//            [--options FILE] [--hdl verilog|vhdl] [--outdir DIR] [--batch]
//            [--silent] [--log FILE] [--strict] [--testbench] [--walk]
//            [--render-pages DIR] [--symbol FILE]
// Runs a wizard in its window, walked unattended to Finish, or in batch mode,
// or saves its pages as pictures: a shell over Olm_RunSession.

#include "CommandLine.h"
#include "Manifest.h"
#include "PathClashes.h"
#include "Commands.h"
#include "RunArguments.h"
#include "StderrReports.h"
#include "WizardTable.h"

#include "kit/Olm_KitMain.h"
#include "kit/Olm_SymbolSvg.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace olmwiz {

namespace {

namespace fs = std::filesystem;

std::string Help() {
    std::string wizards;
    for (const WizardEntry& entry : Wizards())
        wizards += "  " + entry.name + std::string(entry.name.size() < 12 ? 12 - entry.name.size() : 1, ' ') +
                   entry.summary + "\n";
    // The options of a run request are described once, by the request.
    return "Usage: olmwiz run --wizard TYPE --family FAMILY --design NAME [--kfz FILE]\n"
           "                  [--options FILE] [--hdl verilog|vhdl] [--outdir DIR]\n"
           "                  [--batch] [--silent] [--log FILE] [--strict] [--type TYPE]\n"
           "                  [--testbench] [--walk] [--render-pages DIR] [--symbol FILE]\n\n"
           "Runs a wizard and writes the design file NAME.kfz, the HDL wrapper NAME.v\n"
           "or NAME.vhd and the constraint template NAME_olmw.pkx into the output folder.\n\n"
           "Wizards:\n" +
           wizards +
           "\nOptions:\n"
           "  -w, --wizard TYPE    the wizard type (see above)\n"
           "  -t, --type TYPE      with --wizard generic: the wizard type whose installed\n"
           "                       data it works on (tkl_..., hsx, dsp_..., ssio_...);\n"
           "                       with a plugin wizard of several types: which one\n" +
           Olm_RunRequest::UsageText(
               "      --render-pages DIR  save each page of the window, on the settings\n"
               "                       given, as DIR/NN-<page title>.png (needs no display)\n"
               "                       and write nothing else; with --walk, each page the\n"
               "                       walk passes, and the walk writes its files\n"
               "      --symbol FILE    when the run finishes, also write the symbol of the core\n"
               "                       as SVG: the wrapper's ports by purpose, and the waveforms\n"
               "                       of the output clocks of a PLL\n") +
           "\n"
           "The wizards of plugins are found in the folders of $OLMW_WIZARD_PATH and in\n"
           "the installed plugin folder (olmwiz list).\n"
           "Without --options the wizard starts from the defaults of the installed data.\n"
           "After a batch run the configured features, the files and the changed settings\n"
           "are printed; after the window is finished, the full path of each file written,\n"
           "one a line (after a walk, then those of its pictures); nothing when the window\n"
           "is cancelled. The messages of a walk go to standard error.\n"
           "A refused or failed run leaves no file and no folder behind.\n\n"
           "Exit codes: 0 finished, 1 the wizard failed or was abandoned, 2 wrong usage.\n";
}

}  // namespace

void AddRunFiles(PathClashes& clashes, const Olm_RunRequest& request, const std::string& suffix) {
    RegenJob job;
    job.request = request;
    if (job.request.outputDir.empty()) {
        std::error_code ec;
        job.request.outputDir = !request.designFile.empty() ? fs::path(request.designFile).parent_path().string()
                                                            : fs::current_path(ec).string();
        if (job.request.outputDir.empty()) job.request.outputDir = ".";
    }
    clashes.AddInput("the option file" + suffix, request.optionFile);
    clashes.AddInput("the design file" + suffix, request.designFile);
    const std::vector<std::string> outputs = job.Outputs();
    clashes.AddOutput("the design file written" + suffix, outputs[0], "the design file" + suffix);
    clashes.AddOutput("the HDL file" + suffix, outputs[1]);
    clashes.AddOutput("the constraint template" + suffix, outputs[2]);
    clashes.AddOutput("the log file" + suffix, request.logFile);
}

std::string RunClashes(const Olm_RunRequest& request) {
    PathClashes clashes;
    AddRunFiles(clashes, request, "");
    return clashes.Problem();
}

void DeclareRunOptions(CommandLine& line) {
    line.Option("-w,--wizard");
    line.Option("-f,--family");
    line.Option("-d,--design");
    line.Option("--kfz");
    line.Option("--options");
    line.Option("--hdl");
    line.Option("--outdir");
    line.Flag("--batch");
    line.Flag("--silent");
    line.Option("--log");
    line.Flag("--strict");
    line.Flag("--testbench");
    line.Option("-t,--type");
}

std::string RunRequestFrom(const CommandLine& line, Olm_RunRequest& request, const WizardEntry*& wizard) {
    for (const char* required : {"wizard", "family", "design"}) {
        if (!line.Has(required) || line.Value(required).empty()) return std::string("--") + required + " is required";
    }
    if (!line.Positional().empty()) return "unexpected argument '" + line.Positional().front() + "'";
    request = Olm_RunRequest();
    request.hdl = line.Has("hdl") ? line.Value("hdl") : "verilog";
    if (request.hdl != "verilog" && request.hdl != "vhdl")
        return "--hdl must be verilog or vhdl, not '" + request.hdl + "'";
    request.wizType = line.Value("wizard");
    wizard = FindWizard(request.wizType);
    if (!wizard) return "unknown wizard type '" + request.wizType + "' (known: " + WizardTypes() + ")";
    if (line.Has("type") && !TakesType(*wizard)) return "--type goes with --wizard generic only";
    if (const std::string problem = TypeProblem(*wizard, line.Value("type")); !problem.empty()) return problem;
    request.wizType = WizTypeOf(*wizard, line.Value("type"));
    request.design = line.Value("design");
    if (request.design.find('/') != std::string::npos)
        return "--design takes a name, not a path: '" + request.design + "'";
    request.family = line.Value("family");
    request.designFile = line.Value("kfz");
    request.optionFile = line.Value("options");
    request.outputDir = line.Value("outdir");
    request.logFile = line.Value("log");
    request.batch = line.Has("batch");
    request.silent = line.Has("silent");
    request.strict = line.Has("strict");
    request.testbench = line.Has("testbench");
    return {};
}

// The failure without the reports it quotes that already went to standard
// error (the data-file reader's): each is shown once.
static std::string Unrepeated(const Olm_RunOutcome& outcome, const StderrReports& reports) {
    std::string failure = outcome.failure;
    for (const std::string& message : outcome.messages) {
        if (message.empty() || !reports.Reported(message)) continue;
        if (const std::size_t at = failure.find("\n" + message); at != std::string::npos)
            failure.erase(at, message.size() + 1);
    }
    while (!failure.empty() && (failure.back() == ':' || failure.back() == '\n')) failure.pop_back();
    return failure;
}

int RunRun(const std::vector<std::string>& args) {
    static const std::string help = Help();
    CommandLine parser("olmwiz run", help);
    DeclareRunOptions(parser);
    parser.Option("--render-pages");
    parser.Option("--symbol");
    parser.Flag("--walk");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    Olm_RunRequest request;
    const WizardEntry* wizard = nullptr;
    if (const std::string problem = RunRequestFrom(parser, request, wizard); !problem.empty())
        return parser.Usage(problem);

    request.walk = parser.Has("walk");
    if (request.walk && request.batch) return parser.Usage("--walk runs the window; it does not go with --batch");
    const bool walk = request.walk;

    if (const std::string clash = RunClashes(request); !clash.empty()) return parser.Fail(clash);

    const bool snapshots = parser.Has("render-pages");
    if (snapshots) {
        if (request.batch) return parser.Usage("--render-pages shows the window's pages; it does not go with --batch");
        const std::string folder = parser.Value("render-pages");
        if (folder.empty()) return parser.Usage("--render-pages needs a folder");
        std::error_code ec;
        const std::filesystem::path path = std::filesystem::absolute(folder, ec).lexically_normal();
        std::filesystem::create_directories(path, ec);
        if (ec || !std::filesystem::is_directory(path)) return parser.Fail("cannot create the folder '" + folder + "'");
        request.pageSnapshotDir = path.string();
        // No display is needed: the window is drawn offscreen. Qt reads this
        // when the session makes the application.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    // The symbol is written after the run's files, so its file is checked
    // first: a path it cannot be written to refuses the run before anything
    // is written. The session works in the output folder: the path is made
    // absolute here.
    std::string symbolFile;
    if (parser.Has("symbol")) {
        if (snapshots && !walk)
            return parser.Usage("--symbol goes with a run that finishes; it does not go with --render-pages");
        const std::string given = parser.Value("symbol");
        if (given.empty()) return parser.Usage("--symbol needs a file");
        std::error_code ec;
        symbolFile = std::filesystem::absolute(given, ec).lexically_normal().string();
        if (ec) return parser.Fail("cannot use the symbol file '" + given + "'");
        PathClashes clashes;
        AddRunFiles(clashes, request, "");
        clashes.AddOutput("the symbol file", symbolFile);
        if (const std::string clash = clashes.Problem(); !clash.empty()) return parser.Fail(clash);
        if (std::string error; !Olm_SymbolSvg::CanWrite(symbolFile, error)) return parser.Fail(error);
    }
    Olm_RunSession::Factory factory = FactoryOf(*wizard, request.wizType);
    if (!symbolFile.empty()) {
        factory = [inner = std::move(factory), symbolFile](bool batch) {
            std::unique_ptr<Olm_KitMain> main = inner(batch);
            if (main) main->SetSymbolFile(symbolFile);
            return main;
        };
    }

    // The data-file reader reports through the message manager: to stderr.
    const StderrReports reports;
    // A batch run gives its messages here, after the run, so that each is
    // shown once: the reasons of a failure on standard error, with the
    // failure, and every other message on standard output.
    const bool quiet = request.silent;
    if (request.batch) request.silent = true;
    Olm_RunSession session;
    const Olm_RunOutcome outcome = session.Run(request, factory);
    const std::string failure = Unrepeated(outcome, reports);
    if (snapshots && (walk || !outcome.failure.empty())) {
        // The pages before the one that stopped the walk are no answer.
        if (!outcome.Succeeded()) {
            std::error_code ec;
            for (const std::string& file : outcome.snapshots) std::filesystem::remove(file, ec);
        }
    }
    if (snapshots && !walk) {
        if (!outcome.failure.empty()) {
            // The pages before the one that stopped the walk are no answer.
            std::error_code ec;
            for (const std::string& file : outcome.snapshots) std::filesystem::remove(file, ec);
            return parser.Fail(failure);
        }
        for (const std::string& file : outcome.snapshots) std::printf("%s\n", file.c_str());
        return kExitOk;
    }
    for (const std::string& message : outcome.messages) {
        if (quiet || !(request.batch || walk) || reports.Reported(message)) continue;
        if (!outcome.Succeeded() && failure.find(message) != std::string::npos) continue;
        // Standard output of a walk is the files, as after the window.
        std::fprintf(walk ? stderr : stdout, "%s\n", message.c_str());
    }
    // A window the user cancelled wrote nothing and says nothing.
    if (!request.batch && !walk && outcome.result == 1) return kExitErrors;
    if (!outcome.Succeeded()) return parser.Fail(failure);
    if (quiet) return kExitOk;
    if (request.batch) {
        std::fputs(outcome.Report().c_str(), stdout);
    } else {
        for (const std::string& file : outcome.files) {
            std::error_code ec;
            const std::filesystem::path full = std::filesystem::absolute(file, ec);
            std::printf("%s\n", (ec ? file : full.lexically_normal().string()).c_str());
        }
        for (const std::string& file : outcome.snapshots) std::printf("%s\n", file.c_str());
        // Standard output stays one path a line; what was left out goes beside it.
        for (const std::string& line : outcome.notWritten) std::fprintf(stderr, "olmwiz run: %s\n", line.c_str());
    }
    return kExitOk;
}

}  // namespace olmwiz
