#include "DesignUtil.h"

#include "translator/Olm_Translator.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <set>

namespace OlmRef {

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool StartsWith(const Pal::String& text, const char* prefix) {
    return text.str().rfind(prefix, 0) == 0;
}

}  // namespace

void ActivateUsedSignals(Olm_WizData* data) {
    if (!data) return;
    std::set<std::string> used;
    for (Olm_Block* block : data->GetBlkList()) {
        if (!block || !block->IsActive()) continue;
        for (Olm_Pin* pin : block->GetPinList()) {
            if (pin && pin->IsActive() && !pin->GetSigName().IsEmpty()) used.insert(pin->GetSigName().str());
        }
    }
    for (Olm_Signal* signal : data->GetSigList()) {
        if (!signal) continue;
        // The tie signals of bit-level ties are added while saving; leave them.
        if (signal->GetName() == "VCCa" || signal->GetName() == "GNDa") continue;
        signal->SetIsActive(used.count(signal->GetName().str()) != 0);
    }
}

std::vector<std::string> ChangedAttributes(Olm_WizData* data) {
    std::vector<std::string> lines;
    if (!data) return lines;
    for (Olm_Block* block : data->GetBlkList()) {
        if (!block || !block->IsActive() || StartsWith(block->GetPrimType(), "OLM_")) continue;
        const bool hsx = block->SupportsHSX10() || block->SupportsHSX11();
        for (Olm_Attribute* attr : block->GetAttributeList()) {
            if (!attr || !attr->IsActive() || !attr->IsModifiable()) continue;
            if (Olm_Translator::IsBlkPropIgnored(attr->GetName(), block->GetPrimType(), hsx)) continue;
            if (attr->GetCurrentValue() == attr->GetDefaultValue() && !(attr->GetName() == "LOC")) continue;
            lines.push_back(block->GetName().str() + "." + attr->GetName().str() + " = " +
                            attr->GetCurrentValue().str() + "  (default " + attr->GetDefaultValue().str() + ")");
        }
    }
    return lines;
}

bool ParseNumber(const std::string& text, double& value) {
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    double v = 0.0;
    const char* begin = t.data();
    if (*begin == '+') ++begin;
    const auto [end, ec] = std::from_chars(begin, t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseInt(const std::string& text, int& value) {
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size()) return false;
    value = v;
    return true;
}

std::string FormatFixed(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text == "-0" || text.rfind("-0.", 0) == 0) {
        // -0.000 reads as 0.000 to the user and to the design.
        if (text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    }
    return text;
}

std::string AttrOr(Olm_Block* block, const char* name, const std::string& fallback) {
    if (!block) return fallback;
    Olm_Attribute* attr = block->GetNamedAttribute(name);
    return attr ? attr->GetCurrentValue().str() : fallback;
}

void SetAttr(Olm_Block* block, const char* name, const std::string& value) {
    if (!block) return;
    if (Olm_Attribute* attr = block->GetNamedAttribute(name)) {
        attr->SetCurrentValue(value);
        return;
    }
    block->AddAttribute(name, value);
}

bool AttrRange(Olm_Block* block, const char* name, std::string& min, std::string& max) {
    Olm_Attribute* attr = block ? block->GetNamedAttribute(name) : nullptr;
    if (!attr) return false;
    const Olm_StrArray& values = attr->GetPossibleValues();
    for (int i = 0; i < values.GetSize(); ++i) {
        const Pal::String value = values.GetAt(i);
        if (!attr->IsValueRange(value)) continue;
        Pal::String lo, hi;
        if (!attr->GetRangeValues(value, lo, hi)) return false;
        min = Trimmed(lo.str());
        max = Trimmed(hi.str());
        return true;
    }
    return false;
}

bool IsTrueText(const std::string& text) {
    const Pal::String t(Trimmed(text));
    return t.Compare("TRUE", Pal::String::kNoCase) == 0 || t.Compare("YES", Pal::String::kNoCase) == 0 ||
           t == "1";
}

std::string PortOf(Olm_WizData* data, Olm_Block* block, const char* pin, const std::string& fallback) {
    Olm_Pin* p = block->GetNamedPin(pin);
    if (!p || p->GetSigName().IsEmpty()) return fallback;
    Olm_Signal* signal = data->GetNamedSignal(p->GetSigName());
    if (!signal || !signal->IsExternal() || signal->GetDirection().IsEmpty()) return fallback;
    return signal->GetDirection().str();
}

void ConnectPort(Olm_WizData* data, Olm_Block* block, const char* pin, const char* signal, const std::string& port,
                 int busWidth) {
    Olm_Pin* p = block->GetNamedPin(pin);
    if (!p) return;
    p->SetIsActive(true);
    p->SetSigName(signal);
    Olm_Signal* s = data->AddSignal(signal, true, port);
    if (s && busWidth > 0) s->SetIsBus(true, busWidth);
}

}  // namespace OlmRef
