// The clock and tap arithmetic of the source-synchronous I/O wizards, against
// values worked by hand and against searches by trial.
#include "SsioTiming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>

namespace {

// The limits of olm_ssio.dev.
Ssio::SsioTiming DataTiming() {
    Ssio::Limits l;
    l.block = "ISER";
    l.fastClock = {10.0, 800.0};
    l.wordClock = {2.5, 300.0};
    l.sdrRatios = {2, 3, 4, 5, 6, 7, 8};
    l.ddrRatios = {4, 6, 8, 10};
    l.refClock = {190.0, 210.0};
    return Ssio::SsioTiming(l);
}

struct ClockCase {
    double bitRate;
    bool ddr;
    int ratio;
    double fast, word;  // 0: refused
    bool cascade;
};

void PrintTo(const ClockCase& c, std::ostream* os) {
    *os << std::setprecision(10) << c.bitRate << (c.ddr ? " Mb/s DDR, ratio " : " Mb/s SDR, ratio ") << c.ratio;
}

class SsioClocksByHand : public ::testing::TestWithParam<ClockCase> {};

TEST_P(SsioClocksByHand, GiveTheFastAndWordClocksOrRefuse) {
    const ClockCase& c = GetParam();
    const Ssio::ClockPlan plan = DataTiming().Clocks(c.bitRate, c.ddr, c.ratio);
    ASSERT_EQ(plan.ok, c.fast > 0.0) << plan.message;
    if (!plan.ok) return;
    EXPECT_DOUBLE_EQ(plan.fastMHz, c.fast);
    EXPECT_DOUBLE_EQ(plan.wordMHz, c.word);
    EXPECT_EQ(plan.cascade, c.cascade);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, SsioClocksByHand,
    ::testing::Values(ClockCase{800, true, 8, 400, 100, false},    // 800 / 2 = 400, 800 / 8 = 100
                      ClockCase{600, false, 6, 600, 100, false},   // SDR: the bit rate; 600 / 6 = 100
                      ClockCase{1250, true, 10, 625, 125, true},   // 1250 / 2, 1250 / 10; 10 > 8: a master and a slave
                      ClockCase{1600, true, 8, 800, 200, false},   // 1600 / 2 = 800, just the fast clock's limit
                      ClockCase{1600.002, true, 8, 0, 0, false},   // 800.001 MHz, beyond it
                      ClockCase{600, false, 2, 600, 300, false},   // 600 / 2 = 300, just the word clock's limit
                      ClockCase{601, false, 2, 0, 0, false},       // 300.5 MHz, beyond it
                      ClockCase{20, false, 8, 20, 2.5, false},     // 20 / 8 = 2.5, just the word clock's lowest
                      ClockCase{19.9, true, 4, 0, 0, false},       // 19.9 / 2 = 9.95 MHz, below the fast clock's 10
                      ClockCase{800, true, 5, 0, 0, false},        // DDR takes even ratios only
                      ClockCase{800, false, 10, 0, 0, false}));    // SDR stops at 8

// For every data rate and ratio the bit rates accepted, found by trying every
// 0.25 Mb/s, are one interval whose ends follow from the limits by hand:
// from max(10 * k, 2.5 * R) to min(800 * k, 300 * R) Mb/s, k = 2 in DDR.
TEST(SsioClocks, AcceptedBitRatesFoundByTrialAreTheLimitsInterval) {
    const Ssio::SsioTiming timing = DataTiming();
    for (bool ddr : {false, true}) {
        for (int ratio = 1; ratio <= 12; ++ratio) {
            double lo = 0.0, hi = 0.0;
            int gaps = 0;
            for (int q = 1; q <= 8000; ++q) {
                if (!timing.Clocks(q / 4.0, ddr, ratio).ok) continue;
                gaps += hi > 0.0 && q / 4.0 - hi > 0.25;
                lo = lo > 0.0 ? lo : q / 4.0;
                hi = q / 4.0;
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

// The longest delay the page states is the one the check lets through: at
// 200 MHz 31 taps of 78.125 ps, not the data range's 2550 ps, which holds
// only at 190 MHz.
TEST(SsioTaps, LongestDelayIsTheLastOneAccepted) {
    const Ssio::SsioTiming timing = DataTiming();
    for (double ref : {190.0, 200.0, 210.0}) {
        const Ssio::TapPlan plan = timing.Taps(0.0, ref);
        ASSERT_TRUE(plan.ok) << plan.message;
        EXPECT_TRUE(timing.Taps(plan.maxPs, ref).ok) << ref;
        EXPECT_FALSE(timing.Taps(plan.maxPs + plan.tapPs, ref).ok) << ref;
    }
    EXPECT_DOUBLE_EQ(timing.Taps(0.0, 200.0).maxPs, 2421.875);  // 31 taps of 1e6 / (64 * 200) ps
    EXPECT_FALSE(timing.Taps(2460.9375, 200.0).ok);              // 31.5 taps round to 32
    // A reference clock outside the delay controller's 190 to 210 MHz.
    EXPECT_FALSE(timing.Taps(1000, 189.9).ok);
    EXPECT_FALSE(timing.Taps(1000, 210.5).ok);
}

// The taps of a delay are the count whose delay lies nearest to it, the
// larger of two equally near (half a tap rounds up), found by trying every
// count.
TEST(SsioTaps, NearestCountFoundByTrial) {
    const Ssio::SsioTiming timing = DataTiming();
    for (double ref : {190.0, 195.5, 200.0, 210.0}) {
        const double tap = 1e6 / (64 * ref);
        for (double delay = 0.0; delay < 2700.0; delay += 3.7) {
            int best = 0;
            for (int k = 1; k <= 40; ++k)
                if (std::fabs(k * tap - delay) <= std::fabs(best * tap - delay) + 1e-9) best = k;
            const Ssio::TapPlan plan = timing.Taps(delay, ref);
            ASSERT_EQ(plan.ok ? plan.taps : -1, best <= 31 ? best : -1) << delay << " ps at " << ref << " MHz";
        }
    }
    EXPECT_EQ(timing.Taps(117.1875, 200.0).taps, 2);  // 1.5 taps of 78.125 ps
}

}  // namespace
