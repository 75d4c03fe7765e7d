// The transceiver wizard's rate solver: cases worked by hand, a brute-force
// search over every multiplier and divider, and the fabric-clock check.
#include "HsxRateSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace Hsx;

// The PLLs of olm_hsx.dev and olm_hsx11.dev.
const PllLimits kHsx3{{62.5, 100, 125, 156.25}, {4, 5, 6, 8, 10, 12, 16, 20, 25}, {1, 2}, {1, 2, 4},
                      {1000, 1600}, {0.6, 3.125}, {10, 250}};
const PllLimits kHsx10{{100, 125, 156.25, 312.5}, {16, 20, 25, 32, 33, 40, 50, 64, 66}, {1, 2}, {1, 2, 4, 8},
                       {3000, 5200}, {1.0, 10.3125}, {10, 312.5}};
const PllLimits kHsx11{{100, 125, 156.25, 250}, {8, 10, 12, 13, 16, 20, 25, 26, 32, 40}, {1, 2}, {1, 2, 4, 8},
                       {2000, 3300}, {0.5, 6.5}, {10, 250}};

struct HandCase {
    const PllLimits* limits;
    double refMHz, rateGbps;
    Limit limit;            // None: met exactly
    PllSetting setting;     // the setting, or the nearest achievable one
    int needed;
};

class RateSolverByHand : public ::testing::TestWithParam<HandCase> {};

TEST_P(RateSolverByHand, GivesTheSettingOrTheLimitAndTheNearestRate) {
    const HandCase& c = GetParam();
    const RateResult r = RateSolver(*c.limits).Solve(c.refMHz, c.rateGbps);
    EXPECT_EQ(r.ok, c.limit == Limit::None) << r.message;
    EXPECT_EQ(r.limit, c.limit) << r.message;
    EXPECT_EQ(r.setting.mult, c.setting.mult);
    EXPECT_EQ(r.setting.refDiv, c.setting.refDiv);
    EXPECT_EQ(r.setting.rateDiv, c.setting.rateDiv);
    EXPECT_DOUBLE_EQ(r.setting.vcoMHz, c.setting.vcoMHz);
    EXPECT_DOUBLE_EQ(r.setting.rateGbps, c.setting.rateGbps);
    EXPECT_EQ(r.needed, c.needed);
    if (!r.ok) {
        EXPECT_NE(r.message.find(std::string("ruled out by the ") + LimitName(c.limit)), std::string::npos)
            << r.message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RateSolverByHand,
    ::testing::Values(
        // 156.25 x 10 / 1 = 1562.5 MHz; 2 x 1562.5 / 1 = 3125 Mbit/s.
        HandCase{&kHsx3, 156.25, 3.125, Limit::None, {10, 1, 1, 1562.5, 3.125}, 0},
        // 125 x 12.5 is no multiplier; with R = 2: 125 x 25 / 2 = 1562.5.
        HandCase{&kHsx3, 125, 3.125, Limit::None, {25, 2, 1, 1562.5, 3.125}, 0},
        // D = 1 needs VCO 625 (too low); D = 2: 1250 = 125 x 10; 2 x 1250 / 2 = 1250 Mbit/s.
        HandCase{&kHsx3, 125, 1.25, Limit::None, {10, 1, 2, 1250, 1.25}, 0},
        // D = 4: VCO 1200 = 100 x 12; 2 x 1200 / 4 = 600 Mbit/s.
        HandCase{&kHsx3, 100, 0.6, Limit::None, {12, 1, 4, 1200, 0.6}, 0},
        // 1.7 Gbit/s needs VCO 850, 1700 or 3400 MHz: none in 1000..1600. From 100 MHz
        // the VCO reaches 1000, 1200, 1250, 1600: nearest 2 x 1600 / 2 = 1.6 Gbit/s.
        HandCase{&kHsx3, 100, 1.7, Limit::VcoRange, {16, 1, 2, 1600, 1.6}, 0},
        // VCO 1150 = 100 x 11.5 = 100 x 23 / 2: 23 is no multiplier choice.
        // Nearest: 2 x 1200 / 1 = 2.4 Gbit/s (100 x 12).
        HandCase{&kHsx3, 100, 2.3, Limit::MultiplierChoices, {12, 1, 1, 1200, 2.4}, 23},
        // VCO 1000 = 156.25 x 6.4 = 156.25 x 32 / 5: needs R = 5. From 156.25 MHz the VCO
        // reaches 1250 and 1562.5; nearest 2 x 1562.5 / 2 = 1.5625 (2.5 is farther).
        HandCase{&kHsx3, 156.25, 2.0, Limit::DividerChoices, {10, 1, 2, 1562.5, 1.5625}, 5},
        // 150 MHz is not a reference clock of HSX3.
        HandCase{&kHsx3, 150, 2.5, Limit::ReferenceClock, {}, 0},
        // Above 3.125 Gbit/s; the nearest achievable is 3.125 itself.
        HandCase{&kHsx3, 156.25, 3.5, Limit::LineRateRange, {10, 1, 1, 1562.5, 3.125}, 0},
        // 312.5 x 33 / 2 = 5156.25 MHz; 2 x 5156.25 / 1 = 10312.5 Mbit/s.
        HandCase{&kHsx10, 312.5, 10.3125, Limit::None, {33, 2, 1, 5156.25, 10.3125}, 0},
        // D = 8: VCO 4000 = 100 x 40; 2 x 4000 / 8 = 1 Gbit/s.
        HandCase{&kHsx10, 100, 1.0, Limit::None, {40, 1, 8, 4000, 1.0}, 0},
        // 5156.25 / 100 = 51.5625 = 825 / 16: needs R = 16. Nearest from 100 MHz:
        // 100 x 50 = 5000 MHz, 2 x 5000 / 1 = 10 Gbit/s.
        HandCase{&kHsx10, 100, 10.3125, Limit::DividerChoices, {50, 1, 1, 5000, 10}, 16},
        // 250 x 13 = 3250 MHz; 2 x 3250 / 1 = 6.5 Gbit/s.
        HandCase{&kHsx11, 250, 6.5, Limit::None, {13, 1, 1, 3250, 6.5}, 0},
        // 3.6 Gbit/s: VCO 1800, 3600, 7200, 14400 MHz, none in 2000..3300. From 125 MHz:
        // 125 x 26 = 3250 gives 3.25 Gbit/s with D = 2; 125 x 32 = 4000 is too high.
        HandCase{&kHsx11, 125, 3.6, Limit::VcoRange, {26, 1, 2, 3250, 3.25}, 0}));

// Every setting by brute force: all multipliers and dividers, no shortcuts.
struct Brute {
    bool exact = false;
    PllSetting best;  // exact: the preferred setting; else the nearest
};

Brute Search(const PllLimits& l, double ref, double rate) {
    Brute b;
    double bestDistance = INFINITY;
    for (int m : l.multipliers)
        for (int r : l.refDividers)
            for (int d : l.rateDividers) {
                const double vco = ref * m / r, got = 2 * vco / d / 1000;
                if (vco < l.vco.min * (1 - 1e-12) || vco > l.vco.max * (1 + 1e-12)) continue;
                if (got < l.lineRate.min * (1 - 1e-12) || got > l.lineRate.max * (1 + 1e-12)) continue;
                const double distance = std::fabs(got - rate);
                const bool exact = distance <= 1e-9 * rate;
                const bool better =
                    exact ? !b.exact || r < b.best.refDiv || (r == b.best.refDiv && d < b.best.rateDiv)
                          : !b.exact && (distance < bestDistance - 1e-12 ||
                                         (std::fabs(distance - bestDistance) <= 1e-12 && got < b.best.rateGbps));
                if (better) {
                    b.best = {m, r, d, vco, got};
                    bestDistance = distance;
                    b.exact = exact;
                }
            }
    return b;
}

TEST(RateSolver, AgreesWithABruteForceSearch) {
    int exact = 0, refused = 0;
    for (const PllLimits* l : {&kHsx3, &kHsx10, &kHsx11}) {
        const RateSolver solver(*l);
        for (double ref : l->refClocks) {
            // A grid over the line-rate range, and every rate some setting gives.
            std::vector<double> rates;
            const double span = l->lineRate.max - l->lineRate.min;
            for (int step = 0; step <= 600; ++step)
                rates.push_back(std::round((l->lineRate.min + step * span / 600) * 1e4) / 1e4);
            for (int m : l->multipliers)
                for (int r : l->refDividers)
                    for (int d : l->rateDividers) rates.push_back(2 * ref * m / r / d / 1000);
            for (double rate : rates) {
                const RateResult r = solver.Solve(ref, rate);
                const Brute b = Search(*l, ref, rate);
                SCOPED_TRACE(std::to_string(ref) + " MHz, " + std::to_string(rate) + " Gbit/s: " + r.message);
                ASSERT_EQ(r.ok, b.exact);
                ASSERT_EQ(r.setting.mult, b.best.mult);
                ASSERT_EQ(r.setting.refDiv, b.best.refDiv);
                ASSERT_EQ(r.setting.rateDiv, b.best.rateDiv);
                (r.ok ? exact : refused)++;
                // The multiplier the solver says is missing is the one that would do it.
                if (r.limit == Limit::MultiplierChoices) {
                    PllLimits more = *l;
                    more.multipliers.push_back(r.needed);
                    EXPECT_TRUE(RateSolver(more).Solve(ref, rate).ok);
                }
                EXPECT_EQ(r.limit == Limit::LineRateRange, !l->lineRate.Contains(rate));
                EXPECT_NE(r.limit, Limit::ReferenceClock);
            }
        }
    }
    EXPECT_GT(exact, 200);
    EXPECT_GT(refused, 5000);
}

struct FabricCase {
    const PllLimits* limits;
    double rateGbps;
    Coding coding;
    int width;
    double mhz;
    bool ok;
    const char* hint;  // the widths that would fit, as the message names them
};

class FabricClock : public ::testing::TestWithParam<FabricCase> {};

TEST_P(FabricClock, IsRateTimesCodeRateOverWidthWithinTheRange) {
    const FabricCase& c = GetParam();
    const FabricResult r = CheckFabricClock(*c.limits, "TX", c.rateGbps, c.coding, c.width, {8, 16, 32, 64});
    EXPECT_DOUBLE_EQ(r.mhz, c.mhz);
    EXPECT_EQ(r.ok, c.ok) << r.message;
    if (!c.ok) {
        EXPECT_NE(r.message.find(c.hint), std::string::npos) << r.message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FabricClock,
    ::testing::Values(
        // 3125 x 8/10 / 16 = 156.25 MHz.
        FabricCase{&kHsx3, 3.125, Coding::B8B10, 16, 156.25, true, ""},
        // 3125 x 8/10 / 8 = 312.5 MHz, above 250.
        FabricCase{&kHsx3, 3.125, Coding::B8B10, 8, 312.5, false,
                   "ruled out by the fabric-clock range 10 to 250 MHz. A TX data width of 16, 32 or 64 bits"},
        // 10312.5 x 64/66 / 32 = 312.5 MHz: the upper bound itself.
        FabricCase{&kHsx10, 10.3125, Coding::B64B66, 32, 312.5, true, ""},
        // 10312.5 / 32 = 322.265625 MHz without coding; 64 bits would give 161.1328125.
        FabricCase{&kHsx10, 10.3125, Coding::None, 32, 322.265625, false, "width of 64 bits would fit"},
        // 500 x 8/10 / 64 = 6.25 MHz, below 10.
        FabricCase{&kHsx11, 0.5, Coding::B8B10, 64, 6.25, false, "width of 8, 16 or 32 bits"}));

}  // namespace
