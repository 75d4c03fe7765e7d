// Heap memory of a 10,000-block design (8 pins, half of them connected, and
// 10 attributes per block) in the wizards' model and in the engine.
// Method: this program replaces the global operator new and delete and
// counts the bytes the allocator hands out (malloc_usable_size, so rounding
// is included, the allocator's own headers are not). For each step it
// reports the bytes still held afterwards (retained) and the highest count
// reached during the step above the count before it (peak).
//   memory_bench [--blocks N] [--json FILE]

#include "BenchDesign.h"
#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>

#include <malloc.h>

namespace {

std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};

void* Allocate(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    const long long now = g_live += static_cast<long long>(::malloc_usable_size(p));
    long long peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void Release(void* p) {
    if (!p) return;
    g_live -= static_cast<long long>(::malloc_usable_size(p));
    std::free(p);
}

struct Step {
    long long retained = 0;
    long long peak = 0;
};

// Runs the step and measures it against the count before it.
Step Measure(const std::function<void()>& step) {
    const long long before = g_live.load();
    g_peak = before;
    step();
    return Step{g_live.load() - before, g_peak.load() - before};
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

int main(int argc, char** argv) {
    int blocks = 10000;
    std::string jsonPath;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--blocks") == 0) blocks = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--json") == 0) jsonPath = argv[i + 1];
    }
    if (blocks <= 0) {
        std::fprintf(stderr, "memory_bench: --blocks takes a positive number\n");
        return 2;
    }
    const olmbench::BenchDesign design(blocks);

    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    auto report = [&](const char* what, const Step& step) {
        const double perBlock = static_cast<double>(step.retained) / blocks;
        const double peakPerBlock = static_cast<double>(step.peak) / blocks;
        std::printf("%-40s retained %8.2f MB (%6.0f B/block)   peak %8.2f MB (%6.0f B/block)\n", what,
                    step.retained / 1048576.0, perBlock, step.peak / 1048576.0, peakPerBlock);
        rows.push_back({{"what", what},
                        {"retained_bytes", step.retained},
                        {"peak_bytes", step.peak},
                        {"retained_per_block", perBlock},
                        {"peak_per_block", peakPerBlock}});
    };

    // The model: the container the installed data gives, read through the bridge.
    Olm_Engine familyOnly;
    familyOnly.SetFamily(olmbench::BenchDesign::kFamily);
    std::unique_ptr<Olm_WizData> model;
    report("model: data file read into the container", Measure([&] {
               Olm_KfzWizData bridge(&familyOnly, olmbench::BenchDesign::kWizType);
               if (bridge.SetupWizData()) model.reset(bridge.GetWizDataPtr());
           }));
    if (!model) return 1;

    // The engine: the design built by the bridge's writes, then as loaded from its file.
    auto built = std::make_unique<Olm_Engine>();
    built->SetFamily(olmbench::BenchDesign::kFamily);
    Olm_KfzWizData saver(built.get(), olmbench::BenchDesign::kWizType);
    if (!saver.SetupWizData()) return 1;
    const std::unique_ptr<Olm_WizData> saved(saver.GetWizDataPtr());
    report("engine: design saved into it by the bridge", Measure([&] { saver.SaveWizDataToEngine(); }));
    built.reset();
    auto loaded = std::make_unique<Olm_Engine>();
    report("engine: design loaded from its file", Measure([&] { loaded->Load(design.KfzPath().c_str()); }));
    if (loaded->GetDesign().blocks.size() != static_cast<std::size_t>(blocks)) return 1;

    if (!jsonPath.empty()) {
        nlohmann::ordered_json json = {{"blocks", blocks}, {"method", "counting operator new"}, {"steps", rows}};
        olmbench::WriteText(jsonPath, json.dump(2) + "\n");
    }
    return 0;
}
