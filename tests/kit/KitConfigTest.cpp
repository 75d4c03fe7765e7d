// The toolkit's configuration core, linked without Qt and without the wizard
// layer (this program's link proves that the model, the data files, the
// bridge and the core need neither): allowed values, bound fields, the
// option-file check, the constraint template and the finishing step.
#include "OlmConfig.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;
using olmtest::ScratchDir;

// An attribute as the data file gives it: possible values, comma-separated, and a default.
Olm_Attribute DataAttribute(const std::string& possible, const char* defaultValue) {
    Olm_Attribute attribute;
    for (std::size_t at = 0, comma; at <= possible.size(); at = comma + 1) {
        comma = std::min(possible.find(',', at), possible.size());
        attribute.AddPossibleValue(possible.substr(at, comma - at).c_str());
    }
    attribute.SetDefaultValue(defaultValue);
    return attribute;
}

struct RuleCase {
    const char* possible;  // comma-separated possible values
    const char* defaultValue;
    Olm_AllowedValues::Kind kind;
    const char* described;
    std::vector<std::string> allowed;
    std::vector<std::string> refused;
};

class AllowedValues : public ::testing::TestWithParam<RuleCase> {};

TEST_P(AllowedValues, ReadTheDataAsARule) {
    const RuleCase& c = GetParam();
    const Olm_AllowedValues rule = Olm_AllowedValues::Of(DataAttribute(c.possible, c.defaultValue));
    EXPECT_EQ(rule.GetKind(), c.kind);
    EXPECT_EQ(rule.Describe(), c.described);
    for (const std::string& value : c.allowed) EXPECT_TRUE(rule.IsAllowed(value)) << value;
    for (const std::string& value : c.refused) EXPECT_FALSE(rule.IsAllowed(value)) << value;
}

using K = Olm_AllowedValues::Kind;
INSTANTIATE_TEST_SUITE_P(
    Data, AllowedValues,
    ::testing::Values(
        RuleCase{"TRUE,FALSE", "TRUE", K::Boolean, "TRUE or FALSE", {"TRUE", "false"}, {"YES", "1", ""}},
        RuleCase{"0,1,2", "1", K::Choice, "one of 0, 1, 2", {"0", "2"}, {"3", "01", " 1"}},
        RuleCase{"OLMRANGE=2:18", "18", K::Integer, "a whole number from 2 to 18", {"2", " 18", "+5"},
                 {"1", "19", "2.5", "+-5", "0x10", "1e1"}},
        RuleCase{"OLMRANGE=0.5:800.0", "100", K::Number, "a number from 0.5 to 800.0", {"0.5", "62.5", "8e2"},
                 {"0.4", "800.1", "nan", "inf", "1e400"}},
        RuleCase{"AUTO,OLMRANGE=1:8", "AUTO", K::Integer, "a whole number from 1 to 8, or one of AUTO",
                 {"auto", "8"}, {"9", "MANUAL"}},
        // A default outside the list stays allowed (an unset LOC is empty).
        RuleCase{"L0,L1", "", K::Choice, "one of L0, L1", {"", "l1"}, {"L2"}},
        // What the model records for an attribute made from a design or
        // option file: its own value, no default. Any text.
        RuleCase{"sample", "", K::Text, "any text", {"other"}, {}}));

TEST(AllowedValues, ProblemNamesValueAttributeAndRuleAndCanonicalKeepsTheDataSpelling) {
    const Olm_AllowedValues rule = Olm_AllowedValues::Choices({"SYNC", "ASYNC"});
    EXPECT_EQ(rule.Problem("RESET_TYPE", "sync"), "");
    EXPECT_EQ(rule.Canonical("async"), "ASYNC");
    EXPECT_EQ(rule.Problem("RESET_TYPE", "NONE"),
              "The value 'NONE' of RESET_TYPE is not allowed: it must be one of SYNC, ASYNC.");
}

// A DSP-like block of installed data and a container copied from it.
struct Model {
    Olm_WizData installed;
    std::unique_ptr<Olm_WizData> data;
    Olm_Block* block = nullptr;

    Model() {
        Olm_Block* b = installed.AddBlock("DSP", "DSP");
        Olm_Attribute* width = b->AddAttribute("A_WIDTH", "18");
        width->GetPossibleValues().SetAt(0, "OLMRANGE=2:18");
        width->SetDefaultValue("18");
        Olm_Attribute* hidden = b->AddAttribute("C_WIDTH", "48");
        hidden->SetIsActive(false);
        b->AddPin("A", "IN")->SetSigName("A_IN");
        b->AddPin("CE", "IN")->SetSigName("CE_IN");
        b->AddPin("LOCKED", "OUT");
        installed.AddSignal("A_IN", true, "A");
        data = std::make_unique<Olm_WizData>(installed);
        block = data->GetNamedBlock("DSP");
    }
};

class NoValues : public Olm_FieldValues {
public:
    std::string Text(std::string_view attribute) const override { return attribute == "W" ? "12" : ""; }
};

TEST(Field, AttributeFieldKeepsFlagsAndAddsAWizardOnlyAttributeOnlyWhenChanged) {
    Model m;
    Olm_Field width("A_WIDTH", "Width:");
    width.Bind(m.installed.GetNamedBlock("DSP"));
    EXPECT_EQ(width.GetAllowed().GetKind(), Olm_AllowedValues::Kind::Integer);
    EXPECT_EQ(width.Problem("30"), "The value '30' of A_WIDTH (Width) is not allowed: it must be a whole number "
                                   "from 2 to 18.");
    Olm_Field hidden("C_WIDTH", "C:");
    hidden.Write(*m.data, *m.block, "12", true, NoValues());
    EXPECT_EQ(m.block->GetAttributeValue("C_WIDTH"), "12");
    EXPECT_FALSE(m.block->IsAttributeActive("C_WIDTH")) << "an unsaved attribute stays unsaved";

    Olm_Field use("OLMW_ONLY_USE_CE", "Clock enable:");
    use.Default("TRUE").Allow(Olm_AllowedValues::Boolean());
    use.Bind(m.installed.GetNamedBlock("DSP"));
    EXPECT_EQ(use.Read(*m.data, *m.block), "TRUE");
    use.Write(*m.data, *m.block, "true", true, NoValues());
    EXPECT_EQ(m.block->GetNamedAttribute("OLMW_ONLY_USE_CE"), nullptr) << "the default is not stored";
    use.Write(*m.data, *m.block, "false", true, NoValues());
    EXPECT_EQ(m.block->GetAttributeValue("OLMW_ONLY_USE_CE"), "FALSE") << "stored in the data's spelling";
}

TEST(Field, PortFieldReadsTheNetsPortAndConnectsOrTiesThePin) {
    Model m;
    Olm_Field a = Olm_Field::Port("A", "A port:");
    a.BusWidthFrom("W");
    a.Bind(m.installed.GetNamedBlock("DSP"));
    EXPECT_EQ(a.GetAttribute(), "OLMW_ONLY_A_PORT");
    EXPECT_EQ(a.Read(*m.data, *m.block), "A") << "the external name of the pin's net";
    a.Write(*m.data, *m.block, "sample", true, NoValues());
    const Olm_Signal* net = m.data->GetNamedSignal("A_IN");
    EXPECT_EQ(net->GetDirection(), "sample");
    EXPECT_EQ(net->GetWidth(), 12);
    EXPECT_EQ(m.block->GetNamedAttribute("OLMW_ONLY_A_PORT"), nullptr) << "the name lives on the net";

    Olm_Field ce = Olm_Field::Port("CE", "CE port:");
    ce.WhenDisabled(Olm_Field::Tie::Vcc).Bind(m.installed.GetNamedBlock("DSP"));
    ce.Write(*m.data, *m.block, "", false, NoValues());
    EXPECT_TRUE(m.block->GetNamedPin("CE")->IsVcc());
    EXPECT_EQ(ce.Read(*m.data, *m.block), "CE_IN") << "a tied pin falls back to the data's net name";

    Olm_Field locked = Olm_Field::Port("LOCKED", "Locked:");
    locked.WhenDisabled(Olm_Field::Tie::Off).Bind(m.installed.GetNamedBlock("DSP"));
    EXPECT_EQ(locked.Read(*m.data, *m.block), "LOCKED_OUT") << "an output without a net gets <PIN>_OUT";
    locked.Write(*m.data, *m.block, "", false, NoValues());
    EXPECT_FALSE(m.block->GetNamedPin("LOCKED")->IsActive());
}

TEST(OptFileCheck, FindsWhatTheDataDoesNotDefineOrAllowWithFileAndLine) {
    Model m;
    Olm_OptFileCheck check(m.installed);
    check.AddWizardAttribute("DSP", "OLMW_ONLY_USE_CE", Olm_AllowedValues::Boolean());
    const ScratchDir dir;
    const std::string path = dir.Write("x.opt",
                                       "# a comment\n"
                                       "BlockProp: DSP.*.A_WIDTH=12;\n"
                                       "BlockProp: DSP.*.A_WIDHT=12;\n"
                                       "BlockProp: DSPX.*.A_WIDTH=12;\n"
                                       "BlockProp: DSP.*.A_WIDTH=40;\n"
                                       "UsePin: DSP.D1.CEE;\n"
                                       "BlockProp: dsp.*.olmw_only_use_ce=maybe;\n"
                                       "Bogus: left to the reader;\n");
    EXPECT_EQ(check.Check(path),
              (std::vector<std::string>{
                  path + ":3: block type 'DSP' has no attribute 'A_WIDHT' (did you mean A_WIDTH?)",
                  path + ":4: the installed data has no block type 'DSPX' (did you mean DSP?); its types are DSP",
                  path + ":5: The value '40' of A_WIDTH is not allowed: it must be a whole number from 2 to 18.",
                  path + ":6: block type 'DSP' has no pin 'CEE' (did you mean CE?)",
                  path + ":7: The value 'maybe' of olmw_only_use_ce is not allowed: it must be TRUE or FALSE."}));
}

TEST(ConstraintTemplate, SitesClocksAndSectionsInThatOrder) {
    Olm_ConstraintTemplate pkx("top", "demo");
    pkx.AddSite("data[3]");
    pkx.AddSite("clk", "P12");
    pkx.AddClock("clk", 4.0);
    pkx.AddClock("slow", 0.0);
    pkx.AddSection("Lanes", {"# lane 0 = ?;"});
    EXPECT_EQ(pkx.Text(),
              "# Constraint template of the design top, written by the demo wizard.\n"
              "# Remove the '#' in front of a site line and fill in the site of the port.\n\n"
              "# Sites of the external ports\n# site data[3] = ?;\nsite clk = P12;\n\n"
              "# Clock periods\nclock_period clk = 4.000 ns;\n# clock_period slow = ? ns;\n\n"
              "# Lanes\n# lane 0 = ?;\n");
}

// The finishing step on the installed DSP data, for the in-process generator
// and for olmwiz-hdl as a child process.
struct Finishing {
    Olm_Engine engine;
    Olm_Data loaded;
    std::unique_ptr<Olm_KfzWizData> bridge;

    Finishing() {
        engine.SetFamily("korvo5");
        EXPECT_TRUE(loaded.ReadDataFile("dsp_mult", "korvo5"));
        bridge = std::make_unique<Olm_KfzWizData>(&engine, Pal::String("dsp_mult"));
        bridge->SetWizDataPtr(loaded.GetWizData());
    }
    bool Run(const std::string& folder, const std::string& tool, std::string* error = nullptr) {
        Olm_Finisher finisher(*bridge, folder, "core");
        finisher.SetHdl(Olm_HdlGenerator::Language::Vhdl);
        if (!tool.empty()) finisher.SetHdlTool(tool, {}, nullptr);
        const bool ok = finisher.Run("# template\n");
        if (error) *error = finisher.Error();
        return ok;
    }
};

TEST(Finisher, ChildAndInProcessWriteTheSameFilesAndAFailureWritesNone) {
    Finishing f;
    const ScratchDir dir;
    fs::create_directories(dir.File("in")), fs::create_directories(dir.File("child")), fs::create_directories(dir.File("bad"));
    ASSERT_TRUE(f.Run(dir.File("in"), ""));
    ASSERT_TRUE(f.Run(dir.File("child"), OLMWIZ_HDL_PATH));
    for (const char* file : {"core.kfz", "core.vhd", "core_olmw.pkx"})
        EXPECT_EQ(ReadFile(dir.File(std::string("in/") + file)), ReadFile(dir.File(std::string("child/") + file)));

    const std::string before = dir.Write("bad/core.kfz", "an older design file");
    std::string error;
    EXPECT_FALSE(f.Run(dir.File("bad"), "/bin/false", &error));
    EXPECT_NE(error.find("The HDL generator failed (exit code 1)"), std::string::npos) << error;
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.File("bad"))) left.push_back(entry.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"core.kfz"}) << "no scratch folder, no new file";
    EXPECT_EQ(ReadFile(before), "an older design file");
}

// The option-file reader reports through the message sink, here the batch
// form: no window layer is linked.
TEST(MessageSink, OptionFileErrorsReachTheInstalledSinkOrTheBatchForm) {
    class Collect : public Olm_MessageSink {
    public:
        void Message(const Pal::String& text, bool, Pal::Stream*, bool isError, bool, bool) override {
            lines.push_back((isError ? "E " : "") + text.str());
        }
        std::vector<std::string> lines;
    } sink;
    Olm_MessageSink* previous = Olm_MessageSink::Install(&sink);
    Model m;
    const ScratchDir dir;
    Olm_OptFileReader reader;
    EXPECT_FALSE(reader.Read(m.data.get(), dir.Write("x.opt", "Bogus: 1;\n").c_str()));
    Olm_MessageSink::Install(previous);
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_EQ(sink.lines[0].rfind("E ERROR in reading ", 0), 0u) << sink.lines[0];

    Pal::MemoryStream log;
    Olm_MessageSink::Current().Message("quiet", true, &log, true, true, false);
    EXPECT_EQ(log.Text(), "ERROR: quiet\n");
}

}  // namespace
