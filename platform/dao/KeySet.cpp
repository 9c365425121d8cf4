#include "KeySet.h"

#include <algorithm>
#include <iterator>

void KeySet::EraseAt(std::size_t index) {
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(index));
}

void KeySet::InsertAt(std::size_t index, std::int64_t key) {
    if ((index > 0 && key < m_keys[index - 1]) || (index < m_keys.size() && m_keys[index] < key)) {
        m_sorted = false;
    }
    m_keys.insert(m_keys.begin() + static_cast<std::ptrdiff_t>(index), key);
}

void KeySet::Clear() {
    m_keys.clear();
    m_keys.shrink_to_fit();
    m_sorted = true;
}

std::optional<std::size_t> KeySet::Find(std::int64_t key) const {
    const auto found = m_sorted ? std::lower_bound(m_keys.begin(), m_keys.end(), key)
                                : std::find(m_keys.begin(), m_keys.end(), key);
    if (found == m_keys.end() || *found != key) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(std::distance(m_keys.begin(), found));
}
