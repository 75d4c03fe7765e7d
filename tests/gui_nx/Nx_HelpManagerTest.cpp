#include "gui_nx/Nx_HelpManager.h"
#include "gui_nx/Nx_Wizard.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QTextBrowser>

namespace {

class NxHelpManagerTest : public guitest::GuiTest {
protected:
    void SetUp() override { qunsetenv("OLMW_DATA_DIR"); }
    void TearDown() override {
        qunsetenv("OLMW_DATA_DIR");
        help->closeHelpWindow();
        GuiTest::TearDown();
    }
    Nx_HelpManager* help = Nx_HelpManager::getInstance();
};

TEST_F(NxHelpManagerTest, ShippedMapIsFoundBesideTheLibrary) {
    EXPECT_TRUE(QFileInfo(Nx_HelpManager::helpDirectory() + "/olmw.map").isFile());
    ASSERT_TRUE(help->addHelpFile("olmw.map"));
    const auto page = [&](const char* topic, Nx_HelpManager::TopicPrefix prefix) {
        return QFileInfo(help->topicPage("olmw.map", topic, prefix)).fileName().toStdString();
    };
    // The reference wizards' pages, for any family through the category default.
    EXPECT_EQ(page("General Setup korvo5", Nx_HelpManager::TopicOrCategory), "general_setup.html");
    EXPECT_EQ(page("Output Clocks korvo4", Nx_HelpManager::TopicOrCategory), "output_clocks.html");
    EXPECT_EQ(page("General Setup - Multiplier korvo5", Nx_HelpManager::TopicOrCategory), "dsp_mult.html");
    EXPECT_EQ(page("General Setup korvo5", Nx_HelpManager::ExactTopic), "");

    ASSERT_TRUE(help->showHelpTopic("olmw.map", "Output Clocks korvo5", Nx_HelpManager::TopicOrCategory));
    ASSERT_NE(help->helpWindow(), nullptr);
    EXPECT_TRUE(help->helpWindow()->isVisible());
    EXPECT_TRUE(help->helpWindow()->toPlainText().contains("Output Clocks"));
}

TEST_F(NxHelpManagerTest, MapFormatAndMissingMapsOrTopics) {
    olmtest::ScratchDir data;
    qputenv("OLMW_DATA_DIR", QByteArray::fromStdString(data.Path().string()));
    EXPECT_FALSE(help->addHelpFile("olmw.map"));
    EXPECT_FALSE(help->showHelpTopic("olmw.map", "Summary korvo5", Nx_HelpManager::TopicOrCategory));
    EXPECT_FALSE(help->showHelpTopic("never.map", "X", Nx_HelpManager::ExactTopic));

    data.Write("help/page.html", "<html><body>Clocking help</body></html>");
    data.Write("help/sub/other.html", "<html><body>Other</body></html>");
    data.Write("help/test.map",
               "# comment = ignored.html\n\n"
               "  Clocking   Setup  =  page.html  \n"
               "Clocking = sub/other.html\n"
               "no equals sign here\n"
               " = nameless.html\n"
               "Gone korvo5 = missing.html\n"
               "Twice = page.html\n"
               "twice = sub/other.html\n");
    ASSERT_TRUE(help->addHelpFile("test.map"));
    const auto page = [&](const char* topic, Nx_HelpManager::TopicPrefix prefix) {
        return QFileInfo(help->topicPage("test.map", topic, prefix)).fileName().toStdString();
    };
    EXPECT_EQ(page("clocking  setup", Nx_HelpManager::ExactTopic), "page.html");
    EXPECT_EQ(page("Clocking korvo5", Nx_HelpManager::TopicOrCategory), "other.html");
    EXPECT_EQ(page("Clocking korvo5", Nx_HelpManager::CategoryOnly), "other.html");
    EXPECT_EQ(page("Clocking Setup korvo5", Nx_HelpManager::TopicOrCategory), "page.html");
    EXPECT_EQ(page("Clocking", Nx_HelpManager::CategoryOnly), "");
    EXPECT_EQ(page("comment", Nx_HelpManager::ExactTopic), "");
    EXPECT_EQ(page("Twice", Nx_HelpManager::ExactTopic), "other.html");
    EXPECT_EQ(page("Gone korvo5", Nx_HelpManager::ExactTopic), "");  // its page does not exist
    EXPECT_FALSE(help->showHelpTopic("test.map", "Gone korvo5", Nx_HelpManager::ExactTopic));
    EXPECT_EQ(help->helpWindow(), nullptr);

    EXPECT_TRUE(help->addHelpFile(QString::fromStdString(data.File("help/test.map"))));
    data.Write("help/empty.map", "# nothing\n\nno topic\n");
    EXPECT_FALSE(help->addHelpFile("empty.map"));
}

TEST_F(NxHelpManagerTest, HelpWindowBelongsToTheRunningWizard) {
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
