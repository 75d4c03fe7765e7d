#pragma once

#include "PllSolver.h"

#include <array>
#include <string>

class Olm_Block;
class Olm_WizData;

namespace TklPll {

// The primitive that the single-PLL wizard configures.
inline constexpr const char* kPrimName = "RKO_ADV";
// The clock-buffer types a generated clock can use; the first is the default.
inline constexpr std::array<const char*, 6> kBufferTypes = {"Global Buffer", "Enabled Buffer", "Clock Mux",
                                                            "Output Buffer", "Lowskewline",    "Local Routing"};

struct PllOutputConfig {
    bool enabled = false;
    std::string freq;   // requested frequency in MHz, as typed
    std::string phase;  // degrees
    std::string duty;   // fraction of the period
    std::string buffer;
    std::string port;
};

// What the user asks of the PLL, as the pages edit it. Values are kept as
// typed, so that the checks can quote them.
//
// The requests come from the block attributes of RKO_ADV. Besides those of
// the installed data, an option file may set these wizard attributes:
//   OLMW_ONLY_CLKIN1_PORT, OLMW_ONLY_RST_PORT, OLMW_ONLY_LOCKED_PORT,
//   OLMW_ONLY_CLKOUT<n>_PORT   port names
//   OLMW_ONLY_USE_RST, OLMW_ONLY_USE_LOCKED   TRUE or FALSE
//   OLMW_ONLY_FREQ_TOLERANCE_PPM   largest accepted frequency error
struct PllConfig {
    std::string inputFreq;
    std::string inputPort;
    std::string feedback;  // CLKFBOUT (internal) or the output CLKOUT<n> that is fed back
    bool useReset = true;
    std::string resetPort;
    bool useLocked = true;
    std::string lockedPort;
    std::string tolerancePpm;
    std::array<PllOutputConfig, kMaxOutputs> outputs;

    // Reads the requests from the block. For a design file that was loaded
    // (existing), requests that the installed data keeps out of the design
    // file are worked out from what it holds: the input frequency from
    // INCLK1_PERIOD, the output frequencies from the dividers, the outputs in
    // use from their pins.
    void Load(Olm_WizData* data, Olm_Block* block, bool existing);
    // Writes the requests and the solved dividers into the block, its pins and
    // the signals (port names).
    void Apply(Olm_WizData* data, Olm_Block* block, const PllResult& result) const;
};

// Reads the limits of the solver from the OLMRANGE possible values of the
// block's attributes; false names the attribute that has none in `missing`.
bool ReadLimits(Olm_Block* block, PllLimits& limits, std::string& missing);

// A frequency for display and for the design: up to six decimals, no
// trailing zeros.
std::string FormatMHz(double mhz);

}  // namespace TklPll
