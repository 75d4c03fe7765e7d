#pragma once

#include "shared/OlmBaseExport.h"

#include <string>
#include <string_view>

// The values a page's conditions and checks see, by attribute name (a port
// field by its attribute, Olm_Field::PortAttribute): in a window the values
// the user has entered on the current page, else the model's. An attribute
// that no field and no block holds reads as "".
class OLM_BASE_EXPORT Olm_FieldValues {
public:
    virtual ~Olm_FieldValues();

    virtual std::string Text(std::string_view attribute) const = 0;

    // TRUE (any letter case) is on, anything else off.
    bool IsOn(std::string_view attribute) const;
    // The value as a whole number or a number (strict, see
    // Pal::StrUtil::ParseInt), or fallback when it is not one.
    int Int(std::string_view attribute, int fallback = 0) const;
    double Number(std::string_view attribute, double fallback = 0.0) const;
};
