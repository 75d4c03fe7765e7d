#include "engine/Olm_StrArray.h"

Olm_StrArray::~Olm_StrArray() = default;

int Olm_StrArray::Add(Pal::String text) {
    m_items.push_back(std::move(text));
    return static_cast<int>(m_items.size()) - 1;
}

Pal::String Olm_StrArray::GetAt(int index) const {
    if (index < 0 || index >= GetSize()) return Pal::String();
    return m_items[static_cast<std::size_t>(index)];
}

void Olm_StrArray::SetAt(int index, Pal::String text) {
    if (index < 0 || index >= GetSize()) return;
    m_items[static_cast<std::size_t>(index)] = std::move(text);
}
