// ColourOperations: text and background colours on cells, whole rows and whole columns.
#include "engine/ColourOperations.h"

#include <vector>

#include "store/CMyHyo.h"
#include "store/RowFormat.h"
#include "store/UndoArea.h"

namespace {

// Columns of left..right in view row `row` whose cell carries an attribute of `kind`; the row
// is walked once.
std::vector<int> columnsWith(CMyHyo& hyo, int row, int left, int right, int kind) {
    std::vector<int> found;
    const int storeIndex = hyo.storeRow(row);
    if (storeIndex < 0 || storeIndex >= hyo.storeRowCount()) return found;
    const char* text = hyo.rowText(row);
    const int length = hyo.rowLength(row);
    CellSpan span = RowFormat::locate(text, length, left);
    for (int column = left; column <= right && span.exists; ++column) {
        if (span.textStart > span.start && RowFormat::findRecord(text, span.start, span.textStart, kind) >= 0)
            found.push_back(column);
        if (span.end >= length) break;
        span.start = span.end + 1;
        span.end = RowFormat::cellEnd(text, length, span.start);
        span.textStart = RowFormat::textStart(text, span.end, span.start);
    }
    return found;
}

bool validIndex(int index) { return index >= 0 && index <= 31; }

} // namespace

// Records the old attribute of each cell from `left` up to the last one that has the kind:
// the rest have none and keep none, so a row without it costs only its row marker.
bool ColourOperations::recordCellColours(CMyHyo& hyo, int row, int left, int right, int kind) {
    const std::vector<int> found = columnsWith(hyo, row, left, right, kind);
    if (found.empty()) return true;
    for (int column = left; column <= found.back(); ++column)
        if (hyo.setCellAttribute(column, row, kind, 0, 0, -1) < 0) return false;
    return true;
}

void ColourOperations::removeCellColours(CMyHyo& hyo, int row, int left, int right, int kind) {
    for (int column : columnsWith(hyo, row, left, right, kind))
        hyo.setCellAttribute(column, row, kind, 0, 0, 1);
}

int ColourOperations::setColour(CMyHyo& hyo, ColourTarget target, const SelectionRange& bounds,
                                bool textColour, int index) {
    const int kind = textColour ? AttrTextColour : AttrBackColour;
    const bool set = validIndex(index);
    CMyUndo& journal = hyo.journal();
    const int areaKind = target == ColourTarget::Rows      ? UndoRowColour
                         : target == ColourTarget::Columns ? UndoColumnRecord
                                                           : UndoCellAttribute;
    UndoArea area(journal, areaKind, target == ColourTarget::Columns ? 0 : kind, bounds.left,
                  bounds.top, bounds.right, bounds.bottom);
    if (target != ColourTarget::Cells) {
        // First the rows' or columns' own colours, then, from the start again, the cells'.
        if (target == ColourTarget::Rows)
            for (int row = bounds.top; row <= bounds.bottom && area.collecting(); ++row)
                hyo.journalRowAttribute(row, kind);
        else
            for (int column = bounds.left; column <= bounds.right && area.collecting(); ++column)
                hyo.journalColumnRecord(column);
        if (area.collecting()) {
            journal.appendMarker(UndoSetKind, UndoCellAttribute, kind);
            journal.appendMarker(UndoBackToStart);
        }
    }
    for (int row = bounds.top; row <= bounds.bottom && area.collecting(); ++row) {
        bool kept = true;
        if (target == ColourTarget::Cells && set) {
            for (int column = bounds.left; column <= bounds.right && kept; ++column)
                kept = hyo.setCellAttribute(column, row, kind, 0, 0, -1) >= 0;
        } else {
            kept = recordCellColours(hyo, row, bounds.left, bounds.right, kind);
        }
        if (!kept) break;
        area.nextRow();
    }
    if (!area.commit()) return -1;

    if (target == ColourTarget::Columns)
        for (int column = bounds.left; column <= bounds.right; ++column)
            hyo.setColumnColour(column, kind, set ? index : NoColour);
    for (int row = bounds.top; row <= bounds.bottom; ++row) {
        if (target == ColourTarget::Rows) hyo.setRowAttribute(row, kind, index, set ? 1 : 0);
        if (target == ColourTarget::Cells && set) {
            for (int column = bounds.left; column <= bounds.right; ++column)
                hyo.setCellAttribute(column, row, kind, index, 1, 1);
        } else {
            removeCellColours(hyo, row, bounds.left, bounds.right, kind);
        }
    }
    return 0;
}
