#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_TbDesign;
class Olm_TbText;

// The bench of a source-synchronous transmitter (OSER blocks, ssio_tx): it
// runs the bit clock at the requested bit rate (OLMW_ONLY_BIT_RATE; one bit
// per clock edge in DDR, per rising edge in SDR) and the word clock
// DATA_WIDTH bits slower, edge-aligned, holds the reset for four word
// clocks, then gives a random word to every line at each word clock and
// receives each line itself: bit i of the word taken at a rising word-clock
// edge is sampled in the middle of its bit, one bit-clock period plus i bit
// periods after that edge, bit 0 first. Line k carries bits k x DATA_WIDTH
// to k x DATA_WIDTH + DATA_WIDTH - 1 of the word port. Each line's word is a
// check. The tristate outputs are not checked.
class OLM_BASE_EXPORT Olm_TbSerialBench {
public:
    static bool Applies(const Olm_TbDesign& design);
    // False with error when the requested ports, widths or bit rate are not
    // in the design file.
    static bool Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error);
};
