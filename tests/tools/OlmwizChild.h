#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Runs of the built olmwiz (or another program) as a child process, and the
// verdicts the tests of the command give on them.
namespace olmwiztest {

// What one run left behind.
struct ChildResult {
    // The exit code; -1 when the child did not end normally. A child killed
    // at its time-out ends with 137 (128 + SIGKILL), one ended by signal N
    // with 128 + N, one that could not be started with 126 or 127.
    int exitCode = -1;
    std::string out;      // standard output
    std::string err;      // standard error
    std::string command;  // the argument list, for failure messages
};

// Runs program in workDir with olmtest::RunIn, its standard input from
// /dev/null, with this process's environment and the variables of env on
// top.
struct OlmwizChild {
    std::string program;
    std::filesystem::path workDir;
    std::map<std::string, std::string> env{};
    int timeoutSeconds = 60;  // a child still running then is killed
    // The child's address space in bytes (RLIMIT_AS), so that an allocation
    // beyond it fails; 0: no limit.
    std::uint64_t memoryLimit = 0;
    // The largest file the child may write (RLIMIT_FSIZE), as a full disk
    // would stop it; 0: no limit.
    std::uint64_t fileSizeLimit = 0;

    // AddressSanitizer reserves terabytes of address space for itself: under
    // it a child with a memory limit cannot start.
    static constexpr bool kMemoryLimitWorks =
#if defined(__SANITIZE_ADDRESS__)
        false;
#elif defined(__has_feature)
        !__has_feature(address_sanitizer);
#else
        true;
#endif

    ChildResult Run(const std::vector<std::string>& args) const;
};

// The run ended with exit code 1 and no sanitizer report, and standard error
// holds no control character but line feed and tab, names file (unless
// empty) and "line N" (unless line is 0); text (unless empty) is on standard
// error or output.
::testing::AssertionResult Refused(const ChildResult& run, const std::string& file, int line,
                                   const std::string& text);

// The run ended with exit code 0 and no sanitizer report, and standard error
// holds warning (when not empty).
::testing::AssertionResult Accepted(const ChildResult& run, const std::string& warning = "");

}  // namespace olmwiztest
