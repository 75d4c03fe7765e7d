#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_TbDesign;
class Olm_TbText;

// The bench of a design with one serializer and one deserializer on the
// same fast and word clocks (OSER and ISER, the generic wizard's I/O data):
// the serial output is looped back to the serial input, through the input
// delay when there is one, and random words go round. The design asks for
// no bit rate, so the bench runs at kBitRateMbps. The loop is delayed by a
// word less half a bit (less the delay's taps), so that each word's first
// bit is sampled in its middle at the receiver's word boundary; the word
// taken at word-clock edge n must then be on the receiver's word port at
// edge n + 3 (its low DATA_WIDTH bits; each word a check). With a delay
// controller, its ready output must be high after the reset.
class OLM_BASE_EXPORT Olm_TbRoundTripBench {
public:
    static constexpr double kBitRateMbps = 400.0;

    static bool Applies(const Olm_TbDesign& design);
    // False with error when the design is not one such pair with its ports.
    static bool Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error);
};
