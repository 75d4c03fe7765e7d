#include "RefWizMain.h"

#include "DesignUtil.h"

#include "gui_nx/Nx_Wizard.h"
#include "wizard/Olm_SummaryGui.h"
#include "wizard/Olm_WaitDlg.h"

#include <QTextEdit>

#include <QApplication>

#include <cstdio>
#include <filesystem>

namespace OlmRef {

namespace {

std::string Beside(const std::string& kfzPath, const std::string& fileName) {
    const std::filesystem::path folder = std::filesystem::path(kfzPath).parent_path();
    return folder.empty() ? fileName : (folder / fileName).string();
}

}  // namespace

RefWizMain::RefWizMain(Pal::String wizType, bool batchMode, std::string windowTitle)
    : Olm_WizMain(wizType, batchMode), m_windowTitle(std::move(windowTitle)) {}

bool RefWizMain::InitGuiDlgs(Nx_Wizard* wizard) {
    if (!wizard) return false;
    wizard->setWindowTitle(QString::fromStdString(m_windowTitle));
    return true;
}

Olm_Block* RefWizMain::UseSingleBlock(const char* primName) {
    Olm_WizData* data = GetWizDataPtr();
    if (!data) return nullptr;
    for (int i = 0; i < kMaxPages && GetPages()[i]; ++i) GetPages()[i]->SetWizDataPtr(data);
    Olm_Block* found = data->GetBlockInstNum(primName, 1);
    if (!found) found = data->GetPrimitiveBlock(primName);
    if (!found) {
        Pal::String text;
        Report(text.Format("The installed data holds no %s block.", primName), true);
        return nullptr;
    }
    for (Olm_Block* block : data->GetBlkList())
        if (block) block->SetIsActive(block == found);
    return found;
}

std::string RefWizMain::GetHdlPath() const { return Beside(m_kfzPath, GetHDLFilename().str()); }

std::string RefWizMain::GetPkxPath() const { return Beside(m_kfzPath, GetDesignName().str() + "_olmw.pkx"); }

int RefWizMain::GetHdlSelector() const {
    return GetHDLType().Compare(OlmConst::kLangVerilog, Pal::String::kNoCase) == 0 ? Olm_WizPage::kHdlVerilog
                                                                                    : Olm_WizPage::kHdlVhdl;
}

void RefWizMain::Report(const Pal::String& text, bool isError) {
    Olm_WizPage::DoMessage(text, IsBatchMode(), GetLogFilePtr(), isError, GetSilentMode(), false);
}

bool RefWizMain::PrepareData() {
    ActivateUsedSignals(GetWizDataPtr());
    return true;
}

bool RefWizMain::DoFinishAtSummaryStart() { return PrepareData(); }

std::string RefWizMain::FeatureLine() {
    auto* summary = dynamic_cast<Olm_SummaryGui*>(GetSummaryGui());
    if (!summary || !summary->pageWidget()) return {};
    // The summary page fills its panes only outside batch mode.
    const bool batch = IsBatchMode();
    SetBatchMode(false);
    summary->init();
    summary->onActive();
    SetBatchMode(batch);
    auto* pane = summary->pageWidget()->findChild<QTextEdit*>("IDC_SUM_FEATURES_EDIT");
    if (!pane) return {};
    const QString text = pane->toPlainText().trimmed();
    return text.section(QLatin1Char('\n'), 0, 0).trimmed().toStdString();
}

int RefWizMain::DoFinish() {
    Pal::String text;
    if (!m_bridge || !m_bridge->GetEnginePtr() || !GetWizDataPtr() || m_kfzPath.empty()) {
        Report("The wizard has no design to write.", true);
        return -1;
    }
    if (!PrepareData()) return -1;

    Olm_Engine* engine = m_bridge->GetEnginePtr();
    engine->NewDesign();
    if (!m_bridge->SaveWizDataToEngine()) {
        Report("Could not store the configuration in the design.", true);
        return -1;
    }
    Pal::String error;
    if (!engine->Save(m_kfzPath.c_str(), &error)) {
        Report(text.Format("Could not write the design file %s: %s", m_kfzPath.c_str(), error.c_str()), true);
        return -1;
    }
    if (!GenerateHdl()) return -1;
    if (!WriteConstraintTemplate()) return -1;
    return 0;
}

bool RefWizMain::GenerateHdl() {
    Pal::String text;
    if (GetHDLFilename().IsEmpty()) return true;
    if (m_hdlTool.empty()) {
        Report("No HDL generator is known to the wizard.", true);
        return false;
    }
    const std::string hdlPath = GetHdlPath();
    const std::string lang = GetHdlSelector() == Olm_WizPage::kHdlVerilog ? OlmConst::kLangVerilog
                                                                           : OlmConst::kLangVhdl;
    Pal::Process child;
    std::vector<Pal::String> argv = {m_hdlTool};
    argv.insert(argv.end(), m_hdlToolArgs.begin(), m_hdlToolArgs.end());
    argv.insert(argv.end(), {"--kfz", m_kfzPath, "--lang", lang, "-o", hdlPath});
    std::fflush(stdout);
    if (!child.Start(argv)) {
        Report(text.Format("Could not start the HDL generator %s: %s", m_hdlTool.c_str(), child.GetError().c_str()),
               true);
        return false;
    }

    int exitCode = 0;
    if (!IsBatchMode() && QApplication::instance()) {
        Olm_WaitDlg wait;
        wait.SetProcessPtr(&child);
        if (wait.Run() == 0) {
            child.Kill();
            child.Wait();
            Report(text.Format("The generation of the HDL file %s was cancelled.", hdlPath.c_str()), true);
            return false;
        }
        exitCode = wait.GetExitCode();
    } else {
        const int status = child.Wait();
        exitCode = status == Pal::Process::kEnded ? child.GetChildRetcode() : 1;
    }
    if (exitCode != 0) {
        Report(text.Format("The HDL generator failed (exit code %d) while writing %s from %s.", exitCode,
                           hdlPath.c_str(), m_kfzPath.c_str()),
               true);
        return false;
    }
    return true;
}

bool RefWizMain::WriteConstraintTemplate() {
    Pal::String text;
    const std::string path = GetPkxPath();
    std::string out;
    out += "# Constraint template of the design " + GetDesignName().str() + ", written by the " +
           GetWizType().str() + " wizard.\n";
    out += "# Remove the '#' in front of a site line and fill in the site of the port.\n";
    out += "\n# Sites of the external ports\n";
    for (Olm_Signal* signal : GetWizDataPtr()->GetSigList()) {
        if (!signal || !signal->IsActive() || !signal->IsExternal()) continue;
        std::string line = "# site " + signal->GetDirection().str();
        if (signal->IsBus()) line += "[" + std::to_string(signal->GetWidth() - 1) + ":0]";
        out += line + " = ?;\n";
    }
    out += "\n# Clock periods\n";
    for (const ClockPeriod& clock : ClockPeriods()) {
        if (clock.periodNs > 0.0)
            out += "clock_period " + clock.port + " = " + FormatFixed(clock.periodNs, 3) + " ns;\n";
        else
            out += "# clock_period " + clock.port + " = ? ns;\n";
    }
    Pal::Stream* stream = Pal::File::open(path.c_str(), Pal::File::kWriteTruncate, true);
    bool ok = stream != nullptr;
    if (stream) {
        ok = stream->Write(out.data(), out.size());
        ok = Pal::File::close(stream) && ok;
    }
    if (!ok) Report(text.Format("Could not write the constraint template %s.", path.c_str()), true);
    return ok;
}

}  // namespace OlmRef
