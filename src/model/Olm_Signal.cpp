#include "model/Olm_Signal.h"

#include "datafiles/Olm_DumpWriter.h"
#include "model/Olm_AttributeListOps.h"

#include <utility>

Olm_Signal::Olm_Signal() = default;

Olm_Signal::Olm_Signal(Pal::String name) : m_name(std::move(name)) {}

Olm_Signal::Olm_Signal(const Olm_Signal& other)
    : m_name(other.m_name),
      m_externalName(other.m_externalName),
      m_isExternal(other.m_isExternal),
      m_isBus(other.m_isBus),
      m_isVcc(other.m_isVcc),
      m_isGrounded(other.m_isGrounded),
      m_isActive(other.m_isActive),
      m_width(other.m_width) {
    OlmAttrOps::AppendCopies(m_attributes, other.m_attributes);
}

Olm_Signal& Olm_Signal::operator=(const Olm_Signal& other) {
    if (this == &other) return *this;
    Olm_Signal copy(other);
    std::swap(m_name, copy.m_name);
    std::swap(m_externalName, copy.m_externalName);
    std::swap(m_isExternal, copy.m_isExternal);
    std::swap(m_isBus, copy.m_isBus);
    std::swap(m_isVcc, copy.m_isVcc);
    std::swap(m_isGrounded, copy.m_isGrounded);
    std::swap(m_isActive, copy.m_isActive);
    std::swap(m_width, copy.m_width);
    std::swap(m_attributes, copy.m_attributes);  // copy now holds the old ones and deletes them
    return *this;
}

Olm_Signal::~Olm_Signal() { OlmAttrOps::DeleteAll(m_attributes); }

void Olm_Signal::SetName(Pal::String name) { m_name = std::move(name); }

void Olm_Signal::SetDirection(Pal::String direction) { m_externalName = std::move(direction); }

void Olm_Signal::SetIsExternal(bool external, Pal::String name) {
    m_isExternal = external;
    m_externalName = external ? std::move(name) : Pal::String();
}

void Olm_Signal::SetIsBus(bool bus, int width) {
    m_isBus = bus;
    m_width = bus ? width : 1;
}

void Olm_Signal::AddAttribute(Olm_Attribute* attribute) { OlmAttrOps::Append(m_attributes, attribute); }

Olm_Attribute* Olm_Signal::AddAttribute(Pal::String name, Pal::String value) {
    return OlmAttrOps::AddOrUpdate(m_attributes, name, value);
}

Olm_Attribute* Olm_Signal::GetNamedAttribute(Pal::String name) { return OlmAttrOps::Find(m_attributes, name); }

const Pal::String Olm_Signal::GetAttributeValue(Pal::String name) {
    return OlmAttrOps::ValueOf(m_attributes, name);
}

bool Olm_Signal::SetAttributeValue(Pal::String name, Pal::String value) {
    return OlmAttrOps::SetValue(m_attributes, name, value);
}

void Olm_Signal::RemoveAttribute(Pal::String name) { OlmAttrOps::RemoveExact(m_attributes, name); }

void Olm_Signal::SetAllAttributesIsActive(bool active) { OlmAttrOps::SetAllActive(m_attributes, active); }

void Olm_Signal::DumpToFile(Pal::Stream* stream, bool full) { Olm_DumpWriter(stream, full).Write(*this); }
