// The unified diff that `olmwiz regen --check` shows of a file that would
// change: hunks, their line ranges and context, the last line without a line
// end, binary files and the bound on the lines shown.

#include "TextDiff.h"

#include <gtest/gtest.h>

namespace {

struct DiffCase {
    const char* name;
    std::string before;
    std::string after;
    std::size_t maxLines;
    std::string body;  // after the two header lines; "" for equal texts
};

void PrintTo(const DiffCase& c, std::ostream* os) { *os << c.name; }

// Lines "1\n" to "n\n".
std::string Numbers(int first, int last) {
    std::string text;
    for (int i = first; i <= last; ++i) text += std::to_string(i) + "\n";
    return text;
}

class TextDiff : public ::testing::TestWithParam<DiffCase> {};

TEST_P(TextDiff, ShowsTheChangesWithTheirContext) {
    const DiffCase& c = GetParam();
    const std::string diff = olmwiz::TextDiff::Unified(c.before, c.after, "f.v", c.maxLines);
    if (c.body.empty()) {
        EXPECT_EQ(diff, "");
    } else {
        EXPECT_EQ(diff, "--- f.v (on disk)\n+++ f.v (regenerated)\n" + c.body);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextDiff,
    ::testing::Values(
        DiffCase{"Equal", "a\nb\n", "a\nb\n", 0, ""},
        DiffCase{"NewFile", "", "a\nb\n", 0, "@@ -0,0 +1,2 @@\n+a\n+b\n"},
        DiffCase{"OneLineInTheMiddle", Numbers(1, 10), Numbers(1, 4) + "five\n" + Numbers(6, 10), 0,
                 "@@ -2,7 +2,7 @@\n 2\n 3\n 4\n-5\n+five\n 6\n 7\n 8\n"},
        DiffCase{"RemovedAtTheStart", Numbers(1, 6), Numbers(3, 6), 0, "@@ -1,5 +1,3 @@\n-1\n-2\n 3\n 4\n 5\n"},
        DiffCase{"TwoHunksApart", Numbers(1, 20), "x\n" + Numbers(2, 19) + "y\n", 0,
                 "@@ -1,4 +1,4 @@\n-1\n+x\n 2\n 3\n 4\n@@ -17,4 +17,4 @@\n 17\n 18\n 19\n-20\n+y\n"},
        DiffCase{"ChangesCloseTogetherShareAHunk", Numbers(1, 9), "1\n2\nx\n4\n5\n6\ny\n8\n9\n", 0,
                 "@@ -1,9 +1,9 @@\n 1\n 2\n-3\n+x\n 4\n 5\n 6\n-7\n+y\n 8\n 9\n"},
        DiffCase{"NoLineEndAtTheEnd", "a\nb", "a\nb\n", 0,
                 "@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n"},
        DiffCase{"Binary", std::string("a\0b", 3), "a\n", 0, "Binary files differ\n"},
        DiffCase{"BoundedLines", "", Numbers(1, 30), 20, "@@ -0,0 +1,30 @@\n" + [] {
                     std::string lines;
                     for (int i = 1; i <= 19; ++i) lines += "+" + std::to_string(i) + "\n";
                     return lines + "... 11 more lines\n";
                 }()}));

// The middle of two long texts with many changes still gives a diff that
// turns one into the other: kept and removed lines give the text before,
// kept and added lines the text after.
TEST(TextDiffLarge, ReplaysToBothTexts) {
    std::string before = "first\n", after = "start\n";
    for (int i = 0; i < 3000; ++i) {
        before += std::to_string(i % 7) + "\n";
        after += std::to_string(i % 5) + "\n";
    }
    before += "last\n";
    after += "end\n";
    const std::string diff = olmwiz::TextDiff::Unified(before, after, "f", 0);
    std::string old, now;
    std::size_t pos = diff.find("\n+++");
    pos = diff.find('\n', pos + 1) + 1;
    while (pos < diff.size()) {
        const std::size_t end = diff.find('\n', pos);
        const std::string line = diff.substr(pos, end - pos + 1);
        pos = end + 1;
        if (line[0] == ' ' || line[0] == '-') old += line.substr(1);
        if (line[0] == ' ' || line[0] == '+') now += line.substr(1);
    }
    // Every line of both texts is in some hunk: they differ in their first
    // and last lines and share no run of seven lines.
    EXPECT_EQ(old, before);
    EXPECT_EQ(now, after);
}

}  // namespace
