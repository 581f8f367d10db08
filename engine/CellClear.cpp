// CellClear: empties the cells of a selection as one undoable step (Delete key, second half of cut).
#include "engine/CellClear.h"

#include "store/CMyHyo.h"
#include "store/UndoArea.h"

EditOutcome CellClear::clear(CMyHyo& hyo, const SelectionRange& range) {
    UndoArea area(hyo.journal(), UndoCellText, 0, range.left, range.top, range.right,
                  range.bottom);
    bool walking = true;
    for (int row = range.top; walking && row <= range.bottom; ++row) {
        for (int column = range.left; column <= range.right; ++column) {
            // A cell the store refuses ends the walk; what was recorded so far stays.
            if (hyo.setCell(column, row, nullptr) != 1) {
                walking = false;
                break;
            }
        }
        area.nextRow();
        if (!area.collecting()) break;
    }
    if (!area.commit()) return {};
    for (int row = range.top; row <= range.bottom; ++row) {
        for (int column = range.left; column <= range.right; ++column) {
            // Cells that hold nothing stay as they are, so clearing never extends the table.
            if (hyo.seekCell(column, row) == 0 || hyo.cellTextLength() == 0) continue;
            hyo.setCell(column, row, "");
        }
    }
    return EditOutcome::changedCells();
}
