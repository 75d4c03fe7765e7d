#include "pal/Process.h"

#include <gtest/gtest.h>

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
