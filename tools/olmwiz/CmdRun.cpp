// olmwiz run --wizard TYPE --family FAMILY --design NAME [--kfz FILE]
//            [--options FILE] [--hdl verilog|vhdl] [--outdir DIR] [--batch]
//            [--silent] [--log FILE]
// Runs a reference wizard in its window or in batch mode.

#include "ArgParser.h"
#include "Commands.h"
#include "StderrReports.h"

#include "RefWizards.h"

#include <QApplication>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz run --wizard TYPE --family FAMILY --design NAME [--kfz FILE]\n"
    "                  [--options FILE] [--hdl verilog|vhdl] [--outdir DIR]\n"
    "                  [--batch] [--silent] [--log FILE]\n\n"
    "Runs a reference wizard (tkl_pll, dsp_mult) and writes the design file\n"
    "NAME.kfz, the HDL wrapper NAME.v or NAME.vhd and the constraint template\n"
    "NAME_olmw.pkx into the output folder.\n\n"
    "Options:\n"
    "  -w, --wizard TYPE    the wizard type: tkl_pll or dsp_mult\n"
    "  -f, --family FAMILY  the device family\n"
    "  -d, --design NAME    the design name (names the files and the HDL module)\n"
    "      --kfz FILE       an existing design file to start from\n"
    "      --options FILE   an option file applied before the wizard runs\n"
    "      --hdl LANG       verilog (default) or vhdl\n"
    "      --outdir DIR     the output folder (default: the folder of --kfz,\n"
    "                       else the working directory); created when missing\n"
    "      --batch          run without a window, on the data and option file\n"
    "      --silent         batch messages go to the log only\n"
    "      --log FILE       write the batch messages to FILE\n"
    "  -h, --help           show this help\n\n"
    "Without --options the wizard starts from the defaults of the installed data.\n"
    "A batch run needs no display: without DISPLAY or WAYLAND_DISPLAY it uses\n"
    "Qt's offscreen platform unless QT_QPA_PLATFORM names one.\n\n"
    "Exit codes: 0 finished, 1 the wizard failed or was abandoned, 2 wrong usage.\n";

// This program's own path, for the child process that writes the HDL file.
std::string SelfPath() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return "olmwiz";
    path.resize(static_cast<std::size_t>(length));
    return path;
}

// The program that writes the HDL file: olmwiz-hdl when it lies beside this
// program (it starts without the widget libraries), else this program's own
// hdl command.
void ChooseHdlTool(OlmRef::RunOptions& options) {
    const std::string self = SelfPath();
    const std::filesystem::path lean = std::filesystem::path(self).parent_path() / "olmwiz-hdl";
    std::error_code ec;
    if (std::filesystem::path(self).is_absolute() && std::filesystem::is_regular_file(lean, ec) &&
        ::access(lean.c_str(), X_OK) == 0) {
        options.hdlTool = lean.string();
        options.hdlToolArgs.clear();
    } else {
        options.hdlTool = self;
        options.hdlToolArgs = {"hdl"};
    }
}

// The files a run took its settings from, for the message of a failed run.
std::string SettingsFrom(const OlmRef::RunOptions& options) {
    std::string files;
    if (!options.options.empty()) files = "the option file '" + options.options + "'";
    if (!options.kfz.empty()) {
        files += (files.empty() ? "" : " and ") + std::string("the design file '") + options.kfz + "'";
    }
    return files.empty() ? files : " (settings from " + files + ")";
}

bool HasEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

int RunRun(const std::vector<std::string>& args) {
    ArgParser parser("olmwiz run", kHelp);
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
    if (const int exitCode = parser.ParseCommand(args); exitCode != ArgParser::kParsed) return exitCode;
    for (const char* required : {"wizard", "family", "design"}) {
        if (!parser.Has(required) || parser.Value(required).empty())
            return parser.Usage(std::string("--") + required + " is required");
    }
    if (const int exitCode = parser.RejectPositional(); exitCode != ArgParser::kParsed) return exitCode;
    const std::string hdl = parser.Has("hdl") ? parser.Value("hdl") : "verilog";
    if (hdl != "verilog" && hdl != "vhdl") return parser.Usage("--hdl must be verilog or vhdl, not '" + hdl + "'");
    const std::string wizType = parser.Value("wizard");
    if (!OlmRef::MakeRefWizard(wizType, true))
        return parser.Usage("unknown wizard type '" + wizType + "' (known: " + OlmRef::RefWizardTypes() + ")");
    const std::string design = parser.Value("design");
    if (design.find('/') != std::string::npos) return parser.Usage("--design takes a name, not a path: '" + design + "'");

    OlmRef::RunOptions options;
    options.wizType = wizType;
    options.family = parser.Value("family");
    options.design = design;
    options.kfz = parser.Value("kfz");
    options.options = parser.Value("options");
    options.hdl = hdl;
    options.outDir = parser.Value("outdir");
    options.log = parser.Value("log");
    options.batch = parser.Has("batch");
    options.silent = parser.Has("silent");
    ChooseHdlTool(options);

    // A batch run shows nothing, but a clock-manager batch run still builds
    // its window: without a display, Qt runs on its offscreen platform.
    if (options.batch && !HasEnv("QT_QPA_PLATFORM") && !HasEnv("DISPLAY") && !HasEnv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt wants a private runtime folder and warns on every batch run in a
    // plain shell or CI job that has none; give it one of the user's own.
    if (options.batch && !HasEnv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/olmwiz-runtime-" + std::to_string(::getuid());
        if ((::mkdir(runtime.c_str(), 0700) == 0 || errno == EEXIST) && ::chmod(runtime.c_str(), 0700) == 0)
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
    int argc = 1;
    char programName[] = "olmwiz";
    char* argv[] = {programName, nullptr};
    const QApplication app(argc, argv);

    // The data-file reader reports through the message manager: to stderr.
    const StderrReports reports;
    const OlmRef::RunOutcome outcome = OlmRef::RunWizard(options, &OlmRef::MakeRefWizard);
    if (!outcome.error.empty()) return parser.Fail(outcome.error);
    if (outcome.result == 1) return parser.Fail("the wizard was left without finishing");
    if (outcome.result != 0) return parser.Fail("the " + wizType + " wizard failed" + SettingsFrom(options));
    if (!options.silent) std::fputs(outcome.report.c_str(), stdout);
    return kExitOk;
}

}  // namespace olmwiz
