#pragma once

#include "translator/Olm_HdlDesign.h"
#include "translator/TranslatorExport.h"

#include <string>

// Prints an Olm_HdlDesign as Verilog-2005: the wrapper module, and black-box
// modules of the primitives it uses. The same design gives the same text.
class OLM_TRANSLATOR_API Olm_VerilogWriter {
public:
    // The wrapper module: ports from the external signals, a wire per
    // internal net, one instance per block with its parameters and every pin
    // of its primitive connected (constants for ties and for inputs that
    // nothing drives, a wire named "..._unused" for output bits that reach
    // nothing). False with error set when a name is not a legal Verilog
    // identifier or is declared twice, or a parameter value cannot be written.
    static bool WriteWrapper(const Olm_HdlDesign& design, std::string& text, std::string& error);
    // A module with ports and parameters (with their defaults) and no body
    // for each primitive the design uses.
    static bool WriteStubs(const Olm_HdlDesign& design, std::string& text, std::string& error);
};
