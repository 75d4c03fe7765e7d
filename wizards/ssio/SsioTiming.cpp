#include "SsioTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace Ssio {

namespace {

// Relative slack of range checks: the clocks are one quotient of the typed
// numbers, so a bound that is met exactly lands within a few ulps of it.
constexpr double kRelEps = 1e-12;

bool Above(double x, double max) { return x > max + std::fabs(max) * kRelEps; }
bool Below(double x, double min) { return x < min - std::fabs(min) * kRelEps; }

// "4, 6, 8 and 10".
std::string Listed(const std::vector<int>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += i + 1 == values.size() ? " and " : ", ";
        text += std::to_string(values[i]);
    }
    return text;
}

}  // namespace

SsioTiming::SsioTiming(Limits limits) : m_limits(std::move(limits)) {}

const std::vector<int>& SsioTiming::Ratios(bool ddr) const { return ddr ? m_limits.ddrRatios : m_limits.sdrRatios; }

ClockPlan SsioTiming::Clocks(double bitRateMbps, bool ddr, int ratio) const {
    ClockPlan plan;
    const std::string& block = m_limits.block;
    const char* rate = ddr ? "DDR" : "SDR";
    if (!(bitRateMbps > 0.0) || !std::isfinite(bitRateMbps)) {
        plan.message = "The bit rate must be a positive number of Mb/s.";
        return plan;
    }
    const std::vector<int>& allowed = Ratios(ddr);
    if (std::find(allowed.begin(), allowed.end(), ratio) == allowed.end()) {
        plan.message = block + " cannot use the ratio " + std::to_string(ratio) + " in " + rate + ": " + rate +
                       " takes the ratios " + Listed(allowed) + ".";
        return plan;
    }
    plan.fastMHz = ddr ? bitRateMbps / 2.0 : bitRateMbps;
    plan.wordMHz = bitRateMbps / ratio;
    plan.cascade = ratio > m_limits.blockRatio;
    const std::string what = block + " cannot run " + Number(bitRateMbps) + " Mb/s";
    const auto beyond = [&](const char* clock, double mhz, const Range& range, const std::string& how) {
        if (Above(mhz, range.max))
            return what + how + ": the " + clock + " would run at " + Number(mhz) + " MHz, above its limit of " +
                   Number(range.max) + " MHz.";
        if (Below(mhz, range.min))
            return what + how + ": the " + clock + " would run at " + Number(mhz) + " MHz, below its lowest of " +
                   Number(range.min) + " MHz.";
        return std::string();
    };
    plan.message = beyond("fast clock", plan.fastMHz, m_limits.fastClock, std::string(" in ") + rate);
    if (plan.message.empty())
        plan.message = beyond("word clock", plan.wordMHz, m_limits.wordClock,
                              " with " + std::to_string(ratio) + " bits per word");
    plan.ok = plan.message.empty();
    return plan;
}

TapPlan SsioTiming::Taps(double delayPs, double refMHz) const {
    TapPlan plan;
    if (!(refMHz > 0.0) || !std::isfinite(refMHz)) {
        plan.message = "The reference clock must be a positive number of MHz.";
        return plan;
    }
    const Range& ref = m_limits.refClock;
    if (Below(refMHz, ref.min) || Above(refMHz, ref.max)) {
        plan.message = "The reference clock of " + Number(refMHz) + " MHz is outside the range of IDLYCTRL, " +
                       Number(ref.min) + " to " + Number(ref.max) + " MHz.";
        return plan;
    }
    if (!(delayPs >= 0.0) || !std::isfinite(delayPs)) {
        plan.message = "The delay must be a number of ps, 0 or more.";
        return plan;
    }
    plan.tapPs = 1e6 / (m_limits.tapsPerPeriod * refMHz);
    plan.maxPs = m_limits.maxTaps * plan.tapPs;
    // The delay in taps, as exact as one product allows; half a tap rounds
    // up also where the product lands an ulp below the half.
    const double exact = delayPs * m_limits.tapsPerPeriod * refMHz / 1e6;
    const double rounded = std::floor(exact + 0.5 + std::max(1.0, exact) * 1e-9);
    const std::string needs = "A delay of " + Number(delayPs) + " ps needs " + Number(rounded) + " taps of " +
                              Number(plan.tapPs) + " ps (reference clock " + Number(refMHz) + " MHz); ";
    if (rounded > m_limits.maxTaps) {
        plan.message = needs + "IDLY has at most " + std::to_string(m_limits.maxTaps) + " taps, " +
                       Number(plan.maxPs) + " ps.";
        return plan;
    }
    if (rounded < m_limits.minTaps) {
        plan.message = needs + "IDLY has at least " + std::to_string(m_limits.minTaps) + " taps, " +
                       Number(m_limits.minTaps * plan.tapPs) + " ps.";
        return plan;
    }
    plan.taps = static_cast<int>(rounded);
    plan.delayPs = plan.taps * plan.tapPs;
    plan.ok = true;
    return plan;
}

}  // namespace Ssio
