#pragma once

#include "model/Olm_Attribute.h"
#include "model/Olm_Pin.h"

// One configured instance of a device primitive: instance name, primitive
// type, flag words, attributes and pins. Owns its attributes and pins: the
// pointers its lists and lookups give stay the block's, valid until the
// child is removed or the block is destroyed.
class OLM_BASE_EXPORT Olm_Block {
public:
    Olm_Block();
    Olm_Block(Pal::String name, Pal::String primType);
    // Deep copy: active flag, name, type, then attributes, pins and flag words.
    Olm_Block(const Olm_Block& other) = default;
    // Deep copy; the target's old attributes and pins are deleted.
    Olm_Block& operator=(const Olm_Block& other) = default;
    // Deletes the attributes, then the pins.
    virtual ~Olm_Block();

    const Pal::String& GetName() const { return m_name; }
    void SetName(Pal::String name);
    const Pal::String& GetPrimType() const { return m_primType; }
    void SetPrimType(Pal::String primType);
    bool IsActive() const { return m_isActive; }
    void SetIsActive(bool active) { m_isActive = active; }

    const Olm_StrArray& GetFlagList() const { return m_flags; }
    void AddFlag(Pal::String flag);
    bool HasFlag(Pal::String flag);
    bool SupportsHSX3();
    bool SupportsHSX10();
    bool SupportsHSX11();
    // True when the text occurs anywhere in some attribute name; false for "".
    bool HasAttrWPrefix(Pal::String text);

    Olm_PinList& GetPinList() { return m_pins; }
    const Olm_PinList& GetPinList() const { return m_pins; }
    // Appends and takes ownership; no lookup.
    void AddPin(Olm_Pin* pin);
    // Returns the existing pin of that name (reactivated, otherwise unchanged)
    // or appends a new one.
    Olm_Pin* AddPin(Pal::String name, Pal::String direction);
    Olm_Pin* GetNamedPin(Pal::String name);
    bool IsPinActive(Pal::String name);
    bool SetPinIsActive(Pal::String name, bool active);
    void SetAllPinsIsActive(bool active);
    bool SetPinWidth(Pal::String name, int startBit, int endBit);
    // Unlinks the pin if it is in the list and deletes it in every case:
    // the caller hands the pin over.
    void DeletePin(Olm_Pin* pin);
    void ClearAllPinSignals();
    void RemoveAllPinClkBufAttrs();

    Olm_AttributeList& GetAttributeList() { return m_attributes; }
    const Olm_AttributeList& GetAttributeList() const { return m_attributes; }
    void AddAttribute(Olm_Attribute* attribute);
    Olm_Attribute* AddAttribute(Pal::String name, Pal::String value);
    Olm_Attribute* GetNamedAttribute(Pal::String name);
    const Pal::String GetAttributeValue(Pal::String name);
    bool SetAttributeValue(Pal::String name, Pal::String value);
    void RemoveAttribute(Pal::String name);
    void SetAllAttributesIsActive(bool active);
    bool IsAttributeActive(Pal::String name);
    bool SetAttributeIsActive(Pal::String name, bool active);
    // As DeletePin, for the attribute list.
    void DeleteAttribute(Olm_Attribute* attribute);

    void DumpToFile(Pal::Stream* stream, bool full);

private:
    bool m_isActive = true;
    Pal::String m_name;
    Pal::String m_primType;
    Olm_StrArray m_flags;
    Olm_AttributeList m_attributes;
    Olm_PinList m_pins;
};

// Ordered list of the blocks of the container, owned by it.
using Olm_BlockList = Olm_OwnedList<Olm_Block>;
