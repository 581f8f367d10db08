// ResultColumns: column insertion, colouring and row writing for the derived-column commands.
#include "engine/ResultColumns.h"

#include <algorithm>

#include "store/CMyHyo.h"
#include "store/RowFormat.h"
#include "store/TableLimits.h"
#include "store/UndoArea.h"

ResultColumns::ResultColumns(CMyHyo& hyo, int first, int count)
    : hyo_(hyo), first_(first), count_(count) {}

void ResultColumns::willWrite(int row) {
    const char* text = hyo_.rowText(row);
    const int length = hyo_.rowLength(row);
    if (RowFormat::positionalCells(text, length) < first_) paddedRows_.push_back(row);
}

// The kind-41 step deletes the columns again. Rows that were shorter than the new columns
// get a missing-cell record, which cuts them back to their old cell count; a column list that
// the colour will lengthen gets its old length.
bool ResultColumns::record() {
    CMyUndo& journal = hyo_.journal();
    const int top = paddedRows_.empty() ? 0 : paddedRows_.front();
    UndoArea area(journal, UndoColumnsInserted, 0, first_, top, first_ + count_ - 1,
                  paddedRows_.empty() ? top : paddedRows_.back());
    if (area.collecting() && !paddedRows_.empty()) {
        journal.appendMarker(UndoSetKind, UndoCellText);
        int row = top;
        for (int padded : paddedRows_) {
            for (; row < padded && area.collecting(); ++row) area.nextRow();
            if (!area.collecting()) break;
            hyo_.setCell(first_, padded, nullptr);
        }
    }
    if (area.collecting() && hyo_.columnCount() < first_) {
        journal.appendMarker(UndoBackToStart);
        journal.appendMarker(UndoSetKind, UndoColumnRecord);
        hyo_.journalColumnRecord(first_);
    }
    const bool committed = area.commit();
    undoable_ = area.kept();
    return committed;
}

bool ResultColumns::insert(int colourIndex) {
    // The commands refuse with their own message before this; the store would refuse too,
    // after the step that deletes the columns again had been recorded.
    if (!TableLimits::columnsFit(std::max(hyo_.widestRowValue(), first_), count_)) return false;
    const bool previous = hyo_.journal().recording();
    if (previous && !record()) return false;
    // Recording stays off for the change itself: the step above undoes all of it.
    hyo_.journal().setRecording(false);
    hyo_.insertColumns(first_, first_ + count_ - 1);
    for (int c = first_; c < first_ + count_; ++c) hyo_.setColumnColour(c, AttrBackColour, colourIndex);
    hyo_.journal().setRecording(previous);
    widest_ = hyo_.widestRowValue();
    return true;
}

void ResultColumns::write(int row, const std::vector<std::string>& values) {
    std::size_t used = values.size();
    while (used > 0 && values[used - 1].empty()) --used;
    if (used == 0) return;  // the inserted cells are empty already
    const char* text = hyo_.rowText(row);
    const int length = hyo_.rowLength(row);
    const CellSpan span = RowFormat::locate(text, length, first_);
    std::string& out = rowBuffer_;
    if (span.exists) {
        // The insertion left `count_` empty cells, each ended by a TAB, at the cell's start.
        out.assign(text, span.start);
        for (int i = 0; i < count_; ++i) {
            if (static_cast<std::size_t>(i) < used) out += values[i];
            out += '\t';
        }
        out.append(text + span.start + count_, length - span.start - count_);
    } else {
        const int cells = RowFormat::positionalCells(text, length);
        out.assign(text ? text : "", text ? length : 0);
        out.append(cells > 0 ? first_ - cells + 1 : first_, '\t');
        for (std::size_t i = 0; i < used; ++i) {
            if (i > 0) out += '\t';
            out += values[i];
        }
    }
    if (hyo_.setRow(row, out))
        widest_ = std::max(widest_, RowFormat::cellCount(out.data(), static_cast<int>(out.size())));
}

void ResultColumns::finish() { hyo_.setWidestRow(std::max(widest_, hyo_.widestRowValue())); }
