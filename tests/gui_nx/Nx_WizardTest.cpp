#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>

#include <memory>
#include <string>
#include <vector>

namespace {

using guitest::GuiTest;
using guitest::ModalDriver;

using Log = std::vector<std::string>;

// A page that writes every call of the wizard into a shared log and answers
// the moves as told.
class LoggingPage : public Nx_WizardPage {
    Q_OBJECT
public:
    LoggingPage(QWidget* parent, const QString& name, Log& log) : Nx_WizardPage(parent), m_log(log) {
        setPageName(name);
        setPageWidget(new QLabel(name, parent));
    }
    bool allowNext = true, allowBack = true, allowCancel = true, allowFinish = true;
    int advanced = 0;

    int advancedSupport() override { return advanced; }
    void dataToWidgets() override { note("dataToWidgets"); }
    void widgetsToData() override { note("widgetsToData"); }
    void onActive() override { note("onActive"); }
    bool onCancel() override { note("onCancel"); return allowCancel; }
    bool onBack() override { note("onBack"); return allowBack; }
    bool onNext() override { note("onNext"); return allowNext; }
    bool onFinish() override { note("onFinish"); return allowFinish; }
    void onMoreInfo() override { note("onMoreInfo"); }
    void onAdvanced() override { note("onAdvanced"); }

protected:
    void note(const char* what) { m_log.push_back(pageName().toStdString() + ":" + what); }
    Log& m_log;
};

// A page with an init() slot, like the summary page.
class InitPage : public LoggingPage {
    Q_OBJECT
public:
    using LoggingPage::LoggingPage;
public slots:
    void init() { note("init"); }
};

// Presses the wizard's buttons one after the other, one press per page change.
class WizardScript {
public:
    WizardScript(Nx_Wizard& wizard, std::vector<QWizard::WizardButton> presses)
        : m_presses(std::move(presses)), m_driver([this, &wizard](QWidget* modal) {
              if (modal != &wizard || m_next >= m_presses.size()) return;
              wizard.button(m_presses[m_next++])->click();
          }) {}
    bool Done() const { return m_next == m_presses.size(); }

private:
    std::vector<QWizard::WizardButton> m_presses;
    std::size_t m_next = 0;
    ModalDriver m_driver;
};

class NxWizardTest : public GuiTest {
protected:
    Log log;
};

TEST_F(NxWizardTest, ConstructorSetsCaptionNameAndModality) {
    Nx_Wizard wizard("Olm Wizard", nullptr, "OlmWiz", true, 0);
    EXPECT_EQ(wizard.windowTitle(), "Olm Wizard");
    EXPECT_EQ(wizard.objectName(), "OlmWiz");
    EXPECT_TRUE(wizard.isModal());
    EXPECT_FALSE(wizard.isMoreInfoShown());
}

TEST_F(NxWizardTest, PagesJoinInOrderOfConstructionAndKnowTheirNeighbours) {
    Nx_Wizard wizard("W");
    auto* first = new LoggingPage(&wizard, "First", log);
    auto* second = new LoggingPage(&wizard, "Second", log);
    auto* third = new LoggingPage(&wizard, "Third", log);
    ASSERT_EQ(wizard.nxPages(), (QList<Nx_WizardPage*>{first, second, third}));
    EXPECT_EQ(wizard.pageIds().size(), 3);
    EXPECT_EQ(first->pageBackName(), "");
    EXPECT_EQ(first->pageNextName(), "Second");
    EXPECT_EQ(second->pageBackName(), "First");
    EXPECT_EQ(second->pageNextName(), "Third");
    EXPECT_EQ(third->pageNextName(), "");
    EXPECT_EQ(first->wizard(), &wizard);
    EXPECT_EQ(first->parent(), &wizard);
}

TEST_F(NxWizardTest, PageWidgetIsTheWidgetGivenAndTheWizardOwnsIt) {
    QPointer<QLabel> body;
    QPointer<Nx_WizardPage> page;
    {
        Nx_Wizard wizard("W");
        page = new LoggingPage(&wizard, "Only", log);
        body = new QLabel("body");
        page->setPageWidget(body);
        EXPECT_EQ(page->pageWidget(), body.data());
        EXPECT_TRUE(wizard.isAncestorOf(body));
    }
    EXPECT_TRUE(page.isNull());
    EXPECT_TRUE(body.isNull());
}

TEST_F(NxWizardTest, PageWithoutWizardStandsAlone) {
    QWidget owner;
    LoggingPage page(&owner, "Alone", log);
    QLabel body("x");
    page.setPageWidget(&body);
    EXPECT_EQ(page.pageWidget(), &body);
    EXPECT_EQ(page.wizard(), nullptr);
    EXPECT_EQ(page.pageNextName(), "");
    EXPECT_TRUE(page.isMoreInfoShown());
    page.showMoreInfo(Nx_WizardPage::DisplayOff);
    page.enableMoreInfo(Nx_WizardPage::DisplayOff);
    EXPECT_FALSE(page.isMoreInfoShown());
    EXPECT_FALSE(page.isMoreInfoEnabled());
}

TEST_F(NxWizardTest, DeletedPageLeavesTheWizard) {
    Nx_Wizard wizard("W");
    auto* first = new LoggingPage(&wizard, "First", log);
    auto* second = new LoggingPage(&wizard, "Second", log);
    auto* third = new LoggingPage(&wizard, "Third", log);
    delete second;
    EXPECT_EQ(wizard.nxPages(), (QList<Nx_WizardPage*>{first, third}));
    EXPECT_EQ(wizard.pageIds().size(), 2);
    EXPECT_EQ(first->pageNextName(), "Third");
}

TEST_F(NxWizardTest, FinishedRunCallsTheSlotsInOrderAndReturnsOne) {
    Nx_Wizard wizard("W", nullptr, "OlmWiz", true, 0);
    new LoggingPage(&wizard, "A", log);
    new InitPage(&wizard, "B", log);
    WizardScript script(wizard, {QWizard::NextButton, QWizard::FinishButton});
    EXPECT_EQ(wizard.exec(), 1);
    EXPECT_TRUE(script.Done());
    const Log expected{"A:dataToWidgets", "A:onActive", "A:onNext",       "A:widgetsToData",
                       "B:init",          "B:dataToWidgets", "B:onActive", "B:onFinish",
                       "B:widgetsToData"};
    EXPECT_EQ(log, expected);
}

TEST_F(NxWizardTest, InitRunsOnceAndOnActiveEachTimeThePageBecomesCurrent) {
    Nx_Wizard wizard("W");
    new InitPage(&wizard, "A", log);
    new InitPage(&wizard, "B", log);
    WizardScript script(wizard, {QWizard::NextButton, QWizard::BackButton, QWizard::NextButton,
                                 QWizard::CancelButton});
    EXPECT_EQ(wizard.exec(), 0);
    Log inits, actives;
    for (const std::string& entry : log) {
        if (entry.ends_with(":init")) inits.push_back(entry);
        if (entry.ends_with(":onActive")) actives.push_back(entry);
    }
    EXPECT_EQ(inits, (Log{"A:init", "B:init"}));
    EXPECT_EQ(actives, (Log{"A:onActive", "B:onActive", "A:onActive", "B:onActive"}));
    // init of a page comes before its first onActive.
    EXPECT_LT(std::find(log.begin(), log.end(), "B:init"), std::find(log.begin(), log.end(), "B:onActive"));
    EXPECT_NE(std::find(log.begin(), log.end(), "B:onBack"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "B:onCancel"), log.end());
}

TEST_F(NxWizardTest, PageRefusingNextKeepsTheWizardOnIt) {
    Nx_Wizard wizard("W");
    auto* first = new LoggingPage(&wizard, "A", log);
    new LoggingPage(&wizard, "B", log);
    first->allowNext = false;
    int pressesOnA = 0;
    ModalDriver driver([&](QWidget* modal) {
        if (modal != &wizard) return;
        if (wizard.currentNxPage() == first && pressesOnA < 2) {
            ++pressesOnA;
            wizard.button(QWizard::NextButton)->click();
            if (pressesOnA == 2) wizard.button(QWizard::CancelButton)->click();
        }
    });
    EXPECT_EQ(wizard.exec(), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "A:onNext"), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "B:onActive"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "A:widgetsToData"), 0);
}

TEST_F(NxWizardTest, PagesCanRefuseBackCancelAndFinish) {
    Nx_Wizard wizard("W");
    new LoggingPage(&wizard, "A", log);
    auto* last = new LoggingPage(&wizard, "B", log);
    last->allowBack = false;
    last->allowCancel = false;
    last->allowFinish = false;
    int step = 0;
    ModalDriver driver([&](QWidget* modal) {
        if (modal != &wizard) return;
        switch (step++) {
        case 0: wizard.button(QWizard::NextButton)->click(); break;
        case 1: wizard.button(QWizard::BackButton)->click(); break;
        case 2: wizard.button(QWizard::CancelButton)->click(); break;
        case 3: wizard.button(QWizard::FinishButton)->click(); break;
        case 4:
            EXPECT_EQ(wizard.currentNxPage(), last);
            last->allowCancel = true;
            wizard.button(QWizard::CancelButton)->click();
            break;
        default: break;
        }
    });
    EXPECT_EQ(wizard.exec(), 0);
    EXPECT_EQ(step, 5);
    EXPECT_EQ(std::count(log.begin(), log.end(), "B:onBack"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "B:onFinish"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "B:onCancel"), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "A:onActive"), 1);
}

TEST_F(NxWizardTest, MoreInfoButtonFollowsTheWizardAndThePage) {
    Nx_Wizard wizard("W");
    auto* first = new LoggingPage(&wizard, "A", log);
    auto* second = new LoggingPage(&wizard, "B", log);
    second->enableMoreInfo(Nx_WizardPage::DisplayOff);
    first->advanced = 1;
    wizard.showMoreInfo(true);
    bool helpOnA = false, enabledOnB = true, advancedOnA = false, advancedOnB = true;
    int step = 0;
    ModalDriver driver([&](QWidget* modal) {
        if (modal != &wizard) return;
        switch (step++) {
        case 0:
            helpOnA = wizard.testOption(QWizard::HaveHelpButton);
            advancedOnA = wizard.testOption(QWizard::HaveCustomButton1);
            wizard.button(QWizard::HelpButton)->click();
            wizard.button(QWizard::CustomButton1)->click();
            wizard.button(QWizard::NextButton)->click();
            break;
        case 1:
            enabledOnB = wizard.button(QWizard::HelpButton)->isEnabled();
            advancedOnB = wizard.testOption(QWizard::HaveCustomButton1);
            wizard.button(QWizard::CancelButton)->click();
            break;
        default: break;
        }
    });
    wizard.exec();
    EXPECT_TRUE(helpOnA);
    EXPECT_TRUE(advancedOnA);
    EXPECT_FALSE(enabledOnB);
    EXPECT_FALSE(advancedOnB);
    EXPECT_EQ(std::count(log.begin(), log.end(), "A:onMoreInfo"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "A:onAdvanced"), 1);

    first->showMoreInfo(Nx_WizardPage::DisplayOff);
    wizard.restart();
    EXPECT_FALSE(wizard.testOption(QWizard::HaveHelpButton));
    wizard.showMoreInfo(false);
    first->showMoreInfo(Nx_WizardPage::DisplayOn);
    EXPECT_FALSE(wizard.testOption(QWizard::HaveHelpButton));
}

}  // namespace

#include "Nx_WizardTest.moc"
