#include "model/Olm_WizData.h"

#include "datafiles/Olm_DumpWriter.h"

#include <algorithm>
#include <utility>

namespace {

template <typename T>
T* FindNamed(const Olm_OwnedList<T>& list, const Pal::String& name) {
    for (T* item : list) {
        if (item->GetName().Compare(name, Pal::String::kNoCase) == 0) return item;
    }
    return nullptr;
}

// True when no item bears the name. Otherwise, when asked, replaces the name
// with the first free candidate name1 .. name99 (the number appended as is).
template <typename T>
bool IsNameUnique(const Olm_OwnedList<T>& list, Pal::String& name, bool makeUnique) {
    if (!FindNamed(list, name)) return true;
    if (!makeUnique) return false;
    for (int n = 1; n <= 99; ++n) {
        Pal::String candidate;
        candidate.Format("%s%d", name.c_str(), n);
        if (!FindNamed(list, candidate)) {
            name = candidate;
            return false;
        }
    }
    return false;
}

}  // namespace

Olm_WizData::Olm_WizData() = default;

Olm_WizData::Olm_WizData(Pal::String wizType) : m_wizType(std::move(wizType)) {}

Olm_WizData::~Olm_WizData() {
    m_blocks.Clear();
    m_signals.Clear();
}

void Olm_WizData::SetWizType(Pal::String wizType) { m_wizType = std::move(wizType); }

void Olm_WizData::SetVersion(Pal::String version) { m_version = std::move(version); }

void Olm_WizData::AddBlock(Olm_Block* block, bool deactivate) {
    if (!block) return;  // the list never holds null
    if (deactivate) block->SetIsActive(false);
    m_blocks.Adopt(block);
}

Olm_Block* Olm_WizData::AddBlock(Pal::String name, Pal::String primType) {
    if (Olm_Block* existing = GetNamedBlock(name)) {
        if (existing->GetPrimType().Compare(primType, Pal::String::kNoCase) != 0) return nullptr;
        existing->SetIsActive(true);
        return existing;
    }
    return m_blocks.Append(std::make_unique<Olm_Block>(std::move(name), std::move(primType)));
}

void Olm_WizData::AddSignal(Olm_Signal* signal) {
    m_signals.Adopt(signal);  // null is ignored
}

Olm_Signal* Olm_WizData::AddSignal(Pal::String name, bool external, Pal::String externalName) {
    Olm_Signal* signal = GetNamedSignal(name);
    if (signal) {
        signal->SetIsActive(true);
    } else {
        signal = m_signals.Append(std::make_unique<Olm_Signal>(std::move(name)));
    }
    signal->SetIsExternal(external, std::move(externalName));
    return signal;
}

Olm_Block* Olm_WizData::CopyBlock(Olm_Block* source, Pal::String newName) {
    if (!source) return nullptr;
    // Copy before anything is deleted: source may be the block being replaced.
    auto copy = std::make_unique<Olm_Block>(*source);
    copy->SetName(newName);
    if (Olm_Block* replaced = GetNamedBlock(newName)) m_blocks.Release(replaced);  // deleted here
    return m_blocks.Append(std::move(copy));
}

void Olm_WizData::DeleteBlock(Olm_Block* block) {
    if (block) m_blocks.Release(block);  // deleted when it was in the list
}

Olm_Block* Olm_WizData::GetActiveBlock() {
    const auto it = std::find_if(m_blocks.begin(), m_blocks.end(), [](const Olm_Block* b) { return b->IsActive(); });
    return it == m_blocks.end() ? nullptr : *it;
}

Olm_Block* Olm_WizData::GetActiveBlock(Pal::String primType) {
    for (Olm_Block* block : m_blocks) {
        if (block->IsActive() && block->GetPrimType().Compare(primType, Pal::String::kNoCase) == 0) return block;
    }
    return nullptr;
}

Olm_Block* Olm_WizData::GetPrimitiveBlock(Pal::String primType) {
    for (Olm_Block* block : m_blocks) {
        if (block->GetPrimType().Compare(primType, Pal::String::kNoCase) == 0) return block;
    }
    return nullptr;
}

Olm_Block* Olm_WizData::GetNamedBlock(Pal::String name) { return FindNamed(m_blocks, name); }

Olm_Signal* Olm_WizData::GetNamedSignal(Pal::String name) { return FindNamed(m_signals, name); }

Olm_Block* Olm_WizData::GetTopBlock() { return GetNamedBlock("TOP"); }

void Olm_WizData::SetAllBlksIsActive(bool active) {
    for (Olm_Block* block : m_blocks) block->SetIsActive(active);
}

void Olm_WizData::SetAllSigsIsActive(bool active) {
    for (Olm_Signal* signal : m_signals) signal->SetIsActive(active);
}

bool Olm_WizData::IsSigNameUnique(Pal::String& name, bool makeUnique) {
    return IsNameUnique(m_signals, name, makeUnique);
}

bool Olm_WizData::IsBlockNameUnique(Pal::String& name, bool makeUnique) {
    return IsNameUnique(m_blocks, name, makeUnique);
}

bool Olm_WizData::SetBlkAttributeValue(Pal::String blockName, Pal::String attrName, Pal::String value) {
    Olm_Block* block = GetNamedBlock(blockName);
    if (!block) return false;
    return block->SetAttributeValue(std::move(attrName), std::move(value));
}

void Olm_WizData::ClearAllBlksPinSignals() {
    for (Olm_Block* block : m_blocks) block->ClearAllPinSignals();
}

void Olm_WizData::DumpToFile(Pal::Stream* stream, bool full) { Olm_DumpWriter(stream, full).Write(*this); }

void Olm_WizData::DumpWizData(const char* fileName) { Olm_DumpWriter::WriteFile(this, fileName); }
