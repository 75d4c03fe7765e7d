#pragma once

#include "engine/EngineExport.h"
#include "pal/String.h"

#include <vector>

// An indexed array of strings with value semantics: flag words, possible
// values, lists of names. Indexes count from 0; an index out of range reads
// as an empty string and is ignored on writes.
class OLM_ENGINE_API Olm_StrArray {
public:
    Olm_StrArray() = default;
    Olm_StrArray(const Olm_StrArray&) = default;
    Olm_StrArray(Olm_StrArray&&) noexcept = default;
    Olm_StrArray& operator=(const Olm_StrArray&) = default;
    Olm_StrArray& operator=(Olm_StrArray&&) noexcept = default;
    ~Olm_StrArray();

    // Appends at the end; returns the new element's index.
    int Add(Pal::String text);
    Pal::String GetAt(int index) const;
    void SetAt(int index, Pal::String text);
    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    void RemoveAll() { m_items.clear(); }

private:
    std::vector<Pal::String> m_items;
};
