// Throughput of the data-file reader on a large generated data file: blocks
// with pins and attributes, and signals, as in the installed data files.
//   datafile_reader_bench [--benchmark_filter=...]

#include "datafiles/Olm_DataFileReader.h"
#include "model/Olm_WizData.h"
#include "pal/MsgMan.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

struct GeneratedFile {
    std::filesystem::path path;
    std::size_t bytes = 0;
    std::size_t lines = 0;
};

// A data file of `blocks` blocks (8 pins and 12 attributes each) and as many signals.
GeneratedFile Generate(int blocks) {
    GeneratedFile file;
    file.path = std::filesystem::temp_directory_path() /
                ("olm_reader_bench_" + std::to_string(::getpid()) + "_" + std::to_string(blocks) + ".dev");
    std::string text = "# generated for the reader benchmark\nVersion: 1.0;\nWizData: bench;\n";
    for (int b = 0; b < blocks; ++b) {
        const std::string n = std::to_string(b);
        text += "  Block: BLK" + n + ";\n    Primitive: RKO_ADV;\n    BlkFlags: PLL; ADV;\n";
        for (int p = 0; p < 8; ++p) {
            const std::string pn = std::to_string(p);
            text += "    InputPin: PIN" + pn + "; Width=[7:0]; Signal=SIG" + n + "; HasBus=TRUE; Flag=DATAWIDTH; SaveToKFZ=TRUE;\n";
        }
        for (int a = 0; a < 12; ++a) {
            text += "    Attribute: CLKOUT" + std::to_string(a) + "_DIVIDE;\n"
                    "      PossibleValues: OLMRANGE=1:128, 1, 2, 4, 8, 16;\n"
                    "      DefaultValue: 4;\n"
                    "      IsModifiable: TRUE;\n"
                    "      SaveToKFZ: TRUE;\n"
                    "    EndAttribute;\n";
        }
        text += "  EndBlock;\n";
        text += "  Signal: SIG" + n + ";\n    External: PORT" + n + ";\n    Bus: 8;\n  EndSignal;\n";
    }
    text += "EndWizData;\n";
    std::ofstream(file.path, std::ios::binary) << text;
    file.bytes = text.size();
    for (char c : text) file.lines += c == '\n';
    return file;
}

void BM_ReadDataFile(benchmark::State& state) {
    const GeneratedFile file = Generate(static_cast<int>(state.range(0)));
    // Any report would be an error of the generated file: count them.
    int reports = 0;
    const auto previous = Pal::MsgMan::setHandler([&reports](const Pal::MsgMan::Report&) { ++reports; });
    for (auto _ : state) {
        Olm_DataFileReader reader;
        reader.Open(file.path.c_str());
        Olm_WizData wizData;
        const bool ok = reader.ReadFile(&wizData);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(wizData.GetBlkList().data());
    }
    Pal::MsgMan::setHandler(previous);
    std::filesystem::remove(file.path);
    if (reports != 0) state.SkipWithError("the generated file has errors");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * file.lines), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ReadDataFile)->Arg(100)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
