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

// A number of the wizards' one grammar (Pal::StrUtil::ParseNumber: an
// optional sign, digits with an optional point, an optional exponent) that
// is written with a point or an exponent: "2.5", "5.", ".5", "625e-2",
// "1E3". Blanks around it make it a string, as they would in the HDL.
bool IsRealNumber(const std::string& text) {
    double ignored = 0.0;
    return text.find_first_of(".eE") != std::string::npos && text.find_first_of(" \t") == std::string::npos &&
           StrUtil::ParseNumber(text, ignored);
}

// A mantissa with digits on both sides of its point: "5" gives "5.0", ".5"
// gives "0.5", "5." gives "5.0".
std::string PointedMantissa(std::string digits) {
    const std::size_t point = digits.find('.');
    if (point == std::string::npos) return digits + ".0";
    if (point == 0) digits.insert(0, "0");
    if (digits.back() == '.') digits += "0";
    return digits;
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
    if (IsRealNumber(value)) return Olm_HdlParamKind::kReal;
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
    case Olm_HdlParamKind::kReal: return IsInteger(value) || IsRealNumber(value);
    case Olm_HdlParamKind::kString: return true;
    }
    return false;
}

std::string Olm_HdlPrimitive::NumberText(const std::string& value, Olm_HdlParamKind kind) {
    if (kind == Olm_HdlParamKind::kString) return value;
    std::string text = (!value.empty() && value[0] == '+') ? value.substr(1) : value;
    if (kind == Olm_HdlParamKind::kInteger) return text;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    // Both HDLs write a real as digits, a point, digits and an optional
    // exponent ("6.25", "625.0e-2"); the exponent keeps its sign but a '+'.
    const std::size_t e = text.find_first_of("eE");
    std::string exponent;
    if (e != std::string::npos) {
        exponent = text.substr(e + 1);
        if (!exponent.empty() && exponent[0] == '+') exponent.erase(0, 1);
        exponent = "e" + exponent;
        text.erase(e);
    }
    return (negative ? "-" : "") + PointedMantissa(text) + exponent;
}

const Olm_HdlPrimitive* Olm_FindHdlPrimitive(const std::vector<Olm_HdlPrimitive>& list, const std::string& name) {
    for (const auto& prim : list) {
        if (Olm_HdlPrimitive::SameName(prim.name, name)) return &prim;
    }
    return nullptr;
}
