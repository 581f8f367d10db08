// SelectionRange: a rectangle of cells (left column, top row, right column, bottom row).
#pragma once

// Zero-based. The view hands selections out normalised (the current cell when nothing is
// selected); the fill also takes corners in either order.
struct SelectionRange {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
