// The option-file reader in batch mode (messages in a memory log, effects on
// the container) and once in GUI mode (the message box).

#include "GuiTestSupport.h"
#include "ModelBuilders.h"
#include "TestSupport.h"

#include "datafiles/Olm_OptFileReader.h"
#include "kfz/Olm_KfzWizData.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <string>
#include <vector>

namespace {

// Blocks TKL1 and TKL2 of type TKL_ADV with inactive pins, and RKO1 of another type.
class OptFile : public ::testing::Test {
protected:
    OptFile() {
        Olm_Block* tkl1 = data.AddBlock("TKL1", "TKL_ADV");
        tkl1->AddPin("CLKIN", "input")->SetIsActive(false);
        tkl1->AddPin("CLK0", "output")->SetIsActive(false);
        data.AddBlock("TKL2", "TKL_ADV")->AddPin("CLK0", "output")->SetIsActive(false);
        data.AddBlock("RKO1", "RKO_ADV");
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

    // The log lines of statement errors, as written by the batch messages.
    std::string Errors(const std::vector<std::pair<std::string, std::string>>& errors) const {
        std::string text;
        for (const auto& [what, statement] : errors)
            text += "ERROR: ERROR in reading " + path + ":\n\n" + what + " :\n  " + statement + "\n\n";
        return text;
    }

    Pal::String Attr(const char* block, const char* name) { return data.GetNamedBlock(block)->GetAttributeValue(name); }
    bool PinOn(const char* block, const char* pin) { return data.GetNamedBlock(block)->IsPinActive(pin); }

    olmtest::ScratchDir dir;
    std::string path;
    Pal::MemoryStream log;
    Olm_WizData data{"tkl_bddeskew"};
};

// Files whose statements are all faulty, or that hold none: their messages,
// in file order, and a container left as it was.
struct Faulty {
    const char* text;
    std::vector<std::pair<std::string, std::string>> errors;  // message, statement as shown
};

class OptFileFaulty : public OptFile, public ::testing::WithParamInterface<Faulty> {};

TEST_P(OptFileFaulty, ReportEachStatementAndChangeNothing) {
    const std::string before = olmtest::DumpText(data);
    EXPECT_EQ(Read(GetParam().text), GetParam().errors.empty());
    EXPECT_EQ(log.Text(), Errors(GetParam().errors));
    EXPECT_EQ(olmtest::DumpText(data), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OptFileFaulty,
    ::testing::Values(
        Faulty{"", {}}, Faulty{"\r\n# windows line ends\r\n   \r\n", {}},
        Faulty{"# a comment\n\n   \n# BlockProp: TKL_ADV.*.X=1;\n#last line without its end", {}},
        Faulty{"BlockProp: TKL_ADV.RKO1.CLKOUT_DIVIDE=4;\nBlockProp: TKL_ADV.PHASE=1;\n",
               {{"Cannot process block specified in BlockProp line# 1", "BlockProp: TKL_ADV.RKO1.CLKOUT_DIVIDE=4;\n"},
                {"Missing property name in BlockProp line# 2", "BlockProp: TKL_ADV.PHASE=1;\n"}}},
        // The missing block is reported under BlockProp, whatever the keyword.
        Faulty{"UsePin: TKL_ADV.*;\nTklClkBuf: TKL_ADV;\nBlockProp: ;\n",
               {{"Missing pinname in UsePin line# 1", "UsePin: TKL_ADV.*;\n"},
                {"Missing blkname in BlockProp line# 2", "TklClkBuf: TKL_ADV;\n"},
                {"Missing primitive in BlockProp line# 3", "BlockProp: ;\n"}}},
        Faulty{"BlockProp: TKL_ADV.TKL1.X=;\n# comment\n  # note\n",
               {{"Missing property value in BlockProp line# 1", "BlockProp: TKL_ADV.TKL1.X=;\n"},
                {"Unrecognized keyword on line 3", "# note\n"}}},
        // No ":" at all, a line of a tab, nothing but ";" after the ":" on
        // the last line (which has no line end to form a value).
        Faulty{"UsePin TKL_ADV.*.CLK0\n\t\nBlockProp:;;",
               {{"Missing ';' to terminate the statement at line 1", "UsePin TKL_ADV.*.CLK0\n"},
                {"Unrecognized keyword on line 2", "\t\n"},
                {"Missing ';' to terminate the statement at line 3", "BlockProp:;;"}}},
        Faulty{"BlockProp: TKL_ADV. .X=1;\nBlockProp: TKL_ADV.TKL1. =1;\nUsePin: TKL_ADV.TKL1. ;\n",
               {{"Missing blkname in BlockProp line# 1", "BlockProp: TKL_ADV. .X=1;\n"},
                {"Missing property name in BlockProp line# 2", "BlockProp: TKL_ADV.TKL1. =1;\n"},
                {"Missing pinname in UsePin line# 3", "UsePin: TKL_ADV.TKL1. ;\n"}}},
        Faulty{"TklClkBuf: TKL_ADV.*.CLK0=Fast Buffer;\nTklClkBuf: TKL_ADV.*.CLK0=;\n",
               {{"Illegal value for the clock buffer type in TklClkBuf line# 1", "TklClkBuf: TKL_ADV.*.CLK0=Fast Buffer;\n"},
                {"Missing clock buffer type in TklClkBuf line# 2", "TklClkBuf: TKL_ADV.*.CLK0=;\n"}}}));

TEST_F(OptFile, StatementsTakeEffectInFileOrder) {
    EXPECT_TRUE(Read("BlockProp: TKL_ADV.*.CLKOUT_DIVIDE=4;\n"
                     "  BlockProp : tkl_adv . TKL2 . CLKOUT_DIVIDE = 5 ;  trailing text is ignored\n"
                     "BlockProp: TKL_ADV.TKL1.FORMULA=a.b=c;\r\n"
                     "UsePins: TKL_ADV.TKL1.CLKIN;\nUsePin: TKL_ADV.TKL2.NOSUCHPIN;\nUsePin: TKL_ADV.TKL2.CLK0\n"));
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(Attr("TKL1", "CLKOUT_DIVIDE"), "4");
    EXPECT_EQ(Attr("TKL2", "CLKOUT_DIVIDE"), "5");  // the later statement wins
    EXPECT_EQ(Attr("RKO1", "CLKOUT_DIVIDE"), "");
    EXPECT_EQ(Attr("TKL1", "FORMULA"), "a.b=c");   // "." and "=" inside a value
    EXPECT_TRUE(PinOn("TKL1", "CLKIN"));            // "UsePins" counts as "UsePin"
    EXPECT_FALSE(PinOn("TKL1", "CLK0"));
    EXPECT_FALSE(PinOn("TKL2", "CLK0"));  // without ";" the pin name keeps the line end and matches no pin
    EXPECT_EQ(data.GetBlkList().size(), 3u);
}

TEST_F(OptFile, StarWithoutABlockOfTheTypeCreatesOne) {
    EXPECT_TRUE(Read("BlockProp: tkl_sp.*.CLKOUT_DIVIDE=4;\nBlockProp: TKL_SP.*.PHASE=90;\n"));
    ASSERT_EQ(data.GetBlkList().size(), 4u);
    Olm_Block* created = data.GetBlkList().back();
    EXPECT_EQ(created->GetName(), "TKL_SP_INST");
    EXPECT_EQ(created->GetPrimType(), "tkl_sp");
    EXPECT_EQ(created->GetAttributeValue("CLKOUT_DIVIDE"), "4");
    EXPECT_EQ(created->GetAttributeValue("PHASE"), "90");  // the second statement finds it by type
}

TEST_F(OptFile, DisplayNameLeavesTheLastTransceiverBlockActive) {
    data.AddBlock("LANE_A", "HSXA");
    data.AddBlock("LANE_B", "HSXA");
    EXPECT_TRUE(Read("BlockProp: HSXA.*.HSX_DISPLAY_NAME=Lane0;\n"));
    EXPECT_EQ(Attr("LANE_A", "HSX_DISPLAY_NAME"), "Lane0");
    EXPECT_EQ(Attr("LANE_B", "HSX_DISPLAY_NAME"), "Lane0");
    for (Olm_Block* b : data.GetBlkList()) EXPECT_EQ(b->IsActive(), b->GetName() == "LANE_B") << b->GetName().str();
}

TEST_F(OptFile, ClockBufferSwitchesThePinOnAndRecordsTheType) {
    EXPECT_TRUE(Read("TklClkBuf: TKL_ADV.*.CLK0=Global Buffer;\nTklClkBuf: TKL_ADV.TKL1.CLKIN=local routing;\n"));
    EXPECT_TRUE(PinOn("TKL1", "CLK0"));
    EXPECT_TRUE(PinOn("TKL2", "CLK0"));
    EXPECT_EQ(Attr("TKL2", "OLMW_ONLY_SETCLKBUF_,CLK0"), "Global Buffer");
    EXPECT_EQ(Attr("TKL1", "OLMW_ONLY_SETCLKBUF_,CLKIN"), "local routing");  // stored as written
}

TEST_F(OptFile, TheThirdErrorStopsTheReading) {
    EXPECT_FALSE(Read("BlockProp: TKL_ADV.TKL1.A=1;\nBogus: 1;\nBlockProp: TKL_ADV.PHASE=1;\n"
                      "BlockProp: TKL_ADV.RKO1.X=1;\nBlockProp: TKL_ADV.TKL1.B=2;\nBogus: 2;\n"));
    EXPECT_EQ(Attr("TKL1", "A"), "1");  // applied before the errors, and kept
    EXPECT_EQ(Attr("TKL1", "B"), "");   // after the third error: not read
    std::size_t messages = 0;
    for (std::size_t at = 0; (at = log.Text().find("ERROR: ", at)) != std::string::npos; ++at) ++messages;
    EXPECT_EQ(messages, 3u);
}

TEST_F(OptFile, ALineOf300CharactersIsReadAsTwoStatements) {
    const std::string head = "BlockProp: TKL_ADV.TKL1.LONG=";
    const std::string first = head + std::string(255 - head.size(), 'v');
    const std::string rest = std::string(44, 'w') + ";";
    ASSERT_EQ((first + rest).size(), 300u);
    EXPECT_FALSE(Read(first + rest + "\nBlockProp: TKL_ADV.TKL2.SHORT=1;\nBogus\n"));
    // The first piece is a statement of its own, without ";" and line end.
    EXPECT_EQ(Attr("TKL1", "LONG"), std::string(255 - head.size(), 'v'));
    EXPECT_EQ(Attr("TKL2", "SHORT"), "1");
    // The rest is line 2, the lines after it count on from there.
    EXPECT_EQ(log.Text(), Errors({{"Unrecognized keyword on line 2", rest + "\n"},
                                  {"Unrecognized keyword on line 4", "Bogus\n"}}));
}

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

TEST(OptFileGui, ErrorsAppearInACriticalMessageBoxAndNotInTheLog) {
    int argc = 1;
    char appName[] = "datafiles_tests";
    char* argv[] = {appName, nullptr};
    QApplication app(argc, argv);
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("gui.opt", "Bogus: 1;\n");
    Olm_WizData data;
    Pal::MemoryStream log;
    Olm_OptFileReader reader;
    reader.SetBatchMode(false);
    reader.SetLogFile(&log);
    {
        guitest::BoxAnswerer answerer;
        EXPECT_FALSE(reader.Read(&data, path.c_str()));
        ASSERT_EQ(answerer.Boxes().size(), 1u);
        EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
        EXPECT_EQ(answerer.Boxes()[0].text.toStdString(),
                  "<qt>ERROR in reading " + path + ":\n\nUnrecognized keyword on line 1 :\n  Bogus: 1;\n\n");
    }
    EXPECT_EQ(log.Text(), "");
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace
