// olmwiz regen against separate processes. A manifest of 200 jobs mixes both
// reference wizards, both languages, the bundled option files and the
// defaults; it is run as `olmwiz regen --jobs 1`, as `olmwiz regen --jobs 2`
// and as a loop of 200 `olmwiz run --batch` processes, the three in turn in
// every round (the order rotating), so that a busy machine slows all alike.
// Then the rate of both regen variants against the size of the manifest
// (medians of as many runs as there are rounds), and the memory of a worker
// (its resident size after 100 and after 1,000 jobs, as it reports it in
// `--json`). Every run must write every file.
// All of it is measured in each folder given with --in (default: the
// system's temporary folder), so that a disk, where every design file costs
// the engine's flushes to it, and a file system in memory can be compared.
//   regen_bench --olmwiz PATH --examples DIR [--in DIR,DIR...] [--jobs 200]
//               [--rounds 3] [--sizes 10,50,200,1000] [--json FILE]

#include "BenchSupport.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include <sys/vfs.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

std::string Option(int argc, char** argv, const char* name, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    }
    return fallback;
}

// Job i of a manifest: one of eight kinds (wizard, language, option file or
// defaults) in turn, each into a folder of its own.
std::vector<std::string> JobArguments(int i, const std::string& examples, const fs::path& out) {
    const bool pll = i % 2 == 0;
    const bool vhdl = (i / 2) % 2 == 1;
    const bool options = (i / 4) % 2 == 0;
    std::vector<std::string> args = {
        "--wizard", pll ? "tkl_pll" : "dsp_mult",      "--family", "korvo5",
        "--design", "core" + std::to_string(i),        "--hdl",    vhdl ? "vhdl" : "verilog",
        "--outdir", (out / std::to_string(i)).string()};
    if (options) {
        args.push_back("--options");
        args.push_back(examples + (pll ? "/tkl_pll_clkgen.opt" : "/dsp_mult_small.opt"));
    }
    return args;
}

std::string WriteManifest(const fs::path& folder, int jobs, const std::string& examples) {
    std::string text = "# " + std::to_string(jobs) + " jobs of regen_bench\n";
    for (int i = 0; i < jobs; ++i) {
        for (const std::string& arg : JobArguments(i, examples, folder / "out")) text += arg + " ";
        text += "\n";
    }
    const fs::path manifest = folder / ("manifest" + std::to_string(jobs) + ".txt");
    olmbench::WriteText(manifest, text);
    return manifest.string();
}

// Every job wrote its three files; the output is removed for the next run.
bool AllWritten(const fs::path& out, int jobs) {
    std::size_t files = 0;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(out, ec)) files += entry.is_regular_file() ? 1 : 0;
    fs::remove_all(out, ec);
    return files == static_cast<std::size_t>(jobs) * 3;
}

// The kind of file system a folder lies on, as `stat -f` names it.
std::string FileSystem(const fs::path& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return "unknown";
    switch (static_cast<unsigned long>(info.f_type)) {
        case 0xEF53:
            return "ext2/ext3/ext4";
        case 0x01021994:
            return "tmpfs";
        case 0x58465342:
            return "xfs";
        case 0x9123683E:
            return "btrfs";
        case 0x794C7630:
            return "overlayfs";
        default: {
            char hex[32];
            std::snprintf(hex, sizeof hex, "0x%lx", static_cast<unsigned long>(info.f_type));
            return hex;
        }
    }
}

struct Settings {
    std::string olmwiz, examples;
    int jobs = 200, rounds = 3;
    std::vector<int> sizes;
};

// Everything measured in a scratch folder below parent; throws when a run fails.
Json Measure(const Settings& settings, const fs::path& parent) {
    const olmbench::TempDir scratch("olm_regen_bench", parent);
    const fs::path out = scratch.Path() / "out";
    const int jobs = settings.jobs;
    const auto check = [](double seconds, const std::string& what) {
        if (seconds < 0) throw std::runtime_error(what + " failed");
        return seconds;
    };
    // Seconds of one regen run over a manifest, or negative when it failed.
    const auto regen = [&](const std::string& manifest, int size, int workers, const std::string& report) {
        std::vector<std::string> args = {settings.olmwiz, "regen", manifest, "--jobs", std::to_string(workers)};
        if (!report.empty()) args.insert(args.end(), {"--json", report});
        const double ms = olmbench::TimeRun(args);
        return ms >= 0 && AllWritten(out, size) ? ms / 1000 : -1.0;
    };
    const auto loop = [&]() {
        double ms = 0;
        for (int i = 0; i < jobs; ++i) {
            std::vector<std::string> args = {settings.olmwiz, "run"};
            for (const std::string& arg : JobArguments(i, settings.examples, out)) args.push_back(arg);
            args.push_back("--batch");
            const double one = olmbench::TimeRun(args);
            if (one < 0) return -1.0;
            ms += one;
        }
        return AllWritten(out, jobs) ? ms / 1000 : -1.0;
    };

    const std::string where = parent.string() + " (" + FileSystem(parent) + ")";
    std::printf("in %s\n", where.c_str());
    const std::string manifest = WriteManifest(scratch.Path(), jobs, settings.examples);
    check(regen(manifest, jobs, 1, ""), "the untimed warm-up regen");  // warms the file cache
    std::vector<double> single, pair, separate;
    for (int round = 0; round < settings.rounds; ++round) {
        for (int k = 0; k < 3; ++k) {
            const int which = (round + k) % 3;
            const double s = check(which == 0   ? regen(manifest, jobs, 1, "")
                                   : which == 1 ? regen(manifest, jobs, 2, "")
                                                : loop(),
                                   which == 2 ? "a run of the loop" : "a regen run");
            (which == 0 ? single : which == 1 ? pair : separate).push_back(s);
        }
        std::printf("  round %d: regen --jobs 1 %.2f s, --jobs 2 %.2f s, %d processes %.2f s\n", round + 1,
                    single.back(), pair.back(), jobs, separate.back());
    }
    const double singleRate = jobs / olmbench::Median(single);
    const double pairRate = jobs / olmbench::Median(pair);
    const double separateRate = jobs / olmbench::Median(separate);

    Json bySize = Json::array();
    Json memory = Json::object();
    for (const int size : settings.sizes) {
        const std::string sized = WriteManifest(scratch.Path(), size, settings.examples);
        const std::string report = (scratch.Path() / "report.json").string();
        // As many runs of each as there are rounds, in turn; the first --jobs 1
        // run also writes its results, for the memory of its worker.
        std::vector<double> ones, twos;
        for (int round = 0; round < settings.rounds; ++round) {
            const std::string what = " of " + std::to_string(size) + " jobs";
            ones.push_back(check(regen(sized, size, 1, round == 0 ? report : ""), "regen --jobs 1" + what));
            twos.push_back(check(regen(sized, size, 2, ""), "regen --jobs 2" + what));
        }
        const double one = size / olmbench::Median(ones);
        const double two = size / olmbench::Median(twos);
        std::ifstream in(report);
        const Json results = Json::parse(in);
        bySize.push_back({{"jobs", size}, {"jobs1_per_s", one}, {"jobs2_per_s", two}});
        std::printf("  %5d jobs: regen --jobs 1 %.1f jobs/s, --jobs 2 %.1f jobs/s\n", size, one, two);
        // The one worker of --jobs 1 after its 100th and its 1,000th job.
        for (const int after : {100, 1000}) {
            if (size < after) continue;
            const Json& job = results.at("jobs").at(static_cast<std::size_t>(after - 1));
            memory["rss_kb_" + std::to_string(after)] = job.at("worker_rss_kb");
            memory["peak_kb_" + std::to_string(after)] = job.at("worker_peak_kb");
        }
    }
    std::printf(
        "  %d jobs, medians of %d rounds: regen --jobs 1 %.1f jobs/s, %d processes %.1f jobs/s: %.1f times; "
        "--jobs 2 %.2f times --jobs 1\n",
        jobs, settings.rounds, singleRate, jobs, separateRate, singleRate / separateRate, pairRate / singleRate);
    if (memory.contains("peak_kb_1000")) {
        std::printf("  worker: resident %ld kB after 100 jobs, %ld kB after 1,000; peak %ld kB and %ld kB\n",
                    memory.at("rss_kb_100").get<long>(), memory.at("rss_kb_1000").get<long>(),
                    memory.at("peak_kb_100").get<long>(), memory.at("peak_kb_1000").get<long>());
    }
    return {{"folder", parent.string()},
            {"filesystem", FileSystem(parent)},
            {"regen_jobs1_s", single},
            {"regen_jobs2_s", pair},
            {"processes_s", separate},
            {"regen_jobs1_per_s", singleRate},
            {"regen_jobs2_per_s", pairRate},
            {"processes_per_s", separateRate},
            {"by_size", bySize},
            {"memory", memory}};
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    settings.olmwiz = Option(argc, argv, "--olmwiz", "");
    settings.examples = Option(argc, argv, "--examples", "");
    // The manifest takes relative paths from its own folder.
    if (!settings.examples.empty()) settings.examples = fs::absolute(settings.examples).string();
    settings.jobs = std::max(1, std::atoi(Option(argc, argv, "--jobs", "200").c_str()));
    settings.rounds = std::max(1, std::atoi(Option(argc, argv, "--rounds", "3").c_str()));
    const std::string jsonPath = Option(argc, argv, "--json", "");
    std::stringstream sizeList(Option(argc, argv, "--sizes", "10,50,200,1000"));
    for (std::string size; std::getline(sizeList, size, ',');)
        settings.sizes.push_back(std::max(1, std::atoi(size.c_str())));
    std::vector<fs::path> places;
    std::stringstream placeList(Option(argc, argv, "--in", fs::temp_directory_path().c_str()));
    for (std::string place; std::getline(placeList, place, ',');) places.push_back(place);
    if (settings.olmwiz.empty() || settings.examples.empty() || places.empty()) {
        std::cerr << "usage: regen_bench --olmwiz PATH --examples DIR [--in DIR,DIR...] [--jobs N] [--rounds N] "
                     "[--sizes A,B,...] [--json FILE]\n";
        return 2;
    }
    // Every process sees the batch environment: no display, a private runtime folder.
    const olmbench::TempDir runtime("olm_regen_runtime");
    fs::permissions(runtime.Path(), fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    Json measured = Json::array();
    try {
        for (const fs::path& place : places) measured.push_back(Measure(settings, place));
    } catch (const std::exception& error) {
        std::cerr << "regen_bench: " << error.what() << "\n";
        return 1;
    }
    if (!jsonPath.empty()) {
        const Json json = {{"jobs", settings.jobs},
                           {"rounds", settings.rounds},
                           {"cores", ::sysconf(_SC_NPROCESSORS_ONLN)},
                           {"places", measured}};
        olmbench::WriteText(jsonPath, json.dump(2) + "\n");
    }
    return 0;
}
