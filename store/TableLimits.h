// TableLimits: the size of the grid and of one cell, which no operation may exceed.
#pragma once

// The reader drops what lies beyond these, so anything an edit puts there would be lost on
// the next open; every command that grows the table or a cell tests them before it changes
// anything.
struct TableLimits {
    static constexpr int MaxColumns = 999;
    static constexpr int MaxRows = 500000;
    static constexpr int MaxCellBytes = 5000;

    // True when zero-based (column, row) lies inside the grid.
    static constexpr bool fitsGrid(long long column, long long row) {
        return column >= 0 && row >= 0 && column < MaxColumns && row < MaxRows;
    }
    // True when `count` more columns (rows) still fit beside `existing` ones.
    static constexpr bool columnsFit(long long existing, long long count) {
        return count >= 0 && existing + count <= MaxColumns;
    }
    static constexpr bool rowsFit(long long existing, long long count) {
        return count >= 0 && existing + count <= MaxRows;
    }
};
