// Errors of the reader: exact texts, counting, the limit per section, the
// abort flag, what is kept or dropped, over-long lines and the input stream.

#include "ReaderTestUtil.h"

#include "datafiles/Olm_DataFileReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace dftest;
using ::testing::ElementsAre;

namespace {

struct ErrorCase {
    const char* what;
    std::string text;
    std::vector<std::string> reports;  // also the error count
    std::string model;                 // Describe of what was kept
};

const std::string kLongValue = "PossibleValues: " + std::string(300, 'v') + ";";
const std::string kLongJunk = "Junk: " + std::string(400, 'j') + ";";

TEST(ReaderErrors, MessagesCountsAndWhatIsKept) {
    const ErrorCase cases[] = {
        {"only comments", "# only a comment\n\n   \n", {MissingWizData()}, "wiz  v\n"},
        {"file level: '#' after blanks is no comment, no error limit",
         "# c\n  # note\nBlock: B;\nVersion:;\nVersion:\nOther\nWizData: w;\n",
         {Unrecognized(2, "# note"), Unrecognized(3, "Block: B;"), MissingValue(4, "Version:;"),
          MissingValue(5, "Version:"), Unrecognized(6, "Other")},
         "wiz w v\n"},
        {"WizData without a name", "WizData:;\n", {MissingValue(1, "WizData:;")}, "wiz  v\n"},
        {"invalid pin value drops pin and block and aborts",
         "WizData: w;\nBlock: GOOD;\nEndBlock;\nBlock: BAD;\nInputPin: D; HasBus=YES;\nInputPin: E;\nEndBlock;\n"
         "Block: NEVER;\nEndBlock;\nEndWizData;\nVersion: 9;\n",
         {Invalid("YES", 5)},
         "wiz w v\nblock GOOD \n"},
        {"block section", "WizData: w;\nBlock: B;\nPrimitive:;\n;\nWeird: 1;\nPrimitive: NOT_REACHED;\n",
         {MissingValue(3, "Primitive:;"), NoKey(4, ";"), Unrecognized(5, "Weird: 1;")},
         "wiz w v\n"},
        {"attribute without DefaultValue and PossibleValues",
         "WizData: w;\nBlock: B;\nAttribute: A;\n\nEndAttribute;\nEndBlock;\n",
         {MissingDefault(5), MissingPossible(5)},
         "wiz w v\n"},
        {"attribute statements; the third error ends the attribute",
         "WizData: w;\nBlock: B;\nAttribute: A;\nPossibleValues: 1;\nIsModifiable: MAYBE;\nSaveToKFZ:;\n"
         "DefaultValue:;\nEndAttribute;\n",
         {Invalid("MAYBE", 5), MissingValue(6, "SaveToKFZ:;"), MissingValue(7, "DefaultValue:;")},
         "wiz w v\n"},
        {"attribute ending on the limit still checks its statements",
         "WizData: w;\nBlock: B;\nAttribute: A;\nBad1;\nBad2;\nBad3;\nBad4;\n",
         {Unrecognized(4, "Bad1;"), Unrecognized(5, "Bad2;"), Unrecognized(6, "Bad3;"), MissingDefault(6),
          MissingPossible(6)},
         "wiz w v\n"},
        {"signal section", "WizData: w;\nSignal: S;\nGrounded: yes;\nExternal:;\nVCC: TRUE;\nEndSignal;\n",
         {Invalid("yes", 3), MissingValue(4, "External:;"), Unrecognized(5, "VCC: TRUE;")},
         "wiz w v\n"},
        {"a failing section of a held signal leaves it, as far as it was read",
         "WizData: w;\nSignal: S;\nExternal: PORT;\nEndSignal;\nSignal: S;\nBus: 4;\nSaveToKFZ: NO;\nEndSignal;\n",
         {Invalid("NO", 7)},
         "wiz w v\nsignal S ext port=PORT bus w=4\n"},
        {"WizData ending on the limit falls back to the file level",
         "WizData: w;\nBlock:;\nBlock:;\nBlock:;\nSignal: S;\nEndSignal;\nVersion: 3;\n",
         {MissingValue(2, "Block:;"), MissingValue(3, "Block:;"), MissingValue(4, "Block:;"),
          Unrecognized(5, "Signal: S;"), Unrecognized(6, "EndSignal;")},
         "wiz w v3\n"},
        {"an over-long line is an error, never cut short",
         "WizData: w;\nBlock: B;\nAttribute: A;\n" + kLongValue + "\nDefaultValue: 1;\nEndAttribute;\nEndBlock;\n",
         {LongLine(4, kLongValue), MissingPossible(6)},
         "wiz w v\n"},
        {"over-long lines count towards the limit",
         "WizData: w;\n" + kLongJunk + "\n" + kLongJunk + "\n" + kLongJunk + "\nBlock: B;\nEndBlock;\n",
         {LongLine(2, kLongJunk), LongLine(3, kLongJunk), LongLine(4, kLongJunk)},
         "wiz w v\n"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.what);
        Olm_WizData wd;
        const auto r = ReadText(c.text, wd);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.reports, c.reports);
        EXPECT_EQ(r.errorCount, static_cast<int>(c.reports.size()));
        EXPECT_EQ(Describe(wd), c.model);
        for (const auto& report : r.details) {
            EXPECT_EQ(report.category, "DesignEntry");
            EXPECT_EQ(report.source, "../s/Reader");
        }
    }
}

TEST(ReaderErrors, OpenFailureIsReportedButNotCounted) {
    olmtest::ScratchDir dir;
    const std::string missing = dir.File("absent.dev");
    olmtest::MsgCapture capture;
    Olm_DataFileReader reader;
    EXPECT_FALSE(reader.Open(missing.c_str()));
    EXPECT_EQ(reader.GetErrorCount(), 0);
    EXPECT_THAT(capture.Texts(), ElementsAre("ERROR:  Could not open " + missing + "\n"));
    Olm_WizData wd;
    EXPECT_FALSE(reader.ReadFile(&wd));
    EXPECT_EQ(capture.Texts().size(), 1u);
}

TEST(ReaderErrors, AbortEndsStatementFetchingAndNullContainerIsRefused) {
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("a.dev", "WizData: w;\nBlock: B;\nBadKey;\nEndBlock;\nWizData: x;\n");
    olmtest::MsgCapture capture;
    Olm_DataFileReader reader;
    ASSERT_TRUE(reader.Open(path.c_str()));
    EXPECT_FALSE(reader.ReadFile(nullptr));
    Olm_WizData wd;
    EXPECT_FALSE(reader.ReadFile(&wd));
    EXPECT_TRUE(reader.IsAborted());
    EXPECT_EQ(reader.GetLineNumber(), 4);  // stopped after EndBlock
    EXPECT_EQ(reader.GetNextStatement(), nullptr);
    EXPECT_EQ(wd.GetWizType(), "w");
}

int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
    return n;
}

TEST(ReaderErrors, OpeningAgainAndDestroyingTheReaderCloseItsInput) {
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("a.dev", "WizData: w;\n");
    const int before = OpenDescriptors();
    {
        Olm_DataFileReader reader;
        ASSERT_TRUE(reader.Open(path.c_str()));
        ASSERT_TRUE(reader.Open(path.c_str()));
        EXPECT_EQ(OpenDescriptors(), before + 1);
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

}  // namespace
