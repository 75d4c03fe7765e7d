#include "proof/Olm_TestbenchWriter.h"

#include "proof/Olm_TbClockBench.h"
#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbLaneBench.h"
#include "proof/Olm_TbMultBench.h"
#include "proof/Olm_TbReceiveBench.h"
#include "proof/Olm_TbRoundTripBench.h"
#include "proof/Olm_TbSerialBench.h"
#include "proof/Olm_TbText.h"

#include "pal/StrUtil.h"

#include <mutex>
#include <utility>

namespace {

constexpr const char* kBuiltInPrimitives[] = {"RKO_ADV", "RKO_BASE", "DSP", "OSER", "ISER", "HSX3", "HSX10", "HSX11"};

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::pair<std::string, Olm_TestbenchWriter::Bench>>& Benches() {
    static std::vector<std::pair<std::string, Olm_TestbenchWriter::Bench>> benches;
    return benches;
}

// The added bench of the first instance of the design that has one; null when none.
Olm_TestbenchWriter::Bench AddedBenchOf(const Olm_TbDesign& view) {
    const std::lock_guard<std::mutex> guard(Lock());
    for (const Olm_HdlInstance& instance : view.View().instances)
        for (const auto& [primitive, bench] : Benches())
            if (Pal::StrUtil::EqualNoCase(primitive, instance.primitive)) return bench;
    return nullptr;
}

}  // namespace

std::string Olm_TestbenchWriter::FileName(const std::string& design, Olm_HdlGenerator::Language language) {
    return design + "_tb" + Olm_HdlGenerator::Extension(language);
}

bool Olm_TestbenchWriter::Write(const Olm_KfzDesign& kfz, const std::string& design,
                                Olm_HdlGenerator::Language language, std::string& text, std::string& error) {
    Olm_TbDesign view;
    if (!view.Build(kfz, design, error)) return false;
    Olm_TbText tb(language, design);
    bool added = false;
    if (Olm_TbClockBench::Applies(view)) added = Olm_TbClockBench::Add(view, tb, error);
    else if (view.Has("DSP")) added = Olm_TbMultBench::Add(view, tb, error);
    else if (Olm_TbRoundTripBench::Applies(view)) added = Olm_TbRoundTripBench::Add(view, tb, error);
    else if (Olm_TbSerialBench::Applies(view)) added = Olm_TbSerialBench::Add(view, tb, error);
    else if (Olm_TbReceiveBench::Applies(view)) added = Olm_TbReceiveBench::Add(view, tb, error);
    else if (Olm_TbLaneBench::Applies(view)) added = Olm_TbLaneBench::Add(view, tb, error);
    else if (const Bench bench = AddedBenchOf(view)) added = bench(view, tb, error);
    else {
        error = "a testbench is written for phase-locked loops (RKO_ADV, RKO_BASE), multipliers (DSP), "
                "source-synchronous I/O (OSER, ISER) and transceiver lanes (HSX3, HSX10, HSX11) only";
        std::string plugins;
        for (const std::string& primitive : BenchPrimitives()) plugins += (plugins.empty() ? "" : ", ") + primitive;
        if (!plugins.empty()) error += ", and for the primitives " + plugins + " of wizard plugins";
    }
    if (!added) return false;
    text = tb.Text(view.View());
    return true;
}

std::string Olm_TestbenchWriter::AddBench(const std::string& primitive, Bench bench) {
    if (primitive.empty()) return "no primitive is named for the bench";
    if (!bench) return "the bench of " + primitive + " is empty";
    for (const char* builtIn : kBuiltInPrimitives)
        if (Pal::StrUtil::EqualNoCase(primitive, builtIn)) return "the primitive " + primitive + " has a built-in bench";
    const std::lock_guard<std::mutex> guard(Lock());
    for (const auto& [known, unused] : Benches())
        if (Pal::StrUtil::EqualNoCase(known, primitive)) return "the primitive " + primitive + " has a bench already";
    Benches().emplace_back(primitive, std::move(bench));
    return {};
}

bool Olm_TestbenchWriter::RemoveBench(const std::string& primitive) {
    const std::lock_guard<std::mutex> guard(Lock());
    auto& benches = Benches();
    for (auto it = benches.begin(); it != benches.end(); ++it) {
        if (!Pal::StrUtil::EqualNoCase(it->first, primitive)) continue;
        benches.erase(it);
        return true;
    }
    return false;
}

std::vector<std::string> Olm_TestbenchWriter::BenchPrimitives() {
    const std::lock_guard<std::mutex> guard(Lock());
    std::vector<std::string> primitives;
    for (const auto& entry : Benches()) primitives.push_back(entry.first);
    return primitives;
}
