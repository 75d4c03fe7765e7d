#pragma once

#include "MultConfig.h"

#include "../common/RefWizMain.h"

#include <memory>

namespace DspMult {

class MultSetupPage;
class PipelinePage;

// The multiplier wizard: one DSP block used as a multiplier. Pages:
// "General Setup - Multiplier" (operands, product, their ports),
// "Pipelining - Multiplier" (register stages, clock, enable and reset), then
// the library's summary page.
class MultWizMain : public OlmRef::RefWizMain {
public:
    explicit MultWizMain(bool batchMode);
    ~MultWizMain() override;

    bool InitWizard() override;
    std::vector<OlmRef::ClockPeriod> ClockPeriods() override;
    std::string FeatureLine() override;

    MultConfig& Config() { return m_config; }
    Olm_Block* Block() const { return m_block; }
    // Writes the configuration into the model.
    void Commit();

private:
    MultConfig m_config;
    Olm_Block* m_block = nullptr;  // in the container
    std::unique_ptr<MultSetupPage> m_setup;
    std::unique_ptr<PipelinePage> m_pipeline;
};

}  // namespace DspMult
