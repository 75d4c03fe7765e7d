#pragma once

#include "engine/Olm_StrArray.h"
#include "model/Olm_OwnedList.h"
#include "pal/String.h"
#include "shared/OlmBaseExport.h"

#include <vector>

namespace Pal {
class Stream;
}

// One named, configurable property of a block, a pin or a signal: the value
// chosen now, the default from the installed data, the values the user may
// choose from, and whether it may be changed and whether it is saved.
// Holds no pointers, so every copy is a full copy.
class OLM_BASE_EXPORT Olm_Attribute {
public:
    Olm_Attribute();
    // current value = value, possible values = { value }, default empty.
    Olm_Attribute(Pal::String name, Pal::String value);
    Olm_Attribute(const Olm_Attribute& other);
    Olm_Attribute& operator=(const Olm_Attribute& other);
    virtual ~Olm_Attribute();

    Pal::String& GetName() { return m_name; }
    const Pal::String& GetName() const { return m_name; }
    void SetName(Pal::String name);

    Pal::String& GetCurrentValue() { return m_currentValue; }
    const Pal::String& GetCurrentValue() const { return m_currentValue; }
    void SetCurrentValue(Pal::String value);

    Pal::String& GetDefaultValue() { return m_defaultValue; }
    const Pal::String& GetDefaultValue() const { return m_defaultValue; }
    // Also sets the current value when that is empty.
    void SetDefaultValue(Pal::String value);

    Olm_StrArray& GetPossibleValues() { return m_possibleValues; }
    const Olm_StrArray& GetPossibleValues() const { return m_possibleValues; }
    void AddPossibleValue(Pal::String value);

    bool IsModifiable() const { return m_isModifiable; }
    void SetIsModifiable(bool modifiable) { m_isModifiable = modifiable; }
    // Saved to the design file.
    bool IsActive() const { return m_isActive; }
    void SetIsActive(bool active) { m_isActive = active; }

    // True when the value holds the range marker "OLMRANGE".
    bool IsValueRange(Pal::String value) const;
    // Splits "OLMRANGE=min:max" into its bounds; see the source for the rules.
    bool GetRangeValues(const Pal::String& text, Pal::String& min, Pal::String& max) const;

    // Whether the current value counts as changed from the default: the two
    // texts differ with ASCII letter case folded, unless both are numbers of
    // the same value (Pal::StrUtil::SameNumber: "200.0" is the default 200).
    // The summary page and the run report share this rule.
    bool DiffersFromDefault() const;

    // Writes the attribute in the data-file format (the dump writer).
    void DumpToFile(Pal::Stream* stream, bool full);

private:
    bool m_isModifiable = true;
    bool m_isActive = true;
    Pal::String m_name;
    Pal::String m_defaultValue;
    Pal::String m_currentValue;
    Olm_StrArray m_possibleValues;
};

// Ordered list of the attributes of a pin, signal or block, owned by it.
using Olm_AttributeList = Olm_OwnedList<Olm_Attribute>;
