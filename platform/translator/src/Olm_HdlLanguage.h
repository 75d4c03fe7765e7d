#pragma once

#include "Olm_HdlNameTable.h"
#include "pal/String.h"
#include "translator/Olm_HdlPrimitive.h"

#include <string>

// What the HDL writers need to know of the language they print: its rule for
// names, whether it folds letter case, what it calls a parameter, and how a
// double quote is written inside a string literal.
struct Olm_HdlLanguage {
    bool (*isLegal)(Pal::String& name, Pal::String& reason);
    bool foldCase;
    const char* paramWord;  // "parameter", "generic"
    char escape;            // written before a '"', and before itself, in a string

    // An empty scope of the language.
    Olm_HdlNameTable NewScope() const;
    // The parameters and pins of a primitive share one scope: false with error
    // set when one is illegal or declared twice.
    bool CheckPrimitive(const Olm_HdlPrimitive& prim, std::string& error) const;
    // A value as a literal of its kind; false for a string holding a byte
    // that has no printable form.
    bool ValueText(const std::string& value, Olm_HdlParamKind kind, std::string& out) const;
};
