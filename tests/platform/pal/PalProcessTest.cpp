#include "pal/Process.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using Pal::Process;

TEST(PalProcess, ReportsTheExitCodeOfANormalEnd) {
    Process p;
    EXPECT_EQ(p.ChildProcStatus(), Process::kNotStarted);
    ASSERT_TRUE(p.Start({"sh", "-c", "exit 3"}));
    EXPECT_EQ(p.Wait(), Process::kEnded);
    EXPECT_EQ(p.ChildProcStatus(), 0);
    EXPECT_EQ(p.GetChildRetcode(), 3);
}

TEST(PalProcess, ArgumentsReachTheChildUnchangedWithoutAShell) {
    Process p;
    // With a shell in between, the quotes and the semicolon would be interpreted.
    ASSERT_TRUE(p.Start({"test", "a;b 'c'", "=", "a;b 'c'"}));
    EXPECT_EQ(p.Wait(), Process::kEnded);
    EXPECT_EQ(p.GetChildRetcode(), 0);
}

TEST(PalProcess, ACrashIsNeitherRunningNorANormalEnd) {
    Process p;
    ASSERT_TRUE(p.Start({"sh", "-c", "kill -SEGV $$"}));
    EXPECT_EQ(p.Wait(), Process::kCrashed);
    EXPECT_EQ(p.GetChildRetcode(), -1);
}

TEST(PalProcess, RunningUntilKilledAndFailedStarts) {
    Process p;
    ASSERT_TRUE(p.Start({"sleep", "30"}));
    EXPECT_EQ(p.ChildProcStatus(), Process::kRunning);
    EXPECT_FALSE(p.Start({"true"}));  // one child at a time
    p.Kill();
    EXPECT_EQ(p.Wait(), Process::kCrashed);

    Process missing;
    EXPECT_FALSE(missing.Start({"/no/such/program"}));
    EXPECT_EQ(missing.ChildProcStatus(), Process::kNotStarted);
    EXPECT_FALSE(missing.GetError().IsEmpty());
    EXPECT_FALSE(missing.Start({}));
}

TEST(PalProcess, AChildThatEndedUnpolledAllowsANewStart) {
    Process p;
    ASSERT_TRUE(p.Start({"sh", "-c", "exit 4"}));
    // Block until the child has ended, leaving it for the Process to reap.
    siginfo_t info{};
    ASSERT_EQ(waitid(P_PID, static_cast<id_t>(p.GetPid()), &info, WEXITED | WNOWAIT), 0);
    ASSERT_TRUE(p.Start({"sh", "-c", "exit 5"})) << p.GetError().c_str();
    EXPECT_EQ(p.Wait(), Process::kEnded);
    EXPECT_EQ(p.GetChildRetcode(), 5);
}
