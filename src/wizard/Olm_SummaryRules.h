#pragma once

#include "shared/OlmBaseExport.h"

#include <string>
#include <vector>

class Olm_Attribute;
class Olm_Block;
class Olm_WizData;

// Which blocks and attributes a summary of the model lists: the summary
// page's attribute pane and the report of a run follow the same rules.
class OLM_BASE_EXPORT Olm_SummaryRules {
public:
    // An active block that is not internal (its primitive type does not begin
    // with "OLM_", letter case folded).
    static bool ListsBlock(const Olm_Block& block);
    // An attribute of a listed block that is saved to the design file,
    // modifiable and written to the HDL (the translator does not leave it
    // out); with onlyChanged also one whose value differs from its default
    // (Olm_Attribute::DiffersFromDefault), or one named LOC.
    static bool ListsAttribute(Olm_Block& block, Olm_Attribute& attribute, bool onlyChanged);
    // "BLOCK.ATTRIBUTE = value  (default d)" for every attribute the summary
    // lists when it shows only the changed ones, in model order.
    static std::vector<std::string> ChangedSettings(Olm_WizData& data);
};
