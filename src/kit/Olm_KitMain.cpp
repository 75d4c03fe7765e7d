#include "kit/Olm_KitMain.h"

#include "datafiles/Olm_MessageReporter.h"
#include "gui_nx/Nx_HelpManager.h"
#include "gui_nx/Nx_Wizard.h"
#include "datafiles/Olm_AttributeLabels.h"
#include "kfz/Olm_KfzWizData.h"
#include "kit/Olm_Finisher.h"
#include "kit/Olm_KitFormat.h"
#include "kit/Olm_KitGui.h"
#include "kit/Olm_KitTable.h"
#include "kit/Olm_ModelEdit.h"
#include "kit/Olm_OptFileCheck.h"
#include "kit/Olm_SymbolPanel.h"
#include "kit/Olm_SymbolSource.h"
#include "kit/Olm_SymbolSvg.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "pal/File.h"
#include "pal/Process.h"
#include "pal/StrUtil.h"
#include "shared/Olm_Constants.h"
#include "shared/Olm_WizType.h"
#include "wizard/Olm_WaitDlg.h"
#include "wizard/Olm_WizPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <set>

namespace {

// How long Finish waits for the HDL child before it shows the wait dialog.
constexpr qint64 kQuietChildWaitMs = 1500;

// A port as wide as an attribute (Olm_Field::BusWidthFrom) that Apply works
// out, rather than a field of a page, takes the width Apply left: the pages
// wrote the port before Apply ran, with the width the model held then, which
// a rerun from the design file would not repeat. The port is written again
// as its page's Next writes it, from the values the model holds now.
void FollowDerivedBusWidths(const std::vector<std::unique_ptr<Olm_KitPage>>& pages, Olm_WizData& data) {
    for (const auto& page : pages) {
        if (page->IsSkipped()) continue;
        const Olm_FieldValues& values = page->ModelValues();
        for (const Olm_Field* field : page->Fields()) {
            if (!field->IsPort() || field->GetBusWidthFrom().empty()) continue;
            if (Olm_Block* block = page->BlockOf(*field))
                field->Write(data, *block, values.Text(field->GetAttribute()), field->IsEnabled(values), values);
        }
    }
}

}  // namespace


// The model's values by attribute name: a bound field reads through its
// binding (its default while the attribute is missing), any other name
// from the wizard's block. A name that no field declares and no block of the
// model or of the installed data holds is misspelt in the wizard: it still
// reads as "", and a warning says so, once per name.
class Olm_KitMain::ModelValueView : public Olm_FieldValues {
public:
    explicit ModelValueView(Olm_KitMain& main) : m_main(main) {}

    std::string Text(std::string_view attribute) const override {
        Olm_WizData* data = m_main.GetWizDataPtr();
        if (!data) return {};
        for (const auto& page : m_main.Pages()) {
            if (const Olm_Field* field = page->FindField(attribute)) {
                Olm_Block* block = page->BlockOf(*field);
                return block ? field->Read(*data, *block) : field->GetDefault();
            }
        }
        const std::string name(attribute);
        Olm_Block* block = m_main.Block();
        if (block && !block->GetNamedAttribute(name.c_str()) && !Known(*data, name) &&
            m_warned.insert(name).second)
            m_main.Warning("The wizard reads the attribute '" + name +
                           "', which neither its fields nor the installed data define: it reads as empty.");
        return Olm_ModelEdit::Value(block, name.c_str());
    }

private:
    // Whether some block of the model or of the installed data has the attribute.
    bool Known(Olm_WizData& data, const std::string& name) const {
        const auto holds = [&name](Olm_WizData& blocks) {
            for (Olm_Block* block : blocks.GetBlkList())
                if (block->GetNamedAttribute(name.c_str())) return true;
            return false;
        };
        return holds(data) || (m_main.m_installed && holds(*m_main.m_installed));
    }

    Olm_KitMain& m_main;
    mutable std::set<std::string> m_warned;
};

Olm_KitMain::Olm_KitMain(Pal::String wizType, bool batchMode, std::string windowTitle)
    : Olm_WizMain(std::move(wizType), batchMode),
      m_windowTitle(std::move(windowTitle)),
      m_modelValues(std::make_unique<ModelValueView>(*this)) {}

Olm_KitMain::~Olm_KitMain() = default;

Olm_KitPage& Olm_KitMain::AddPage(std::string title, std::string intro) {
    return AddPage<Olm_KitPage>(std::move(title), std::move(intro));
}

void Olm_KitMain::AdoptPage(std::unique_ptr<Olm_KitPage> page) {
    if (m_pages.size() >= static_cast<std::size_t>(kMaxPages)) {
        // The slots are full. The page is kept, so that the reference its
        // caller holds stays valid, but it takes part in nothing.
        Pal::String refusal;
        refusal.Format("A wizard has at most %d pages; the page '%s' was not added.", kMaxPages,
                       page->GetTitle().c_str());
        m_pageRefusals.push_back(refusal.str());
        Error("%s", refusal.c_str());
        m_refusedPages.push_back(std::move(page));
        return;
    }
    GetPages()[m_pages.size()] = page.get();
    m_pages.push_back(std::move(page));
}

void Olm_KitMain::SetBlockType(std::string primType) { m_blockType = std::move(primType); }

Olm_Block* Olm_KitMain::FindBlock(const std::string& primType) const {
    Olm_WizData* data = GetWizDataPtr();
    if (!data || primType.empty()) return nullptr;
    if (Olm_Block* active = data->GetActiveBlock(primType.c_str())) return active;
    return data->GetPrimitiveBlock(primType.c_str());
}

Olm_HdlLanguage Olm_KitMain::GetHdlLanguage() const { return Olm_HdlLanguageNames::OfName(GetHDLType().str()); }

int Olm_KitMain::GetHdlSelector() const { return Olm_HdlLanguageNames::PortNameSelector(GetHdlLanguage()); }

const Olm_FieldValues& Olm_KitMain::ModelValues() const { return *m_modelValues; }

void Olm_KitMain::WithModelCopy(Olm_WizData& copy, const std::function<void()>& work) {
    Olm_WizData* const model = GetWizDataPtr();
    Olm_Block* const block = m_block;
    // Back on the model however work ends.
    struct Restore {
        Olm_KitMain& main;
        Olm_WizData* model;
        Olm_Block* block;
        ~Restore() {
            main.SetWizDataPtr(model);
            for (const auto& page : main.m_pages) page->SetWizDataPtr(model);
            main.m_block = block;
        }
    } restore{*this, model, block};
    m_block = nullptr;
    if (model && block) {
        const Olm_BlockList& blocks = model->GetBlkList();
        const Olm_BlockList& copied = copy.GetBlkList();
        for (std::size_t i = 0; i < blocks.size() && i < copied.size(); ++i)
            if (blocks[i] == block) m_block = copied[i];
    }
    SetWizDataPtr(&copy);
    for (const auto& page : m_pages) page->SetWizDataPtr(&copy);
    work();
}

void Olm_KitMain::DeclareAttributes(Olm_OptFileCheck& check) const {
    for (const auto& page : m_pages) {
        for (const Olm_Field* field : page->Fields()) {
            std::string type = field->GetBlockType();
            if (type.empty()) type = page->GetBlockType();
            if (type.empty()) type = m_blockType;
            check.AddWizardAttribute(type, field->GetAttribute(), field->GetAllowed());
        }
    }
}

void Olm_KitMain::DeclareFromData(Olm_WizData&) {}

void Olm_KitMain::Declare(Olm_WizData& installed) {
    if (m_declared) return;
    m_declared = true;
    DeclareFromData(installed);
}

bool Olm_KitMain::Prepare() { return true; }

bool Olm_KitMain::Apply() { return true; }

std::vector<std::string> Olm_KitMain::FeatureLines() { return {}; }

std::vector<Olm_ClockWave> Olm_KitMain::ClockWaves() { return {}; }

void Olm_KitMain::AddConstraints(Olm_ConstraintTemplate& pkx) {
    if (Olm_WizData* data = GetWizDataPtr()) pkx.AddPortSites(*data);
}

void Olm_KitMain::Report(Severity severity, const std::string& text) {
    Olm_MessageReporter::Message message;
    message.severity = severity == Severity::Error     ? Olm_MessageReporter::Severity::Error
                       : severity == Severity::Warning ? Olm_MessageReporter::Severity::Warning
                                                       : Olm_MessageReporter::Severity::Info;
    message.text = text;
    message.batch = IsBatchMode();
    message.log = GetLogFilePtr();
    message.silent = GetSilentMode();
    // A message of several lines (the findings of the design rules) is shown
    // as plain text in a window, so that its lines stay lines.
    message.plain = text.find('\n') != std::string::npos;
    Olm_MessageReporter::Current().Report(message);
}

void Olm_KitMain::Error(const char* format, ...) { OLM_KIT_REPORT(Severity::Error, format, Report); }

void Olm_KitMain::Warning(const char* format, ...) { OLM_KIT_REPORT(Severity::Warning, format, Report); }

void Olm_KitMain::Info(const char* format, ...) { OLM_KIT_REPORT(Severity::Info, format, Report); }

bool Olm_KitMain::ShowHelp(const std::string& topic) {
    if (m_helpMap.empty() || !m_helpMapRegistered) {
        if (!m_helpMap.empty()) {
            Warning("No help is available for %s: the help map %s cannot be read.", topic.c_str(), m_helpMap.c_str());
            return false;
        }
        // The library's own map, as every page offers it.
        return !m_pages.empty() && m_pages.front()->InvokeMoreInfo(topic);
    }
    const QString map = QString::fromStdString(m_helpMap);
    const QString full = QString::fromStdString(topic + " " + GetFamily().str());
    Nx_HelpManager* help = Nx_HelpManager::getInstance();
    if (help->showHelpTopic(map, full, Nx_HelpManager::TopicOrCategory)) return true;
    // The library's own pages (the summary) have their help in the library's map.
    if (help->showHelpTopic(QStringLiteral("olmw.map"), full, Nx_HelpManager::TopicOrCategory)) return true;
    Warning("No help is available for %s.", topic.c_str());
    return false;
}

bool Olm_KitMain::InitWizard() {
    Olm_WizData* data = GetWizDataPtr();
    if (!data) {
        Error("The wizard has no data to work on.");
        return false;
    }
    Declare(m_installed ? *m_installed : *data);
    if (!m_pageRefusals.empty()) {
        // A wizard without all its pages would write a design the user never
        // saw. Said again here, where the run's log and window are set up.
        for (const std::string& refusal : m_pageRefusals) Error("%s", refusal.c_str());
        return false;
    }
    for (const auto& page : m_pages) page->SetWizDataPtr(data);
    if (!m_blockType.empty()) {
        m_block = data->GetBlockInstNum(m_blockType.c_str(), 1);
        if (!m_block) m_block = data->GetPrimitiveBlock(m_blockType.c_str());
        if (!m_block) {
            Error("The installed data holds no %s block.", m_blockType.c_str());
            return false;
        }
        for (Olm_Block* block : data->GetBlkList())
            if (block) block->SetIsActive(block == m_block);
    }
    // The fields take their rules and defaults from the installed data, and
    // their labels where the wizard gave none.
    const Olm_AttributeLabels labels = Olm_AttributeLabels::Installed(GetWizType(), GetFamily());
    for (const auto& page : m_pages) page->Bind(m_installed ? *m_installed : *data, &labels);
    UpdateFamilyFlags();
    return Prepare();
}

bool Olm_KitMain::InitGuiDlgs(Nx_Wizard* wizard) {
    if (!wizard) return false;
    wizard->setWindowTitle(QString::fromStdString(m_windowTitle));
    if (!m_helpMap.empty())
        m_helpMapRegistered = Nx_HelpManager::getInstance()->addHelpFile(QString::fromStdString(m_helpMap));
    // Help is shown when the library's map or the wizard's own can show it.
    if (m_helpMapRegistered) wizard->showMoreInfo(true);
    // The picture of the core beside the pages (a window only).
    if (!IsBatchMode()) Olm_SymbolPanel::Attach(*this, *wizard);
    if (!m_snapshotFolder.empty()) {
        wizard->setPageSnapshots(QString::fromStdString(m_snapshotFolder));
        m_snapshots.clear();
        m_snapshotProblem = "the window was not shown";
        QObject::connect(wizard, &Nx_Wizard::pageSnapshotsTaken, wizard,
                         [this](const QStringList& files, const QString& problem) {
                             for (const QString& file : files) m_snapshots.push_back(file.toStdString());
                             m_snapshotProblem = problem.toStdString();
                         });
    }
    if (m_walkToFinish) {
        wizard->setWalkToFinish(true);
        m_walkProblem = "the window was not shown";
        QObject::connect(wizard, &Nx_Wizard::walkEnded, wizard, [this, wizard](const QString& problem) {
            m_walkProblem = problem.toStdString();
            // A page that is not complete lists its problems, as the window shows them.
            const auto* page = dynamic_cast<const Olm_KitGui*>(wizard->currentNxPage());
            if (problem.isEmpty() || !page || page->isComplete()) return;
            for (const std::string& line : page->Problems()) m_walkProblem += "\n  " + line;
        });
    }
    return true;
}

bool Olm_KitMain::DoFinishAtSummaryStart() {
    if (!Apply()) return false;
    if (Olm_WizData* data = GetWizDataPtr()) {
        FollowDerivedBusWidths(m_pages, *data);
        Olm_ModelEdit::ActivateUsedNets(*data);
    }
    UpdateFamilyFlags();
    return true;
}

void Olm_KitMain::UpdateFamilyFlags() {
    const auto EqualNoCase = [](std::string_view a, std::string_view b) { return Pal::StrUtil::EqualNoCase(a, b); };
    const Pal::String& type = GetWizType();
    if (Olm_WizType::HasPrefix(type, OlmConst::kWizPrefixTkl)) {
        SetTKLSupport(true);
        if (GetTKLPrimName().IsEmpty() && !m_blockType.empty()) SetTKLPrimName(m_blockType.c_str());
        const std::string advSuffix = std::string("_") + OlmConst::kWordAdv;
        const bool advanced = m_blockType.size() > advSuffix.size() &&
                              EqualNoCase(std::string_view(m_blockType).substr(m_blockType.size() - advSuffix.size()),
                                          advSuffix);
        if (EqualNoCase(m_blockType, OlmConst::kWordTklSp)) SetTKLspSupport(true);
        if (EqualNoCase(m_blockType, OlmConst::kWordTklAdv) || advanced) SetTKLAdvSupport(true);
    }
    if (Olm_WizType::HasPrefix(type, OlmConst::kWizPrefixDsp)) SetDSPSupport(true);
    Olm_WizData* data = GetWizDataPtr();
    if (!data) return;
    int hsx3 = 0, hsx10 = 0, hsx11 = 0;
    for (Olm_Block* block : data->GetBlkList()) {
        if (!block || !block->IsActive()) continue;
        const std::string& prim = block->GetPrimType().str();
        if (EqualNoCase(prim, OlmConst::kWordDsp)) SetDSPSupport(true);
        if (EqualNoCase(prim, OlmConst::kWordKdiv)) SetKDIVSupport(true);
        hsx3 += block->HasFlag(OlmConst::kFlagHsx3) ? 1 : 0;
        hsx10 += block->HasFlag(OlmConst::kFlagHsx10) ? 1 : 0;
        hsx11 += block->HasFlag(OlmConst::kFlagHsx11) ? 1 : 0;
    }
    if (hsx3 > 0) {
        SetHSX3Support(true);
        SetNumHsx3(hsx3);
    }
    if (hsx10 > 0) {
        SetHSX10Support(true);
        SetNumHsx10(hsx10);
    }
    if (hsx11 > 0) {
        SetHSX11Support(true);
        SetNumHsx11(hsx11);
    }
}

Olm_FeatureText Olm_KitMain::Features() { return Olm_FeatureText(FeatureLines(), HasTKLSupport()); }

Olm_FeatureText Olm_KitMain::SummaryFeatures() { return Features(); }

bool Olm_KitMain::ShowSummaryHelp(const std::string& pageName) { return ShowHelp(pageName); }

int Olm_KitMain::DoFinish() {
    m_written.clear();
    m_fileStates.clear();
    m_checkedContents.clear();
    if (!m_bridge || !GetWizDataPtr()) {
        Error("The wizard has no design to write.");
        return -1;
    }
    if (!DoFinishAtSummaryStart()) return -1;
    const std::string folder = m_outputDir.empty() ? Pal::File::getcwd().str() : m_outputDir;
    Olm_Finisher finisher(*m_bridge, folder, GetDesignName().str());
    finisher.SetCheckOnly(m_checkOnly);
    if (!GetHDLFilename().IsEmpty()) {
        finisher.SetHdl(GetHdlLanguage());
        finisher.SetHdlGenerator(m_generator);
        finisher.SetTestbench(m_testbench);
        // In a window the HDL file is written by the installed olmwiz-hdl
        // while the wait dialog shows; elsewhere in this process.
        const std::string tool = IsBatchMode() || !QApplication::instance() ? std::string()
                                                                              : Olm_Finisher::InstalledHdlTool();
        if (!tool.empty()) {
            finisher.SetHdlTool(tool, {}, [](Pal::Process& child) {
                // The file is usually written in a few milliseconds: the
                // wait dialog shows only for a child that is still running
                // after a while, so that Finish closes the window and no
                // other window flashes up.
                QElapsedTimer waited;
                waited.start();
                while (child.ChildProcStatus() == Pal::Process::kRunning && waited.elapsed() < kQuietChildWaitMs)
                    QThread::msleep(5);
                const int status = child.ChildProcStatus();
                if (status != Pal::Process::kRunning)  // as the wait dialog reports it
                    return status == Pal::Process::kEnded ? child.GetChildRetcode() : 1;
                Olm_WaitDlg wait;
                wait.SetProcessPtr(&child);
                return wait.Run() == 0 ? -1 : wait.GetExitCode();
            });
        }
    }
    Olm_ConstraintTemplate pkx(GetDesignName().str(), GetWizType().str());
    AddConstraints(pkx);
    const bool written = finisher.Run(pkx.Text());
    m_written = finisher.Files();
    m_fileStates = finisher.States();
    m_checkedContents = finisher.Contents();
    if (!written) {
        Error("%s", finisher.Error().c_str());
        return -1;
    }
    if (!m_symbolFile.empty() && !m_checkOnly) {
        // From the design file as written, as the HDL file was made.
        Olm_HdlGenerator own(GetFamily().str());
        Olm_CoreSymbol symbol;
        std::string error;
        bool made = Olm_SymbolSource::FromDesignFile(finisher.DesignFile(), GetDesignName().str(),
                                                     m_generator ? *m_generator : own, symbol, error);
        if (made) {
            symbol.SetWaves(ClockWaves());
            made = Olm_SymbolSvg::Write(symbol, m_symbolFile, error);
        }
        if (!made) {
            Error("%s", error.c_str());
            return -1;
        }
    }
    return 0;
}

static_assert(Olm_HdlLanguageNames::PortNameSelector(Olm_HdlLanguage::Verilog) == Olm_WizPage::kHdlVerilog &&
                  Olm_HdlLanguageNames::PortNameSelector(Olm_HdlLanguage::Vhdl) == Olm_WizPage::kHdlVhdl,
              "the HDL selectors of the port-name checks");
