#include "kit/Olm_AllowedValues.h"

#include "engine/Olm_StrArray.h"
#include "model/Olm_Attribute.h"
#include "pal/StrUtil.h"

#include <cmath>
#include <cstdio>

namespace {

using Pal::StrUtil;

constexpr const char* kTrue = "TRUE";
constexpr const char* kFalse = "FALSE";

bool IsWholeNumberText(std::string_view text) {
    int ignored = 0;
    return StrUtil::ParseInt(text, ignored);
}

// A bound as the data wrote it, without its surrounding blanks.
std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string NumberText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

}  // namespace

Olm_AllowedValues Olm_AllowedValues::Of(const Olm_Attribute& attribute) {
    Olm_AllowedValues rule;
    rule.m_default = attribute.GetDefaultValue().str();
    const Olm_StrArray& values = attribute.GetPossibleValues();
    bool haveRange = false;
    for (int i = 0; i < values.GetSize(); ++i) {
        const Pal::String value = values.GetAt(i);
        if (!attribute.IsValueRange(value)) {
            if (!value.IsEmpty()) rule.m_choices.push_back(value.str());
            continue;
        }
        Pal::String lo, hi;
        double min = 0.0, max = 0.0;
        if (haveRange || !attribute.GetRangeValues(value, lo, hi) || !StrUtil::ParseNumber(lo.str(), min) ||
            !StrUtil::ParseNumber(hi.str(), max))
            continue;
        haveRange = true;
        rule.m_kind = IsWholeNumberText(lo.str()) && IsWholeNumberText(hi.str()) ? Kind::Integer : Kind::Number;
        rule.m_min = min;
        rule.m_max = max;
        rule.m_minText = Trimmed(lo.str());
        rule.m_maxText = Trimmed(hi.str());
    }
    if (haveRange) return rule;
    // One possible value and no default is how the model records an
    // attribute made from a design or option file: no rule at all.
    if (rule.m_choices.size() == 1 && rule.m_default.empty()) {
        rule.m_choices.clear();
        return rule;
    }
    if (rule.m_choices.size() == 2 &&
        ((StrUtil::EqualNoCase(rule.m_choices[0], kTrue) && StrUtil::EqualNoCase(rule.m_choices[1], kFalse)) ||
         (StrUtil::EqualNoCase(rule.m_choices[0], kFalse) && StrUtil::EqualNoCase(rule.m_choices[1], kTrue)))) {
        rule.m_kind = Kind::Boolean;
        rule.m_choices = {kTrue, kFalse};
    } else if (!rule.m_choices.empty()) {
        rule.m_kind = Kind::Choice;
    }
    return rule;
}

Olm_AllowedValues Olm_AllowedValues::Boolean() {
    Olm_AllowedValues rule;
    rule.m_kind = Kind::Boolean;
    rule.m_choices = {kTrue, kFalse};
    return rule;
}

Olm_AllowedValues Olm_AllowedValues::Choices(std::vector<std::string> values) {
    Olm_AllowedValues rule;
    rule.m_kind = Kind::Choice;
    rule.m_choices = std::move(values);
    return rule;
}

Olm_AllowedValues Olm_AllowedValues::Integers(int min, int max) {
    Olm_AllowedValues rule;
    rule.m_kind = Kind::Integer;
    rule.m_min = min;
    rule.m_max = max;
    rule.m_minText = std::to_string(min);
    rule.m_maxText = std::to_string(max);
    return rule;
}

Olm_AllowedValues Olm_AllowedValues::Numbers(double min, double max) {
    Olm_AllowedValues rule;
    rule.m_kind = Kind::Number;
    rule.m_min = min;
    rule.m_max = max;
    rule.m_minText = NumberText(min);
    rule.m_maxText = NumberText(max);
    return rule;
}

// A value meets a listed value when they are the same text but for letter
// case, or the same number however written ("156.250" meets "156.25").
bool Olm_AllowedValues::Meets(std::string_view value, std::string_view listed) {
    return StrUtil::EqualNoCase(listed, value) || StrUtil::SameNumber(listed, value);
}

std::string Olm_AllowedValues::CForm(std::string_view typed, bool decimalComma) {
    std::string text = Trimmed(typed);
    const auto comma = text.find(',');
    if (!decimalComma || comma == std::string::npos || text.find(',', comma + 1) != std::string::npos ||
        text.find('.') != std::string::npos)
        return text;
    std::string dotted = text;
    dotted[comma] = '.';
    double ignored = 0.0;
    return StrUtil::ParseNumber(dotted, ignored) ? dotted : text;
}

bool Olm_AllowedValues::IsAllowed(std::string_view value) const {
    if (value == m_default || StrUtil::SameNumber(value, m_default)) return true;
    for (const std::string& choice : m_choices)
        if (Meets(value, choice)) return true;
    switch (m_kind) {
    case Kind::Text: return true;
    case Kind::Boolean:
    case Kind::Choice: return false;
    case Kind::Integer: {
        int n = 0;
        return StrUtil::ParseInt(value, n) && n >= m_min && n <= m_max;
    }
    case Kind::Number: {
        double x = 0.0;
        return StrUtil::ParseNumber(value, x) && x >= m_min && x <= m_max;
    }
    }
    return false;
}

std::string Olm_AllowedValues::Canonical(std::string_view value) const {
    for (const std::string& choice : m_choices)
        if (StrUtil::EqualNoCase(choice, value)) return choice;
    for (const std::string& choice : m_choices)
        if (StrUtil::SameNumber(choice, value)) return choice;
    if (StrUtil::SameNumber(value, m_default)) return m_default;
    return std::string(value);
}

std::string Olm_AllowedValues::Describe() const {
    std::string list;
    for (std::size_t i = 0; i < m_choices.size(); ++i) list += (i ? ", " : "") + m_choices[i];
    switch (m_kind) {
    case Kind::Text: return "any text";
    case Kind::Boolean: return "TRUE or FALSE";
    case Kind::Choice: return "one of " + list;
    case Kind::Integer:
    case Kind::Number: {
        std::string text = std::string(m_kind == Kind::Integer ? "a whole number" : "a number") + " from " +
                           m_minText + " to " + m_maxText;
        return list.empty() ? text : text + ", or one of " + list;
    }
    }
    return {};
}

std::string Olm_AllowedValues::Plain(std::string_view value, std::string_view unit) const {
    std::string list;
    for (std::size_t i = 0; i < m_choices.size(); ++i) list += (i ? ", " : "") + m_choices[i];
    const std::string after = unit.empty() ? std::string() : " " + std::string(unit);
    switch (m_kind) {
    case Kind::Text: return {};
    case Kind::Boolean: return "on or off";
    case Kind::Choice: return "one of " + list;
    case Kind::Integer:
    case Kind::Number: {
        int n = 0;
        double x = 0.0;
        const bool ofKind = m_kind == Kind::Integer ? StrUtil::ParseInt(value, n) : StrUtil::ParseNumber(value, x);
        std::string text = StrUtil::FormatNumber(m_min) + " to " + StrUtil::FormatNumber(m_max) + after;
        if (!ofKind) text = std::string(m_kind == Kind::Integer ? "a whole number" : "a number") + " from " + text;
        return list.empty() ? text : text + ", or one of " + list;
    }
    }
    return {};
}

std::string Olm_AllowedValues::Problem(std::string_view what, std::string_view value) const {
    if (IsAllowed(value)) return {};
    return "The value '" + std::string(value) + "' of " + std::string(what) + " is not allowed: it must be " +
           Describe() + ".";
}
