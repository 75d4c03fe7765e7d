#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_TbDesign;
class Olm_TbText;

// The bench of the phase-locked loops of a clock design (RKO_ADV and
// RKO_BASE blocks): it drives each input clock port at the period the design
// file configures, holds the resets for ten input cycles (the locked outputs
// must be low meanwhile), releases them and waits for every locked output,
// then measures each output clock that reaches a port over 16 of its
// periods:
//   - its frequency against the one the dividers achieve (input x multiplier
//     / input divider / output divider), within 2 ps + 10 ppm of the period,
//     and against the frequency the designer asked for (OLMW_ONLY_CLKOUTn_
//     FREQ), within the requested tolerance (OLMW_ONLY_FREQ_TOLERANCE_PPM)
//     plus the same 2 ps;
//   - its duty cycle against CLKOUTn_DUTY, within half a VCO period;
//   - its phase against CLKOUTn_PHASE, relative to the input clock, within
//     an eighth of a VCO period + 5 ps; rising edges are compared modulo the
//     greatest common period of input and output, the only phase the two
//     clocks have;
// and that the locked outputs stay high throughout and fall when the reset
// is raised again.
class OLM_BASE_EXPORT Olm_TbClockBench {
public:
    static bool Applies(const Olm_TbDesign& design);
    // False with error when no loop has its input clock on a port, or a loop's
    // settings give no output frequency.
    static bool Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error);
};
