// The clock and tap arithmetic of the source-synchronous I/O wizards, against
// values worked by hand (clock_cases.txt) and against searches by trial.
#include "CaseFiles.h"
#include "SsioTiming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

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

class SsioClocksByHand : public ::testing::TestWithParam<olmtest::CaseRow> {};

// Each case of clock_cases.txt, the plan written as the file writes it.
TEST_P(SsioClocksByHand, GiveTheFastAndWordClocksOrRefuse) {
    const olmtest::CaseRow& c = GetParam();
    const Ssio::ClockPlan plan = DataTiming().Clocks(std::stod(c[1]), c[2] == "DDR", std::stoi(c[3]));
    std::ostringstream written;
    written << std::setprecision(12) << "fast " << plan.fastMHz << ", word " << plan.wordMHz
            << (plan.cascade ? ", cascade" : "");
    EXPECT_EQ(plan.ok ? written.str() : "refused", c[4]) << plan.message;
}

INSTANTIATE_TEST_SUITE_P(Rates, SsioClocksByHand,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_CASES_DIR "/ssio/clock_cases.txt")),
                         [](const auto& info) { return info.param[0]; });

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
