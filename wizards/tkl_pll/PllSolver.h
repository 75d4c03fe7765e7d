// Divider solver of the single-PLL wizard.
//
// The PLL divides its input clock by the input divider D to get the
// phase-detector frequency, multiplies that by the feedback multiplier M to
// get the VCO frequency, and divides the VCO by one output divider O per
// output clock:
//
//     f_pfd = f_in / D      f_vco = f_in * M / D      f_out[i] = f_vco / O[i]
//
// The solver searches every (D, M) whose f_pfd and f_vco lie inside their
// ranges and picks, for each enabled output, the divider closest to the
// request. Among the (D, M) whose outputs all meet their tolerances it keeps
// the one with
//   1. the smallest maximum relative error over the enabled outputs, then
//   2. the smallest sum of those relative errors, then
//   3. the highest VCO frequency, then
//   4. the smallest D.
// Errors that differ by less than 1e-6 ppm count as equal, so that exact
// ratios computed in floating point (100 * 10 / 1 / 4 = 250) report 0 ppm.
//
// The class depends on the standard library only; the wizard converts the
// "OLMRANGE=min:max" possible values of its data file into PllLimits (see
// ParseRange) and passes phases and duty cycles on by itself.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace TklPll {

inline constexpr int kMaxOutputs = 6;

// An inclusive frequency range in MHz.
struct PllRange {
    double min = 0.0;
    double max = 0.0;
};

// An inclusive range of divider or multiplier values.
struct PllIntRange {
    int min = 1;
    int max = 1;
};

struct PllLimits {
    PllRange input;            // input clock frequency
    PllRange pfd;              // phase-detector frequency f_in / D
    PllRange vco;              // VCO frequency f_in * M / D
    PllIntRange inputDiv;      // D
    PllIntRange feedbackMult;  // M
    PllIntRange outputDiv;     // O, the same range for every output
};

struct PllOutputRequest {
    bool enabled = false;
    double freqMHz = 0.0;
    // Largest accepted |error| in ppm. Empty: take the nearest achievable
    // frequency, however far, as long as it lies within the reachable span.
    std::optional<double> tolerancePpm;
    // Used in messages; empty gives "CLKOUT<index>".
    std::string name;
    // The frequency as the user typed it, quoted when freqMHz is not usable
    // (the caller passes NaN for a text that is not a number); empty: the
    // messages show freqMHz.
    std::string text;
};

// The limit that ruled a request out.
//
// For an output beyond the reachable span (output >= 0) the limit is the
// bound that stops it: below the span it is always OutputDivider (a larger
// divider would go lower); above it, OutputDivider when the VCO itself reaches
// the request and only the smallest divider is in the way, otherwise what
// caps the VCO: Vco, InputMultiplier or PhaseDetector.
enum class PllLimit {
    None,
    Limits,           // the limits themselves are unusable (empty or non-positive range)
    Request,          // a requested frequency or tolerance is not a usable number
    Input,            // f_in outside the input range
    PhaseDetector,    // output -1: no D puts f_pfd inside its range; otherwise the f_pfd range
                      // forces D up (or down) and so caps f_in * M / D short of the VCO range
    Vco,              // output -1: no (D, M) lands f_vco inside its range although f_in * M / D
                      // spans it; otherwise the VCO range caps the VCO below what M and D give
    InputMultiplier,  // f_in * M / D with the extreme M and D in their ranges stops short of the
                      // VCO range (output -1) or of what the output needs
    OutputDivider,    // the output needs a divider beyond the divider range
    Tolerance,        // the output lies within reach, but no divider meets its tolerance
    Combination       // each output is reachable alone, but not all together with one (D, M)
};

struct PllOutputResult {
    bool enabled = false;
    double requestedMHz = 0.0;
    double achievedMHz = 0.0;  // on failure: the nearest achievable frequency, 0 if none
    int divider = 0;           // O; 0 when the output is disabled or unsolved
    double errorPpm = 0.0;     // signed: (achieved - requested) / requested * 1e6
};

struct PllFailure {
    PllLimit limit = PllLimit::None;
    int output = -1;          // output index, -1 for the input clock or the limits
    double nearestMHz = 0.0;  // output >= 0: the nearest achievable output; output -1: the nearest
                              // input, phase-detector or VCO frequency; 0 if none
    std::string message;
};

struct PllResult {
    bool ok = false;
    int inputDiv = 0;      // D
    int feedbackMult = 0;  // M
    double pfdMHz = 0.0;
    double vcoMHz = 0.0;
    std::array<PllOutputResult, kMaxOutputs> outputs{};
    std::vector<PllFailure> failures;

    // All failure messages, one per line, without a trailing line feed.
    std::string Message() const;
};

class PllSolver {
public:
    explicit PllSolver(const PllLimits& limits);

    const PllLimits& Limits() const { return limits_; }

    // Never throws; a request that cannot be met gives ok == false with at
    // least one failure: the input clock's first, then at most one per
    // output, in output order. `inputText` is the input frequency as the user
    // typed it, quoted when inputMHz is not usable (NaN for "not a number").
    PllResult Solve(double inputMHz, const std::array<PllOutputRequest, kMaxOutputs>& outputs,
                    std::string_view inputText = {}) const;

    // The name of output `index` in messages.
    static std::string OutputName(const PllOutputRequest& request, int index);

    // Converts the bound texts of a range value (as split from
    // "OLMRANGE=min:max") into numbers. Each text must be one finite decimal
    // number with at most one sign and nothing after it (no "+-0", "1e400",
    // "nan", "inf", "0x10"); surrounding blanks and tabs are allowed. The
    // integer form takes whole numbers only. False leaves `range` unchanged.
    static bool ParseRange(std::string_view minText, std::string_view maxText, PllRange& range);
    static bool ParseRange(std::string_view minText, std::string_view maxText, PllIntRange& range);

private:
    PllLimits limits_;
};

}  // namespace TklPll
