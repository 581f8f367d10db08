// RowCells: journalling and rewriting a run of cells of one row in a single pass over the row.
#pragma once

#include <string_view>
#include <vector>

class CMyHyo;

// Locating each cell from the row start makes a wide row quadratic; a paste of a few thousand
// columns would spend seconds there. These walk the row once.
class RowCells {
public:
    // Records the old text of cells first..last of view row `row` into the open undo area,
    // in the form the store's replay expects (one record per cell from `first`; a cell or row
    // that does not exist yet gets the store's padding marker and ends the run). False when
    // the journal took no more (the area was abandoned).
    static bool record(CMyHyo& hyo, int row, int first, int last);

    // Replaces the texts of cells first, first + 1, ... of view row `row`; a null entry keeps
    // that cell. The cells keep their attribute records; a short row is padded with empty
    // cells. Texts must hold no TAB, NUL or record byte. False when the row could not be
    // stored (allocation failed).
    static bool write(CMyHyo& hyo, int row, int first, const std::vector<const std::string_view*>& texts);
};
