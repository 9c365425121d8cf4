#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The keys of a dynaset in their order. Keys from a plain table scan come ascending; as long as
// they do, finding a key is a binary search, which keeps bookmarks fast on large catalogues.
class KeySet {
public:
    std::size_t Size() const { return m_keys.size(); }
    bool IsAscending() const { return m_sorted; }
    std::int64_t Last() const { return m_keys.back(); }
    bool Empty() const { return m_keys.empty(); }
    std::int64_t operator[](std::size_t index) const { return m_keys[index]; }

    void Append(std::int64_t key) {
        if (!m_keys.empty() && key < m_keys.back()) {
            m_sorted = false;
        }
        m_keys.push_back(key);
    }
    void Reserve(std::size_t size) { m_keys.reserve(size); }
    void EraseAt(std::size_t index);
    void Clear();

    std::optional<std::size_t> Find(std::int64_t key) const;

private:
    std::vector<std::int64_t> m_keys;
    bool m_sorted = true;
};
