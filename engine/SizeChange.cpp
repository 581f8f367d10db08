// SizeChange: widths and heights with their undo step.
#include "engine/SizeChange.h"

#include "store/CMyHyo.h"
#include "store/UndoArea.h"

// The step remembers `row` as the cell undo returns to.
EditOutcome SizeChange::columnWidths(CMyHyo& hyo, int first, int last, int width, int row) {
    UndoArea area(hyo.journal(), UndoColumnWidth, 0, first, row, last, row);
    for (int c = first; c <= last && area.collecting(); ++c) hyo.journalColumnRecord(c);
    if (!area.commit()) return {};
    for (int c = first; c <= last; ++c) hyo.setColumnWidth(c, width);
    return {.render = true};
}

EditOutcome SizeChange::rowHeights(CMyHyo& hyo, int first, int last, int height) {
    if (hyo.setRowHeights(first, last, height) < 0) return {};
    return {.render = true};
}
