#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_TbDesign;
class Olm_TbText;

// The bench of transceiver lanes (HSX3, HSX10, HSX11; the hsx wizard): each
// lane's serial output is looped back to its receiver outside the wrapper,
// its reference clock runs at the requested REFCLK_FREQ and both fabric
// clocks take the lane's transmit word clock (TXREFOUT). After the resets,
// each lane sends a preamble with which its receiver finds the word boundary
// in the requested coding (8B10B: comma words, the comma in the byte the
// receiver aligns it to; 64B66B and NONE: zero words), then 100 random words
// of its own. The receiver must give back every word, in order, with no
// word lost; each lane's word is a check. Without coding (NONE) the
// receiver's word boundary is where its first bit arrived: the bench finds
// the first word at any bit of the received words and holds that boundary. Bonded lanes (LANE_BOND_MODE
// MASTER/SLAVE) must deliver their first word on the same word clock.
class OLM_BASE_EXPORT Olm_TbLaneBench {
public:
    static bool Applies(const Olm_TbDesign& design);
    // False with error when a lane cannot be looped back as its design file
    // asks (another coding or width in each direction, far-end loopback, no
    // comma to align with) or its ports are not in the wrapper.
    static bool Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error);
};
