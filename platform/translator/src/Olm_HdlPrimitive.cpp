#include "translator/Olm_HdlPrimitive.h"

#include "pal/StrUtil.h"

#include <cstddef>

namespace {

using Pal::StrUtil;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with an optional sign in front, at least one, whose value fits a
// signed 32-bit integer (the integer of both HDLs).
bool IsInteger(const std::string& text) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i == text.size()) return false;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return false;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return false;
    }
    return text[0] == '-' || value <= 2147483647LL;
}

// An optional sign, digits, one point, digits; at least one digit in all.
bool IsPointNumber(const std::string& text) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            digit = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return point && digit;
}

constexpr const char* kRangeMarker = "OLMRANGE=";

}  // namespace

bool Olm_HdlPrimitive::SameName(const std::string& a, const std::string& b) { return StrUtil::EqualNoCase(a, b); }

const Olm_HdlPrimitivePin* Olm_HdlPrimitive::FindPin(const std::string& pinName) const {
    for (const auto& pin : pins) {
        if (SameName(pin.name, pinName)) return &pin;
    }
    return nullptr;
}

const Olm_HdlPrimitiveParam* Olm_HdlPrimitive::FindParam(const std::string& paramName) const {
    for (const auto& param : params) {
        if (SameName(param.name, paramName)) return &param;
    }
    return nullptr;
}

bool Olm_HdlPrimitive::AddPin(const Olm_HdlPrimitivePin& pin) {
    if (FindPin(pin.name)) return false;
    pins.push_back(pin);
    return true;
}

bool Olm_HdlPrimitive::AddParam(const Olm_HdlPrimitiveParam& param) {
    if (FindParam(param.name)) return false;
    params.push_back(param);
    return true;
}

Olm_HdlParamKind Olm_HdlPrimitive::KindOfValue(const std::string& value) {
    if (IsInteger(value)) return Olm_HdlParamKind::kInteger;
    if (IsPointNumber(value)) return Olm_HdlParamKind::kReal;
    return Olm_HdlParamKind::kString;
}

Olm_HdlParamKind Olm_HdlPrimitive::KindOfValues(const std::vector<std::string>& values) {
    std::vector<std::string> plain;
    for (const auto& value : values) {
        if (value.rfind(kRangeMarker, 0) == 0) {
            const std::string bounds = value.substr(std::string(kRangeMarker).size());
            const std::size_t colon = bounds.find(':');
            if (colon == std::string::npos) return Olm_HdlParamKind::kString;
            plain.push_back(bounds.substr(0, colon));
            plain.push_back(bounds.substr(colon + 1));
        } else {
            plain.push_back(value);
        }
    }
    if (plain.empty()) return Olm_HdlParamKind::kString;
    bool real = false;
    for (const auto& value : plain) {
        const Olm_HdlParamKind kind = KindOfValue(value);
        if (kind == Olm_HdlParamKind::kString) return Olm_HdlParamKind::kString;
        if (kind == Olm_HdlParamKind::kReal) real = true;
    }
    return real ? Olm_HdlParamKind::kReal : Olm_HdlParamKind::kInteger;
}

bool Olm_HdlPrimitive::ValueFitsKind(const std::string& value, Olm_HdlParamKind kind) {
    switch (kind) {
    case Olm_HdlParamKind::kInteger: return IsInteger(value);
    case Olm_HdlParamKind::kReal: return IsInteger(value) || IsPointNumber(value);
    case Olm_HdlParamKind::kString: return true;
    }
    return false;
}

std::string Olm_HdlPrimitive::NumberText(const std::string& value, Olm_HdlParamKind kind) {
    if (kind == Olm_HdlParamKind::kString) return value;
    std::string text = (!value.empty() && value[0] == '+') ? value.substr(1) : value;
    if (kind == Olm_HdlParamKind::kInteger) return text;
    const bool negative = !text.empty() && text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    const std::size_t point = digits.find('.');
    if (point == std::string::npos) {
        digits += ".0";
    } else {
        if (point == 0) digits.insert(0, "0");
        if (digits.back() == '.') digits += "0";
    }
    return (negative ? "-" : "") + digits;
}

const Olm_HdlPrimitive* Olm_FindHdlPrimitive(const std::vector<Olm_HdlPrimitive>& list, const std::string& name) {
    for (const auto& prim : list) {
        if (Olm_HdlPrimitive::SameName(prim.name, name)) return &prim;
    }
    return nullptr;
}
