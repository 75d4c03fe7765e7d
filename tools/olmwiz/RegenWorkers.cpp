#include "RegenWorkers.h"

#include "TextDiff.h"
#include "WizardTable.h"

#include "kit/Olm_Finisher.h"
#include "kit/Olm_RunSession.h"
#include "pal/FileCompare.h"
#include "pal/MsgMan.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace olmwiz {

namespace {

using Json = nlohmann::json;

struct Worker {
    pid_t pid = -1;
    int commands = -1;    // the parent writes job numbers, one per line
    int results = -1;     // the worker writes one JSON line per job
    std::string pending;  // what has come of a result line so far
    int job = -1;         // the job it runs, -1 when none
};

bool WriteAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A size in kB from /proc/self/status ("VmRSS", "VmHWM"); 0 when unknown.
long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) == 0) return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
    }
    return 0;
}

Json RunJob(Olm_RunSession& session, const RegenJob& job, int index, const RegenMode& mode) {
    Olm_RunRequest request = job.request;
    request.batch = true;
    request.silent = true;
    request.checkOnly = mode.check;
    const auto start = std::chrono::steady_clock::now();
    Olm_RunOutcome outcome;
    try {
        outcome = session.Run(request, FactoryOf(*job.wizard, request.wizType));
    } catch (const std::exception& error) {
        outcome.result = -1;
        outcome.failure = std::string("the run stopped with an exception: ") + error.what();
    }
    std::vector<std::string> states;
    std::vector<std::string> diffs;
    for (std::size_t i = 0; i < outcome.files.size(); ++i) {
        const Olm_FileState state = i < outcome.fileStates.size() ? outcome.fileStates[i] : Olm_FileState::kWritten;
        states.push_back(Olm_FileStateName(state));
        if (!mode.check) continue;
        std::string diff;
        if ((state == Olm_FileState::kNew || state == Olm_FileState::kChanged) && i < outcome.checkedContents.size()) {
            std::string current;
            Pal::FileCompare::Compare(outcome.files[i], outcome.checkedContents[i], &current);
            diff = TextDiff::Unified(current, outcome.checkedContents[i], outcome.files[i], mode.diffLines);
        }
        diffs.push_back(std::move(diff));
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return {{"job", index},           {"ok", outcome.Succeeded()},    {"failure", outcome.failure},
            {"files", outcome.files}, {"states", states},             {"diffs", diffs},
            {"messages", outcome.messages}, {"ms", ms},
            {"pid", ::getpid()},      {"rss_kb", StatusKb("VmRSS")},  {"peak_kb", StatusKb("VmHWM")}};
}

[[noreturn]] void WorkerMain(const std::vector<RegenJob>& jobs, int commands, int results, const RegenMode& mode) {
    // Standard output carries the parent's table; a job's messages go into
    // its result (the session keeps them) and its log.
    if (const int devnull = ::open("/dev/null", O_WRONLY); devnull >= 0) {
        ::dup2(devnull, STDOUT_FILENO);
        ::close(devnull);
    }
    Pal::MsgMan::setHandler([](const Pal::MsgMan::Report&) {});
    int exitCode = 0;
    {
        // The files of all jobs are flushed to disk once, at the end, rather
        // than each design file as it is saved (two waits for the disk a job).
        Olm_RunSession session;
        session.SetFlushEachFile(false);
        FILE* in = ::fdopen(commands, "r");
        char* line = nullptr;
        std::size_t capacity = 0;
        while (in && ::getline(&line, &capacity, in) > 0) {
            const int index = std::atoi(line);
            if (index < 0 || static_cast<std::size_t>(index) >= jobs.size()) break;
            const Json result = RunJob(session, jobs[static_cast<std::size_t>(index)], index, mode);
            if (!WriteAll(results, result.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n")) {
                exitCode = 1;
                break;
            }
        }
        std::free(line);
        if (in) std::fclose(in);
    }
    if (!mode.check) ::sync();
    // No static destructors and no stdio buffers of the parent: they are not the worker's.
    ::_exit(exitCode);
}

// The output folders of the jobs, made before any job runs, with their
// missing parents; those still empty at the end are removed again. A run
// removes an output folder it made when it fails; two jobs in one folder (or
// below one new folder) running at the same time would otherwise race: one
// removing the folder that the other has just found in place.
class SharedFolders {
public:
    SharedFolders(const std::vector<RegenJob>& jobs, bool make) {
        std::error_code ec;
        if (!make) return;
        for (const RegenJob& job : jobs) {
            std::vector<std::filesystem::path> missing;
            for (std::filesystem::path p = job.request.outputDir; !p.empty() && !std::filesystem::exists(p, ec);
                 p = p.parent_path()) {
                missing.push_back(p);
                if (p == p.parent_path()) break;
            }
            for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
                if (!std::filesystem::create_directory(*it, ec)) break;  // the job will say why
                m_made.push_back(*it);
            }
        }
    }
    ~SharedFolders() {
        std::error_code ec;
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) std::filesystem::remove(*it, ec);  // when empty
    }
    SharedFolders(const SharedFolders&) = delete;
    SharedFolders& operator=(const SharedFolders&) = delete;

private:
    std::vector<std::filesystem::path> m_made;  // parents first
};

std::string HowItEnded(int status) {
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status)) + ": " + ::strsignal(WTERMSIG(status));
    return "exit code " + std::to_string(WEXITSTATUS(status));
}

// SIGINT and SIGTERM while the jobs run: the signal, and a byte down a pipe
// to wake the loop that waits for the workers.
volatile std::sig_atomic_t g_stopSignal = 0;
int g_wake = -1;

extern "C" void OnStopSignal(int signal) {
    g_stopSignal = signal;
    const int saved = errno;
    if (g_wake >= 0 && ::write(g_wake, "x", 1) < 0) {
        // The pipe is full: the loop is awake already.
    }
    errno = saved;
}

// While it lives, SIGINT and SIGTERM stop the jobs instead of the program:
// the loop kills the workers and removes what they left, and the signal is
// raised again once everything is cleaned up.
class StopSignals {
public:
    StopSignals() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
        m_read = fds[0];
        g_wake = fds[1];
        g_stopSignal = 0;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_previousInt);
        ::sigaction(SIGTERM, &action, &m_previousTerm);
    }
    ~StopSignals() {
        if (m_read < 0) return;
        ::sigaction(SIGINT, &m_previousInt, nullptr);
        ::sigaction(SIGTERM, &m_previousTerm, nullptr);
        ::close(g_wake);
        g_wake = -1;
        ::close(m_read);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;
    int Fd() const { return m_read; }
    // In a worker: the signals of the terminal are the parent's to handle.
    static void IgnoreInWorker() {
        std::signal(SIGINT, SIG_IGN);
        std::signal(SIGTERM, SIG_DFL);
    }

private:
    int m_read = -1;
    struct sigaction m_previousInt {};
    struct sigaction m_previousTerm {};
};

JobResult FromJson(const Json& result) {
    JobResult job;
    job.succeeded = result.at("ok").get<bool>();
    job.failure = result.at("failure").get<std::string>();
    job.files = result.at("files").get<std::vector<std::string>>();
    job.states = result.at("states").get<std::vector<std::string>>();
    job.diffs = result.at("diffs").get<std::vector<std::string>>();
    job.messages = result.at("messages").get<std::vector<std::string>>();
    job.ms = result.at("ms").get<double>();
    job.worker = result.at("pid").get<long>();
    job.residentKb = result.at("rss_kb").get<long>();
    job.peakKb = result.at("peak_kb").get<long>();
    return job;
}

std::vector<JobResult> RunJobsIn(const std::vector<RegenJob>& jobs, int workerCount,
                                 const std::function<void(int done, int failed)>& progress, const StopSignals& stop,
                                 const RegenMode& mode) {
    std::vector<JobResult> results(jobs.size());
    const SharedFolders folders(jobs, !mode.check);
    const auto removeScratch = [&jobs](int job) {
        if (job >= 0) {
            const Olm_RunRequest& request = jobs[static_cast<std::size_t>(job)].request;
            Olm_Finisher::RemoveStaleScratch(request.outputDir, request.design);
        }
    };
    std::vector<Worker> workers;
    std::size_t next = 0;
    int done = 0;
    int failed = 0;
    std::string startProblem;
    // A worker writing to a parent that is gone, or the other way round,
    // sees an error instead of being killed.
    std::signal(SIGPIPE, SIG_IGN);

    const auto record = [&](std::size_t index, JobResult result) {
        failed += result.succeeded ? 0 : 1;
        results[index] = std::move(result);
        if (progress) progress(++done, failed);
    };
    const auto dispatch = [&](Worker& worker) {
        worker.job = -1;
        if (next < jobs.size() && worker.commands >= 0) {
            worker.job = static_cast<int>(next++);
            // When the worker is gone, the end of its results tells.
            WriteAll(worker.commands, std::to_string(worker.job) + "\n");
        } else if (worker.commands >= 0) {
            ::close(worker.commands);  // no more jobs: the worker ends
            worker.commands = -1;
        }
    };
    const auto start = [&]() {
        int commands[2];
        int resultPipe[2];
        if (::pipe2(commands, O_CLOEXEC) != 0) return false;
        if (::pipe2(resultPipe, O_CLOEXEC) != 0) {
            ::close(commands[0]);
            ::close(commands[1]);
            return false;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (const Worker& other : workers) {
                if (other.commands >= 0) ::close(other.commands);
                ::close(other.results);
            }
            ::close(commands[1]);
            ::close(resultPipe[0]);
            StopSignals::IgnoreInWorker();
            WorkerMain(jobs, commands[0], resultPipe[1], mode);
        }
        ::close(commands[0]);
        ::close(resultPipe[1]);
        if (pid < 0) {
            startProblem = std::strerror(errno);
            ::close(commands[1]);
            ::close(resultPipe[0]);
            return false;
        }
        workers.push_back(Worker{pid, commands[1], resultPipe[0], {}, -1});
        dispatch(workers.back());
        return true;
    };

    for (int i = 0; i < workerCount && next < jobs.size(); ++i) {
        if (!start()) break;
    }
    while (static_cast<std::size_t>(done) < jobs.size()) {
        if (workers.empty() && next >= jobs.size()) break;
        if (workers.empty() && !start()) {
            // Without a worker the jobs left cannot run.
            for (; next < jobs.size(); ++next) {
                JobResult result;
                result.failure = "cannot start a worker process: " + (startProblem.empty() ? "pipe" : startProblem);
                record(next, std::move(result));
            }
            break;
        }
        if (g_stopSignal != 0) {
            // Every job still running or waiting fails; what the running ones
            // had begun goes with them.
            for (Worker& worker : workers) ::kill(worker.pid, SIGKILL);
            for (Worker& worker : workers) {
                int status = 0;
                while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
                }
                removeScratch(worker.job);
                if (worker.commands >= 0) ::close(worker.commands);
                ::close(worker.results);
            }
            workers.clear();
            for (std::size_t i = 0; i < jobs.size(); ++i) {
                if (results[i].succeeded || !results[i].failure.empty()) continue;
                JobResult result;
                result.failure = "interrupted (" + std::string(::strsignal(g_stopSignal)) + ")";
                record(i, std::move(result));
            }
            break;
        }
        std::vector<pollfd> polled;
        for (const Worker& worker : workers) polled.push_back(pollfd{worker.results, POLLIN, 0});
        if (stop.Fd() >= 0) polled.push_back(pollfd{stop.Fd(), POLLIN, 0});
        if (::poll(polled.data(), polled.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (stop.Fd() >= 0) polled.pop_back();
        for (std::size_t i = polled.size(); i-- > 0;) {
            if (polled[i].revents == 0) continue;
            Worker& worker = workers[i];
            char buffer[65536];
            const ssize_t n = ::read(worker.results, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n > 0) {
                worker.pending.append(buffer, static_cast<std::size_t>(n));
                for (std::size_t end; (end = worker.pending.find('\n')) != std::string::npos;) {
                    const std::string line = worker.pending.substr(0, end);
                    worker.pending.erase(0, end + 1);
                    JobResult result;
                    try {
                        const Json json = Json::parse(line);
                        result = FromJson(json);
                        if (json.at("job").get<int>() != worker.job) throw std::runtime_error("another job");
                    } catch (const std::exception&) {
                        continue;  // not a result of its job; the end of the worker settles the job
                    }
                    record(static_cast<std::size_t>(worker.job), std::move(result));
                    dispatch(worker);
                }
                continue;
            }
            // The worker has ended: of its own accord after its last job, or during one.
            int status = 0;
            while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
            }
            if (worker.job >= 0) {
                removeScratch(worker.job);
                JobResult result;
                result.failure = "the worker process ended during the job (" + HowItEnded(status) + ")";
                result.worker = worker.pid;
                record(static_cast<std::size_t>(worker.job), std::move(result));
            }
            if (worker.commands >= 0) ::close(worker.commands);
            ::close(worker.results);
            workers.erase(workers.begin() + static_cast<std::ptrdiff_t>(i));
            if (next < jobs.size()) start();
        }
    }
    for (Worker& worker : workers) {
        if (worker.commands >= 0) ::close(worker.commands);
        ::close(worker.results);
        int status = 0;
        while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    return results;
}

}  // namespace

std::vector<JobResult> RunJobs(const std::vector<RegenJob>& jobs, int workerCount,
                               const std::function<void(int done, int failed)>& progress, const RegenMode& mode) {
    std::vector<JobResult> results;
    int stoppedBy = 0;
    {
        const StopSignals stop;
        results = RunJobsIn(jobs, workerCount, progress, stop, mode);
        stoppedBy = g_stopSignal;
    }
    // Cleaned up: the signal ends the program now, as it would have.
    if (stoppedBy != 0) ::raise(stoppedBy);
    return results;
}

}  // namespace olmwiz
