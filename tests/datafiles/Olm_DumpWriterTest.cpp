// The dump writer: the exact full and short dumps of a sample container
// (golden files beside this one), the short dump read back by the reader, the lines only the dump writes, and the
// entry points that dump to a file.

#include "ModelBuilders.h"
#include "ReaderTestUtil.h"

#include "datafiles/Olm_Data.h"
#include "kfz/Olm_KfzWizData.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace dftest;
using olmtest::BuildSample;
using olmtest::DumpText;

namespace {

// The exact dumps of the sample, in golden/sample_full.dmp and sample_short.dmp.
std::string SampleDump(bool full) {
    return olmtest::ReadFile(std::string(OLM_DATAFILES_GOLDEN_DIR) + (full ? "/sample_full.dmp" : "/sample_short.dmp"));
}

// Blocks, pins, signals and attributes dump their own pieces of it too.
TEST(DumpWriter, FullAndShortDumpsOfTheSample) {
    for (bool full : {true, false}) {
        Olm_WizData data("tkl");
        BuildSample(data);
        EXPECT_EQ(DumpText(data, full), SampleDump(full)) << (full ? "full" : "short");
        Pal::MemoryStream pin, block;
        data.GetNamedBlock("B1")->GetNamedPin("IO")->DumpToFile(&pin, full);
        data.GetNamedBlock("B1")->GetNamedAttribute("MULT")->DumpToFile(&pin, full);
        data.GetNamedBlock("B2")->DumpToFile(&block, full);
        data.GetNamedSignal("clk")->DumpToFile(&block, full);
        EXPECT_NE(SampleDump(full).find(pin.Text()), std::string::npos) << pin.Text();
        EXPECT_NE(SampleDump(full).find(block.Text()), std::string::npos) << block.Text();
    }
}

// Read back, the short dump gives the model except for the documented
// differences: the version and the current values are lost, the pins'
// attributes come back as block attributes, Grounded and VCC pairs add their
// markers, and an attribute without possible values gets one empty value.
// (The SaveToKFZ line of an inactive block is no statement of a data file.)
TEST(DumpWriter, ShortDumpReadsBackWithOnlyTheDocumentedDifferences) {
    Olm_WizData data("tkl"), read;
    BuildSample(data);
    data.GetNamedBlock("B2")->SetIsActive(true);
    const auto r = ReadText(DumpText(data, false), read);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.reports.empty()) << r.reports.front();
    EXPECT_EQ(Describe(read),
              "wiz tkl v\nblock B1 RKO_BASE flags=F1;F2;F3\n pin CLKIN IN 0:0 sig=clk flags=DATAWIDTH\n"
              " pin D OUT 0:7 bus vcc off\n  attr OLM_PIN_VCC_IN_DATAFILE = current=TRUE 1{TRUE}\n"
              " pin G OUT 0:0 gnd\n  attr OLM_PIN_GND_IN_DATAFILE = current=TRUE 1{TRUE}\n pin T IN 3:0 bus\n"
              " pin IO INOUT 0:0\n attr IOSTD = 1{LVDS}\n attr OLM_PIN_TIE = 1{4'b1010}\n attr MULT =1 2{4|8} fixed\n"
              " attr A2 =d 1{}\n attr RANGE =8 2{OLMRANGE=1:56|x y}\nblock B2 RKO_ADV\n attr EMPTY = 1{} off\n"
              "signal clk ext port=CLK_PORT bus w=4 gnd\n attr SA =x 2{x|y}\nsignal n2 off\n");
}

// Read back, the lines only the dump writes are unrecognised keywords, and
// the section holding them is dropped.
TEST(DumpWriter, LinesOnlyTheDumpWritesAreUnrecognised) {
    struct Case {
        void (*build)(Olm_WizData&);
        bool full;
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        {[](Olm_WizData& d) { d.AddBlock("B", "P")->AddAttribute(olmtest::MakeAttribute("A", "d", {"d"}, "cur")); },
         true, {Unrecognized(6, "SaveToKFZ: TRUE;"), Unrecognized(10, "CurrentValue: cur;")}},
        {[](Olm_WizData& d) { d.AddSignal("S", false, "")->SetIsVcc(true); }, false, {Unrecognized(5, "VCC: TRUE;")}},
        {[](Olm_WizData& d) { d.AddBlock("B", "P")->AddPin("P", "CLOCK"); }, false, {Unrecognized(6, "CLOCK Pin: P;")}},
    };
    for (const Case& c : cases) {
        Olm_WizData data("w"), read;
        c.build(data);
        const auto r = ReadText(DumpText(data, c.full), read);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.reports, c.reports);
        EXPECT_EQ(Describe(read), "wiz w v\n");
    }
}

// Each entry point writes the full dump, to the named file or to olmwtest.dmp
// in the working folder; without a container, or to a file that cannot be
// opened, it writes and reports nothing.
TEST(DumpWriter, EntryPointsWriteTheFullDumpToAFile) {
    olmtest::ScratchDir dir;
    olmtest::MsgCapture capture;
    Olm_WizData data("tkl");
    BuildSample(data);
    Olm_KfzWizData bridge(nullptr, "tkl");
    bridge.SetWizDataPtr(&data);
    Olm_Data empty;
    const std::filesystem::path workingFolder = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    data.DumpWizData(nullptr);
    EXPECT_EQ(olmtest::ReadFile(dir.File("olmwtest.dmp")), SampleDump(true));
    std::filesystem::remove(dir.File("olmwtest.dmp"));
    Olm_Data::DumpDataFile(&data, nullptr);
    std::filesystem::current_path(workingFolder);
    data.DumpWizData(dir.File("model.dmp").c_str());
    bridge.DumpWizData(dir.File("bridge.dmp").c_str());
    for (const char* file : {"olmwtest.dmp", "model.dmp", "bridge.dmp"})
        EXPECT_EQ(olmtest::ReadFile(dir.File(file)), SampleDump(true)) << file;

    Olm_Data::DumpDataFile(nullptr, dir.File("none.dmp").c_str());
    empty.DumpDataFile(dir.File("empty.dmp").c_str());
    Olm_KfzWizData(nullptr, "tkl").DumpWizData(dir.File("nobridge.dmp").c_str());
    data.DumpWizData(dir.File("missing/sub/x.dmp").c_str());
    Olm_Data::DumpDataFile(&data, dir.File("missing/sub/y.dmp").c_str());
    data.DumpToFile(nullptr, true);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
    EXPECT_TRUE(capture.Texts().empty());
}

}  // namespace
