// The toolkit's configuration core, linked without Qt and without the wizard
// layer (this program's link proves that the model, the data files, the
// bridge and the core need neither): allowed values, bound fields, the
// option-file check, the constraint template and the finishing step.
#include "OlmConfig.h"

#include "CaseFiles.h"
#include "ModelBuilders.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using olmtest::ReadFile;
using olmtest::ScratchDir;

class AllowedValues : public ::testing::TestWithParam<olmtest::CaseRow> {};

TEST_P(AllowedValues, ReadTheDataAsARule) {
    const olmtest::CaseRow& c = GetParam();  // possible values | default | kind | allowed | refused | described | stored
    Olm_Attribute attribute;
    for (const std::string& value : olmtest::Split(c.at(0), ",")) attribute.AddPossibleValue(value.c_str());
    attribute.SetDefaultValue(c.at(1).c_str());
    const Olm_AllowedValues rule = Olm_AllowedValues::Of(attribute);
    const char* const kinds[] = {"Text", "Boolean", "Choice", "Integer", "Number"};  // in the order of Kind
    EXPECT_EQ(kinds[static_cast<int>(rule.GetKind())], c.at(2));
    for (const std::string& value : olmtest::Split(c.at(3), ",")) EXPECT_TRUE(rule.IsAllowed(value)) << value;
    for (const std::string& value : olmtest::Split(c.at(4), ",")) EXPECT_FALSE(rule.IsAllowed(value)) << value;
    EXPECT_EQ(rule.Describe(), c.at(5));
    // value=>what the field stores, where given
    for (const std::string& pair : c.size() > 6 ? olmtest::Split(c.at(6), ",") : std::vector<std::string>{}) {
        const std::size_t arrow = pair.find("=>");
        EXPECT_EQ(rule.Canonical(pair.substr(0, arrow)), pair.substr(arrow + 2)) << pair;
    }
}

INSTANTIATE_TEST_SUITE_P(Data, AllowedValues,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_KIT_TEST_DATA "/allowed_values.txt")));

// A DSP-like block of installed data and a container copied from it.
class Dsp : public ::testing::Test {
protected:
    Dsp() {
        Olm_Block* b = installed.AddBlock("DSP", "DSP");
        b->AddAttribute(olmtest::MakeAttribute("A_WIDTH", "18", {"OLMRANGE=2:18"}, "18"));
        b->AddAttribute("C_WIDTH", "48")->SetIsActive(false);
        b->AddPin("A", "IN")->SetSigName("A_IN");
        b->AddPin("CE", "IN")->SetSigName("CE_IN");
        b->AddPin("LOCKED", "OUT");
        installed.AddSignal("A_IN", true, "A");
        data = std::make_unique<Olm_WizData>(installed);
        block = data->GetNamedBlock("DSP");
    }
    // Binds a field to the installed block.
    Olm_Field& Bound(Olm_Field& field) {
        field.Bind(installed.GetNamedBlock("DSP"));
        return field;
    }
    void Write(Olm_Field& field, const char* value, bool enabled = true) {
        field.Write(*data, *block, value, enabled, widths);
    }

    // The values of the other fields: W, a bus width, is 12.
    struct Widths : Olm_FieldValues {
        std::string Text(std::string_view attribute) const override { return attribute == "W" ? "12" : ""; }
    } widths;
    Olm_WizData installed;
    std::unique_ptr<Olm_WizData> data;
    Olm_Block* block = nullptr;
};

using Field = Dsp;

TEST_F(Field, AttributeFieldKeepsFlagsAndAddsAWizardOnlyAttributeOnlyWhenChanged) {
    Olm_Field width("A_WIDTH", "Width:");
    EXPECT_EQ(Bound(width).GetAllowed().GetKind(), Olm_AllowedValues::Kind::Integer);
    EXPECT_EQ(width.Problem("30"), "The value '30' of A_WIDTH (Width) is not allowed: it must be a whole number "
                                   "from 2 to 18.");
    Olm_Field hidden("C_WIDTH", "C:");
    Write(hidden, "12");
    EXPECT_EQ(block->GetAttributeValue("C_WIDTH"), "12");
    EXPECT_FALSE(block->IsAttributeActive("C_WIDTH")) << "an unsaved attribute stays unsaved";

    Olm_Field use("OLMW_ONLY_USE_CE", "Clock enable:");
    Bound(use.Default("TRUE").Allow(Olm_AllowedValues::Boolean()));
    EXPECT_EQ(use.Read(*data, *block), "TRUE");
    Write(use, "true");
    EXPECT_EQ(block->GetNamedAttribute("OLMW_ONLY_USE_CE"), nullptr) << "the default is not stored";
    Write(use, "false");
    EXPECT_EQ(block->GetAttributeValue("OLMW_ONLY_USE_CE"), "FALSE") << "stored in the data's spelling";
}

TEST_F(Field, PortFieldReadsTheNetsPortAndConnectsOrTiesThePin) {
    Olm_Field a = Olm_Field::Port("A", "A port:");
    Bound(a.BusWidthFrom("W"));
    EXPECT_EQ(a.GetAttribute(), "OLMW_ONLY_A_PORT");
    EXPECT_EQ(a.Read(*data, *block), "A") << "the external name of the pin's net";
    Write(a, "sample");
    const Olm_Signal* net = data->GetNamedSignal("A_IN");
    EXPECT_EQ(net->GetDirection(), "sample");
    EXPECT_EQ(net->GetWidth(), 12);
    EXPECT_EQ(block->GetNamedAttribute("OLMW_ONLY_A_PORT"), nullptr) << "the name lives on the net";

    Olm_Field ce = Olm_Field::Port("CE", "CE port:");
    Write(Bound(ce.WhenDisabled(Olm_Field::Tie::Vcc)), "", false);
    EXPECT_TRUE(block->GetNamedPin("CE")->IsVcc());
    EXPECT_EQ(ce.Read(*data, *block), "CE_IN") << "a tied pin falls back to the data's net name";

    Olm_Field locked = Olm_Field::Port("LOCKED", "Locked:");
    EXPECT_EQ(Bound(locked.WhenDisabled(Olm_Field::Tie::Off)).Read(*data, *block), "LOCKED_OUT")
        << "an output without a net gets <PIN>_OUT";
    Write(locked, "", false);
    EXPECT_FALSE(block->GetNamedPin("LOCKED")->IsActive());
}

// A number typed by the designer and the C form that is stored: a comma is
// the decimal point only where the locale says so, and is never dropped.
struct Typed {
    const char* name;
    const char* typed;
    bool decimalComma;
    const char* stored;
};

void PrintTo(const Typed& t, std::ostream* os) { *os << t.name; }

class TypedNumber : public ::testing::TestWithParam<Typed> {};

TEST_P(TypedNumber, StoredInCForm) {
    EXPECT_EQ(Olm_AllowedValues::CForm(GetParam().typed, GetParam().decimalComma), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, TypedNumber,
    ::testing::Values(Typed{"CommaInCLocaleKept", "10,3125", false, "10,3125"},
                      Typed{"CommaInCommaLocale", "10,3125", true, "10.3125"},
                      Typed{"PointInCommaLocale", " 10.3125 ", true, "10.3125"},
                      Typed{"GroupAndDecimalRefused", "1.000,5", true, "1.000,5"},
                      Typed{"TwoCommasRefused", "1,000,5", true, "1,000,5"},
                      Typed{"CommaWithExponent", "1,5e3", true, "1.5e3"},
                      Typed{"LoneCommaKept", ",", true, ","}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Field, ReasonsNameTheLabelAndUnitInPlainWords) {
    Olm_Field width("A_WIDTH", "Operand A width (bits):");
    Bound(width);
    EXPECT_EQ(width.Label(), "Operand A width");
    EXPECT_EQ(width.Unit(), "bits");
    EXPECT_EQ(width.Reason("12"), "");
    EXPECT_EQ(width.Reason("30"), "Operand A width must be 2 to 18 bits.");
    EXPECT_EQ(width.Reason("2.5"), "Operand A width must be a whole number from 2 to 18 bits.");
    EXPECT_EQ(width.Reason("1,5"),
              "Operand A width: the comma in '1,5' is no decimal separator here; write the number with a point.");
    width.SetDataLabel("Width of operand A", "bit");
    EXPECT_EQ(width.Reason("30"), "Width of operand A must be 2 to 18 bit.") << "the data's label comes first";

    Olm_Field rate("OLMW_ONLY_BIT_RATE", "Bit rate (per line):");
    rate.Allow(Olm_AllowedValues::Numbers(10, 1600)).WithUnit("Mb/s");
    EXPECT_EQ(rate.Label(), "Bit rate (per line)") << "a parenthesis of words is no unit";
    EXPECT_EQ(rate.Reason("2000"), "Bit rate (per line) must be 10 to 1600 Mb/s.");
}

TEST_F(Field, OfferedChoicesFollowTheOtherValues) {
    Olm_Field width("TRI_WIDTH", "Tristate bits:");
    width.Allow(Olm_AllowedValues::Choices({"1", "4"})).OfferWhen([](const std::string& choice, const Olm_FieldValues& v) {
        return choice == "1" || v.Int("W") >= 4;
    });
    EXPECT_EQ(width.OfferedChoices(widths), (std::vector<std::string>{"1", "4"}));
    const struct : Olm_FieldValues {
        std::string Text(std::string_view) const override { return "2"; }
    } narrow;
    EXPECT_EQ(width.OfferedChoices(narrow), (std::vector<std::string>{"1"}));
    EXPECT_EQ(width.Reason("4", narrow), "Tristate bits must be one of 1 with these settings.");
    EXPECT_EQ(width.Problem("4"), "") << "batch mode leaves it to the page's checks";
    Olm_Field product("P", "Product:");
    product.DeriveFrom({"W"}, [](const Olm_FieldValues& v) { return std::to_string(2 * v.Int("W")); });
    EXPECT_EQ(product.Derive(widths), "24");
}

using OptFileCheck = Dsp;

TEST_F(OptFileCheck, FindsWhatTheDataDoesNotDefineOrAllowWithFileAndLine) {
    Olm_OptFileCheck check(installed);
    check.AddWizardAttribute("DSP", "OLMW_ONLY_USE_CE", Olm_AllowedValues::Boolean());
    std::string found;  // a line per finding, the folder left out
    for (const std::string& line : check.Check(OLM_KIT_TEST_DATA "/misspelt.opt"))
        found += line.substr(std::string(OLM_KIT_TEST_DATA "/").size()) + "\n";
    EXPECT_EQ(found, ReadFile(OLM_KIT_TEST_DATA "/misspelt.txt"));
}

// The option-file reader reports through the message sink, here the batch
// form: no window layer is linked.
using MessageSink = Dsp;

TEST_F(MessageSink, OptionFileErrorsReachTheInstalledSinkOrTheBatchForm) {
    struct Collect : Olm_MessageSink {
        void Message(const Pal::String& text, bool, Pal::Stream*, bool isError, bool, bool) override {
            lines.push_back((isError ? "E " : "") + text.str());
        }
        std::vector<std::string> lines;
    } sink;
    Olm_MessageSink* previous = Olm_MessageSink::Install(&sink);
    const ScratchDir dir;
    EXPECT_FALSE(Olm_OptFileReader().Read(data.get(), dir.Write("x.opt", "Bogus: 1;\n").c_str()));
    Olm_MessageSink::Install(previous);
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_EQ(sink.lines[0].rfind("E ERROR in reading ", 0), 0u) << sink.lines[0];

    Pal::MemoryStream log;
    Olm_MessageSink::Current().Message("quiet", true, &log, true, true, false);
    EXPECT_EQ(log.Text(), "ERROR: quiet\n");
}

TEST(ConstraintTemplate, SitesClocksAndSectionsInThatOrder) {
    Olm_ConstraintTemplate pkx("top", "demo");
    pkx.AddSite("data[3]");
    pkx.AddSite("clk", "P12");
    pkx.AddClock("clk", 4.0);
    pkx.AddClock("slow", 0.0);
    pkx.AddSection("Lanes", {"# lane 0 = ?;"});
    EXPECT_EQ(pkx.Text(), ReadFile(OLM_KIT_TEST_DATA "/template.pkx"));
}

// The finishing step on the installed DSP data into a folder, by the
// in-process generator or by an HDL program as a child process.
bool Finish(const std::string& folder, const std::string& tool, std::string* error = nullptr,
            const char* wizType = "dsp_mult", bool testbench = false, const char* dspMode = nullptr) {
    Olm_Engine engine;
    engine.SetFamily("korvo5");
    Olm_Data loaded;
    EXPECT_TRUE(loaded.ReadDataFile(wizType, "korvo5"));
    if (dspMode) loaded.GetWizData()->GetPrimitiveBlock("DSP")->GetNamedAttribute("OPERATION_MODE")->SetCurrentValue(dspMode);
    Olm_KfzWizData bridge(&engine, Pal::String(wizType));
    bridge.SetWizDataPtr(loaded.GetWizData());
    Olm_Finisher finisher(bridge, folder, "core");
    finisher.SetHdl(Olm_HdlGenerator::Language::Vhdl);
    finisher.SetTestbench(testbench);
    if (!tool.empty()) finisher.SetHdlTool(tool, {}, nullptr);
    fs::create_directories(folder);
    const bool ok = finisher.Run("# template\n");
    if (error) *error = finisher.Error();
    return ok;
}

TEST(Finisher, ChildAndInProcessWriteTheSameFilesAndAFailureWritesNone) {
    const ScratchDir dir;
    ASSERT_TRUE(Finish(dir.File("in"), ""));
    ASSERT_TRUE(Finish(dir.File("child"), OLMWIZ_HDL_PATH));
    for (const char* file : {"/core.kfz", "/core.vhd", "/core_olmw.pkx"})
        EXPECT_EQ(ReadFile(dir.File("in") + file), ReadFile(dir.File("child") + file));

    const std::string before = dir.Write("bad/core.kfz", "an older design file");
    std::string error;
    EXPECT_FALSE(Finish(dir.File("bad"), "/bin/false", &error));
    EXPECT_NE(error.find("The HDL generator failed (exit code 1)"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(before), "an older design file");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("bad")), fs::directory_iterator()), 1)
        << "no scratch folder, no new file";
}

TEST(Finisher, RunsTheDesignRulesOncePerFinish) {
    const ScratchDir dir;
    Olm_Engine engine;
    engine.SetFamily("korvo5");
    Olm_Data loaded;
    ASSERT_TRUE(loaded.ReadDataFile("dsp_mult", "korvo5"));
    Olm_KfzWizData bridge(&engine, Pal::String("dsp_mult"));
    bridge.SetWizDataPtr(loaded.GetWizData());
    Olm_HdlGenerator generator("korvo5");
    for (const bool hdl : {true, false}) {
        const int before = generator.RuleRuns();
        Olm_Finisher finisher(bridge, dir.File(hdl ? "hdl" : "kfz"), "core");
        finisher.SetHdlGenerator(&generator);
        if (hdl) finisher.SetHdl(Olm_HdlGenerator::Language::Verilog);
        fs::create_directories(dir.File(hdl ? "hdl" : "kfz"));
        ASSERT_TRUE(finisher.Run("# template\n")) << finisher.Error();
        EXPECT_EQ(generator.RuleRuns() - before, 1) << (hdl ? "with" : "without") << " HDL";
    }
}

TEST(Finisher, WritesTheTestbenchWithTheOtherFilesOrNoFileAtAll) {
    const ScratchDir dir;
    std::string error;
    ASSERT_TRUE(Finish(dir.File("dsp"), "", &error, "dsp_mult", true)) << error;
    const std::string testbench = ReadFile(dir.File("dsp/core_tb.vhd"));
    EXPECT_NE(testbench.find("entity core_tb is"), std::string::npos);
    EXPECT_NE(testbench.find("dut : entity work.core"), std::string::npos);

    // A multiplier in another mode has no testbench, so no file.
    EXPECT_FALSE(Finish(dir.File("io"), "", &error, "dsp_mult", true, "ADD_SUBTRACT"));
    EXPECT_NE(error.find("Could not write the testbench"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(dir.File("io")));
}

// The testbench of the installed multiplier with one property of its design
// file changed: refused when it cannot check what the design asks for.
class TestbenchRefusal : public ::testing::TestWithParam<std::array<const char*, 3>> {};

TEST_P(TestbenchRefusal, NamesWhatItCannotCheck) {
    const auto& [property, value, reason] = GetParam();
    const ScratchDir dir;
    ASSERT_TRUE(Finish(dir.File("dsp"), ""));
    Olm_Engine engine;
    Pal::String loadError;
    ASSERT_TRUE(engine.Load(dir.File("dsp/core.kfz").c_str(), &loadError)) << loadError.str();
    Olm_KfzDesign design = engine.GetDesign();
    ASSERT_FALSE(design.blocks.empty());
    Olm_KfzDesign::SetProperty(design.blocks.front().properties, property, value);
    std::string text, error;
    EXPECT_FALSE(Olm_TestbenchWriter::Write(design, "core", Olm_HdlGenerator::Language::Verilog, text, error));
    EXPECT_NE(error.find(reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Properties, TestbenchRefusal,
    ::testing::Values(std::array<const char*, 3>{"OPERATION_MODE", "ADD_SUBTRACT", "MULTIPLY only"},
                      std::array<const char*, 3>{"A_WIDTH", "12", "operand A is not on a port of 12 bits"},
                      std::array<const char*, 3>{"P_WIDTH", "60", "product width 60 is out of range"},
                      std::array<const char*, 3>{"M_PIPE", "-1", "register stage count of -1"}));

// A wizard's command line read into a run request, or refused with the reason.
class RunArguments : public ::testing::TestWithParam<olmtest::CaseRow> {};

TEST_P(RunArguments, MakeTheRequestOrSayWhyNot) {
    std::vector<std::string> words{"wizard"};
    for (const std::string& word : olmtest::Split(GetParam().at(1), " ")) words.push_back(word == "<empty>" ? "" : word);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    Olm_RunRequest defaults;
    defaults.wizType = "dsp_add";
    defaults.family = "korvo5";
    const Olm_RunArguments args = Olm_RunRequest::FromArguments(static_cast<int>(argv.size()), argv.data(), defaults,
                                                                {{"wizard", true}, {"verbose", false}});
    std::string made;
    if (args.help) made = "help";
    else if (!args.problem.empty()) made = "problem: " + args.problem;
    const Olm_RunRequest& r = args.request;
    const std::pair<const char*, const std::string*> texts[] = {
        {"family", &r.family},       {"design", &r.design},   {"designFile", &r.designFile},
        {"optionFile", &r.optionFile}, {"hdl", &r.hdl},       {"outputDir", &r.outputDir},
        {"logFile", &r.logFile}};
    const std::pair<const char*, bool> flags[] = {
        {"batch", r.batch}, {"silent", r.silent}, {"strict", r.strict}, {"testbench", r.testbench}, {"walk", r.walk}};
    if (made.empty()) {
        for (const auto& [name, value] : texts) made += value->empty() ? "" : " " + std::string(name) + "=" + *value;
        for (const auto& [name, on] : flags) made += on ? " " + std::string(name) : "";
        for (const auto& [name, value] : args.callerOptions) made += " +" + name + "=" + value;
        made.erase(0, 1);
        EXPECT_EQ(r.wizType, "dsp_add");
    }
    EXPECT_EQ(made, GetParam().at(2));
    EXPECT_EQ(args.Ok(), made.find(' ') != std::string::npos && made.rfind("problem", 0) != 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, RunArguments,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_KIT_TEST_DATA "/run_arguments.txt")),
                         [](const auto& info) { return info.param.at(0); });

}  // namespace
