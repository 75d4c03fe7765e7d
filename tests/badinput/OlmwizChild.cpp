#include "OlmwizChild.h"

#include "TestSupport.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace badinput {

namespace {

// Owns the file actions of one spawn.
class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool Open(int fd, const std::string& path, int flags) {
        return posix_spawn_file_actions_addopen(&m_actions, fd, path.c_str(), flags, 0600) == 0;
    }
    const posix_spawn_file_actions_t* Get() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

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
    SpawnActions actions;
    const int writeFlags = O_WRONLY | O_CREAT | O_TRUNC;
    if (!actions.Open(0, "/dev/null", O_RDONLY) || !actions.Open(1, outPath, writeFlags) ||
        !actions.Open(2, errPath, writeFlags)) {
        return result;
    }
    std::vector<std::string> env = Environment();
    std::vector<char*> argPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);
    pid_t pid = -1;
    if (posix_spawn(&pid, m_program.c_str(), actions.Get(), nullptr, argPointers.data(), envPointers.data()) != 0) {
        return result;
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
