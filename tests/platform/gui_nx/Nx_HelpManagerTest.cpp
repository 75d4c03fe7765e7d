#include "gui_nx/Nx_HelpManager.h"
#include "gui_nx/Nx_Wizard.h"

#include "GoldenSections.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QFileInfo>
#include <QTextBrowser>

#include <filesystem>
#include <fstream>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class NxHelpManagerTest : public guitest::GuiTest {
protected:
    void SetUp() override { qunsetenv("OLMW_DATA_DIR"); }
    void TearDown() override {
        qunsetenv("OLMW_DATA_DIR");
        help->closeHelpWindow();
        GuiTest::TearDown();
    }
    // Checks a listing of golden/help_topics.txt: for each topic of the map,
    // with how it is looked up in brackets, the file name of its page.
    void CheckTopics(const std::string& listing, const char* map) {
        olmtest::GoldenSections golden(OLM_GUI_NX_GOLDEN_DIR "/help_topics.txt");
        golden.CheckAnswers(listing, [&](const std::string& question) {
            const std::size_t open = question.rfind(" [");
            const std::string how = question.substr(open + 2, question.size() - open - 3);
            const auto prefix = how == "exact" ? Nx_HelpManager::ExactTopic
                                : how == "category" ? Nx_HelpManager::CategoryOnly : Nx_HelpManager::TopicOrCategory;
            return QFileInfo(help->topicPage(map, question.substr(0, open).c_str(), prefix)).fileName().toStdString();
        });
    }
    Nx_HelpManager* help = Nx_HelpManager::getInstance();
};

TEST_F(NxHelpManagerTest, ShippedMapIsFoundBesideTheLibrary) {
    EXPECT_TRUE(QFileInfo(Nx_HelpManager::helpDirectory() + "/olmw.map").isFile());
    ASSERT_TRUE(help->addHelpFile("olmw.map"));
    CheckTopics("olmw.map", "olmw.map");
    ASSERT_TRUE(help->showHelpTopic("olmw.map", "Output Clocks korvo5", Nx_HelpManager::TopicOrCategory));
    ASSERT_NE(help->helpWindow(), nullptr);
    EXPECT_TRUE(help->helpWindow()->isVisible());
    EXPECT_TRUE(help->helpWindow()->toPlainText().contains("Output Clocks"));
}

// The maps of helpdata/help: test.map has comments, blank lines, blanks
// around and inside topics, lines without a topic or a page, a page that
// does not exist and a topic given twice; empty.map has no topic at all.
TEST_F(NxHelpManagerTest, MapFormatAndMissingMapsOrTopics) {
    qputenv("OLMW_DATA_DIR", OLM_HELP_DATA_DIR);
    EXPECT_FALSE(help->addHelpFile("olmw.map"));
    EXPECT_FALSE(help->showHelpTopic("olmw.map", "Summary korvo5", Nx_HelpManager::TopicOrCategory));
    EXPECT_FALSE(help->showHelpTopic("never.map", "X", Nx_HelpManager::ExactTopic));
    EXPECT_FALSE(help->addHelpFile("empty.map"));
    ASSERT_TRUE(help->addHelpFile("test.map"));
    CheckTopics("test.map", "test.map");
    EXPECT_FALSE(help->showHelpTopic("test.map", "Gone korvo5", Nx_HelpManager::ExactTopic));
    EXPECT_EQ(help->helpWindow(), nullptr);
    EXPECT_TRUE(help->addHelpFile(OLM_HELP_DATA_DIR "/help/test.map"));
}

// Qt's warnings while a test runs.
QStringList g_warnings;

void CollectWarning(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtWarningMsg) g_warnings << text;
}

// A map that is not a regular file or is too large is passed over at once,
// with a warning that names it and says why.
TEST_F(NxHelpManagerTest, MapThatIsNotARegularFileOrTooLargeIsRefusedWithAWarning) {
    olmtest::ScratchDir data;
    const std::filesystem::path folder = data.Path() / "help";
    std::filesystem::create_directories(folder / "folder.map");
    ASSERT_EQ(::mkfifo((folder / "fifo.map").c_str(), 0600), 0);
    std::ofstream(folder / "large.map").close();
    std::filesystem::resize_file(folder / "large.map", Nx_HelpManager::kMaxMapBytes + 1);  // sparse
    qputenv("OLMW_DATA_DIR", QByteArray::fromStdString(data.Path().string()));
    const std::pair<const char*, const char*> maps[] = {
        {"folder.map", "is not a regular file (a folder)"},
        {"fifo.map", "is not a regular file (a FIFO)"},
        {"/dev/zero", "is not a regular file (a character device)"},
        {"large.map", "is too large (16777217 bytes; the limit is 16777216 bytes)"},
    };
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarning);
    ::alarm(20);  // a map read that waits ends the program instead of holding up the suite
    for (const auto& [map, warning] : maps) {
        g_warnings.clear();
        EXPECT_FALSE(help->addHelpFile(map)) << map;
        ASSERT_EQ(g_warnings.size(), 1) << map;
        EXPECT_TRUE(g_warnings.front().contains(QFileInfo(map).fileName())) << g_warnings.front().toStdString();
        EXPECT_TRUE(g_warnings.front().contains(warning)) << g_warnings.front().toStdString();
    }
    ::alarm(0);
    qInstallMessageHandler(previous);
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
