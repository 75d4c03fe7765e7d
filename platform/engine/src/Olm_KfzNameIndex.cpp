#include "Olm_KfzNameIndex.h"

#include "pal/StrUtil.h"

std::string Olm_KfzNameIndex::Key(const char* name) { return Pal::StrUtil::UpperAscii(name); }

std::size_t Olm_KfzNameIndex::Find(const char* name) const {
    if (!name) return kNone;
    const auto it = m_positions.find(Key(name));
    return it == m_positions.end() ? kNone : it->second;
}

void Olm_KfzNameIndex::Add(const char* name, std::size_t position) {
    if (name) m_positions.emplace(Key(name), position);
}
