#include "model/Olm_AttributeListOps.h"

#include <algorithm>

namespace OlmAttrOps {

namespace {

bool StartsWith(const Pal::String& text, const Pal::String& prefix) {
    return text.str().starts_with(prefix.str());
}

}  // namespace

void Append(Olm_AttributeList& list, Olm_Attribute* attribute) {
    if (attribute) list.push_back(attribute);
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
    auto* created = new Olm_Attribute(name, value);
    list.push_back(created);
    return created;
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
    if (it == list.end()) return;
    Olm_Attribute* doomed = *it;
    list.erase(it);
    delete doomed;
}

void RemoveWithPrefix(Olm_AttributeList& list, const Pal::String& prefix) {
    Olm_AttributeList kept;
    kept.reserve(list.size());
    for (Olm_Attribute* attribute : list) {
        if (StartsWith(attribute->GetName(), prefix)) {
            delete attribute;
        } else {
            kept.push_back(attribute);
        }
    }
    list.swap(kept);
}

bool HasPrefix(const Olm_AttributeList& list, const Pal::String& prefix) {
    return std::any_of(list.begin(), list.end(),
                       [&](const Olm_Attribute* a) { return StartsWith(a->GetName(), prefix); });
}

void SetAllActive(Olm_AttributeList& list, bool active) {
    for (Olm_Attribute* attribute : list) attribute->SetIsActive(active);
}

bool Unlink(Olm_AttributeList& list, const Olm_Attribute* attribute) {
    const auto it = std::find(list.begin(), list.end(), attribute);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

void AppendCopies(Olm_AttributeList& target, const Olm_AttributeList& source) {
    target.reserve(target.size() + source.size());
    for (const Olm_Attribute* attribute : source) target.push_back(new Olm_Attribute(*attribute));
}

void DeleteAll(Olm_AttributeList& list) {
    for (Olm_Attribute* attribute : list) delete attribute;
    list.clear();
}

}  // namespace OlmAttrOps
