#include "pal/File.h"
#include "pal/MsgMan.h"
#include "pal/Stream.h"
#include "pal/String.h"
#include "pal/Version.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(PalStream, StringReadLineDropsBothKindsOfLineEnd) {
    Pal::MemoryStream in("one\r\ntwo\n\nlast");
    Pal::String line;
    for (const char* want : {"one", "two", "", "last"}) {
        ASSERT_TRUE(line.ReadLine(&in));
        EXPECT_STREQ(line, want);
    }
    EXPECT_FALSE(line.ReadLine(&in));
    EXPECT_FALSE(line.ReadLine(nullptr));
}

// Reading from a file (true) and from memory (false): lines keep their line
// ends, zero bytes and any length, and pieces go on where the lines stopped.
class StreamReading : public testing::TestWithParam<bool> {};

TEST_P(StreamReading, LinesKeepEverythingAndPiecesStayInStep) {
    const std::string longLine(5000, 'y');  // longer than any first read buffer
    const std::string text = "a\r\n" + std::string("b\0c\n", 4) + "\n" + longLine + "\nxyz\nlast\r";
    olmtest::ScratchDir dir;
    Pal::MemoryStream memory(text);
    Pal::Stream* in = GetParam() ? Pal::File::open(dir.Write("in.txt", text).c_str(), Pal::File::kRead, false) : &memory;
    ASSERT_NE(in, nullptr);
    std::string line;
    for (const std::string& want : {std::string("a\r\n"), std::string("b\0c\n", 4), std::string("\n"), longLine + "\n"}) {
        ASSERT_TRUE(in->ReadLine(line));
        EXPECT_EQ(line, want);
    }
    ASSERT_TRUE(in->ReadPiece(line, 2));
    EXPECT_EQ(line, "xy");
    ASSERT_TRUE(in->ReadPiece(line, 3));
    EXPECT_EQ(line, "z\n");  // a piece ends with its line
    ASSERT_TRUE(in->ReadLine(line));
    EXPECT_EQ(line, "last\r");  // the last line keeps what it has, without a line end
    EXPECT_FALSE(in->ReadLine(line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(in->ReadPiece(line, 2));
    if (GetParam()) {
        EXPECT_TRUE(Pal::File::close(in));
    }
}

INSTANTIATE_TEST_SUITE_P(FileOrMemory, StreamReading, testing::Bool());

TEST(PalFile, WriteThenReadBackAndRefuseWhatCannotOpen) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("out.txt");
    Pal::Stream* out = Pal::File::open(path.c_str(), 2, true);
    ASSERT_NE(out, nullptr);
    out->writeline("first");
    *out << "sec" << "ond";
    EXPECT_TRUE(Pal::File::close(out));
    EXPECT_EQ(olmtest::ReadFile(path), "first\nsecond");

    EXPECT_EQ(Pal::File::open(dir.File("missing.txt").c_str(), 1, false), nullptr);
    EXPECT_EQ(Pal::File::open(dir.Path().c_str(), 2, true), nullptr);  // a folder
    EXPECT_EQ(Pal::File::open(dir.File("no/such/dir/x").c_str(), 2, true), nullptr);
    EXPECT_FALSE(Pal::File::getcwd().IsEmpty());
}

TEST(PalMsgMan, HandlerReceivesTheWholeReport) {
    olmtest::MsgCapture capture;
    Pal::MsgMan::createObject("DesignEntry", "../s/Reader", 12, "$revision 1.1$").issueError("boom\n");
    ASSERT_EQ(capture.Reports().size(), 1u);
    const auto& r = capture.Reports()[0];
    EXPECT_EQ(r.category.str() + "|" + r.source.str() + "|" + std::to_string(r.line) + "|" + r.text.str(),
              "DesignEntry|../s/Reader|12|boom\n");
}

TEST(PalMsgMan, DefaultWritesTheTextUnchangedToStandardError) {
    testing::internal::CaptureStderr();
    Pal::MsgMan::createObject("DesignEntry", "../s/WizData", 1, "$revision 1.1$").issueError("ERROR:  x\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR:  x\n");
}

TEST(PalVersion, KnowsOnlyTheVersionKey) {
    EXPECT_FALSE(Pal::Version::getValue("version").IsEmpty());
    EXPECT_TRUE(Pal::Version::getValue("other").IsEmpty());
}
