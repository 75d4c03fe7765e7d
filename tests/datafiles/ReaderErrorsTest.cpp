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

TEST(ReaderErrors, FileLevelErrorsAndTheMissingWizData) {
    Olm_WizData wd;
    auto r = ReadText("# only a comment\n\n   \n", wd);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCount, 1);
    EXPECT_THAT(r.reports, ElementsAre(MissingWizData(r.path)));

    // A "#" after blanks is no comment; the file level has no error limit.
    r = ReadText("# c\n  # note\nBlock: B;\nVersion:;\nVersion:\nOther\nWizData: w;\n", wd);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCount, 5);
    EXPECT_THAT(r.reports, ElementsAre(Unrecognized(r.path, 2, "# note"), Unrecognized(r.path, 3, "Block: B;"),
                                       MissingValue(r.path, 4, "Version:;"), MissingValue(r.path, 5, "Version:"),
                                       Unrecognized(r.path, 6, "Other")));

    r = ReadText("WizData:;\n", wd);  // seen, but without a name
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.reports, ElementsAre(MissingValue(r.path, 1, "WizData:;")));
}

TEST(ReaderErrors, ReportsGoToTheMessageManagerAsDesignEntryErrorsOfTheReader) {
    Olm_WizData wd;
    const auto r = ReadText("Junk\n", wd);
    ASSERT_EQ(r.details.size(), 2u);
    for (const auto& report : r.details) {
        EXPECT_EQ(report.category, "DesignEntry");
        EXPECT_EQ(report.source, "../s/Reader");
    }
}

TEST(ReaderErrors, InvalidPinValueDropsPinAndBlockAndStopsReading) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Block: GOOD;\nEndBlock;\n"
        "Block: BAD;\n"
        "InputPin: D; HasBus=YES;\n"
        "InputPin: E;\n"
        "EndBlock;\n"
        "Block: NEVER;\nEndBlock;\n"
        "EndWizData;\n"
        "Version: 9;\n",
        wd);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCount, 1);
    EXPECT_THAT(r.reports, ElementsAre(Invalid(r.path, "YES", 5)));
    ASSERT_EQ(wd.GetBlkList().size(), 1u);
    EXPECT_EQ(wd.GetBlkList()[0]->GetName(), "GOOD");
    EXPECT_EQ(wd.GetVersion(), "");  // aborted before the Version statement
}

TEST(ReaderErrors, BlockSectionErrors) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Block: B;\n"
        "Primitive:;\n"
        ";\n"
        "Weird: 1;\n"
        "Primitive: NOT_REACHED;\n",
        wd);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCount, 3);
    EXPECT_THAT(r.reports, ElementsAre(MissingValue(r.path, 3, "Primitive:;"), NoKey(r.path, 4, ";"),
                                       Unrecognized(r.path, 5, "Weird: 1;")));
    EXPECT_TRUE(wd.GetBlkList().empty());
}

TEST(ReaderErrors, AttributeWithoutDefaultOrPossibleValues) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Block: B;\n"
        "Attribute: A;\n"
        "\n"
        "EndAttribute;\n"
        "EndBlock;\n",
        wd);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.reports, ElementsAre(MissingDefault(r.path, 5), MissingPossible(r.path, 5)));
    EXPECT_TRUE(wd.GetBlkList().empty());
}

TEST(ReaderErrors, AttributeStatementErrors) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Block: B;\n"
        "Attribute: A;\n"
        "PossibleValues: 1;\n"
        "IsModifiable: MAYBE;\n"
        "SaveToKFZ:;\n"
        "DefaultValue:;\n"
        "EndAttribute;\n",
        wd);
    EXPECT_FALSE(r.ok);
    // The third error ends the attribute at once; DefaultValue was seen.
    EXPECT_THAT(r.reports, ElementsAre(Invalid(r.path, "MAYBE", 5), MissingValue(r.path, 6, "SaveToKFZ:;"),
                                       MissingValue(r.path, 7, "DefaultValue:;")));
}

TEST(ReaderErrors, AttributeEndingOnTheLimitStillChecksItsStatements) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\nBlock: B;\nAttribute: A;\n"
        "Bad1;\nBad2;\nBad3;\nBad4;\n",
        wd);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCount, 5);
    EXPECT_THAT(r.reports,
                ElementsAre(Unrecognized(r.path, 4, "Bad1;"), Unrecognized(r.path, 5, "Bad2;"),
                            Unrecognized(r.path, 6, "Bad3;"), MissingDefault(r.path, 6), MissingPossible(r.path, 6)));
}

TEST(ReaderErrors, SignalSectionErrors) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Signal: S;\n"
        "Grounded: yes;\n"
        "External:;\n"
        "VCC: TRUE;\n"
        "EndSignal;\n",
        wd);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.reports, ElementsAre(Invalid(r.path, "yes", 3), MissingValue(r.path, 4, "External:;"),
                                       Unrecognized(r.path, 5, "VCC: TRUE;")));
    EXPECT_TRUE(wd.GetSigList().empty());
}

TEST(ReaderErrors, FailingSectionOfAnExistingSignalLeavesItInTheContainer) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Signal: S;\nExternal: PORT;\nEndSignal;\n"
        "Signal: S;\nBus: 4;\nSaveToKFZ: NO;\nEndSignal;\n",
        wd);
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.reports, ElementsAre(Invalid(r.path, "NO", 7)));
    ASSERT_EQ(wd.GetSigList().size(), 1u);
    // The statements read before the error stay applied.
    EXPECT_TRUE(wd.GetSigList()[0]->IsExternal());
    EXPECT_TRUE(wd.GetSigList()[0]->IsBus());
}

TEST(ReaderErrors, WizDataEndingOnTheLimitFallsBackToTheFileLevel) {
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Block:;\nBlock:;\nBlock:;\n"
        "Signal: S;\n"
        "EndSignal;\n"
        "Version: 3;\n",
        wd);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCount, 5);
    EXPECT_THAT(r.reports, ElementsAre(MissingValue(r.path, 2, "Block:;"), MissingValue(r.path, 3, "Block:;"),
                                       MissingValue(r.path, 4, "Block:;"), Unrecognized(r.path, 5, "Signal: S;"),
                                       Unrecognized(r.path, 6, "EndSignal;")));
    EXPECT_EQ(wd.GetVersion(), "3");  // no abort: the file level went on
}

TEST(ReaderErrors, OverlongLineIsAnErrorAndNeverCutShort) {
    const std::string value(300, 'v');
    Olm_WizData wd;
    const auto r = ReadText(
        "WizData: w;\n"
        "Block: B;\n"
        "Attribute: A;\n"
        "PossibleValues: " + value + ";\n"
        "DefaultValue: 1;\n"
        "EndAttribute;\n"
        "EndBlock;\n",
        wd);
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.reports.size(), 2u);
    const std::string head = "ERROR in reading file " + r.path + ":\nLine 4 is longer than 255 characters :\n  ";
    EXPECT_EQ(r.reports[0].substr(0, head.size()), head);
    EXPECT_EQ(r.reports[0].substr(head.size(), 16), "PossibleValues: ");
    EXPECT_EQ(r.reports[0].back(), '\n');
    EXPECT_LT(r.reports[0].size(), head.size() + 100);
    // The skipped line leaves the attribute without possible values.
    EXPECT_EQ(r.reports[1], MissingPossible(r.path, 6));
    EXPECT_EQ(r.errorCount, 2);
    EXPECT_TRUE(wd.GetBlkList().empty());
}

TEST(ReaderErrors, OverlongLinesCountTowardsTheLimit) {
    const std::string longLine = "Junk: " + std::string(400, 'j') + ";\n";
    Olm_WizData wd;
    const auto r = ReadText("WizData: w;\n" + longLine + longLine + longLine + "Block: B;\nEndBlock;\n", wd);
    EXPECT_FALSE(r.ok);
    // Three errors from the long lines; the block read after them fails on
    // the error count, so reading stops there.
    EXPECT_EQ(r.errorCount, 3);
    EXPECT_TRUE(wd.GetBlkList().empty());
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
    EXPECT_FALSE(reader.ReadFile(nullptr));
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

TEST(ReaderErrors, DestroyingTheReaderClosesItsInput) {
    olmtest::ScratchDir dir;
    const std::string path = dir.Write("a.dev", "WizData: w;\n");
    const int before = OpenDescriptors();
    {
        Olm_DataFileReader reader;
        ASSERT_TRUE(reader.Open(path.c_str()));
        ASSERT_TRUE(reader.Open(path.c_str()));  // a second Open closes the first stream
        EXPECT_EQ(OpenDescriptors(), before + 1);
    }
    EXPECT_EQ(OpenDescriptors(), before);
}

}  // namespace
