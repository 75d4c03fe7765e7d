// The transceiver wizard's rate solver: the cases worked by hand in
// rate_cases.txt, a brute-force search over every multiplier and divider,
// and the fabric clocks worked by hand in fabric_cases.txt.
#include "CaseFiles.h"
#include "HsxRateSolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <map>
#include <sstream>
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

const PllLimits& Pll(const std::string& name) {
    static const std::map<std::string, const PllLimits*> plls{{"HSX3", &kHsx3}, {"HSX10", &kHsx10}, {"HSX11", &kHsx11}};
    return *plls.at(name);
}

// A setting as rate_cases.txt writes it.
std::string Written(const PllSetting& s) {
    if (s.rateGbps == 0) return "-";
    std::ostringstream out;
    out << std::setprecision(12) << "M " << s.mult << " R " << s.refDiv << " D " << s.rateDiv << ": VCO " << s.vcoMHz
        << ", " << s.rateGbps;
    return out.str();
}

class RateSolverByHand : public ::testing::TestWithParam<olmtest::CaseRow> {};

TEST_P(RateSolverByHand, GivesTheSettingOrTheLimitAndTheNearestRate) {
    const olmtest::CaseRow& c = GetParam();
    const RateResult r = RateSolver(Pll(c[1])).Solve(std::stod(c[2]), std::stod(c[3]));
    EXPECT_EQ(LimitName(r.limit), c[4]) << r.message;
    EXPECT_EQ(r.ok, c[4] == "none") << r.message;
    EXPECT_EQ(Written(r.setting), c[5]);
    EXPECT_EQ(r.needed, std::stoi(c[6]));
    if (!r.ok) {
        EXPECT_NE(r.message.find("ruled out by the " + c[4]), std::string::npos) << r.message;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RateSolverByHand,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_CASES_DIR "/hsx/rate_cases.txt")),
                         [](const auto& info) { return info.param[0]; });

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

class FabricClock : public ::testing::TestWithParam<olmtest::CaseRow> {};

// Each case of fabric_cases.txt.
TEST_P(FabricClock, IsRateTimesCodeRateOverWidthWithinTheRange) {
    const olmtest::CaseRow& c = GetParam();
    const std::map<std::string, Coding> codings{{"none", Coding::None}, {"8b10b", Coding::B8B10}, {"64b66b", Coding::B64B66}};
    const FabricResult r =
        CheckFabricClock(Pll(c[1]), "TX", std::stod(c[2]), codings.at(c[3]), std::stoi(c[4]), {8, 16, 32, 64});
    EXPECT_DOUBLE_EQ(r.mhz, std::stod(c[5]));
    EXPECT_EQ(r.ok, c[6] == "fits") << r.message;
    if (!r.ok) {
        EXPECT_NE(r.message.find(c[6]), std::string::npos) << r.message;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FabricClock,
                         ::testing::ValuesIn(olmtest::ReadCaseRows(OLM_CASES_DIR "/hsx/fabric_cases.txt")),
                         [](const auto& info) { return info.param[0]; });

}  // namespace
