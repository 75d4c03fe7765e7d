#include "pal/Process.h"

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Pal {

Process::~Process() {
    if (m_status == kRunning && m_pid > 0) {
        // Reap the child once it ends, without blocking the caller.
        std::thread([pid = m_pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
}

bool Process::Start(const std::vector<String>& argv) {
    // A child that has ended since the last poll no longer blocks a new start.
    Reap(WNOHANG);
    if (m_status == kRunning) {
        m_error = "a child process is already running";
        return false;
    }
    m_status = kNotStarted;
    m_retcode = -1;
    m_pid = -1;
    if (argv.empty() || argv.front().IsEmpty()) {
        m_error = "no program given";
        return false;
    }
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const String& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ);
    if (rc != 0) {
        m_error.Format("cannot start %s: %s", args[0], std::strerror(rc));
        return false;
    }
    m_pid = pid;
    m_status = kRunning;
    m_error = "";
    return true;
}

void Process::Reap(int options) {
    if (m_status != kRunning) return;
    int status = 0;
    pid_t r;
    do {
        r = waitpid(m_pid, &status, options);
    } while (r < 0 && errno == EINTR);
    if (r == 0) return;  // still running
    if (r < 0) {
        m_status = kCrashed;
        m_retcode = -1;
        return;
    }
    if (WIFEXITED(status)) {
        m_status = kEnded;
        m_retcode = WEXITSTATUS(status);
        // posix_spawnp reports an exec failure as exit code 127 in the child.
    } else {
        m_status = kCrashed;
        m_retcode = -1;
    }
}

int Process::ChildProcStatus() {
    Reap(WNOHANG);
    return m_status;
}

int Process::GetChildRetcode() {
    Reap(WNOHANG);
    return m_status == kEnded ? m_retcode : -1;
}

int Process::Wait() {
    Reap(0);
    return m_status;
}

void Process::Kill() {
    if (m_status == kRunning && m_pid > 0) ::kill(m_pid, SIGKILL);
}

}  // namespace Pal
