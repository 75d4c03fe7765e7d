#pragma once

#include "translator/TranslatorExport.h"

#include <string>
#include <vector>

// Direction of a port or pin in the HDL output.
enum class Olm_HdlDir { kIn, kOut, kInout };

// How a parameter value is written: as an integer, a real number or a string.
enum class Olm_HdlParamKind { kInteger, kReal, kString };

// One pin of a primitive: its direction and its bit range as declared
// ([left:right]; a vector runs downwards when left >= right).
struct Olm_HdlPrimitivePin {
    std::string name;
    Olm_HdlDir dir = Olm_HdlDir::kIn;
    int left = 0;
    int right = 0;
    bool isVector = false;  // false: a single bit (wire / std_logic)

    int Width() const { return (left >= right ? left - right : right - left) + 1; }
};

// One parameter of a primitive with its default value.
struct Olm_HdlPrimitiveParam {
    std::string name;
    std::string defaultValue;
    Olm_HdlParamKind kind = Olm_HdlParamKind::kString;
};

// The black-box view of a device primitive: its name, pins and parameters,
// enough to declare it so that a simulator can elaborate a design using it.
// Names are matched with ASCII letter case folded.
class OLM_TRANSLATOR_API Olm_HdlPrimitive {
public:
    std::string name;
    std::vector<Olm_HdlPrimitivePin> pins;
    std::vector<Olm_HdlPrimitiveParam> params;

    const Olm_HdlPrimitivePin* FindPin(const std::string& pinName) const;
    const Olm_HdlPrimitiveParam* FindParam(const std::string& paramName) const;
    // Appends the pin or parameter unless one of that name is present; true
    // when it was appended.
    bool AddPin(const Olm_HdlPrimitivePin& pin);
    bool AddParam(const Olm_HdlPrimitiveParam& param);

    // The kind a single value has: an optionally signed decimal integer, a
    // number with a point or an exponent in the grammar of
    // Pal::StrUtil::ParseNumber ("2.5", "625e-2": reals), anything else a
    // string.
    static Olm_HdlParamKind KindOfValue(const std::string& value);
    // The kind that fits every value: integer when all are integers, real
    // when all are numbers and some has a point, otherwise string. A range
    // "OLMRANGE=a:b" counts as its two bounds. No values give string.
    static Olm_HdlParamKind KindOfValues(const std::vector<std::string>& values);
    // Whether a value can be written as the kind (an integer fits a real).
    static bool ValueFitsKind(const std::string& value, Olm_HdlParamKind kind);

    // The value as a number literal of the kind, for both HDLs: a leading
    // "+" dropped, a real always with digits on both sides of its point
    // ("5" gives "5.0", ".5" gives "0.5") and its exponent, if any, as "e"
    // and the exponent without '+' ("625e-2" gives "625.0e-2", "1E+3" gives
    // "1.0e3"). Strings are returned unchanged.
    static std::string NumberText(const std::string& value, Olm_HdlParamKind kind);

    // ASCII case-folded equality of two names.
    static bool SameName(const std::string& a, const std::string& b);
};

// Looks a primitive up by name (case folded) in a list; null when absent.
OLM_TRANSLATOR_API const Olm_HdlPrimitive* Olm_FindHdlPrimitive(const std::vector<Olm_HdlPrimitive>& list,
                                                                const std::string& name);
