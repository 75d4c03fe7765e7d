#pragma once

#include "pal/StrUtil.h"
#include "pal/String.h"

// What a wizard type says about its wizard. A type's first three characters
// name its family: "tkl" clock managers (tkl_pll, tkl_bddeskew, ...), "hsx"
// transceivers, "dsp" DSP blocks, "ssi" source-synchronous I/O. The family
// chooses the installed data file (Olm_Data::DataFileName) and the special
// cases of the bridge, the wizard main and the summary page.
class Olm_WizType {
public:
    // True when the type's first three characters equal the prefix with ASCII
    // letter case folded ("TKL_pll" is of "tkl"); a type shorter than three
    // characters is of no family.
    static bool HasPrefix(const Pal::String& wizType, const char* prefix) {
        const std::string& type = wizType.str();
        return type.size() >= 3 && Pal::StrUtil::EqualNoCase(std::string_view(type).substr(0, 3), prefix ? prefix : "");
    }
};
