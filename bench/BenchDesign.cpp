#include "BenchDesign.h"

#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_WizData.h"

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace olmbench {

namespace {

std::string Fail(const std::string& what, int blocks) {
    return "bench design of " + std::to_string(blocks) + " blocks: " + what;
}

}  // namespace

std::string BenchDesign::DataFileText(int blocks) {
    std::string text = "Version: 1.0;\nWizData: dsp;\n";
    for (int b = 0; b < blocks; ++b) {
        const std::string n = std::to_string(b);
        text += "  Block: B" + n + ";\n    Primitive: DSP;\n    BlkFlags: DSP;\n";
        for (int p = 0; p < kPinsPerBlock; ++p) {
            const std::string pin = std::to_string(p);
            text += p % 2 == 0 ? "    InputPin: P" : "    OutputPin: P";
            text += pin + "; Width=[7:0]; HasBus=TRUE;";
            if (p < kConnectedPins) text += " Signal=S" + n + "_" + pin + ";";
            text += "\n";
        }
        for (int a = 0; a < kAttributesPerBlock; ++a) {
            text += "    Attribute: A" + std::to_string(a) +
                    ";\n      PossibleValues: OLMRANGE=1:64;\n      DefaultValue: 4;\n"
                    "      IsModifiable: TRUE;\n      SaveToKFZ: TRUE;\n    EndAttribute;\n";
        }
        text += "  EndBlock;\n";
    }
    for (int b = 0; b < blocks; ++b) {
        for (int p = 0; p < kConnectedPins; ++p) {
            const std::string name = "S" + std::to_string(b) + "_" + std::to_string(p);
            text += "  Signal: " + name + ";\n    External: " + name + ";\n    Bus: 8;\n  EndSignal;\n";
        }
    }
    text += "EndWizData;\n";
    return text;
}

BenchDesign::BenchDesign(int blocks) : m_blocks(blocks) {
    WriteText(m_dir.Path() / "olm_dsp.dev", DataFileText(blocks));
    UseDataDir();

    Olm_Engine engine;
    engine.SetFamily(kFamily);
    Olm_KfzWizData bridge(&engine, kWizType);
    if (!bridge.SetupWizData()) throw std::runtime_error(Fail("the data file did not load", blocks));
    const std::unique_ptr<Olm_WizData> installed(bridge.GetWizDataPtr());
    if (static_cast<int>(installed->GetBlkList().size()) != blocks) {
        throw std::runtime_error(Fail("the data file has other blocks", blocks));
    }
    if (!bridge.SaveWizDataToEngine()) throw std::runtime_error(Fail("saving to the engine failed", blocks));
    m_kfzPath = (m_dir.Path() / "design.kfz").string();
    Pal::String error;
    if (!engine.Save(m_kfzPath.c_str(), &error)) throw std::runtime_error(Fail(error.c_str(), blocks));

    const Olm_KfzDesign& design = engine.GetDesign();
    std::size_t connected = 0;
    for (const auto& block : design.blocks) {
        for (const auto& pin : block.pins) connected += !pin.signal.IsEmpty();
    }
    if (static_cast<int>(design.blocks.size()) != blocks ||
        connected != static_cast<std::size_t>(blocks) * kConnectedPins ||
        design.nets.size() != static_cast<std::size_t>(blocks) * kConnectedPins) {
        throw std::runtime_error(Fail("the saved design is not the one generated", blocks));
    }
}

void BenchDesign::UseDataDir() const { ::setenv("OLMW_DATA_DIR", m_dir.Path().c_str(), 1); }

}  // namespace olmbench
