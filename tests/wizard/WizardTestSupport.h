#pragma once

// A concrete wizard for the tests: a wizard main and pages that record what
// the library asks of them and answer as told.

#include "OlmBase.h"
#include "wizard/Olm_WizMain.h"
#include "wizard/Olm_WizPage.h"

#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include <QLabel>

#include <string>
#include <vector>

namespace wiztest {

using Calls = std::vector<std::string>;

class TestWizMain : public Olm_WizMain {
public:
    TestWizMain(Pal::String type, bool batch, Calls* calls = nullptr)
        : Olm_WizMain(std::move(type), batch), m_calls(calls) {}

    bool initWizard = true;
    bool initGuiDlgs = true;
    int finishResult = 7;
    int finishCalls = 0;
    int summaryStartCalls = 0;
    int goBackCalls = 0;
    Nx_Wizard* initGuiWizard = nullptr;

    int DoFinish() override { note("DoFinish"); ++finishCalls; return finishResult; }
    bool InitGuiDlgs(Nx_Wizard* wizard) override {
        note("InitGuiDlgs");
        initGuiWizard = wizard;
        return initGuiDlgs;
    }
    bool InitWizard() override { note("InitWizard"); return initWizard; }
    bool DoFinishAtSummaryStart() override { ++summaryStartCalls; return Olm_WizMain::DoFinishAtSummaryStart(); }
    void GoBackFromSummary() override { ++goBackCalls; }

    // What RunGuiMode sets up, for pages that ask for help.
    void SetHelp(bool available, Nx_HelpManager* manager) {
        m_moreInfoAvailable = available;
        m_helpManager = manager;
    }

private:
    void note(const char* what) { if (m_calls) m_calls->push_back(what); }
    Calls* m_calls;
};

// A GUI page of a test page: a label, no more.
class TestGuiPage : public Nx_WizardPage {
    Q_OBJECT
public:
    TestGuiPage(Nx_Wizard* wizard, const QString& name) : Nx_WizardPage(wizard) {
        setPageName(name);
        setPageWidget(new QLabel(name, wizard));
    }
    bool allowNext = true;
    int advancedSupport() override { return 0; }
    void onActive() override {}
    bool onCancel() override { return true; }
    bool onNext() override { return allowNext; }
    void onMoreInfo() override {}
};

class TestPage : public Olm_WizPage {
public:
    TestPage(Olm_WizMain* main, std::string name, Calls* calls = nullptr)
        : Olm_WizPage(main), m_name(std::move(name)), m_calls(calls) {}

    bool runBatch = true;
    bool createGui = true;
    bool refuseNext = false;
    TestGuiPage* gui = nullptr;

    bool RunBatch() override { note("RunBatch"); return runBatch; }
    bool CreateGuiDlg(Nx_Wizard* wizard) override {
        note("CreateGuiDlg");
        if (!createGui) return false;
        gui = new TestGuiPage(wizard, QString::fromStdString(m_name));
        gui->allowNext = !refuseNext;
        return true;
    }
    Nx_WizardPage* GetGui() override { return gui; }

private:
    void note(const char* what) { if (m_calls) m_calls->push_back(m_name + ":" + what); }
    std::string m_name;
    Calls* m_calls;
};

}  // namespace wiztest
