#include "WizardTestSupport.h"

#include "CaseFiles.h"
#include "GuiTestSupport.h"

#include <QRadioButton>
#include <QTextEdit>

#include <memory>

namespace {

using wiztest::Calls;
using wiztest::TestWizMain;

// Adds blocks to a container, one a row: "TYPE NAME[ off]", then its
// attributes, each "NAME=VALUE/DEFAULT[ fixed][ unsaved]" (fixed: not
// modifiable; unsaved: not saved).
void AddBlocks(Olm_WizData& data, const std::vector<olmtest::CaseRow>& rows) {
    for (const olmtest::CaseRow& row : rows) {
        const std::vector<std::string> head = olmtest::Split(row.at(0), " ");
        Olm_Block* block = data.AddBlock(head.at(1).c_str(), head.at(0).c_str());
        block->SetIsActive(head.size() == 2);
        for (std::size_t i = 1; i < row.size(); ++i) {
            const std::string setting = olmtest::Split(row[i], " ").at(0);
            const std::size_t equals = setting.find('='), slash = setting.find('/');
            const std::string value = setting.substr(equals + 1, slash - equals - 1);
            Olm_Attribute* attribute = block->AddAttribute(setting.substr(0, equals).c_str(), value.c_str());
            attribute->SetDefaultValue(setting.substr(slash + 1).c_str());
            attribute->SetCurrentValue(value.c_str());
            attribute->SetIsModifiable(row[i].find(" fixed") == std::string::npos);
            attribute->SetIsActive(row[i].find(" unsaved") == std::string::npos);
        }
    }
}

// Instance 1 of the clock-manager type of the main, with the given
// attributes (NAME=VALUE).
void AddTklBlock(Olm_WizData& data, const std::vector<std::string>& attrs) {
    Olm_Block* block = data.AddBlock("TKL0", "TKL_ADV");
    block->SetAttributeValue("OLMW_ONLY_INST_NUM", "1");
    for (const std::string& attr : attrs)
        block->SetAttributeValue(attr.substr(0, attr.find('=')).c_str(), attr.substr(attr.find('=') + 1).c_str());
}

class SummaryFeatures : public ::testing::TestWithParam<olmtest::CaseRow> {};

TEST_P(SummaryFeatures, SentenceOfTheTypeAndItsBlock) {
    const olmtest::CaseRow& c = GetParam();  // type | support | attributes | sentence
    Olm_WizData data("t");
    TestWizMain main(c.at(0).c_str(), false);
    main.SetTKLPrimName("TKL_ADV");
    main.SetWizDataPtr(c.at(2) == "(no data)" ? nullptr : &data);
    main.SetTKLspSupport(c.at(1) != "TKL");
    main.SetTKLAdvSupport(c.at(1) == "TKL_ADV");
    if (!c[2].empty() && main.GetWizDataPtr()) AddTklBlock(data, olmtest::Split(c[2], " "));
    EXPECT_EQ(Olm_SummaryGui::ClockManagerFeatures(main).str(), c.at(3));
}

INSTANTIATE_TEST_SUITE_P(Types, SummaryFeatures,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/summary_features.txt")));

// A wizard main of the given type with its summary page in a wizard window.
class SummaryGuiTest : public guitest::GuiTest {
protected:
    void Make(const char* type, bool batch = false) {
        wizard.reset();
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

    Olm_WizData data{"t"};
    std::unique_ptr<TestWizMain> main;
    std::unique_ptr<Nx_Wizard> wizard;
    Olm_SummaryGui* summary = nullptr;
};

const char* const kSummaryStart = "DoFinishAtSummaryStart";

// The listings in the data folder have the panes' "\r\n" line ends.
std::string Listing(const char* name) { return olmtest::ReadFile(std::string(OLM_WIZARD_TEST_DATA "/") + name); }

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
    }
}

TEST_F(SummaryGuiTest, BatchModeFillsNoPane) {
    Make("tkl_bddeskew", true);
    AddBlocks(data, olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/summary_blocks.txt"));
    summary->init();
    summary->onActive();
    for (const char* pane : {"IDC_SUM_FEATURES_EDIT", "IDC_SUM_FILES_EDIT", "IDC_SUM_PROPS_EDIT"})
        EXPECT_EQ(Pane(pane), "") << pane;
    EXPECT_EQ(main->calls, Calls{});
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

// The pane shows the sentence with plain line ends.
TEST_F(SummaryGuiTest, FeaturesPaneOfAClockManagerWizard) {
    Make("tkl_clkswitch");
    main->SetTKLAdvSupport(true);
    AddTklBlock(data, {"OLMW_ONLY_KDIV=PARALLEL"});
    summary->onActive();
    EXPECT_EQ(Pane("IDC_SUM_FEATURES_EDIT"),
              "2 TKL_ADVs configured for clock switching.\n2 KDIVs configured in parallel");
}

TEST_F(SummaryGuiTest, AttributeListingFiltersAndHeaders) {
    Make("tkl_pll");
    AddBlocks(data, olmtest::ReadCaseRows(OLM_WIZARD_TEST_DATA "/summary_blocks.txt"));
    summary->init();
    summary->onActive();
    const std::string changedOnly = Listing("summary_changed.txt");
    EXPECT_EQ(summary->GetAttributesText().str(), changedOnly);
    EXPECT_EQ(main->calls, Calls{kSummaryStart});

    // All modifiable attributes: the radio button rebuilds the attribute pane.
    const QString filesBefore = Pane("IDC_SUM_FILES_EDIT");
    Child<QRadioButton>("IDC_SUM_RADIO1")->click();
    EXPECT_EQ(summary->GetShowOnlyChanged(), 0);
    EXPECT_EQ(main->calls, Calls(2, kSummaryStart));
    EXPECT_EQ(summary->GetAttributesText().str(), Listing("summary_all.txt"));
    EXPECT_EQ(Pane("IDC_SUM_FILES_EDIT"), filesBefore);
    Child<QRadioButton>("IDC_SUM_RADIO2")->click();
    EXPECT_EQ(summary->GetShowOnlyChanged(), 1);
    EXPECT_EQ(summary->GetAttributesText().str(), changedOnly);
    EXPECT_EQ(main->calls, Calls(3, kSummaryStart));
}

TEST_F(SummaryGuiTest, BlockCounterCountsBlocksWithoutHeader) {
    Make("ssi_rx");
    AddBlocks(data, {{"DLYLINE EMPTY", "UNSAVED=1/0 unsaved"}, {"DESER DESER0", "DATA_WIDTH=8/4"}});
    summary->init();
    summary->onActive();
    // The first counted block has no header, so the second one's header
    // still starts with an empty line.
    EXPECT_EQ(summary->GetAttributesText().str(), "\r\nAttributes for DESER, blkname = DESER0\r\n  DATA_WIDTH = 8\r\n");
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
    EXPECT_EQ(main->calls, Calls{"GoBackFromSummary"});
}

}  // namespace
