#include "kit/Olm_RunRequest.h"

#include "kit/Olm_RunArguments.h"

#include <string_view>

namespace {

// An option of the run request: its names and where its value goes (a text
// field or a flag).
struct RunOption {
    const char* shortName;  // "-f", or null
    const char* longName;   // "family": given as --family
    std::string Olm_RunRequest::*text;
    bool Olm_RunRequest::*flag;
};

constexpr RunOption kRunOptions[] = {
    {"-f", "family", &Olm_RunRequest::family, nullptr},
    {"-d", "design", &Olm_RunRequest::design, nullptr},
    {nullptr, "kfz", &Olm_RunRequest::designFile, nullptr},
    {nullptr, "options", &Olm_RunRequest::optionFile, nullptr},
    {nullptr, "hdl", &Olm_RunRequest::hdl, nullptr},
    {nullptr, "outdir", &Olm_RunRequest::outputDir, nullptr},
    {nullptr, "log", &Olm_RunRequest::logFile, nullptr},
    {nullptr, "batch", nullptr, &Olm_RunRequest::batch},
    {nullptr, "silent", nullptr, &Olm_RunRequest::silent},
    {nullptr, "strict", nullptr, &Olm_RunRequest::strict},
    {nullptr, "testbench", nullptr, &Olm_RunRequest::testbench},
    {nullptr, "walk", nullptr, &Olm_RunRequest::walk},
};

const RunOption* FindRunOption(std::string_view name, bool isShort) {
    for (const RunOption& option : kRunOptions) {
        if (isShort ? (option.shortName && name == option.shortName) : name == option.longName) return &option;
    }
    return nullptr;
}

std::string WalkWithBatchProblem() { return "--walk runs the window; it does not go with --batch"; }

// The problem of the request as a whole once every argument is read.
std::string RequestProblem(const Olm_RunRequest& request) {
    if (request.design.empty()) return "--design is required";
    if (request.design.find('/') != std::string::npos)
        return "--design takes a name, not a path: '" + request.design + "'";
    if (request.hdl != "verilog" && request.hdl != "vhdl")
        return "--hdl must be verilog or vhdl, not '" + request.hdl + "'";
    if (request.walk && request.batch) return WalkWithBatchProblem();
    return {};
}

}  // namespace

Olm_RunArguments Olm_RunRequest::FromArguments(int argc, const char* const* argv, const Olm_RunRequest& defaults,
                                                 const std::vector<CallerOption>& callerOptions) {
    Olm_RunArguments out;
    out.request = defaults;
    const auto fail = [&out](std::string problem) {
        out.problem = std::move(problem);
        return out;
    };
    for (int i = 1; i < argc && argv && argv[i]; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            out.help = true;
            out.problem.clear();
            return out;
        }
        const bool isLong = arg.size() > 2 && arg.compare(0, 2, "--") == 0;
        const bool isShort = !isLong && arg.size() == 2 && arg[0] == '-' && arg[1] != '-';
        if (!isLong && !isShort) return fail("unexpected argument '" + arg + "'");
        const std::size_t equals = isLong ? arg.find('=') : std::string::npos;
        const std::string name = isLong ? arg.substr(2, equals == std::string::npos ? equals : equals - 2) : arg;
        const std::string shown = isLong ? "--" + name : name;
        const RunOption* option = FindRunOption(name, isShort);
        const CallerOption* caller = nullptr;
        for (const CallerOption& candidate : callerOptions) {
            if (isLong && candidate.name == name) caller = &candidate;
        }
        if (!option && !caller) return fail("unknown option '" + shown + "'");
        const bool takesValue = caller ? caller->takesValue : option->text != nullptr;
        std::string value;
        if (!takesValue) {
            if (equals != std::string::npos) return fail("option '" + shown + "' takes no value");
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < argc && argv[i + 1] && std::string_view(argv[i + 1]).substr(0, 2) != "--") {
            value = argv[++i];
        } else {
            return fail("option '" + shown + "' needs a value");
        }
        if (caller) out.callerOptions[name] = value;
        else if (option->text) out.request.*(option->text) = value;
        else out.request.*(option->flag) = true;
    }
    out.problem = RequestProblem(out.request);
    return out;
}

Olm_RunArguments Olm_RunRequest::FromArguments(int argc, const char* const* argv) {
    return FromArguments(argc, argv, Olm_RunRequest());
}

std::string Olm_RunRequest::UsageText(const std::string& callerLines) {
    return "  -f, --family FAMILY  the device family; with --kfz it overrides the design\n"
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
           "      --testbench      also write the self-checking testbench NAME_tb.v or\n"
           "                       NAME_tb.vhd (run it with olmwiz sim)\n"
           "      --walk           run the window unattended (needs no display): press\n"
           "                       Next on every page, then Finish, and write the files\n"
           "                       as the window does; a page that is not complete\n"
           "                       stops it with its problems, and nothing is written\n" +
           callerLines + "  -h, --help           show this help\n";
}
