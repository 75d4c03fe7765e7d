#pragma once

#include "shared/OlmBaseExport.h"

#include <string>

class Olm_Block;
class Olm_WizData;

// Small edits of a wizard's model that wizards make again and again, beyond
// what bound fields do by themselves.
class OLM_BASE_EXPORT Olm_ModelEdit {
public:
    // The current value of a block attribute, or fallback when the block has
    // no such attribute (or is null).
    static std::string Value(Olm_Block* block, const char* attribute, const std::string& fallback = {});
    // Sets the current value of an attribute and keeps its flags (an
    // attribute that is not saved stays unsaved); adds a saved attribute when
    // the block has none of that name.
    static void SetValue(Olm_Block* block, const char* attribute, const std::string& value);
    // Connects a pin to a net that leaves the design as the port of that
    // name; a width above 0 makes the net a bus of that many bits. The pin is
    // used from then on.
    static void ConnectPort(Olm_WizData& data, Olm_Block& block, const char* pin, const char* net,
                            const std::string& port, int busWidth = 0);
    // Switches on exactly the nets that an active pin of an active block is
    // connected to, every other net off; the tie nets VCCa and GNDa, which
    // saving the design adds for bit ties, are left as they are.
    static void ActivateUsedNets(Olm_WizData& data);
};
