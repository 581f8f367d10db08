// RowSorter: sorts the rows of the table's current view by the store's sort keys.
#pragma once

#include <functional>
#include <string_view>

class CMyHyo;

// The sort is stable: each key cell is located once per row, std::stable_sort orders an index
// array, and the row entries are moved once (CMyLine::permute). Cell texts do not move, so the
// located key cells stay valid throughout. With the filter active only the filtered rows move,
// among their own store positions.
class RowSorter {
public:
    // Key flags as the store keeps them.
    static constexpr int Descending = 1;
    static constexpr int Numeric = 2;
    static constexpr int MaxKeyLength = 30;

    // Text order of two key cells: ASCII letters folded, single bytes as signed values (so
    // half-width kana sort before ASCII), every double-byte character after every single
    // byte, lead and trail bytes compared as signed values; a cell that ends first is smaller.
    static int compareText(std::string_view a, std::string_view b);
    // One key: the cells cut to `length` bytes (0 = whole), compared as text or by number,
    // the result negated for a descending key.
    static int compareKey(std::string_view a, std::string_view b, int flags, int length);
    // The key cell of `column` in the row bytes (records skipped; a missing cell is empty).
    static std::string_view keyCell(const char* row, int length, int column);

    // Called with the new order (view row order[k] goes to view position k) before any row
    // moves; false stops the sort.
    using BeforeMove = std::function<bool(const int* order, int count)>;
    static constexpr int Stopped = -2;
    // 0 sorted (or nothing to sort), -1 when the working memory could not be had (message
    // shown, nothing moved), Stopped when `beforeMove` refused or the user stopped it before
    // the rows moved (nothing moved).
    static int sort(CMyHyo& hyo, const BeforeMove& beforeMove = {});
};
