#include "kit/Olm_FieldValues.h"

#include "pal/StrUtil.h"

Olm_FieldValues::~Olm_FieldValues() = default;

bool Olm_FieldValues::IsOn(std::string_view attribute) const {
    return Pal::StrUtil::EqualNoCase(Text(attribute), "TRUE");
}

int Olm_FieldValues::Int(std::string_view attribute, int fallback) const {
    int value = fallback;
    Pal::StrUtil::ParseInt(Text(attribute), value);
    return value;
}

double Olm_FieldValues::Number(std::string_view attribute, double fallback) const {
    double value = fallback;
    Pal::StrUtil::ParseNumber(Text(attribute), value);
    return value;
}
