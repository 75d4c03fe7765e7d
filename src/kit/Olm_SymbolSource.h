#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_CoreSymbol;
class Olm_FieldValues;
class Olm_HdlGenerator;
class Olm_KitMain;
class Olm_KitPage;

// Where a core symbol's ports come from: the wrapper's netlist view
// (Olm_HdlGenerator::View) of a design file, the path the HDL file is
// written by, so that the symbol and the wrapper never disagree.
class OLM_BASE_EXPORT Olm_SymbolSource {
public:
    // The symbol of the wrapper of a design file (the file a run wrote),
    // without waveforms; false with error when the file cannot be read or
    // viewed as HDL.
    static bool FromDesignFile(const std::string& kfzPath, const std::string& design, Olm_HdlGenerator& generator,
                               Olm_CoreSymbol& symbol, std::string& error);

    // The symbol the wrapper would have if the wizard finished now, with the
    // values of a page (what its window page shows; page and values may be
    // null) in place of the model's, and the wizard's ClockWaves: on a copy
    // of the model (Olm_KitMain::WithModelCopy) the page's values are
    // written, then those the model holds for the pages after it (as their
    // Next would write them), Apply runs as Finish runs it, and the copy is stored in a
    // design of an engine of its own and read back as the HDL writer reads
    // it. The model is left as it was, and nothing is reported meanwhile:
    // messages of the work are dropped. False with error (and the symbol
    // unchanged) when an enabled field of the page holds a value its rule
    // refuses, when Apply refuses, or when the design cannot be viewed.
    static bool Preview(Olm_KitMain& main, const Olm_KitPage* page, const Olm_FieldValues* values,
                        Olm_HdlGenerator& generator, Olm_CoreSymbol& symbol, std::string& error);
};
