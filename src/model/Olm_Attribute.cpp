#include "model/Olm_Attribute.h"

#include "datafiles/Olm_DumpWriter.h"
#include "pal/StrUtil.h"

namespace {
constexpr const char* kRangeMarker = "OLMRANGE";
}

Olm_Attribute::Olm_Attribute() = default;

Olm_Attribute::Olm_Attribute(Pal::String name, Pal::String value)
    : m_name(std::move(name)), m_currentValue(std::move(value)) {
    m_possibleValues.Add(m_currentValue);
}

Olm_Attribute::Olm_Attribute(const Olm_Attribute& other)
    : m_isModifiable(other.m_isModifiable),
      m_isActive(other.m_isActive),
      m_name(other.m_name),
      m_defaultValue(other.m_defaultValue),
      m_currentValue(other.m_currentValue) {
    for (int i = 0; i < other.m_possibleValues.GetSize(); ++i) {
        m_possibleValues.Add(other.m_possibleValues.GetAt(i));
    }
}

Olm_Attribute& Olm_Attribute::operator=(const Olm_Attribute& other) {
    if (this != &other) {
        m_isModifiable = other.m_isModifiable;
        m_isActive = other.m_isActive;
        m_name = other.m_name;
        m_defaultValue = other.m_defaultValue;
        m_currentValue = other.m_currentValue;
        m_possibleValues = other.m_possibleValues;
    }
    return *this;
}

Olm_Attribute::~Olm_Attribute() = default;

void Olm_Attribute::SetName(Pal::String name) { m_name = std::move(name); }

void Olm_Attribute::SetCurrentValue(Pal::String value) { m_currentValue = std::move(value); }

void Olm_Attribute::SetDefaultValue(Pal::String value) {
    if (m_currentValue.IsEmpty()) m_currentValue = value;
    m_defaultValue = std::move(value);
}

void Olm_Attribute::AddPossibleValue(Pal::String value) { m_possibleValues.Add(std::move(value)); }

bool Olm_Attribute::DiffersFromDefault() const {
    return m_currentValue.Compare(m_defaultValue, Pal::String::kNoCase) != 0 &&
           !Pal::StrUtil::SameNumber(m_currentValue.str(), m_defaultValue.str());
}

bool Olm_Attribute::IsValueRange(Pal::String value) const {
    return value.GetIndexOfString(kRangeMarker, Pal::String::kExact) != Pal::String::kNotFound;
}

// "OLMRANGE=min:max": min lies between the first "=" and the first ":" after
// it, max is everything after that ":". The marker itself is not checked.
bool Olm_Attribute::GetRangeValues(const Pal::String& text, Pal::String& min, Pal::String& max) const {
    const std::string s = text.str();  // a copy: text may be min or max itself
    min = "";
    max = "";
    const auto equals = s.find('=');
    if (equals == std::string::npos) return false;
    const auto colon = s.find(':', equals + 1);
    if (colon == std::string::npos) return false;
    min = s.substr(equals + 1, colon - equals - 1);
    max = s.substr(colon + 1);
    return true;
}

void Olm_Attribute::DumpToFile(Pal::Stream* stream, bool full) {
    Olm_DumpWriter(stream, full).Write(*this);
}
