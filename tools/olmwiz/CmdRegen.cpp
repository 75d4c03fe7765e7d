// olmwiz regen MANIFEST [--jobs N] [--ninja FILE] [--json FILE] [--check
// [--diff]]: runs every job of a manifest of `olmwiz run` arguments in worker
// processes that keep one run session each, writes a ninja file that runs
// them, or checks that their files are up to date without writing any.

#include "CommandLine.h"
#include "pal/FileCompare.h"
#include "pal/OutputFile.h"
#include "pal/StrUtil.h"
#include "Commands.h"
#include "kit/Olm_Finisher.h"
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

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz regen MANIFEST [--jobs N] [--ninja FILE] [--json FILE] [--check [--diff]]\n\n"
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
    "      --check        write nothing: compare every job's files with what a\n"
    "                     regen would write, list each file that would change\n"
    "                     (new or changed) with the first 20 lines of its diff;\n"
    "                     exit code 0 when none would, 1 otherwise\n"
    "      --diff         with --check: the whole diff of each file\n"
    "  -h, --help         show this help\n\n"
    "A failed job leaves no file and no folder behind and does not stop the\n"
    "others. A file that would not change is left alone (its time stays), and the\n"
    "table says of each file whether it was written or unchanged. On a terminal a\n"
    "progress line shows the jobs done, failed and left.\n\n"
    "Exit codes: 0 every job finished (or the ninja file was written; with --check:\n"
    "every file is up to date), 1 some job failed (with --check: or some file would\n"
    "change), 2 wrong usage or a malformed manifest (named by file and line).\n";

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
            for (std::size_t f = 0; f < result.files.size(); ++f) {
                what += (what.empty() ? "" : "  ") + Shown(result.files[f], manifest.folder);
                if (f < result.states.size()) what += " (" + result.states[f] + ")";
            }
        } else {
            for (const char c : StderrReports::Printable(result.failure))
                what += c == '\n' ? std::string("\n") + std::string(6 + 2 + 6 + 2 + 9 + 2, ' ') : std::string(1, c);
        }
        std::printf("%6d  %-6s  %9.1f  %s\n", manifest.jobs[i].line, result.succeeded ? "ok" : "FAILED", result.ms,
                    what.c_str());
    }
}

// The files of the jobs that would change, with their diffs, and the failed
// jobs; the number of files that would change.
int PrintCheck(const Manifest& manifest, const std::vector<JobResult>& results) {
    int changing = 0;
    int files = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const JobResult& result = results[i];
        if (!result.succeeded) {
            std::printf("line %d: the job failed: %s\n", manifest.jobs[i].line,
                        StderrReports::Printable(result.failure).c_str());
            continue;
        }
        for (std::size_t f = 0; f < result.files.size(); ++f) {
            ++files;
            const std::string state = f < result.states.size() ? result.states[f] : "";
            if (state == "unchanged") continue;
            ++changing;
            std::printf("%s: %s (line %d)\n", Shown(result.files[f], manifest.folder).c_str(), state.c_str(),
                        manifest.jobs[i].line);
            if (f < result.diffs.size()) std::fputs(result.diffs[f].c_str(), stdout);
        }
    }
    std::printf("%d of %d file%s would change\n", changing, files, files == 1 ? "" : "s");
    return changing;
}

bool WriteJson(const std::string& path, const Manifest& manifest, const std::vector<JobResult>& results, int workers,
               double seconds, bool check, std::string& reason) {
    nlohmann::json jobs = nlohmann::json::array();
    for (std::size_t i = 0; i < results.size(); ++i) {
        const JobResult& r = results[i];
        jobs.push_back({{"line", manifest.jobs[i].line},
                        {"status", r.succeeded ? "ok" : "failed"},
                        {"failure", r.failure},
                        {"files", r.files},
                        {"file_states", r.states},
                        {"messages", r.messages},
                        {"ms", r.ms},
                        {"worker", r.worker},
                        {"worker_rss_kb", r.residentKb},
                        {"worker_peak_kb", r.peakKb}});
        if (check) jobs.back()["diffs"] = r.diffs;
    }
    nlohmann::json report = {
        {"manifest", manifest.path}, {"workers", workers}, {"seconds", seconds}, {"jobs", jobs}};
    if (check) report["check"] = true;
    const std::string text = report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    if (Pal::FileCompare::Holds(path, text)) return true;
    return Pal::OutputFile::WriteWhole(path, text, reason);
}

// The shared libraries of this project that olmwiz has loaded (those beside
// the wizard library: the library itself, the engine, the translator, ...),
// with their real paths: a new build of any of them can change what a job
// writes.
std::vector<std::string> LoadedProjectLibraries() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Olm_Finisher::InstalledHdlTool), &info) == 0 || !info.dli_fname) return {};
    std::error_code ec;
    const fs::path base = fs::canonical(info.dli_fname, ec);
    if (ec) return {};
    std::vector<std::string> found;
    const auto collect = [](dl_phdr_info* object, std::size_t, void* data) {
        if (object->dlpi_name && *object->dlpi_name)
            static_cast<std::vector<std::string>*>(data)->push_back(object->dlpi_name);
        return 0;
    };
    std::vector<std::string> loaded;
    dl_iterate_phdr(collect, &loaded);
    for (const std::string& name : loaded) {
        const fs::path real = fs::canonical(name, ec);
        if (!ec && real.parent_path() == base.parent_path()) found.push_back(real.string());
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

}  // namespace

int RunRegen(const std::vector<std::string>& args) {
    CommandLine parser("olmwiz regen", kHelp);
    parser.Option("-j,--jobs");
    parser.Option("--ninja");
    parser.Option("--json");
    parser.Flag("--check");
    parser.Flag("--diff");
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
    if (parser.Has("check") && parser.Has("ninja"))
        return parser.Usage("--check compares the files of a run; with --ninja none are run");
    if (parser.Has("diff") && !parser.Has("check")) return parser.Usage("--diff shows the diffs of --check");
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
        std::vector<std::string> programFiles = {self.string()};
        for (const std::string& library : LoadedProjectLibraries()) programFiles.push_back(library);
        if (const std::string problem = WriteNinjaFile(parser.Value("ninja"), manifest, programFiles);
            !problem.empty())
            return parser.Fail(problem);
        std::printf("%s: %zu job%s\n", parser.Value("ninja").c_str(), manifest.jobs.size(),
                    manifest.jobs.size() == 1 ? "" : "s");
        return kExitOk;
    }

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
    RegenMode mode;
    mode.check = parser.Has("check");
    mode.diffLines = parser.Has("diff") ? 0 : 20;
    const std::vector<JobResult> results = RunJobs(manifest.jobs, workerCount, progress, mode);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (showProgress) std::fputs("\r\033[K", stderr);

    int failed = 0;
    int written = 0;
    int unchanged = 0;
    for (const JobResult& result : results) {
        failed += result.succeeded ? 0 : 1;
        for (const std::string& state : result.states) (state == "unchanged" ? unchanged : written) += 1;
    }
    const int changing = mode.check ? PrintCheck(manifest, results) : 0;
    if (!mode.check) PrintTable(manifest, results);
    std::printf("%d job%s in %.2f s (%.1f per second, %d worker%s): %d finished, %d failed\n", total,
                total == 1 ? "" : "s", seconds, seconds > 0 ? total / seconds : 0.0, workerCount,
                workerCount == 1 ? "" : "s", total - failed, failed);
    if (!mode.check) std::printf("files: %d written, %d unchanged\n", written, unchanged);
    std::fflush(stdout);
    std::string reason;
    if (parser.Has("json") &&
        !WriteJson(parser.Value("json"), manifest, results, workerCount, seconds, mode.check, reason))
        return parser.Fail("cannot write '" + parser.Value("json") + "': " + reason);
    return failed == 0 && changing == 0 ? kExitOk : kExitErrors;
}

}  // namespace olmwiz
