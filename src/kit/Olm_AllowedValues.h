#pragma once

#include "shared/OlmBaseExport.h"

#include <string>
#include <string_view>
#include <vector>

class Olm_Attribute;

// What an attribute may hold, as the installed data says it: the possible
// values of a data-file attribute read as a rule.
//
//   PossibleValues: TRUE, FALSE;          Boolean: TRUE or FALSE
//   PossibleValues: 0, 1, 2;              Choice: one of the listed values
//   PossibleValues: OLMRANGE=2:18;        Integer: a whole number from 2 to 18
//   PossibleValues: OLMRANGE=0.5:800.0;   Number: any number from 0.5 to 800.0
//
// A range is of whole numbers when both bounds are written as whole numbers,
// else of any numbers: write "10.0:800.0" for a range of frequencies. Values
// listed beside a range are allowed too. An attribute without possible values
// allows any text, and so does one with a single possible value and no
// default (what the model makes of an attribute that a design file or an
// option file brought in). Letter case does not count when a value is compared with
// a choice, nor the way a number is written: "125.0", "1.25e2" and "125" are
// the choice 125 (numbers are read by Pal::StrUtil::ParseNumber, as the ranges
// are). Canonical gives the data's own spelling. An attribute's default value
// is always allowed, written as the default or as the same number.
class OLM_BASE_EXPORT Olm_AllowedValues {
public:
    enum class Kind { Text, Boolean, Choice, Integer, Number };

    // Any text.
    Olm_AllowedValues() = default;
    // The rule of a data-file attribute: its possible values and its default.
    static Olm_AllowedValues Of(const Olm_Attribute& attribute);
    static Olm_AllowedValues Boolean();
    static Olm_AllowedValues Choices(std::vector<std::string> values);
    static Olm_AllowedValues Integers(int min, int max);
    static Olm_AllowedValues Numbers(double min, double max);

    Kind GetKind() const { return m_kind; }
    // The listed values (for Boolean: TRUE and FALSE), in the data's order.
    const std::vector<std::string>& GetChoices() const { return m_choices; }
    // The bounds of an Integer or Number rule, and how the data wrote them.
    double GetMin() const { return m_min; }
    double GetMax() const { return m_max; }
    bool IsRange() const { return m_kind == Kind::Integer || m_kind == Kind::Number; }

    bool IsAllowed(std::string_view value) const;
    // The value in the data's spelling: a choice as the data lists it (a
    // number as the data writes the same number), a boolean in capitals, the
    // default's number as the default is written; any other value unchanged.
    std::string Canonical(std::string_view value) const;
    // What is allowed, for messages: "TRUE or FALSE", "one of 0, 1, 2",
    // "a whole number from 2 to 18", "a number from 0.5 to 800", "any text".
    std::string Describe() const;
    // What is allowed in plain words for a value that is not, with the
    // unit after a range: "10 to 1600 Mb/s" when the value is a number of
    // the rule's kind, else "a whole number from 2 to 18 bits" or "a number
    // from ..."; "one of SDR, DDR"; "on or off"; empty for any text.
    std::string Plain(std::string_view value, std::string_view unit) const;
    // Empty when the value is allowed; else a sentence that names the value,
    // the attribute (what) and what is allowed, e.g. "The value '40' of
    // A_WIDTH is not allowed: it must be a whole number from 2 to 18."
    std::string Problem(std::string_view what, std::string_view value) const;

    // Whether value is the listed value: the same text but for letter case,
    // or the same number however written.
    static bool Meets(std::string_view value, std::string_view listed);

    // A number as the designer typed it, in the C form that is stored and
    // checked (Pal::StrUtil::ParseNumber's grammar). decimalComma: the
    // designer's locale writes decimals with a comma; then a text with one
    // comma and no point whose comma read as a point makes a number is that
    // number ("10,3125" -> "10.3125"). A point is always the decimal point,
    // and no locale's group separator is taken. Any other text comes back
    // unchanged, so that the check refuses it and names it: a comma is never
    // dropped ("10,3125" in a locale without decimal comma stays "10,3125").
    static std::string CForm(std::string_view typed, bool decimalComma);

private:
    Kind m_kind = Kind::Text;
    std::vector<std::string> m_choices;
    double m_min = 0.0;
    double m_max = 0.0;
    std::string m_minText;
    std::string m_maxText;
    std::string m_default;  // always allowed
};
