#pragma once

#include "model/Olm_Attribute.h"

// One port of a block: name, direction, bit range, what drives it (a named
// signal, VCC or ground), flag words and its own attributes, which it owns.
// The connection setters keep at most one of VCC, ground and a signal name.
class OLM_BASE_EXPORT Olm_Pin {
public:
    Olm_Pin();
    Olm_Pin(Pal::String name, Pal::String direction);
    // Deep copy: flags, bits, strings, flag words and a new copy of each attribute.
    Olm_Pin(const Olm_Pin& other) = default;
    // Deep copy; the target's old attributes are deleted.
    Olm_Pin& operator=(const Olm_Pin& other) = default;
    virtual ~Olm_Pin();

    const Pal::String& GetName() const { return m_name; }
    void SetName(Pal::String name);
    const Pal::String& GetDirection() const { return m_direction; }
    void SetDirection(Pal::String direction);
    const Pal::String& GetSigName() const { return m_sigName; }
    // A non-empty name clears the VCC and ground flags.
    void SetSigName(Pal::String name);

    bool IsActive() const { return m_isActive; }
    void SetIsActive(bool active) { m_isActive = active; }
    bool IsGrounded() const { return m_isGnded; }
    // true also empties the signal name and clears VCC.
    void SetIsGrounded(bool grounded);
    bool IsVcc() const { return m_isVcc; }
    // true also empties the signal name and clears ground.
    void SetIsVcc(bool vcc);
    void ClearAllConnections();

    bool HasBus() const { return m_hasBus; }
    void SetHasBus(bool bus) { m_hasBus = bus; }
    int GetStartBit() const { return m_startBit; }
    void SetStartBit(int bit);
    int GetEndBit() const { return m_endBit; }
    void SetEndBit(int bit);
    // |end - start| + 1.
    int GetWidth() const;
    // Bits 0 to width-1; 2 or more sets the bus flag.
    void SetWidth(int width);
    // Parses a width text: a plain count, or "[start:end]". True only for a
    // well-formed bracket form; a malformed bracket form changes nothing.
    static bool SetPinWidthData(Olm_Pin* pin, const char* text);

    const Olm_StrArray& GetFlagList() const { return m_flags; }
    void AddFlag(Pal::String flag);
    bool HasFlag(Pal::String flag);
    // Replaces the first equal word with an empty one; the array keeps its size.
    void RemoveFlag(Pal::String flag);
    bool SupportsDataWidth();

    // Attribute operations shared with signals and blocks. The pin owns its
    // attributes: the pointers that the list and the lookups give stay the
    // pin's, valid until the attribute is removed or the pin is destroyed.
    Olm_AttributeList& GetAttributeList() { return m_attributes; }
    const Olm_AttributeList& GetAttributeList() const { return m_attributes; }
    // Appends and takes ownership; no lookup.
    void AddAttribute(Olm_Attribute* attribute);
    // Create or update: an existing attribute is reactivated and takes the value.
    Olm_Attribute* AddAttribute(Pal::String name, Pal::String value);
    Olm_Attribute* GetNamedAttribute(Pal::String name);
    const Pal::String GetAttributeValue(Pal::String name);
    bool SetAttributeValue(Pal::String name, Pal::String value);
    // Deletes the first attribute whose name matches byte for byte.
    void RemoveAttribute(Pal::String name);
    void SetAllAttributesIsActive(bool active);

    // Pin-signal-bit properties: "OLMW_ONLY_PIN_SIG_BIT_<a>:<b>" = "<signal>[<c>:<d>]".
    void SetPinSigBitProp(Pal::String sigName, int pinBitA, int pinBitB, int sigBitA, int sigBitB);
    void RemovePinSigBitProp(int pinBitA, int pinBitB);
    void RemoveAllPinSigBitProps();
    bool HasPinSigBitProp();
    // Deletes every attribute whose name begins with the prefix (case-sensitive).
    void RemoveAllPropsWBase(Pal::String prefix);
    void RemoveAllInternalProps();

    void DumpToFile(Pal::Stream* stream, bool full);

private:
    bool m_isActive = true;
    bool m_isGnded = false;
    bool m_isVcc = false;
    bool m_hasBus = false;
    int m_startBit = 0;
    int m_endBit = 0;
    Pal::String m_name;
    Pal::String m_direction;
    Pal::String m_sigName;
    Olm_StrArray m_flags;
    Olm_AttributeList m_attributes;
};

// Ordered list of the pins of a block, owned by it.
using Olm_PinList = Olm_OwnedList<Olm_Pin>;
