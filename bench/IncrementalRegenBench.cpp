// What olmwiz regen writes, and what it costs, when little or nothing has
// changed. A manifest of --jobs jobs (default 1,000) mixes the reference
// wizards (the PLL and the multiplier with their option files and with the
// defaults, transceiver lanes of both families, the source-synchronous
// receiver and transmitter) and both languages. Measured, each as the median
// of --rounds runs of `olmwiz regen --jobs --workers`:
//   - a full regen: the output folders removed first, every file written
//     (what every regen did before unchanged files were left alone);
//   - a no-op regen over its own output;
//   - a regen after one job's option file changed;
//   - `olmwiz regen --check` with nothing changed;
//   - a loop of --loop (default 50) separate `olmwiz run --batch` processes
//     over the first jobs, extrapolated to the whole manifest.
// Writes are counted as the files whose modification time or inode changed.
//   incremental_regen_bench --olmwiz PATH --examples DIR [--jobs 1000]
//                           [--rounds 3] [--workers 2] [--loop 50] [--in DIR]

#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

std::string Option(int argc, char** argv, const char* name, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    }
    return fallback;
}

// Job i: one of eight kinds in turn, each into a folder of its own. Job 0
// reads an option file of its own, so that changing it touches that job only.
std::vector<std::string> JobArguments(int i, const std::string& examples, const fs::path& folder) {
    struct Kind {
        const char* wizard;
        const char* family;
        const char* options;  // "" for the defaults
        const char* hdl;
    };
    static const Kind kinds[] = {
        {"tkl_pll", "korvo5", "tkl_pll_clkgen.opt", "verilog"}, {"dsp_mult", "korvo5", "dsp_mult_small.opt", "vhdl"},
        {"hsx", "korvo5", "hsx_hsx3_lane.opt", "verilog"},      {"ssio_rx", "korvo5", "ssio_rx_lvds8.opt", "verilog"},
        {"ssio_tx", "korvo5", "ssio_tx_lvds8.opt", "vhdl"},     {"tkl_pll", "korvo5", "", "vhdl"},
        {"dsp_mult", "korvo5", "", "verilog"},                  {"hsx", "korvo4", "hsx_korvo4_bonded.opt", "verilog"},
    };
    const Kind& kind = kinds[i % 8];
    std::vector<std::string> args = {"--wizard", kind.wizard, "--family", kind.family,
                                     "--design", "core" + std::to_string(i), "--hdl", kind.hdl,
                                     "--outdir", (folder / "out" / std::to_string(i)).string()};
    if (*kind.options) {
        args.push_back("--options");
        args.push_back(i == 0 ? (folder / "own.opt").string() : examples + "/" + kind.options);
    }
    return args;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Stamp {
    long long mtime;
    unsigned long long inode;
    bool operator==(const Stamp&) const = default;
};

std::map<std::string, Stamp> Stamps(const fs::path& folder) {
    std::map<std::string, Stamp> stamps;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ec)) {
        struct stat status {};
        if (entry.is_regular_file() && ::stat(entry.path().c_str(), &status) == 0)
            stamps[entry.path().string()] = {status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec,
                                             static_cast<unsigned long long>(status.st_ino)};
    }
    return stamps;
}

// Files new or with another time or inode; and the job folders they lie in.
std::pair<int, int> Written(const std::map<std::string, Stamp>& before, const std::map<std::string, Stamp>& after) {
    int files = 0;
    std::map<std::string, bool> jobs;
    for (const auto& [name, stamp] : after) {
        const auto it = before.find(name);
        if (it != before.end() && it->second == stamp) continue;
        ++files;
        jobs[fs::path(name).parent_path().string()] = true;
    }
    return {files, static_cast<int>(jobs.size())};
}

struct Measured {
    std::vector<double> seconds;
    int files = -1;  // written in the last round
    int jobs = -1;   // whose folders they lie in
};

}  // namespace

int main(int argc, char** argv) {
    const std::string olmwiz = Option(argc, argv, "--olmwiz", "");
    std::string examples = Option(argc, argv, "--examples", "");
    const int jobs = std::max(1, std::atoi(Option(argc, argv, "--jobs", "1000").c_str()));
    const int rounds = std::max(1, std::atoi(Option(argc, argv, "--rounds", "3").c_str()));
    const std::string workers = Option(argc, argv, "--workers", "2");
    const int loopJobs = std::clamp(std::atoi(Option(argc, argv, "--loop", "50").c_str()), 1, jobs);
    const fs::path parent = Option(argc, argv, "--in", fs::temp_directory_path().c_str());
    if (olmwiz.empty() || examples.empty()) {
        std::cerr << "usage: incremental_regen_bench --olmwiz PATH --examples DIR [--jobs N] [--rounds N] "
                     "[--workers N] [--loop N] [--in DIR]\n";
        return 2;
    }
    examples = fs::absolute(examples).string();
    const olmbench::TempDir runtime("olm_incregen_runtime");
    fs::permissions(runtime.Path(), fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");

    try {
        const olmbench::TempDir scratch("olm_incregen_bench", parent);
        const fs::path folder = scratch.Path();
        const fs::path out = folder / "out";
        const std::string pll = examples + "/tkl_pll_clkgen.opt";
        fs::copy_file(pll, folder / "own.opt");
        std::string text = "# " + std::to_string(jobs) + " jobs of incremental_regen_bench\n";
        for (int i = 0; i < jobs; ++i) {
            for (const std::string& arg : JobArguments(i, examples, folder)) text += "'" + arg + "' ";
            text += "\n";
        }
        const std::string manifest = (folder / "manifest.txt").string();
        olmbench::WriteText(manifest, text);

        // One timed command; its writes against the output as it was.
        const auto timed = [&](const std::vector<std::string>& args, Measured& into, int expectedExit = 0) {
            const auto before = Stamps(out);
            const double ms = olmbench::TimeRun(args);
            if (ms < 0 && expectedExit == 0) throw std::runtime_error("failed: " + args[1] + " " + args.back());
            into.seconds.push_back(ms / 1000);
            std::tie(into.files, into.jobs) = Written(before, Stamps(out));
        };
        const std::vector<std::string> regen = {olmwiz, "regen", manifest, "--jobs", workers};
        std::vector<std::string> check = regen;
        check.push_back("--check");
        Measured full, noop, oneChanged, checks, loop;
        std::error_code ec;
        olmbench::TimeRun(regen);  // untimed: warms the file cache
        for (int round = 0; round < rounds; ++round) {
            fs::remove_all(out, ec);
            timed(regen, full);
            timed(regen, noop);
            timed(check, checks);
            // One option file changed, and back again in the next round.
            olmbench::WriteText(folder / "own.opt", ReadText(pll) +
                                                        (round % 2 == 0 ? "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT0_FREQ=150;\n"
                                                                        : ""));
            timed(regen, oneChanged);
            olmbench::WriteText(folder / "own.opt", ReadText(pll));
            std::printf("  round %d: full %.2f s, no-op %.2f s, --check %.2f s, one option file changed %.2f s\n",
                        round + 1, full.seconds.back(), noop.seconds.back(), checks.seconds.back(),
                        oneChanged.seconds.back());
        }
        // Separate processes: the first jobs, each its own olmwiz run.
        fs::remove_all(out, ec);
        double loopMs = 0;
        for (int i = 0; i < loopJobs; ++i) {
            std::vector<std::string> args = {olmwiz, "run", "--batch"};
            for (const std::string& arg : JobArguments(i, examples, folder)) args.push_back(arg);
            const double ms = olmbench::TimeRun(args);
            if (ms < 0) throw std::runtime_error("olmwiz run of job " + std::to_string(i) + " failed");
            loopMs += ms;
        }
        const double loopAll = loopMs / 1000 * jobs / loopJobs;

        std::printf("%d jobs, %s workers, medians of %d rounds (files written = time or inode changed):\n", jobs,
                    workers.c_str(), rounds);
        const auto row = [](const char* what, const Measured& m) {
            std::printf("  %-34s %7.2f s  %5d files written in %d job folders\n", what, olmbench::Median(m.seconds),
                        m.files, m.jobs);
        };
        row("full regen (every file written)", full);
        row("no-op regen", noop);
        row("regen after one option file", oneChanged);
        row("regen --check, nothing changed", checks);
        std::printf("  %-34s %7.2f s  (%d processes took %.2f s, times %d/%d)\n", "separate olmwiz run processes",
                    loopAll, loopJobs, loopMs / 1000, jobs, loopJobs);
    } catch (const std::exception& error) {
        std::cerr << "incremental_regen_bench: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
