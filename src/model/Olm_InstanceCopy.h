#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_Block;
class Olm_WizData;

// Numbered instance copies of a primitive's block, made alike by every
// wizard and by primitive conversion: a copy of the template block, named
// after the primitive type and the number, with the number in the internal
// attribute "OLMW_ONLY_INST_NUM" (decimal).
class OLM_BASE_EXPORT Olm_InstanceCopy {
public:
    static constexpr const char* kInstNumAttr = "OLMW_ONLY_INST_NUM";
    static constexpr const char* kInstInfix = "_INST";

    // "<primType><infix><n>": X_INST2 by default; a wizard may number its
    // copies under another infix (the transceiver's lanes: X_LANE1).
    static std::string Name(const std::string& primType, int n, const char* infix = kInstInfix);
    // Gives the block instance number n (the attribute is created when
    // missing, and saved).
    static void Number(Olm_Block& block, int n);
    // A deep copy of templ named name, replacing any block of that name and
    // appended at the end of the list (Olm_WizData::CopyBlock), active and
    // numbered n. The container owns it.
    static Olm_Block* Make(Olm_WizData& data, Olm_Block& templ, const std::string& name, int n);
};
