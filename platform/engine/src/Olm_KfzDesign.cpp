#include "engine/Olm_KfzDesign.h"

#include <strings.h>

namespace {

// Names are matched with ASCII letter case folded, as the wizards' model does.
bool Same(const Pal::String& a, const char* b) { return b && ::strcasecmp(a.c_str(), b) == 0; }

bool SameNoCase(const char* a, const char* b) { return a && b && ::strcasecmp(a, b) == 0; }

template <typename List>
auto FindNamed(List& list, const char* name) -> decltype(&list.front()) {
    if (!name) return nullptr;
    for (auto& entry : list) {
        if (Same(entry.name, name)) return &entry;
    }
    return nullptr;
}

void AppendProperties(std::vector<Pal::String>& names, const Olm_KfzPropertyList& list) {
    for (const auto& property : list) names.push_back(property.name);
}

Pal::String PropertyValue(const Olm_KfzPropertyList& list, const char* key) {
    const Olm_KfzProperty* property = Olm_KfzDesign::FindProperty(list, key);
    return property ? property->value : Pal::String();
}

}  // namespace

void Olm_KfzDesign::ClearDesign() {
    version = Pal::String();
    blocks.clear();
    nets.clear();
}

Olm_KfzBlock* Olm_KfzDesign::FindBlock(const char* name) { return FindNamed(blocks, name); }
const Olm_KfzBlock* Olm_KfzDesign::FindBlock(const char* name) const { return FindNamed(blocks, name); }
Olm_KfzSignal* Olm_KfzDesign::FindSignal(const char* name) { return FindNamed(nets, name); }
const Olm_KfzSignal* Olm_KfzDesign::FindSignal(const char* name) const { return FindNamed(nets, name); }
Olm_KfzPin* Olm_KfzDesign::FindPin(Olm_KfzBlock& block, const char* name) { return FindNamed(block.pins, name); }
const Olm_KfzPin* Olm_KfzDesign::FindPin(const Olm_KfzBlock& block, const char* name) {
    return FindNamed(block.pins, name);
}

const Olm_KfzProperty* Olm_KfzDesign::FindProperty(const Olm_KfzPropertyList& list, const char* name) {
    return FindNamed(list, name);
}

void Olm_KfzDesign::SetProperty(Olm_KfzPropertyList& list, const char* name, const char* value) {
    if (Olm_KfzProperty* property = FindNamed(list, name)) {
        property->value = value;
        return;
    }
    list.push_back(Olm_KfzProperty{name, value});
}

bool Olm_KfzDesign::IsReservedBlockKey(const char* key) { return SameNoCase(key, kPrimType); }

bool Olm_KfzDesign::IsReservedPinKey(const char* key) {
    return SameNoCase(key, kPinWidth) || SameNoCase(key, kPinHasBus) || SameNoCase(key, kPinIsVcc) ||
           SameNoCase(key, kPinIsGnded);
}

bool Olm_KfzDesign::IsReservedSignalKey(const char* key) {
    return SameNoCase(key, kSigExternal) || SameNoCase(key, kSigIsBus) || SameNoCase(key, kSigIsGnded) ||
           SameNoCase(key, kSigIsVcc);
}

std::vector<Pal::String> Olm_KfzDesign::BlockPropertyNames(const Olm_KfzBlock& block) {
    std::vector<Pal::String> names{kPrimType};
    AppendProperties(names, block.properties);
    return names;
}

std::vector<Pal::String> Olm_KfzDesign::PinPropertyNames(const Olm_KfzPin& pin) {
    std::vector<Pal::String> names;
    if (pin.hasWidth) names.emplace_back(kPinWidth);
    if (pin.hasBus) names.emplace_back(kPinHasBus);
    if (pin.isVcc) names.emplace_back(kPinIsVcc);
    if (pin.isGnded) names.emplace_back(kPinIsGnded);
    AppendProperties(names, pin.properties);
    return names;
}

std::vector<Pal::String> Olm_KfzDesign::SignalPropertyNames(const Olm_KfzSignal& signal) {
    std::vector<Pal::String> names;
    if (signal.isExternal) names.emplace_back(kSigExternal);
    if (signal.isBus) names.emplace_back(kSigIsBus);
    if (signal.isGnded) names.emplace_back(kSigIsGnded);
    if (signal.isVcc) names.emplace_back(kSigIsVcc);
    AppendProperties(names, signal.properties);
    return names;
}

Pal::String Olm_KfzDesign::BlockPropertyValue(const Olm_KfzBlock& block, const char* key) {
    if (Same(Pal::String(kPrimType), key)) return block.primType;
    return PropertyValue(block.properties, key);
}

Pal::String Olm_KfzDesign::PinPropertyValue(const Olm_KfzPin& pin, const char* key) {
    if (Same(Pal::String(kPinWidth), key)) return pin.hasWidth ? pin.width : Pal::String();
    if (Same(Pal::String(kPinHasBus), key)) return pin.hasBus ? kTrue : "";
    if (Same(Pal::String(kPinIsVcc), key)) return pin.isVcc ? kTrue : "";
    if (Same(Pal::String(kPinIsGnded), key)) return pin.isGnded ? kTrue : "";
    return PropertyValue(pin.properties, key);
}

Pal::String Olm_KfzDesign::SignalPropertyValue(const Olm_KfzSignal& signal, const char* key) {
    if (Same(Pal::String(kSigExternal), key)) return signal.isExternal ? signal.externalName : Pal::String();
    if (Same(Pal::String(kSigIsBus), key)) return signal.isBus ? Pal::String().Format("%d", signal.busWidth) : Pal::String();
    if (Same(Pal::String(kSigIsGnded), key)) return signal.isGnded ? kTrue : "";
    if (Same(Pal::String(kSigIsVcc), key)) return signal.isVcc ? kTrue : "";
    return PropertyValue(signal.properties, key);
}
