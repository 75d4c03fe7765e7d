// Gathers the results of the benchmark programs (their JSON output) into the
// summary that scripts/bench.sh prints, the data file of the per-block plot
// and the generated part of docs/performance.md (between the lines
// "<!-- results:begin -->" and "<!-- results:end -->").
//   bench_report --reader F --sync F --e2e F --memory F [--plot-data F] [--doc F]

#include "BenchSupport.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#ifndef OLM_BENCH_BUILD_TYPE
#define OLM_BENCH_BUILD_TYPE "unknown"
#endif

namespace {

using Json = nlohmann::json;

constexpr const char* kBegin = "<!-- results:begin -->";
constexpr const char* kEnd = "<!-- results:end -->";

// Targets: reader at least a third of the getline loop; time per block at
// 1,000 blocks at most three times that at 10; olmwiz at most 1.5 times the
// minimal program.
constexpr double kReaderTarget = 1.0 / 3.0;
constexpr double kGrowthTarget = 3.0;
constexpr double kEndToEndTarget = 1.5;

Json ReadJson(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Json::parse(in);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

double ToSeconds(double value, const std::string& unit) {
    if (unit == "ns") return value * 1e-9;
    if (unit == "us") return value * 1e-6;
    if (unit == "ms") return value * 1e-3;
    return value;
}

// The median aggregates of a Google Benchmark run, by run name
// ("BM_Sync/1000/manual_time"); a run without repetitions gives its single result.
std::map<std::string, Json> Medians(const Json& results) {
    std::map<std::string, Json> medians;
    for (const Json& entry : results.at("benchmarks")) {
        const std::string runName = entry.value("run_name", entry.value("name", ""));
        if (entry.value("run_type", "") == "aggregate") {
            if (entry.value("aggregate_name", "") == "median") medians[runName] = entry;
        } else if (!medians.count(runName)) {
            medians[runName] = entry;
        }
    }
    return medians;
}

std::string Fixed(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, value);
    return buffer;
}

std::string Met(bool met) { return met ? "met" : "**missed**"; }

std::string CpuModel() {
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    }
    return "unknown";
}

std::string Compiler() {
#if defined(__clang__)
    return std::string("clang ") + __clang_version__;
#elif defined(__GNUC__)
    return std::string("g++ ") + __VERSION__;
#else
    return "unknown";
#endif
}

struct Report {
    std::ostringstream doc;      // markdown for docs/performance.md
    std::ostringstream summary;  // the console summary
    std::ostringstream plot;     // blocks, then microseconds per block of sync, save, load
};

void Reader(const Json& results, Report& report) {
    const auto medians = Medians(results);
    const auto find = [&](const std::string& prefix) -> const Json& {
        for (const auto& [name, entry] : medians) {
            if (name.rfind(prefix, 0) == 0) return entry;
        }
        throw std::runtime_error("no result for " + prefix);
    };
    const Json& reader = find("BM_ReadDataFile");
    const Json& loop = find("BM_GetlineLoop");
    const double readerMBs = reader.at("bytes_per_second").get<double>() / 1048576.0;
    const double loopMBs = loop.at("bytes_per_second").get<double>() / 1048576.0;
    const double ratio = readerMBs / loopMBs;
    report.doc << "### Data-file reader\n\n"
               << "Generated file: " << Fixed(reader.value("MB", 0.0), 1) << " MB, "
               << static_cast<long>(reader.value("blocks", 0.0)) << " blocks. Medians of "
               << results.at("context").value("repetitions", reader.value("repetitions", 1)) << " repetitions.\n\n"
               << "| reader | MB/s | ms per file |\n|---|---:|---:|\n"
               << "| `Olm_DataFileReader::ReadFile` (into a container) | " << Fixed(readerMBs, 1) << " | "
               << Fixed(reader.at("real_time").get<double>(), 1) << " |\n"
               << "| plain `std::getline` loop | " << Fixed(loopMBs, 1) << " | "
               << Fixed(loop.at("real_time").get<double>(), 1) << " |\n\n"
               << "Reader / loop throughput: **" << Fixed(ratio, 2) << "** (target at least 0.33: "
               << Met(ratio >= kReaderTarget) << ").\n\n";
    report.summary << "reader    " << Fixed(readerMBs, 1) << " MB/s vs getline " << Fixed(loopMBs, 1)
                   << " MB/s: ratio " << Fixed(ratio, 2) << " (target >= 0.33, " << Met(ratio >= kReaderTarget)
                   << ")\n";
}

void SyncSave(const Json& results, Report& report) {
    const auto medians = Medians(results);
    // operation -> blocks -> median entry
    std::map<std::string, std::map<int, Json>> table;
    for (const auto& [name, entry] : medians) {
        const auto slash = name.find('/');
        if (slash == std::string::npos) continue;
        table[name.substr(0, slash)][std::stoi(name.substr(slash + 1))] = entry;
    }
    const std::vector<std::pair<std::string, std::string>> operations = {
        {"BM_Sync", "`SyncWizDataWithKFZ`"},
        {"BM_Save", "`SaveWizDataToEngine` + `Olm_Engine::Save`"},
        {"BM_Load", "`Olm_Engine::Load`"}};
    const auto perBlockUs = [](const Json& entry) {
        return ToSeconds(entry.at("real_time").get<double>(), entry.at("time_unit").get<std::string>()) * 1e6 /
               entry.at("blocks").get<double>();
    };
    std::vector<int> sizes;
    for (const auto& [blocks, entry] : table["BM_Sync"]) sizes.push_back(blocks);

    report.doc << "### Synchronise, save and load: time per block (µs)\n\n| operation |";
    for (int blocks : sizes) report.doc << " " << blocks << " blocks |";
    report.doc << " 1,000 / 10 | target ≤ 3 |\n|---|";
    for (std::size_t i = 0; i < sizes.size(); ++i) report.doc << "---:|";
    report.doc << "---:|---|\n";
    for (const auto& [key, label] : operations) {
        const auto& row = table[key];
        report.doc << "| " << label << " |";
        for (int blocks : sizes) {
            report.doc << " " << (row.count(blocks) ? Fixed(perBlockUs(row.at(blocks)), 2) : "–") << " |";
        }
        if (row.count(10) && row.count(1000)) {
            const double growth = perBlockUs(row.at(1000)) / perBlockUs(row.at(10));
            report.doc << " " << Fixed(growth, 2) << " | " << Met(growth <= kGrowthTarget) << " |\n";
            report.summary << std::string(key.substr(3)) << std::string(10 - key.size() + 3, ' ');
            for (int blocks : sizes) {
                if (row.count(blocks)) report.summary << blocks << ": " << Fixed(perBlockUs(row.at(blocks)), 2) << "  ";
            }
            report.summary << "us/block; 1000/10 = " << Fixed(growth, 2) << " (target <= 3, "
                           << Met(growth <= kGrowthTarget) << ")\n";
        } else {
            report.doc << " – | – |\n";
        }
    }
    // The save split into its two halves.
    const auto& save = table["BM_Save"];
    report.doc << "\nThe save row split (µs per block): ";
    bool first = true;
    for (int blocks : sizes) {
        if (!save.count(blocks)) continue;
        const Json& entry = save.at(blocks);
        const double n = entry.at("blocks").get<double>();
        report.doc << (first ? "" : "; ") << blocks << " blocks: into the engine "
                   << Fixed(entry.value("engine_s", 0.0) * 1e6 / n, 2) << ", file write "
                   << Fixed(entry.value("write_s", 0.0) * 1e6 / n, 2);
        first = false;
    }
    report.doc << ".\n\n![time per block against design size](performance-per-block.png)\n\n";

    report.plot << "# blocks  sync_us_per_block  save_us_per_block  load_us_per_block\n";
    for (int blocks : sizes) {
        report.plot << blocks;
        for (const auto& [key, label] : operations) {
            const auto& row = table[key];
            report.plot << "  " << (row.count(blocks) ? Fixed(perBlockUs(row.at(blocks)), 4) : "NaN");
        }
        report.plot << "\n";
    }
}

void EndToEnd(const Json& results, Report& report) {
    const double wizard = results.at("olmwiz_median_ms").get<double>();
    const double floor = results.at("minimal_median_ms").get<double>();
    const double ratio = results.at("ratio_of_medians").get<double>();
    report.doc << "### End to end\n\n" << results.at("pairs").get<int>() << " pairs, run alternately.\n\n"
               << "| process | median ms |\n|---|---:|\n"
               << "| `olmwiz run --batch` (tkl_pll, examples/tkl_pll_clkgen.opt) | " << Fixed(wizard, 1) << " |\n"
               << "| `minimal_qt_app` (offscreen QApplication only) | " << Fixed(floor, 1) << " |\n\n"
               << "Ratio of the medians: **" << Fixed(ratio, 2) << "** (median of the pair ratios "
               << Fixed(results.at("median_pair_ratio").get<double>(), 2) << "; target at most 1.5: "
               << Met(ratio <= kEndToEndTarget) << ").\n\n";
    report.summary << "end2end   olmwiz " << Fixed(wizard, 1) << " ms vs minimal " << Fixed(floor, 1)
                   << " ms: ratio " << Fixed(ratio, 2) << " (target <= 1.5, " << Met(ratio <= kEndToEndTarget)
                   << ")\n";
}

void Memory(const Json& results, Report& report) {
    report.doc << "### Memory of a " << results.at("blocks").get<int>() << "-block design\n\n"
               << "| step | retained MB | bytes per block | peak MB during the step | peak bytes per block |\n"
               << "|---|---:|---:|---:|---:|\n";
    for (const Json& step : results.at("steps")) {
        report.doc << "| " << step.at("what").get<std::string>() << " | "
                   << Fixed(step.at("retained_bytes").get<double>() / 1048576.0, 1) << " | "
                   << Fixed(step.at("retained_per_block").get<double>(), 0) << " | "
                   << Fixed(step.at("peak_bytes").get<double>() / 1048576.0, 1) << " | "
                   << Fixed(step.at("peak_per_block").get<double>(), 0) << " |\n";
        report.summary << "memory    " << step.at("what").get<std::string>() << ": "
                       << Fixed(step.at("retained_per_block").get<double>(), 0) << " B/block retained, "
                       << Fixed(step.at("peak_per_block").get<double>(), 0) << " B/block peak\n";
    }
    report.doc << "\n";
}

std::string Option(int argc, char** argv, const char* name) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Report report;
        report.doc << kBegin << "\n\n"
                   << "Machine: " << std::thread::hardware_concurrency() << " cores, " << CpuModel() << "; "
                   << Compiler() << ", build type " << OLM_BENCH_BUILD_TYPE << ".\n\n";
        Reader(ReadJson(Option(argc, argv, "--reader")), report);
        SyncSave(ReadJson(Option(argc, argv, "--sync")), report);
        EndToEnd(ReadJson(Option(argc, argv, "--e2e")), report);
        Memory(ReadJson(Option(argc, argv, "--memory")), report);
        report.doc << kEnd;

        std::cout << report.summary.str();
        if (const std::string plot = Option(argc, argv, "--plot-data"); !plot.empty()) {
            olmbench::WriteText(plot, report.plot.str());
        }
        if (const std::string docPath = Option(argc, argv, "--doc"); !docPath.empty()) {
            std::string doc = ReadText(docPath);
            const auto begin = doc.find(kBegin);
            const auto end = doc.find(kEnd);
            if (begin == std::string::npos || end == std::string::npos || end < begin) {
                throw std::runtime_error(docPath + " has no results section to replace");
            }
            doc.replace(begin, end + std::strlen(kEnd) - begin, report.doc.str());
            olmbench::WriteText(docPath, doc);
        }
    } catch (const std::exception& error) {
        std::cerr << "bench_report: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
