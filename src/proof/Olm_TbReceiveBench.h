#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_TbDesign;
class Olm_TbText;

// The bench of a source-synchronous receiver (ISER blocks, ssio_rx): it runs
// the fast clock at the requested bit rate (OLMW_ONLY_BIT_RATE; a bit per
// clock edge in DDR, per rising edge in SDR) and the word clock DATA_WIDTH
// bits slower, edge-aligned, and serialises random words itself on every
// line: bit 0 of each word first, each bit centred on the clock edge that
// samples it once the requested input delay (OLMW_ONLY_DELAY_PS, when the
// delay is used) has moved it. Line k carries bits k x DATA_WIDTH upwards of
// the word port. The word whose bit 0 is sampled one fast-clock period after
// word-clock edge n must be on the word port at edge n + 2, on every line
// (each line's word a check). With a delay controller, the reference clock
// runs at the requested REF_FREQ and its ready output must be low in reset
// and high after it.
class OLM_BASE_EXPORT Olm_TbReceiveBench {
public:
    static bool Applies(const Olm_TbDesign& design);
    // False with error when the requested ports, widths or rates are not in
    // the design file.
    static bool Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error);
};
