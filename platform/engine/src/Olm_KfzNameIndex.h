#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

// Positions of the entries of one list of the design by name, so that a
// command naming a block or signal finds it without walking the list. Names
// are keyed with ASCII letter case folded, as the design matches them, and
// each name keeps the position of its first entry: a lookup answers what a
// walk of the list in order would. The owner keeps it in step with the list.
class Olm_KfzNameIndex {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // The position of the first entry of the name; kNone when there is none.
    std::size_t Find(const char* name) const;
    // Records an entry appended at the position; an earlier entry of the
    // same name keeps its place.
    void Add(const char* name, std::size_t position);
    void Clear() { m_positions.clear(); }

    // Indexes a whole list afresh.
    template <typename List>
    void Rebuild(const List& list) {
        m_positions.clear();
        m_positions.reserve(list.size());
        for (std::size_t i = 0; i < list.size(); ++i) Add(list[i].name, i);
    }

private:
    static std::string Key(const char* name);

    std::unordered_map<std::string, std::size_t> m_positions;
};
