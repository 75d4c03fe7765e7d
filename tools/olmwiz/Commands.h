#pragma once

#include <string>
#include <vector>

class Olm_WizData;

// The subcommands of olmwiz. Each lives in a source file of its own
// (CmdCheckData.cpp, CmdDump.cpp, ...) and is listed in the table of main.cpp.
namespace olmwiz {

// Exit codes of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitErrors = 1;  // the work was done and found errors, or failed
inline constexpr int kExitUsage = 2;   // the command line was wrong

// A subcommand gets the arguments after its name.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct Command {
    const char* name;
    const char* summary;  // one line for the tool's --help
    CommandFn run;
};

int RunCheckData(const std::vector<std::string>& args);
int RunDump(const std::vector<std::string>& args);
int RunShowKfz(const std::vector<std::string>& args);
// The dump of installed data synchronised with a design file (dump --kfz);
// output null writes to standard output.
int DumpFromDesign(const std::string& wizard, const std::string& kfzPath, const std::string* output);
// Writes data in the data-file format to the file output, or to standard
// output when it is null; kExitErrors when the file cannot be written.
int WriteDump(Olm_WizData& data, const std::string* output);
int RunRun(const std::vector<std::string>& args);
int RunCheckOpt(const std::vector<std::string>& args);
int RunHdl(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunRegen(const std::vector<std::string>& args);
int RunSim(const std::vector<std::string>& args);
int RunList(const std::vector<std::string>& args);

// Runs the command named name and returns its exit code; an exception that
// escapes it (std::bad_alloc when memory runs out) is reported on standard
// error and gives kExitErrors.
int RunCaught(const char* name, CommandFn run, const std::vector<std::string>& args);

}  // namespace olmwiz
