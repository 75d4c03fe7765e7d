#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_TbDesign;
class Olm_TbText;

// The bench of a multiplier (a DSP block in MULTIPLY mode): it drives the
// operand ports with the extreme values of their widths and signedness (0,
// 1, the largest, and for a signed operand the smallest and -1), every pair,
// then random operands, with the clock enable toggled at random and a reset
// in between where the wrapper has those ports, and compares the product
// every clock cycle with a model of its own: the operands sign- or
// zero-extended as the design file says, multiplied, and passed through the
// register stages the design asks for (A_PIPE, B_PIPE, M_PIPE, P_PIPE, each
// held while the clock enable is low, cleared by the reset), the low
// P_WIDTH bits of the product. Without registers the product is checked a
// moment after each change of the operands.
class OLM_BASE_EXPORT Olm_TbMultBench {
public:
    // Adds the bench of the design's first DSP block; false with error when
    // the wrapper does not give its operands and product on ports of their
    // widths, or its registers no clock port.
    static bool Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error);
};
