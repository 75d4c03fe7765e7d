// The option-file reader in batch mode (messages in a memory log, effects on
// the container) and once in GUI mode (the message box).

#include "GuiTestSupport.h"
#include "ReaderTestUtil.h"

#include "datafiles/Olm_OptFileReader.h"
#include "kfz/Olm_KfzWizData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Blocks TKL1 and TKL2 of type TKL_ADV with inactive pins, RKO1 of another
// type, and two transceiver blocks LANE_A and LANE_B.
class OptFile : public ::testing::Test {
protected:
    OptFile() {
        Olm_Block* tkl1 = data.AddBlock("TKL1", "TKL_ADV");
        tkl1->AddPin("CLKIN", "input")->SetIsActive(false);
        tkl1->AddPin("CLK0", "output")->SetIsActive(false);
        data.AddBlock("TKL2", "TKL_ADV")->AddPin("CLK0", "output")->SetIsActive(false);
        data.AddBlock("RKO1", "RKO_ADV");
        data.AddBlock("LANE_A", "HSXA");
        data.AddBlock("LANE_B", "HSXA");
    }

    // Reads the text as an option file in batch mode, silently, logging to log.
    bool Read(const std::string& text) {
        path = dir.Write("options.opt", text);
        Olm_OptFileReader reader;
        reader.SetBatchMode(true);
        reader.SetSilent(true);
        reader.SetLogFile(&log);
        return reader.Read(&data, path.c_str());
    }

    olmtest::ScratchDir dir;
    std::string path;
    Pal::MemoryStream log;
    Olm_WizData data{"tkl_bddeskew"};
};

// The files of golden/optfile (see its README): NAME.opt read into the
// fixture's container gives the log of NAME.expected (the path written
// <file>), "read" or "failed", and the description of the container after.
class OptFileCase : public OptFile, public ::testing::WithParamInterface<std::string> {};

TEST_P(OptFileCase, GivesTheExpectedLogAndContainer) {
    const std::string golden = std::string(OLM_DATAFILES_GOLDEN_DIR) + "/optfile/" + GetParam();
    const bool ok = Read(olmtest::ReadFile(golden + ".opt"));
    const std::string seen = dftest::WithoutPath(log.Text(), path) + (ok ? "read\n" : "failed\n") + olmtest::Describe(data);
    EXPECT_EQ(seen, olmtest::ReadFile(golden + ".expected"));
}

INSTANTIATE_TEST_SUITE_P(Golden, OptFileCase, ::testing::ValuesIn(dftest::GoldenCases("optfile", ".opt")),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST_F(OptFile, FileAndContainerProblems) {
    Olm_OptFileReader reader;
    reader.SetBatchMode(true);
    reader.SetSilent(true);
    reader.SetLogFile(&log);
    EXPECT_TRUE(reader.Read(nullptr, "/no/such/file.opt"));
    EXPECT_EQ(log.Text(), "");
    EXPECT_FALSE(reader.Read(&data, "/no/such/file.opt"));
    EXPECT_EQ(log.Text(), "ERROR: Could not find the specified option file /no/such/file.opt\n");
    EXPECT_EQ(reader.GetErrorCount(), 0);

    // The bridge refuses without a container or a file name.
    Pal::String name(dir.Write("x.opt", "BlockProp: TKL_ADV.*.X=1;\n").c_str()), none;
    EXPECT_FALSE(Olm_KfzWizData(nullptr, "tkl_bddeskew").ReadOptFile(name));
    Olm_KfzWizData bridge(nullptr, "tkl_bddeskew");
    bridge.SetWizDataPtr(&data);
    EXPECT_FALSE(bridge.ReadOptFile(none));
}

// The test suite runs under one QApplication (GuiTestMain.cpp); the fixture
// checks that no window is left behind.
using OptFileGui = guitest::GuiTest;

TEST_F(OptFileGui, ErrorsAppearInACriticalMessageBoxAndNotInTheLog) {
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("gui.opt", "Bogus: 1;\n");
    Olm_WizData data;
    Pal::MemoryStream log;
    Olm_OptFileReader reader;
    reader.SetBatchMode(false);
    reader.SetLogFile(&log);
    guitest::BoxAnswerer answerer;
    EXPECT_FALSE(reader.Read(&data, path.c_str()));
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes()[0].text.toStdString(),
              "<qt>ERROR in reading " + path + ":\n\nUnrecognized keyword on line 1 :\n  Bogus: 1;\n\n");
    EXPECT_EQ(log.Text(), "");
}

}  // namespace
