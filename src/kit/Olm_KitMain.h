#pragma once

#include "kit/Olm_ConstraintTemplate.h"
#include "kit/Olm_CoreSymbol.h"
#include "kit/Olm_FileState.h"
#include "kit/Olm_KitPage.h"
#include "shared/Olm_HdlLanguage.h"
#include "wizard/Olm_SummaryContent.h"
#include "wizard/Olm_WizMain.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class Olm_FieldValues;
class Olm_HdlGenerator;
class Olm_KfzWizData;
class Olm_OptFileCheck;

// The wizard main of the toolkit: everything a concrete wizard does alike,
// so that the wizard itself declares its pages and fields and supplies only
// its domain logic. It
//   - owns its pages (AddPage) and hands them the container before the run;
//   - finds the block it configures (SetBlockType) and switches the other
//     blocks off, and binds every field to the installed data;
//   - finishes (DoFinish): Apply, then the design file, the HDL file and the
//     constraint template, written together by Olm_Finisher;
//   - tells the summary page its feature lines and its help;
//   - reports with Error, Warning and Info, and shows help from a help map of
//     the wizard's own.
// Olm_RunSession runs it end to end; it can also be driven by hand like any
// Olm_WizMain (SetWizDataPtr, SetBridge, Run).
//
// A wizard overrides what it needs:
//   Prepare          set-up after the fields are bound (derived requests...)
//   Apply            the domain logic: derived attributes, pins and nets
//   FeatureLines     what the summary page and the run report say was made
//   AddConstraints   clocks and sections of the constraint template
class OLM_BASE_EXPORT Olm_KitMain : public Olm_WizMain, public Olm_SummaryContent {
public:
    // windowTitle: the title of the wizard window.
    Olm_KitMain(Pal::String wizType, bool batchMode, std::string windowTitle = "Olm Wizard");
    ~Olm_KitMain() override;

    // A page of bound fields, after the ones added before; the wizard main
    // owns it. A wizard has at most kMaxPages pages (the page slots of
    // Olm_WizMain): a page beyond them is refused at this call with an error
    // naming the limit. The refused page is still returned and stays alive as
    // long as the wizard main, so the caller may go on filling it, but it is
    // never placed in a slot, bound or shown, and InitWizard then fails.
    Olm_KitPage& AddPage(std::string title, std::string intro = {});
    // A page of the wizard's own class, constructed as Page(this, args...);
    // refused beyond kMaxPages pages as above.
    template <class Page, class... Args>
    Page& AddPage(Args&&... args) {
        auto page = std::make_unique<Page>(this, std::forward<Args>(args)...);
        Page& added = *page;
        AdoptPage(std::move(page));
        return added;
    }
    // The pages in the slots, in order (refused pages are not among them).
    const std::vector<std::unique_ptr<Olm_KitPage>>& Pages() const { return m_pages; }

    // The wizard configures one block of this primitive type: its first
    // instance, else the installed template. InitWizard switches every other
    // block off and reports when there is none.
    void SetBlockType(std::string primType);
    const std::string& GetBlockType() const { return m_blockType; }
    Olm_Block* Block() const { return m_block; }
    // The active block of a primitive type, else its template; null when the
    // model has none.
    Olm_Block* FindBlock(const std::string& primType) const;

    // The run: the bridge that holds the engine (not owned), the output
    // folder (empty: the working directory), a copy of the installed data
    // for the fields' rules (not owned; by default the container itself), and
    // a generator of HDL files to share between runs (not owned).
    void SetBridge(Olm_KfzWizData* bridge) { m_bridge = bridge; }
    Olm_KfzWizData* GetBridge() const { return m_bridge; }
    void SetOutputDir(std::string folder) { m_outputDir = std::move(folder); }
    const std::string& GetOutputDir() const { return m_outputDir; }
    void SetInstalledData(Olm_WizData* installed) { m_installed = installed; }
    void SetHdlGenerator(Olm_HdlGenerator* generator) { m_generator = generator; }
    // DoFinish also writes the self-checking testbench beside the HDL file
    // (Olm_Finisher::SetTestbench); off by default.
    void SetTestbench(bool testbench) { m_testbench = testbench; }
    bool GetTestbench() const { return m_testbench; }
    // After DoFinish has written the files, it also writes the SVG picture of
    // the core there (Olm_SymbolSvg: the wrapper's ports as the design file
    // written gives them, and ClockWaves); empty, the default: none. The
    // picture is not one of the run's files; a failure to write it fails
    // DoFinish with a message.
    void SetSymbolFile(std::string path) { m_symbolFile = std::move(path); }
    const std::string& GetSymbolFile() const { return m_symbolFile; }
    // The files of DoFinish, with their paths: those it wrote and those it
    // left alone because they were unchanged (GetFileStates says which).
    const std::vector<std::string>& GetWrittenFiles() const { return m_written; }
    const std::vector<Olm_FileState>& GetFileStates() const { return m_fileStates; }
    // DoFinish writes nothing, only compares (Olm_Finisher::SetCheckOnly);
    // GetCheckedContents gives the bytes a run would write, beside the files.
    void SetCheckOnly(bool checkOnly) { m_checkOnly = checkOnly; }
    const std::vector<std::string>& GetCheckedContents() const { return m_checkedContents; }
    // Snapshots instead of a run in the window: the window walks its pages
    // and saves each as a PNG into the folder (Nx_Wizard::setPageSnapshots),
    // then ends as left without finishing, so nothing else is written. The
    // files saved, and why the walk stopped early (empty when it did not).
    void SetPageSnapshots(std::string folder) { m_snapshotFolder = std::move(folder); }
    const std::vector<std::string>& GetPageSnapshots() const { return m_snapshots; }
    const std::string& GetSnapshotProblem() const { return m_snapshotProblem; }
    // An unattended run in the window: it presses Next on every page and then
    // Finish (Nx_Wizard::setWalkToFinish), through the same checks as a
    // designer's clicks, and finishes as a window run does. GetWalkProblem:
    // why the walk stopped before Finish, naming the page (and the problems
    // it lists when it is not complete); empty when it finished.
    void SetWalkToFinish(bool walk) { m_walkToFinish = walk; }
    const std::string& GetWalkProblem() const { return m_walkProblem; }
    // The HDL of GetHDLType: Verilog for "verilog", else VHDL.
    Olm_HdlLanguage GetHdlLanguage() const;
    // The HDL selector of the port-name checks (Olm_WizPage::kHdlVerilog or
    // kHdlVhdl) of that language.
    int GetHdlSelector() const;
    // The values of the model, as pages' conditions and checks see them in
    // batch mode: fields read through their binding, any other attribute
    // from the wizard's block.
    const Olm_FieldValues& ModelValues() const;
    // Runs work with the wizard main and its pages on another container, a
    // copy of the model (Olm_WizData's copy keeps the blocks in order): the
    // wizard's block is the copy's block at its place. Afterwards they are
    // back on the model, which work has not touched. For work that must leave
    // the model alone, such as the window's preview of the core symbol.
    void WithModelCopy(Olm_WizData& copy, const std::function<void()>& work);
    // Tells an option-file check the attributes that the wizard's fields
    // define beside the installed data (wizard-only requests, port names).
    void DeclareAttributes(Olm_OptFileCheck& check) const;

    // For a wizard whose pages follow from the installed data: adds them
    // (its pages and fields) from that data. Called once, before the
    // option-file check and before InitWizard binds the fields (by the run
    // session, else by InitWizard itself). Nothing by default.
    virtual void DeclareFromData(Olm_WizData& installed);
    // Calls DeclareFromData the first time only.
    void Declare(Olm_WizData& installed);

    // Set-up after the pages have the container and the fields are bound;
    // false (after reporting) stops the run. True by default.
    virtual bool Prepare();
    // Brings the model up to date from the fields' values: derived
    // attributes, ties, nets. Runs before the summary lists the model and
    // before the files are written; false (after reporting) stops finishing.
    // True by default.
    virtual bool Apply();
    // What the wizard made, one line each (e.g. "1 DSP configured as a
    // multiplier: ..."): the summary page's feature pane and the run report.
    virtual std::vector<std::string> FeatureLines();
    // The feature text the summary page and the run report show: the
    // FeatureLines, after the clock-manager sentence of the summary page for
    // a wizard with TKL support (UpdateFamilyFlags) and for no other.
    Olm_FeatureText Features();
    // The output clocks of the model as Apply left it (name, period, phase,
    // duty), which the core symbol draws as waveforms; none by default.
    virtual std::vector<Olm_ClockWave> ClockWaves();
    // Fills the constraint template. By default a site line for each
    // external port; a wizard adds its clocks and may replace the sites.
    virtual void AddConstraints(Olm_ConstraintTemplate& pkx);

    // Messages with the run's settings, through the message reporter in use
    // (Olm_MessageReporter): a message box in a window (critical, warning,
    // information), a line in batch mode ("ERROR: " in front of an error).
    // The const char* forms are printf-style; the std::string forms take the
    // text as it is, so a '%' in it is printed as such.
    void Error(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Warning(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Info(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Error(const std::string& text) { Report(Severity::Error, text); }
    void Warning(const std::string& text) { Report(Severity::Warning, text); }
    void Info(const std::string& text) { Report(Severity::Info, text); }
    enum class Severity { Error, Warning, Info };
    void Report(Severity severity, const std::string& text);

    // A help map of the wizard's own ("topic = page" lines, see
    // Nx_HelpManager): More Info then shows "<page title> <family>" (or the
    // page title alone) from it, and a topic it lacks (the summary page's)
    // from the library's map olmw.map. Without one, the library's map is
    // used (Olm_WizPage::InvokeMoreInfo).
    void SetHelpMap(std::string mapFile) { m_helpMap = std::move(mapFile); }
    // Shows the help of a topic; false (after a warning) when it cannot.
    bool ShowHelp(const std::string& topic);

    // The family flags of Olm_WizMain that the summary and the pages read,
    // worked out from the wizard's own data types, so that no wizard sets
    // them by hand. A flag is switched on, never off (a count is replaced
    // only by a count above 0):
    //   TKL support             a wizard type of the clock-manager family
    //                           ("tkl..."); the TKL primitive name, when none
    //                           was set, is the wizard's block type
    //   TKL_SP / TKL_ADV        that block type is TKL_SP / TKL_ADV, or ends
    //                           in "_ADV" (the advanced generation, RKO_ADV)
    //   DSP support             a wizard type of the DSP family ("dsp...") or
    //                           an active DSP block
    //   KDIV support            an active KDIV block
    //   HSX3/HSX10/HSX11        active blocks with that flag, and their count
    // InitWizard works them out once the blocks are chosen, and again before
    // the summary lists the model (Apply may add blocks).
    void UpdateFamilyFlags();

    bool InitWizard() override;
    bool InitGuiDlgs(Nx_Wizard* wizard) override;
    int DoFinish() override;
    bool DoFinishAtSummaryStart() override;
    Olm_FeatureText SummaryFeatures() override;
    bool ShowSummaryHelp(const std::string& pageName) override;

protected:
    void AdoptPage(std::unique_ptr<Olm_KitPage> page);

private:
    class ModelValueView;

    std::string m_windowTitle;
    std::string m_blockType;
    std::string m_outputDir;
    std::string m_helpMap;
    bool m_helpMapRegistered = false;
    bool m_declared = false;
    Olm_Block* m_block = nullptr;              // in the container
    Olm_KfzWizData* m_bridge = nullptr;        // not owned
    Olm_WizData* m_installed = nullptr;        // not owned
    Olm_HdlGenerator* m_generator = nullptr;   // not owned
    bool m_testbench = false;
    std::string m_symbolFile;
    std::vector<std::unique_ptr<Olm_KitPage>> m_pages;
    std::vector<std::unique_ptr<Olm_KitPage>> m_refusedPages;  // beyond the slots: kept, never shown
    std::vector<std::string> m_pageRefusals;                   // their messages
    std::vector<std::string> m_written;
    std::vector<Olm_FileState> m_fileStates;
    bool m_checkOnly = false;
    std::vector<std::string> m_checkedContents;
    std::string m_snapshotFolder;
    std::vector<std::string> m_snapshots;
    std::string m_snapshotProblem;
    bool m_walkToFinish = false;
    std::string m_walkProblem;
    std::unique_ptr<ModelValueView> m_modelValues;
};
