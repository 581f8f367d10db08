// StoreBounds: the store's own bounds on row and column numbers and its "did not exist" mark.
#pragma once

struct StoreBounds {
    // Beyond the largest grid (999 x 10,000,000 with the highest row option); rejecting
    // larger numbers keeps absurd arguments from turning into gigabytes of padding.
    static constexpr int MaxColumn = 1000000;
    static constexpr int MaxRow = 20000000;
    // Journal data saying "this cell or row did not exist": it ends in 0x01, a byte that
    // never ends old text (TAB or NUL) and never completes an attribute value of this length.
    // 5 bytes keep a row's cell count, 13 bytes (-1, view rows, store rows) the table's size.
    static constexpr int MissingMax = 13;
    static constexpr unsigned char MissingEnd = 0x01;
};
