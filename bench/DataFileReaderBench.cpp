// Throughput of the data-file reader on a generated data file of about 10 MB
// (blocks with pins and attributes, and signals, as in the installed data
// files), side by side with a plain std::getline loop over the same file: the
// floor for any line reader. Run both in one process with repetitions
// interleaved, so that the ratio holds on a busy machine:
//   datafile_reader_bench --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true

#include "BenchSupport.h"
#include "datafiles/Olm_DataFileReader.h"
#include "model/Olm_WizData.h"
#include "pal/MsgMan.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

constexpr std::size_t kTargetBytes = 10u << 20;

// Blocks of 8 pins and 12 attributes, each with a signal, until the file
// reaches the wanted size.
struct GeneratedFile {
    GeneratedFile();

    olmbench::TempDir dir{"olm_reader_bench"};
    std::filesystem::path path;
    std::size_t bytes = 0;
    std::size_t lines = 0;
    int blocks = 0;
};

GeneratedFile::GeneratedFile() : path(dir.Path() / "olm_bench.dev") {
    std::string text = "# generated for the reader benchmark\nVersion: 1.0;\nWizData: bench;\n";
    int b = 0;
    for (; text.size() < kTargetBytes; ++b) {
        const std::string n = std::to_string(b);
        text += "  Block: BLK" + n + ";\n    Primitive: RKO_ADV;\n    BlkFlags: PLL; ADV;\n";
        for (int p = 0; p < 8; ++p) {
            text += "    InputPin: PIN" + std::to_string(p) + "; Width=[7:0]; Signal=SIG" + n +
                    "; HasBus=TRUE; Flag=DATAWIDTH; SaveToKFZ=TRUE;\n";
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
    olmbench::WriteText(path, text);
    bytes = text.size();
    for (char c : text) lines += c == '\n';
    blocks = b;
}

const GeneratedFile& File() {
    static const GeneratedFile file;
    return file;
}

void SetRates(benchmark::State& state, const GeneratedFile& file) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * file.lines), benchmark::Counter::kIsRate);
    state.counters["MB"] = static_cast<double>(file.bytes) / (1 << 20);
    state.counters["blocks"] = file.blocks;
}

void BM_ReadDataFile(benchmark::State& state) {
    const GeneratedFile& file = File();
    // Any report would be an error of the generated file: count them.
    int reports = 0;
    const auto previous = Pal::MsgMan::setHandler([&reports](const Pal::MsgMan::Report&) { ++reports; });
    std::size_t blocks = 0;
    for (auto _ : state) {
        Olm_DataFileReader reader;
        reader.Open(file.path.c_str());
        Olm_WizData wizData;
        const bool ok = reader.ReadFile(&wizData);
        benchmark::DoNotOptimize(ok);
        blocks = wizData.GetBlkList().size();
    }
    Pal::MsgMan::setHandler(previous);
    if (reports != 0 || blocks != static_cast<std::size_t>(file.blocks)) {
        state.SkipWithError("the generated file did not read cleanly");
    }
    SetRates(state, file);
}

// The floor: every line of the same file through std::getline, touching each
// line's first byte so that nothing is optimised away.
void BM_GetlineLoop(benchmark::State& state) {
    const GeneratedFile& file = File();
    for (auto _ : state) {
        std::ifstream in(file.path, std::ios::binary);
        std::string line;
        std::size_t lines = 0;
        unsigned sum = 0;
        while (std::getline(in, line)) {
            ++lines;
            sum += line.empty() ? 0u : static_cast<unsigned char>(line[0]);
        }
        benchmark::DoNotOptimize(sum);
        if (lines != file.lines) state.SkipWithError("the loop lost lines");
    }
    SetRates(state, file);
}

BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetlineLoop)->Unit(benchmark::kMillisecond);

}  // namespace
