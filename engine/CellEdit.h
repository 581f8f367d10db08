// CellEdit: stores the in-cell editor's text in its cell, with the row height the edited
// text needs, as one undo step.
#pragma once

#include "engine/EditOutcome.h"

#include <string>

class CMyHyo;

class CellEdit {
public:
    static constexpr int MinimumRowHeight = 10;
    static constexpr int MaximumRowHeight = 65535;  // a row's height record holds 16 bits

    // The editor's box was `boxHeight` pixels tall on screen at `scale`, over a cell drawn
    // `cellHeight` tall. An empty text over an empty cell changes nothing; otherwise the
    // cell is written (render, modified, ranges: the cell may lie beyond the table).
    static EditOutcome commit(CMyHyo& hyo, int column, int row, const std::string& text,
                              int boxHeight, int cellHeight, double scale);

    // The row's height (unscaled) for a box of `boxHeight` pixels.
    static int rowHeight(CMyHyo& hyo, int row, int boxHeight, int cellHeight, double scale);

private:
    static void store(CMyHyo& hyo, int column, int row, const std::string& text, int height);
};
