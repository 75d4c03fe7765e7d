#pragma once

#include <string>

class Olm_Block;
class Olm_WizData;

namespace DspMult {

// The primitive that the multiplier wizard configures.
inline constexpr const char* kPrimName = "DSP";

// What the user asks of the multiplier, as the pages edit it; numbers are
// kept as typed so that the checks can quote them.
//
// The requests come from the block attributes of DSP. Besides those of the
// installed data, an option file may set these wizard attributes:
//   OLMW_ONLY_A_PORT, OLMW_ONLY_B_PORT, OLMW_ONLY_P_PORT, OLMW_ONLY_CLK_PORT,
//   OLMW_ONLY_CE_PORT, OLMW_ONLY_RST_PORT   port names
//   OLMW_ONLY_USE_CE, OLMW_ONLY_USE_RST     TRUE or FALSE
struct MultConfig {
    std::string aWidth, bWidth, pWidth;
    bool aSigned = true;
    bool bSigned = true;
    std::string aPipe, bPipe, mPipe, pPipe;
    std::string resetType;
    bool useCe = true;
    bool useRst = true;
    std::string portA, portB, portP, portClk, portCe, portRst;

    void Load(Olm_WizData* data, Olm_Block* block);
    // Writes the settings into the block, its pins and the signals. The
    // operands and the product use the low bits of their pins (A_WIDTH,
    // B_WIDTH, P_WIDTH tell the primitive how many); the wrapper's ports are
    // as wide as the widths chosen.
    void Apply(Olm_WizData* data, Olm_Block* block) const;

    // Register stages on the slower input path, the multiplier and the output.
    int Latency() const;
};

}  // namespace DspMult
