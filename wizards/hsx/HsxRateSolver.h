// Rate solver of the transceiver wizard.
//
// A lane's PLL multiplies its reference clock up to the VCO frequency, and the
// serializer sends one bit on each edge of the VCO clock, divided down by the
// rate divider:
//
//     f_vco = f_ref * M / R          line rate = 2 * f_vco / D
//
// M is one of the multiplier choices, R one of the reference-divider choices
// and D one of the rate-divider choices of the installed data; f_vco must lie
// in the VCO range, the line rate in the line-rate range, and the reference
// clock must be one the lane takes. The fabric clocks, at which the fabric
// hands data to the lane and takes it back, follow from the line rate, the
// code rate of the encoding and the data width, and must lie in the
// fabric-clock range:
//
//     f_fabric = line rate * code rate / width     (code rate 8/10 with 8b/10b,
//                                                   64/66 with 64b/66b, else 1)
//
// Frequencies are in MHz, line rates in Gbit/s. The solver depends on the
// standard library only; the wizard fills PllLimits from the data file.
#pragma once

#include "pal/StrUtil.h"

#include <string>
#include <vector>

namespace Hsx {

struct Range {
    double min = 0.0;
    double max = 0.0;
    // Inclusive, with a relative slack of 1e-9 for values that are products
    // and quotients of a few decimal numbers.
    bool Contains(double x) const;
};

struct PllLimits {
    std::vector<double> refClocks;  // the reference clocks the lane takes (MHz)
    std::vector<int> multipliers;   // M
    std::vector<int> refDividers;   // R
    std::vector<int> rateDividers;  // D
    Range vco;                      // MHz
    Range lineRate;                 // Gbit/s
    Range fabric;                   // MHz
};

// What ruled a request out; LimitName gives the words the messages use.
enum class Limit { None, ReferenceClock, LineRateRange, VcoRange, MultiplierChoices, DividerChoices, FabricClock };
const char* LimitName(Limit limit);

struct PllSetting {
    int mult = 0;
    int refDiv = 0;
    int rateDiv = 0;
    double vcoMHz = 0.0;
    double rateGbps = 0.0;  // 0: no setting
    // "156.25 MHz x 10 / 1 = VCO 1562.5 MHz, rate divider 1"
    std::string Describe(double refMHz) const;
};

struct RateResult {
    bool ok = false;     // the line rate is met exactly
    PllSetting setting;  // ok: the setting; otherwise the nearest achievable one (rateGbps 0: none)
    Limit limit = Limit::None;
    int needed = 0;       // MultiplierChoices: the multiplier it takes; DividerChoices: the reference divider
    std::string message;  // otherwise why not, naming the limit and the nearest achievable rate
};

class RateSolver {
public:
    explicit RateSolver(PllLimits limits);

    const PllLimits& Limits() const { return m_limits; }

    // The setting that gives the line rate exactly from the reference clock.
    // Among several, the smallest reference divider wins (the highest
    // phase-detector frequency), then the smallest rate divider.
    RateResult Solve(double refMHz, double rateGbps) const;

    // Every setting the PLL can take from the reference clock: VCO in its
    // range, line rate in its range; in the order Solve prefers them.
    std::vector<PllSetting> Settings(double refMHz) const;

private:
    PllLimits m_limits;
};

enum class Coding { None, B8B10, B64B66 };
// The coding of an encoding name of the data file: "8B10B", "64B66B", else none.
Coding CodingOf(const std::string& name);
double CodeRate(Coding coding);

struct FabricResult {
    bool ok = false;
    double mhz = 0.0;
    std::string message;  // when not ok: why, naming the fabric-clock range
};

// The fabric clock of one direction ("TX" or "RX"); widths are the data-width
// choices, for a hint at those that would fit.
FabricResult CheckFabricClock(const PllLimits& limits, const char* direction, double rateGbps, Coding coding, int width,
                              const std::vector<int>& widths);

// A number for messages and the design: at most six decimals, no trailing zeros.
inline std::string Num(double value) { return Pal::StrUtil::FormatNumber(value); }

}  // namespace Hsx
