// Saves that the operating system stops part-way: a file-size limit that makes
// a write fail, and a process killed at random moments while it saves. The
// design file on disk is always either the old one or the new one, whole.

#include "EngineTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

using enginetest::Cmd;

namespace {

// A design of `blocks` blocks with pins, connections and properties.
void BuildDesign(Olm_Engine& e, int blocks, const char* tag) {
    e.SetFamily("korvo5");
    Cmd(e, "set", "kfzVersion", "2.1");
    for (int b = 0; b < blocks; ++b) {
        const std::string name = "B" + std::to_string(b);
        Cmd(e, "add", "block", name.c_str(), "TKL_ADV", "1");
        Cmd(e, "add", "blkprop", name.c_str(), "TAG", tag);
        for (int p = 0; p < 4; ++p) {
            const std::string pin = "P" + std::to_string(p);
            const std::string signal = name + "_s" + std::to_string(p);
            Cmd(e, "add", "pin", "input", pin.c_str(), name.c_str());
            Cmd(e, "set", "pinwidth", pin.c_str(), name.c_str(), "[7:0]");
            Cmd(e, "connect", "signal", signal.c_str(), pin.c_str(), name.c_str());
            Cmd(e, "add", "pinprop", pin.c_str(), name.c_str(), "PROP_PINISACTIVE", "TRUE");
        }
    }
}

// An engine on a slow disk: its file writes go out in small pieces with a
// pause between them, so that most of a save is spent writing the file.
class SlowDiskEngine : public Olm_Engine {
protected:
    bool WriteBytes(int fd, const char* data, std::size_t size) override {
        constexpr std::size_t kPiece = 4096;
        while (size > 0) {
            const std::size_t piece = std::min(size, kPiece);
            if (!Olm_Engine::WriteBytes(fd, data, piece)) return false;
            data += piece;
            size -= piece;
            const timespec pause{0, 200 * 1000};
            ::nanosleep(&pause, nullptr);
        }
        return true;
    }
};

// Runs body in a child process and returns its wait status.
template <typename Body>
int InChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// The names in a folder other than the design file: temporary files left behind.
std::size_t OtherFiles(const std::filesystem::path& dir, const std::string& keep) {
    std::size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().filename() != keep) ++n;
    return n;
}

TEST(EngineSaveFaults, WriteStoppedByTheFileSizeLimitLeavesTheOldFileByteIdentical) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("design.kfz");
    Olm_Engine small;
    BuildDesign(small, 3, "old");
    ASSERT_TRUE(small.Save(path.c_str()));
    const std::string oldText = olmtest::ReadFile(path);

    Olm_Engine large;
    BuildDesign(large, 400, "new");
    // The limit lets the temporary file grow past the old file's size but not
    // to its full size: the write fails with EFBIG half way.
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = oldText.size() * 4;
        const rlimit lim{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) return 3;
        Pal::String error;
        if (large.Save(path.c_str(), &error)) return 0;
        return error.str().find("write failed: File too large") != std::string::npos ? 1 : 2;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "0: the save claimed success; 2: the error did not say why";
    EXPECT_EQ(olmtest::ReadFile(path), oldText);
    EXPECT_EQ(OtherFiles(dir.Path(), "design.kfz"), 0u);
}

TEST(EngineSaveFaults, SaveKilledAtRandomMomentsLeavesTheOldOrTheNewFileWhole) {
    olmtest::ScratchDir dir;
    const std::string path = dir.File("design.kfz");
    SlowDiskEngine oldDesign;
    BuildDesign(oldDesign, 20, "old");
    SlowDiskEngine newDesign;
    BuildDesign(newDesign, 500, "new");
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
        int status = 0;
        ::waitpid(pid, &status, 0);

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

// What a save removes beside its design file: only the temporary files of
// earlier saves of the same file (".NAME.tmp" and six letters or digits)
// that are regular files and that no save in progress holds locked.
TEST(EngineSaveFaults, SaveRemovesOnlyTheStaleTemporaryFilesOfItsOwnFile) {
    olmtest::ScratchDir dir;
    struct Planted {
        const char* name;
        bool removed;
    };
    const Planted planted[] = {
        {".design.kfz.tmpAb3xY9", true},    {".design.kfz.tmp000000", true},
        {".design.kfz.tmpAb3xY", false},    {".design.kfz.tmpAb3xY90", false},
        {".design.kfz.tmpAb3_Y9", false},   {"design.kfz.tmpAb3xY9", false},
        {".design.kfz.tmpAb3xY9~", false},  {".other.kfz.tmpAb3xY9", false},
        {".design.kfzz.tmpAb3xY9", false},  {".design.kfz.bakAb3xY9", false},
        {".design.kfz.tmpLocked", false},   // a save in progress
        {".design.kfz.tmpFolder", false},   {".design.kfz.tmpSymlnk", false},
    };
    for (const Planted& p : planted) dir.Write(p.name, "left over\n");
    const std::filesystem::path folder = dir.Path() / ".design.kfz.tmpFolder";
    std::filesystem::remove(folder);
    std::filesystem::create_directory(folder);
    const std::filesystem::path link = dir.Path() / ".design.kfz.tmpSymlnk";
    std::filesystem::remove(link);
    std::filesystem::create_symlink(".design.kfz.tmpAb3xY", link);
    const int locked = ::open(dir.File(".design.kfz.tmpLocked").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(locked, 0);
    ASSERT_EQ(::flock(locked, LOCK_EX | LOCK_NB), 0);

    Olm_Engine engine;
    BuildDesign(engine, 2, "new");
    ASSERT_TRUE(engine.Save(dir.File("design.kfz").c_str()));
    ::close(locked);
    for (const Planted& p : planted) {
        EXPECT_EQ(!std::filesystem::exists(std::filesystem::symlink_status(dir.Path() / p.name)), p.removed)
            << p.name;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() / "design.kfz"));
}

}  // namespace
