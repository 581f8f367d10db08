// CellClear: empties the cells of a selection as one undoable step (Delete key, second half of cut).
#pragma once

#include "engine/EditOutcome.h"
#include "engine/SelectionRange.h"

class CMyHyo;

class CellClear {
public:
    // Records the old text of every cell of the range, then empties them; colours stay.
    // Nothing to do when the user declined going on without undo (nothing changed).
    static EditOutcome clear(CMyHyo& hyo, const SelectionRange& range);
};
