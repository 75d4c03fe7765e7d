#include "translator/Olm_Translator.h"

#include "pal/StrUtil.h"

#include <array>
#include <string_view>

namespace {

// Block properties that the translator does not write as HDL parameters,
// beyond the internal names and flag properties. One row per exception:
// the primitive types it applies to (a prefix of the type, compared without
// case; empty for every type), the property (compared without case), and
// whether it applies only to the blocks of the transceiver wizard.
struct IgnoredProperty {
    std::string_view primPrefix;
    std::string_view property;
    bool hsxOnly;
};

constexpr std::array<IgnoredProperty, 3> kIgnoredProperties = {{
    // The design file's record of the primitive type: the HDL names the
    // primitive itself, not a parameter of it.
    {"", "PRIMTYPE", false},
    // The display name of a transceiver lane: shown by the wizard only.
    {"", "HSX_DISPLAY_NAME", true},
    {"HSX", "HSX_DISPLAY_NAME", false},
}};

// Prefixes of properties that never become parameters: the wizard's internal
// properties and the design file's flag properties ("PROP_HSX10", ...).
constexpr std::array<std::string_view, 3> kIgnoredPrefixes = {"OLMW_ONLY", "OLM_", "PROP_"};

using Pal::StrUtil;

}  // namespace

bool Olm_Translator::IsBlkPropIgnored(Pal::String& propName, Pal::String primType, bool hsx) {
    const std::string_view name = propName.str();
    for (std::string_view prefix : kIgnoredPrefixes) {
        if (name.starts_with(prefix)) return true;
    }
    const std::string_view type = primType.str();
    for (const IgnoredProperty& row : kIgnoredProperties) {
        if (row.hsxOnly && !hsx) continue;
        if (!StrUtil::StartsWithNoCase(type, row.primPrefix)) continue;
        if (StrUtil::EqualNoCase(name, row.property)) return true;
    }
    return false;
}
