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
#include <QThreadPool>

#include <filesystem>

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
};

// Builds the wizard of a type on the installed defaults, with the block
// attributes given ("TYPE.ATTRIBUTE" = value) set on every block of the type,
// and walks it from the first page to the summary, saving each page as PNG
// (<type><tag>_<page>.png).
Rendered RenderAll(const std::string& wizType, const std::vector<std::vector<std::string>>& tabOrders,
                   const std::vector<std::pair<std::string, std::string>>& settings = {}, const std::string& tag = "") {
    EnsureApp();
    Rendered rendered;
    Olm_Engine engine;
    engine.SetFamily("korvo5");
    Olm_KfzWizData bridge(&engine, wizType);
    EXPECT_TRUE(bridge.SetupWizData());
    std::unique_ptr<Olm_WizData> data(bridge.GetWizDataPtr());
    for (const auto& [name, value] : settings) {
        const std::string type = name.substr(0, name.find('.')), attribute = name.substr(name.find('.') + 1);
        for (Olm_Block* block : data->GetBlkList())
            if (block->GetPrimType() == type.c_str()) block->AddAttribute(attribute.c_str(), value.c_str());
    }
    std::unique_ptr<Olm_KitMain> main = olmwiz::FindWizard(wizType)->make(false);
    main->SetFamily("korvo5");
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
    for (int i = 0; i < pages.size(); ++i) {
        QApplication::processEvents();
        Nx_WizardPage* page = wizard->currentNxPage();
        EXPECT_EQ(page, pages[i]);
        if (!page) break;
        rendered.pages.push_back(page->pageName().toStdString());
        const std::string file = (folder / (wizType + tag + "_" + std::to_string(i + 1) + ".png")).string();
        EXPECT_TRUE(wizard->grab().save(QString::fromStdString(file))) << file;
        EXPECT_LE(wizard->width(), 1024) << file;
        EXPECT_LE(wizard->height(), 768) << file;
        ExpectNothingClipped(page->pageWidget(), page->pageName());
        if (i < static_cast<int>(tabOrders.size()) && !tabOrders[i].empty()) {
            EXPECT_EQ(FocusOrder(page->pageWidget(), tabOrders[i]), tabOrders[i]) << page->pageName().toStdString();
        }
        if (i + 1 < pages.size()) wizard->next();
    }
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
    RenderAll("ssio_rx", {},
              {{"ISER.OLMW_ONLY_USE_DELAY", "TRUE"}, {"ISER.DATA_WIDTH", "10"}, {"IDLY.OLMW_ONLY_DELAY_PS", "940"}},
              "_on");
    RenderAll("ssio_tx", {},
              {{"OSER.OLMW_ONLY_USE_TRISTATE", "TRUE"}, {"OSER.DATA_WIDTH", "10"}, {"OSER.OLMW_ONLY_BUS_WIDTH", "16"}},
              "_on");
}

}  // namespace
