// GridGeometry: where the last render put each column and row of the grid, and the hit tests
// and band edges the cursor, the selection and the mouse are worked out from.
#pragma once

#include "view/CellLayout.h"

#include <QRect>

#include <optional>
#include <vector>

// One strip of the presented image; entry 0 is the header (row -1).
struct LayoutEntry {
    int bitmap = 0;
    int height = 0;
    int sourceY = 0;
    int gridY = 0;
    int row = -1;
};

// Coordinates are relative to the grid area's top-left corner. Only columns and rows with a
// positive size are kept, so every query below skips hidden ones.
class GridGeometry {
public:
    const std::vector<ColumnSlot>& columns() const { return columns_; }
    const std::vector<LayoutEntry>& rows() const { return rows_; }   // [0] is the header
    void clearColumns() { columns_.clear(); }
    void addColumn(const ColumnSlot& slot) { columns_.push_back(slot); }
    // Keeps the header entry and drops the row strips.
    void clearRows() { rows_.resize(1); }
    void addRow(const LayoutEntry& entry) { rows_.push_back(entry); }
    void setHeader(int height) { rows_[0] = {0, height, 0, 0, -1}; }
    void reserveRows(std::size_t count) { rows_.reserve(count); }

    const ColumnSlot* slotOf(int column) const;
    const LayoutEntry* entryOf(int row) const;
    int columnAt(int x) const;     // -1 when no column is there
    int rowAt(int y) const;        // -1 in the header or beyond the drawn rows
    std::optional<QRect> cellRect(int column, int row) const;

    // Right edge of the last column shown (or `left` when none), bottom of the last row shown,
    // both clipped to the view.
    int columnsRight(int left, int viewWidth) const;
    int rowsBottom(int viewHeight) const;

    // Edges of a band from column `first` to `last` (rows `top` to `bottom`): a column or row
    // scrolled away towards the start clips to the first one shown (the frozen edge, the
    // header's bottom), one beyond the end to the last one shown; -1 when nothing shows.
    int bandLeft(int first) const;
    int bandRight(int last, int viewWidth) const;
    int bandTop(int top) const;
    int bandBottom(int bottom, int viewHeight) const;

    // The caption or row number under a point of the header strip or the row-number column;
    // `border` tells whether the point is within two pixels of its right or bottom edge.
    const ColumnSlot* captionAt(int x, bool& border) const;
    const LayoutEntry* numberAt(int y, bool& border) const;

    // The column or row nearest to a point, also outside the grid (a drag runs on there):
    // `before` when the point lies before the first one, the last one past the end.
    int nearestColumn(int x, int gridLeft, int before) const;
    int nearestRow(int y, int gridTop, int before) const;

private:
    std::vector<ColumnSlot> columns_;
    std::vector<LayoutEntry> rows_{LayoutEntry{}};
};
