// Gathers the results of the benchmark programs (their JSON output) into the
// summary that scripts/bench.sh prints, the data file of the per-block plot
// and the generated part of docs/performance.md (between the lines
// "<!-- results:begin -->" and "<!-- results:end -->").
//   bench_report --reader F --sync F --e2e F --memory F --regen F [--plot-data F]
//                [--regen-plot-data F] [--doc F]

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
// olmwiz regen --jobs 1 at least 10 times the rate of separate processes; a
// worker's resident size after 1,000 jobs within 10% of that after 100.
constexpr double kRegenTarget = 10.0;
constexpr double kRegenMemoryTarget = 1.10;

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

// The name of a summary line, padded to one width.
std::string Label(const std::string& name) { return name + std::string(name.size() < 12 ? 12 - name.size() : 1, ' '); }

// The same verdict for the console.
std::string Verdict(bool met) { return met ? "met" : "MISSED"; }

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
    std::ostringstream plot;     // blocks, then microseconds per block of each operation
    std::ostringstream regenPlot;  // jobs in the manifest, then jobs per second of each way in each folder
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
    report.summary << Label("reader") << Fixed(readerMBs, 1) << " MB/s vs getline " << Fixed(loopMBs, 1)
                   << " MB/s: ratio " << Fixed(ratio, 2) << " (target >= 0.33, " << Verdict(ratio >= kReaderTarget)
                   << ")\n";
}

// Microseconds per block of one operation, by design size.
struct Row {
    std::string key;    // short name for the summary
    std::string label;  // markdown for the table
    bool target;        // whether the growth target applies to the row
    std::map<int, double> perBlockUs;
};

std::string Thousands(int value) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && digits[i - 1] != '-' && (digits.size() - i) % 3 == 0) text += ',';
        text += digits[i];
    }
    return text;
}

void SyncSave(const Json& results, Report& report) {
    // operation -> blocks -> median entry
    std::map<std::string, std::map<int, Json>> table;
    for (const auto& [name, entry] : Medians(results)) {
        const auto slash = name.find('/');
        if (slash == std::string::npos) continue;
        table[name.substr(0, slash)][std::stoi(name.substr(slash + 1))] = entry;
    }
    // The time of the run, or a counter of seconds per iteration, per block.
    const auto perBlock = [&](const std::string& bench, const char* counter) {
        std::map<int, double> values;
        for (const auto& [blocks, entry] : table[bench]) {
            const double seconds =
                counter ? entry.value(counter, 0.0)
                        : ToSeconds(entry.at("real_time").get<double>(), entry.at("time_unit").get<std::string>());
            values[blocks] = seconds * 1e6 / entry.at("blocks").get<double>();
        }
        return values;
    };
    const std::vector<Row> rows = {
        {"Sync", "`SyncWizDataWithKFZ`", true, perBlock("BM_Sync", nullptr)},
        {"Save", "`SaveWizDataToEngine` + `Olm_Engine::Save`", true, perBlock("BM_Save", nullptr)},
        {"Save:engine", "&nbsp;&nbsp;of which `SaveWizDataToEngine`", false, perBlock("BM_Save", "engine_s")},
        {"Save:write", "&nbsp;&nbsp;of which `Olm_Engine::Save`", false, perBlock("BM_Save", "write_s")},
        {"Load", "`Olm_Engine::Load`", true, perBlock("BM_Load", nullptr)}};
    std::vector<int> sizes;
    for (const auto& [blocks, value] : rows.front().perBlockUs) sizes.push_back(blocks);

    report.doc << "### Synchronise, save and load: time per block (µs)\n\n| operation |";
    for (int blocks : sizes) report.doc << " " << Thousands(blocks) << " blocks |";
    report.doc << " 1,000 / 10 | target ≤ 3 |\n|---|";
    for (std::size_t i = 0; i < sizes.size(); ++i) report.doc << "---:|";
    report.doc << "---:|---|\n";
    for (const Row& row : rows) {
        report.doc << "| " << row.label << " |";
        report.summary << Label(row.key);
        for (int blocks : sizes) {
            const bool has = row.perBlockUs.count(blocks) != 0;
            report.doc << " " << (has ? Fixed(row.perBlockUs.at(blocks), 2) : "–") << " |";
            if (has) report.summary << blocks << ": " << Fixed(row.perBlockUs.at(blocks), 2) << "  ";
        }
        report.summary << "us/block";
        if (row.perBlockUs.count(10) && row.perBlockUs.count(1000)) {
            const double growth = row.perBlockUs.at(1000) / row.perBlockUs.at(10);
            report.doc << " " << Fixed(growth, 2) << " | " << (row.target ? Met(growth <= kGrowthTarget) : "") << " |\n";
            report.summary << "; 1000/10 = " << Fixed(growth, 2);
            if (row.target) report.summary << " (target <= 3, " << Verdict(growth <= kGrowthTarget) << ")";
        } else {
            report.doc << " – | |\n";
        }
        report.summary << "\n";
    }
    report.doc << "\n![time per block against design size](performance-per-block.png)\n\n";

    report.plot << "# blocks, then microseconds per block of:";
    for (const Row& row : rows) report.plot << " " << row.key;
    report.plot << "\n";
    for (int blocks : sizes) {
        report.plot << blocks;
        for (const Row& row : rows) {
            report.plot << "  " << (row.perBlockUs.count(blocks) ? Fixed(row.perBlockUs.at(blocks), 4) : "NaN");
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
    report.summary << Label("end2end") << "olmwiz " << Fixed(wizard, 1) << " ms vs minimal " << Fixed(floor, 1)
                   << " ms: ratio " << Fixed(ratio, 2) << " (target <= 1.5, " << Verdict(ratio <= kEndToEndTarget)
                   << ")\n";
}

// One folder of the regen benchmark: its way side by side, its rates by
// manifest size and the memory of a worker.
void RegenIn(const Json& place, int jobs, int cores, Report& report) {
    const std::string where = "`" + place.at("folder").get<std::string>() + "` (" +
                              place.at("filesystem").get<std::string>() + ")";
    const double single = place.at("regen_jobs1_per_s").get<double>();
    const double pair = place.at("regen_jobs2_per_s").get<double>();
    const double separate = place.at("processes_per_s").get<double>();
    const double speedup = single / separate;
    report.doc << "#### In " << where << "\n\n"
               << "| way | jobs per second | ms per job |\n|---|---:|---:|\n"
               << "| `olmwiz regen --jobs 1` | " << Fixed(single, 1) << " | " << Fixed(1000 / single, 1) << " |\n"
               << "| `olmwiz regen --jobs 2` | " << Fixed(pair, 1) << " | " << Fixed(1000 / pair, 1) << " |\n"
               << "| " << jobs << " separate `olmwiz run --batch` processes | " << Fixed(separate, 1) << " | "
               << Fixed(1000 / separate, 1) << " |\n\n"
               << "`--jobs 1` against separate processes: **" << Fixed(speedup, 1) << "×** (target at least 10×: "
               << Met(speedup >= kRegenTarget) << "); `--jobs 2` against `--jobs 1`: **" << Fixed(pair / single, 2)
               << "×** on " << cores << " cores.\n\n"
               << "| jobs in the manifest | `--jobs 1` jobs/s | `--jobs 2` jobs/s |\n|---:|---:|---:|\n";
    for (const Json& size : place.at("by_size")) {
        report.doc << "| " << Thousands(size.at("jobs").get<int>()) << " | "
                   << Fixed(size.at("jobs1_per_s").get<double>(), 1) << " | "
                   << Fixed(size.at("jobs2_per_s").get<double>(), 1) << " |\n";
    }
    report.doc << "\n";
    const std::string key = place.at("filesystem").get<std::string>();
    report.summary << Label("regen") << key << ": " << Fixed(single, 1) << " jobs/s vs " << Fixed(separate, 1)
                   << " jobs/s of separate processes: " << Fixed(speedup, 1) << "x (target >= 10, "
                   << Verdict(speedup >= kRegenTarget) << "); --jobs 2 " << Fixed(pair / single, 2) << "x --jobs 1\n";

    const Json& memory = place.at("memory");
    if (!memory.contains("peak_kb_1000")) return;
    const auto mb = [&](const char* name) { return Fixed(memory.at(name).get<double>() / 1024, 1); };
    const double growth = memory.at("peak_kb_1000").get<double>() / memory.at("peak_kb_100").get<double>();
    report.doc << "| the worker of `--jobs 1` | after 100 jobs | after 1,000 jobs |\n|---|---:|---:|\n"
               << "| resident MB | " << mb("rss_kb_100") << " | " << mb("rss_kb_1000") << " |\n"
               << "| peak resident MB (max RSS) | " << mb("peak_kb_100") << " | " << mb("peak_kb_1000") << " |\n\n"
               << "Max RSS after 1,000 jobs / after 100: **" << Fixed(growth, 3) << "** (target at most 1.10: "
               << Met(growth <= kRegenMemoryTarget) << ").\n\n";
    report.summary << Label("regen mem") << key << ": worker max RSS " << mb("peak_kb_100") << " MB after 100 jobs, "
                   << mb("peak_kb_1000") << " MB after 1000: " << Fixed(growth, 3) << " (target <= 1.10, "
                   << Verdict(growth <= kRegenMemoryTarget) << ")\n";
}

void Regen(const Json& results, Report& report) {
    const int jobs = results.at("jobs").get<int>();
    const Json& places = results.at("places");
    report.doc << "### Regenerating a project: `olmwiz regen`\n\n"
               << "A manifest of " << jobs << " jobs (both reference wizards, both languages, option files and "
               << "defaults), medians of " << results.at("rounds").get<int>() << " rounds run in turn, in "
               << places.size() << (places.size() == 1 ? " folder" : " folders") << ".\n\n";
    for (const Json& place : places) RegenIn(place, jobs, results.at("cores").get<int>(), report);
    report.doc << "![jobs per second against manifest size](performance-regen.png)\n\n";

    // A header row of titles, then per manifest size the rates of every way in every folder.
    report.regenPlot << "jobs";
    for (const Json& place : places) {
        const std::string in = " in " + place.at("folder").get<std::string>() + " (" +
                               place.at("filesystem").get<std::string>() + ")";
        report.regenPlot << " \"regen --jobs 1" << in << "\" \"regen --jobs 2" << in << "\" \"" << jobs
                         << " separate processes" << in << "\"";
    }
    report.regenPlot << "\n";
    for (std::size_t row = 0; row < places.front().at("by_size").size(); ++row) {
        report.regenPlot << places.front().at("by_size").at(row).at("jobs").get<int>();
        for (const Json& place : places) {
            const Json& size = place.at("by_size").at(row);
            report.regenPlot << "  " << Fixed(size.at("jobs1_per_s").get<double>(), 2) << "  "
                             << Fixed(size.at("jobs2_per_s").get<double>(), 2) << "  "
                             << Fixed(place.at("processes_per_s").get<double>(), 2);
        }
        report.regenPlot << "\n";
    }
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
        report.summary << Label("memory") << step.at("what").get<std::string>() << ": "
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
        Regen(ReadJson(Option(argc, argv, "--regen")), report);
        Memory(ReadJson(Option(argc, argv, "--memory")), report);
        report.doc << kEnd;

        std::cout << report.summary.str();
        if (const std::string plot = Option(argc, argv, "--plot-data"); !plot.empty()) {
            olmbench::WriteText(plot, report.plot.str());
        }
        if (const std::string plot = Option(argc, argv, "--regen-plot-data"); !plot.empty()) {
            olmbench::WriteText(plot, report.regenPlot.str());
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
