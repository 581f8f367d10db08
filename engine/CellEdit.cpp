// CellEdit: the commit of an in-cell edit - text and row height in one undo step.
#include "engine/CellEdit.h"

#include "store/CMyHyo.h"

#include <algorithm>
#include <cmath>

EditOutcome CellEdit::commit(CMyHyo& hyo, int column, int row, const std::string& text,
                             int boxHeight, int cellHeight, double scale) {
    if (text.empty() && hyo.cellString(column, row).empty()) return {};
    store(hyo, column, row, text, rowHeight(hyo, row, boxHeight, cellHeight, scale));
    return {.render = true, .markModified = true, .raiseRanges = true};
}

int CellEdit::rowHeight(CMyHyo& hyo, int row, int boxHeight, int cellHeight, double scale) {
    // A box as tall as the cell it was opened over keeps the row's height: at a zoom other
    // than 100 % the drawn height converted back can be one more than the stored one.
    if (boxHeight + 2 == cellHeight) return hyo.rowHeight(row);
    const double height = std::trunc((boxHeight + 2) / scale);
    return static_cast<int>(std::clamp<double>(height, MinimumRowHeight, MaximumRowHeight));
}

// The text and, when it changed, the row's height go in as one undo step: the area records
// the old text, goes back to the cell and records the row's old height.
void CellEdit::store(CMyHyo& hyo, int column, int row, const std::string& text, int height) {
    CMyUndo& journal = hyo.journal();
    const bool heightChanges = height != hyo.rowHeight(row);
    if (heightChanges && journal.recording() &&
        journal.openArea(UndoCellText, 0, column, row, column, row) == 1) {
        hyo.setCell(column, row, nullptr);
        // A text too big for the journal abandons the area; the height then is not recorded
        // either (outside the area it would become an undo step of its own).
        if (journal.areaOpen()) {
            journal.appendMarker(UndoBackToStart);
            journal.appendMarker(UndoSetKind, UndoRowHeight);
            hyo.journalRowAttribute(row, AttrRowHeight);
        }
        // An entry too big for the journal is left out, as a single change would be.
        journal.closeArea(true);
        const bool wasRecording = journal.setRecording(false);
        hyo.setRowHeight(row, height);
        hyo.setCell(column, row, text.c_str());
        journal.setRecording(wasRecording);
        return;
    }
    if (heightChanges) hyo.setRowHeight(row, height);
    hyo.setCell(column, row, text.c_str());
}
