#include "model/Olm_Signal.h"

#include "datafiles/Olm_DumpWriter.h"
#include "model/Olm_AttributeListOps.h"

#include <utility>

Olm_Signal::Olm_Signal() = default;

Olm_Signal::Olm_Signal(Pal::String name) : m_name(std::move(name)) {}

Olm_Signal::~Olm_Signal() = default;

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
