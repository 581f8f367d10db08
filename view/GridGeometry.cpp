// GridGeometry: hit tests and band edges over the columns and rows of the last render.
#include "view/GridGeometry.h"

#include <algorithm>

namespace {

// A border can be grabbed this many pixels either side of it.
constexpr int BorderReach = 2;

} // namespace

const ColumnSlot* GridGeometry::slotOf(int column) const {
    for (const ColumnSlot& slot : columns_)
        if (slot.column == column) return &slot;
    return nullptr;
}

const LayoutEntry* GridGeometry::entryOf(int row) const {
    for (size_t k = 1; k < rows_.size(); ++k)
        if (rows_[k].row == row) return &rows_[k];
    return nullptr;
}

int GridGeometry::columnAt(int x) const {
    for (const ColumnSlot& slot : columns_)
        if (x >= slot.x && x < slot.x + slot.width) return slot.column;
    return -1;
}

int GridGeometry::rowAt(int y) const {
    for (size_t k = 1; k < rows_.size(); ++k)
        if (y >= rows_[k].gridY && y < rows_[k].gridY + rows_[k].height) return rows_[k].row;
    return -1;
}

std::optional<QRect> GridGeometry::cellRect(int column, int row) const {
    const ColumnSlot* slot = slotOf(column);
    const LayoutEntry* entry = entryOf(row);
    if (!slot || !entry) return std::nullopt;
    return QRect(slot->x, entry->gridY, slot->width, entry->height);
}

int GridGeometry::columnsRight(int left, int viewWidth) const {
    if (columns_.empty()) return left;
    return std::min(columns_.back().x + columns_.back().width, viewWidth);
}

int GridGeometry::rowsBottom(int viewHeight) const {
    const LayoutEntry& last = rows_.back();
    return std::min(last.gridY + last.height, viewHeight);
}

int GridGeometry::bandLeft(int first) const {
    for (const ColumnSlot& slot : columns_)
        if (slot.column >= first) return slot.x;
    return -1;
}

int GridGeometry::bandRight(int last, int viewWidth) const {
    for (auto it = columns_.rbegin(); it != columns_.rend(); ++it)
        if (it->column <= last) return std::min(it->x + it->width, viewWidth);
    return -1;
}

int GridGeometry::bandTop(int top) const {
    for (size_t k = 1; k < rows_.size(); ++k)
        if (rows_[k].row >= top) return rows_[k].gridY;
    return -1;
}

int GridGeometry::bandBottom(int bottom, int viewHeight) const {
    for (size_t k = rows_.size(); k-- > 1;)
        if (rows_[k].row <= bottom) return std::min(rows_[k].gridY + rows_[k].height, viewHeight);
    return -1;
}

const ColumnSlot* GridGeometry::captionAt(int x, bool& border) const {
    for (const ColumnSlot& slot : columns_) {
        const int right = slot.x + slot.width;
        border = x >= right - BorderReach;
        if (x <= right + BorderReach) return &slot;
    }
    border = false;
    return nullptr;
}

const LayoutEntry* GridGeometry::numberAt(int y, bool& border) const {
    for (size_t k = 1; k < rows_.size(); ++k) {
        const int bottom = rows_[k].gridY + rows_[k].height;
        border = y >= bottom - BorderReach;
        if (y <= bottom + BorderReach) return &rows_[k];
    }
    border = false;
    return nullptr;
}

int GridGeometry::nearestColumn(int x, int gridLeft, int before) const {
    if (columns_.empty()) return -1;
    if (x < gridLeft) return before;
    const ColumnSlot& last = columns_.back();
    if (x >= last.x + last.width) return last.column;
    return columnAt(x);
}

int GridGeometry::nearestRow(int y, int gridTop, int before) const {
    if (rows_.size() < 2) return -1;
    if (y < gridTop) return before;
    const LayoutEntry& last = rows_.back();
    if (y >= last.gridY + last.height) return last.row;
    return rowAt(y);
}
