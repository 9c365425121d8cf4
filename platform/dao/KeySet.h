#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

// The keys of a dynaset in their order. Keys from a plain table scan come ascending; as long as
// they do, finding a key is a binary search, which keeps bookmarks fast on large catalogues.
//
// Ten million keys take 80 MB. The keys live in one block grown with realloc, which the C
// library moves by remapping pages rather than copying, so that loading them never holds an
// old and a new copy at once.
class KeySet {
public:
    std::size_t Size() const { return m_size; }
    bool IsAscending() const { return m_sorted; }
    std::int64_t Last() const { return m_keys.get()[m_size - 1]; }
    bool Empty() const { return m_size == 0; }
    std::int64_t operator[](std::size_t index) const { return m_keys.get()[index]; }

    void Append(std::int64_t key) {
        if (m_size != 0 && key < Last()) {
            m_sorted = false;
        }
        if (m_size == m_capacity) {
            Reserve(m_capacity < 1024 ? 1024 : m_capacity * 2);
        }
        m_keys.get()[m_size++] = key;
    }
    // Throws std::bad_alloc when memory runs out.
    void Reserve(std::size_t capacity);
    // To be called once the keys are loaded. The C library moves a large block by remapping its
    // pages, and on some virtual machines the first access to each moved page is slow: ten
    // million keys took a tenth of a second more, which would otherwise fall on the first edit
    // elsewhere that shifts the keys. One read per page pays it while the keys load.
    void Settle() const;
    void EraseAt(std::size_t index);
    // Erases the keys at `indexes` (ascending, each once) in one pass over the keys after the
    // first of them.
    void EraseAt(const std::vector<std::size_t>& indexes);
    void InsertAt(std::size_t index, std::int64_t key);
    void Clear();

    std::optional<std::size_t> Find(std::int64_t key) const;

private:
    struct Free {
        void operator()(std::int64_t* keys) const { std::free(keys); }
    };

    std::unique_ptr<std::int64_t, Free> m_keys;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    bool m_sorted = true;
};
