#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_CoreSymbol;

// The core symbol (Olm_CoreSymbol, laid out by Olm_SymbolDrawing) as an SVG
// document: plain text, the same bytes for the same symbol (numbers written
// without a locale, one decimal), UTF-8, the names escaped for XML.
class OLM_BASE_EXPORT Olm_SymbolSvg {
public:
    static std::string Text(const Olm_CoreSymbol& symbol);
    // Writes Text(symbol) to the file, whole or not at all
    // (Pal::OutputFile); false with error saying why.
    static bool Write(const Olm_CoreSymbol& symbol, const std::string& path, std::string& error);
    // Whether a file can be written at path (its folder exists and takes a
    // new file; the path is no folder), tried without changing anything;
    // false with error saying why.
    static bool CanWrite(const std::string& path, std::string& error);
};
