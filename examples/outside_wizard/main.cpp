// The smallest concrete wizard: one page that sets the operand width of the
// DSP block, run in batch mode on the installed data of the dsp_mult type.
#include "OlmBase.h"
#include "wizard/Olm_WizMain.h"
#include "wizard/Olm_WizPage.h"

#include <cstdio>

namespace {

class WidthPage : public Olm_WizPage {
public:
    explicit WidthPage(Olm_WizMain* main) : Olm_WizPage(main) {}
    bool RunBatch() override {
        Olm_Block* dsp = GetWizDataPtr() ? GetWizDataPtr()->GetPrimitiveBlock("DSP") : nullptr;
        if (!dsp) {
            IssueMessage("The installed data holds no DSP block.", true, false, false);
            return false;
        }
        return dsp->SetAttributeValue("A_WIDTH", "8");
    }
    bool CreateGuiDlg(Nx_Wizard*) override { return false; }  // batch only
    Nx_WizardPage* GetGui() override { return nullptr; }
};

class TinyWizard : public Olm_WizMain {
public:
    TinyWizard() : Olm_WizMain("dsp_mult", true), m_page(this) { GetPages()[0] = &m_page; }
    bool InitWizard() override {
        m_page.SetWizDataPtr(GetWizDataPtr());
        return GetWizDataPtr() != nullptr;
    }
    bool InitGuiDlgs(Nx_Wizard*) override { return true; }
    int DoFinish() override {
        Olm_Block* dsp = GetWizDataPtr()->GetPrimitiveBlock("DSP");
        std::printf("DSP A_WIDTH = %s\n", dsp->GetAttributeValue("A_WIDTH").c_str());
        return 0;
    }

private:
    WidthPage m_page;
};

}  // namespace

int main() {
    Olm_Engine engine;
    engine.SetFamily("korvo5");
    Olm_KfzWizData bridge(&engine, "dsp_mult");
    bridge.SetBatchMode(true);
    if (!bridge.SetupWizData()) {
        std::fprintf(stderr, "outside_wizard: the installed data of dsp_mult cannot be read\n");
        return 1;
    }
    Olm_WizData* data = bridge.GetWizDataPtr();
    TinyWizard wizard;
    wizard.SetWizDataPtr(data);
    const int result = wizard.Run();
    delete data;
    return result == 0 ? 0 : 1;
}
