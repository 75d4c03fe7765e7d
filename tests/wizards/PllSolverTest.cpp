// Every expected value below was worked out by hand from
// f_vco = f_in * M / D and f_out = f_vco / O; the comments show the working.
#include "PllSolver.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(PllSolver, OutputBeyondTheDividerSpanIsRefused)
{
    // Top: VCO 1200 / O 1. Bottom: the lowest VCO, 600 = 100 * 6 / 1, over O 128 = 4.6875.
    Requests req{};
    req[2] = Out(1500);
    const PllResult r = PllSolver(StdLimits()).Solve(100.0, req);
    ExpectOneFailure(r, PllLimit::OutputDivider, 2, 1200.0);
    EXPECT_EQ(r.Message(),
              "CLKOUT2: 1500.000 MHz cannot be reached: the output divider range 1..128 allows 4.6875 to "
              "1200.000 MHz with the VCO range 600..1200 MHz; nearest achievable 1200.000 MHz");

    Requests low{Out(1.0, 1000.0)};
    low[0].name = "clk_slow";
    const PllResult l = PllSolver(StdLimits()).Solve(100.0, low);
    ExpectOneFailure(l, PllLimit::OutputDivider, 0, 4.6875);
    EXPECT_EQ(l.Message().rfind("clk_slow: 1.000 MHz cannot be reached: ", 0), 0u) << l.Message();

    // 1200.0006 against 1200 is -0.5 ppm: beyond the span but within a 1 ppm tolerance.
    const PllResult edge = PllSolver(StdLimits()).Solve(100.0, {Out(1200.0006, 1.0)});
    ASSERT_TRUE(edge.ok) << edge.Message();
    EXPECT_NEAR(edge.outputs[0].errorPpm, -0.5, 1e-3);
}

TEST(PllSolver, InputOutsideItsRange)
{
    const PllSolver s(StdLimits());
    const PllResult high = s.Solve(900.0, {Out(100)});
    ExpectOneFailure(high, PllLimit::Input, -1, 800.0);
    EXPECT_EQ(high.Message(), "Input clock: 900.000 MHz is outside the input range 10..800 MHz; nearest allowed 800.000 MHz");
    ExpectOneFailure(s.Solve(9.5, {Out(100)}), PllLimit::Input, -1, 10.0);
    ExpectOneFailure(s.Solve(std::nan(""), {Out(100)}), PllLimit::Input, -1, 10.0);
    EXPECT_TRUE(s.Solve(800.0, {Out(100)}).ok);  // the bound itself is inside
}

TEST(PllSolver, NoInputDividerReachesThePhaseDetectorRange)
{
    // 45 / 2 = 22.5 is above 20..22 and 45 / 3 = 15 below it; 22.5 is nearer.
    PllLimits l = StdLimits();
    l.pfd = {20.0, 22.0};
    const PllResult r = PllSolver(l).Solve(45.0, {Out(100)});
    ExpectOneFailure(r, PllLimit::PhaseDetector, -1, 22.5);
    EXPECT_EQ(r.Message(),
              "Input clock: no input divider in 1..56 brings 45.000 MHz into the phase-detector range 20..22 MHz; "
              "nearest phase-detector frequency 22.500 MHz");
    // A D range that cannot divide far enough: 700 / 1 stays above 450.
    ExpectOneFailure(PllSolver(StdLimits(1)).Solve(700.0, {Out(100)}), PllLimit::PhaseDetector, -1, 700.0);
}

TEST(PllSolver, NoMultiplierReachesTheVcoRange)
{
    // 10 * 50 / 1 = 500 is the most the VCO gets; 600 is its minimum.
    PllLimits l = StdLimits(1);
    l.feedbackMult.max = 50;
    ExpectOneFailure(PllSolver(l).Solve(10.0, {Out(100)}), PllLimit::Vco, -1, 500.0);
}

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
    // 1500 lies beyond 1200 / 1; 100 is exact (1200 / 12).
    const Requests req{Typed("abc", nan), Out(1500.0),           Out(100.0, 0.0),
                       Typed("-5", -5.0), Out(100.0, -1.0),      Out(100.0, nan)};
    const PllResult r = PllSolver(StdLimits()).Solve(100.0, req);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.Message(),
              "CLKOUT0: the frequency 'abc' is not a number of MHz\n"
              "CLKOUT1: 1500.000 MHz cannot be reached: the output divider range 1..128 allows 4.6875 to "
              "1200.000 MHz with the VCO range 600..1200 MHz; nearest achievable 1200.000 MHz\n"
              "CLKOUT3: the frequency '-5' is not above 0 MHz\n"
              "CLKOUT4: the tolerance -1 ppm must be 0 or more\n"
              "CLKOUT5: the tolerance is not a number of ppm");
    const PllLimit limits[] = {PllLimit::Request, PllLimit::OutputDivider, PllLimit::Request, PllLimit::Request,
                               PllLimit::Request};
    const int outputs[] = {0, 1, 3, 4, 5};
    ASSERT_EQ(r.failures.size(), 5u);
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(r.failures[k].limit, limits[k]) << k;
        EXPECT_EQ(r.failures[k].output, outputs[k]) << k;
    }
    EXPECT_DOUBLE_EQ(r.outputs[2].achievedMHz, 100.0);  // solved although the others fail

    // Without a text the value is shown; an unusable input comes first, typed text quoted.
    EXPECT_EQ(PllSolver(StdLimits()).Solve(nan, {Out(nan), Out(0.0)}, "fast").Message(),
              "Input clock: the frequency 'fast' is not a number of MHz; the input range is 10..800 MHz\n"
              "CLKOUT0: the frequency is not a number of MHz\n"
              "CLKOUT1: the frequency 0.000 MHz is not above 0 MHz");

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
