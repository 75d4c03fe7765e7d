#include "model/Olm_Pin.h"

#include "datafiles/Olm_DumpWriter.h"
#include "model/Olm_AttributeListOps.h"
#include "pal/StrUtil.h"

#include <climits>
#include <cstdlib>
#include <utility>

namespace {

constexpr const char* kPinSigBitBase = "OLMW_ONLY_PIN_SIG_BIT_";

// n - 1 without overflow for the most negative count.
int LastBitOfCount(int count) { return count == INT_MIN ? INT_MIN : count - 1; }

Pal::String PinSigBitPropName(int pinBitA, int pinBitB) {
    Pal::String name;
    name.Format("%s%d:%d", kPinSigBitBase, pinBitA, pinBitB);
    return name;
}

}  // namespace

Olm_Pin::Olm_Pin() = default;

Olm_Pin::Olm_Pin(Pal::String name, Pal::String direction)
    : m_name(std::move(name)), m_direction(std::move(direction)) {}

Olm_Pin::~Olm_Pin() = default;

void Olm_Pin::SetName(Pal::String name) { m_name = std::move(name); }

void Olm_Pin::SetDirection(Pal::String direction) { m_direction = std::move(direction); }

void Olm_Pin::SetSigName(Pal::String name) {
    m_sigName = std::move(name);
    if (!m_sigName.IsEmpty()) {
        m_isGnded = false;
        m_isVcc = false;
    }
}

void Olm_Pin::SetIsGrounded(bool grounded) {
    m_isGnded = grounded;
    if (grounded) {
        m_sigName = "";
        m_isVcc = false;
    }
}

void Olm_Pin::SetIsVcc(bool vcc) {
    m_isVcc = vcc;
    if (vcc) {
        m_sigName = "";
        m_isGnded = false;
    }
}

void Olm_Pin::ClearAllConnections() {
    m_isGnded = false;
    m_isVcc = false;
    m_sigName = "";
}

void Olm_Pin::SetStartBit(int bit) {
    m_startBit = bit;
    if (bit >= 1) m_hasBus = true;
}

void Olm_Pin::SetEndBit(int bit) {
    m_endBit = bit;
    if (bit >= 1) m_hasBus = true;
}

int Olm_Pin::GetWidth() const {
    // Computed wide: bit numbers parsed from texts may lie far apart.
    const long long width = std::llabs(static_cast<long long>(m_endBit) - m_startBit) + 1;
    return width > INT_MAX ? INT_MAX : static_cast<int>(width);
}

void Olm_Pin::SetWidth(int width) {
    m_startBit = 0;
    m_endBit = LastBitOfCount(width);
    if (width >= 2) m_hasBus = true;
}

bool Olm_Pin::SetPinWidthData(Olm_Pin* pin, const char* text) {
    if (!pin || !text) return false;
    Pal::String trimmed(text);
    trimmed.Trim(" \t", Pal::String::kTrimBoth);
    const std::string& s = trimmed.str();

    if (s.empty() || s.front() != '[') {
        // A plain count; note that it is read from the untrimmed text.
        const int last = LastBitOfCount(Pal::StrUtil::AToI(text));
        pin->m_startBit = 0;
        pin->m_endBit = last;
        if (last >= 1) pin->m_hasBus = true;
        return false;
    }

    const auto colon = s.find(':', 1);
    if (colon == std::string::npos) return false;
    const std::string startPart = s.substr(1, colon - 1);
    const std::string rest = s.substr(colon + 1);
    if (rest.empty() || rest.back() != ']') return false;
    const std::string endPart = rest.substr(0, rest.size() - 1);

    pin->SetStartBit(Pal::StrUtil::AToI(startPart.c_str()));
    pin->SetEndBit(Pal::StrUtil::AToI(endPart.c_str()));
    return true;
}

void Olm_Pin::AddFlag(Pal::String flag) { m_flags.Add(std::move(flag)); }

bool Olm_Pin::HasFlag(Pal::String flag) {
    for (int i = 0; i < m_flags.GetSize(); ++i) {
        if (m_flags.GetAt(i).Compare(flag, Pal::String::kNoCase) == 0) return true;
    }
    return false;
}

void Olm_Pin::RemoveFlag(Pal::String flag) {
    for (int i = 0; i < m_flags.GetSize(); ++i) {
        if (m_flags.GetAt(i).Compare(flag, Pal::String::kNoCase) == 0) {
            m_flags.SetAt(i, "");
            return;
        }
    }
}

bool Olm_Pin::SupportsDataWidth() { return HasFlag("DATAWIDTH"); }

void Olm_Pin::AddAttribute(Olm_Attribute* attribute) { OlmAttrOps::Append(m_attributes, attribute); }

Olm_Attribute* Olm_Pin::AddAttribute(Pal::String name, Pal::String value) {
    return OlmAttrOps::AddOrUpdate(m_attributes, name, value);
}

Olm_Attribute* Olm_Pin::GetNamedAttribute(Pal::String name) { return OlmAttrOps::Find(m_attributes, name); }

const Pal::String Olm_Pin::GetAttributeValue(Pal::String name) { return OlmAttrOps::ValueOf(m_attributes, name); }

bool Olm_Pin::SetAttributeValue(Pal::String name, Pal::String value) {
    return OlmAttrOps::SetValue(m_attributes, name, value);
}

void Olm_Pin::RemoveAttribute(Pal::String name) { OlmAttrOps::RemoveExact(m_attributes, name); }

void Olm_Pin::SetAllAttributesIsActive(bool active) { OlmAttrOps::SetAllActive(m_attributes, active); }

void Olm_Pin::SetPinSigBitProp(Pal::String sigName, int pinBitA, int pinBitB, int sigBitA, int sigBitB) {
    Pal::String value;
    value.Format("%s[%d:%d]", sigName.c_str(), sigBitA, sigBitB);
    AddAttribute(PinSigBitPropName(pinBitA, pinBitB), value);
    if (m_sigName.IsEmpty()) SetSigName(sigName);
}

void Olm_Pin::RemovePinSigBitProp(int pinBitA, int pinBitB) {
    RemoveAttribute(PinSigBitPropName(pinBitA, pinBitB));
}

void Olm_Pin::RemoveAllPinSigBitProps() { RemoveAllPropsWBase(kPinSigBitBase); }

bool Olm_Pin::HasPinSigBitProp() { return OlmAttrOps::HasPrefix(m_attributes, kPinSigBitBase); }

void Olm_Pin::RemoveAllPropsWBase(Pal::String prefix) { OlmAttrOps::RemoveWithPrefix(m_attributes, prefix); }

void Olm_Pin::RemoveAllInternalProps() {
    RemoveAllPropsWBase("OLMW_ONLY");
    RemoveAllPropsWBase("OLM_");
}

void Olm_Pin::DumpToFile(Pal::Stream* stream, bool full) { Olm_DumpWriter(stream, full).Write(*this); }
