// Renders every page of the wizards to PNG (offscreen) into the build folder
// and checks the layout: the window fits a 1024x768 screen, nothing is
// clipped or outside its page, and the keyboard moves through the fields
// from top to bottom. The walks are listed in pages.txt.
#include "CaseFiles.h"
#include "WizardTable.h"

#include "OlmKit.h"

#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QPixmap>
#include <QThreadPool>

#include <filesystem>
#include <functional>

namespace {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "ref_wizard_pages_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// Every visible field and label lies inside the page body and is at least as
// large as it needs to be.
void ExpectNothingClipped(QWidget* body, const QString& page) {
    // A toolkit page scrolls its body.
    if (auto* scroll = qobject_cast<QScrollArea*>(body)) body = scroll->widget();
    const QRect area = body->rect();
    for (QWidget* w : body->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->parentWidget() != body) continue;
        const QRect r(w->mapTo(body, QPoint(0, 0)), w->size());
        EXPECT_TRUE(area.contains(r)) << page.toStdString() << ": " << w->objectName().toStdString() << " lies outside";
        const auto* label = qobject_cast<QLabel*>(w);
        if ((label && !label->wordWrap()) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width())
                << page.toStdString() << ": " << (label ? label->text() : w->objectName()).toStdString()
                << " is clipped";
        }
    }
}

// The named fields of a page, in focus-chain order from the page itself.
std::vector<std::string> FocusOrder(QWidget* body, const std::vector<std::string>& names) {
    std::vector<std::string> order;
    for (QWidget* w = body->nextInFocusChain(); w && w != body && order.size() < names.size();
         w = w->nextInFocusChain()) {
        const std::string name = w->objectName().toStdString();
        if (body->isAncestorOf(w) && std::find(names.begin(), names.end(), name) != names.end()) order.push_back(name);
    }
    return order;
}

struct Rendered {
    // Per page as the walk met it: its name and, when fields were named for
    // it, ": " and those fields in focus-chain order.
    std::vector<std::string> pages;
    std::vector<std::string> features;  // the summary's feature lines
};

// How a wizard is rendered: on the installed defaults of a family (changed
// by settings), for the data of another wizard type (the generic wizard),
// saved under a name of its own; onPage may enter values on a page (by its
// index in the walk) before Next.
struct Render {
    std::string family = "korvo5";
    std::string name;
    std::string dataType;
    // Block attributes ("TYPE.ATTRIBUTE=value") set on every block of the type.
    std::vector<std::string> settings;
    std::vector<std::vector<std::string>> tabOrders;  // per page, fields whose focus order is reported
    std::function<void(int, QWidget*)> onPage;
};

// Builds the wizard and walks it from the first page to the summary, saving
// each page as PNG.
Rendered RenderAll(const std::string& wizType, const Render& how) {
    EnsureApp();
    const std::string dataType = how.dataType.empty() ? wizType : how.dataType;
    const std::string name = !how.name.empty() ? how.name : wizType + (how.dataType.empty() ? "" : "_" + dataType);
    Rendered rendered;
    Olm_Engine engine;
    engine.SetFamily(how.family.c_str());
    Olm_KfzWizData bridge(&engine, dataType);
    EXPECT_TRUE(bridge.SetupWizData());
    std::unique_ptr<Olm_WizData> data(bridge.GetWizDataPtr());
    for (const std::string& setting : how.settings) {
        const std::size_t dot = setting.find('.'), eq = setting.find('=');
        for (Olm_Block* block : data->GetBlkList())
            if (block->GetPrimType() == setting.substr(0, dot).c_str())
                block->AddAttribute(setting.substr(dot + 1, eq - dot - 1).c_str(), setting.substr(eq + 1).c_str());
    }
    std::unique_ptr<Olm_KitMain> main = olmwiz::FactoryOf(*olmwiz::FindWizard(wizType), dataType)(false);
    main->SetFamily(how.family.c_str());
    main->SetDesignName("demo");
    main->SetHDLType("verilog");
    main->SetHDLFilename("demo.v");
    main->SetWizDataPtr(data.get());
    main->SetBridge(&bridge);
    EXPECT_TRUE(main->InitWizard());
    auto* wizard = new Nx_Wizard(QStringLiteral("Olm Wizard"), nullptr, QStringLiteral("OlmWiz"), true, 0);
    EXPECT_TRUE(main->CreateGuiDlgs(wizard));
    EXPECT_TRUE(main->InitGuiDlgs(wizard));
    wizard->show();
    const std::filesystem::path folder(OLM_PNG_DIR);
    std::filesystem::create_directories(folder);
    const QList<Nx_WizardPage*> pages = wizard->nxPages();
    // Page by page as Next goes, which passes over the pages that do not apply.
    for (int i = 0; !pages.isEmpty(); ++i) {
        QApplication::processEvents();
        Nx_WizardPage* page = wizard->currentNxPage();
        if (!page) break;
        std::string line = page->pageName().toStdString();
        if (i < static_cast<int>(how.tabOrders.size()) && !how.tabOrders[i].empty()) {
            for (const std::string& field : FocusOrder(page->pageWidget(), how.tabOrders[i]))
                line += (line.find(": ") == std::string::npos ? ": " : " ") + field;
        }
        rendered.pages.push_back(line);
        const std::string file = (folder / (name + "_" + std::to_string(i + 1) + ".png")).string();
        const QPixmap shot = wizard->grab();
        EXPECT_TRUE(shot.save(QString::fromStdString(file))) << file;
        // The window with its frame fits a 1024 x 768 screen.
        EXPECT_LE(shot.width(), 1000) << file;
        EXPECT_LE(shot.height(), 730) << file;
        ExpectNothingClipped(page->pageWidget(), page->pageName());
        if (page == pages.back()) break;
        if (how.onPage) how.onPage(i, page->pageWidget());
        wizard->next();
        if (wizard->currentNxPage() == page) {
            ADD_FAILURE() << page->pageName().toStdString() << ": Next keeps the page";
            break;
        }
    }
    rendered.features = main->FeatureLines();
    delete wizard;
    // Qt converts large images on threads of its global pool, which would
    // otherwise still be idling when the program ends.
    QThreadPool::globalInstance()->waitForDone();
    return rendered;
}

class RefWizardPages : public ::testing::TestWithParam<olmtest::CaseRecord> {};

// Each rendering of pages.txt: the pages the walk meets, and on each the
// focus order of the fields named there.
TEST_P(RefWizardPages, RenderTidilyInFocusOrder) {
    const olmtest::CaseRecord& c = GetParam();
    Render how;
    how.family = c.Value("family", "korvo5");
    how.name = c["case"];
    how.dataType = c["data"];
    how.settings = olmtest::Words(c["set"]);
    const std::vector<std::string> expected = olmtest::Lines(c["page"]);
    for (const std::string& page : expected) {
        const std::size_t colon = page.find(": ");
        how.tabOrders.push_back(olmtest::Words(colon == std::string::npos ? "" : page.substr(colon + 2)));
    }
    EXPECT_EQ(RenderAll(c["wizard"], how).pages, expected);
}

INSTANTIATE_TEST_SUITE_P(Walks, RefWizardPages, ::testing::ValuesIn(olmtest::ReadCaseRecords(OLM_CASES_DIR "/pages.txt")),
                         [](const auto& info) { return olmtest::CaseName(info.param); });

// The transceiver chosen in the window rules the pages after the lane page.
TEST(TransceiverPages, TransceiverChosenInTheWindowRulesTheLaterPages) {
    QStringList refClocks;
    Render switched;
    switched.name = "hsx_switched";
    switched.onPage = [&refClocks](int page, QWidget* body) {
        const auto box = [body](const char* name) { return body->findChild<QComboBox*>(name); };
        if (page == 0) {
            box("HSX_DISPLAY_NAME")->setCurrentText("HSX10 Lane");
            box("OLMW_ONLY_LANE_COUNT")->setCurrentText("2");
            box("OLMW_ONLY_LANE1_LOC")->setCurrentText("HSX10_L0_1");  // offered once HSX10 is chosen
        } else if (page == 1) {
            for (int i = 0; i < box("REFCLK_FREQ")->count(); ++i) refClocks << box("REFCLK_FREQ")->itemText(i);
        }
    };
    const Rendered r = RenderAll("hsx", switched);
    EXPECT_EQ(refClocks, QStringList({"100", "125", "156.25", "312.5"}));
    EXPECT_EQ(r.pages.at(4), "Lane Bonding");
    EXPECT_EQ(r.features, (std::vector<std::string>{
                              "2 HSX10 lanes, bonded (master lane 0), at 10.3125 Gbit/s from 312.5 MHz.",
                              "PLL x 33 / 2: VCO 5156.25 MHz, rate divider 1; fabric clocks 257.8125 MHz.",
                              "TX 32 bits 8B10B, RX 32 bits 8B10B, comma K28.5, clock compensation K28.0."}));
}

}  // namespace
