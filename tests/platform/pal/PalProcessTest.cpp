#include "pal/Process.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

using Pal::Process;

// How a child ends, and what the Process reports after Wait.
struct EndCase {
    std::vector<Pal::String> argv;
    int status;   // Wait() and ChildProcStatus()
    int retcode;  // GetChildRetcode()
};

class PalProcessEnd : public testing::TestWithParam<EndCase> {};

TEST_P(PalProcessEnd, WaitReportsHowTheChildEnded) {
    Process p;
    EXPECT_EQ(p.ChildProcStatus(), Process::kNotStarted);
    ASSERT_TRUE(p.Start(GetParam().argv)) << p.GetError().c_str();
    EXPECT_EQ(p.Wait(), GetParam().status);
    EXPECT_EQ(p.ChildProcStatus(), GetParam().status);
    EXPECT_EQ(p.GetChildRetcode(), GetParam().retcode);
}

INSTANTIATE_TEST_SUITE_P(
    Children, PalProcessEnd,
    testing::Values(EndCase{{"sh", "-c", "exit 3"}, Process::kEnded, 3},
                    // Without a shell in between the quotes and the semicolon reach the child unchanged.
                    EndCase{{"test", "a;b 'c'", "=", "a;b 'c'"}, Process::kEnded, 0},
                    EndCase{{"sh", "-c", "kill -SEGV $$"}, Process::kCrashed, -1}));

TEST(PalProcess, OneChildAtATimeUntilKilled) {
    Process p;
    ASSERT_TRUE(p.Start({"sleep", "30"}));
    EXPECT_EQ(p.ChildProcStatus(), Process::kRunning);
    EXPECT_FALSE(p.Start({"true"}));
    p.Kill();
    EXPECT_EQ(p.Wait(), Process::kCrashed);
}

TEST(PalProcess, FailedStartsLeaveItNotStartedWithAReason) {
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
