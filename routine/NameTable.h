#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace sweepdraw {

// Names to numbers, in one array by open addressing on a short hash: asked
// of nearly every name a routine declares, where std::unordered_map's hash
// of the bytes, its division and its node per name cost more than the
// rest of the look-up. The names are views: their text must outlive the
// table. No name is empty.
class NameTable final
{
public:
    // Empties the table, keeping its room.
    void clear()
    {
        std::fill(m_entries.begin(), m_entries.end(), Entry{});
        m_count = 0;
    }

    // Adds `name`, which is not in the table yet.
    void insert(std::string_view name, std::uint32_t value)
    {
        if (2 * (m_count + 1) > m_entries.size())
            grow();
        place(name, value);
    }

    // The number of `name`, or nullptr.
    const std::uint32_t *find(std::string_view name) const
    {
        if (m_entries.empty())
            return nullptr;
        const std::size_t mask = m_entries.size() - 1;
        for (std::size_t i = hash(name) & mask;; i = (i + 1) & mask) {
            const Entry &entry = m_entries[i];
            if (entry.name.empty())
                return nullptr;
            if (entry.name == name)
                return &entry.value;
        }
    }

private:
    struct Entry
    {
        std::string_view name; // empty where none is
        std::uint32_t value = 0;
    };

    static std::size_t hash(std::string_view name)
    {
        std::uint32_t h = 2166136261u;
        for (const char c : name)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h;
    }

    void place(std::string_view name, std::uint32_t value)
    {
        const std::size_t mask = m_entries.size() - 1;
        std::size_t i = hash(name) & mask;
        while (!m_entries[i].name.empty())
            i = (i + 1) & mask;
        m_entries[i] = {name, value};
        ++m_count;
    }

    // Twice the room, at most half of it taken.
    void grow()
    {
        std::vector<Entry> old(m_entries.empty() ? 32 : 2 * m_entries.size());
        old.swap(m_entries);
        m_count = 0;
        for (const Entry &entry : old)
            if (!entry.name.empty())
                place(entry.name, entry.value);
    }

    std::vector<Entry> m_entries; // a power of two of them
    std::size_t m_count = 0;
};

} // namespace sweepdraw
