// olmwiz: the command-line tool of the Olm wizards.
//   olmwiz [--help | --version]
//   olmwiz COMMAND [ARGS...]      (olmwiz COMMAND --help for its arguments)

#include "Commands.h"
#include "WizardTable.h"

#include "pal/Version.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Every subcommand; a new one adds a line here and a source file of its own.
constexpr olmwiz::Command kCommands[] = {
    {"check-data", "read wizard data files and report their errors", olmwiz::RunCheckData},
    {"dump", "load the installed data of a wizard type and write it in the data-file format", olmwiz::RunDump},
    {"show-kfz", "print a design file as an outline of its blocks, pins and signals", olmwiz::RunShowKfz},
    {"check-opt", "check option files against the installed data of a wizard type", olmwiz::RunCheckOpt},
    {"run", "run a wizard in its window or in batch mode", olmwiz::RunRun},
    {"hdl", "write the Verilog or VHDL wrapper of a design file", olmwiz::RunHdl},
    {"check", "check the netlist of a design file against the design rules", olmwiz::RunCheck},
    {"regen", "run the jobs of a manifest in batch mode, or write a ninja file", olmwiz::RunRegen},
    {"sim", "simulate a core's self-checking testbench", olmwiz::RunSim},
    {"list", "list the wizards and data types, built-in and of plugins", olmwiz::RunList},
};

void PrintUsage(std::FILE* out) {
    std::fputs("Usage: olmwiz COMMAND [ARGS...]\n"
               "       olmwiz --help | --version\n\n"
               "Commands:\n",
               out);
    for (const auto& command : kCommands) std::fprintf(out, "  %-12s %s\n", command.name, command.summary);
    std::fputs("\nRun 'olmwiz COMMAND --help' for the arguments of a command.\n"
               "Exit codes: 0 success, 1 errors found, 2 wrong usage.\n",
               out);
}

}  // namespace

int main(int argc, char** argv) {
    // A write to a pipe nobody reads any more, or past the file-size limit,
    // fails with its reason instead of killing the program half way.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        PrintUsage(stderr);
        return olmwiz::kExitUsage;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h") {
        PrintUsage(stdout);
        return olmwiz::kExitOk;
    }
    if (first == "--version") {
        std::printf("olmwiz %s\n", Pal::Version::getValue("version").c_str());
        return olmwiz::kExitOk;
    }
    for (const auto& command : kCommands) {
        if (first == command.name) {
            // Every command knows the wizards and data types of the plugins.
            olmwiz::Registry();
            return olmwiz::RunCaught(command.name, command.run, std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "olmwiz: unknown command '%s'\n\n", first.c_str());
    PrintUsage(stderr);
    return olmwiz::kExitUsage;
}
