// The option-file reader in batch mode (messages in a memory log, effects on
// the container) and once in GUI mode (the message box).

#include "TestSupport.h"

#include "datafiles/Olm_OptFileReader.h"
#include "kfz/Olm_KfzWizData.h"
#include "model/Olm_Block.h"
#include "model/Olm_WizData.h"
#include "pal/Stream.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <memory>
#include <string>

namespace {

class OptFile : public ::testing::Test {
protected:
    OptFile() {
        Olm_Block* tkl1 = data.AddBlock("TKL1", "TKL_ADV");
        tkl1->AddPin("CLKIN", "input")->SetIsActive(false);
        tkl1->AddPin("CLK0", "output")->SetIsActive(false);
        Olm_Block* tkl2 = data.AddBlock("TKL2", "TKL_ADV");
        tkl2->AddPin("CLK0", "output")->SetIsActive(false);
        data.AddBlock("RKO1", "RKO_ADV");
    }

    // Reads the text as an option file in batch mode, silently, logging to log.
    bool Read(const std::string& text, Olm_WizData* target = nullptr) {
        path = dir.Write("options.opt", text);
        Olm_OptFileReader reader;
        reader.SetBatchMode(true);
        reader.SetSilent(true);
        reader.SetLogFile(&log);
        return reader.Read(target ? target : &data, path.c_str());
    }

    // The log line of one statement error, as written by the batch messages.
    std::string Error(const std::string& what, const std::string& statement) const {
        return "ERROR: ERROR in reading " + path + ":\n\n" + what + " :\n  " + statement + "\n\n";
    }

    Pal::String Attr(const char* block, const char* name) {
        Olm_Block* b = data.GetNamedBlock(block);
        return b ? b->GetAttributeValue(name) : Pal::String("<no block>");
    }

    bool PinOn(const char* block, const char* pin) { return data.GetNamedBlock(block)->IsPinActive(pin); }

    olmtest::ScratchDir dir;
    std::string path;
    Pal::MemoryStream log;
    Olm_WizData data{"tkl_bddeskew"};
};

}  // namespace

TEST_F(OptFile, FilesWithoutStatementsChangeNothing) {
    EXPECT_TRUE(Read(""));
    EXPECT_TRUE(Read("# a comment\n\n   \n# BlockProp: TKL_ADV.*.X=1;\n#last line without its end"));
    EXPECT_TRUE(Read("\r\n# windows line ends\r\n   \r\n"));
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_EQ(Attr("TKL1", "X"), "");
}

TEST_F(OptFile, StatementsTakeEffectInFileOrder) {
    EXPECT_TRUE(Read("BlockProp: TKL_ADV.*.CLKOUT_DIVIDE=4;\n"
                     "  BlockProp : tkl_adv . TKL2 . CLKOUT_DIVIDE = 5 ;  trailing text is ignored\n"
                     "BlockProp: TKL_ADV.TKL1.FORMULA=a.b=c;\r\n"
                     "UsePins: TKL_ADV.TKL1.CLKIN;\n"
                     "UsePin: TKL_ADV.TKL2.NOSUCHPIN;\n"
                     "UsePin: TKL_ADV.TKL2.CLK0\n"));
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(Attr("TKL1", "CLKOUT_DIVIDE"), "4");
    EXPECT_EQ(Attr("TKL2", "CLKOUT_DIVIDE"), "5");  // the later statement wins
    EXPECT_EQ(Attr("RKO1", "CLKOUT_DIVIDE"), "");
    EXPECT_EQ(Attr("TKL1", "FORMULA"), "a.b=c");   // "." and "=" inside a value
    EXPECT_TRUE(PinOn("TKL1", "CLKIN"));            // "UsePins" counts as "UsePin"
    EXPECT_FALSE(PinOn("TKL1", "CLK0"));
    // Without ";" the pin name keeps the line end and matches no pin.
    EXPECT_FALSE(PinOn("TKL2", "CLK0"));
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
    int active = 0;
    for (Olm_Block* b : data.GetBlkList()) active += b->IsActive();
    EXPECT_EQ(active, 1);
    EXPECT_TRUE(data.GetNamedBlock("LANE_B")->IsActive());
}

TEST_F(OptFile, ClockBufferTypes) {
    EXPECT_TRUE(Read("TklClkBuf: TKL_ADV.*.CLK0=Global Buffer;\nTklClkBuf: TKL_ADV.TKL1.CLKIN=local routing;\n"));
    EXPECT_TRUE(PinOn("TKL1", "CLK0"));
    EXPECT_TRUE(PinOn("TKL2", "CLK0"));
    EXPECT_EQ(Attr("TKL2", "OLMW_ONLY_SETCLKBUF_,CLK0"), "Global Buffer");
    EXPECT_EQ(Attr("TKL1", "OLMW_ONLY_SETCLKBUF_,CLKIN"), "local routing");  // stored as written

    log.Clear();
    EXPECT_FALSE(Read("TklClkBuf: TKL_ADV.*.CLK0=Fast Buffer;\nTklClkBuf: TKL_ADV.*.CLK0=;\n"));
    EXPECT_EQ(log.Text(),
              Error("Illegal value for the clock buffer type in TklClkBuf line# 1",
                    "TklClkBuf: TKL_ADV.*.CLK0=Fast Buffer;\n") +
                  Error("Missing clock buffer type in TklClkBuf line# 2", "TklClkBuf: TKL_ADV.*.CLK0=;\n"));
    EXPECT_EQ(Attr("TKL2", "OLMW_ONLY_SETCLKBUF_,CLK0"), "Global Buffer");
}

TEST_F(OptFile, StatementErrorsAndTheirTexts) {
    EXPECT_FALSE(Read("BlockProp: TKL_ADV.RKO1.CLKOUT_DIVIDE=4;\n"
                      "BlockProp: TKL_ADV.PHASE=1;\n"));
    EXPECT_EQ(log.Text(), Error("Cannot process block specified in BlockProp line# 1",
                                "BlockProp: TKL_ADV.RKO1.CLKOUT_DIVIDE=4;\n") +
                              Error("Missing property name in BlockProp line# 2", "BlockProp: TKL_ADV.PHASE=1;\n"));
    EXPECT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_EQ(Attr("RKO1", "CLKOUT_DIVIDE"), "");

    log.Clear();
    EXPECT_FALSE(Read("UsePin: TKL_ADV.*;\nTklClkBuf: TKL_ADV;\nBlockProp: ;\n"));
    EXPECT_EQ(log.Text(), Error("Missing pinname in UsePin line# 1", "UsePin: TKL_ADV.*;\n") +
                              Error("Missing blkname in BlockProp line# 2", "TklClkBuf: TKL_ADV;\n") +
                              Error("Missing primitive in BlockProp line# 3", "BlockProp: ;\n"));

    log.Clear();
    EXPECT_FALSE(Read("BlockProp: TKL_ADV.TKL1.X=;\n# comment\n  # note\n"));
    EXPECT_EQ(log.Text(), Error("Missing property value in BlockProp line# 1", "BlockProp: TKL_ADV.TKL1.X=;\n") +
                              Error("Unrecognized keyword on line 3", "# note\n"));

    // A missing terminator: no ":" at all, or nothing but ";" after the ":"
    // (on the last line, which has no line end to form a value).
    log.Clear();
    EXPECT_FALSE(Read("UsePin TKL_ADV.*.CLK0\n\t\nBlockProp:;;"));
    EXPECT_EQ(log.Text(),
              "ERROR: ERROR in reading " + path +
                  ":\n\nMissing ';' to terminate the statement at line 1 :\n  UsePin TKL_ADV.*.CLK0\n\n\n" +
                  Error("Unrecognized keyword on line 2", "\t\n") + "ERROR: ERROR in reading " + path +
                  ":\n\nMissing ';' to terminate the statement at line 3 :\n  BlockProp:;;\n\n");
    EXPECT_FALSE(PinOn("TKL1", "CLK0"));
}

TEST_F(OptFile, BlankFieldsNameNothing) {
    EXPECT_FALSE(Read("BlockProp: TKL_ADV. .X=1;\nBlockProp: TKL_ADV.TKL1. =1;\nUsePin: TKL_ADV.TKL1. ;\n"));
    EXPECT_EQ(log.Text(), Error("Missing blkname in BlockProp line# 1", "BlockProp: TKL_ADV. .X=1;\n") +
                              Error("Missing property name in BlockProp line# 2", "BlockProp: TKL_ADV.TKL1. =1;\n") +
                              Error("Missing pinname in UsePin line# 3", "UsePin: TKL_ADV.TKL1. ;\n"));
    EXPECT_EQ(data.GetBlkList().size(), 3u);
    EXPECT_EQ(data.GetNamedBlock("TKL1")->GetAttributeList().size(), 0u);
}

TEST_F(OptFile, TheThirdErrorStopsTheReading) {
    EXPECT_FALSE(Read("BlockProp: TKL_ADV.TKL1.A=1;\n"
                      "Bogus: 1;\n"
                      "BlockProp: TKL_ADV.PHASE=1;\n"
                      "BlockProp: TKL_ADV.RKO1.X=1;\n"
                      "BlockProp: TKL_ADV.TKL1.B=2;\n"
                      "Bogus: 2;\n"));
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
    EXPECT_EQ(log.Text(), Error("Unrecognized keyword on line 2", rest + "\n") +
                              Error("Unrecognized keyword on line 4", "Bogus\n"));
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
    Olm_KfzWizData bridge(nullptr, "tkl_bddeskew");
    Pal::String name(dir.Write("x.opt", "BlockProp: TKL_ADV.*.X=1;\n").c_str());
    EXPECT_FALSE(bridge.ReadOptFile(name));
}

TEST(OptFileGui, ErrorsAppearInACriticalMessageBox) {
    int argc = 1;
    char appName[] = "optfile_tests";
    char* argv[] = {appName, nullptr};
    QApplication app(argc, argv);
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("gui.opt", "Bogus: 1;\n");
    Olm_WizData data;
    Pal::MemoryStream log;

    QString shown;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            shown = box->text();
            icon = box->icon();
            box->accept();
        }
    });
    closer.start(20);
    Olm_OptFileReader reader;
    reader.SetBatchMode(false);
    reader.SetLogFile(&log);
    EXPECT_FALSE(reader.Read(&data, path.c_str()));
    closer.stop();

    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(shown.toStdString(),
              "<qt>ERROR in reading " + path + ":\n\nUnrecognized keyword on line 1 :\n  Bogus: 1;\n\n");
    EXPECT_EQ(log.Text(), "");  // GUI messages write no log lines
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}
