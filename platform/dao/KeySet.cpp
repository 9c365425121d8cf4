#include "KeySet.h"

#include <algorithm>
#include <cstring>
#include <new>

void KeySet::Reserve(std::size_t capacity) {
    if (capacity <= m_capacity) {
        return;
    }
    void* grown = std::realloc(m_keys.get(), capacity * sizeof(std::int64_t));
    if (grown == nullptr) {
        throw std::bad_alloc();
    }
    (void)m_keys.release();
    m_keys.reset(static_cast<std::int64_t*>(grown));
    m_capacity = capacity;
}

void KeySet::Settle() const {
    constexpr std::size_t kKeysPerPage = 4096 / sizeof(std::int64_t);
    const volatile std::int64_t* keys = m_keys.get();
    for (std::size_t i = 0; i < m_size; i += kKeysPerPage) {
        (void)keys[i];
    }
}

void KeySet::EraseAt(std::size_t index) {
    std::int64_t* keys = m_keys.get();
    std::memmove(keys + index, keys + index + 1, (m_size - index - 1) * sizeof(std::int64_t));
    --m_size;
}

void KeySet::EraseAt(const std::vector<std::size_t>& indexes) {
    if (indexes.empty()) {
        return;
    }
    std::int64_t* keys = m_keys.get();
    std::size_t kept = indexes.front();
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        const std::size_t from = indexes[i] + 1;
        const std::size_t to = i + 1 < indexes.size() ? indexes[i + 1] : m_size;
        std::memmove(keys + kept, keys + from, (to - from) * sizeof(std::int64_t));
        kept += to - from;
    }
    m_size = kept;
}

void KeySet::InsertAt(std::size_t index, std::int64_t key) {
    std::int64_t* keys = m_keys.get();
    if ((index > 0 && key < keys[index - 1]) || (index < m_size && keys[index] < key)) {
        m_sorted = false;
    }
    if (m_size == m_capacity) {
        Reserve(m_capacity < 1024 ? 1024 : m_capacity * 2);
        keys = m_keys.get();
    }
    std::memmove(keys + index + 1, keys + index, (m_size - index) * sizeof(std::int64_t));
    keys[index] = key;
    ++m_size;
}

void KeySet::Clear() {
    m_keys.reset();
    m_size = 0;
    m_capacity = 0;
    m_sorted = true;
}

std::optional<std::size_t> KeySet::Find(std::int64_t key) const {
    const std::int64_t* begin = m_keys.get();
    const std::int64_t* end = begin + m_size;
    const std::int64_t* found =
        m_sorted ? std::lower_bound(begin, end, key) : std::find(begin, end, key);
    if (found == end || *found != key) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - begin);
}
