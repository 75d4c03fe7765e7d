#pragma once

#include "pal/PalExport.h"
#include "pal/String.h"

#include <sys/types.h>
#include <vector>

namespace Pal {

// A child process started from an argument list, never through a shell.
// A default-constructed Process has not started anything yet.
class PAL_API Process {
public:
    // Status values of ChildProcStatus().
    static constexpr int kEnded = 0;        // ended normally; see GetChildRetcode()
    static constexpr int kCrashed = 1;      // ended by a signal
    static constexpr int kNotStarted = 2;   // never started, or the start failed
    static constexpr int kRunning = 3;

    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    // A child still running is left to run; it is reaped so that it leaves no zombie.
    virtual ~Process();

    // Starts argv[0] (looked up on PATH when it holds no "/") with the given
    // arguments. False when a child is already running or the program cannot
    // be started; GetError() then says why.
    bool Start(const std::vector<String>& argv);

    // kRunning while the child runs, kEnded after a normal end, kCrashed after
    // a signal, kNotStarted before a successful start.
    virtual int ChildProcStatus();
    // The exit code after a normal end; -1 otherwise.
    virtual int GetChildRetcode();

    // Blocks until the child has ended; returns ChildProcStatus().
    int Wait();
    // Sends SIGKILL to a running child.
    void Kill();

    pid_t GetPid() const { return m_pid; }
    const String& GetError() const { return m_error; }

private:
    void Reap(int options);

    pid_t m_pid = -1;
    int m_status = kNotStarted;
    int m_retcode = -1;
    String m_error;
};

}  // namespace Pal
