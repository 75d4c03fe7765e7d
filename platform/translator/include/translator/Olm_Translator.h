#pragma once

#include "pal/String.h"
#include "translator/TranslatorExport.h"

// What the HDL translator does with the blocks of a design.
class OLM_TRANSLATOR_API Olm_Translator {
public:
    // True for a block property that does not become an HDL parameter of the
    // primitive (internal names, flag properties, per-primitive exceptions).
    static bool IsBlkPropIgnored(Pal::String& propName, Pal::String primType, bool hsx);
};
