#pragma once

#include "translator/Olm_HdlDesign.h"
#include "translator/TranslatorExport.h"

#include <string>

// Prints an Olm_HdlDesign as VHDL (std_logic types): the wrapper entity and
// its architecture, and black-box entities of the primitives it uses. The
// same design gives the same text.
class OLM_TRANSLATOR_API Olm_VhdlWriter {
public:
    // The wrapper: an entity with a port per external signal, an
    // architecture declaring a component per primitive and a signal per
    // internal net, and one instance per block with its generics and every
    // pin of its primitive mapped (constants for ties and for inputs that
    // nothing drives, open for outputs that reach nothing). A pin fed from
    // several sources goes through a signal named after the instance and the
    // pin. An instance label that equals a primitive name gets "_inst"
    // appended. False with error set when a name is not a legal VHDL
    // identifier or is declared twice (letter case ignored), or a generic
    // value cannot be written.
    static bool WriteWrapper(const Olm_HdlDesign& design, std::string& text, std::string& error);
    // An entity with generics (with their defaults) and ports (inputs with
    // the default 0, so that unmapped inputs are legal) and an empty
    // architecture for each primitive the design uses.
    static bool WriteStubs(const Olm_HdlDesign& design, std::string& text, std::string& error);
};
