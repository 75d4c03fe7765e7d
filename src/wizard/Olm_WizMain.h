#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

#include <memory>

namespace Pal {
class Stream;
}
class Nx_HelpManager;
class Nx_Wizard;
class Nx_WizardPage;
class Olm_WizData;
class Olm_WizPage;

// The driver of one wizard run. A concrete wizard derives from it, supplies
// InitWizard, InitGuiDlgs and DoFinish, fills in the settings, places its
// pages in the page slots (from the first one; the first empty slot ends the
// list) and calls Run.
//
// Run results: -1 failure, 1 when the user leaves the GUI wizard without
// finishing, otherwise the result of DoFinish.
//
// The wizard main owns none of the objects it points to (pages, container,
// log stream, summary page). Copies share them, and share the wizard window
// that InitializeTklBatchMode leaves in place: that window is deleted when
// the last wizard main that shares it goes.
class OLM_BASE_EXPORT Olm_WizMain {
public:
    static constexpr int kMaxPages = 15;

    Olm_WizMain(Pal::String wizType, bool batchMode);
    Olm_WizMain(const Olm_WizMain& other);
    Olm_WizMain& operator=(const Olm_WizMain& other);

    virtual int Run();
    virtual int RunGuiMode();
    virtual int RunBatchMode();
    virtual bool CreateGuiDlgs(Nx_Wizard* wizard);
    // Called by the summary page when the user goes back from it; nothing here.
    virtual void GoBackFromSummary();
    // Called by the summary page before it lists the attributes, so that the
    // wizard can bring its data up to date; true here.
    virtual bool DoFinishAtSummaryStart();
    // The concrete wizard's finishing work; its result is the run's result.
    virtual int DoFinish() = 0;
    // Set-up of the pages created in the given wizard.
    virtual bool InitGuiDlgs(Nx_Wizard* wizard) = 0;
    // The concrete wizard's set-up before any page runs.
    virtual bool InitWizard() = 0;
    // Concrete wizards are deleted through this class.
    virtual ~Olm_WizMain();

    // Creates the wizard window and the GUI pages without showing them, for
    // the batch run of a clock-manager wizard: 1 when the pages were created
    // and set up, 0 when either failed, -1 when no window can be made.
    int InitializeTklBatchMode();
    // Diagnostic hook: asks each page's GUI page for its names.
    void PrintPagesInfo();

    // Sets the Korvo5 flag for the families korvo5, qkorvo5 and qrkorvo5.
    void SetupData();
    // The device name without its first three characters.
    Pal::String GetDeviceNoPrefix();
    // The page name, qualified by the kind of DSP wizard for "dsp" types.
    static Pal::String FormPageName(const char* pageName, const Pal::String& wizType);

    bool GetSilentMode() const { return m_silentMode; }
    void SetSilentMode(bool silent) { m_silentMode = silent; }
    bool IsBatchMode() const { return m_batchMode; }
    void SetBatchMode(bool batch) { m_batchMode = batch; }
    bool HasHSX3Support() const { return m_hsx3Support; }
    void SetHSX3Support(bool on) { m_hsx3Support = on; }
    bool HasHSX10Support() const { return m_hsx10Support; }
    void SetHSX10Support(bool on) { m_hsx10Support = on; }
    bool HasHSX11Support() const { return m_hsx11Support; }
    void SetHSX11Support(bool on) { m_hsx11Support = on; }
    bool HasTKLSupport() const { return m_tklSupport; }
    void SetTKLSupport(bool on) { m_tklSupport = on; }
    bool HasTKLspSupport() const { return m_tklSpSupport; }
    void SetTKLspSupport(bool on) { m_tklSpSupport = on; }
    bool HasTKLAdvSupport() const { return m_tklAdvSupport; }
    void SetTKLAdvSupport(bool on) { m_tklAdvSupport = on; }
    bool HasDSPSupport() const { return m_dspSupport; }
    void SetDSPSupport(bool on) { m_dspSupport = on; }
    bool HasKDIVSupport() const { return m_kdivSupport; }
    void SetKDIVSupport(bool on) { m_kdivSupport = on; }
    bool HasKorvo42Korvo5KDIV() const { return m_korvo42Korvo5Kdiv; }
    void SetKorvo42Korvo5KDIV(bool on) { m_korvo42Korvo5Kdiv = on; }
    bool IsExistingKFZ() const { return m_existingKfz; }
    void SetExistingKFZ(bool existing) { m_existingKfz = existing; }
    bool IsKorvo5() const { return m_isKorvo5; }

    int GetNumHsx3() const { return m_numHsx3; }
    void SetNumHsx3(int count) { m_numHsx3 = count; }
    int GetNumHsx10() const { return m_numHsx10; }
    void SetNumHsx10(int count) { m_numHsx10 = count; }
    int GetNumHsx11() const { return m_numHsx11; }
    void SetNumHsx11(int count) { m_numHsx11 = count; }

    const Pal::String& GetDesignName() const { return m_designName; }
    void SetDesignName(const Pal::String& name) { m_designName = name; }
    const Pal::String& GetHDLFilename() const { return m_hdlFilename; }
    void SetHDLFilename(const Pal::String& name) { m_hdlFilename = name; }
    Pal::String GetHDLType() const { return m_hdlType; }
    void SetHDLType(const Pal::String& type) { m_hdlType = type; }
    const Pal::String& GetPartName() const { return m_partName; }
    void SetPartName(const Pal::String& name) { m_partName = name; }
    const Pal::String& GetFamily() const { return m_family; }
    void SetFamily(const Pal::String& family) { m_family = family; }
    const Pal::String& GetDevice() const { return m_device; }
    void SetDevice(const Pal::String& device) { m_device = device; }
    const Pal::String& GetSpeed() const { return m_speed; }
    void SetSpeed(const Pal::String& speed) { m_speed = speed; }
    const Pal::String& GetWizType() const { return m_wizType; }
    void SetWizType(const Pal::String& type) { m_wizType = type; }
    const Pal::String GetTKLPrimName() const { return m_tklPrimName; }
    void SetTKLPrimName(Pal::String name) { m_tklPrimName = name; }

    // The fifteen page slots; the concrete wizard fills them.
    Olm_WizPage** GetPages() { return m_pages; }
    Olm_WizData* GetWizDataPtr() const { return m_wizData; }
    void SetWizDataPtr(Olm_WizData* data) { m_wizData = data; }
    Pal::Stream* GetLogFilePtr() const { return m_logFile; }
    void SetLogFilePtr(Pal::Stream* log) { m_logFile = log; }
    Nx_Wizard* GetNxWizard() const { return m_nxWizard; }
    Nx_WizardPage* GetSummaryGui() const { return m_summaryGui; }

protected:
    friend class Olm_WizPage;

    bool m_silentMode = false;
    bool m_batchMode;
    bool m_hsx3Support = false;
    bool m_hsx10Support = false;
    bool m_hsx11Support = false;
    bool m_tklSupport = false;
    bool m_tklSpSupport = false;
    bool m_tklAdvSupport = false;
    bool m_dspSupport = false;
    bool m_kdivSupport = false;
    bool m_korvo42Korvo5Kdiv = false;
    bool m_existingKfz = false;
    bool m_moreInfoAvailable = false;  // the help map was registered (RunGuiMode)
    bool m_isKorvo5 = false;
    int m_numHsx3 = 0;
    int m_numHsx10 = 0;
    int m_numHsx11 = 0;
    Pal::String m_designName;
    Pal::String m_hdlFilename;
    Pal::String m_hdlType;
    Pal::String m_partName;
    Pal::String m_family;
    Pal::String m_device;
    Pal::String m_speed;
    Pal::String m_wizType;
    Pal::String m_tklPrimName;
    Olm_WizPage* m_pages[kMaxPages] = {};
    Olm_WizData* m_wizData = nullptr;
    Pal::Stream* m_logFile = nullptr;
    Nx_Wizard* m_nxWizard = nullptr;
    Nx_WizardPage* m_summaryGui = nullptr;
    Nx_HelpManager* m_helpManager = nullptr;
    // Keeps the window of InitializeTklBatchMode alive while a wizard main
    // uses it; shared by copies.
    std::shared_ptr<Nx_Wizard> m_batchWizardOwner;

private:
    bool HasTypePrefix(const char* prefix) const;
};
