#include "Commands.h"
#include "StderrReports.h"

#include <cstdio>
#include <exception>
#include <new>

namespace olmwiz {

int RunCaught(const char* name, CommandFn run, const std::vector<std::string>& args) {
    // An exception that escaped the command would end the program through
    // std::terminate, with a core dump and exit status 134 instead of a word.
    // The report of bad_alloc allocates nothing: memory may still be short.
    try {
        return run(args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "olmwiz %s: out of memory\n", name);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "olmwiz %s: internal error: %s\n", name, StderrReports::Printable(e.what()).c_str());
    } catch (...) {
        std::fprintf(stderr, "olmwiz %s: internal error\n", name);
    }
    std::fflush(stdout);
    return kExitErrors;
}

}  // namespace olmwiz
