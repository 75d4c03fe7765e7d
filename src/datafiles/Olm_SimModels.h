#pragma once

#include "shared/OlmBaseExport.h"
#include "shared/Olm_HdlLanguage.h"

#include <string>
#include <vector>

// The behavioural simulation models of the primitives, which `olmwiz sim`
// compiles with a core's wrapper and testbench. The model of a primitive P is
// the file sim/verilog/P.v or sim/vhdl/P.vhd of a data folder, so that a
// wizard plugin ships the models of its own primitives beside its data file.
// The data folders are searched in order: those of OLMW_DATA_PATH, the
// folders where the data files registered by plugins (Olm_DataTypes) were
// found, then the data folder of the installation, which holds the models of
// the built-in primitives. The first folder that holds the model wins.
class OLM_BASE_EXPORT Olm_SimModels {
public:
    // The model folders of a language in the order of the search: sim/verilog
    // or sim/vhdl of each data folder, each folder once, whether it exists or not.
    static std::vector<std::string> Folders(Olm_HdlLanguage language);

    // The path of the model of a primitive in the first of folders that holds
    // it; "" when none does.
    static std::string Find(const std::string& primitive, Olm_HdlLanguage language,
                            const std::vector<std::string>& folders);
    // The same in Folders(language).
    static std::string Find(const std::string& primitive, Olm_HdlLanguage language) {
        return Find(primitive, language, Folders(language));
    }

    // Why a primitive has no model: "no simulation model of P (P.v) in the
    // folders searched: F1, F2".
    static std::string MissingText(const std::string& primitive, Olm_HdlLanguage language,
                                   const std::vector<std::string>& folders);
};
