// SortKeys: filling the key slots and comparing one row with the key cells of another.
#include "store/SortKeys.h"

#include <algorithm>
#include <string_view>

#include "platform/core/Prompt.h"
#include "store/RowSorter.h"

void SortKeys::clear() {
    count = 0;
    for (int i = 0; i < SortKeySlots; ++i) {
        column[i] = -1;
        flags[i] = 0;
        length[i] = 0;
    }
}

int SortKeys::add(int keyColumn, bool descending, bool numeric, int keyLength) {
    if (count >= SortKeySlots) return -1;
    if (keyLength > RowSorter::MaxKeyLength) {
        Prompt::warn("ソートの文字長さ制限エラーです。");
        keyLength = 0;
    }
    column[count] = keyColumn;
    flags[count] = (descending ? RowSorter::Descending : 0) | (numeric ? RowSorter::Numeric : 0);
    length[count] = std::max(keyLength, 0);
    ++count;
    return 0;
}

std::vector<std::string> SortKeys::keyCells(const char* row, int rowLength) const {
    std::vector<std::string> cells;
    for (int k = 0; k < std::min(count, SortKeySlots); ++k)
        cells.emplace_back(RowSorter::keyCell(row, rowLength, column[k]));
    return cells;
}

int SortKeys::compare(const char* row, int rowLength, const std::vector<std::string>& cells) const {
    for (int k = 0; k < std::min(count, SortKeySlots) && k < static_cast<int>(cells.size()); ++k) {
        std::string_view cell = RowSorter::keyCell(row, rowLength, column[k]);
        int result = RowSorter::compareKey(cell, cells[k], flags[k], length[k]);
        if (result != 0) return result;
    }
    return 0;
}
