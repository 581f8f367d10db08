// CellClear: empties the cells of a selection as one undoable step (Delete key, second half of cut).
#pragma once

#include "store/SelectionRange.h"

class CMyHyo;

class CellClear {
public:
    // Records the old text of every cell of the range, then empties them; colours stay.
    // 0 done, -1 when the user declined going on without undo (nothing changed).
    static int clear(CMyHyo& hyo, const SelectionRange& range);
};
