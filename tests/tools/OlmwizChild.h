#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace badinput {

// What one olmwiz run left behind.
struct ChildResult {
    bool started = false;
    bool timedOut = false;
    int signal = 0;     // the signal that ended the child, 0 after a normal exit
    int exitCode = -1;  // after a normal exit
    std::string out;    // standard output
    std::string err;    // standard error
    std::string command;  // the argument list, for failure messages
};

// Runs the built olmwiz as a child process, straight from an argument list
// (no shell), with standard input from /dev/null and standard output and
// error captured in files of a work folder, its memory limited on request. The child inherits this
// process's environment with the variables set here on top.
class OlmwizChild {
public:
    OlmwizChild(std::string program, std::filesystem::path workDir);

    void SetEnv(const std::string& name, const std::string& value) { m_env[name] = value; }
    // A child still running after this many seconds is killed and the run
    // reported as timed out.
    void SetTimeout(int seconds) { m_timeoutSeconds = seconds; }
    // The child's address space is limited to this many bytes (RLIMIT_AS),
    // so that an allocation beyond it fails; 0: no limit.
    void SetMemoryLimit(std::uint64_t bytes) { m_memoryLimit = bytes; }
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

private:
    std::vector<std::string> Environment() const;

    std::string m_program;
    std::filesystem::path m_workDir;
    std::map<std::string, std::string> m_env;
    int m_timeoutSeconds = 60;
    std::uint64_t m_memoryLimit = 0;
};

}  // namespace badinput
