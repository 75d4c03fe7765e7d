#pragma once

#include "pal/String.h"
#include "translator/TranslatorExport.h"

// Verilog rules of the HDL translator.
class OLM_TRANSLATOR_API Olm_VerilogTranslator {
public:
    // True when name is a legal Verilog port name (a simple identifier that is
    // not a keyword). On false, reason receives a short explanation.
    static bool IsPortnameLegal(Pal::String& name, Pal::String& reason);
};
