#pragma once

#include <compare>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

// The ordered list of children that a model object owns (attributes of a
// pin, signal or block; pins of a block; blocks and signals of the
// container). The list owns every entry (std::unique_ptr inside) and never
// holds null. Callers read it as a list of plain pointers: iteration,
// operator[], front and back give T*, which stays owned by the list; a
// pointer is valid until its entry is removed or the list is destroyed.
// Copying the list copies every entry (T's copy constructor), in order.
template <typename T>
class Olm_OwnedList {
    using Storage = std::vector<std::unique_ptr<T>>;

public:
    // A random-access iterator that yields the plain pointers.
    class Iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = T*;

        Iterator() = default;
        explicit Iterator(typename Storage::const_iterator it) : m_it(it) {}

        T* operator*() const { return m_it->get(); }
        T* operator[](difference_type n) const { return m_it[n].get(); }
        Iterator& operator++() { ++m_it; return *this; }
        Iterator operator++(int) { Iterator before = *this; ++m_it; return before; }
        Iterator& operator--() { --m_it; return *this; }
        Iterator operator--(int) { Iterator before = *this; --m_it; return before; }
        Iterator& operator+=(difference_type n) { m_it += n; return *this; }
        Iterator& operator-=(difference_type n) { m_it -= n; return *this; }
        friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
        friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
        friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const Iterator& a, const Iterator& b) { return a.m_it - b.m_it; }
        bool operator==(const Iterator& other) const { return m_it == other.m_it; }
        auto operator<=>(const Iterator& other) const { return m_it <=> other.m_it; }

        typename Storage::const_iterator Base() const { return m_it; }

    private:
        typename Storage::const_iterator m_it;
    };
    using iterator = Iterator;
    using const_iterator = Iterator;
    using value_type = T*;
    using size_type = std::size_t;

    Olm_OwnedList() = default;
    Olm_OwnedList(const Olm_OwnedList& other) {
        m_items.reserve(other.m_items.size());
        for (const auto& item : other.m_items) m_items.push_back(std::make_unique<T>(*item));
    }
    Olm_OwnedList& operator=(const Olm_OwnedList& other) {
        if (this != &other) {
            Olm_OwnedList copy(other);
            m_items.swap(copy.m_items);  // the old entries go with copy
        }
        return *this;
    }
    Olm_OwnedList(Olm_OwnedList&&) noexcept = default;
    Olm_OwnedList& operator=(Olm_OwnedList&&) noexcept = default;
    ~Olm_OwnedList() = default;

    std::size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    Iterator begin() const { return Iterator(m_items.cbegin()); }
    Iterator end() const { return Iterator(m_items.cend()); }
    T* operator[](std::size_t i) const { return m_items[i].get(); }
    T* front() const { return m_items.front().get(); }
    T* back() const { return m_items.back().get(); }
    void reserve(std::size_t n) { m_items.reserve(n); }

    // Appends at the end and returns the entry; null is ignored (null result).
    T* Append(std::unique_ptr<T> item) {
        if (!item) return nullptr;
        m_items.push_back(std::move(item));
        return m_items.back().get();
    }
    // Appends a plain pointer and takes ownership of it (the model's
    // interfaces that take T*); null is ignored.
    T* Adopt(T* item) { return Append(std::unique_ptr<T>(item)); }
    // Unlinks the first entry that holds this very pointer and hands it
    // back; null when it is not in the list.
    std::unique_ptr<T> Release(const T* item) {
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if (it->get() != item) continue;
            std::unique_ptr<T> released = std::move(*it);
            m_items.erase(it);
            return released;
        }
        return nullptr;
    }
    // Deletes the entry and returns the position after it.
    Iterator Erase(Iterator position) { return Iterator(m_items.erase(position.Base())); }
    // Deletes every entry for which pred(T*) holds; the others keep their order.
    template <typename Pred>
    void EraseIf(Pred pred) {
        std::erase_if(m_items, [&pred](const std::unique_ptr<T>& item) { return pred(item.get()); });
    }
    // Deletes every entry, first to last.
    void Clear() {
        for (auto& item : m_items) item.reset();
        m_items.clear();
    }

private:
    Storage m_items;
};
