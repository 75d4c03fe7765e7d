#pragma once

#include <string>
#include <vector>

namespace olmwiz {

// Runs a program (looked up on PATH unless it holds a "/", then taken from
// the folder it runs in; never through a shell) with its
// standard output and error going to a log file, and stops it when it runs
// longer than a time limit.
class TimedChild {
public:
    enum class Result { kExited, kTimedOut, kCrashed, kNotStarted };

    // Starts argv in folder, writes its output to logFile and waits at most
    // limitSeconds; on kExited ExitCode() is its exit code.
    Result Run(const std::vector<std::string>& argv, const std::string& folder, const std::string& logFile,
               double limitSeconds);
    int ExitCode() const { return m_exitCode; }
    const std::string& Error() const { return m_error; }

private:
    int m_exitCode = -1;
    std::string m_error;
};

// The full path of a program on PATH; empty when it is not there.
std::string FindOnPath(const std::string& program);

}  // namespace olmwiz
