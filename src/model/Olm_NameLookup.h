#pragma once

#include "model/Olm_OwnedList.h"
#include "pal/StrUtil.h"
#include "pal/String.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

// Finds the items of one list of the model (blocks or signals) by name
// without walking the list, for a stretch of work in which only its user
// changes the list. It answers what GetNamedBlock or GetNamedSignal answer:
// the first item of the name in list order, ASCII letter case folded. Its
// user keeps it in step: Refresh after appending items, Rebuild after any
// other change (a rename, a removal, a reordering).
template <typename Item>
class Olm_NameLookup {
public:
    explicit Olm_NameLookup(const Olm_OwnedList<Item>& list) : m_list(list) { Rebuild(); }

    Item* Find(const Pal::String& name) const {
        const auto it = m_first.find(Key(name));
        return it == m_first.end() ? nullptr : it->second;
    }

    // Takes in the items appended since the last Refresh or Rebuild; a list
    // that has become shorter is indexed afresh.
    void Refresh() {
        if (m_list.size() < m_indexed) {
            Rebuild();
            return;
        }
        for (; m_indexed < m_list.size(); ++m_indexed) {
            m_first.emplace(Key(m_list[m_indexed]->GetName()), m_list[m_indexed]);
        }
    }

    void Rebuild() {
        m_first.clear();
        m_first.reserve(m_list.size());
        m_indexed = 0;
        Refresh();
    }

private:
    // The name folded as Pal::String::Compare folds it without case.
    static std::string Key(const Pal::String& name) {
        return Pal::StrUtil::UpperAscii(name.c_str());  // up to the first NUL, as Compare reads it
    }

    const Olm_OwnedList<Item>& m_list;
    std::unordered_map<std::string, Item*> m_first;
    std::size_t m_indexed = 0;
};
