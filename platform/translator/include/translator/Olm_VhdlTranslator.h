#pragma once

#include "pal/String.h"
#include "translator/TranslatorExport.h"

// VHDL rules of the HDL translator.
class OLM_TRANSLATOR_API Olm_VhdlTranslator {
public:
    // True when name is a legal VHDL port name (a basic identifier that is not
    // a reserved word). On false, reason receives a short explanation.
    static bool IsPortnameLegal(Pal::String& name, Pal::String& reason);
};
