#include "OlmwizChild.h"

#include "TestSupport.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace badinput {

namespace {

// Opens path as descriptor fd of the child; between fork and exec, so only
// async-signal-safe calls.
bool Redirect(int fd, const char* path, int flags) {
    const int opened = ::open(path, flags, 0600);
    if (opened < 0) return false;
    if (opened == fd) return true;
    const bool ok = ::dup2(opened, fd) == fd;
    ::close(opened);
    return ok;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

OlmwizChild::OlmwizChild(std::string program, std::filesystem::path workDir)
    : m_program(std::move(program)), m_workDir(std::move(workDir)) {}

std::vector<std::string> OlmwizChild::Environment() const {
    std::vector<std::string> env;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text = *entry;
        if (!m_env.count(text.substr(0, text.find('=')))) env.push_back(text);
    }
    for (const auto& [name, value] : m_env) env.push_back(name + "=" + value);
    return env;
}

ChildResult OlmwizChild::Run(const std::vector<std::string>& args) const {
    ChildResult result;
    std::vector<std::string> argv{m_program};
    argv.insert(argv.end(), args.begin(), args.end());
    for (const std::string& arg : argv) result.command += (result.command.empty() ? "" : " ") + arg;

    const std::string outPath = (m_workDir / "child.out").string();
    const std::string errPath = (m_workDir / "child.err").string();
    std::vector<std::string> env = Environment();
    std::vector<char*> argPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);
    const pid_t pid = ::fork();
    if (pid < 0) return result;
    if (pid == 0) {
        const int writeFlags = O_WRONLY | O_CREAT | O_TRUNC;
        const rlimit memory{m_memoryLimit, m_memoryLimit};
        if (Redirect(0, "/dev/null", O_RDONLY) && Redirect(1, outPath.c_str(), writeFlags) &&
            Redirect(2, errPath.c_str(), writeFlags) && (m_memoryLimit == 0 || ::setrlimit(RLIMIT_AS, &memory) == 0)) {
            ::execve(m_program.c_str(), argPointers.data(), envPointers.data());
        }
        ::_exit(127);
    }
    result.started = true;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_timeoutSeconds);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) return result;
        if (std::chrono::steady_clock::now() > deadline && !result.timedOut) {
            result.timedOut = true;
            kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.out = olmtest::ReadFile(outPath);
    result.err = olmtest::ReadFile(errPath);
    return result;
}

}  // namespace badinput
