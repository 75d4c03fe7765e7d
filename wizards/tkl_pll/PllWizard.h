#pragma once

#include "PllSolver.h"

#include "OlmKit.h"

#include <array>

namespace TklPll {

// The clock-buffer types an output clock can use; the first is the default.
inline constexpr std::array<const char*, 6> kBufferTypes = {"Global Buffer", "Enabled Buffer", "Clock Mux",
                                                            "Output Buffer", "Lowskewline",    "Local Routing"};

// The single-PLL wizard (type tkl_pll): one RKO_ADV whose dividers it works
// out from the requested output clocks (PllSolver). Pages "General Setup"
// (input clock, feedback, tolerance, reset and locked ports) and "Output
// Clocks" (six outputs), then the summary.
//
// The requests are block attributes of RKO_ADV: OLMW_ONLY_CLKIN1_FREQ,
// OLMW_ONLY_CLKOUT<n>_USED and _FREQ, CLKOUT<n>_PHASE and _DUTY from the
// data file, and the wizard's own:
//   OLMW_ONLY_<PIN>_PORT (CLKIN1, RST, LOCKED, CLKOUT<n>)   port names
//   OLMW_ONLY_USE_RST, OLMW_ONLY_USE_LOCKED   TRUE or FALSE (default TRUE)
//   OLMW_ONLY_FREQ_TOLERANCE_PPM   largest accepted frequency error (1000)
//   OLMW_ONLY_SETCLKBUF_,CLKOUT<n>  clock buffer (as TklClkBuf sets it): an
//       instance between the output and its port, or a routing line of the
//       constraint template (ClockBuffers)
class PllWizard : public Olm_KitMain {
public:
    explicit PllWizard(bool batchMode);

    const PllLimits& Limits() const { return m_limits; }
    // Solves what the values ask for: the input clock alone, or with the
    // enabled outputs. Nothing is changed.
    PllResult Solve(const Olm_FieldValues& values, bool withOutputs) const;

    bool Prepare() override;
    bool Apply() override;
    std::vector<std::string> FeatureLines() override;
    void AddConstraints(Olm_ConstraintTemplate& pkx) override;
    // The enabled outputs with the frequency the solver achieves, their
    // CLKOUT<n>_PHASE and _DUTY, named by their ports.
    std::vector<Olm_ClockWave> ClockWaves() override;

private:
    // For a design file that was loaded: the requests that the installed
    // data keeps out of the design file, worked out from what it holds.
    void RequestsFromDesign();

    PllLimits m_limits;
};

// A frequency for display and for the design: up to six decimals, no
// trailing zeros.
inline std::string FormatMHz(double mhz) { return Pal::StrUtil::FormatNumber(mhz); }

}  // namespace TklPll
