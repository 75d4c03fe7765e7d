// Whole-process timing of a batch run of olmwiz on the bundled PLL example
// (load, synchronise, option file, run, save, HDL child process) against a
// program that only creates an offscreen QApplication. The two run
// alternately, each pair in the other order than the one before, so that a
// busy machine slows both alike; the medians and their ratio are reported.
//   end_to_end_bench --olmwiz PATH --minimal PATH --example FILE [--pairs N] [--json FILE]

#include "BenchSupport.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::string Option(int argc, char** argv, const char* name, const char* fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string olmwiz = Option(argc, argv, "--olmwiz", "");
    const std::string minimal = Option(argc, argv, "--minimal", "");
    const std::string example = Option(argc, argv, "--example", "");
    const int pairs = std::max(1, std::atoi(Option(argc, argv, "--pairs", "30").c_str()));
    const std::string jsonPath = Option(argc, argv, "--json", "");
    if (olmwiz.empty() || minimal.empty() || example.empty()) {
        std::cerr << "usage: end_to_end_bench --olmwiz PATH --minimal PATH --example FILE [--pairs N] [--json FILE]\n";
        return 2;
    }
    // Both programs see the same batch environment: no display, a private runtime folder.
    olmbench::TempDir scratch("olm_e2e_bench");
    const std::filesystem::path runtime = scratch.Path() / "runtime";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");

    auto runWizard = [&](int n) {
        const std::filesystem::path out = scratch.Path() / ("out" + std::to_string(n));
        std::filesystem::create_directory(out);
        const double ms =
            olmbench::TimeRun({olmwiz, "run", "--wizard", "tkl_pll", "--family", "korvo5", "--design", "clkgen",
                               "--options", example, "--hdl", "verilog", "--outdir", out.string(), "--batch", "--log",
                               (out / "clkgen.log").string()});
        // A run that left out a file did not do the whole job.
        for (const char* file : {"clkgen.kfz", "clkgen.v", "clkgen_olmw.pkx"}) {
            if (!std::filesystem::exists(out / file)) return -1.0;
        }
        std::filesystem::remove_all(out);
        return ms;
    };
    auto runMinimal = [&] { return olmbench::TimeRun({minimal}); };

    // One untimed round warms the file cache.
    if (runWizard(-1) < 0 || runMinimal() < 0) {
        std::cerr << "end_to_end_bench: a program failed; check the paths and the example\n";
        return 1;
    }
    std::vector<double> wizard, floor;
    for (int i = 0; i < pairs; ++i) {
        const bool wizardFirst = i % 2 == 0;
        const double first = wizardFirst ? runWizard(i) : runMinimal();
        const double second = wizardFirst ? runMinimal() : runWizard(i);
        const double w = wizardFirst ? first : second;
        const double m = wizardFirst ? second : first;
        if (w < 0 || m < 0) {
            std::cerr << "end_to_end_bench: run " << i << " failed\n";
            return 1;
        }
        wizard.push_back(w);
        floor.push_back(m);
    }
    const double wizardMedian = olmbench::Median(wizard);
    const double floorMedian = olmbench::Median(floor);
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) ratios.push_back(wizard[i] / floor[i]);
    std::printf("pairs %d: olmwiz run --batch median %.1f ms (min %.1f), minimal QApplication median %.1f ms "
                "(min %.1f), ratio of medians %.2f, median of pair ratios %.2f\n",
                pairs, wizardMedian, *std::min_element(wizard.begin(), wizard.end()), floorMedian,
                *std::min_element(floor.begin(), floor.end()), wizardMedian / floorMedian, olmbench::Median(ratios));
    if (!jsonPath.empty()) {
        nlohmann::json json = {{"pairs", pairs},
                               {"olmwiz_ms", wizard},
                               {"minimal_ms", floor},
                               {"olmwiz_median_ms", wizardMedian},
                               {"minimal_median_ms", floorMedian},
                               {"ratio_of_medians", wizardMedian / floorMedian},
                               {"median_pair_ratio", olmbench::Median(ratios)}};
        olmbench::WriteText(jsonPath, json.dump(2) + "\n");
    }
    return 0;
}
