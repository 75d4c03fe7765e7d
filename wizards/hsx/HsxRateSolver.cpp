#include "HsxRateSolver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace Hsx {

namespace {

constexpr double kRelEps = 1e-9;

bool Same(double a, double b) { return std::fabs(a - b) <= kRelEps * std::max(std::fabs(a), std::fabs(b)); }

bool Whole(double x) {
    return std::isfinite(x) && std::fabs(x - std::round(x)) <= kRelEps * std::max(1.0, std::fabs(x));
}

// "a, b or c"
template <class T>
std::string OrList(const std::vector<T>& values, const char* unit = "") {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += i + 1 == values.size() ? " or " : ", ";
        text += Num(static_cast<double>(values[i]));
    }
    return text + unit;
}

std::string RangeText(const Range& range, const char* unit) { return Num(range.min) + " to " + Num(range.max) + unit; }

// Two numbers written with as few decimals as tell them apart (at least as
// many as Num writes), so that a refused rate never reads as the rate offered
// in its place; equal numbers are written as Num writes them.
std::pair<std::string, std::string> Distinct(double a, double b) {
    for (int decimals = 6; decimals <= 17; ++decimals) {
        std::string x = Pal::StrUtil::FormatNumber(a, decimals), y = Pal::StrUtil::FormatNumber(b, decimals);
        if (x != y) return {std::move(x), std::move(y)};
    }
    return {Num(a), Num(b)};
}

}  // namespace

bool Range::Contains(double x) const {
    return std::isfinite(x) && x >= min - std::fabs(min) * kRelEps && x <= max + std::fabs(max) * kRelEps;
}

const char* LimitName(Limit limit) {
    switch (limit) {
        case Limit::None:
            return "none";
        case Limit::ReferenceClock:
            return "reference clock";
        case Limit::LineRateRange:
            return "line-rate range";
        case Limit::VcoRange:
            return "VCO range";
        case Limit::MultiplierChoices:
            return "multiplier choices";
        case Limit::DividerChoices:
            return "divider choices";
        case Limit::FabricClock:
            return "fabric-clock range";
    }
    return "";
}

std::string PllSetting::Describe(double refMHz) const {
    return Num(refMHz) + " MHz x " + std::to_string(mult) + " / " + std::to_string(refDiv) + " = VCO " + Num(vcoMHz) +
           " MHz, rate divider " + std::to_string(rateDiv);
}

RateSolver::RateSolver(PllLimits limits) : m_limits(std::move(limits)) {}

std::vector<PllSetting> RateSolver::Settings(double refMHz) const {
    std::vector<PllSetting> settings;
    for (int r : m_limits.refDividers) {
        for (int d : m_limits.rateDividers) {
            for (int m : m_limits.multipliers) {
                if (r <= 0 || d <= 0 || m <= 0) continue;
                const double vco = refMHz * m / r;
                const double rate = 2.0 * vco / d / 1000.0;
                if (m_limits.vco.Contains(vco) && m_limits.lineRate.Contains(rate))
                    settings.push_back({m, r, d, vco, rate});
            }
        }
    }
    std::stable_sort(settings.begin(), settings.end(), [](const PllSetting& a, const PllSetting& b) {
        return a.refDiv != b.refDiv ? a.refDiv < b.refDiv : a.rateDiv < b.rateDiv;
    });
    return settings;
}

RateResult RateSolver::Solve(double refMHz, double rateGbps) const {
    RateResult result;
    const PllLimits& l = m_limits;
    const auto fail = [&](Limit limit, const std::string& detail) {
        result.limit = limit;
        const bool nearest = result.setting.rateGbps > 0.0;
        const auto [asked, offered] = nearest ? Distinct(rateGbps, result.setting.rateGbps)
                                              : std::pair{Num(rateGbps), std::string()};
        result.message = asked + " Gbit/s from a " + Num(refMHz) + " MHz reference clock is ruled out by the " +
                         LimitName(limit) + ": " + detail + ".";
        if (nearest)
            result.message += " The nearest achievable rate is " + offered + " Gbit/s (" +
                              result.setting.Describe(refMHz) + ").";
        else if (limit != Limit::ReferenceClock)
            result.message += " No line rate is achievable from this reference clock.";
        return result;
    };
    if (std::none_of(l.refClocks.begin(), l.refClocks.end(), [&](double f) { return Same(f, refMHz); }))
        return fail(Limit::ReferenceClock, "the lane takes " + OrList(l.refClocks, " MHz"));

    // The nearest achievable setting; of two equally near, the lower rate.
    for (const PllSetting& s : Settings(refMHz)) {
        const double distance = std::fabs(s.rateGbps - rateGbps), best = std::fabs(result.setting.rateGbps - rateGbps);
        if (result.setting.rateGbps == 0.0 || (distance < best && !Same(distance, best)) ||
            (Same(distance, best) && s.rateGbps < result.setting.rateGbps &&
             !Same(s.rateGbps, result.setting.rateGbps)))
            result.setting = s;
    }
    if (!l.lineRate.Contains(rateGbps))
        return fail(Limit::LineRateRange, "the lane runs at " + RangeText(l.lineRate, " Gbit/s"));
    if (result.setting.rateGbps > 0.0 && Same(result.setting.rateGbps, rateGbps)) {
        result.ok = true;
        return result;
    }

    // Why not: the VCO each rate divider would need, then the multiplier and
    // the reference divider that would make it.
    std::vector<double> vcos;
    std::vector<std::pair<int, double>> reachable;  // rate divider, VCO in range
    for (int d : l.rateDividers) {
        const double vco = rateGbps * 1000.0 * d / 2.0;
        vcos.push_back(vco);
        if (l.vco.Contains(vco)) reachable.emplace_back(d, vco);
    }
    if (reachable.empty())
        return fail(Limit::VcoRange, "it needs a VCO of " + OrList(vcos, " MHz") + " (rate divider " +
                                         OrList(l.rateDividers) + "), and the VCO runs from " +
                                         RangeText(l.vco, " MHz"));
    for (const auto& [d, vco] : reachable) {
        for (int r : l.refDividers) {
            const double m = vco * r / refMHz;
            if (!Whole(m)) continue;
            result.needed = static_cast<int>(std::lround(m));
            return fail(Limit::MultiplierChoices, "it needs the multiplier " + Num(std::round(m)) + " (" + Num(refMHz) +
                                                      " MHz x " + Num(std::round(m)) + " / " + std::to_string(r) +
                                                      " = VCO " + Num(vco) + " MHz, rate divider " + std::to_string(d) +
                                                      "), and the multiplier choices are " + OrList(l.multipliers));
        }
    }
    // No reference-divider choice makes the multiplier whole: name the
    // smallest divider that would.
    const double vco = reachable.front().second;
    std::string detail = "VCO " + Num(vco) + " MHz is " + Num(vco / refMHz) + " times " + Num(refMHz) + " MHz";
    for (int r = 1; r <= 1000; ++r) {
        if (!Whole(vco * r / refMHz)) continue;
        result.needed = r;
        detail += " (x " + Num(std::round(vco * r / refMHz)) + " / " + std::to_string(r) +
                  "), which needs the reference divider " + std::to_string(r);
        break;
    }
    return fail(Limit::DividerChoices, detail + ", and the reference-divider choices are " + OrList(l.refDividers));
}

Coding CodingOf(const std::string& name) {
    if (name == "8B10B") return Coding::B8B10;
    if (name == "64B66B") return Coding::B64B66;
    return Coding::None;
}

double CodeRate(Coding coding) {
    switch (coding) {
        case Coding::B8B10:
            return 8.0 / 10.0;
        case Coding::B64B66:
            return 64.0 / 66.0;
        case Coding::None:
            break;
    }
    return 1.0;
}

FabricResult CheckFabricClock(const PllLimits& limits, const char* direction, double rateGbps, Coding coding, int width,
                              const std::vector<int>& widths) {
    static const char* const kCode[] = {"", " x 8/10", " x 64/66"};
    FabricResult result;
    const auto clock = [&](int w) { return w > 0 ? rateGbps * 1000.0 * CodeRate(coding) / w : 0.0; };
    result.mhz = clock(width);
    result.ok = limits.fabric.Contains(result.mhz);
    if (result.ok) return result;
    result.message = std::string("The ") + direction + " fabric clock " + Num(result.mhz) + " MHz (" + Num(rateGbps) +
                     " Gbit/s" + kCode[static_cast<int>(coding)] + " / " + std::to_string(width) +
                     " bits) is ruled out by the fabric-clock range " + RangeText(limits.fabric, " MHz") + ".";
    std::vector<int> fitting;
    for (int w : widths)
        if (limits.fabric.Contains(clock(w))) fitting.push_back(w);
    if (!fitting.empty())
        result.message += " A " + std::string(direction) + " data width of " + OrList(fitting) + " bits would fit.";
    return result;
}

}  // namespace Hsx
