#include "gui_nx/Nx_HelpManager.h"
#include "gui_nx/Nx_Wizard.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>

namespace {

using guitest::GuiTest;

// Points the help folder at a scratch folder while it lives.
class HelpDirOverride {
public:
    explicit HelpDirOverride(const std::string& dataDir) {
        m_had = qEnvironmentVariableIsSet("OLMW_DATA_DIR");
        m_old = qgetenv("OLMW_DATA_DIR");
        qputenv("OLMW_DATA_DIR", QByteArray::fromStdString(dataDir));
    }
    ~HelpDirOverride() {
        if (m_had) qputenv("OLMW_DATA_DIR", m_old);
        else qunsetenv("OLMW_DATA_DIR");
    }

private:
    bool m_had = false;
    QByteArray m_old;
};

class NxHelpManagerTest : public GuiTest {
protected:
    void TearDown() override {
        help->closeHelpWindow();
        GuiTest::TearDown();
    }
    Nx_HelpManager* help = Nx_HelpManager::getInstance();
};

TEST_F(NxHelpManagerTest, SharedInstance) {
    EXPECT_EQ(Nx_HelpManager::getInstance(), help);
}

TEST_F(NxHelpManagerTest, ShippedMapIsFoundBesideTheLibrary) {
    qunsetenv("OLMW_DATA_DIR");
    const QString folder = Nx_HelpManager::helpDirectory();
    EXPECT_TRUE(QFileInfo(folder + "/olmw.map").isFile()) << folder.toStdString();
    ASSERT_TRUE(help->addHelpFile("olmw.map"));

    // Pages of the reference wizards, for any family through the category's
    // default.
    EXPECT_TRUE(help->topicPage("olmw.map", "General Setup korvo5", Nx_HelpManager::TopicOrCategory)
                    .endsWith("/general_setup.html"));
    EXPECT_TRUE(help->topicPage("olmw.map", "Output Clocks korvo4", Nx_HelpManager::TopicOrCategory)
                    .endsWith("/output_clocks.html"));
    EXPECT_TRUE(help->topicPage("olmw.map", "General Setup - Multiplier korvo5",
                                Nx_HelpManager::TopicOrCategory)
                    .endsWith("/dsp_mult.html"));
    // Exact matching does not fall back on the category.
    EXPECT_TRUE(help->topicPage("olmw.map", "General Setup korvo5", Nx_HelpManager::ExactTopic).isEmpty());

    ASSERT_TRUE(help->showHelpTopic("olmw.map", "Output Clocks korvo5", Nx_HelpManager::TopicOrCategory));
    ASSERT_NE(help->helpWindow(), nullptr);
    EXPECT_TRUE(help->helpWindow()->isVisible());
    EXPECT_TRUE(help->helpWindow()->source().toLocalFile().endsWith("output_clocks.html"));
    EXPECT_TRUE(help->helpWindow()->toPlainText().contains("Output Clocks"));
}

TEST_F(NxHelpManagerTest, MissingMapOrTopicGivesFalse) {
    olmtest::ScratchDir data;
    HelpDirOverride dir(data.Path().string());
    EXPECT_FALSE(help->addHelpFile("olmw.map"));
    EXPECT_FALSE(help->addHelpFile(""));
    EXPECT_FALSE(help->showHelpTopic("olmw.map", "General Setup korvo5", Nx_HelpManager::TopicOrCategory));
    EXPECT_FALSE(help->showHelpTopic("never.map", "X", Nx_HelpManager::ExactTopic));
    EXPECT_EQ(help->helpWindow(), nullptr);
}

TEST_F(NxHelpManagerTest, MapFormat) {
    olmtest::ScratchDir data;
    HelpDirOverride dir(data.Path().string());
    data.Write("help/page.html", "<html><body>Clocking help</body></html>");
    data.Write("help/sub/other.html", "<html><body>Other</body></html>");
    data.Write("help/test.map",
               "# comment = ignored.html\n"
               "\n"
               "  Clocking   Setup  =  page.html  \n"
               "Clocking = sub/other.html\n"
               "no equals sign here\n"
               " = nameless.html\n"
               "Gone korvo5 = missing.html\n"
               "Twice = page.html\n"
               "twice = sub/other.html\n");
    ASSERT_TRUE(help->addHelpFile("test.map"));
    const auto page = [&](const char* topic, Nx_HelpManager::TopicPrefix prefix) {
        const QString path = help->topicPage("test.map", topic, prefix);
        return path.isEmpty() ? std::string() : QFileInfo(path).fileName().toStdString();
    };
    EXPECT_EQ(page("clocking setup", Nx_HelpManager::ExactTopic), "page.html");
    EXPECT_EQ(page("Clocking  Setup", Nx_HelpManager::ExactTopic), "page.html");
    EXPECT_EQ(page("Clocking korvo5", Nx_HelpManager::TopicOrCategory), "other.html");
    EXPECT_EQ(page("Clocking korvo5", Nx_HelpManager::CategoryOnly), "other.html");
    EXPECT_EQ(page("Clocking Setup korvo5", Nx_HelpManager::TopicOrCategory), "page.html");
    EXPECT_EQ(page("Clocking", Nx_HelpManager::CategoryOnly), "");
    EXPECT_EQ(page("comment", Nx_HelpManager::ExactTopic), "");
    EXPECT_EQ(page("no equals sign here", Nx_HelpManager::ExactTopic), "");
    EXPECT_EQ(page("Twice", Nx_HelpManager::ExactTopic), "other.html");
    // A topic whose page does not exist is not shown.
    EXPECT_EQ(page("Gone korvo5", Nx_HelpManager::ExactTopic), "");
    EXPECT_FALSE(help->showHelpTopic("test.map", "Gone korvo5", Nx_HelpManager::ExactTopic));

    // A map named with its full path is read from there.
    EXPECT_TRUE(help->addHelpFile(QString::fromStdString(data.File("help/test.map"))));
    // A map without a single topic offers no help.
    data.Write("help/empty.map", "# nothing\n\nno topic\n");
    EXPECT_FALSE(help->addHelpFile("empty.map"));
}

TEST_F(NxHelpManagerTest, HelpWindowBelongsToTheRunningWizard) {
    qunsetenv("OLMW_DATA_DIR");
    ASSERT_TRUE(help->addHelpFile("olmw.map"));
    Nx_Wizard wizard("Olm Wizard", nullptr, "OlmWiz", true, 0);
    bool shown = false;
    QWidget* owner = nullptr;
    guitest::ModalDriver driver([&](QWidget* modal) {
        if (modal != &wizard) return;
        shown = help->showHelpTopic("olmw.map", "Summary korvo5", Nx_HelpManager::TopicOrCategory);
        owner = help->helpWindow() ? help->helpWindow()->parentWidget() : nullptr;
        wizard.reject();
    });
    wizard.exec();
    EXPECT_TRUE(shown);
    EXPECT_EQ(owner, &wizard);
}

}  // namespace
