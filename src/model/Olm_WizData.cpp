#include "model/Olm_WizData.h"

#include "datafiles/Olm_DumpWriter.h"

#include <algorithm>
#include <utility>

namespace {

template <typename T>
T* FindNamed(const std::vector<T*>& list, const Pal::String& name) {
    for (T* item : list) {
        if (item->GetName().Compare(name, Pal::String::kNoCase) == 0) return item;
    }
    return nullptr;
}

// True when no item bears the name. Otherwise, when asked, replaces the name
// with the first free candidate name1 .. name99 (the number appended as is).
template <typename T>
bool IsNameUnique(const std::vector<T*>& list, Pal::String& name, bool makeUnique) {
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

Olm_WizData::Olm_WizData(const Olm_WizData& other) : m_wizType(other.m_wizType), m_version(other.m_version) {
    m_blocks.reserve(other.m_blocks.size());
    for (const Olm_Block* block : other.m_blocks) m_blocks.push_back(new Olm_Block(*block));
    m_signals.reserve(other.m_signals.size());
    for (const Olm_Signal* signal : other.m_signals) m_signals.push_back(new Olm_Signal(*signal));
}

Olm_WizData& Olm_WizData::operator=(const Olm_WizData& other) {
    if (this == &other) return *this;
    Olm_WizData copy(other);
    std::swap(m_wizType, copy.m_wizType);
    std::swap(m_version, copy.m_version);
    std::swap(m_blocks, copy.m_blocks);  // copy now holds the old children and deletes them
    std::swap(m_signals, copy.m_signals);
    return *this;
}

Olm_WizData::~Olm_WizData() {
    for (Olm_Block* block : m_blocks) delete block;
    m_blocks.clear();
    for (Olm_Signal* signal : m_signals) delete signal;
    m_signals.clear();
}

void Olm_WizData::SetWizType(Pal::String wizType) { m_wizType = std::move(wizType); }

void Olm_WizData::SetVersion(Pal::String version) { m_version = std::move(version); }

void Olm_WizData::AddBlock(Olm_Block* block, bool deactivate) {
    if (!block) return;  // the list never holds null
    if (deactivate) block->SetIsActive(false);
    m_blocks.push_back(block);
}

Olm_Block* Olm_WizData::AddBlock(Pal::String name, Pal::String primType) {
    if (Olm_Block* existing = GetNamedBlock(name)) {
        if (existing->GetPrimType().Compare(primType, Pal::String::kNoCase) != 0) return nullptr;
        existing->SetIsActive(true);
        return existing;
    }
    auto* block = new Olm_Block(std::move(name), std::move(primType));
    m_blocks.push_back(block);
    return block;
}

void Olm_WizData::AddSignal(Olm_Signal* signal) {
    if (signal) m_signals.push_back(signal);
}

Olm_Signal* Olm_WizData::AddSignal(Pal::String name, bool external, Pal::String externalName) {
    Olm_Signal* signal = GetNamedSignal(name);
    if (signal) {
        signal->SetIsActive(true);
    } else {
        signal = new Olm_Signal(std::move(name));
        m_signals.push_back(signal);
    }
    signal->SetIsExternal(external, std::move(externalName));
    return signal;
}

Olm_Block* Olm_WizData::CopyBlock(Olm_Block* source, Pal::String newName) {
    if (!source) return nullptr;
    // Copy before anything is deleted: source may be the block being replaced.
    auto* copy = new Olm_Block(*source);
    copy->SetName(newName);
    if (Olm_Block* replaced = GetNamedBlock(newName)) {
        m_blocks.erase(std::find(m_blocks.begin(), m_blocks.end(), replaced));
        delete replaced;
    }
    m_blocks.push_back(copy);
    return copy;
}

void Olm_WizData::DeleteBlock(Olm_Block* block) {
    const auto it = std::find(m_blocks.begin(), m_blocks.end(), block);
    if (!block || it == m_blocks.end()) return;
    m_blocks.erase(it);
    delete block;
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
