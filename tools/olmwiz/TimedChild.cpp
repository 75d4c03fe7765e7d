#include "TimedChild.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace olmwiz {

namespace {

// posix_spawn file actions and attributes, released when done.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    posix_spawn_file_actions_t actions{};
    posix_spawnattr_t attributes{};
};

}  // namespace

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string rest = path ? path : "/usr/bin:/bin";
    while (true) {
        const std::size_t colon = rest.find(':');
        const std::string dir = rest.substr(0, colon);
        if (!dir.empty()) {
            const std::string candidate = dir + "/" + program;
            if (::access(candidate.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(candidate)) return candidate;
        }
        if (colon == std::string::npos) return {};
        rest.erase(0, colon + 1);
    }
}

TimedChild::Result TimedChild::Run(const std::vector<std::string>& argv, const std::string& folder,
                                   const std::string& logFile, double limitSeconds) {
    m_exitCode = -1;
    m_error.clear();
    // A program with a "/" is taken as it is, relative to the folder.
    std::string program;
    if (!argv.empty())
        program = argv.front().find('/') == std::string::npos
                      ? FindOnPath(argv.front())
                      : (std::filesystem::path(folder) / argv.front()).string();
    if (program.empty()) {
        m_error = argv.empty() ? "no program" : "'" + argv.front() + "' is not on PATH";
        return Result::kNotStarted;
    }
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&setup.actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // Its own process group, so that a time-out stops whatever it started.
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    // The child runs in the folder: posix_spawn has no portable chdir action,
    // so the parent changes its own folder around the spawn.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::error_code ec;
    std::filesystem::current_path(folder, ec);
    if (ec) {
        m_error = "cannot enter " + folder + ": " + ec.message();
        return Result::kNotStarted;
    }
    pid_t pid = -1;
    const int started = posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attributes, args.data(), environ);
    std::filesystem::current_path(previous, ec);
    if (started != 0) {
        m_error = "cannot start " + program + ": " + std::strerror(started);
        return Result::kNotStarted;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) {
            m_error = std::string("waiting for the simulator failed: ") + std::strerror(errno);
            return Result::kCrashed;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return Result::kTimedOut;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status)) {
        m_exitCode = WEXITSTATUS(status);
        return Result::kExited;
    }
    return Result::kCrashed;
}

}  // namespace olmwiz
