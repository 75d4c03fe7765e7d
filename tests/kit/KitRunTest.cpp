// The toolkit's wizard layer: a small wizard on the installed DSP data, run
// through the run session in batch mode and driven in its window.
#include "OlmBase.h"

#include "CaseFiles.h"
#include "GuiTestSupport.h"
#include "kit/Olm_ModelEdit.h"
#include "kit/Olm_SymbolPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;
using olmtest::ScratchDir;

// Two pages on the DSP block: widths and ports, then a register page that
// is skipped while OLMW_ONLY_SIMPLE is on.
class DemoWizard : public Olm_KitMain {
public:
    explicit DemoWizard(bool batch) : Olm_KitMain("dsp_demo", batch, "Demo") {
        SetBlockType("DSP");
        Olm_KitPage& setup = AddPage("Setup", "Widths and ports.");
        setup.AddField("A_WIDTH", "A width:");
        setup.AddField("A_SIGNED", "A signed:");
        setup.AddField("RESET_TYPE", "Reset type:");
        setup.AddField("OLMW_ONLY_SIMPLE", "Simple:").Default("TRUE").Allow(Olm_AllowedValues::Boolean());
        setup.AddPort("A", "A port:").BusWidthFrom("A_WIDTH");
        Olm_KitPage& registers = AddPage("Registers");
        registers.AddField("P_PIPE", "Output register:");
        registers.AddPort("CLK", "Clock port:")
            .EnabledWhen([](const Olm_FieldValues& v) { return v.Int("P_PIPE") > 0; })
            .WhenDisabled(Olm_Field::Tie::Ground);
        registers.SkipWhen([](const Olm_FieldValues& v) { return v.IsOn("OLMW_ONLY_SIMPLE"); });
        registers.AddNote([](const Olm_FieldValues& v) { return "Latency " + v.Text("P_PIPE"); });
    }
    bool Apply() override {
        ++applied;
        return true;
    }
    std::vector<std::string> FeatureLines() override { return {"A " + ModelValues().Text("A_WIDTH") + " bits"}; }
    int applied = 0;
};

// A silent batch run into dir/out, its log (and the option file, if any)
// beside the scratch folder's top.
Olm_RunRequest Request(const ScratchDir& dir, const std::string& options, const std::string& out = "out") {
    Olm_RunRequest request;
    request.wizType = "dsp_demo";
    request.family = "korvo5";
    request.design = "demo";
    request.batch = request.silent = true;
    request.outputDir = dir.File(out);
    std::string stem = out;
    std::replace(stem.begin(), stem.end(), '/', '_');
    request.logFile = dir.File(stem + ".log");
    if (!options.empty()) request.optionFile = dir.Write(stem + ".opt", options);
    return request;
}

// A scratch folder and a run session for each test.
class KitRun : public ::testing::Test {
protected:
    const ScratchDir dir;
    Olm_RunSession session;
};

TEST_F(KitRun, FinishedRunTellsFilesFeaturesAndSettingsAndLogsItsReport) {
    const Olm_RunOutcome outcome = session.Run<DemoWizard>(Request(dir, "BlockProp: DSP.*.A_WIDTH=12;\n"));
    ASSERT_TRUE(outcome.Succeeded()) << outcome.failure;
    EXPECT_FALSE(session.OwnsApplication()) << "a batch run needs no QApplication";
    EXPECT_TRUE(outcome.messages.empty());
    // The log holds the report of the features, the files and the settings.
    const std::string out = dir.File("out/demo");
    EXPECT_EQ(ReadFile(dir.File("out.log")),
              "Configured: A 12 bits\nFiles:\n  " + out + ".kfz  (written)\n  " + out + ".v  (written)\n  " + out +
                  "_olmw.pkx  (written)\nSettings that differ from the defaults:\n  DSP.A_WIDTH = 12  (default 18)\n");
    EXPECT_NE(ReadFile(dir.File("out/demo.v")).find("input wire [11:0] A"), std::string::npos);
}

// A walk through the window to Finish writes what a batch run on the same
// settings writes. It stops, writing nothing, at a page that is not complete
// (naming the page and its problems) and at a dialog it cannot answer.
TEST_F(KitRun, WalkToFinishWritesWhatBatchWritesOrStopsWithoutWriting) {
    struct Asking : DemoWizard {
        using DemoWizard::DemoWizard;
        bool Apply() override {
            QDialog ask;
            ask.setWindowTitle("Extra");
            return IsBatchMode() || ask.exec() == QDialog::Accepted;
        }
    };
    const std::string options = "BlockProp: DSP.*.A_WIDTH=12;\n";
    ASSERT_TRUE(session.Run<DemoWizard>(Request(dir, options, "batch")).Succeeded());
    const auto walk = [this](const std::string& opt, const std::string& out, bool asking = false) {
        Olm_RunRequest request = Request(dir, opt, out);
        request.batch = false;
        request.walk = true;
        return asking ? session.Run<Asking>(request) : session.Run<DemoWizard>(request);
    };
    const Olm_RunOutcome walked = walk(options, "walk");
    ASSERT_TRUE(walked.Succeeded()) << walked.failure;
    EXPECT_EQ(walked.files.size(), 3u);
    for (const std::string file : {"demo.kfz", "demo.v", "demo_olmw.pkx"})
        EXPECT_EQ(ReadFile(dir.File("walk/" + file)), ReadFile(dir.File("batch/" + file))) << file;

    const Olm_RunOutcome incomplete = walk("BlockProp: DSP.*.A_WIDTH=40;\n", "incomplete");
    EXPECT_EQ(incomplete.result, 1);
    EXPECT_NE(incomplete.failure.find("the walk through the window stopped: the page Setup - Accumulator is not "
                                      "complete\n  A width must be 2 to 18."),
              std::string::npos)
        << incomplete.failure;
    const Olm_RunOutcome asked = walk(options, "asked", true);
    EXPECT_NE(asked.failure.find("a dialog 'Extra' opened on the page"), std::string::npos) << asked.failure;
    for (const char* out : {"incomplete", "asked"}) EXPECT_FALSE(fs::exists(dir.File(out))) << out;
}

// A port as wide as an attribute that Apply works out, not a field: the
// first run writes the width Apply left, as a rerun from its design file does.
class DerivedWidthWizard : public DemoWizard {
public:
    explicit DerivedWidthWizard(bool batch) : DemoWizard(batch) {
        Pages().front()->AddPort("P", "P port:").BusWidthFrom("P_WIDTH");
    }
    bool Apply() override {
        Olm_ModelEdit::SetValue(Block(), "P_WIDTH", std::to_string(ModelValues().Int("A_WIDTH") + 18));
        return true;
    }
};

TEST_F(KitRun, PortFollowsTheWidthApplyWorksOut) {
    ASSERT_TRUE(session.Run<DerivedWidthWizard>(Request(dir, "BlockProp: DSP.*.A_WIDTH=12;\n")).Succeeded());
    Olm_RunRequest rerun = Request(dir, "", "rerun");
    rerun.designFile = dir.File("out/demo.kfz");
    ASSERT_TRUE(session.Run<DerivedWidthWizard>(rerun).Succeeded());
    for (const char* hdl : {"out/demo.v", "rerun/demo.v"})
        EXPECT_NE(ReadFile(dir.File(hdl)).find("output wire [29:0] P"), std::string::npos) << hdl;
}

// A wizard that sets no HDL file name writes the design file alone, and the
// report says why the other files are missing.
class NoHdlWizard : public DemoWizard {
public:
    using DemoWizard::DemoWizard;
    bool Prepare() override {
        SetHDLFilename("");
        return true;
    }
};

TEST_F(KitRun, RunWithoutHdlFileNameReportsWhatItDidNotWrite) {
    Olm_RunRequest request = Request(dir, "");
    request.testbench = true;
    const Olm_RunOutcome outcome = session.Run<NoHdlWizard>(request);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.failure;
    EXPECT_EQ(outcome.files, std::vector<std::string>{dir.File("out/demo.kfz")});
    const std::string note = "No HDL wrapper, constraint template or testbench was written: the wizard set no HDL "
                             "file name.";
    EXPECT_EQ(outcome.notWritten, std::vector<std::string>{note});
    EXPECT_NE(ReadFile(dir.File("out.log")).find("  (written)\n" + note + "\n"), std::string::npos);
}

// A refused run leaves nothing it made, and what was there stays as it was.
class KitRunRefused : public KitRun, public ::testing::WithParamInterface<olmtest::CaseRow> {};

TEST_P(KitRunRefused, LeavesNothingBehind) {
    const std::string& options = GetParam().at(0);
    const std::string& failure = GetParam().at(1);
    Olm_RunRequest fresh = Request(dir, options, "new/deeper/out");
    const Olm_RunOutcome outcome = session.Run<DemoWizard>(fresh);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_NE(outcome.failure.find(failure), std::string::npos) << outcome.failure;
    EXPECT_FALSE(fs::exists(dir.File("new"))) << "no output folder, nor its parents";
    EXPECT_NE(ReadFile(fresh.logFile).find(failure), std::string::npos);

    const std::string kept = dir.Write("old/demo.kfz", "the earlier design");
    EXPECT_EQ(session.Run<DemoWizard>(Request(dir, options, "old")).result, -1);
    EXPECT_EQ(ReadFile(kept), "the earlier design");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("old")), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Inputs, KitRunRefused,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_KIT_TEST_DATA "/refused_runs.txt")));

TEST_F(KitRun, OptionCheckWarnsOrRefusesWithStrict) {
    Olm_RunRequest request = Request(dir, "BlockProp: DSP.*.A_WIDHT=12;\n");
    Olm_RunOutcome outcome = session.Run<DemoWizard>(request);
    ASSERT_TRUE(outcome.Succeeded()) << outcome.failure;
    EXPECT_EQ(outcome.messages,
              std::vector<std::string>{"WARNING: " + request.optionFile +
                                       ":1: block type 'DSP' has no attribute 'A_WIDHT' (did you mean A_WIDTH?)"});
    request.strict = true;
    request.outputDir = dir.File("strict");
    outcome = session.Run<DemoWizard>(request);
    EXPECT_EQ(outcome.result, -1);
    EXPECT_NE(outcome.failure.find("names what the installed data does not allow"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.File("strict")));
}

// A wizard's own text keeps its '%' signs; a misspelt attribute name reads
// as empty, with a warning the first time it is read.
TEST_F(KitRun, StringMessagesAreLiteralAndAMisspeltNameIsToldOnce) {
    struct Misspelling : DemoWizard {
        using DemoWizard::DemoWizard;
        bool Apply() override {
            Info(std::string("100% of %s %n"));
            return ModelValues().Text("A_WIDHT").empty() && ModelValues().Text("A_WIDHT").empty() &&
                   ModelValues().Text("OLMW_ONLY_SIMPLE") == "TRUE" && !ModelValues().Text("B_WIDTH").empty();
        }
    };
    const Olm_RunOutcome outcome = session.Run<Misspelling>(Request(dir, ""));
    ASSERT_TRUE(outcome.Succeeded()) << outcome.failure;
    const auto count = [&outcome](const std::string& text) {
        return std::count(outcome.messages.begin(), outcome.messages.end(), text);
    };
    EXPECT_GE(count("100% of %s %n"), 1);
    EXPECT_EQ(count("The wizard reads the attribute 'A_WIDHT', which neither its fields nor the installed data "
                     "define: it reads as empty."),
              1);
    EXPECT_EQ(outcome.messages.size(), static_cast<std::size_t>(count("100% of %s %n") + 1));
}

TEST_F(KitRun, SetUpProblemsAreExplained) {
    Olm_RunRequest request = Request(dir, "");
    request.design = "9lives";
    EXPECT_NE(session.Run<DemoWizard>(request).failure.find("the design name '9lives' is not a legal Verilog name"),
              std::string::npos);
    request = Request(dir, "");
    request.family.clear();
    EXPECT_EQ(session.Run<DemoWizard>(request).failure, "no device family is given");
    request = Request(dir, "");
    request.designFile = dir.File("none.kfz");
    const std::string failure = session.Run<DemoWizard>(request).failure;
    EXPECT_EQ(failure.find(dir.File("none.kfz")), failure.rfind(dir.File("none.kfz"))) << "the path once: " << failure;
    EXPECT_EQ(session.Run(Request(dir, ""), nullptr).failure, "'dsp_demo' is not a wizard type of this program");
}

// One page more than the page slots: the last one is refused where it is
// added, and the wizard goes on filling it through the reference it got back
// (the sanitizer build runs this test too: nothing freed is used).
class CrowdedWizard : public DemoWizard {
public:
    explicit CrowdedWizard(bool batch) : DemoWizard(batch) {
        for (int page = 3; page <= Olm_WizMain::kMaxPages + 1; ++page)
            AddPage("Page " + std::to_string(page)).AddField("B_WIDTH", "B width:");
    }
};

TEST_F(KitRun, PageBeyondTheSlotsIsRefusedWhereItIsAddedAndTheRunFails) {
    testing::internal::CaptureStdout();
    CrowdedWizard crowded(true);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: A wizard has at most 15 pages; the page 'Page 16 - Accumulator' was not added.\n");
    ASSERT_EQ(crowded.Pages().size(), 15u);
    EXPECT_EQ(crowded.GetPages()[14], crowded.Pages().back().get());

    const Olm_RunOutcome outcome = session.Run<CrowdedWizard>(Request(dir, ""));
    EXPECT_EQ(outcome.result, -1);
    EXPECT_NE(outcome.failure.find("the page 'Page 16 - Accumulator' was not added"), std::string::npos)
        << outcome.failure;
    EXPECT_FALSE(fs::exists(dir.File("out")));
}

// The family flags come from the wizard's type and block type, and the
// clock-manager sentence leads the features of a clock-manager wizard only.
class FamilyProbe : public Olm_KitMain {
public:
    FamilyProbe(bool batch, const std::string& type, const std::string& block) : Olm_KitMain(type, batch) {
        SetBlockType(block);
    }
    std::vector<std::string> FeatureLines() override {
        std::string flags = "flags:";
        const std::pair<bool, const char*> named[] = {{HasTKLSupport(), "TKL"},    {HasTKLspSupport(), "TKL_SP"},
                                                      {HasTKLAdvSupport(), "TKL_ADV"}, {HasDSPSupport(), "DSP"},
                                                      {HasKDIVSupport(), "KDIV"}};
        for (const auto& [on, name] : named) flags += on ? std::string(" ") + name : "";
        return {flags + " prim=" + GetTKLPrimName().str()};
    }
};

TEST_F(KitRun, FamilyFlagsAndFeatureTextFollowTheWizardsDataTypes) {
    struct Row { const char* type; const char* block; std::vector<std::string> features; };
    const Row rows[] = {
        {"tkl_clkfwd", "TKL_SP", {"1 TKL_SP configured for clock forwarding.", "flags: TKL TKL_SP prim=TKL_SP"}},
        {"tkl_bddeskew", "TKL_ADV",
         {"2 TKL_ADVs configured for board deskew with an internal deskew.", "flags: TKL TKL_ADV prim=TKL_ADV"}},
        {"tkl_pll", "RKO_ADV", {"1 RKO_ADV configured for Single PLL.", "flags: TKL TKL_ADV prim=RKO_ADV"}},
        {"tkl_cascading", "KDIV", {"2 TKLs configured for cascading in series.", "flags: TKL KDIV prim=KDIV"}},
        {"dsp_demo", "DSP", {"flags: DSP prim="}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.type);
        Olm_Data installed;
        ASSERT_TRUE(installed.ReadDataFile(row.type, "korvo5"));
        FamilyProbe probe(true, row.type, row.block);
        probe.SetWizDataPtr(installed.GetWizData());
        ASSERT_TRUE(probe.InitWizard());
        // As the summary page and the run report put them together.
        const Olm_FeatureText features = probe.Features();
        std::vector<std::string> shown;
        if (features.HasClockManagerText()) shown.push_back(Olm_SummaryGui::ClockManagerFeatures(probe).str());
        shown.insert(shown.end(), features.Lines().begin(), features.Lines().end());
        EXPECT_EQ(shown, row.features);
    }
}

// The demo wizard's window on the installed DSP data; Show() shows its first
// page.
class KitGui : public guitest::GuiTest {
protected:
    void SetUp() override {
        engine.SetFamily("korvo5");
        ASSERT_TRUE(bridge.SetupWizData());
        data.reset(bridge.GetWizDataPtr());
        main.SetWizDataPtr(data.get());
        main.SetBridge(&bridge);
        main.SetDesignName("demo");
        main.SetHDLType("verilog");
        ASSERT_TRUE(main.InitWizard());
    }
    void Show() {
        wizard.show();
        QApplication::processEvents();
    }
    void TearDown() override {
        window.reset();
        GuiTest::TearDown();
    }
    Olm_Engine engine;
    Olm_KfzWizData bridge{&engine, Pal::String("dsp_demo")};
    std::unique_ptr<Olm_WizData> data;
    DemoWizard main{false};
    std::unique_ptr<Nx_Wizard> window =
        std::make_unique<Nx_Wizard>(QStringLiteral("Olm Wizard"), nullptr, QStringLiteral("OlmWiz"), true, 0);
    Nx_Wizard& wizard = *window;
};

// The window: widgets from the data, conditions, checks on Next, skipping;
// without the symbol panel, which InitGuiDlgs adds.
TEST_F(KitGui, PagesFollowTheDataCheckOnNextAndSkip) {
    ASSERT_TRUE(main.CreateGuiDlgs(&wizard));
    Show();
    QWidget* body = wizard.currentNxPage()->pageWidget();
    ASSERT_NE(body->findChild<QCheckBox*>("A_SIGNED"), nullptr);
    ASSERT_NE(body->findChild<QComboBox*>("RESET_TYPE"), nullptr);
    auto* width = body->findChild<QLineEdit*>("A_WIDTH");
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->text(), "18");
    EXPECT_EQ(width->toolTip(), "A_WIDTH (A width): a whole number from 2 to 18");

    width->setText("40");
    {
        const guitest::BoxAnswerer boxes;
        wizard.next();
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_TRUE(boxes.Boxes()[0].text.contains("The value '40' of A_WIDTH (A width) is not allowed"));
    }
    EXPECT_EQ(wizard.currentNxPage()->pageName(), "Setup - Accumulator") << "stays on the page";
    width->setText("12");
    wizard.next();
    EXPECT_EQ(main.Block()->GetAttributeValue("A_WIDTH"), "12") << "Next writes the model";
    EXPECT_EQ(wizard.currentNxPage()->pageName(), "Summary - Accumulator") << "the register page is skipped";
    EXPECT_GT(main.applied, 0) << "the summary brings the model up to date";
}

// The panel beside the pages: the symbol follows every change of a field,
// keeps the last good one while a value is refused, and leaves the model
// alone; its check box is the run's testbench option.
TEST_F(KitGui, SymbolPanelFollowsTheFieldsAndLeavesTheModel) {
    // The register page comes later: without a register its clock is tied.
    Olm_ModelEdit::SetValue(main.Block(), "OLMW_ONLY_SIMPLE", "FALSE");
    Olm_ModelEdit::SetValue(main.Block(), "P_PIPE", "0");
    ASSERT_TRUE(main.CreateGuiDlgs(&wizard));
    ASSERT_TRUE(main.InitGuiDlgs(&wizard));
    Show();
    Olm_SymbolPanel* panel = Olm_SymbolPanel::Of(&wizard);
    ASSERT_NE(panel, nullptr);
    const auto port = [panel](const std::string& name) -> std::string {
        for (const Olm_CoreSymbol::Port& p : panel->Symbol().Ports())
            if (p.name == name) return Olm_CoreSymbol::GroupName(p.group) + (" " + std::to_string(p.width));
        return "none";
    };
    EXPECT_EQ(port("A"), "Data in 18");
    EXPECT_TRUE(std::none_of(panel->Symbol().Ports().begin(), panel->Symbol().Ports().end(),
                             [](const Olm_CoreSymbol::Port& p) { return p.group == Olm_CoreSymbol::Group::Clock; }))
        << "a later page's port that the model switches off is not drawn";
    const std::string modelWidth = main.Block()->GetAttributeValue("A_WIDTH").str();

    QWidget* body = wizard.currentNxPage()->pageWidget();
    auto* width = body->findChild<QLineEdit*>("A_WIDTH");
    width->selectAll();
    QTest::keyClicks(width, "12");
    EXPECT_EQ(port("A"), "Data in 12");
    EXPECT_TRUE(panel->Problem().empty()) << panel->Problem();
    EXPECT_EQ(main.Block()->GetAttributeValue("A_WIDTH").str(), modelWidth) << "the model waits for Next";

    QTest::keyClicks(width, "0");
    EXPECT_EQ(port("A"), "Data in 12") << "a refused value keeps the last symbol";
    EXPECT_NE(panel->Problem().find("'120'"), std::string::npos) << panel->Problem();

    width->selectAll();
    QTest::keyClicks(width, "9");
    auto* name = body->findChild<QLineEdit*>(QString::fromStdString(Olm_Field::PortAttribute("A")));
    ASSERT_NE(name, nullptr);
    name->selectAll();
    QTest::keyClicks(name, "sample");
    EXPECT_EQ(port("A"), "none");
    EXPECT_EQ(port("sample"), "Data in 9");
    EXPECT_TRUE(panel->Problem().empty()) << panel->Problem();

    panel->SetFolded(true);
    EXPECT_LT(panel->maximumWidth(), Olm_SymbolPanel::kWidth) << "folded, the panel gives the page room";
    EXPECT_TRUE(panel->TestbenchBox()->isVisible());
    EXPECT_FALSE(panel->TestbenchBox()->isChecked());
    panel->TestbenchBox()->setChecked(true);
    EXPECT_TRUE(main.GetTestbench());
}

}  // namespace
