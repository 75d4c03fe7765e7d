#include "PllSolver.h"

#include "pal/StrUtil.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace TklPll {
namespace {

// Relative slack of range checks and of error comparisons: frequencies are
// products and quotients of a few doubles, so exact ratios land within a few
// ulps of their true value.
constexpr double kRelEps = 1e-12;
// Slack of tolerance checks, in ppm.
constexpr double kPpmSlack = 1e-6;

bool InRange(double x, const PllRange& r)
{
    return x >= r.min - std::fabs(r.min) * kRelEps && x <= r.max + std::fabs(r.max) * kRelEps;
}

// Relative distance of x from a range, 0 inside it.
double Distance(double x, const PllRange& r)
{
    if (InRange(x, r))
        return 0.0;
    if (x < r.min)
        return (r.min - x) / r.min;
    return (x - r.max) / r.max;
}

int ClampToInt(double v, const PllIntRange& r)
{
    if (!(v > r.min))  // also catches NaN
        return r.min;
    if (v >= r.max)
        return r.max;
    return static_cast<int>(v);
}

// v in fixed notation with `decimals` decimals (at least `minDecimals`),
// trailing zeros dropped down to `minDecimals`. std::to_chars keeps the
// decimal point a point whatever the C locale says.
std::string Fixed(double v, int decimals, int minDecimals)
{
    char buf[512];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed,
                                         std::min(std::max({decimals, minDecimals, 0}), 340));
    if (ec != std::errc())
        return "?";
    std::string s(buf, end);
    const size_t point = s.find('.');
    if (point != std::string::npos) {
        const size_t keep = minDecimals > 0 ? point + 1 + minDecimals : point;
        while (s.size() > keep && s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s;
}

// The decimal exponent of v once rounded to 13 significant digits.
int Exponent13(double v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 12);
    int e = 0;
    const char* x = std::find(buf, end, 'e');
    if (ec == std::errc() && x != end)
        std::from_chars(x + 1 + (x[1] == '+'), end, e);
    return e;
}

// Numbers below 1e-9 or from 1e15 up, and NaN and infinities, are written in
// the shortest form that reads back exactly, which may be scientific.
bool Extreme(double v) { return v != 0.0 && (!std::isfinite(v) || Exponent13(v) < -9 || Exponent13(v) >= 15); }

// Digits from the first one that is not 0: "1200.0000001" has 11.
size_t SignificantDigits(const std::string& text)
{
    size_t n = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9' && (n > 0 || c != '0'))
            ++n;
    }
    return n;
}

double Reread(const std::string& text)
{
    double v = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// How a kind of number is written in messages.
struct Style {
    int minDecimals;  // decimals always shown
    int look;         // decimals an ordinary value gets at most
    bool shortExact;  // a value with a short exact decimal form is shown in full
    int significant;  // digits a long fraction keeps at least
};
// Frequencies and the bounds of limits are products and quotients of a few
// given numbers, exact to 13 significant digits; errors are differences of
// nearly equal numbers, whose last digits are noise.
constexpr Style kMHz{3, 6, true, 7};
constexpr Style kBound{0, 6, true, 7};
constexpr Style kPpm{3, 3, false, 4};

// A number for a message. Ordinary values keep the usual look: at most
// `look` decimals and at least `minDecimals` ("200.000", "4.6875", and
// "999.000" for 33.3 * 30 = 998.9999999999999). A value that needs more
// decimals gets them all if it has a short exact form ("0.0000001",
// "1200.0000001"), otherwise `look` decimals but at least `significant`
// digits, so no value other than 0 reads as 0. Beyond 13 significant digits,
// the solver's resolution (kRelEps), every digit is rounding noise.
std::string Num(double v, const Style& st)
{
    if (Extreme(v)) {
        char buf[64];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
        return ec == std::errc() ? std::string(buf, end) : "?";
    }
    if (v == 0.0)
        return Fixed(0.0, st.minDecimals, st.minDecimals);
    const int e = Exponent13(v);
    const std::string exact = Fixed(v, 12 - e, st.minDecimals);
    const size_t point = exact.find('.');
    const size_t decimals = point == std::string::npos ? 0 : exact.size() - point - 1;
    if (decimals <= static_cast<size_t>(st.look) || (st.shortExact && SignificantDigits(exact) <= 12))
        return exact;
    return Fixed(v, std::max(st.look, st.significant - 1 - e), st.minDecimals);
}

// Num of a and of b, with more decimals where the two would otherwise read
// the same although the solver tells them apart: a request next to what is
// achievable, an error next to its tolerance.
std::pair<std::string, std::string> Distinct(double a, const Style& sa, double b, const Style& sb)
{
    std::pair<std::string, std::string> t{Num(a, sa), Num(b, sb)};
    const double scale = std::max(std::fabs(a), std::fabs(b));
    if (Extreme(a) || Extreme(b) || !(std::fabs(a - b) > scale * kRelEps) || Reread(t.first) != Reread(t.second))
        return t;
    for (int d = std::max(sa.look, sb.look) + 1; d <= 16 - Exponent13(scale); ++d) {  // up to 17 digits
        t = {Fixed(a, d, sa.minDecimals), Fixed(b, d, sb.minDecimals)};
        if (Reread(t.first) != Reread(t.second))
            break;
    }
    return t;
}

// A bound as written in a data file, or a tolerance: no forced decimals.
std::string Bound(double v) { return Num(v, kBound); }

// A frequency: at least three decimals ("200.000"), more when they matter.
std::string MHz(double v) { return Num(v, kMHz); }

// A requested frequency and the nearest achievable one.
std::pair<std::string, std::string> MHzPair(double requested, double achieved)
{
    return Distinct(requested, kMHz, achieved, kMHz);
}

// A relative error as signed ppm, with enough digits to read beyond the
// tolerance it misses: "+1001.001" against "1000".
std::string PpmBeyond(double rel, double tolPpm)
{
    return (rel < 0.0 ? "-" : "+") + Distinct(std::fabs(rel) * 1e6, kPpm, tolPpm, kBound).first;
}

std::string RangeText(const PllRange& r) { return Bound(r.min) + ".." + Bound(r.max); }
std::string RangeText(const PllIntRange& r) { return std::to_string(r.min) + ".." + std::to_string(r.max); }

double RelError(double achieved, double requested)
{
    const double e = (achieved - requested) / requested;
    return std::fabs(e) < kRelEps ? 0.0 : e;
}

double Vco(double fin, int d, int m) { return fin * m / d; }

bool WithinTolerance(double rel, const std::optional<double>& tolPpm)
{
    return tolPpm && std::fabs(rel) * 1e6 <= *tolPpm + kPpmSlack;
}

struct Pick {
    int div = 0;
    double achieved = 0.0;
    double rel = 0.0;  // signed relative error
};

// The output divider closest to the request. The relative error of vco / O
// falls and then rises with O, so the best O is next to vco / request.
Pick BestDivider(double vco, double req, const PllIntRange& o)
{
    const double q = std::floor(std::min(vco / req, static_cast<double>(o.max) + 1.0));
    const int a = ClampToInt(q, o);
    const int b = ClampToInt(q + 1.0, o);
    Pick best{a, vco / a, RelError(vco / a, req)};
    if (b != a) {
        const Pick other{b, vco / b, RelError(vco / b, req)};
        if (std::fabs(other.rel) < std::fabs(best.rel) - kRelEps)
            best = other;
    }
    return best;
}

struct Candidate {
    int d = 0;
    int m = 0;
    double vco = 0.0;
    std::array<Pick, kMaxOutputs> picks{};
    double maxErr = 0.0;
    double sumErr = 0.0;
};

// The selection order of the header comment.
bool Better(const Candidate& a, const Candidate& b)
{
    if (a.maxErr < b.maxErr - kRelEps)
        return true;
    if (a.maxErr > b.maxErr + kRelEps)
        return false;
    if (a.sumErr < b.sumErr - kRelEps)
        return true;
    if (a.sumErr > b.sumErr + kRelEps)
        return false;
    const double slack = std::max(a.vco, b.vco) * kRelEps;
    if (a.vco > b.vco + slack)
        return true;
    if (a.vco < b.vco - slack)
        return false;
    return a.d < b.d || (a.d == b.d && a.m < b.m);
}

std::string CheckRange(const char* what, const PllRange& r, const char* unit)
{
    if (!std::isfinite(r.min) || !std::isfinite(r.max) || r.min < 0.0 || r.max <= 0.0)
        return std::string("PLL limits: the ") + what + " range " + RangeText(r) + unit + " must be positive";
    if (r.min > r.max)
        return std::string("PLL limits: the ") + what + " range " + RangeText(r) + unit + " is empty";
    return {};
}

std::string CheckRange(const char* what, const PllIntRange& r)
{
    if (r.min < 1)
        return std::string("PLL limits: the ") + what + " range " + RangeText(r) + " must start at 1 or above";
    if (r.min > r.max)
        return std::string("PLL limits: the ") + what + " range " + RangeText(r) + " is empty";
    return {};
}

// Why a frequency cannot be used, quoting the text as typed when there is
// one. Without a text the value is not shown: a caller that cannot parse a
// text may pass 0 for it, and "0.000 MHz" would misquote the user.
std::string UnusableFrequency(double mhz, std::string_view text)
{
    const std::string quoted = text.empty() ? std::string() : " '" + std::string(text) + "'";
    return "the frequency" + quoted +
           (std::isfinite(mhz) ? " must be a positive number of MHz" : " is not a number of MHz");
}

// One end of the span of VCO frequencies and the bound that puts it there.
struct VcoEdge {
    double vco = 0.0;
    PllLimit limit = PllLimit::Vco;  // Vco, PhaseDetector or InputMultiplier
    int d = 0;                       // the D and M of f_in * M / D unless limit is Vco
    int m = 0;
};

// f_in * M / D at its top (the largest M over the smallest D whose f_pfd is
// in range) or at its bottom (the smallest M over the largest such D). The
// phase-detector range sets it where it keeps D from the end of the input
// divider range; otherwise the multiplier and input divider ranges do.
VcoEdge ProductEdge(double fin, int d, bool top, const PllLimits& L)
{
    const int m = top ? L.feedbackMult.max : L.feedbackMult.min;
    const bool pfdBound = top ? d > L.inputDiv.min : d < L.inputDiv.max;
    return {Vco(fin, d, m), pfdBound ? PllLimit::PhaseDetector : PllLimit::InputMultiplier, d, m};
}

// The top of the VCO span. The VCO range stops it if it is the range's own
// maximum or if the product lies beyond it (the steps of f_in / D skip the
// rest of the range); otherwise the top is the product itself.
VcoEdge TopEdge(double fin, double vcoHigh, int dLo, const PllLimits& L)
{
    const VcoEdge product = ProductEdge(fin, dLo, true, L);
    if (vcoHigh >= L.vco.max * (1.0 - kRelEps) || product.vco > vcoHigh * (1.0 + kRelEps))
        return {vcoHigh, PllLimit::Vco};
    return product;
}

// The mirror image of TopEdge.
VcoEdge BottomEdge(double fin, double vcoLow, int dHi, const PllLimits& L)
{
    const VcoEdge product = ProductEdge(fin, dHi, false, L);
    if (vcoLow <= L.vco.min * (1.0 + kRelEps) || product.vco < vcoLow * (1.0 - kRelEps))
        return {vcoLow, PllLimit::Vco};
    return product;
}

// "the VCO reaches at most 640.000 MHz, the input 10.000 MHz times the
// largest feedback multiplier 64 over the smallest input divider 1"
std::string EdgeText(const VcoEdge& e, bool top, double fin, const PllLimits& L)
{
    std::string s = std::string(top ? "the VCO reaches at most " : "the VCO goes no lower than ") + MHz(e.vco) + " MHz";
    if (e.limit == PllLimit::Vco)
        return s + " within its range " + RangeText(L.vco) + " MHz";
    s += ", the input " + MHz(fin) + " MHz times the " + (top ? "largest" : "smallest") + " feedback multiplier " +
         std::to_string(e.m) + " over the " + (top ? "smallest" : "largest") + " input divider " + std::to_string(e.d);
    if (e.limit == PllLimit::PhaseDetector)
        s += " that keeps the phase detector within " + RangeText(L.pfd) + " MHz";
    return s;
}

}  // namespace

std::string PllResult::Message() const
{
    std::string text;
    for (const PllFailure& f : failures) {
        if (!text.empty())
            text += '\n';
        text += f.message;
    }
    return text;
}

PllSolver::PllSolver(const PllLimits& limits) : limits_(limits) {}

std::string PllSolver::OutputName(const PllOutputRequest& request, int index)
{
    return request.name.empty() ? "CLKOUT" + std::to_string(index) : request.name;
}

bool PllSolver::ParseRange(std::string_view minText, std::string_view maxText, PllRange& range)
{
    PllRange r;
    if (!Pal::StrUtil::ParseNumber(minText, r.min) || !Pal::StrUtil::ParseNumber(maxText, r.max))
        return false;
    range = r;
    return true;
}

bool PllSolver::ParseRange(std::string_view minText, std::string_view maxText, PllIntRange& range)
{
    PllIntRange r;
    if (!Pal::StrUtil::ParseInt(minText, r.min) || !Pal::StrUtil::ParseInt(maxText, r.max))
        return false;
    range = r;
    return true;
}

PllResult PllSolver::Solve(double fin, const std::array<PllOutputRequest, kMaxOutputs>& req,
                           std::string_view inputText) const
{
    const PllLimits& L = limits_;
    PllResult res;
    for (int i = 0; i < kMaxOutputs; ++i) {
        res.outputs[i].enabled = req[i].enabled;
        res.outputs[i].requestedMHz = req[i].enabled ? req[i].freqMHz : 0.0;
    }
    auto fail = [&res](PllLimit limit, int output, double nearest, std::string message) {
        res.failures.push_back({limit, output, nearest, std::move(message)});
    };
    // At most one per output; they follow the input clock's failures, in output order.
    std::array<std::optional<PllFailure>, kMaxOutputs> outputFailures;
    auto failOutput = [&outputFailures](PllLimit limit, int output, double nearest, std::string message) {
        outputFailures[output] = PllFailure{limit, output, nearest, std::move(message)};
    };
    auto finish = [&]() {
        for (const std::optional<PllFailure>& f : outputFailures) {
            if (f)
                res.failures.push_back(*f);
        }
        return res.failures.empty();
    };

    // The limits themselves.
    for (const std::string& msg : {CheckRange("input", L.input, " MHz"), CheckRange("phase-detector", L.pfd, " MHz"),
                                   CheckRange("VCO", L.vco, " MHz"), CheckRange("input divider", L.inputDiv),
                                   CheckRange("feedback multiplier", L.feedbackMult),
                                   CheckRange("output divider", L.outputDiv)}) {
        if (!msg.empty())
            fail(PllLimit::Limits, -1, 0.0, msg);
    }
    if (!res.failures.empty())
        return res;

    // The input clock.
    if (!std::isfinite(fin) || fin <= 0.0) {
        fail(PllLimit::Input, -1, L.input.min > 0.0 ? L.input.min : L.input.max,
             "Input clock: " + UnusableFrequency(fin, inputText) + "; the input range is " + RangeText(L.input) +
                 " MHz");
    } else if (!InRange(fin, L.input)) {
        const double nearest = std::clamp(fin, L.input.min, L.input.max);
        const auto [given, allowed] = MHzPair(fin, nearest);
        fail(PllLimit::Input, -1, nearest,
             "Input clock: " + given + " MHz is outside the input range " + RangeText(L.input) +
                 " MHz; nearest allowed " + allowed + " MHz");
    }

    // The requests. An unusable one leaves the others to be solved and reported.
    std::array<bool, kMaxOutputs> usable{};
    for (int i = 0; i < kMaxOutputs; ++i) {
        const PllOutputRequest& r = req[i];
        if (!r.enabled)
            continue;
        if (!std::isfinite(r.freqMHz) || r.freqMHz <= 0.0)
            failOutput(PllLimit::Request, i, 0.0, OutputName(r, i) + ": " + UnusableFrequency(r.freqMHz, r.text));
        else if (r.tolerancePpm && !std::isfinite(*r.tolerancePpm))
            failOutput(PllLimit::Request, i, 0.0, OutputName(r, i) + ": the tolerance is not a number of ppm");
        else if (r.tolerancePpm && *r.tolerancePpm < 0.0)
            failOutput(PllLimit::Request, i, 0.0,
                       OutputName(r, i) + ": the tolerance " + Bound(*r.tolerancePpm) + " ppm must be 0 or more");
        else
            usable[i] = true;
    }
    if (!res.failures.empty()) {
        finish();
        return res;
    }

    // Input dividers that keep f_pfd = f_in / D in range: f_in / pfd.max <= D <= f_in / pfd.min.
    std::vector<int> dividers;
    {
        const int lo = ClampToInt(std::floor(fin / L.pfd.max), L.inputDiv);
        const int hi = L.pfd.min > 0.0 ? ClampToInt(std::ceil(fin / L.pfd.min), L.inputDiv) : L.inputDiv.max;
        for (long long d = lo; d <= hi; ++d) {
            if (InRange(fin / static_cast<double>(d), L.pfd))
                dividers.push_back(static_cast<int>(d));
        }
    }
    if (dividers.empty()) {
        // f_in / D falls with D, so the nearest lies next to either bound.
        double nearest = 0.0;
        double best = std::numeric_limits<double>::infinity();
        for (double v : {fin / L.pfd.max, L.pfd.min > 0.0 ? fin / L.pfd.min : 0.0}) {
            for (double dv : {std::floor(v), std::ceil(v), 0.0, std::numeric_limits<double>::infinity()}) {
                const double pfd = fin / ClampToInt(dv, L.inputDiv);
                if (Distance(pfd, L.pfd) < best) {
                    best = Distance(pfd, L.pfd);
                    nearest = pfd;
                }
            }
        }
        fail(PllLimit::PhaseDetector, -1, nearest,
             "Input clock: no input divider in " + RangeText(L.inputDiv) + " brings " + MHz(fin) +
                 " MHz into the phase-detector range " + RangeText(L.pfd) + " MHz; nearest phase-detector frequency " +
                 MHz(nearest) + " MHz");
        finish();
        return res;
    }
    // The valid dividers are consecutive: f_in / D falls with D.
    const int dLo = dividers.front();
    const int dHi = dividers.back();

    // Search every (D, M) with a VCO in range.
    std::array<Pick, kMaxOutputs> nearestAlone{};  // per output, its best over all (D, M)
    std::optional<Candidate> bestFeasible;
    std::optional<Candidate> bestAny;
    double vcoLow = std::numeric_limits<double>::infinity();
    double vcoHigh = 0.0;
    double nearestVco = 0.0;
    double nearestVcoDist = std::numeric_limits<double>::infinity();

    for (int d : dividers) {
        // f_in * M / D in range: vco.min * D / f_in <= M <= vco.max * D / f_in.
        const int mLo = ClampToInt(std::floor(L.vco.min * d / fin), L.feedbackMult);
        const int mHi = ClampToInt(std::ceil(L.vco.max * d / fin), L.feedbackMult);
        for (long long mm = mLo; mm <= mHi; ++mm) {
            const int m = static_cast<int>(mm);
            Candidate c;
            c.d = d;
            c.m = m;
            c.vco = Vco(fin, d, m);
            const double dist = Distance(c.vco, L.vco);
            if (dist < nearestVcoDist) {
                nearestVcoDist = dist;
                nearestVco = c.vco;
            }
            if (dist > 0.0)
                continue;
            vcoLow = std::min(vcoLow, c.vco);
            vcoHigh = std::max(vcoHigh, c.vco);
            bool feasible = true;
            for (int i = 0; i < kMaxOutputs; ++i) {
                if (!usable[i])
                    continue;
                const Pick p = BestDivider(c.vco, req[i].freqMHz, L.outputDiv);
                c.picks[i] = p;
                const double err = std::fabs(p.rel);
                c.maxErr = std::max(c.maxErr, err);
                c.sumErr += err;
                if (req[i].tolerancePpm && !WithinTolerance(p.rel, req[i].tolerancePpm))
                    feasible = false;
                if (nearestAlone[i].div == 0 || err < std::fabs(nearestAlone[i].rel) - kRelEps)
                    nearestAlone[i] = p;
            }
            if (feasible && (!bestFeasible || Better(c, *bestFeasible)))
                bestFeasible = c;
            if (!bestAny || Better(c, *bestAny))
                bestAny = c;
        }
    }

    if (!bestAny) {
        // f_in * M / D spans bottom..top over the valid (D, M); if that span misses
        // the VCO range, the product is what rules the input out.
        const VcoEdge top = ProductEdge(fin, dLo, true, L);
        const VcoEdge bottom = ProductEdge(fin, dHi, false, L);
        const std::string nearest = "; nearest VCO frequency " + MHz(nearestVco) + " MHz";
        if (top.vco < L.vco.min)
            fail(top.limit, -1, nearestVco,
                 "Input clock: " + EdgeText(top, true, fin, L) + ", below the VCO range " + RangeText(L.vco) + " MHz" +
                     nearest);
        else if (bottom.vco > L.vco.max)
            fail(bottom.limit, -1, nearestVco,
                 "Input clock: " + EdgeText(bottom, false, fin, L) + ", above the VCO range " + RangeText(L.vco) +
                     " MHz" + nearest);
        else
            fail(PllLimit::Vco, -1, nearestVco,
                 "Input clock: no feedback multiplier in " + RangeText(L.feedbackMult) + " with an input divider in " +
                     RangeText(L.inputDiv) + " brings the VCO from " + MHz(fin) + " MHz into its range " +
                     RangeText(L.vco) + " MHz" + nearest);
        finish();
        return res;
    }

    // Each output on its own: beyond the reachable span, or not within tolerance anywhere.
    // The span is the VCO span over the output divider range.
    const VcoEdge top = TopEdge(fin, vcoHigh, dLo, L);
    const VcoEdge bottom = BottomEdge(fin, vcoLow, dHi, L);
    const double spanLow = vcoLow / L.outputDiv.max;
    const double spanHigh = vcoHigh / L.outputDiv.min;
    bool aloneFailed = false;
    for (int i = 0; i < kMaxOutputs; ++i) {
        const PllOutputRequest& r = req[i];
        if (!usable[i])
            continue;
        const Pick& p = nearestAlone[i];
        res.outputs[i].achievedMHz = p.achieved;
        res.outputs[i].errorPpm = p.rel * 1e6;
        if (WithinTolerance(p.rel, r.tolerancePpm))
            continue;
        const bool above = r.freqMHz > spanHigh * (1.0 + kRelEps);
        const bool below = r.freqMHz < spanLow * (1.0 - kRelEps);
        if (above || below) {
            const double nearest = above ? spanHigh : spanLow;
            const auto [requested, achievable] = MHzPair(r.freqMHz, nearest);
            PllLimit limit = PllLimit::OutputDivider;
            std::string why;
            if (above && r.freqMHz > vcoHigh * (1.0 + kRelEps)) {
                // Out of reach even undivided: what caps the VCO rules it out.
                limit = top.limit;
                why = EdgeText(top, true, fin, L);
                if (L.outputDiv.min > 1)
                    why += ", and the output divider is at least " + std::to_string(L.outputDiv.min);
            } else {
                // Below the span a larger divider would always help; above it the VCO
                // reaches the request, but only a divider below the range would pass it.
                why = "the output divider range " + RangeText(L.outputDiv) + " divides the VCO by " +
                      (above ? "at least " + std::to_string(L.outputDiv.min)
                             : "at most " + std::to_string(L.outputDiv.max)) +
                      ", and " + EdgeText(above ? top : bottom, above, fin, L);
            }
            failOutput(limit, i, nearest,
                       OutputName(r, i) + ": " + requested + " MHz cannot be reached: " + why +
                           "; nearest achievable " + achievable + " MHz");
            aloneFailed = true;
        } else if (r.tolerancePpm) {
            const auto [requested, achieved] = MHzPair(r.freqMHz, p.achieved);
            failOutput(PllLimit::Tolerance, i, p.achieved,
                       OutputName(r, i) + ": " + requested + " MHz cannot be reached within " +
                           Bound(*r.tolerancePpm) + " ppm; nearest achievable " + achieved + " MHz (" +
                           PpmBeyond(p.rel, *r.tolerancePpm) + " ppm)");
            aloneFailed = true;
        }
    }

    if (!aloneFailed && !bestFeasible) {
        // Every usable output is reachable alone; the best compromise misses some tolerances.
        for (int i = 0; i < kMaxOutputs; ++i) {
            const PllOutputRequest& r = req[i];
            if (!usable[i])
                continue;
            const Pick& p = bestAny->picks[i];
            res.outputs[i].achievedMHz = p.achieved;
            res.outputs[i].errorPpm = p.rel * 1e6;
            if (!r.tolerancePpm || WithinTolerance(p.rel, r.tolerancePpm))
                continue;
            const auto [requested, achieved] = MHzPair(r.freqMHz, p.achieved);
            failOutput(PllLimit::Combination, i, p.achieved,
                       OutputName(r, i) + ": " + requested + " MHz cannot be reached within " +
                           Bound(*r.tolerancePpm) +
                           " ppm together with the other outputs; nearest achievable with them " + achieved +
                           " MHz (" + PpmBeyond(p.rel, *r.tolerancePpm) + " ppm)");
        }
    }

    if (!finish())
        return res;

    const Candidate& c = *bestFeasible;
    res.ok = true;
    res.inputDiv = c.d;
    res.feedbackMult = c.m;
    res.pfdMHz = fin / c.d;
    res.vcoMHz = c.vco;
    for (int i = 0; i < kMaxOutputs; ++i) {
        if (!req[i].enabled)
            continue;
        res.outputs[i].achievedMHz = c.picks[i].achieved;
        res.outputs[i].divider = c.picks[i].div;
        res.outputs[i].errorPpm = c.picks[i].rel * 1e6;
    }
    return res;
}

}  // namespace TklPll
