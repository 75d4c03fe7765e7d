// olmwiz regen MANIFEST [--jobs N] [--ninja FILE] [--json FILE]: runs every
// job of a manifest of `olmwiz run` arguments in worker processes that keep
// one run session each, or writes a ninja file that runs them.

#include "CommandLine.h"
#include "pal/OutputFile.h"
#include "pal/StrUtil.h"
#include "Commands.h"
#include "Manifest.h"
#include "NinjaFile.h"
#include "PathClashes.h"
#include "RunArguments.h"
#include "RegenWorkers.h"
#include "StderrReports.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz regen MANIFEST [--jobs N] [--ninja FILE] [--json FILE]\n\n"
    "Regenerates the cores of a project in one call: runs every job of the\n"
    "manifest as `olmwiz run --batch` would, each writing the same files, and at\n"
    "the end lists every job by its line with its status, files and time.\n\n"
    "A manifest has one job per line: the arguments of olmwiz run without the\n"
    "word run (--wizard, --family, --design, --kfz, --options, --hdl, --outdir,\n"
    "--log, --strict). Blank lines and # comments are skipped; an argument with\n"
    "blanks is quoted as in a shell ('...' or \"...\"). Relative paths, and the\n"
    "output folder of a job with neither --outdir nor --kfz, are taken from the\n"
    "manifest's folder. Every job runs silently: its messages go into its log\n"
    "and its result, and no job sees anything of the jobs before it.\n\n"
    "Options:\n"
    "  -j, --jobs N       run the jobs in N worker processes (default: the number\n"
    "                     of cores); a worker runs one job after the other\n"
    "      --ninja FILE   do not run the jobs: write a ninja build file with one\n"
    "                     edge per job, so that `ninja -f FILE` reruns the jobs\n"
    "                     whose option file, design file, installed data or\n"
    "                     olmwiz changed\n"
    "      --json FILE    also write the result of every job as JSON to FILE\n"
    "  -h, --help         show this help\n\n"
    "A failed job leaves no file and no folder behind and does not stop the\n"
    "others. On a terminal a progress line shows the jobs done, failed and left.\n\n"
    "Exit codes: 0 every job finished (or the ninja file was written), 1 some job\n"
    "failed, 2 wrong usage or a malformed manifest (named by file and line).\n";

namespace fs = std::filesystem;

// A file of a job as the table shows it: below the manifest's folder
// relative to it, else in full.
std::string Shown(const std::string& file, const std::string& folder) {
    const fs::path relative = fs::path(file).lexically_relative(folder);
    return relative.empty() || *relative.begin() == ".." ? file : relative.string();
}

void PrintTable(const Manifest& manifest, const std::vector<JobResult>& results) {
    std::printf("%6s  %-6s  %9s  %s\n", "line", "status", "ms", "files, or why the job failed");
    for (std::size_t i = 0; i < results.size(); ++i) {
        const JobResult& result = results[i];
        std::string what;
        if (result.succeeded) {
            for (const std::string& file : result.files)
                what += (what.empty() ? "" : "  ") + Shown(file, manifest.folder);
        } else {
            for (const char c : StderrReports::Printable(result.failure))
                what += c == '\n' ? std::string("\n") + std::string(6 + 2 + 6 + 2 + 9 + 2, ' ') : std::string(1, c);
        }
        std::printf("%6d  %-6s  %9.1f  %s\n", manifest.jobs[i].line, result.succeeded ? "ok" : "FAILED", result.ms,
                    what.c_str());
    }
}

bool WriteJson(Pal::OutputFile& out, const Manifest& manifest, const std::vector<JobResult>& results, int workers,
               double seconds) {
    nlohmann::json jobs = nlohmann::json::array();
    for (std::size_t i = 0; i < results.size(); ++i) {
        const JobResult& r = results[i];
        jobs.push_back({{"line", manifest.jobs[i].line},
                        {"status", r.succeeded ? "ok" : "failed"},
                        {"failure", r.failure},
                        {"files", r.files},
                        {"messages", r.messages},
                        {"ms", r.ms},
                        {"worker", r.worker},
                        {"worker_rss_kb", r.residentKb},
                        {"worker_peak_kb", r.peakKb}});
    }
    const nlohmann::json report = {
        {"manifest", manifest.path}, {"workers", workers}, {"seconds", seconds}, {"jobs", jobs}};
    return out.Write(report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n") && out.Commit();
}

}  // namespace

int RunRegen(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz regen", kHelp);
    parser.Option("-j,--jobs");
    parser.Option("--ninja");
    parser.Option("--json");
    if (const int exitCode = parser.ParseCommand(args); exitCode != CommandLine::kParsed) return exitCode;
    if (parser.Positional().size() != 1) return parser.Usage("give exactly one manifest");
    long workers = std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN));
    if (parser.Has("jobs")) {
        const std::string text = parser.Value("jobs");
        int count = 0;
        const bool number = Pal::StrUtil::ParseInt(text, count) && text.find_first_of("+ \t") == std::string::npos;
        workers = count;
        if (!number || workers < 1 || workers > 1024)
            return parser.Usage("--jobs takes a whole number from 1 to 1024, not '" + text + "'");
    }
    if (parser.Has("ninja") && parser.Has("json"))
        return parser.Usage("--json reports the jobs of a run; with --ninja none are run");
    for (const char* file : {"ninja", "json"}) {
        if (parser.Has(file) && parser.Value(file).empty())
            return parser.Usage(std::string("--") + file + " names no file");
    }

    const Manifest manifest = ReadManifest(parser.Positional().front());
    if (!manifest.problems.empty()) {
        for (const std::string& problem : manifest.problems)
            std::fprintf(stderr, "olmwiz regen: %s\n", StderrReports::Printable(problem).c_str());
        return kExitUsage;
    }

    PathClashes clashes;
    clashes.AddInput("the manifest", manifest.path);
    for (const RegenJob& job : manifest.jobs) AddRunFiles(clashes, job.request, " of line " + std::to_string(job.line));
    for (const char* file : {"ninja", "json"}) {
        if (parser.Has(file)) clashes.AddOutput(std::string("--") + file, parser.Value(file));
    }
    if (const std::string clash = clashes.Problem(); !clash.empty()) {
        std::fprintf(stderr, "olmwiz regen: %s\n", StderrReports::Printable(clash).c_str());
        return kExitUsage;
    }

    if (parser.Has("ninja")) {
        std::error_code ec;
        const fs::path self = fs::read_symlink("/proc/self/exe", ec);
        if (ec) return parser.Fail("cannot tell where olmwiz itself lies: " + ec.message());
        if (const std::string problem = WriteNinjaFile(parser.Value("ninja"), manifest, self.string());
            !problem.empty())
            return parser.Fail(problem);
        std::printf("%s: %zu job%s\n", parser.Value("ninja").c_str(), manifest.jobs.size(),
                    manifest.jobs.size() == 1 ? "" : "s");
        return kExitOk;
    }

    // The report's file is opened before any job runs: one that cannot be
    // written (a FIFO nobody reads) stops the command before it does anything.
    Pal::OutputFile json(parser.Has("json") ? parser.Value("json") : std::string());
    if (parser.Has("json") && !json.Open())
        return parser.Fail("cannot write '" + parser.Value("json") + "': " + json.Reason());

    // On a terminal, one line that is rewritten after every job.
    const bool showProgress = ::isatty(STDERR_FILENO) == 1;
    const int total = static_cast<int>(manifest.jobs.size());
    const auto progress = [&](int done, int failed) {
        if (!showProgress) return;
        std::fprintf(stderr, "\rolmwiz regen: %d done, %d failed, %d remaining\033[K", done, failed, total - done);
        std::fflush(stderr);
    };
    const int workerCount = static_cast<int>(std::min<long>(workers, std::max(total, 1)));
    const auto start = std::chrono::steady_clock::now();
    progress(0, 0);
    const std::vector<JobResult> results = RunJobs(manifest.jobs, workerCount, progress);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (showProgress) std::fputs("\r\033[K", stderr);

    int failed = 0;
    for (const JobResult& result : results) failed += result.succeeded ? 0 : 1;
    PrintTable(manifest, results);
    std::printf("%d job%s in %.2f s (%.1f per second, %d worker%s): %d finished, %d failed\n", total,
                total == 1 ? "" : "s", seconds, seconds > 0 ? total / seconds : 0.0, workerCount,
                workerCount == 1 ? "" : "s", total - failed, failed);
    std::fflush(stdout);
    if (parser.Has("json") && !WriteJson(json, manifest, results, workerCount, seconds))
        return parser.Fail("cannot write '" + parser.Value("json") + "': " + json.Reason());
    return failed == 0 ? kExitOk : kExitErrors;
}

}  // namespace olmwiz
