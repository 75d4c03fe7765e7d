#include "model/Olm_Block.h"

#include "datafiles/Olm_DumpWriter.h"
#include "model/Olm_AttributeListOps.h"

#include <algorithm>
#include <utility>

Olm_Block::Olm_Block() = default;

Olm_Block::Olm_Block(Pal::String name, Pal::String primType)
    : m_name(std::move(name)), m_primType(std::move(primType)) {}

Olm_Block::Olm_Block(const Olm_Block& other)
    : m_isActive(other.m_isActive), m_name(other.m_name), m_primType(other.m_primType) {
    OlmAttrOps::AppendCopies(m_attributes, other.m_attributes);
    m_pins.reserve(other.m_pins.size());
    for (const Olm_Pin* pin : other.m_pins) m_pins.push_back(new Olm_Pin(*pin));
    for (int i = 0; i < other.m_flags.GetSize(); ++i) m_flags.Add(other.m_flags.GetAt(i));
}

Olm_Block& Olm_Block::operator=(const Olm_Block& other) {
    if (this == &other) return *this;
    Olm_Block copy(other);
    std::swap(m_isActive, copy.m_isActive);
    std::swap(m_name, copy.m_name);
    std::swap(m_primType, copy.m_primType);
    std::swap(m_flags, copy.m_flags);
    std::swap(m_attributes, copy.m_attributes);  // copy now holds the old children and deletes them
    std::swap(m_pins, copy.m_pins);
    return *this;
}

Olm_Block::~Olm_Block() {
    OlmAttrOps::DeleteAll(m_attributes);
    for (Olm_Pin* pin : m_pins) delete pin;
    m_pins.clear();
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

void Olm_Block::AddPin(Olm_Pin* pin) {
    if (pin) m_pins.push_back(pin);  // a null pin is ignored: the list never holds null
}

Olm_Pin* Olm_Block::AddPin(Pal::String name, Pal::String direction) {
    if (Olm_Pin* existing = GetNamedPin(name)) {
        existing->SetIsActive(true);
        return existing;
    }
    auto* pin = new Olm_Pin(std::move(name), std::move(direction));
    m_pins.push_back(pin);
    return pin;
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
    if (!pin) return;
    const auto it = std::find(m_pins.begin(), m_pins.end(), pin);
    if (it != m_pins.end()) m_pins.erase(it);
    delete pin;
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
    if (!attribute) return;
    OlmAttrOps::Unlink(m_attributes, attribute);
    delete attribute;
}

void Olm_Block::DumpToFile(Pal::Stream* stream, bool full) { Olm_DumpWriter(stream, full).Write(*this); }
