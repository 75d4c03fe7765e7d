// Every expected value below was worked out by hand from
// f_vco = f_in * M / D and f_out = f_vco / O; the comments show the working.
#include "PllSolver.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <string>

using namespace TklPll;

namespace {

using Requests = std::array<PllOutputRequest, kMaxOutputs>;

// Input 10..800, PFD 10..450, VCO 600..1200 MHz; D 1..56, M 2..64, O 1..128.
PllLimits StdLimits(int dMax = 56)
{
    return {{10.0, 800.0}, {10.0, 450.0}, {600.0, 1200.0}, {1, dMax}, {2, 64}, {1, 128}};
}

PllOutputRequest Out(double mhz, std::optional<double> tolPpm = std::nullopt)
{
    return {true, mhz, tolPpm, {}, {}};
}

void ExpectOneFailure(const PllResult& r, PllLimit limit, int output, double nearest)
{
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.failures.size(), 1u) << r.Message();
    EXPECT_EQ(r.failures[0].limit, limit);
    EXPECT_EQ(r.failures[0].output, output);
    EXPECT_NEAR(r.failures[0].nearestMHz, nearest, 1e-9);
}

}  // namespace

TEST(PllSolver, ExactRatiosGiveZeroPpm)
{
    // 200/100/50/25 need a VCO that is a multiple of 200: the highest is 1200 = 100 * 12 / 1
    // (also 100 * 24 / 2 etc.; the smallest D wins). Dividers 1200 / f.
    const PllResult r = PllSolver(StdLimits()).Solve(100.0, {Out(200, 0.0), Out(100, 0.0), Out(50, 0.0), Out(25, 0.0)});
    ASSERT_TRUE(r.ok) << r.Message();
    EXPECT_EQ(r.inputDiv, 1);
    EXPECT_EQ(r.feedbackMult, 12);
    EXPECT_DOUBLE_EQ(r.pfdMHz, 100.0);
    EXPECT_DOUBLE_EQ(r.vcoMHz, 1200.0);
    const int dividers[] = {6, 12, 24, 48};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(r.outputs[i].divider, dividers[i]) << i;
        EXPECT_DOUBLE_EQ(r.outputs[i].achievedMHz, 200.0 / (1 << i)) << i;
        EXPECT_EQ(r.outputs[i].errorPpm, 0.0) << i;
    }

    // 74.25 = 27 * 11 / 4, 148.5 twice that. VCO = 74.25 * O <= 1200 gives O <= 16,
    // VCO 1188 = 27 * 44 / 1 (PFD 27); 148.5 then divides by 8.
    const PllResult v = PllSolver(StdLimits()).Solve(27.0, {Out(74.25, 0.0), Out(148.5, 0.0)});
    ASSERT_TRUE(v.ok) << v.Message();
    EXPECT_EQ(v.inputDiv, 1);
    EXPECT_EQ(v.feedbackMult, 44);
    EXPECT_EQ(v.outputs[0].divider, 16);
    EXPECT_EQ(v.outputs[1].divider, 8);
    EXPECT_EQ(v.outputs[0].errorPpm + v.outputs[1].errorPpm, 0.0);
}

TEST(PllSolver, ErrorFirstThenHighestVcoThenSmallestD)
{
    // 70 MHz from 100: O = 17 would need VCO 1190 = 100 * 11.9 (M = 119 > 64), so the
    // highest exact VCO is 1120 = 70 * 16 = 100 * 56 / 5 (PFD 20); 1200 / 17 is not exact.
    const PllResult r = PllSolver(StdLimits()).Solve(100.0, {Out(70)});
    ASSERT_TRUE(r.ok) << r.Message();
    EXPECT_EQ(r.inputDiv, 5);
    EXPECT_EQ(r.feedbackMult, 56);
    EXPECT_EQ(r.outputs[0].divider, 16);
    EXPECT_EQ(r.outputs[0].errorPpm, 0.0);

    // 100 out of 100 is exact at every multiple of 100; 1200 with D = 1..5 (M = 12 D).
    // Without D = 1 and 2 (PFD at most 40) the smallest D left for 1200 is 3.
    PllLimits l = StdLimits();
    l.pfd.max = 40.0;
    const PllResult r3 = PllSolver(l).Solve(100.0, {Out(100)});
    ASSERT_TRUE(r3.ok);
    EXPECT_EQ(r3.inputDiv, 3);
    EXPECT_EQ(r3.feedbackMult, 36);
    EXPECT_EQ(r3.outputs[0].divider, 12);
}

TEST(PllSolver, BoundsAndSpanEdgesAreReachable)
{
    EXPECT_TRUE(PllSolver(StdLimits()).Solve(800.0, {Out(100)}).ok);  // the input range's top
    // 1200.0006 against the top, 1200 / 1, is -0.5 ppm: beyond the span but within 1 ppm.
    const PllResult edge = PllSolver(StdLimits()).Solve(100.0, {Out(1200.0006, 1.0)});
    ASSERT_TRUE(edge.ok) << edge.Message();
    EXPECT_NEAR(edge.outputs[0].errorPpm, -0.5, 1e-3);
    // 640 = 10 * 64 / 1 is the very top from a 10 MHz input.
    const PllResult top = PllSolver(StdLimits()).Solve(10.0, {Out(640.0, 0.0)});
    ASSERT_TRUE(top.ok) << top.Message();
    EXPECT_EQ(top.feedbackMult, 64);
    EXPECT_EQ(top.outputs[0].divider, 1);
}

struct ReachCase {
    const char* what;
    PllLimits limits;  // input, PFD, VCO, D, M, O
    double inputMHz;
    double outputMHz;
    PllLimit limit;
    int output;
    double nearestMHz;
    const char* message;
};

void PrintTo(const ReachCase& c, std::ostream* os) { *os << c.what; }

class PllOutOfReach : public ::testing::TestWithParam<ReachCase> {};

// The request goes to output 2, with a tolerance of 1000 ppm.
TEST_P(PllOutOfReach, NamesTheBindingLimit)
{
    const ReachCase& c = GetParam();
    Requests req{};
    req[2] = Out(c.outputMHz, 1000.0);
    const PllResult r = PllSolver(c.limits).Solve(c.inputMHz, req);
    ExpectOneFailure(r, c.limit, c.output, c.nearestMHz);
    EXPECT_EQ(r.Message(), c.message);
}

constexpr PllRange kIn{10.0, 800.0};

INSTANTIATE_TEST_SUITE_P(
    Cases, PllOutOfReach,
    ::testing::Values(
        ReachCase{"input above its range", {kIn, {10, 450}, {600, 1200}, {1, 56}, {2, 64}, {1, 128}}, 900.0, 100.0,
                  PllLimit::Input, -1, 800.0,
                  "Input clock: 900.000 MHz is outside the input range 10..800 MHz; nearest allowed 800.000 MHz"},
        // 45 / 2 = 22.5 is above 20..22 and 45 / 3 = 15 below it; 22.5 is nearer.
        ReachCase{"no input divider", {kIn, {20, 22}, {600, 1200}, {1, 56}, {2, 64}, {1, 128}}, 45.0, 100.0,
                  PllLimit::PhaseDetector, -1, 22.5,
                  "Input clock: no input divider in 1..56 brings 45.000 MHz into the phase-detector range 20..22 MHz; "
                  "nearest phase-detector frequency 22.500 MHz"},
        // PFD 10 / 10 allows D = 1 only; M 60..64 puts 10 * M in the VCO range: 600..640.
        // 640 is the product 10 * 64 / 1, well below the VCO's own 1200.
        ReachCase{"input times multiplier", {kIn, {10, 450}, {600, 1200}, {1, 56}, {2, 64}, {1, 128}}, 10.0, 700.0,
                  PllLimit::InputMultiplier, 2, 640.0,
                  "CLKOUT2: 700.000 MHz cannot be reached: the VCO reaches at most 640.000 MHz, the input 10.000 MHz "
                  "times the largest feedback multiplier 64 over the smallest input divider 1; nearest achievable "
                  "640.000 MHz"},
        // 100 * 64 / 1 = 6400 lies far beyond the VCO's 1200: the VCO range stops it.
        ReachCase{"VCO range", {kIn, {10, 450}, {600, 1200}, {1, 56}, {2, 64}, {1, 128}}, 100.0, 1500.0,
                  PllLimit::Vco, 2, 1200.0,
                  "CLKOUT2: 1500.000 MHz cannot be reached: the VCO reaches at most 1200.000 MHz within its range "
                  "600..1200 MHz; nearest achievable 1200.000 MHz"},
        // D = 1: the VCO steps by 100, so 1200 is the top of 600..1250 (1300 is beyond it).
        ReachCase{"VCO range between steps", {kIn, {10, 450}, {600, 1250}, {1, 1}, {2, 64}, {1, 128}}, 100.0, 1300.0,
                  PllLimit::Vco, 2, 1200.0,
                  "CLKOUT2: 1300.000 MHz cannot be reached: the VCO reaches at most 1200.000 MHz within its range "
                  "600..1250 MHz; nearest achievable 1200.000 MHz"},
        // 33.3 * 30 = 998.9999999999999 is the top of 900..999 and reads 999.000; 1001 is 1998 ppm off.
        ReachCase{"VCO top in floating point", {kIn, {10, 450}, {900, 999}, {1, 1}, {2, 64}, {1, 128}}, 33.3, 1001.0,
                  PllLimit::Vco, 2, 33.3 * 30,
                  "CLKOUT2: 1001.000 MHz cannot be reached: the VCO reaches at most 999.000 MHz within its range "
                  "900..999 MHz; nearest achievable 999.000 MHz"},
        // PFD 10..20 forces D to 5..10 for 100 MHz; M at most 8 gives 100 * 8 / 5 = 160.
        ReachCase{"phase detector", {kIn, {10, 20}, {100, 1200}, {1, 56}, {2, 8}, {1, 128}}, 100.0, 200.0,
                  PllLimit::PhaseDetector, 2, 160.0,
                  "CLKOUT2: 200.000 MHz cannot be reached: the VCO reaches at most 160.000 MHz, the input 100.000 MHz "
                  "times the largest feedback multiplier 8 over the smallest input divider 5 that keeps the phase "
                  "detector within 10..20 MHz; nearest achievable 160.000 MHz"},
        // O >= 2: the VCO reaches 900 but no divider below 2 passes it; the top is 1200 / 2.
        ReachCase{"smallest divider", {kIn, {10, 450}, {600, 1200}, {1, 56}, {2, 64}, {2, 128}}, 100.0, 900.0,
                  PllLimit::OutputDivider, 2, 600.0,
                  "CLKOUT2: 900.000 MHz cannot be reached: the output divider range 2..128 divides the VCO by at "
                  "least 2, and the VCO reaches at most 1200.000 MHz within its range 600..1200 MHz; nearest "
                  "achievable 600.000 MHz"},
        // 1500 is beyond even the undivided VCO: the VCO range rules it out first.
        ReachCase{"VCO range and smallest divider", {kIn, {10, 450}, {600, 1200}, {1, 56}, {2, 64}, {2, 128}}, 100.0,
                  1500.0, PllLimit::Vco, 2, 600.0,
                  "CLKOUT2: 1500.000 MHz cannot be reached: the VCO reaches at most 1200.000 MHz within its range "
                  "600..1200 MHz, and the output divider is at least 2; nearest achievable 600.000 MHz"},
        // The lowest VCO 600 = 100 * 6 / 1 over O 128 = 4.6875.
        ReachCase{"largest divider", {kIn, {10, 450}, {600, 1200}, {1, 56}, {2, 64}, {1, 128}}, 100.0, 1.0,
                  PllLimit::OutputDivider, 2, 4.6875,
                  "CLKOUT2: 1.000 MHz cannot be reached: the output divider range 1..128 divides the VCO by at most "
                  "128, and the VCO goes no lower than 600.000 MHz within its range 600..1200 MHz; nearest achievable "
                  "4.6875 MHz"},
        // D = 1, M >= 20: the lowest VCO is 10 * 20 = 200, above the VCO's own 100; 200 / 128 = 1.5625.
        ReachCase{"largest divider, product floor", {kIn, {1, 450}, {100, 1200}, {1, 1}, {20, 64}, {1, 128}}, 10.0,
                  1.0, PllLimit::OutputDivider, 2, 1.5625,
                  "CLKOUT2: 1.000 MHz cannot be reached: the output divider range 1..128 divides the VCO by at most "
                  "128, and the VCO goes no lower than 200.000 MHz, the input 10.000 MHz times the smallest feedback "
                  "multiplier 20 over the largest input divider 1; nearest achievable 1.5625 MHz"},
        // No VCO at all: 10 * 50 / 1 = 500 stays below 600.
        ReachCase{"no VCO, product too low", {kIn, {10, 450}, {600, 1200}, {1, 1}, {2, 50}, {1, 128}}, 10.0, 100.0,
                  PllLimit::InputMultiplier, -1, 500.0,
                  "Input clock: the VCO reaches at most 500.000 MHz, the input 10.000 MHz times the largest feedback "
                  "multiplier 50 over the smallest input divider 1, below the VCO range 600..1200 MHz; nearest VCO "
                  "frequency 500.000 MHz"},
        // 100 * 13 / 1 = 1300 is already above 1200.
        ReachCase{"no VCO, product too high", {kIn, {10, 450}, {600, 1200}, {1, 1}, {13, 64}, {1, 128}}, 100.0, 100.0,
                  PllLimit::InputMultiplier, -1, 1300.0,
                  "Input clock: the VCO goes no lower than 1300.000 MHz, the input 100.000 MHz times the smallest "
                  "feedback multiplier 13 over the largest input divider 1, above the VCO range 600..1200 MHz; nearest "
                  "VCO frequency 1300.000 MHz"},
        // D >= 5 for PFD <= 20: 100 * 8 / 5 = 160 stays below 600.
        ReachCase{"no VCO, phase detector", {kIn, {10, 20}, {600, 1200}, {1, 56}, {2, 8}, {1, 128}}, 100.0, 100.0,
                  PllLimit::PhaseDetector, -1, 160.0,
                  "Input clock: the VCO reaches at most 160.000 MHz, the input 100.000 MHz times the largest feedback "
                  "multiplier 8 over the smallest input divider 5 that keeps the phase detector within 10..20 MHz, "
                  "below the VCO range 600..1200 MHz; nearest VCO frequency 160.000 MHz"},
        // Steps of 100 jump from 1200 to 1300 over 1210..1290; 1300 is nearer relatively (10 / 1290).
        ReachCase{"no VCO, between steps", {kIn, {10, 450}, {1210, 1290}, {1, 1}, {2, 64}, {1, 128}}, 100.0, 100.0,
                  PllLimit::Vco, -1, 1300.0,
                  "Input clock: no feedback multiplier in 2..64 with an input divider in 1..1 brings the VCO from "
                  "100.000 MHz into its range 1210..1290 MHz; nearest VCO frequency 1300.000 MHz"}),
    [](const ::testing::TestParamInfo<ReachCase>& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

// 33.3 * 30 is 998.9999999999999 in binary floating point: the bounds must still hold.
TEST(PllSolver, VcoBoundsAreInclusiveAndExact)
{
    // D = 1; VCO 900..999 allows 33.3 * 28 = 932.4, * 29 = 965.7, * 30 = 999.
    // 333 = 999 / 3 only; the others give 310.8 and 321.9 at O = 3.
    PllLimits l = StdLimits(1);
    l.vco = {900.0, 999.0};
    const PllResult atMax = PllSolver(l).Solve(33.3, {Out(333.0, 0.0)});
    ASSERT_TRUE(atMax.ok) << atMax.Message();
    EXPECT_EQ(atMax.feedbackMult, 30);
    EXPECT_EQ(atMax.outputs[0].divider, 3);
    EXPECT_EQ(atMax.outputs[0].errorPpm, 0.0);
    l.vco.max = 998.999;
    ExpectOneFailure(PllSolver(l).Solve(33.3, {Out(333.0, 0.0)}), PllLimit::Tolerance, 0, 321.9);

    // VCO 999..1100: 999 (M 30), 1032.3, 1065.6, 1098.9; only 999 / 3 gives 333.
    l.vco = {999.0, 1100.0};
    const PllResult atMin = PllSolver(l).Solve(33.3, {Out(333.0, 0.0)});
    ASSERT_TRUE(atMin.ok) << atMin.Message();
    EXPECT_EQ(atMin.feedbackMult, 30);
    l.vco.min = 999.001;
    ExpectOneFailure(PllSolver(l).Solve(33.3, {Out(333.0, 0.0)}), PllLimit::Tolerance, 0, 1032.3 / 3);
}

TEST(PllSolver, ToleranceDecidesBetweenAcceptAndRefuse)
{
    // D fixed at 1: VCO in steps of 100. 333 is nearest at 1000 / 3 = 333.333..., +1001.001 ppm.
    const PllSolver s(StdLimits(1));
    const PllResult tight = s.Solve(100.0, {Out(333.0, 1000.0)});
    ExpectOneFailure(tight, PllLimit::Tolerance, 0, 1000.0 / 3.0);
    EXPECT_EQ(tight.Message(),
              "CLKOUT0: 333.000 MHz cannot be reached within 1000 ppm; nearest achievable 333.333333 MHz "
              "(+1001.001 ppm)");
    for (const std::optional<double> tol : {std::optional<double>(1002.0), std::optional<double>()}) {
        const PllResult r = s.Solve(100.0, {Out(333.0, tol)});
        ASSERT_TRUE(r.ok) << r.Message();
        EXPECT_EQ(r.feedbackMult, 10);
        EXPECT_EQ(r.outputs[0].divider, 3);
        EXPECT_NEAR(r.outputs[0].errorPpm, 1001.001, 1e-3);
    }
}

TEST(PllSolver, OutputsThatCannotMeetTogetherReportTheCombination)
{
    // D fixed at 1, VCO 600..1200 in steps of 100. 350 is exact only at VCO 700,
    // 400 only at 800 and 1200. Both at 0 ppm: no common VCO.
    const PllSolver s(StdLimits(1));
    const PllResult r = s.Solve(100.0, {Out(350.0, 0.0), Out(400.0, 0.0)});
    EXPECT_FALSE(r.ok);
    ASSERT_EQ(r.failures.size(), 2u);
    EXPECT_EQ(r.failures[0].limit, PllLimit::Combination);
    EXPECT_EQ(r.failures[1].limit, PllLimit::Combination);
    // The best compromise is VCO 1100: both at 1100 / 3 (+4.76 % and -8.33 %);
    // every other VCO leaves one output at least 12.5 % off.
    EXPECT_NEAR(r.failures[0].nearestMHz, 1100.0 / 3.0, 1e-9);
    EXPECT_NEAR(r.outputs[1].errorPpm, -83333.333, 1e-3);

    // With the first output on "nearest", only VCO 800 and 1200 keep 400 exact; both leave
    // 350 at 1/7 off (400 from 800 / 2, 400 or 300 from 1200), so the higher VCO wins.
    const PllResult r2 = s.Solve(100.0, {Out(350.0), Out(400.0, 0.0)});
    ASSERT_TRUE(r2.ok) << r2.Message();
    EXPECT_DOUBLE_EQ(r2.vcoMHz, 1200.0);
    EXPECT_EQ(r2.outputs[1].divider, 3);
    EXPECT_NEAR(std::fabs(r2.outputs[0].errorPpm), 1e6 / 7.0, 1e-3);
}

TEST(PllSolver, DisabledOutputsAreIgnored)
{
    Requests req{Out(5000.0, 0.0), Out(-1.0), Out(100.0, 0.0)};
    req[0].enabled = req[1].enabled = false;  // out of reach, invalid
    const PllResult r = PllSolver(StdLimits()).Solve(100.0, req);
    ASSERT_TRUE(r.ok) << r.Message();
    EXPECT_DOUBLE_EQ(r.vcoMHz, 1200.0);  // chosen for output 2 alone
    EXPECT_EQ(r.outputs[2].divider, 12);
    EXPECT_EQ(r.outputs[0].divider, 0);
    EXPECT_EQ(r.outputs[0].achievedMHz, 0.0);
    EXPECT_TRUE(PllSolver(StdLimits()).Solve(100.0, Requests{}).ok);
}

TEST(PllSolver, UnusableLimitsAreRefused)
{
    PllLimits l = StdLimits();
    l.inputDiv.min = 0;
    l.vco = {1200.0, 600.0};
    EXPECT_EQ(PllSolver(l).Solve(100.0, {Out(100)}).Message(),
              "PLL limits: the VCO range 1200..600 MHz is empty\n"
              "PLL limits: the input divider range 0..56 must start at 1 or above");
}

PllOutputRequest Typed(const char* text, double mhz, std::optional<double> tolPpm = std::nullopt)
{
    PllOutputRequest r = Out(mhz, tolPpm);
    r.text = text;
    return r;
}

TEST(PllSolver, EveryOutputsProblemIsReportedInOrder)
{
    const double nan = std::nan("");
    // 1500 lies beyond the VCO's 1200 (100 * 64 / 1 would go further); 100 is exact (1200 / 12).
    const Requests req{Typed("abc", nan), Out(1500.0),           Out(100.0, 0.0),
                       Typed("-5", -5.0), Out(100.0, -1.0),      Out(100.0, nan)};
    const PllResult r = PllSolver(StdLimits()).Solve(100.0, req);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.Message(),
              "CLKOUT0: the frequency 'abc' is not a number of MHz\n"
              "CLKOUT1: 1500.000 MHz cannot be reached: the VCO reaches at most 1200.000 MHz within its range "
              "600..1200 MHz; nearest achievable 1200.000 MHz\n"
              "CLKOUT3: the frequency '-5' must be a positive number of MHz\n"
              "CLKOUT4: the tolerance -1 ppm must be 0 or more\n"
              "CLKOUT5: the tolerance is not a number of ppm");
    const PllLimit limits[] = {PllLimit::Request, PllLimit::Vco, PllLimit::Request, PllLimit::Request,
                               PllLimit::Request};
    const int outputs[] = {0, 1, 3, 4, 5};
    ASSERT_EQ(r.failures.size(), 5u);
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(r.failures[k].limit, limits[k]) << k;
        EXPECT_EQ(r.failures[k].output, outputs[k]) << k;
    }
    EXPECT_DOUBLE_EQ(r.outputs[2].achievedMHz, 100.0);  // solved although the others fail

    // An unusable input comes first, its typed text quoted; without a text no value is quoted.
    EXPECT_EQ(PllSolver(StdLimits()).Solve(nan, {Out(nan), Out(0.0)}, "fast").Message(),
              "Input clock: the frequency 'fast' is not a number of MHz; the input range is 10..800 MHz\n"
              "CLKOUT0: the frequency is not a number of MHz\n"
              "CLKOUT1: the frequency must be a positive number of MHz");

    // Two outputs that cannot meet together are still reported next to an unusable one:
    // D = 1, 350 is exact only at VCO 700, 400 at 800 and 1200.
    const PllResult both = PllSolver(StdLimits(1)).Solve(100.0, {Out(350.0, 0.0), Out(400.0, 0.0), Typed("x", nan)});
    ASSERT_EQ(both.failures.size(), 3u) << both.Message();
    EXPECT_EQ(both.failures[0].limit, PllLimit::Combination);
    EXPECT_EQ(both.failures[1].limit, PllLimit::Combination);
    EXPECT_EQ(both.failures[2].limit, PllLimit::Request);
}

struct MessageCase {
    double inputMHz;
    double outputMHz;
    std::optional<double> tolerancePpm;
    const char* message;
};

class PllNumbersInMessages : public ::testing::TestWithParam<MessageCase> {};

// D fixed at 1, so the VCO is a multiple of the input in 600..1200 MHz.
TEST_P(PllNumbersInMessages, ReadTrueWithTheUsualLook)
{
    const MessageCase& c = GetParam();
    EXPECT_EQ(PllSolver(StdLimits(1)).Solve(c.inputMHz, {Out(c.outputMHz, c.tolerancePpm)}).Message(), c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PllNumbersInMessages,
    ::testing::Values(
        // 1000 / 3 = 333.333... is +1001.001001 ppm from 333, far beyond 1e-7 ppm, which must not read 0.
        MessageCase{100.0, 333.0, 1e-7,
                    "CLKOUT0: 333.000 MHz cannot be reached within 0.0000001 ppm; nearest achievable 333.333333 MHz "
                    "(+1001.001 ppm)"},
        MessageCase{100.0, 333.0, 1e-10,
                    "CLKOUT0: 333.000 MHz cannot be reached within 1e-10 ppm; nearest achievable 333.333333 MHz "
                    "(+1001.001 ppm)"},
        // The error +1001.001001 ppm just misses 1001.001 ppm: its digits must show that.
        MessageCase{100.0, 333.0, 1001.001,
                    "CLKOUT0: 333.000 MHz cannot be reached within 1001.001 ppm; nearest achievable 333.333333 MHz "
                    "(+1001.001001 ppm)"},
        // 400 = 800 / 2 is 1e-7 MHz below the request: -1e-7 / 400 = -0.00025 ppm.
        MessageCase{100.0, 400.0000001, 0.0,
                    "CLKOUT0: 400.0000001 MHz cannot be reached within 0 ppm; nearest achievable 400.000 MHz "
                    "(-0.00025 ppm)"},
        // 1000 / 3 lies 1e-9 (0.001 ppm) above 333.333333; both need a seventh decimal to differ.
        MessageCase{100.0, 333.333333, 0.0,
                    "CLKOUT0: 333.333333 MHz cannot be reached within 0 ppm; nearest achievable 333.3333333 MHz "
                    "(+0.001 ppm)"},
        MessageCase{800.0000001, 100.0, {},
                    "Input clock: 800.0000001 MHz is outside the input range 10..800 MHz; nearest allowed 800.000 MHz"},
        MessageCase{0.0000001, 100.0, {},
                    "Input clock: 0.0000001 MHz is outside the input range 10..800 MHz; nearest allowed 10.000 MHz"}));

struct ParseCase {
    const char* text;
    std::optional<double> real;  // the value as a frequency bound, empty when refused
    bool whole;                  // taken as a divider bound too
};

class PllParseRange : public ::testing::TestWithParam<ParseCase> {};

// Each text as the upper bound of a frequency range and of a divider range.
TEST_P(PllParseRange, TakesOneFiniteNumberWithAtMostOneSign)
{
    const ParseCase& c = GetParam();
    PllRange r{-1.0, -1.0};
    EXPECT_EQ(PllSolver::ParseRange("1", c.text, r), c.real.has_value()) << c.text;
    EXPECT_EQ(r.max, c.real.value_or(-1.0)) << c.text;  // unchanged on failure
    PllIntRange d{7, 7};
    EXPECT_EQ(PllSolver::ParseRange("1", c.text, d), c.whole) << c.text;
    EXPECT_EQ(d.max, c.whole ? static_cast<int>(*c.real) : 7) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PllParseRange,
    ::testing::Values(ParseCase{" 600", 600.0, true}, ParseCase{"\t+10\t", 10.0, true}, ParseCase{"-3", -3.0, true},
                      ParseCase{"1200.5 ", 1200.5, false}, ParseCase{".5", 0.5, false}, ParseCase{"1e3", 1000.0, false},
                      ParseCase{"99999999999", 99999999999.0, false}, ParseCase{"+-0", {}, false},
                      ParseCase{"+-50", {}, false}, ParseCase{"-+5", {}, false}, ParseCase{"--5", {}, false},
                      ParseCase{"++5", {}, false}, ParseCase{"1e400", {}, false}, ParseCase{"nan", {}, false},
                      ParseCase{"-nan", {}, false}, ParseCase{"inf", {}, false}, ParseCase{"-inf", {}, false},
                      ParseCase{"0x10", {}, false}, ParseCase{"", {}, false}, ParseCase{" \t ", {}, false},
                      ParseCase{"+", {}, false}, ParseCase{"-", {}, false}, ParseCase{".", {}, false},
                      ParseCase{"10MHz", {}, false}, ParseCase{"1 2", {}, false},
                      ParseCase{"\xd9\xa1\xd9\xa2", {}, false},  // Arabic-Indic digits 1 2
                      ParseCase{"\xef\xbc\x95", {}, false}));     // fullwidth digit 5

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEps = 1e-12;  // the solver's relative slack on range bounds and errors

bool Within(double x, const PllRange& r) { return x >= r.min * (1.0 - kEps) && x <= r.max * (1.0 + kEps); }

// What a plain loop over every (D, M, O) finds.
struct Brute {
    double vcoLow = kInf;  // over the (D, M) with f_pfd and f_vco in range
    double vcoHigh = 0.0;
    std::array<double, kMaxOutputs> alone{};  // per output, the smallest |error| over every (D, M, O)
    double bestMet = kInf;                    // the smallest largest |error| of a (D, M) meeting every tolerance
    double bestAny = kInf;                    // the same, tolerances ignored
    bool Any() const { return vcoHigh > 0.0; }
};

Brute Search(const PllLimits& l, double fin, const Requests& req = {})
{
    Brute b;
    b.alone.fill(kInf);
    for (int d = l.inputDiv.min; d <= l.inputDiv.max; ++d) {
        if (!Within(fin / d, l.pfd))
            continue;
        for (int m = l.feedbackMult.min; m <= l.feedbackMult.max; ++m) {
            const double vco = fin * m / d;
            if (!Within(vco, l.vco))
                continue;
            b.vcoLow = std::min(b.vcoLow, vco);
            b.vcoHigh = std::max(b.vcoHigh, vco);
            double worst = 0.0;
            bool met = true;
            for (int i = 0; i < kMaxOutputs; ++i) {
                if (!req[i].enabled)
                    continue;
                double best = kInf;
                for (int o = l.outputDiv.min; o <= l.outputDiv.max; ++o)
                    best = std::min(best, std::fabs(vco / o - req[i].freqMHz) / req[i].freqMHz);
                best = best < kEps ? 0.0 : best;
                b.alone[i] = std::min(b.alone[i], best);
                worst = std::max(worst, best);
                met = met && (!req[i].tolerancePpm || best * 1e6 <= *req[i].tolerancePpm + 1e-6);
            }
            b.bestAny = std::min(b.bestAny, worst);
            if (met)
                b.bestMet = std::min(b.bestMet, worst);
        }
    }
    return b;
}

// The highest VCO with the VCO maximum lifted, and with the phase-detector maximum lifted too.
double TopWithout(PllLimits l, double fin, bool pfdToo)
{
    l.vco.max = kInf;
    if (pfdToo)
        l.pfd.max = kInf;
    return Search(l, fin).vcoHigh;
}

bool Near(double a, double b) { return std::fabs(a - b) <= std::max(std::fabs(a), std::fabs(b)) * 1e-9; }

}  // namespace

// Random small limit sets and requests; every answer of the solver is checked
// against the brute force, and every limit it blames against the brute force
// with that limit lifted.
TEST(PllSolver, AgreesWithABruteForceSearch)
{
    std::mt19937 rng(20240611);
    auto uni = [&rng](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const std::optional<double> tolerances[] = {std::nullopt, 0.0, 1.0, 100.0, 5000.0, 50000.0};
    std::map<std::pair<PllLimit, bool>, int> seen;  // (limit, for an output) -> count

    for (int run = 0; run < 4000; ++run) {
        const double fin = pick(1, 120) / static_cast<double>(pick(1, 3));
        // Ranges around the input, so that most runs get past the input clock.
        PllLimits l;
        l.input = {0.01, 1e4};
        l.pfd.min = fin / uni(1.0, 8.0);
        l.pfd.max = l.pfd.min * uni(1.0, 20.0);
        l.vco.min = fin * uni(0.5, 10.0);
        l.vco.max = l.vco.min * uni(1.0, 2.5);
        l.inputDiv.min = pick(1, 3);
        l.inputDiv.max = l.inputDiv.min + pick(0, 7);
        l.feedbackMult.min = pick(1, 8);
        l.feedbackMult.max = l.feedbackMult.min + pick(0, 40);
        l.outputDiv.min = pick(1, 3);
        l.outputDiv.max = l.outputDiv.min + pick(0, 24);
        Requests req{};
        for (int k = pick(1, 3); k > 0; --k) {
            PllOutputRequest& r = req[pick(0, kMaxOutputs - 1)];
            r.enabled = true;
            // Mostly a (D, M, O) of the ranges, exact or slightly off; else anything from 0.37 to 1800.
            const double near = fin * pick(l.feedbackMult.min, l.feedbackMult.max) /
                                pick(l.inputDiv.min, l.inputDiv.max) / pick(l.outputDiv.min, l.outputDiv.max);
            r.freqMHz = pick(0, 3) == 0 ? std::exp(uni(-1.0, 7.5)) : pick(0, 1) ? near : near * uni(0.999, 1.001);
            r.tolerancePpm = tolerances[pick(0, 5)];
        }
        SCOPED_TRACE(::testing::Message() << "run " << run << ", input " << fin);

        const PllResult res = PllSolver(l).Solve(fin, req);
        const Brute b = Search(l, fin, req);
        const double low = b.vcoLow / l.outputDiv.max;
        const double high = b.vcoHigh / l.outputDiv.min;

        if (!b.Any()) {
            // No (D, M) at all: one failure for the input clock.
            ASSERT_EQ(res.failures.size(), 1u) << res.Message();
            const PllFailure& f = res.failures[0];
            ASSERT_EQ(f.output, -1) << res.Message();
            ++seen[{f.limit, false}];
            PllLimits open = l;
            open.vco = {0.0, kInf};
            const Brute o = Search(open, fin);  // every f_in * M / D with f_pfd in range
            PllLimits openPfd = open;
            openPfd.pfd = {0.0, kInf};
            const Brute p = Search(openPfd, fin);
            const bool below = o.vcoHigh < l.vco.min;
            if (f.limit == PllLimit::Vco) {  // the product spans the range, its steps skip it
                EXPECT_TRUE(o.vcoLow < l.vco.min && o.vcoHigh > l.vco.max) << res.Message();
            } else if (f.limit == PllLimit::InputMultiplier) {  // the product misses, whatever the phase detector
                EXPECT_TRUE(o.Any() && (below ? p.vcoHigh == o.vcoHigh : o.vcoLow > l.vco.max && p.vcoLow == o.vcoLow))
                    << res.Message();
            } else if (f.limit == PllLimit::PhaseDetector) {  // no D at all, or the phase detector keeps D from it
                EXPECT_TRUE(!o.Any() || (below ? p.vcoHigh > o.vcoHigh : p.vcoLow < o.vcoLow)) << res.Message();
            } else {
                ADD_FAILURE() << res.Message();
            }
            continue;
        }

        bool anyAlone = false;
        std::array<bool, kMaxOutputs> failsAlone{};
        bool feasible = b.bestMet < kInf;
        for (int i = 0; i < kMaxOutputs; ++i) {
            const PllOutputRequest& r = req[i];
            const bool inSpan = r.freqMHz >= low * (1.0 - kEps) && r.freqMHz <= high * (1.0 + kEps);
            failsAlone[i] = r.enabled && (r.tolerancePpm ? b.alone[i] * 1e6 > *r.tolerancePpm + 1e-6 : !inSpan);
            anyAlone = anyAlone || failsAlone[i];
            feasible = feasible && !failsAlone[i];
        }
        ASSERT_EQ(res.ok, feasible) << res.Message();
        if (res.ok) {
            ++seen[{PllLimit::None, false}];
            double worst = 0.0;
            EXPECT_TRUE(Within(res.pfdMHz, l.pfd) && Within(res.vcoMHz, l.vco));
            for (int i = 0; i < kMaxOutputs; ++i) {
                if (!req[i].enabled)
                    continue;
                const PllOutputResult& o = res.outputs[i];
                EXPECT_TRUE(o.divider >= l.outputDiv.min && o.divider <= l.outputDiv.max);
                EXPECT_DOUBLE_EQ(o.achievedMHz, res.vcoMHz / o.divider);
                worst = std::max(worst, std::fabs(o.errorPpm));
            }
            EXPECT_NEAR(worst, b.bestMet * 1e6, 1e-6);
            continue;
        }

        int previous = -1;
        for (const PllFailure& f : res.failures) {
            ASSERT_GT(f.output, previous) << res.Message();  // one per output, in output order
            previous = f.output;
            const PllOutputRequest& r = req[f.output];
            const double mhz = r.freqMHz;
            ++seen[{f.limit, true}];
            if (anyAlone) {
                EXPECT_TRUE(failsAlone[f.output]) << res.Message();
            }
            switch (f.limit) {
            case PllLimit::Tolerance:
                EXPECT_TRUE(failsAlone[f.output] && mhz >= low * (1.0 - kEps) && mhz <= high * (1.0 + kEps));
                EXPECT_NEAR(std::fabs(res.outputs[f.output].errorPpm), b.alone[f.output] * 1e6, 1e-6);
                break;
            case PllLimit::Combination: {
                EXPECT_FALSE(anyAlone);
                EXPECT_EQ(b.bestMet, kInf);
                double worst = 0.0;
                for (const PllOutputResult& o : res.outputs)
                    worst = o.enabled ? std::max(worst, std::fabs(o.errorPpm)) : worst;
                EXPECT_NEAR(worst, b.bestAny * 1e6, 1e-6);
                break;
            }
            case PllLimit::OutputDivider:
                // Below the span, or above it while the VCO itself reaches the request.
                EXPECT_TRUE(mhz < low ? Near(f.nearestMHz, low)
                                      : Near(f.nearestMHz, high) && mhz <= b.vcoHigh * (1.0 + kEps))
                    << res.Message();
                break;
            case PllLimit::Vco:
            case PllLimit::InputMultiplier:
            case PllLimit::PhaseDetector: {
                EXPECT_TRUE(mhz > b.vcoHigh * (1.0 + kEps) && Near(f.nearestMHz, high)) << res.Message();
                const double noVcoTop = TopWithout(l, fin, false);
                const double noPfdTop = TopWithout(l, fin, true);
                if (f.limit == PllLimit::Vco) {  // at the range's top, or lifting it goes higher
                    EXPECT_TRUE(b.vcoHigh >= l.vco.max * (1.0 - kEps) || noVcoTop > b.vcoHigh) << res.Message();
                } else {  // the VCO range is not in the way; the phase detector is, or not even that
                    EXPECT_TRUE(noVcoTop == b.vcoHigh &&
                                (f.limit == PllLimit::PhaseDetector ? noPfdTop > b.vcoHigh : noPfdTop == b.vcoHigh))
                        << res.Message();
                }
                break;
            }
            default:
                ADD_FAILURE() << res.Message();
            }
        }
    }
    // The runs met every kind of answer (today each at least 6 times).
    for (const PllLimit kind : {PllLimit::OutputDivider, PllLimit::Vco, PllLimit::InputMultiplier,
                                PllLimit::PhaseDetector, PllLimit::Tolerance, PllLimit::Combination})
        EXPECT_GT((seen[{kind, true}]), 0) << static_cast<int>(kind);
    for (const PllLimit kind : {PllLimit::None, PllLimit::Vco, PllLimit::InputMultiplier, PllLimit::PhaseDetector})
        EXPECT_GT((seen[{kind, false}]), 0) << static_cast<int>(kind);
}
