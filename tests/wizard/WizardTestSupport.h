#pragma once

// A concrete wizard for the tests: a wizard main and pages that answer as
// told and write what the library asks of them into one log on the main.

#include "OlmBase.h"

#include <QLabel>

#include <string>
#include <vector>

namespace wiztest {

using Calls = std::vector<std::string>;

class TestWizMain : public Olm_WizMain {
public:
    using Olm_WizMain::Olm_WizMain;

    Calls calls;  // the overridden steps, in the order called; pages add "<page>:<step>"
    bool initWizard = true, initGuiDlgs = true;  // the answers of the steps
    int finishResult = 7;
    Nx_Wizard* initGuiWizard = nullptr;

    bool InitWizard() override { return Note("InitWizard", initWizard); }
    bool InitGuiDlgs(Nx_Wizard* wizard) override {
        initGuiWizard = wizard;
        return Note("InitGuiDlgs", initGuiDlgs);
    }
    int DoFinish() override { return Note("DoFinish", finishResult); }
    bool DoFinishAtSummaryStart() override { return Note("DoFinishAtSummaryStart", true); }
    void GoBackFromSummary() override { calls.push_back("GoBackFromSummary"); }

    // What RunGuiMode sets up, for pages that ask for help.
    void SetHelp(bool available, Nx_HelpManager* manager) {
        m_moreInfoAvailable = available;
        m_helpManager = manager;
    }

private:
    template <typename T> T Note(const char* step, T answer) {
        calls.push_back(step);
        return answer;
    }
};

// A GUI page of a test page: a label, no more.
class TestGuiPage : public Nx_WizardPage {
    Q_OBJECT
public:
    TestGuiPage(Nx_Wizard* wizard, const QString& name, bool allowNext) : Nx_WizardPage(wizard), allowNext(allowNext) {
        setPageName(name);
        setPageWidget(new QLabel(name, wizard));
    }
    int advancedSupport() override { return 0; }
    void onActive() override {}
    bool onCancel() override { return true; }
    bool onNext() override { return allowNext; }
    void onMoreInfo() override {}
    const bool allowNext;
};

class TestPage : public Olm_WizPage {
public:
    TestPage(TestWizMain* main, std::string name) : Olm_WizPage(main), m_main(main), m_name(std::move(name)) {}

    bool runBatch = true, createGui = true, refuseNext = false;  // the answers of the steps
    TestGuiPage* gui = nullptr;

    bool RunBatch() override {
        Note("RunBatch");
        return runBatch;
    }
    bool CreateGuiDlg(Nx_Wizard* wizard) override {
        Note("CreateGuiDlg");
        if (createGui) gui = new TestGuiPage(wizard, QString::fromStdString(m_name), !refuseNext);
        return createGui;
    }
    Nx_WizardPage* GetGui() override { return gui; }

private:
    void Note(const char* step) {
        if (m_main) m_main->calls.push_back(m_name + ":" + step);
    }
    TestWizMain* m_main;
    std::string m_name;
};

}  // namespace wiztest
