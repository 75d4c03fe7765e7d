// Pal::FileCompare: the check that lets a writer leave an unchanged file
// alone. Same bytes only for a regular file holding exactly them; a FIFO is
// never read (a read would wait for a writer); a missing file is told apart.

#include "pal/FileCompare.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using State = Pal::FileCompare::State;

struct CompareCase {
    const char* name;
    const char* onDisk;  // null: a FIFO; "-": nothing there
    std::string bytes;
    State state;
};

void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

class FileCompare : public ::testing::TestWithParam<CompareCase> {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("pal_compare_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_P(FileCompare, TellsSameDifferentAndMissing) {
    const CompareCase& c = GetParam();
    const std::string path = (m_dir / "f").string();
    if (!c.onDisk) {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    } else if (std::string(c.onDisk) != "-") {
        std::ofstream(path, std::ios::binary) << c.onDisk;
    }
    EXPECT_EQ(Pal::FileCompare::Compare(path, c.bytes), c.state);
    std::string current = "stale";
    EXPECT_EQ(Pal::FileCompare::Compare(path, c.bytes, &current), c.state);
    EXPECT_EQ(current, c.onDisk && std::string(c.onDisk) != "-" ? c.onDisk : "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileCompare,
    ::testing::Values(CompareCase{"Same", "abc\n", "abc\n", State::kSame},
                      CompareCase{"EmptyBoth", "", "", State::kSame},
                      CompareCase{"SameSizeOtherBytes", "abd\n", "abc\n", State::kDifferent},
                      CompareCase{"Longer", "abc\nx", "abc\n", State::kDifferent},
                      CompareCase{"Shorter", "ab", "abc\n", State::kDifferent},
                      CompareCase{"Missing", "-", "abc\n", State::kMissing},
                      CompareCase{"Fifo", nullptr, "", State::kDifferent}));

TEST(FileCompareFolder, AFolderOnTheWayMissingIsMissingAndAFolderIsDifferent) {
    EXPECT_EQ(Pal::FileCompare::Compare("/nonexistent-folder/f", "x"), State::kMissing);
    EXPECT_EQ(Pal::FileCompare::Compare(fs::temp_directory_path().string(), ""), State::kDifferent);
}

}  // namespace
