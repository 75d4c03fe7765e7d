// The clock and tap arithmetic of the source-synchronous I/O wizards, against
// values worked by hand and against brute-force searches.
#include "SsioTiming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using Ssio::SsioTiming;

// The limits of olm_ssio.dev.
Ssio::Limits DataLimits() {
    Ssio::Limits l;
    l.block = "ISER";
    l.fastClock = {10.0, 800.0};
    l.wordClock = {2.5, 300.0};
    l.sdrRatios = {2, 3, 4, 5, 6, 7, 8};
    l.ddrRatios = {4, 6, 8, 10};
    return l;
}

struct ClockCase {
    double bitRate;
    bool ddr;
    int ratio;
    double fast, word;  // 0: refused
    bool cascade;
};

class SsioClocks : public ::testing::TestWithParam<ClockCase> {};

TEST_P(SsioClocks, WorkedByHand) {
    const ClockCase& c = GetParam();
    const Ssio::ClockPlan plan = SsioTiming(DataLimits()).Clocks(c.bitRate, c.ddr, c.ratio);
    EXPECT_EQ(plan.ok, c.fast > 0.0) << plan.message;
    if (!plan.ok) return;
    EXPECT_DOUBLE_EQ(plan.fastMHz, c.fast);
    EXPECT_DOUBLE_EQ(plan.wordMHz, c.word);
    EXPECT_EQ(plan.cascade, c.cascade);
}

INSTANTIATE_TEST_SUITE_P(Table, SsioClocks, ::testing::Values(
    ClockCase{800, true, 8, 400, 100, false},     // 800 / 2 = 400, 800 / 8 = 100
    ClockCase{600, false, 6, 600, 100, false},    // SDR: the bit rate; 600 / 6 = 100
    ClockCase{1250, true, 10, 625, 125, true},    // 1250 / 2 = 625, 1250 / 10 = 125; 10 > 8: two blocks
    ClockCase{1600, true, 8, 800, 200, false},    // 1600 / 2 = 800, just the fast limit
    ClockCase{1600.002, true, 8, 0, 0, false},    // 800.001 MHz, beyond it
    ClockCase{600, false, 2, 600, 300, false},    // 600 / 2 = 300, just the word limit
    ClockCase{601, false, 2, 0, 0, false},        // 300.5 MHz, beyond it
    ClockCase{20, false, 8, 20, 2.5, false},      // 20 / 8 = 2.5, just the lowest word clock
    ClockCase{19.9, true, 4, 0, 0, false},        // 19.9 / 2 = 9.95 MHz, below the fast clock's 10
    ClockCase{800, true, 5, 0, 0, false},         // DDR takes even ratios only
    ClockCase{800, false, 10, 0, 0, false}),      // SDR stops at 8
    [](const ::testing::TestParamInfo<ClockCase>& info) {
        const ClockCase& c = info.param;
        return std::string(c.ddr ? "DDR" : "SDR") + std::to_string(static_cast<int>(c.bitRate * 1000)) + "kbps_ratio" +
               std::to_string(c.ratio);
    });

TEST(SsioClocks, MessagesNameTheLimit) {
    const SsioTiming timing(DataLimits());
    EXPECT_EQ(timing.Clocks(1000, false, 8).message,
              "ISER cannot run 1000 Mb/s in SDR: the fast clock would run at 1000 MHz, above its limit of 800 MHz.");
    EXPECT_EQ(timing.Clocks(16, false, 8).message,
              "ISER cannot run 16 Mb/s with 8 bits per word: the word clock would run at 2 MHz, below its lowest "
              "of 2.5 MHz.");
    EXPECT_EQ(timing.Clocks(800, true, 3).message,
              "ISER cannot use the ratio 3 in DDR: DDR takes the ratios 4, 6, 8 and 10.");
    EXPECT_EQ(timing.Clocks(NAN, true, 4).message, "The bit rate must be a positive number of Mb/s.");
}

// For every data rate and ratio the accepted bit rates, found by trying every
// 0.25 Mb/s, are one interval whose ends are what the limits give by hand:
// from max(10 * k, 2.5 * R) to min(800 * k, 300 * R) Mb/s, k = 2 in DDR.
TEST(SsioClocks, AcceptedBitRatesFoundByTrialAreTheLimitsInterval) {
    const SsioTiming timing(DataLimits());
    for (bool ddr : {false, true}) {
        for (int ratio = 1; ratio <= 12; ++ratio) {
            double lo = 0.0, hi = 0.0;
            int gaps = 0;
            for (int q = 1; q <= 4 * 2000; ++q) {
                const double rate = q / 4.0;
                if (!timing.Clocks(rate, ddr, ratio).ok) continue;
                if (hi > 0.0 && rate - hi > 0.25) ++gaps;
                if (lo == 0.0) lo = rate;
                hi = rate;
            }
            const std::vector<int>& allowed = timing.Ratios(ddr);
            const bool runs = std::find(allowed.begin(), allowed.end(), ratio) != allowed.end();
            const double k = ddr ? 2.0 : 1.0;
            SCOPED_TRACE(std::string(ddr ? "DDR " : "SDR ") + std::to_string(ratio));
            EXPECT_EQ(gaps, 0);
            EXPECT_EQ(lo, runs ? std::max(10.0 * k, 2.5 * ratio) : 0.0);
            EXPECT_EQ(hi, runs ? std::min(800.0 * k, 300.0 * ratio) : 0.0);
        }
    }
}

TEST(SsioTaps, WorkedByHand) {
    const SsioTiming timing(DataLimits());
    // 200 MHz: a tap is 1e6 / (64 * 200) = 78.125 ps; 937.5 ps = 12 taps exactly.
    Ssio::TapPlan plan = timing.Taps(937.5, 200);
    EXPECT_TRUE(plan.ok);
    EXPECT_EQ(plan.taps, 12);
    EXPECT_DOUBLE_EQ(plan.tapPs, 78.125);
    // 500 / 78.125 = 6.4 taps: 6, 468.75 ps.
    plan = timing.Taps(500, 200);
    EXPECT_EQ(plan.taps, 6);
    EXPECT_DOUBLE_EQ(plan.delayPs, 468.75);
    // 117.1875 ps is 1.5 taps: half a tap rounds up.
    EXPECT_EQ(timing.Taps(117.1875, 200).taps, 2);
    // 190 MHz: a tap is 1e6 / 12160 = 82.2368 ps, 31 taps 2549.342 ps; 2549 ps is 30.996 taps.
    EXPECT_EQ(timing.Taps(2549, 190).taps, 31);
    // 2460.9375 ps is 31.5 taps at 200 MHz: 32, one more than the delay line has.
    plan = timing.Taps(2460.9375, 200);
    EXPECT_FALSE(plan.ok);
    EXPECT_EQ(plan.message, "A delay of 2460.9375 ps needs 32 taps of 78.125 ps (reference clock 200 MHz); IDLY has "
                            "at most 31 taps, 2421.875 ps.");
}

// The taps of a delay are those whose delay lies nearest to it, the larger
// of two equally near, found by trying every count.
TEST(SsioTaps, NearestCountFoundByTrial) {
    const SsioTiming timing(DataLimits());
    for (double ref : {190.0, 195.5, 200.0, 210.0}) {
        const double tap = 1e6 / (64 * ref);
        for (double delay = 0.0; delay < 2700.0; delay += 3.7) {
            int best = 0;
            for (int k = 1; k <= 40; ++k)
                if (std::fabs(k * tap - delay) <= std::fabs(best * tap - delay) + 1e-9) best = k;
            const Ssio::TapPlan plan = timing.Taps(delay, ref);
            ASSERT_EQ(plan.ok, best <= 31) << delay << " ps at " << ref << " MHz";
            if (plan.ok) {
                EXPECT_EQ(plan.taps, best) << delay << " ps at " << ref << " MHz";
            }
        }
    }
}

}  // namespace
