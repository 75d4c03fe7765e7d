#pragma once

#include "OlmBase.h"
#include "wizard/Olm_WizMain.h"
#include "wizard/Olm_WizPage.h"

#include <string>
#include <utility>
#include <vector>

class Olm_KfzWizData;

namespace OlmRef {

// A clock of the design for the constraint template: the port that carries
// it and its period in ns (0 or less: not known, the line is left commented).
struct ClockPeriod {
    std::string port;
    double periodNs = 0.0;
};

// The wizard main shared by the reference wizards. It does the finishing work
// that every wizard does alike: store the container into a fresh design of
// the engine, write the design file, have the HDL file written by a child
// process (`olmwiz hdl`) and write the constraint template beside it.
// The concrete wizard supplies InitWizard and ClockPeriods.
class RefWizMain : public Olm_WizMain {
public:
    // windowTitle: the title of the wizard window.
    RefWizMain(Pal::String wizType, bool batchMode, std::string windowTitle);

    // Gives the wizard window its title.
    bool InitGuiDlgs(Nx_Wizard* wizard) override;

    // The bridge that holds the engine and the container; not owned.
    void SetBridge(Olm_KfzWizData* bridge) { m_bridge = bridge; }
    Olm_KfzWizData* GetBridge() const { return m_bridge; }
    // Where the design file goes (the HDL file and the constraint template go
    // beside it) and the program that writes the HDL file with the arguments
    // that come before its options: an olmwiz with "hdl", or olmwiz-hdl with
    // none.
    void SetDesignFile(const std::string& kfzPath) { m_kfzPath = kfzPath; }
    void SetHdlTool(const std::string& toolPath, std::vector<std::string> leadingArgs = {"hdl"}) {
        m_hdlTool = toolPath;
        m_hdlToolArgs = std::move(leadingArgs);
    }
    const std::string& GetDesignFile() const { return m_kfzPath; }
    std::string GetHdlPath() const;
    std::string GetPkxPath() const;
    // The HDL selector of the name checks (Olm_WizPage::kHdlVhdl or kHdlVerilog).
    int GetHdlSelector() const;

    // Stores, writes and generates; 0 on success, -1 after an error message.
    int DoFinish() override;
    // Brings the container up to date before the summary lists it.
    bool DoFinishAtSummaryStart() override;

    // The clocks of the constraint template: the input clock first, then each
    // generated clock.
    virtual std::vector<ClockPeriod> ClockPeriods() = 0;

    // The feature line of the summary page (its features pane, filled for a
    // moment outside batch mode); empty when the run has no summary page.
    virtual std::string FeatureLine();

    // A message through the page message service, with this run's settings.
    void Report(const Pal::String& text, bool isError);

protected:
    // For InitWizard of a wizard that configures one block: hands the
    // container to the pages, finds the block (its first instance, else the
    // primitive) and switches off every other block. Reports and returns null
    // when the installed data has no such block.
    Olm_Block* UseSingleBlock(const char* primName);

    // Makes the container ready to be stored: by default the signals that an
    // active pin of an active block uses are switched on, all others off.
    virtual bool PrepareData();

private:
    bool GenerateHdl();
    bool WriteConstraintTemplate();

    Olm_KfzWizData* m_bridge = nullptr;
    std::string m_kfzPath;
    std::string m_hdlTool;
    std::vector<std::string> m_hdlToolArgs{"hdl"};
    std::string m_windowTitle;
};

}  // namespace OlmRef
