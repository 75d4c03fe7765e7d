#include "WizardTestSupport.h"

#include "GuiTestSupport.h"

#include "wizard/Olm_SummaryGui.h"

#include <QRadioButton>
#include <QTextEdit>

#include <memory>

namespace {

using guitest::GuiTest;
using wiztest::TestWizMain;

// A wizard main of the given type with its summary page in a wizard window.
class SummaryGuiTest : public GuiTest {
protected:
    void Make(const char* type, bool batch = false) {
        main = std::make_unique<TestWizMain>(type, batch);
        main->SetDesignName("clkgen");
        main->SetTKLPrimName("TKL_ADV");
        main->SetWizDataPtr(&data);
        wizard = std::make_unique<Nx_Wizard>("Olm Wizard", nullptr, "OlmWiz", true, 0);
        ASSERT_TRUE(main->CreateGuiDlgs(wizard.get()));
        summary = qobject_cast<Olm_SummaryGui*>(main->GetSummaryGui());
        ASSERT_NE(summary, nullptr);
    }
    void TearDown() override {
        wizard.reset();
        GuiTest::TearDown();
    }
    template <typename T> T* Child(const char* name) {
        T* child = summary->pageWidget()->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Pane(const char* name) { return Child<QTextEdit>(name)->toPlainText(); }
    Olm_Block* TklBlock(const char* name = "TKL0") {
        Olm_Block* block = data.AddBlock(name, "TKL_ADV");
        block->SetAttributeValue("OLMW_ONLY_INST_NUM", "1");
        return block;
    }
    Olm_Attribute* Attr(Olm_Block* block, const char* name, const char* value, const char* def,
                        bool modifiable = true, bool saved = true) {
        Olm_Attribute* attribute = block->AddAttribute(name, value);
        attribute->SetDefaultValue(def);
        attribute->SetCurrentValue(value);
        attribute->SetIsModifiable(modifiable);
        attribute->SetIsActive(saved);
        return attribute;
    }
    std::string Features() { return summary->GetFeaturesText().str(); }

    Olm_WizData data{"t"};
    std::unique_ptr<TestWizMain> main;
    std::unique_ptr<Nx_Wizard> wizard;
    Olm_SummaryGui* summary = nullptr;
};

TEST_F(SummaryGuiTest, DspWizardsStartWithAllAttributesOthersWithChangedOnes) {
    for (const char* type : {"dsp_mult", "ssi_rx"}) {
        Make(type);
        summary->init();
        const bool dsp = type[0] == 'd';
        EXPECT_EQ(summary->GetShowOnlyChanged(), dsp ? 0 : 1);
        auto* checked = Child<QRadioButton>(dsp ? "IDC_SUM_RADIO1" : "IDC_SUM_RADIO2");
        EXPECT_TRUE(checked->isChecked());
        EXPECT_EQ(checked->text(), dsp ? "Show all modifiable attributes"
                                       : "Show only the modifiable attributes whose values differ from the default");
        EXPECT_FALSE(Child<QRadioButton>(dsp ? "IDC_SUM_RADIO2" : "IDC_SUM_RADIO1")->isChecked());
        wizard.reset();
    }
}

TEST_F(SummaryGuiTest, BatchModeFillsNoPane) {
    Make("tkl_bddeskew", true);
    Attr(TklBlock(), "CLKOUT_DIVIDE", "4", "1");
    summary->init();
    summary->onActive();
    for (const char* pane : {"IDC_SUM_FEATURES_EDIT", "IDC_SUM_FILES_EDIT", "IDC_SUM_PROPS_EDIT"})
        EXPECT_EQ(Pane(pane), "") << pane;
    EXPECT_EQ(main->summaryStartCalls, 0);
}

TEST_F(SummaryGuiTest, FilesPane) {
    Make("tkl_pll");
    main->SetHDLFilename("clkgen.vhd");
    summary->init();
    const std::string head = "File Directory:\r\n" + Pal::File::getcwd().str() + "\r\n\r\nOlmWiz file:\tclkgen.kfz\r\n";
    EXPECT_EQ(summary->GetFilesText().str(), head + "HDL file:    \tclkgen.vhd\r\nPKX template file:\tclkgen_olmw.pkx");
    EXPECT_TRUE(Pane("IDC_SUM_FILES_EDIT").endsWith("\nPKX template file:\tclkgen_olmw.pkx"));
    main->SetHDLFilename("");
    summary->init();
    EXPECT_EQ(summary->GetFilesText().str(), head);
}

TEST_F(SummaryGuiTest, FeatureLines) {
    struct Case {
        const char* type;
        int support;  // 0 none, 1 TKL_SP, 2 TKL_ADV (and TKL_SP)
        std::vector<std::pair<const char*, const char*>> attrs;  // of the TKL_ADV instance 1
        const char* expected;
    };
    const Case cases[] = {
        {"tkl_clkfwd", 1, {}, "1 TKL_SP configured for clock forwarding."},
        {"tkl_bddeskew", 0, {}, "2 TKLs configured for board deskew with an internal deskew."},
        {"TKL_CASCADING", 0, {}, "2 TKLs configured for cascading in series."},
        {"tkl_pll", 2, {}, "1 RKO_ADV configured for Single PLL."},
        {"tkl_other", 1, {}, "A single TKL_SP configured"},
        {"tkl", 0, {}, "A single TKL configured"},
        {"tkl_clkswitch", 2, {{"OLMW_ONLY_KDIV", "PARALLEL"}},
         "2 TKL_ADVs configured for clock switching.\r\n2 KDIVs configured in parallel"},
        {"tkl_clkswitch", 2, {{"OLMW_ONLY_KDIV", "single"}},
         "2 TKL_ADVs configured for clock switching.\r\nA single KDIV configured"},
        {"tkl_clkswitch", 2, {{"OLMW_ONLY_KDIV", "NONE"}}, "2 TKL_ADVs configured for clock switching."},
        // Only instance 1 of the main's clock-manager type counts.
        {"tkl_clkswitch", 2, {{"OLMW_ONLY_KDIV", "PARALLEL"}, {"OLMW_ONLY_INST_NUM", "2"}},
         "2 TKL_ADVs configured for clock switching."},
        {"tkl_tkl2pll", 0, {{"OLMW_ONLY_KDIV", "SINGLE"}}, "1 TKL_ADV driving a RKO_ADV\r\nA single KDIV configured"},
        {"tkl_tkl2pll", 0, {{"OLMW_ONLY_KDIV", "SINGLE"}, {"OLM_TKL2PLL_CLKOUT", "CLK0"}},
         "1 TKL_ADV driving a RKO_ADV to filter jitter on CLK0."},
        {"tkl_pll2tkl", 0, {{"OLMW_ONLY_KDIV", "SINGLE"}}, "1 RKO_ADV filtering input clock to TKL_ADV\r\nA single KDIV configured"},
        {"tkl_pll2tkl", 0, {{"OLMW_ONLY_KDIV", "PARALLEL"}, {"OLM_PLL2TKL_CLKOUT", "CLKOUT1"}},
         "1 RKO_ADV using CLKOUT1 to filter input clock to TKL_ADV."},
        {"ssi_rx", 0, {{"OLMW_ONLY_KDIV", "SINGLE"}}, ""},  // not a clock-manager wizard
    };
    for (const Case& c : cases) {
        Make(c.type);
        main->SetTKLspSupport(c.support >= 1);
        main->SetTKLAdvSupport(c.support >= 2);
        if (Olm_Block* old = data.GetNamedBlock("TKL0")) data.DeleteBlock(old);
        if (!c.attrs.empty()) {
            Olm_Block* block = TklBlock();
            for (const auto& [name, value] : c.attrs) block->SetAttributeValue(name, value);
        }
        summary->onActive();
        EXPECT_EQ(Features(), c.expected) << c.type;
        EXPECT_EQ(Pane("IDC_SUM_FEATURES_EDIT"), QString(c.expected).replace("\r\n", "\n")) << c.type;
        wizard.reset();
    }
    Make("tkl_clkswitch");
    main->SetTKLAdvSupport(true);
    main->SetWizDataPtr(nullptr);
    summary->onActive();
    EXPECT_EQ(Features(), "2 TKL_ADVs configured for clock switching.");
}

TEST_F(SummaryGuiTest, AttributeListingFiltersAndHeaders) {
    Make("tkl_pll");
    Olm_Block* internal = data.AddBlock("CTRL", "OLM_CONTROL");
    Attr(internal, "MODE", "A", "B");
    Olm_Block* off = data.AddBlock("OFF", "GCLKBUF");
    Attr(off, "MODE", "A", "B");
    off->SetIsActive(false);
    Olm_Block* pll = data.AddBlock("PLL0", "RKO_ADV");
    Attr(pll, "CLKOUT0_DIVIDE", "4", "1");
    Attr(pll, "LOOP_BW", "OPTIMIZED", "optimized");  // equal to the default
    Attr(pll, "LOC", "SITE_7", "SITE_7");                  // equal, but LOC is listed
    Attr(pll, "FIXED", "1", "0", false);               // saved, not modifiable
    Attr(pll, "UNSAVED", "1", "0", true, false);       // not saved
    Attr(pll, "OLMW_ONLY_SECRET", "1", "0");           // ignored by the translator
    Olm_Block* headerOnly = data.AddBlock("BUF0", "GCLKBUF");
    Attr(headerOnly, "FIXED", "1", "1", false);
    Olm_Block* silent = data.AddBlock("BUF1", "GCLKBUF");
    Attr(silent, "UNSAVED", "1", "0", true, false);
    Olm_Block* last = data.AddBlock("BUF2", "GCLKBUF");
    Attr(last, "INIT", "0", "0");

    summary->init();
    summary->onActive();
    const std::string changedOnly =
        "Attributes for RKO_ADV, blkname = PLL0\r\n"
        "  CLKOUT0_DIVIDE = 4\r\n"
        "  LOC = SITE_7\r\n"
        "\r\nAttributes for GCLKBUF, blkname = BUF0\r\n"
        "\r\nAttributes for GCLKBUF, blkname = BUF2\r\n";
    EXPECT_EQ(summary->GetAttributesText().str(), changedOnly);
    EXPECT_EQ(main->summaryStartCalls, 1);

    // All modifiable attributes: the radio button rebuilds the attribute pane.
    const QString filesBefore = Pane("IDC_SUM_FILES_EDIT");
    Child<QRadioButton>("IDC_SUM_RADIO1")->click();
    EXPECT_EQ(summary->GetShowOnlyChanged(), 0);
    EXPECT_EQ(main->summaryStartCalls, 2);
    EXPECT_EQ(summary->GetAttributesText().str(),
              "Attributes for RKO_ADV, blkname = PLL0\r\n"
              "  CLKOUT0_DIVIDE = 4\r\n"
              "  LOOP_BW = OPTIMIZED\r\n"
              "  LOC = SITE_7\r\n"
              "\r\nAttributes for GCLKBUF, blkname = BUF0\r\n"
              "\r\nAttributes for GCLKBUF, blkname = BUF2\r\n"
              "  INIT = 0\r\n");
    EXPECT_EQ(Pane("IDC_SUM_FILES_EDIT"), filesBefore);
    Child<QRadioButton>("IDC_SUM_RADIO2")->click();
    EXPECT_EQ(summary->GetShowOnlyChanged(), 1);
    EXPECT_EQ(summary->GetAttributesText().str(), changedOnly);
    EXPECT_EQ(main->summaryStartCalls, 3);
}

TEST_F(SummaryGuiTest, BlockCounterCountsBlocksWithoutHeader) {
    Make("ssi_rx");
    Olm_Block* first = data.AddBlock("EMPTY", "DLYLINE");
    Attr(first, "UNSAVED", "1", "0", true, false);
    Olm_Block* second = data.AddBlock("DESER0", "DESER");
    Attr(second, "DATA_WIDTH", "8", "4");
    summary->init();
    summary->onActive();
    // The first counted block has no header, so the second one's header
    // still starts with an empty line.
    EXPECT_EQ(summary->GetAttributesText().str(),
              "\r\nAttributes for DESER, blkname = DESER0\r\n  DATA_WIDTH = 8\r\n");
    main->SetWizDataPtr(nullptr);
    summary->onActive();
    EXPECT_EQ(summary->GetAttributesText().str(), "");
    EXPECT_EQ(Pane("IDC_SUM_PROPS_EDIT"), "");
}

TEST_F(SummaryGuiTest, BackStoresTheRadioButtonsAndTellsTheMain) {
    Make("tkl_pll");
    summary->init();
    Child<QRadioButton>("IDC_SUM_RADIO1")->setChecked(true);  // no click: no rebuild
    EXPECT_EQ(summary->GetShowOnlyChanged(), 1);
    EXPECT_TRUE(summary->onBack());
    EXPECT_EQ(summary->GetShowOnlyChanged(), 0);
    EXPECT_EQ(main->goBackCalls, 1);
}

}  // namespace
