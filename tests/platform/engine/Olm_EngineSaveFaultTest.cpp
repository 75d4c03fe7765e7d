// Saves that the operating system stops part-way: a file-size limit that makes
// a write fail, and a process killed at random moments while it saves. The
// design file on disk is always either the old one or the new one, whole.

#include "EngineTestSupport.h"
#include "GoldenSections.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using enginetest::BuildBlocks;

namespace {

// An engine on a slow disk: its file writes go out in small pieces with a
// pause between them, so that most of a save is spent writing the file.
class SlowDiskEngine : public Olm_Engine {
protected:
    bool WriteBytes(int fd, const char* data, std::size_t size) override {
        for (std::size_t piece = 0; size > 0; data += piece, size -= piece) {
            piece = std::min<std::size_t>(size, 4096);
            if (!Olm_Engine::WriteBytes(fd, data, piece)) return false;
            const timespec pause{0, 200 * 1000};
            ::nanosleep(&pause, nullptr);
        }
        return true;
    }
};

// The names in a folder other than the design file: temporary files left behind.
std::size_t OtherFiles(const std::filesystem::path& dir, const std::string& keep) {
    return std::count_if(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator(),
                         [&](const auto& entry) { return entry.path().filename() != keep; });
}

TEST(EngineSaveFaults, WriteStoppedByTheFileSizeLimitLeavesTheOldFileOrNone) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("design.kfz");
    Olm_Engine small;
    BuildBlocks(small, 3, "old");
    ASSERT_TRUE(small.Save(path.c_str()));
    const std::string oldText = olmtest::ReadFile(path);

    Olm_Engine large;
    BuildBlocks(large, 400, "new");
    // The limit lets the temporary file grow past the old file's size but not
    // to its full size: the write fails with EFBIG half way. A failed first
    // save of another file creates nothing.
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lim{oldText.size() * 4, oldText.size() * 4};
        if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(3);
        Pal::String error;
        if (large.Save(path.c_str(), &error) || large.Save(dir.File("fresh.kfz").c_str())) ::_exit(0);
        ::_exit(error.str().find("'" + path + "': write failed: File too large") != std::string::npos ? 1 : 2);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "0: a save claimed success; 2: the error did not say why";
    EXPECT_EQ(olmtest::ReadFile(path), oldText);
    EXPECT_EQ(OtherFiles(dir.Path(), "design.kfz"), 0u);
}

TEST(EngineSaveFaults, SaveKilledAtRandomMomentsLeavesTheOldOrTheNewFileWhole) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("design.kfz");
    SlowDiskEngine oldDesign;
    BuildBlocks(oldDesign, 20, "old");
    SlowDiskEngine newDesign;
    BuildBlocks(newDesign, 500, "new");
    ASSERT_TRUE(newDesign.Save(path.c_str()));
    const std::string newText = olmtest::ReadFile(path);
    ASSERT_TRUE(oldDesign.Save(path.c_str()));
    const std::string oldText = olmtest::ReadFile(path);
    // Kills land anywhere in the first few save cycles of the child; a cycle
    // is timed here, since a save's flush to disk may take long.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(newDesign.Save(path.c_str()));
    ASSERT_TRUE(oldDesign.Save(path.c_str()));
    const auto cycleUs =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    std::mt19937 random(20261206);
    std::uniform_int_distribution<long> delayUs(0, 3 * cycleUs);
    int interrupted = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Alternates the two designs until it is killed.
            for (int i = 0;; ++i) (i % 2 == 0 ? newDesign : oldDesign).Save(path.c_str());
        }
        ASSERT_GT(pid, 0);
        const long us = delayUs(random);
        const timespec pause{us / 1000000, us % 1000000 * 1000};
        ::nanosleep(&pause, nullptr);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        const std::string now = olmtest::ReadFile(path);
        ASSERT_TRUE(now == oldText || now == newText)
            << "round " << round << " after " << us << " us: a file of " << now.size() << " bytes";
        // A killed save leaves its temporary file behind: proof that the kill
        // landed inside a save. The next save removes it.
        if (OtherFiles(dir.Path(), "design.kfz") > 0) {
            ++interrupted;
            ASSERT_TRUE(oldDesign.Save(path.c_str()));
            ASSERT_EQ(OtherFiles(dir.Path(), "design.kfz"), 0u) << "round " << round;
        }
        Olm_Engine reloaded;
        ASSERT_TRUE(reloaded.Load(path.c_str())) << "round " << round;
    }
    EXPECT_GT(interrupted, 0);
}

// What a save removes beside its design file, after golden/save_cleanup.txt.
TEST(EngineSaveFaults, SaveRemovesOnlyTheStaleTemporaryFilesOfItsOwnFile) {
    olmtest::ScratchDir dir;
    olmtest::GoldenSections golden(OLM_SOURCE_DIR "/tests/platform/engine/golden/save_cleanup.txt");
    std::istringstream planted(golden.Text("planted"));
    for (std::string line; std::getline(planted, line);) dir.Write(line.substr(0, line.find(" =>")), "left over\n");
    std::filesystem::remove(dir.Path() / ".design.kfz.tmpFolder");
    std::filesystem::create_directory(dir.Path() / ".design.kfz.tmpFolder");
    std::filesystem::remove(dir.Path() / ".design.kfz.tmpSymlnk");
    std::filesystem::create_symlink(".design.kfz.tmpAb3xY", dir.Path() / ".design.kfz.tmpSymlnk");
    const int locked = ::open(dir.File(".design.kfz.tmpLocked").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(locked, 0);
    ASSERT_EQ(::flock(locked, LOCK_EX | LOCK_NB), 0);

    Olm_Engine engine;
    BuildBlocks(engine, 2, "new");
    ASSERT_TRUE(engine.Save(dir.File("design.kfz").c_str()));
    ::close(locked);
    golden.CheckAnswers("planted", [&](const std::string& name) {
        return std::filesystem::exists(std::filesystem::symlink_status(dir.Path() / name)) ? "kept" : "removed";
    });
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() / "design.kfz"));
}

}  // namespace
