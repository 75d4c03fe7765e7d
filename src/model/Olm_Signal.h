#pragma once

#include "model/Olm_Attribute.h"

// A net of the wizard's design: whether it leaves the design as a port and
// under which name, bus width, VCC/ground ties and its attributes (owned).
// Unlike a pin, its VCC and ground flags are independent.
class OLM_BASE_EXPORT Olm_Signal {
public:
    Olm_Signal();
    explicit Olm_Signal(Pal::String name);
    // Deep copies: a new copy of each attribute.
    Olm_Signal(const Olm_Signal& other) = default;
    Olm_Signal& operator=(const Olm_Signal& other) = default;
    virtual ~Olm_Signal();

    const Pal::String& GetName() const { return m_name; }
    void SetName(Pal::String name);
    // The external port name; the signal keeps no separate direction.
    const Pal::String& GetDirection() const { return m_externalName; }
    void SetDirection(Pal::String direction);

    bool IsExternal() const { return m_isExternal; }
    // The external name is kept only when external is true.
    void SetIsExternal(bool external, Pal::String name);
    bool IsBus() const { return m_isBus; }
    // The width is kept only when bus is true, else it becomes 1.
    void SetIsBus(bool bus, int width);
    int GetWidth() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    bool IsGrounded() const { return m_isGrounded; }
    void SetIsGrounded(bool grounded) { m_isGrounded = grounded; }
    bool IsVcc() const { return m_isVcc; }
    void SetIsVcc(bool vcc) { m_isVcc = vcc; }
    bool IsActive() const { return m_isActive; }
    void SetIsActive(bool active) { m_isActive = active; }

    // The signal owns its attributes (as a pin does); AddAttribute(pointer)
    // takes ownership of a non-null attribute.
    Olm_AttributeList& GetAttributeList() { return m_attributes; }
    const Olm_AttributeList& GetAttributeList() const { return m_attributes; }
    void AddAttribute(Olm_Attribute* attribute);
    Olm_Attribute* AddAttribute(Pal::String name, Pal::String value);
    Olm_Attribute* GetNamedAttribute(Pal::String name);
    const Pal::String GetAttributeValue(Pal::String name);
    bool SetAttributeValue(Pal::String name, Pal::String value);
    void RemoveAttribute(Pal::String name);
    void SetAllAttributesIsActive(bool active);

    void DumpToFile(Pal::Stream* stream, bool full);

private:
    Pal::String m_name;
    Pal::String m_externalName;
    bool m_isExternal = false;
    bool m_isBus = false;
    bool m_isVcc = false;
    bool m_isGrounded = false;
    bool m_isActive = true;
    int m_width = 1;
    Olm_AttributeList m_attributes;
};

// Ordered list of the signals of the container, owned by it.
using Olm_SignalList = Olm_OwnedList<Olm_Signal>;
