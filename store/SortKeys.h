// SortKeys: the columns a sort orders by, with their direction, kind and compared length.
#pragma once

#include <string>
#include <vector>

constexpr int SortKeySlots = 11;

// Keys are filled in order; the first key with column -1 ends them. flags holds
// RowSorter::Descending and RowSorter::Numeric; a length of 0 compares whole cells.
struct SortKeys {
    int count = 0;
    int column[SortKeySlots];
    int flags[SortKeySlots];
    int length[SortKeySlots];

    SortKeys() { clear(); }
    void clear();
    // 0, or -1 when every slot is taken. A length over the sorter's limit is refused with a
    // message and the key compares whole cells.
    int add(int keyColumn, bool descending, bool numeric, int keyLength);
    // The row's key cells, one per key, and the row compared with such cells by the keys.
    std::vector<std::string> keyCells(const char* row, int rowLength) const;
    int compare(const char* row, int rowLength, const std::vector<std::string>& cells) const;
};
