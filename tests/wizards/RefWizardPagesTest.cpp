// Renders every page of the wizards to PNG (offscreen) into the build folder
// and checks the layout: the window opens at a size a 1280 x 800 screen
// shows, every page shows all of its widgets, and the keyboard moves through
// the fields from top to bottom. The walks are listed in pages.txt. F1 shows
// the help of the page.
#include "CaseFiles.h"
#include "GuiTestSupport.h"
#include "MultWizard.h"
#include "TestSupport.h"
#include "WizardTable.h"

#include "OlmKit.h"

#include "gui_nx/Nx_HelpManager.h"
#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextBrowser>
#include <QThreadPool>

#include <filesystem>
#include <functional>

namespace {

// The innermost scroll area whose viewport holds the widget, or null.
QAbstractScrollArea* ScrollAreaAround(QWidget* w) {
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(p);
        if (area && area->viewport()->isAncestorOf(w)) return area;
    }
    return nullptr;
}

// Everything of the page is shown: every visible widget lies inside the
// window and inside the viewport of its scroll area, unless that area
// scrolls to it (a table sideways; the page body up and down only when the
// window is as tall as it opens at most); the notes scroll with nothing; the
// buttons that move on are in the window; labels, buttons and combo boxes
// are as large as their texts need.
void ExpectAllShown(Nx_Wizard& wizard, Nx_WizardPage& page) {
    const std::string name = page.pageName().toStdString();
    const QRect window = wizard.rect();
    const auto rectOf = [&wizard](const QWidget* w) { return QRect(w->mapTo(&wizard, QPoint(0, 0)), w->size()); };
    const bool atLargest = wizard.height() >= Nx_Wizard::maxOpeningSize().height();
    for (QWidget* w : page.pageWidget()->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        const std::string what = name + ": " + w->metaObject()->className() + " " + w->objectName().toStdString();
        const QRect r = rectOf(w);
        EXPECT_TRUE(window.contains(r) || ScrollAreaAround(w)) << what << " lies outside the window";
        if (QAbstractScrollArea* area = ScrollAreaAround(w)) {
            const QRect view = rectOf(area->viewport());
            const bool table = area->objectName().startsWith("table");
            const bool across = r.left() < view.left() || r.right() > view.right();
            const bool upDown = r.top() < view.top() || r.bottom() > view.bottom();
            if (across) {
                EXPECT_TRUE(table && area->horizontalScrollBar()->maximum() > 0) << what << " is cut off at the side";
            }
            if (upDown) {
                EXPECT_TRUE(!table && atLargest && area->verticalScrollBar()->maximum() > 0) << what << " is cut off below";
            }
        }
        if (w->objectName().startsWith("note")) {
            EXPECT_EQ(ScrollAreaAround(w), nullptr) << what << " scrolls away";
        }
        const auto* label = qobject_cast<QLabel*>(w);
        if ((label && !label->wordWrap()) || qobject_cast<QAbstractButton*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << what << " is clipped";
        }
        if (auto* box = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.frame = box->hasFrame();
            const QRect text = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
            for (int i = 0; i < box->count(); ++i)
                EXPECT_GE(text.width(), box->fontMetrics().horizontalAdvance(box->itemText(i)))
                    << what << ": the choice " << box->itemText(i).toStdString() << " is clipped";
        }
    }
    const bool last = wizard.nextId() == -1;
    for (const QWizard::WizardButton which :
         {QWizard::BackButton, last ? QWizard::FinishButton : QWizard::NextButton, QWizard::CancelButton}) {
        const QAbstractButton* button = wizard.button(which);
        EXPECT_TRUE(button->isVisible() && window.contains(rectOf(button)))
            << name << ": the button " << button->text().toStdString() << " is not shown";
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
    const QSize opened = wizard->size();
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
        // The window stays at its opening size, which a 1280 x 800 screen shows whole.
        EXPECT_EQ(shot.size(), opened) << file;
        EXPECT_LE(shot.width(), 1280) << file;
        EXPECT_LE(shot.height(), 800) << file;
        ExpectAllShown(*wizard, *page);
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
                              "PLL: VCO = 312.5 MHz x 33 / 2 = 5156.25 MHz, rate divider 1; fabric clocks 257.8125 MHz.",
                              "TX 32 bits 8B10B, RX 32 bits 8B10B, comma K28.5, clock compensation K28.0."}));
}

// Runs a wizard (korvo5, design "demo") through the session in its window,
// which each step drives (it is called for every modal window); the wizard
// table's factory unless one is given.
Olm_RunOutcome RunInWindow(const std::string& wizType, const std::function<void(QWidget*)>& step,
                           Olm_RunSession::Factory factory = {}) {
    const olmtest::ScratchDir dir;
    Olm_RunRequest request;
    request.wizType = wizType;
    request.family = "korvo5";
    request.design = "demo";
    request.outputDir = dir.File("out");
    const guitest::ModalDriver driver(step);
    return Olm_RunSession().Run(request, factory ? factory : olmwiz::FactoryOf(*olmwiz::FindWizard(wizType), wizType));
}

// The page the help window shows, with its section after '#'; then the
// help window is closed and the wizard moves on (Cancel on the last page).
std::string HelpShownThenMoveOn(Nx_Wizard& wizard) {
    QTextBrowser* help = Nx_HelpManager::getInstance()->helpWindow();
    const QUrl source = help ? help->source() : QUrl();
    Nx_HelpManager::getInstance()->closeHelpWindow();
    if (wizard.nextId() == -1) wizard.reject();
    else wizard.next();
    return source.fileName().toStdString() + (source.hasFragment() ? "#" + source.fragment().toStdString() : "");
}

// F1 on each page shows the help at the page's section.
struct HelpWalk {
    const char* wizard;
    std::vector<std::string> pages;  // one per page met
};

void PrintTo(const HelpWalk& walk, std::ostream* os) { *os << walk.wizard; }

class PageHelp : public ::testing::TestWithParam<HelpWalk> {};

TEST_P(PageHelp, F1ShowsTheSectionOfThePageShown) {
    std::vector<std::string> shown;
    const Olm_RunOutcome outcome = RunInWindow(GetParam().wizard, [&shown](QWidget* modal) {
        auto* wizard = qobject_cast<Nx_Wizard*>(modal);
        if (!wizard) return;
        QApplication::setActiveWindow(wizard);
        QTest::keyClick(wizard, Qt::Key_F1);
        shown.push_back(HelpShownThenMoveOn(*wizard));
    });
    EXPECT_EQ(outcome.result, 1) << "left with Cancel";
    EXPECT_EQ(shown, GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(
    Wizards, PageHelp,
    ::testing::Values(HelpWalk{"tkl_pll", {"general_setup.html", "output_clocks.html", "summary.html"}},
                      HelpWalk{"dsp_mult", {"dsp_mult.html#operands", "dsp_mult.html#pipelining", "summary.html"}},
                      HelpWalk{"hsx",
                               {"hsx.html#lanes", "hsx.html#line-rate", "hsx.html#data-path", "hsx.html#clock-compensation",
                                "hsx.html#loopback", "hsx.html#buffers", "summary.html"}},
                      HelpWalk{"ssio_tx", {"ssio.html#setup", "ssio.html#tristate-output", "summary.html"}}),
    [](const auto& info) { return std::string(info.param.wizard); });

// A wizard with a help map of its own: its pages' More Info from there, the
// summary's (a page of the library) from the library's map.
TEST(PageHelpOfItsOwn, PagesFromTheWizardsMapSummaryFromTheLibrarys) {
    const olmtest::ScratchDir dir;
    dir.Write("own.html", "<html><body><a name=\"widths\">Widths</a></body></html>");
    const std::string map = dir.Write("own.map", "General Setup - Multiplier = own.html#widths\n");
    std::vector<std::string> shown;
    RunInWindow(
        "dsp_mult",
        [&shown](QWidget* modal) {
            auto* wizard = qobject_cast<Nx_Wizard*>(modal);
            if (!wizard) return;
            if (wizard->currentNxPage()->pageName().startsWith("Pipelining")) return wizard->next();
            wizard->button(QWizard::HelpButton)->click();
            shown.push_back(HelpShownThenMoveOn(*wizard));
        },
        [&map](bool batch) {
            auto main = std::make_unique<DspMult::MultWizard>(batch);
            main->SetHelpMap(map);
            return std::unique_ptr<Olm_KitMain>(std::move(main));
        });
    EXPECT_EQ(shown, (std::vector<std::string>{"own.html#widths", "summary.html"}));
}

// Finishing the window writes the files without another window on the way,
// and cancelling it writes nothing, also without asking. The wait dialog of
// a slow HDL file is no question: it closes by itself when the file is done.
TEST(WindowClosure, FinishAndCancelShowNoOtherWindow) {
    for (const bool finish : {true, false}) {
        std::vector<std::string> others;
        const Olm_RunOutcome outcome = RunInWindow("dsp_mult", [&](QWidget* modal) {
            auto* wizard = qobject_cast<Nx_Wizard*>(modal);
            if (modal->inherits("Olm_WaitDlgImp")) return;
            if (!wizard) {
                others.push_back(modal->metaObject()->className());
                modal->close();
            } else if (!finish) {
                wizard->button(QWizard::CancelButton)->click();
            } else {
                wizard->button(wizard->nextId() == -1 ? QWizard::FinishButton : QWizard::NextButton)->click();
            }
        });
        EXPECT_EQ(outcome.result, finish ? 0 : 1);
        EXPECT_EQ(outcome.files.size(), finish ? 3u : 0u);
        EXPECT_TRUE(others.empty()) << (finish ? "Finish" : "Cancel") << " showed " << others.front();
    }
}

}  // namespace
