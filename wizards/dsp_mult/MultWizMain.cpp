#include "MultWizMain.h"

#include "MultSetupPage.h"
#include "PipelinePage.h"

#include "gui_nx/Nx_Wizard.h"

namespace DspMult {

MultWizMain::MultWizMain(bool batchMode)
    : RefWizMain("dsp_mult", batchMode),
      m_setup(std::make_unique<MultSetupPage>(this)),
      m_pipeline(std::make_unique<PipelinePage>(this)) {
    SetDSPSupport(true);
    GetPages()[0] = m_setup.get();
    GetPages()[1] = m_pipeline.get();
}

MultWizMain::~MultWizMain() = default;

bool MultWizMain::InitWizard() {
    Olm_WizData* data = GetWizDataPtr();
    if (!data) return false;
    m_setup->SetWizDataPtr(data);
    m_pipeline->SetWizDataPtr(data);
    m_block = data->GetBlockInstNum(kPrimName, 1);
    if (!m_block) m_block = data->GetPrimitiveBlock(kPrimName);
    if (!m_block) {
        Report("The installed data holds no DSP block.", true);
        return false;
    }
    for (Olm_Block* block : data->GetBlkList())
        if (block) block->SetIsActive(block == m_block);
    m_config.Load(data, m_block);
    return true;
}

bool MultWizMain::InitGuiDlgs(Nx_Wizard* wizard) {
    if (!wizard) return false;
    wizard->setWindowTitle(QStringLiteral("Olm Wizard - DSP Multiplier"));
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
