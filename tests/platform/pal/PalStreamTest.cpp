#include "pal/File.h"
#include "pal/MsgMan.h"
#include "pal/Stream.h"
#include "pal/String.h"
#include "pal/Version.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(PalStream, ReadLineDropsBothKindsOfLineEnd) {
    Pal::MemoryStream in("one\r\ntwo\n\nlast");
    Pal::String line;
    ASSERT_TRUE(line.ReadLine(&in));
    EXPECT_STREQ(line, "one");
    ASSERT_TRUE(line.ReadLine(&in));
    EXPECT_STREQ(line, "two");
    ASSERT_TRUE(line.ReadLine(&in));
    EXPECT_STREQ(line, "");
    ASSERT_TRUE(line.ReadLine(&in));
    EXPECT_STREQ(line, "last");
    EXPECT_FALSE(line.ReadLine(&in));
    EXPECT_FALSE(line.ReadLine(nullptr));
}

TEST(PalStream, PiecesSplitLongLinesAndOnlyTheLastCarriesTheLineEnd) {
    Pal::MemoryStream in(std::string(300, 'x') + "\nshort\n");
    std::string piece;
    ASSERT_TRUE(in.ReadPiece(piece, 255));
    EXPECT_EQ(piece, std::string(255, 'x'));
    ASSERT_TRUE(in.ReadPiece(piece, 255));
    EXPECT_EQ(piece, std::string(45, 'x') + "\n");
    ASSERT_TRUE(in.ReadPiece(piece, 255));
    EXPECT_EQ(piece, "short\n");
    EXPECT_FALSE(in.ReadPiece(piece, 255));
}

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

TEST(PalFile, ReadLineKeepsLineEndsZeroBytesAndLongLinesAndStaysInStepWithPieces) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("in.txt");
    const std::string longLine(5000, 'y');  // longer than any first read buffer
    const std::string text = "a\r\n" + std::string("b\0c\n", 4) + "\n" + longLine + "\nxyz\nlast\r";
    Pal::Stream* out = Pal::File::open(path.c_str(), Pal::File::kWriteTruncate, true);
    ASSERT_NE(out, nullptr);
    out->Write(text.data(), text.size());
    ASSERT_TRUE(Pal::File::close(out));

    Pal::Stream* in = Pal::File::open(path.c_str(), Pal::File::kRead, false);
    ASSERT_NE(in, nullptr);
    std::string line;
    const std::string expected[] = {"a\r\n", std::string("b\0c\n", 4), "\n", longLine + "\n"};
    for (const std::string& want : expected) {
        ASSERT_TRUE(in->ReadLine(line));
        EXPECT_EQ(line, want);
    }
    ASSERT_TRUE(in->ReadPiece(line, 2));  // pieces go on where the lines stopped
    EXPECT_EQ(line, "xy");
    ASSERT_TRUE(in->ReadLine(line));
    EXPECT_EQ(line, "z\n");
    ASSERT_TRUE(in->ReadLine(line));
    EXPECT_EQ(line, "last\r");  // the last line keeps what it has, without a line end
    EXPECT_FALSE(in->ReadLine(line));
    EXPECT_EQ(line, "");
    EXPECT_FALSE(in->ReadLine(line));
    EXPECT_TRUE(Pal::File::close(in));
}

TEST(PalMsgMan, HandlerReceivesTheWholeReport) {
    olmtest::MsgCapture capture;
    Pal::MsgMan::createObject("DesignEntry", "../s/Reader", 12, "$revision 1.1$").issueError("boom\n");
    ASSERT_EQ(capture.Reports().size(), 1u);
    const auto& r = capture.Reports()[0];
    EXPECT_STREQ(r.category, "DesignEntry");
    EXPECT_STREQ(r.source, "../s/Reader");
    EXPECT_EQ(r.line, 12);
    EXPECT_STREQ(r.text, "boom\n");
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
