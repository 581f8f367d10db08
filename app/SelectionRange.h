// SelectionRange: normalised selection bounds (left column, top row, right column, bottom row).
#pragma once

// Zero-based and normalised, as the view hands them out; the current cell when nothing is
// selected.
struct SelectionRange {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
