#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include "GuiTestSupport.h"

#include <QAbstractButton>
#include <QLabel>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using guitest::ModalDriver;
using Log = std::vector<std::string>;

// A page that logs every call of the wizard and answers the moves as told.
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
    bool onCancel() override { return note("onCancel"), allowCancel; }
    bool onBack() override { return note("onBack"), allowBack; }
    bool onNext() override { return note("onNext"), allowNext; }
    bool onFinish() override { return note("onFinish"), allowFinish; }
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

// Runs `step(n)` for the n-th time the running wizard is seen.
struct Steps {
    Steps(Nx_Wizard& wizard, std::function<void(int)> step)
        : driver([&wizard, step, this](QWidget* modal) {
              if (modal == &wizard) step(count++);
          }) {}
    int count = 0;
    ModalDriver driver;
};

long Count(const Log& log, const char* entry) { return std::count(log.begin(), log.end(), entry); }

class NxWizardTest : public guitest::GuiTest {
protected:
    Log log;
};

TEST_F(NxWizardTest, WizardOwnsItsPagesWhichJoinInOrderAndLeaveWhenDeleted) {
    QPointer<QLabel> body;
    QPointer<Nx_WizardPage> first;
    {
        Nx_Wizard wizard("Olm Wizard", nullptr, "OlmWiz", true, 0);
        EXPECT_EQ(wizard.objectName(), "OlmWiz");
        EXPECT_TRUE(wizard.isModal());
        first = new LoggingPage(&wizard, "First", log);
        auto* second = new LoggingPage(&wizard, "Second", log);
        auto* third = new LoggingPage(&wizard, "Third", log);
        ASSERT_EQ(wizard.nxPages(), (QList<Nx_WizardPage*>{first, second, third}));
        EXPECT_EQ(first->pageBackName(), "");
        EXPECT_EQ(second->pageBackName(), "First");
        EXPECT_EQ(second->pageNextName(), "Third");
        EXPECT_EQ(third->pageNextName(), "");
        delete second;
        EXPECT_EQ(wizard.nxPages(), (QList<Nx_WizardPage*>{first, third}));
        EXPECT_EQ(wizard.pageIds().size(), 2);
        EXPECT_EQ(first->pageNextName(), "Third");
        body = new QLabel("body");
        first->setPageWidget(body);
        EXPECT_TRUE(wizard.isAncestorOf(body));
    }
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(body.isNull());

    // Without a wizard the page only keeps the widget.
    QWidget owner;
    LoggingPage alone(&owner, "Alone", log);
    EXPECT_EQ(alone.wizard(), nullptr);
    EXPECT_EQ(alone.pageWidget()->parent(), &owner);
}

TEST_F(NxWizardTest, FinishedRunCallsTheSlotsInOrderAndReturnsOne) {
    Nx_Wizard wizard("W");
    new LoggingPage(&wizard, "A", log);
    new InitPage(&wizard, "B", log);
    Steps steps(wizard, [&](int n) {
        if (n < 2) wizard.button(n == 0 ? QWizard::NextButton : QWizard::FinishButton)->click();
    });
    EXPECT_EQ(wizard.exec(), 1);
    EXPECT_EQ(log, (Log{"A:dataToWidgets", "A:onActive", "A:onNext", "A:widgetsToData", "B:init",
                        "B:dataToWidgets", "B:onActive", "B:onFinish", "B:widgetsToData"}));
}

TEST_F(NxWizardTest, InitRunsOnceAndOnActiveEachTimeThePageBecomesCurrent) {
    Nx_Wizard wizard("W");
    new InitPage(&wizard, "A", log);
    new InitPage(&wizard, "B", log);
    const QWizard::WizardButton presses[] = {QWizard::NextButton, QWizard::BackButton,
                                             QWizard::NextButton, QWizard::CancelButton};
    Steps steps(wizard, [&](int n) {
        if (n < 4) wizard.button(presses[n])->click();
    });
    EXPECT_EQ(wizard.exec(), 0);
    EXPECT_EQ(Count(log, "A:init"), 1);
    EXPECT_EQ(Count(log, "B:init"), 1);
    EXPECT_EQ(Count(log, "A:onActive"), 2);
    EXPECT_EQ(Count(log, "B:onActive"), 2);
    EXPECT_LT(std::find(log.begin(), log.end(), "B:init"), std::find(log.begin(), log.end(), "B:onActive"));
    EXPECT_EQ(Count(log, "B:onBack"), 1);
    EXPECT_EQ(Count(log, "B:onCancel"), 1);
}

TEST_F(NxWizardTest, PagesCanRefuseEveryMove) {
    Nx_Wizard wizard("W");
    auto* first = new LoggingPage(&wizard, "A", log);
    auto* last = new LoggingPage(&wizard, "B", log);
    first->allowNext = false;
    last->allowBack = last->allowCancel = last->allowFinish = false;
    Steps steps(wizard, [&](int n) {
        switch (n) {
        case 0: wizard.button(QWizard::NextButton)->click(); break;  // refused
        case 1:
            first->allowNext = true;
            wizard.button(QWizard::NextButton)->click();
            break;
        case 2: wizard.button(QWizard::BackButton)->click(); break;    // refused
        case 3: wizard.button(QWizard::CancelButton)->click(); break;  // refused
        case 4: wizard.button(QWizard::FinishButton)->click(); break;  // refused
        case 5:
            EXPECT_EQ(wizard.currentNxPage(), last);
            last->allowCancel = true;
            wizard.reject();
            break;
        default: break;
        }
    });
    EXPECT_EQ(wizard.exec(), 0);
    EXPECT_EQ(Count(log, "A:onNext"), 2);
    EXPECT_EQ(Count(log, "A:widgetsToData"), 1);
    EXPECT_EQ(Count(log, "A:onActive"), 1);
    EXPECT_EQ(Count(log, "B:onActive"), 1);
    EXPECT_EQ(Count(log, "B:onFinish"), 1);
    EXPECT_EQ(Count(log, "B:onCancel"), 2);
}

TEST_F(NxWizardTest, MoreInfoAndAdvancedButtonsFollowTheWizardAndThePage) {
    Nx_Wizard wizard("W");
    auto* first = new LoggingPage(&wizard, "A", log);
    auto* second = new LoggingPage(&wizard, "B", log);
    second->enableMoreInfo(Nx_WizardPage::DisplayOff);
    first->advanced = 1;
    wizard.showMoreInfo(true);
    bool helpOnA = false, advancedOnA = false, enabledOnB = true, advancedOnB = true;
    Steps steps(wizard, [&](int n) {
        if (n == 0) {
            helpOnA = wizard.testOption(QWizard::HaveHelpButton);
            advancedOnA = wizard.testOption(QWizard::HaveCustomButton1);
            wizard.button(QWizard::HelpButton)->click();
            wizard.button(QWizard::CustomButton1)->click();
            wizard.button(QWizard::NextButton)->click();
        } else if (n == 1) {
            enabledOnB = wizard.button(QWizard::HelpButton)->isEnabled();
            advancedOnB = wizard.testOption(QWizard::HaveCustomButton1);
            wizard.reject();
        }
    });
    wizard.exec();
    EXPECT_TRUE(helpOnA && advancedOnA);
    EXPECT_FALSE(enabledOnB || advancedOnB);
    EXPECT_EQ(Count(log, "A:onMoreInfo"), 1);
    EXPECT_EQ(Count(log, "A:onAdvanced"), 1);

    first->showMoreInfo(Nx_WizardPage::DisplayOff);
    wizard.restart();
    EXPECT_FALSE(wizard.testOption(QWizard::HaveHelpButton));
    first->showMoreInfo(Nx_WizardPage::DisplayOn);
    EXPECT_TRUE(wizard.testOption(QWizard::HaveHelpButton));
    wizard.showMoreInfo(false);
    EXPECT_FALSE(wizard.testOption(QWizard::HaveHelpButton));
}

}  // namespace

#include "Nx_WizardTest.moc"
