#pragma once

#include <cstddef>

namespace sweepdraw {

// Whether every row of `table` sits at the index its enumerator `key` has, so
// that looking a row up by its enumerator is plain indexing. For static_assert
// over the constexpr tables the window reads.
template <typename Table, typename Row, typename Key>
constexpr bool listedInOrder(const Table &table, Key Row::*key)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (static_cast<std::size_t>(table[i].*key) != i)
            return false;
    return true;
}

} // namespace sweepdraw
