// Renders every page of the wizards to PNG (offscreen) into the build folder
// and checks the layout: the window fits a 1024x768 screen, nothing is
// clipped or outside its page, and the keyboard moves through the fields
// from top to bottom.
#include "WizardTable.h"

#include "OlmKit.h"

#include "gui_nx/Nx_Wizard.h"
#include "gui_nx/Nx_WizardPage.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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
        if (qobject_cast<QLabel*>(w) && !qobject_cast<QLabel*>(w)->wordWrap()) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width())
                << page.toStdString() << ": " << qobject_cast<QLabel*>(w)->text().toStdString() << " is clipped";
        }
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width())
                << page.toStdString() << ": " << w->objectName().toStdString() << " is clipped";
        }
    }
}

// The named fields, in focus-chain order.
std::vector<std::string> FocusOrder(QWidget* body, const std::vector<std::string>& names) {
    std::vector<std::string> order;
    QWidget* first = body->findChild<QWidget*>(QString::fromStdString(names.front()));
    if (!first) return order;
    QWidget* w = first;
    do {
        const std::string name = w->objectName().toStdString();
        if (std::find(names.begin(), names.end(), name) != names.end()) order.push_back(name);
        w = w->nextInFocusChain();
    } while (w && w != first && order.size() < names.size());
    return order;
}

struct Rendered {
    std::vector<std::string> pages;
    std::vector<std::string> features;  // the summary's feature lines
};

// How a wizard is rendered: on the installed defaults of a family (changed
// by setup, when given), for the data of another wizard type (the generic
// wizard), saved under a name of its own; onPage may enter values on a page
// (by its index in the walk) before Next.
struct Render {
    std::string family = "korvo5";
    std::string name;
    std::string dataType;
    std::function<void(Olm_WizData&)> setup;
    // Block attributes ("TYPE.ATTRIBUTE", value) set on every block of the type.
    std::vector<std::pair<std::string, std::string>> settings;
    std::function<void(int, QWidget*)> onPage;
};

// Builds the wizard and walks it from the first page to the summary, saving
// each page as PNG.
Rendered RenderAll(const std::string& wizard_, const std::vector<std::vector<std::string>>& tabOrders,
                   const Render& how = {}) {
    EnsureApp();
    const std::string wizType = how.dataType.empty() ? wizard_ : how.dataType;
    const std::string& family = how.family;
    const std::string name = how.name.empty() ? wizard_ + (how.dataType.empty() ? "" : "_" + how.dataType) : how.name;
    const auto& setup = how.setup;
    const auto& onPage = how.onPage;
    Rendered rendered;
    Olm_Engine engine;
    engine.SetFamily(family.c_str());
    Olm_KfzWizData bridge(&engine, wizType);
    EXPECT_TRUE(bridge.SetupWizData());
    std::unique_ptr<Olm_WizData> data(bridge.GetWizDataPtr());
    if (setup) setup(*data);
    for (const auto& [key, value] : how.settings) {
        const std::string type = key.substr(0, key.find('.')), attribute = key.substr(key.find('.') + 1);
        for (Olm_Block* block : data->GetBlkList())
            if (block->GetPrimType() == type.c_str()) block->AddAttribute(attribute.c_str(), value.c_str());
    }
    std::unique_ptr<Olm_KitMain> main = olmwiz::FactoryOf(*olmwiz::FindWizard(wizard_), wizType)(false);
    main->SetFamily(family.c_str());
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
        rendered.pages.push_back(page->pageName().toStdString());
        const std::string stem = name + "_" + std::to_string(i + 1);
        const std::string file = (folder / (stem + ".png")).string();
        const QPixmap shot = wizard->grab();
        EXPECT_TRUE(shot.save(QString::fromStdString(file))) << file;
        // The window with its frame fits a 1024 x 768 screen.
        EXPECT_LE(shot.width(), 1000) << file;
        EXPECT_LE(shot.height(), 730) << file;
        ExpectNothingClipped(page->pageWidget(), page->pageName());
        if (i < static_cast<int>(tabOrders.size()) && !tabOrders[i].empty()) {
            EXPECT_EQ(FocusOrder(page->pageWidget(), tabOrders[i]), tabOrders[i]) << page->pageName().toStdString();
        }
        if (page == pages.back()) break;
        if (onPage) onPage(i, page->pageWidget());
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

TEST(RefWizardPages, SinglePllPagesRenderTidily) {
    const Rendered r = RenderAll("tkl_pll", {
        {"OLMW_ONLY_CLKIN1_FREQ", "OLMW_ONLY_CLKIN1_PORT", "OLMW_ONLY_PLL_FBSRC_CLKOUT", "OLMW_ONLY_FREQ_TOLERANCE_PPM",
         "OLMW_ONLY_USE_RST", "OLMW_ONLY_RST_PORT", "OLMW_ONLY_USE_LOCKED", "OLMW_ONLY_LOCKED_PORT"},
        {"OLMW_ONLY_CLKOUT0_USED", "OLMW_ONLY_CLKOUT0_FREQ", "CLKOUT0_PHASE", "CLKOUT0_DUTY",
         "OLMW_ONLY_SETCLKBUF_,CLKOUT0", "OLMW_ONLY_CLKOUT0_PORT", "OLMW_ONLY_CLKOUT1_USED"},
    });
    EXPECT_EQ(r.pages, (std::vector<std::string>{"General Setup", "Output Clocks", "Summary"}));
}

TEST(RefWizardPages, MultiplierPagesRenderTidilyWithQualifiedTitles) {
    const Rendered r = RenderAll("dsp_mult", {
        {"A_WIDTH", "A_SIGNED", "B_WIDTH", "B_SIGNED", "P_WIDTH", "OLMW_ONLY_A_PORT", "OLMW_ONLY_B_PORT",
         "OLMW_ONLY_P_PORT"},
        {"A_PIPE", "B_PIPE", "M_PIPE", "P_PIPE", "RESET_TYPE", "OLMW_ONLY_CLK_PORT", "OLMW_ONLY_USE_CE",
         "OLMW_ONLY_CE_PORT", "OLMW_ONLY_USE_RST", "OLMW_ONLY_RST_PORT"},
    });
    EXPECT_EQ(r.pages, (std::vector<std::string>{"General Setup - Multiplier", "Pipelining - Multiplier",
                                                 "Summary - Multiplier"}));
}

TEST(RefWizardPages, TransceiverPagesRenderTidily) {
    const Rendered single = RenderAll("hsx", {
        {"HSX_DISPLAY_NAME", "OLMW_ONLY_LANE_COUNT", "LOC", "OLMW_ONLY_LANE1_LOC", "OLMW_ONLY_LANE2_LOC",
         "OLMW_ONLY_LANE3_LOC"},
        {"LINE_RATE", "REFCLK_FREQ"},
        {"TX_DATA_WIDTH", "TX_ENCODING", "RX_DATA_WIDTH", "RX_DECODING", "COMMA_DETECT", "COMMA_VALUE",
         "COMMA_ALIGN_MSB"},
    });
    // One lane: no bonding page.
    EXPECT_EQ(single.pages, (std::vector<std::string>{"Transceiver Lanes", "Line Rate", "Data Path",
                                                      "Clock Compensation", "Loopback", "Buffers", "Summary"}));
    // korvo4's two lanes: every page.
    Render korvo4;
    korvo4.family = "korvo4";
    korvo4.setup = [](Olm_WizData& data) {
        for (Olm_Block* lane : data.GetBlkList()) lane->SetAttributeValue("OLMW_ONLY_LANE_COUNT", "2");
        data.GetBlkList().front()->SetAttributeValue("OLMW_ONLY_LANE1_LOC", "HSX11_L0_7");
    };
    const Rendered both = RenderAll("hsx", {}, korvo4);
    EXPECT_EQ(both.pages, (std::vector<std::string>{"Transceiver Lanes", "Line Rate", "Data Path",
                                                    "Clock Compensation", "Lane Bonding", "Loopback", "Buffers",
                                                    "Summary"}));
}

// The transceiver chosen in the window rules the pages after the lane page.
TEST(RefWizardPages, TransceiverChosenInTheWindowRulesTheLaterPages) {
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
    const Rendered r = RenderAll("hsx", {}, switched);
    EXPECT_EQ(refClocks, QStringList({"100", "125", "156.25", "312.5"}));
    EXPECT_EQ(r.pages.at(4), "Lane Bonding");
    EXPECT_EQ(r.features, (std::vector<std::string>{
                              "2 HSX10 lanes, bonded (master lane 0), at 10.3125 Gbit/s from 312.5 MHz.",
                              "PLL x 33 / 2: VCO 5156.25 MHz, rate divider 1; fabric clocks 257.8125 MHz.",
                              "TX 32 bits 8B10B, RX 32 bits 8B10B, comma K28.5, clock compensation K28.0."}));
}

// The wizard from data alone, on every installed data file: a page per block
// type, a field per modifiable attribute.
TEST(RefWizardPages, GenericPagesRenderTidilyForEveryDataFile) {
    const auto pages = [](const std::string& dataType, const std::string& family = "korvo5") {
        Render how;
        how.dataType = dataType;
        how.family = family;
        how.name = "generic_" + dataType + "_" + family;
        return RenderAll("generic", {{"OLMW_ONLY_INST_COUNT"}}, how).pages;
    };
    EXPECT_EQ(pages("tkl_any"),
              (std::vector<std::string>{"TKL", "TKL_SP", "TKL_ADV", "RKO_BASE", "RKO_ADV", "KDIV", "Summary"}));
    EXPECT_EQ(pages("dsp_any").size(), 2u);
    EXPECT_EQ(pages("ssio_any").size(), 5u);
    EXPECT_EQ(pages("hsx").size(), 3u);
    EXPECT_EQ(pages("hsx", "korvo4").size(), 2u);
}

TEST(RefWizardPages, SourceSynchronousPagesRenderTidily) {
    const std::vector<std::string> setup = {"OLMW_ONLY_BUS_WIDTH", "DATA_WIDTH", "OLMW_ONLY_BIT_RATE",
                                            "OLMW_ONLY_CLK_PORT", "OLMW_ONLY_CLKWORD_PORT", "OLMW_ONLY_RST_PORT"};
    Rendered r = RenderAll("ssio_rx", {setup, {"OLMW_ONLY_USE_DELAY", "OLMW_ONLY_DELAY_PS", "REF_FREQ",
                                               "OLMW_ONLY_REFCLK_PORT", "OLMW_ONLY_READY_PORT"}});
    EXPECT_EQ(r.pages, (std::vector<std::string>{"Receiver Setup", "Input Delay", "Summary"}));
    r = RenderAll("ssio_tx", {setup, {"OLMW_ONLY_USE_TRISTATE", "DATA_RATE_TRI", "TRI_WIDTH", "OLMW_ONLY_T_PORT",
                                      "OLMW_ONLY_TOUT_PORT"}});
    EXPECT_EQ(r.pages, (std::vector<std::string>{"Transmitter Setup", "Tristate Output", "Summary"}));
    // With the options on, and a ratio that takes two blocks a bit.
    Render rxOn;
    rxOn.name = "ssio_rx_on";
    rxOn.settings = {{"ISER.OLMW_ONLY_USE_DELAY", "TRUE"}, {"ISER.DATA_WIDTH", "10"}, {"IDLY.OLMW_ONLY_DELAY_PS", "940"}};
    RenderAll("ssio_rx", {}, rxOn);
    Render txOn;
    txOn.name = "ssio_tx_on";
    txOn.settings = {{"OSER.OLMW_ONLY_USE_TRISTATE", "TRUE"}, {"OSER.DATA_WIDTH", "10"},
                     {"OSER.OLMW_ONLY_BUS_WIDTH", "16"}};
    RenderAll("ssio_tx", {}, txOn);
}

}  // namespace
