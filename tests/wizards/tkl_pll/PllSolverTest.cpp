// The single-PLL divider solver: the cases worked by hand in solver_cases.txt,
// the reading of range bounds, and random limit sets against a brute force.
#include "PllSolver.h"

#include "CaseFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>

using namespace TklPll;

namespace {

using Requests = std::array<PllOutputRequest, kMaxOutputs>;

// A number as typed; NaN when the text is not one.
double Number(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return text.empty() || *end ? std::nan("") : value;
}

// Input 10:800, PFD 10:450, VCO 600:1200 MHz; D 1:56, M 2:64, O 1:128, changed
// by blank-separated "name=min:max" (names in, pfd, vco, d, m, o).
PllLimits Limits(const std::string& changes = "") {
    PllLimits l{{10.0, 800.0}, {10.0, 450.0}, {600.0, 1200.0}, {1, 56}, {2, 64}, {1, 128}};
    std::istringstream in(changes);
    for (std::string word; in >> word;) {
        const std::size_t eq = word.find('='), colon = word.find(':');
        const std::string name = word.substr(0, eq);
        const double lo = Number(word.substr(eq + 1, colon - eq - 1)), hi = Number(word.substr(colon + 1));
        PllRange& r = name == "in" ? l.input : name == "pfd" ? l.pfd : l.vco;
        PllIntRange& n = name == "d" ? l.inputDiv : name == "m" ? l.feedbackMult : l.outputDiv;
        if (name == "d" || name == "m" || name == "o")
            n = {static_cast<int>(lo), static_cast<int>(hi)};
        else
            r = {lo, hi};
    }
    return l;
}

// The outputs in order, blank-separated: "-" off, "~F@T" off with values;
// F the frequency in MHz, 'F' also as the typed text; @T a tolerance in ppm.
Requests Outputs(const std::string& text) {
    Requests req{};
    std::istringstream in(text);
    int i = 0;
    for (std::string word; in >> word; ++i) {
        PllOutputRequest& r = req.at(i);
        r.enabled = word != "-" && word[0] != '~';
        if (word == "-")
            continue;
        word.erase(0, word[0] == '~');
        const std::size_t at = word.find('@');
        std::string mhz = word.substr(0, at);
        if (mhz[0] == '\'')
            mhz = r.text = mhz.substr(1, mhz.size() - 2);
        r.freqMHz = Number(mhz);
        if (at != std::string::npos)
            r.tolerancePpm = Number(word.substr(at + 1));
    }
    return req;
}

std::string G(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.12g", x + 0.0);  // no "-0"
    return text;
}

const char* const kLimitNames[] = {"None", "Limits", "Request", "Input", "PhaseDetector",
                                   "Vco", "InputMultiplier", "OutputDivider", "Tolerance", "Combination"};

// The whole answer on one line: each failure as "limit@output nearest; ",
// then D, M, f_pfd and f_vco (or "refused"), and per output "achieved /O
// error ppm" ("-" when off and untouched; trailing ones left out).
std::string Describe(const PllResult& r) {
    std::string s;
    for (const PllFailure& f : r.failures)
        s += std::string(kLimitNames[static_cast<int>(f.limit)]) + "@" + std::to_string(f.output) + " " +
             G(f.nearestMHz) + "; ";
    s += r.ok ? "D" + std::to_string(r.inputDiv) + " M" + std::to_string(r.feedbackMult) + " PFD " + G(r.pfdMHz) +
                    " VCO " + G(r.vcoMHz)
              : "refused";
    for (const PllOutputResult& o : r.outputs)
        s += !o.enabled && !o.divider && !o.achievedMHz
                 ? std::string("; -")
                 : "; " + G(o.achievedMHz) + " /" + std::to_string(o.divider) + " " + G(o.errorPpm) + " ppm";
    while (s.size() > 3 && s.compare(s.size() - 3, 3, "; -") == 0)
        s.resize(s.size() - 3);
    return s;
}

class PllSolverCase : public ::testing::TestWithParam<olmtest::CaseRecord> {};

// Each case of solver_cases.txt: the whole answer, when given, and the messages.
TEST_P(PllSolverCase, GivesTheWorkedResultAndMessages) {
    const olmtest::CaseRecord& c = GetParam();
    const std::string input = c["input"];
    const std::string typed = input[0] == '\'' ? input.substr(1, input.size() - 2) : "";
    const PllResult r =
        PllSolver(Limits(c["limits"])).Solve(Number(typed.empty() ? input : typed), Outputs(c["outputs"]), typed);
    if (!c["result"].empty()) {
        EXPECT_EQ(Describe(r), c["result"]);
    }
    EXPECT_EQ(r.Message(), c["message"]);
    EXPECT_EQ(r.ok, r.failures.empty());
}

INSTANTIATE_TEST_SUITE_P(Worked, PllSolverCase,
                         ::testing::ValuesIn(olmtest::ReadCaseRecords(OLM_CASES_DIR "/tkl_pll/solver_cases.txt")),
                         [](const auto& info) { return olmtest::CaseName(info.param); });

// The bounds are read by the strict number readers (their texts are checked
// in the platform's tests): both bounds or neither, a divider whole.
TEST(PllParseRange, TakesBothBoundsOrLeavesTheRangeAsItWas) {
    PllRange r{-1.0, -1.0};
    EXPECT_TRUE(PllSolver::ParseRange(" 600", "1200.5 ", r));
    EXPECT_EQ(r.min, 600.0);
    EXPECT_EQ(r.max, 1200.5);
    EXPECT_FALSE(PllSolver::ParseRange("1", "10MHz", r));
    EXPECT_FALSE(PllSolver::ParseRange("+-0", "10", r));
    EXPECT_EQ(r.min, 600.0);
    EXPECT_EQ(r.max, 1200.5);
    PllIntRange d{7, 7};
    EXPECT_FALSE(PllSolver::ParseRange("1", "1e3", d));
    EXPECT_EQ(d.min, 7);
    EXPECT_EQ(d.max, 7);
    EXPECT_TRUE(PllSolver::ParseRange("\t+1\t", "-3", d));
    EXPECT_EQ(d.min, 1);
    EXPECT_EQ(d.max, -3);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEps = 1e-12;  // the solver's relative slack on range bounds and errors

bool Within(double x, const PllRange& r) { return x >= r.min * (1.0 - kEps) && x <= r.max * (1.0 + kEps); }

bool Near(double a, double b) { return std::fabs(a - b) <= std::max(std::fabs(a), std::fabs(b)) * 1e-9; }

// What a plain loop over every (D, M, O) finds.
struct Brute {
    double vcoLow = kInf;  // over the (D, M) with f_pfd and f_vco in range
    double vcoHigh = 0.0;
    std::array<double, kMaxOutputs> alone{};  // per output, the smallest |error| over every (D, M, O)
    double bestMet = kInf;                    // the smallest largest |error| of a (D, M) meeting every tolerance
    double bestAny = kInf;                    // the same, tolerances ignored
    bool Any() const { return vcoHigh > 0.0; }
};

// The search with the VCO range and, when pfdToo, the phase-detector range lifted.
Brute Search(PllLimits l, double fin, const Requests& req = {}, bool vcoOpen = false, bool pfdOpen = false) {
    if (vcoOpen)
        l.vco = {0.0, kInf};
    if (pfdOpen)
        l.pfd = {0.0, kInf};
    Brute b;
    b.alone.fill(kInf);
    for (int d = l.inputDiv.min; d <= l.inputDiv.max; ++d) {
        for (int m = l.feedbackMult.min; m <= l.feedbackMult.max && Within(fin / d, l.pfd); ++m) {
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

}  // namespace

// Random small limit sets and requests; every answer of the solver is checked
// against the brute force, and every limit it blames against the brute force
// with that limit lifted.
TEST(PllSolver, AgreesWithABruteForceSearch) {
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
            const Brute o = Search(l, fin, {}, true);        // every f_in * M / D with f_pfd in range
            const Brute p = Search(l, fin, {}, true, true);  // and with any f_pfd
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
                const PllOutputResult& o = res.outputs[i];
                if (!req[i].enabled)
                    continue;
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
            const double mhz = req[f.output].freqMHz;
            ++seen[{f.limit, true}];
            EXPECT_TRUE(!anyAlone || failsAlone[f.output]) << res.Message();
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
                const double noVcoTop = Search(l, fin, {}, true).vcoHigh;
                const double noPfdTop = Search(l, fin, {}, true, true).vcoHigh;
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
