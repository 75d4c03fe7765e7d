#pragma once

#include "PllConfig.h"
#include "PllSolver.h"

#include "../common/RefWizMain.h"

#include <memory>

namespace TklPll {

class GeneralSetupPage;
class OutputClocksPage;

// The single-PLL wizard: one RKO_ADV whose dividers the wizard works out
// from the requested output clocks. Pages: General Setup, Output Clocks,
// then the library's summary page.
class PllWizMain : public OlmRef::RefWizMain {
public:
    explicit PllWizMain(bool batchMode);
    ~PllWizMain() override;

    bool InitWizard() override;
    std::vector<OlmRef::ClockPeriod> ClockPeriods() override;

    PllConfig& Config() { return m_config; }
    const PllLimits& Limits() const { return m_limits; }
    Olm_Block* Block() const { return m_block; }
    // Solves the configuration's requests (only the input clock when
    // withOutputs is false); nothing is changed.
    PllResult Solve(const PllConfig& config, bool withOutputs) const;
    // Keeps the solved result and writes configuration and result into the model.
    void Commit(const PllResult& result);
    const PllResult& Result() const { return m_result; }

private:
    PllConfig m_config;
    PllLimits m_limits;
    PllResult m_result;
    Olm_Block* m_block = nullptr;  // in the container
    std::unique_ptr<GeneralSetupPage> m_general;
    std::unique_ptr<OutputClocksPage> m_outputs;
};

}  // namespace TklPll
