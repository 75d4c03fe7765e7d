// Time per block of the bridge and the engine on designs of 10 to 10,000
// blocks (8 pins, half of them connected, and 10 attributes each):
//   BM_Sync  SyncWizDataWithKFZ of a freshly set-up container against the design
//   BM_Save  SaveWizDataToEngine into an empty engine plus Olm_Engine::Save
//            (counters engine_s and write_s split the two)
//   BM_Load  Olm_Engine::Load of the design file
// Only the operation itself is timed (manual time); setting up its input is not.
//   sync_save_bench --benchmark_repetitions=5

#include "BenchDesign.h"
#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;
using olmbench::BenchDesign;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// One design per size, made on first use and kept for the whole run; its
// data file becomes the installed one.
const BenchDesign& DesignOf(int blocks) {
    static std::map<int, std::unique_ptr<BenchDesign>> designs;
    auto& design = designs[blocks];
    if (!design) design = std::make_unique<BenchDesign>(blocks);
    design->UseDataDir();
    return *design;
}

void SetBlocks(benchmark::State& state, int blocks) { state.counters["blocks"] = blocks; }

// Loads the installed data into a new container of the bridge, untimed;
// null (the benchmark stopped) when it does not load.
std::unique_ptr<Olm_WizData> SetUp(benchmark::State& state, Olm_KfzWizData& bridge) {
    if (bridge.SetupWizData()) return std::unique_ptr<Olm_WizData>(bridge.GetWizDataPtr());
    state.SkipWithError("the data file does not load");
    return nullptr;
}

void BM_Sync(benchmark::State& state) {
    const BenchDesign& design = DesignOf(static_cast<int>(state.range(0)));
    Olm_Engine engine;
    if (!engine.Load(design.KfzPath().c_str())) {
        state.SkipWithError("the design file does not load");
        return;
    }
    for (auto _ : state) {
        Olm_KfzWizData bridge(&engine, BenchDesign::kWizType);
        const std::unique_ptr<Olm_WizData> owned = SetUp(state, bridge);
        if (!owned) break;
        const auto start = Clock::now();
        bridge.SyncWizDataWithKFZ();
        state.SetIterationTime(Seconds(start, Clock::now()));
        if (owned->GetBlkList().size() != static_cast<std::size_t>(design.Blocks())) {
            state.SkipWithError("the synchronised container has other blocks");
            break;
        }
    }
    SetBlocks(state, design.Blocks());
}

void BM_Save(benchmark::State& state) {
    const BenchDesign& design = DesignOf(static_cast<int>(state.range(0)));
    const std::string target = design.KfzPath() + ".saved";
    double engineSeconds = 0;
    double writeSeconds = 0;
    for (auto _ : state) {
        Olm_Engine engine;
        engine.SetFamily(BenchDesign::kFamily);
        Olm_KfzWizData bridge(&engine, BenchDesign::kWizType);
        const std::unique_ptr<Olm_WizData> owned = SetUp(state, bridge);
        if (!owned) break;
        const auto start = Clock::now();
        const bool saved = bridge.SaveWizDataToEngine();
        const auto between = Clock::now();
        const bool written = engine.Save(target.c_str());
        const auto end = Clock::now();
        state.SetIterationTime(Seconds(start, end));
        engineSeconds += Seconds(start, between);
        writeSeconds += Seconds(between, end);
        if (!saved || !written) {
            state.SkipWithError("saving failed");
            break;
        }
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["engine_s"] = iterations > 0 ? engineSeconds / iterations : 0;
    state.counters["write_s"] = iterations > 0 ? writeSeconds / iterations : 0;
    SetBlocks(state, design.Blocks());
}

void BM_Load(benchmark::State& state) {
    const BenchDesign& design = DesignOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Olm_Engine engine;
        const auto start = Clock::now();
        const bool loaded = engine.Load(design.KfzPath().c_str());
        state.SetIterationTime(Seconds(start, Clock::now()));
        if (!loaded || engine.GetDesign().blocks.size() != static_cast<std::size_t>(design.Blocks())) {
            state.SkipWithError("the design file does not load");
            break;
        }
    }
    SetBlocks(state, design.Blocks());
}

// The largest design runs a few iterations only: one setup reads a data file
// of some 10 MB.
#define OLM_SIZES(bench)                                                                               \
    BENCHMARK(bench)->Arg(10)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond); \
    BENCHMARK(bench)->Arg(10000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond)

OLM_SIZES(BM_Sync);
OLM_SIZES(BM_Save);
OLM_SIZES(BM_Load);

}  // namespace
