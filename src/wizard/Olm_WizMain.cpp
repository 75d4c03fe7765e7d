#include "wizard/Olm_WizMain.h"

#include "wizard/Olm_SummaryGui.h"
#include "wizard/Olm_WizPage.h"

#include "gui_nx/Nx_HelpManager.h"
#include "shared/Olm_WizType.h"
#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include <QApplication>

namespace {

const char* const kHelpMap = "olmw.map";
const char* const kWizardCaption = "Olm Wizard";
const char* const kWizardName = "OlmWiz";

// Widgets need a QApplication; without one no wizard window can be made.
bool CanCreateWindows() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

std::unique_ptr<Nx_Wizard> CreateWizard() {
    return std::make_unique<Nx_Wizard>(QString::fromLatin1(kWizardCaption), nullptr,
                                       QString::fromLatin1(kWizardName), true, 0U);
}

}  // namespace

Olm_WizMain::Olm_WizMain(Pal::String wizType, bool batchMode)
    : m_batchMode(batchMode), m_wizType(std::move(wizType)) {}

Olm_WizMain::Olm_WizMain(const Olm_WizMain& other) = default;

Olm_WizMain& Olm_WizMain::operator=(const Olm_WizMain& other) = default;

Olm_WizMain::~Olm_WizMain() = default;

bool Olm_WizMain::HasTypePrefix(const char* prefix) const { return Olm_WizType::HasPrefix(m_wizType, prefix); }

int Olm_WizMain::Run() {
    SetupData();
    if (!InitWizard()) return -1;
    return m_batchMode ? RunBatchMode() : RunGuiMode();
}

int Olm_WizMain::RunGuiMode() {
    m_helpManager = Nx_HelpManager::getInstance();
    m_moreInfoAvailable = m_helpManager->addHelpFile(QString::fromLatin1(kHelpMap));
    if (!CanCreateWindows()) return -1;

    std::unique_ptr<Nx_Wizard> wizard = CreateWizard();
    int result = -1;
    if (CreateGuiDlgs(wizard.get()) && InitGuiDlgs(wizard.get())) {
        if (m_moreInfoAvailable) wizard->showMoreInfo(true);
        result = wizard->exec() == 1 ? DoFinish() : 1;
    }
    // The window takes its pages, the summary page among them, with it: the
    // pointers to them must not outlive it.
    if (m_nxWizard == wizard.get()) {
        m_nxWizard = nullptr;
        m_summaryGui = nullptr;
    }
    wizard.reset();
    return result;
}

int Olm_WizMain::RunBatchMode() {
    if (HasTypePrefix("tkl") && InitializeTklBatchMode() == 0) return -1;
    for (Olm_WizPage* page : m_pages) {
        if (!page) break;
        if (!page->RunBatch()) return -1;
    }
    return DoFinish();
}

int Olm_WizMain::InitializeTklBatchMode() {
    if (!CanCreateWindows()) return -1;
    // The window stays for the rest of the run (the pages of a clock-manager
    // wizard use their GUI pages in batch mode too); the owner deletes it
    // with the last wizard main that shares it.
    m_batchWizardOwner = std::shared_ptr<Nx_Wizard>(CreateWizard());
    Nx_Wizard* wizard = m_batchWizardOwner.get();
    if (!CreateGuiDlgs(wizard)) return 0;
    return InitGuiDlgs(wizard) ? 1 : 0;
}

bool Olm_WizMain::CreateGuiDlgs(Nx_Wizard* wizard) {
    m_nxWizard = wizard;
    if (!wizard) return false;
    bool ok = true;
    for (Olm_WizPage* page : m_pages) {
        if (!page) break;
        if (!page->CreateGuiDlg(wizard)) {
            ok = false;
            break;
        }
    }
    m_summaryGui = new Olm_SummaryGui(this, wizard);  // owned by the wizard
    return ok;
}

void Olm_WizMain::GoBackFromSummary() {}

bool Olm_WizMain::DoFinishAtSummaryStart() { return true; }

void Olm_WizMain::PrintPagesInfo() {
    for (Olm_WizPage* page : m_pages) {
        if (!page) continue;
        if (Nx_WizardPage* gui = page->GetGui()) {
            const QString names[] = {gui->pageName(), gui->pageBackName(), gui->pageNextName()};
            static_cast<void>(names);
        }
    }
}

void Olm_WizMain::SetupData() {
    if (m_family.Compare("korvo5", Pal::String::kNoCase) == 0 ||
        m_family.Compare("qkorvo5", Pal::String::kNoCase) == 0 ||
        m_family.Compare("qrkorvo5", Pal::String::kNoCase) == 0)
        m_isKorvo5 = true;
}

Pal::String Olm_WizMain::GetDeviceNoPrefix() {
    Pal::String device = m_device;
    device.Remove(Pal::Range{0, 3});
    return device;
}

Pal::String Olm_WizMain::FormPageName(const char* pageName, const Pal::String& wizType) {
    if (!Olm_WizType::HasPrefix(wizType, "dsp")) return Pal::String(pageName);
    const char* qualifier = "Accumulator";
    if (wizType.Compare("dsp_mult", Pal::String::kNoCase) == 0) qualifier = "Multiplier";
    else if (wizType.Compare("dsp_mac", Pal::String::kNoCase) == 0) qualifier = "MACC";
    else if (wizType.Compare("dsp_add", Pal::String::kNoCase) == 0) qualifier = "Adder/Subtractor";
    Pal::String name;
    name.Format("%s - %s", pageName ? pageName : "", qualifier);
    return name;
}
