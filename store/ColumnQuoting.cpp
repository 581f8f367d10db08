// ColumnQuoting: the per-column enclosure notes and how they follow column inserts and deletes.
#include "store/ColumnQuoting.h"

#include <algorithm>

void ColumnQuoting::insertColumns(int first, int count) {
    if (first < 0 || count <= 0 || static_cast<std::size_t>(first) >= seen.size()) return;
    seen.insert(seen.begin() + first, static_cast<std::size_t>(count), 0);
}

void ColumnQuoting::deleteColumns(int first, int last) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    if (last < first || static_cast<std::size_t>(first) >= seen.size()) return;
    const std::size_t end = std::min(seen.size(), static_cast<std::size_t>(last) + 1);
    seen.erase(seen.begin() + first, seen.begin() + static_cast<std::ptrdiff_t>(end));
}
