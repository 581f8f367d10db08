// TableLimits: the size of the grid and of one cell, which no operation may exceed.
#pragma once

#include <atomic>

// The reader drops what lies beyond these, so anything an edit puts there would be lost on
// the next open; every command that grows the table or a cell tests them before it changes
// anything. The row limit is the user's option (MAXROW); the window sets it from the settings
// before it opens anything, and every rule reads it here so none keeps its own copy.
struct TableLimits {
    static constexpr int MaxColumns = 999;
    static constexpr int DefaultMaxRows = 500000;
    // Row numbers times 100 (the row-number column's width text) and the row spans' offsets
    // stay far inside 64 bits and row indices inside int at this size.
    static constexpr int HighestMaxRows = 10000000;
    static constexpr int MaxCellBytes = 5000;

    static int maxRows() { return maxRows_.load(std::memory_order_relaxed); }
    // Values outside DefaultMaxRows..HighestMaxRows are ignored.
    static void setMaxRows(int rows) {
        if (rows >= DefaultMaxRows && rows <= HighestMaxRows)
            maxRows_.store(rows, std::memory_order_relaxed);
    }

    // True when zero-based (column, row) lies inside the grid.
    static bool fitsGrid(long long column, long long row) {
        return column >= 0 && row >= 0 && column < MaxColumns && row < maxRows();
    }
    // True when `count` more columns (rows) still fit beside `existing` ones.
    static constexpr bool columnsFit(long long existing, long long count) {
        return count >= 0 && existing + count <= MaxColumns;
    }
    static bool rowsFit(long long existing, long long count) {
        return count >= 0 && existing + count <= maxRows();
    }

private:
    static inline std::atomic<int> maxRows_{DefaultMaxRows};
};
