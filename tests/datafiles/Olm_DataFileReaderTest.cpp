// The data-file reader: the files of golden/reader (see its README) and what
// each gives, then opening, the abort flag and the input stream.

#include "ReaderTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace dftest;
using ::testing::ElementsAre;

namespace {

const std::string kReaderDir = std::string(OLM_DATAFILES_GOLDEN_DIR) + "/reader/";

// Read into a container whose version was "kept": the reports, whether the
// read succeeded with the error count, and the container's description.
class ReaderFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ReaderFile, GivesTheExpectedReportsAndContainer) {
    Olm_WizData wd;
    wd.SetVersion("kept");
    const auto r = ReadText(olmtest::ReadFile(kReaderDir + GetParam() + ".dev"), wd);
    std::string seen;
    for (const std::string& report : r.reports) seen += report;
    seen += (r.ok ? "read, " : "failed, ") + std::to_string(r.errorCount) + " errors\n" + Describe(wd);
    EXPECT_EQ(seen, olmtest::ReadFile(kReaderDir + GetParam() + ".expected"));
    EXPECT_EQ(r.reports.size(), static_cast<std::size_t>(r.errorCount));
    for (const auto& report : r.details) {
        EXPECT_EQ(report.category, "DesignEntry");
        EXPECT_EQ(report.source, "../s/Reader");
    }
}

INSTANTIATE_TEST_SUITE_P(Golden, ReaderFile, ::testing::ValuesIn(GoldenCases("reader", ".dev")),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

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
