// olmwiz-hdl: the `olmwiz hdl` command as a program of its own, with the same
// arguments, messages and exit codes. It links the model, the data-file
// reader, the engine and the translator but no Qt, so it starts in a fraction
// of the time of olmwiz: `olmwiz run` starts it as the child process that
// writes the HDL file when it lies beside olmwiz.

#include "Commands.h"

#include <csignal>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);  // write errors are reported with their reason
    std::signal(SIGXFSZ, SIG_IGN);
    return olmwiz::RunCaught("hdl", olmwiz::RunHdl, std::vector<std::string>(argv + 1, argv + argc));
}
