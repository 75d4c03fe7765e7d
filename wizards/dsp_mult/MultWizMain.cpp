#include "MultWizMain.h"

#include "MultSetupPage.h"
#include "PipelinePage.h"

namespace DspMult {

MultWizMain::MultWizMain(bool batchMode)
    : RefWizMain("dsp_mult", batchMode, "Olm Wizard - DSP Multiplier"),
      m_setup(std::make_unique<MultSetupPage>(this)),
      m_pipeline(std::make_unique<PipelinePage>(this)) {
    SetDSPSupport(true);
    GetPages()[0] = m_setup.get();
    GetPages()[1] = m_pipeline.get();
}

MultWizMain::~MultWizMain() = default;

bool MultWizMain::InitWizard() {
    m_block = UseSingleBlock(kPrimName);
    if (!m_block) return false;
    m_config.Load(GetWizDataPtr(), m_block);
    return true;
}

void MultWizMain::Commit() { m_config.Apply(GetWizDataPtr(), m_block); }

std::vector<OlmRef::ClockPeriod> MultWizMain::ClockPeriods() {
    // The multiplier does not know its clock: a commented line to fill in.
    if (m_config.Latency() == 0) return {};
    return {{m_config.portClk, 0.0}};
}

std::string MultWizMain::FeatureLine() {
    const auto sign = [](bool s) { return s ? "signed" : "unsigned"; };
    return "1 DSP configured as a multiplier: A " + m_config.aWidth + " bits " + sign(m_config.aSigned) + " x B " +
           m_config.bWidth + " bits " + sign(m_config.bSigned) + ", product " + m_config.pWidth + " bits, latency " +
           std::to_string(m_config.Latency()) + " clock cycles.";
}

}  // namespace DspMult
