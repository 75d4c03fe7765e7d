#include "model/Olm_AttributeListOps.h"

#include <algorithm>

namespace OlmAttrOps {

namespace {

bool StartsWith(const Pal::String& text, const Pal::String& prefix) {
    return text.str().starts_with(prefix.str());
}

}  // namespace

void Append(Olm_AttributeList& list, Olm_Attribute* attribute) {
    list.Adopt(attribute);
}

Olm_Attribute* Find(const Olm_AttributeList& list, const Pal::String& name) {
    for (Olm_Attribute* attribute : list) {
        if (attribute->GetName().Compare(name, Pal::String::kNoCase) == 0) return attribute;
    }
    return nullptr;
}

Olm_Attribute* AddOrUpdate(Olm_AttributeList& list, const Pal::String& name, const Pal::String& value) {
    if (Olm_Attribute* existing = Find(list, name)) {
        existing->SetIsActive(true);
        existing->SetCurrentValue(value);
        return existing;
    }
    return list.Append(std::make_unique<Olm_Attribute>(name, value));
}

Pal::String ValueOf(const Olm_AttributeList& list, const Pal::String& name) {
    const Olm_Attribute* attribute = Find(list, name);
    return attribute ? attribute->GetCurrentValue() : Pal::String();
}

bool SetValue(Olm_AttributeList& list, const Pal::String& name, const Pal::String& value) {
    AddOrUpdate(list, name, value);
    return true;
}

void RemoveExact(Olm_AttributeList& list, const Pal::String& name) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const Olm_Attribute* a) { return a->GetName() == name; });
    if (it != list.end()) list.Erase(it);
}

void RemoveWithPrefix(Olm_AttributeList& list, const Pal::String& prefix) {
    list.EraseIf([&](const Olm_Attribute* a) { return StartsWith(a->GetName(), prefix); });
}

bool HasPrefix(const Olm_AttributeList& list, const Pal::String& prefix) {
    return std::any_of(list.begin(), list.end(),
                       [&](const Olm_Attribute* a) { return StartsWith(a->GetName(), prefix); });
}

void SetAllActive(Olm_AttributeList& list, bool active) {
    for (Olm_Attribute* attribute : list) attribute->SetIsActive(active);
}

}  // namespace OlmAttrOps
