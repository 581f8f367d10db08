// UndoReplay: one undo step - the newest journal entry played back onto the store.
#include "store/UndoReplay.h"

#include <algorithm>

#include "platform/core/Prompt.h"
#include "store/LittleEndian.h"
#include "store/RowFormat.h"
#include "store/SortUndo.h"
#include "store/StoreBounds.h"

// A write beyond the end of a row or of the table padded it; the journal kept how long the
// row or the table was, so the padding goes instead of leaving empty cells and rows behind.
void UndoReplay::truncateCells(int index, int cells) {
    int length = 0;
    const char* text = hyo_.storeRowText(index, length);
    if (!text) return;
    int end = RowFormat::prefixEnd(text, length);
    if (cells > 0) {
        CellSpan last = RowFormat::locate(text, length, cells - 1);
        if (!last.exists) return;
        end = last.end;
    }
    if (end < length) hyo_.rows.setLine(index, std::string(text, end));
}

void UndoReplay::truncateTable(int viewCount, int storeCount) {
    if (storeCount < 0 || viewCount < 0) return;
    if (hyo_.filter_.active()) hyo_.filter_.truncate(viewCount, storeCount);
    for (int i = hyo_.rows.lineCount() - 1; i >= storeCount; --i) hyo_.rows.deleteLine(i);
}

void UndoReplay::removePadding(int row, const unsigned char* data, int length) {
    const char* bytes = reinterpret_cast<const char*>(data);
    if (length == 5) truncateCells(hyo_.storeRow(row), LittleEndian::get32(bytes));
    else truncateTable(LittleEndian::get32(bytes + 4), LittleEndian::get32(bytes + 8));
}

UndoPosition UndoReplay::run() {
    UndoPosition position;
    UndoEntry entry;
    if (!hyo_.undo_.pop(entry)) return position;
    hyo_.redo_.beginUndo(hyo_);   // what the replay changes is noted for redo
    bool previous = hyo_.undo_.setRecording(false);
    int widestBefore = hyo_.widestRow;
    widestBefore_ = hyo_.widestRow;
    widest_ = 0;
    shrunk_ = false;
    playEntry(entry);
    hyo_.undo_.setRecording(previous);
    position.column = std::max(entry.column1, 0);
    position.row = std::max(entry.row1, 0);
    hyo_.lastUndoColumn = position.column;
    hyo_.lastUndoRow = position.row;
    // The width of the table: deleting rows or columns and inserting columns compute it
    // themselves; restored rows and cells can only widen it, unless a row that was among the
    // widest lost cells (padding removed, last text emptied) - then a full scan.
    bool computedByOperation = entry.kind == UndoRowsInserted || entry.kind == UndoColumnsInserted ||
                               entry.kind == UndoColumnsDeleted;
    bool header = entry.kind == UndoHeaderOn || entry.kind == UndoHeaderOff;
    if (header || shrunk_) hyo_.widestRow = hyo_.widestRowCount();
    else if (!computedByOperation) hyo_.widestRow = std::max(widestBefore, widest_);
    hyo_.clearSeek();
    hyo_.redo_.endUndo(hyo_, position);
    return position;
}

int UndoReplay::reinsertStoreRow(int index, int viewPosition, const char* text, int length) {
    if (index < 0 || index > StoreBounds::MaxRow) return 0;
    if (!hyo_.rows.insertLines(index, 1) || !hyo_.rows.setLine(index, text, length)) return 0;
    if (!hyo_.filter_.active()) return 1;
    return hyo_.filter_.reinsert(index, viewPosition) ? 1 : 0;
}

void UndoReplay::playEntry(const UndoEntry& entry) {
    if (entry.kind == UndoRowsSorted) return SortUndo::replay(hyo_, entry);
    const int startColumn = std::max(entry.column1, 0);
    const int startRow = std::max(entry.row1, 0);
    if (entry.recordCount == 0) {
        if (entry.kind == UndoRowsInserted) hyo_.deleteRows(entry.row1, entry.row2);
        if (entry.kind == UndoColumnsInserted) hyo_.deleteColumns(entry.column1, entry.column2);
        return;
    }
    const unsigned char* p = entry.payload;
    const unsigned char* end = p + std::max(entry.payloadLength, 0);
    if (entry.kind == UndoRowsDeleted && p < end && *p != UndoSetKind) hyo_.insertRows(entry.row1, entry.row2);
    if (entry.kind == UndoColumnsDeleted) hyo_.insertColumns(entry.column1, entry.column2);
    // Inserted columns that were filled may carry records of the rows padded up to them and
    // of the column list's old length: those apply once the columns are gone.
    if (entry.kind == UndoColumnsInserted) hyo_.deleteColumns(entry.column1, entry.column2);
    kind_ = entry.kind;
    int kind = entry.kind;
    int subKind = entry.subKind;
    int column = startColumn;
    int row = startRow;
    bool savedFilter = hyo_.filter_.active();
    for (int i = 0; i < entry.recordCount && p < end; ++i) {
        unsigned char lead = *p++;
        if (lead <= UndoMaxShortData || lead == UndoLongData) {
            long length = lead;
            if (lead == UndoLongData) {
                if (end - p < 4) break;
                length = LittleEndian::get32(p);
                p += 4;
            }
            if (length < 0 || length > end - p) break;
            playData(kind, subKind, p, static_cast<int>(length), column, row);
            p += length;
        } else if (lead == UndoNextRow) {
            ++row;
            column = startColumn;
        } else if (lead == UndoSetKind) {
            if (p >= end) break;
            kind = *p++;
            if (kind == UndoCellAttribute) {
                if (p >= end) break;
                subKind = *p++;
            }
        } else if (lead == UndoBackToStart) {
            column = startColumn;
            row = startRow;
        } else if (lead == UndoFilterOff) {
            savedFilter = hyo_.filter_.active();
            hyo_.filter_.setActive(false);
        } else if (lead == UndoFilterRestore) {
            hyo_.filter_.setActive(savedFilter);
        } else {
            break;  // not a sub-record this journal writes
        }
    }
}

void UndoReplay::playData(int kind, int subKind, const unsigned char* data, int length, int& column, int& row) {
    bool cellKind = kind == UndoCellText || kind == UndoCellAttribute || kind == UndoCellRaw;
    int cellsBefore = cellKind ? hyo_.cellCount(row) : 0;
    playRecord(kind, subKind, data, length, column, row);
    if (cellKind) {
        int cellsAfter = hyo_.cellCount(row);
        if (cellsAfter < cellsBefore && cellsBefore >= widestBefore_) shrunk_ = true;
        widest_ = std::max(widest_, cellsAfter);
    }
}

void UndoReplay::playRecord(int kind, int subKind, const unsigned char* data, int length, int& column, int& row) {
    const char* bytes = reinterpret_cast<const char*>(data);
    bool paddingKind = kind == UndoCellText || kind == UndoCellAttribute || kind == UndoRowHeight ||
                       kind == UndoRowColour;
    if (paddingKind && (length == 5 || length == 13) && data[length - 1] == StoreBounds::MissingEnd) {
        if (length == 13) shrunk_ = true;  // rows are removed
        removePadding(row, data, length);
        if (kind == UndoRowHeight || kind == UndoRowColour) ++row;
        else ++column;
        return;
    }
    switch (kind) {
    case UndoCellText:
        hyo_.setCellBytes(column++, row, bytes, length > 0 ? length - 1 : 0);
        break;
    case UndoCellAttribute: {
        int value = 0;
        for (int i = std::min(length, 4) - 1; i >= 0; --i) value = (value << 8) | data[i];
        hyo_.setCellAttribute(column++, row, subKind, value, length > 0 ? 1 : 0, 1);
        break;
    }
    case UndoCellRaw:
        hyo_.setCellRaw(column++, row, bytes, length);
        break;
    case UndoRowHeight: {
        int height = length >= 2 ? data[0] | (data[1] << 8) : 0;
        if (height == 0) {
            Prompt::warn("不正な高さを返しました");
            height = 16;
        }
        hyo_.setRowHeight(row++, height);
        break;
    }
    case UndoRowColour:
        hyo_.setRowAttribute(row++, subKind, length > 0 ? data[0] : 0, length > 0 ? 1 : 0);
        break;
    case UndoRowsDeleted:
        if (kind_ == UndoHeaderOn) hyo_.rows.insertLines(0, 1);
        hyo_.setRow(row++, bytes, length);
        widest_ = std::max(widest_, RowFormat::cellCount(bytes, length));
        break;
    case UndoRowsReinserted:
        if (length >= 4) {
            reinsertStoreRow(LittleEndian::get32(bytes), row, bytes + 4, length - 4);
            widest_ = std::max(widest_, RowFormat::cellCount(bytes + 4, length - 4));
        }
        ++row;
        break;
    case UndoColumnRecord:
    case UndoColumnsDeleted:
    case UndoColumnWidth:
        if (length == 5 && data[4] == StoreBounds::MissingEnd) hyo_.truncateColumns(LittleEndian::get32(bytes));
        else if (length == 0) hyo_.truncateColumns(column);
        else if (kind != UndoColumnWidth) hyo_.setColumnRecord(column, bytes, length);
        else if (length >= 4) hyo_.setColumnWidth(column, LittleEndian::get32(bytes));
        ++column;
        break;
    case UndoHeaderOn:
    case UndoHeaderOff:
        hyo_.columns_.clear();
        if (kind == UndoHeaderOn) {
            hyo_.headerMode = 0;  // row 0 comes back with its record (none when the table was empty)
        } else {
            hyo_.headerMode = 1;
            hyo_.rows.deleteLine(0);
        }
        column = 0;
        row = 0;
        break;
    default:
        break;
    }
}
