// The label lines of the data files: how they are read and looked up; and the
// installed data files: each reads cleanly, and every attribute has a label,
// and a unit where it is a number, without an internal name in what the
// window shows.

#include "DataDir.h"
#include "ReaderTestUtil.h"

#include "datafiles/Olm_AttributeLabels.h"
#include "datafiles/Olm_Data.h"
#include "kit/Olm_AllowedValues.h"
#include "pal/StrUtil.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Statements around the label lines as the data files have them; a "#"
// after blanks is no label line.
constexpr const char* kText =
    "#: OUTSIDE | Before any block | - | Refused.\n"
    "WizData: w;\n"
    "  Block: B1;\n"
    "    Primitive: PLL;\n"
    "    Attribute: PERIOD;\n"
    "#: PERIOD | Input clock period | ns | The period; a|b stays in the help.\n"
    "    EndAttribute;\n"
    "#: MULT | Multiplier | - | A plain number.\n"
    "#: KIND | Kind |  | A choice.\n"
    "#: COUNT | Number of lanes | Lanes | A count.\n"
    "#: NOLABEL |  | ns | Refused.\n"
    "#: SHORT | Short | ns\n"
    "  #: INDENTED | Indented | ns | Not a label line.\n"
    "  EndBlock;\n"
    "  Block: B2;\n"
    "    Primitive: DIV;\n"
    "#: PERIOD | Divided clock period | ps | On DIV.\n"
    "#: PERIOD | Again | ps | Refused.\n"
    "  EndBlock;\n"
    "#: AFTER | After the blocks | - | Refused.\n";

struct LookupCase {
    const char* name;
    const char* primType;
    const char* attribute;
    const char* fieldLabel;  // empty: no label
    const char* unit;
};

class AttributeLabelsLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(AttributeLabelsLookup, FindsThePrimitivesEntryElseTheFirstOfTheName) {
    Olm_AttributeLabels labels;
    std::istringstream in(kText);
    labels.Read(in, "t.dev");
    const LookupCase& c = GetParam();
    EXPECT_EQ(labels.FieldLabel(c.primType, c.attribute), c.fieldLabel);
    EXPECT_EQ(labels.Unit(c.primType, c.attribute), c.unit);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AttributeLabelsLookup,
    ::testing::Values(LookupCase{"Unit", "PLL", "PERIOD", "Input clock period (ns):", "ns"},
                      LookupCase{"OtherPrimitive", "DIV", "PERIOD", "Divided clock period (ps):", "ps"},
                      LookupCase{"UnknownPrimitive", "KDIV", "PERIOD", "Input clock period (ns):", "ns"},
                      LookupCase{"PlainNumber", "PLL", "MULT", "Multiplier:", ""},
                      LookupCase{"NoUnit", "PLL", "KIND", "Kind:", ""},
                      LookupCase{"UnitInTheLabel", "PLL", "COUNT", "Number of lanes:", "Lanes"},
                      LookupCase{"NoLabel", "PLL", "NOLABEL", "", ""},
                      LookupCase{"TooFewParts", "PLL", "SHORT", "", ""},
                      LookupCase{"Indented", "PLL", "INDENTED", "", ""},
                      LookupCase{"OutsideBlock", "PLL", "OUTSIDE", "", ""},
                      LookupCase{"AfterBlocks", "DIV", "AFTER", "", ""}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST(AttributeLabels, HelpKeepsItsBarsAndMalformedLinesAreReported) {
    Olm_AttributeLabels labels;
    std::istringstream in(kText);
    labels.Read(in, "t.dev");
    EXPECT_EQ(labels.Help("PLL", "PERIOD"), "The period; a|b stays in the help.");
    EXPECT_EQ(labels.Label("DIV", "PERIOD"), "Divided clock period");  // the second line does not replace it
    const std::vector<std::string> expected = {
        "t.dev:1: the label line of OUTSIDE is outside a Block section",
        "t.dev:11: a label line needs an attribute, a label, a unit and a help line, separated by '|'",
        "t.dev:12: a label line needs an attribute, a label, a unit and a help line, separated by '|'",
        "t.dev:18: a second label line of PERIOD on DIV",
        "t.dev:20: the label line of AFTER is outside a Block section"};
    EXPECT_EQ(labels.Problems(), expected);
}

struct InstalledFile {
    const char* wizType;
    const char* family;
};

void PrintTo(const InstalledFile& f, std::ostream* os) { *os << f.wizType << " on " << f.family; }

// A number: a range, or choices that are all numbers.
bool IsQuantity(Olm_Attribute& attribute) {
    const Olm_AllowedValues rule = Olm_AllowedValues::Of(attribute);
    if (rule.IsRange()) return true;
    if (rule.GetKind() != Olm_AllowedValues::Kind::Choice || rule.GetChoices().empty()) return false;
    for (const std::string& choice : rule.GetChoices())
        if (double value = 0.0; !Pal::StrUtil::ParseNumber(choice, value)) return false;
    return true;
}

class InstalledLabels : public ::testing::TestWithParam<InstalledFile> {};

// Each installed data file reads without a message and every pin's signal is
// a signal of the file. Every attribute of every block, the wizard-only ones
// too, has a label: the generic wizard shows each modifiable one, the
// reference wizards a choice of them.
TEST_P(InstalledLabels, ReadCleanlyAndEveryAttributeHasALabelAndQuantitiesAUnit) {
    const olmtest::DataDirOverride buildTree("");
    Olm_Data data;
    olmtest::MsgCapture capture;
    ASSERT_TRUE(data.ReadDataFile(GetParam().wizType, GetParam().family));
    EXPECT_TRUE(capture.Texts().empty());  // the label lines change nothing the reader sees
    const Olm_AttributeLabels labels = Olm_AttributeLabels::Installed(GetParam().wizType, GetParam().family);
    EXPECT_TRUE(labels.Problems().empty()) << labels.Problems().front();
    int checked = 0;
    Olm_WizData* wd = data.GetWizData();
    for (Olm_Block* block : wd->GetBlkList()) {
        const std::string type = block->GetPrimType().str();
        for (Olm_Pin* pin : block->GetPinList()) {
            if (!pin->GetSigName().IsEmpty()) {
                EXPECT_NE(wd->GetNamedSignal(pin->GetSigName()), nullptr) << type << "." << pin->GetName().str();
            }
        }
        for (Olm_Attribute* attribute : block->GetAttributeList()) {
            const std::string name = attribute->GetName().str();
            SCOPED_TRACE(type + "." + name);
            const Olm_AttributeLabel* entry = labels.Find(type, name);
            ASSERT_NE(entry, nullptr);
            ++checked;
            EXPECT_EQ(labels.Label(type, name).find('_'), std::string::npos) << "an internal name as label";
            EXPECT_FALSE(entry->help.empty());
            if (IsQuantity(*attribute)) {
                EXPECT_FALSE(entry->unit.empty()) << "a number without a unit (or \"-\")";
            }
        }
    }
    EXPECT_GT(checked, 20);
}

INSTANTIATE_TEST_SUITE_P(Files, InstalledLabels,
                         ::testing::Values(InstalledFile{"tkl_pll", "korvo5"}, InstalledFile{"dsp_mult", "korvo5"},
                                           InstalledFile{"hsx", "korvo5"}, InstalledFile{"hsx", "korvo4"},
                                           InstalledFile{"ssio_rx", "korvo5"}),
                         [](const ::testing::TestParamInfo<InstalledFile>& info) {
                             return std::string(info.param.wizType) + "_" + info.param.family;
                         });

}  // namespace
