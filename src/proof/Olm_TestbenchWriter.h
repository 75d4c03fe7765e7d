#pragma once

#include "kit/Olm_HdlGenerator.h"
#include "shared/OlmBaseExport.h"

#include <functional>
#include <string>
#include <vector>

class Olm_KfzDesign;
class Olm_TbDesign;
class Olm_TbText;

// Writes the self-checking testbench of a design: a Verilog module or VHDL
// entity <design>_tb that instantiates the wrapper <design>, drives its
// ports and checks that the core does what the design file asks for (the
// wizard's requests, the OLMW_ONLY_ properties, and the settings it chose),
// rather than what the wrapper happens to say. It prints
// "PASS <design>: N checks" when every check holds, otherwise a line
// "FAIL <design>: <check>" for each failed check, and then ends with a
// non-zero exit code.
//
// What is checked follows from the primitives of the design:
//   - phase-locked loops (RKO_ADV, RKO_BASE): Olm_TbClockBench;
//   - a multiplier (DSP): Olm_TbMultBench;
//   - a serializer and a deserializer on the same clocks (the generic
//     wizard's I/O): Olm_TbRoundTripBench;
//   - a source-synchronous transmitter (OSER): Olm_TbSerialBench;
//   - a source-synchronous receiver (ISER): Olm_TbReceiveBench;
//   - transceiver lanes (HSX3, HSX10, HSX11): Olm_TbLaneBench;
//   - else a primitive of the design with an added bench (AddBench: a wizard
//     plugin's primitives, Olm_TestbenchPlugin), the first in the design's
//     order of instances.
// Any other design gets no testbench (Write fails and says so).
class OLM_BASE_EXPORT Olm_TestbenchWriter {
public:
    // The testbench file of a design: <design>_tb.v or <design>_tb.vhd.
    static std::string FileName(const std::string& design, Olm_HdlGenerator::Language language);

    // The testbench of a design file whose wrapper is named design; false
    // with error saying why none can be written.
    static bool Write(const Olm_KfzDesign& kfz, const std::string& design, Olm_HdlGenerator::Language language,
                      std::string& text, std::string& error);

    // A bench of a primitive: adds to tb (the frame, in the testbench's
    // language) the declarations, concurrent statements and steps that check
    // a design with an instance of the primitive; false with error saying why
    // the design cannot be checked (then no testbench is written).
    using Bench = std::function<bool(const Olm_TbDesign& design, Olm_TbText& tb, std::string& error)>;

    // Adds the bench of a primitive for every later Write, process-wide and
    // safe from several threads. "" when added, else why not: the primitive
    // is empty, has a built-in bench, or has a bench already (letter case
    // does not count); the bench is null.
    static std::string AddBench(const std::string& primitive, Bench bench);
    // Removes the bench of a primitive added by AddBench; false when there is none.
    static bool RemoveBench(const std::string& primitive);
    // The primitives with an added bench, in the order added.
    static std::vector<std::string> BenchPrimitives();
};
