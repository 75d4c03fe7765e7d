#include "model/Olm_Block.h"

#include "datafiles/Olm_DumpWriter.h"
#include "model/Olm_AttributeListOps.h"

#include <algorithm>
#include <utility>

Olm_Block::Olm_Block() = default;

Olm_Block::Olm_Block(Pal::String name, Pal::String primType)
    : m_name(std::move(name)), m_primType(std::move(primType)) {}

Olm_Block::~Olm_Block() {
    m_attributes.Clear();
    m_pins.Clear();
}

void Olm_Block::SetName(Pal::String name) { m_name = std::move(name); }

void Olm_Block::SetPrimType(Pal::String primType) { m_primType = std::move(primType); }

void Olm_Block::AddFlag(Pal::String flag) { m_flags.Add(std::move(flag)); }

bool Olm_Block::HasFlag(Pal::String flag) {
    for (int i = 0; i < m_flags.GetSize(); ++i) {
        if (m_flags.GetAt(i).Compare(flag, Pal::String::kNoCase) == 0) return true;
    }
    return false;
}

bool Olm_Block::SupportsHSX3() { return HasFlag("HSX3"); }
bool Olm_Block::SupportsHSX10() { return HasFlag("HSX10"); }
bool Olm_Block::SupportsHSX11() { return HasFlag("HSX11"); }

bool Olm_Block::HasAttrWPrefix(Pal::String text) {
    if (text.IsEmpty()) return false;
    return std::any_of(m_attributes.begin(), m_attributes.end(), [&](const Olm_Attribute* a) {
        return a->GetName().GetIndexOfString(text, Pal::String::kExact) != Pal::String::kNotFound;
    });
}

void Olm_Block::AddPin(Olm_Pin* pin) { m_pins.Adopt(pin); }  // a null pin is ignored: the list never holds null

Olm_Pin* Olm_Block::AddPin(Pal::String name, Pal::String direction) {
    if (Olm_Pin* existing = GetNamedPin(name)) {
        existing->SetIsActive(true);
        return existing;
    }
    return m_pins.Append(std::make_unique<Olm_Pin>(std::move(name), std::move(direction)));
}

Olm_Pin* Olm_Block::GetNamedPin(Pal::String name) {
    for (Olm_Pin* pin : m_pins) {
        if (pin->GetName().Compare(name, Pal::String::kNoCase) == 0) return pin;
    }
    return nullptr;
}

bool Olm_Block::IsPinActive(Pal::String name) {
    const Olm_Pin* pin = GetNamedPin(name);
    return pin && pin->IsActive();
}

bool Olm_Block::SetPinIsActive(Pal::String name, bool active) {
    Olm_Pin* pin = GetNamedPin(name);
    if (!pin) return false;
    pin->SetIsActive(active);
    return true;
}

void Olm_Block::SetAllPinsIsActive(bool active) {
    for (Olm_Pin* pin : m_pins) pin->SetIsActive(active);
}

bool Olm_Block::SetPinWidth(Pal::String name, int startBit, int endBit) {
    Olm_Pin* pin = GetNamedPin(name);
    if (!pin) return false;
    pin->SetStartBit(startBit);
    pin->SetEndBit(endBit);
    return true;
}

void Olm_Block::DeletePin(Olm_Pin* pin) {
    // The caller hands the pin over: it is deleted whether or not it was in the list.
    if (pin && !m_pins.Release(pin)) delete pin;
}

void Olm_Block::ClearAllPinSignals() {
    for (Olm_Pin* pin : m_pins) pin->SetSigName("");
}

void Olm_Block::RemoveAllPinClkBufAttrs() {
    for (Olm_Pin* pin : m_pins) pin->RemoveAllPropsWBase("OLM_CLKBUF");
}

void Olm_Block::AddAttribute(Olm_Attribute* attribute) { OlmAttrOps::Append(m_attributes, attribute); }

Olm_Attribute* Olm_Block::AddAttribute(Pal::String name, Pal::String value) {
    return OlmAttrOps::AddOrUpdate(m_attributes, name, value);
}

Olm_Attribute* Olm_Block::GetNamedAttribute(Pal::String name) { return OlmAttrOps::Find(m_attributes, name); }

const Pal::String Olm_Block::GetAttributeValue(Pal::String name) {
    return OlmAttrOps::ValueOf(m_attributes, name);
}

bool Olm_Block::SetAttributeValue(Pal::String name, Pal::String value) {
    return OlmAttrOps::SetValue(m_attributes, name, value);
}

void Olm_Block::RemoveAttribute(Pal::String name) { OlmAttrOps::RemoveExact(m_attributes, name); }

void Olm_Block::SetAllAttributesIsActive(bool active) { OlmAttrOps::SetAllActive(m_attributes, active); }

bool Olm_Block::IsAttributeActive(Pal::String name) {
    const Olm_Attribute* attribute = GetNamedAttribute(name);
    return attribute && attribute->IsActive();
}

bool Olm_Block::SetAttributeIsActive(Pal::String name, bool active) {
    Olm_Attribute* attribute = GetNamedAttribute(name);
    if (!attribute) return false;
    attribute->SetIsActive(active);
    return true;
}

void Olm_Block::DeleteAttribute(Olm_Attribute* attribute) {
    // As DeletePin: the attribute is deleted whether or not it was in the list.
    if (attribute && !m_attributes.Release(attribute)) delete attribute;
}

void Olm_Block::DumpToFile(Pal::Stream* stream, bool full) { Olm_DumpWriter(stream, full).Write(*this); }
