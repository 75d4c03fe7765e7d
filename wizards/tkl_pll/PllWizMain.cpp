#include "PllWizMain.h"

#include "GeneralSetupPage.h"
#include "OutputClocksPage.h"

#include "../common/DesignUtil.h"

namespace TklPll {

PllWizMain::PllWizMain(bool batchMode)
    : RefWizMain("tkl_pll", batchMode, "Olm Wizard - Single PLL"),
      m_general(std::make_unique<GeneralSetupPage>(this)),
      m_outputs(std::make_unique<OutputClocksPage>(this)) {
    SetTKLPrimName(kPrimName);
    SetTKLAdvSupport(true);
    GetPages()[0] = m_general.get();
    GetPages()[1] = m_outputs.get();
}

PllWizMain::~PllWizMain() = default;

bool PllWizMain::InitWizard() {
    // The design is this one PLL.
    m_block = UseSingleBlock(kPrimName);
    if (!m_block) return false;
    std::string missing;
    if (!ReadLimits(m_block, m_limits, missing)) {
        Pal::String text;
        Report(text.Format("The installed data gives no usable range for %s of RKO_ADV.", missing.c_str()), true);
        return false;
    }
    m_config.Load(GetWizDataPtr(), m_block, IsExistingKFZ());
    return true;
}

PllResult PllWizMain::Solve(const PllConfig& config, bool withOutputs) const {
    double fin = 0.0;
    if (!OlmRef::ParseNumber(config.inputFreq, fin)) fin = 0.0;
    double tolerance = 0.0;
    std::optional<double> tol;
    if (OlmRef::ParseNumber(config.tolerancePpm, tolerance)) tol = tolerance;
    std::array<PllOutputRequest, kMaxOutputs> requests{};
    for (int n = 0; withOutputs && n < kMaxOutputs; ++n) {
        const PllOutputConfig& out = config.outputs[n];
        requests[n].enabled = out.enabled;
        double freq = 0.0;
        requests[n].freqMHz = OlmRef::ParseNumber(out.freq, freq) ? freq : 0.0;
        requests[n].tolerancePpm = tol;
    }
    return PllSolver(m_limits).Solve(fin, requests);
}

void PllWizMain::Commit(const PllResult& result) {
    m_result = result;
    m_config.Apply(GetWizDataPtr(), m_block, m_result);
}

std::vector<OlmRef::ClockPeriod> PllWizMain::ClockPeriods() {
    std::vector<OlmRef::ClockPeriod> clocks;
    double fin = 0.0;
    if (OlmRef::ParseNumber(m_config.inputFreq, fin) && fin > 0.0)
        clocks.push_back({m_config.inputPort, 1000.0 / fin});
    for (int n = 0; n < kMaxOutputs; ++n) {
        const PllOutputResult& out = m_result.outputs[n];
        if (!m_config.outputs[n].enabled || !m_result.ok || out.achievedMHz <= 0.0) continue;
        clocks.push_back({m_config.outputs[n].port, 1000.0 / out.achievedMHz});
    }
    return clocks;
}

}  // namespace TklPll
