#include "engine/Olm_KfzDesign.h"

#include "pal/StrUtil.h"

#include <initializer_list>

namespace {

// Names are matched with ASCII letter case folded, as the wizards' model does.
bool Same(const Pal::String& a, const char* b) { return b && Pal::StrUtil::EqualNoCase(a.str(), b); }

bool SameNoCase(const char* a, const char* b) { return a && b && Pal::StrUtil::EqualNoCase(a, b); }

template <typename List>
auto FindNamed(List& list, const char* name) -> decltype(&list.front()) {
    if (!name) return nullptr;
    for (auto& entry : list) {
        if (Same(entry.name, name)) return &entry;
    }
    return nullptr;
}

// A key an entry reports before its properties: reported while the flag is
// set (always without a flag), with the value text (kTrue without one).
template <typename Item>
struct ReservedKey {
    const char* key;
    bool Item::*flag;
    Pal::String (*text)(const Item&);
};

template <typename Item>
using ReservedKeys = std::initializer_list<ReservedKey<Item>>;

constexpr ReservedKeys<Olm_KfzBlock> kBlockKeys = {
    {Olm_KfzDesign::kPrimType, nullptr, [](const Olm_KfzBlock& block) { return block.primType; }},
};

constexpr ReservedKeys<Olm_KfzPin> kPinKeys = {
    {Olm_KfzDesign::kPinWidth, &Olm_KfzPin::hasWidth, [](const Olm_KfzPin& pin) { return pin.width; }},
    {Olm_KfzDesign::kPinHasBus, &Olm_KfzPin::hasBus, nullptr},
    {Olm_KfzDesign::kPinIsVcc, &Olm_KfzPin::isVcc, nullptr},
    {Olm_KfzDesign::kPinIsGnded, &Olm_KfzPin::isGnded, nullptr},
};

constexpr ReservedKeys<Olm_KfzSignal> kSignalKeys = {
    {Olm_KfzDesign::kSigExternal, &Olm_KfzSignal::isExternal,
     [](const Olm_KfzSignal& signal) { return signal.externalName; }},
    {Olm_KfzDesign::kSigIsBus, &Olm_KfzSignal::isBus,
     [](const Olm_KfzSignal& signal) { return Pal::String().Format("%d", signal.busWidth); }},
    {Olm_KfzDesign::kSigIsGnded, &Olm_KfzSignal::isGnded, nullptr},
    {Olm_KfzDesign::kSigIsVcc, &Olm_KfzSignal::isVcc, nullptr},
};

template <typename Item>
bool IsReserved(ReservedKeys<Item> keys, const char* key) {
    for (const auto& reserved : keys) {
        if (SameNoCase(key, reserved.key)) return true;
    }
    return false;
}

template <typename Item>
bool IsSet(const ReservedKey<Item>& reserved, const Item& item) {
    return !reserved.flag || item.*reserved.flag;
}

template <typename Item>
std::vector<Pal::String> Names(ReservedKeys<Item> keys, const Item& item) {
    std::vector<Pal::String> names;
    for (const auto& reserved : keys) {
        if (IsSet(reserved, item)) names.emplace_back(reserved.key);
    }
    for (const auto& property : item.properties) names.push_back(property.name);
    return names;
}

template <typename Item>
Pal::String Value(ReservedKeys<Item> keys, const Item& item, const char* key) {
    for (const auto& reserved : keys) {
        if (!SameNoCase(key, reserved.key)) continue;
        if (!IsSet(reserved, item)) return Pal::String();
        return reserved.text ? reserved.text(item) : Pal::String(Olm_KfzDesign::kTrue);
    }
    const Olm_KfzProperty* property = Olm_KfzDesign::FindProperty(item.properties, key);
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

bool Olm_KfzDesign::IsReservedBlockKey(const char* key) { return IsReserved(kBlockKeys, key); }
bool Olm_KfzDesign::IsReservedPinKey(const char* key) { return IsReserved(kPinKeys, key); }
bool Olm_KfzDesign::IsReservedSignalKey(const char* key) { return IsReserved(kSignalKeys, key); }

std::vector<Pal::String> Olm_KfzDesign::BlockPropertyNames(const Olm_KfzBlock& block) {
    return Names(kBlockKeys, block);
}
std::vector<Pal::String> Olm_KfzDesign::PinPropertyNames(const Olm_KfzPin& pin) { return Names(kPinKeys, pin); }
std::vector<Pal::String> Olm_KfzDesign::SignalPropertyNames(const Olm_KfzSignal& signal) {
    return Names(kSignalKeys, signal);
}

Pal::String Olm_KfzDesign::BlockPropertyValue(const Olm_KfzBlock& block, const char* key) {
    return Value(kBlockKeys, block, key);
}
Pal::String Olm_KfzDesign::PinPropertyValue(const Olm_KfzPin& pin, const char* key) {
    return Value(kPinKeys, pin, key);
}
Pal::String Olm_KfzDesign::SignalPropertyValue(const Olm_KfzSignal& signal, const char* key) {
    return Value(kSignalKeys, signal, key);
}
