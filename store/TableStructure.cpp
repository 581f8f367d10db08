// TableStructure: inserting and deleting rows and columns, and switching the header row.
#include "store/TableStructure.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Prompt.h"
#include "store/LittleEndian.h"
#include "store/RowFormat.h"
#include "store/StoreBounds.h"
#include "store/TableLimits.h"
#include "store/UndoArea.h"

// The undo marker is written only for rows that were inserted: a marker left by a failed
// insert would delete real rows on undo.
int TableStructure::insertRows(int first, int last) {
    if (first > last) std::swap(first, last);
    if (first < 0 || first >= hyo_.rowCount() || last - first >= StoreBounds::MaxRow) return 0;
    int count = last - first + 1;
    if (!TableLimits::rowsFit(hyo_.rows.lineCount(), count)) return CMyHyo::GridFull;
    // With a filter, the new rows need entries in the filter list too: no room, no rows.
    FilterMap& filter = hyo_.filter_;
    if (filter.active() && !filter.grow(filter.count() + count)) {
        Prompt::warn("領域確保に失敗しました。");
        return 0;
    }
    int at = hyo_.storeRow(first);
    if (!hyo_.rows.insertLines(at, count)) return 0;
    if (filter.active()) filter.insertRows(first, at, count);   // room was made above
    if (hyo_.undo_.recording()) hyo_.undo_.markerEntry(UndoRowsInserted, -1, first, -1, last);
    hyo_.clearSeek();
    return 1;
}

int TableStructure::recordDeletedRows(int first, int last) {
    UndoArea area(hyo_.undo_, UndoRowsDeleted, 0, -1, first, -1, last);
    const bool filtered = hyo_.filter_.active();
    if (filtered && area.collecting()) {
        // Hidden rows may lie between the deleted ones: keep each store position so that undo
        // puts every row back exactly where it was.
        hyo_.undo_.appendMarker(UndoSetKind, UndoRowsReinserted);
        for (int row = first; row <= last && area.collecting(); ++row) {
            int length = 0;
            const char* text = hyo_.storeRowText(hyo_.storeRow(row), length);
            std::vector<char> record(4 + static_cast<std::size_t>(length));
            LittleEndian::put32(record.data(), hyo_.storeRow(row));
            if (length) std::memcpy(record.data() + 4, text, length);
            hyo_.undo_.appendData(record.data(), static_cast<int>(record.size()));
        }
    }
    for (int row = first; row <= last && !filtered && area.collecting(); ++row)
        hyo_.undo_.appendData(hyo_.rowText(row), hyo_.rowLength(row));
    if (!area.commit()) return -1;
    return 0;
}

int TableStructure::deleteRows(int first, int last) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, hyo_.rowCount() - 1);
    if (first > last) return hyo_.widestRow;
    if (hyo_.undo_.recording() && recordDeletedRows(first, last) < 0) return -1;
    FilterMap& filter = hyo_.filter_;
    if (!filter.active()) {
        hyo_.rows.deleteLines(first, last - first + 1);
    } else {
        std::vector<int> gone;
        for (int row = first; row <= last; ++row) gone.push_back(filter.entry(row));
        std::sort(gone.begin(), gone.end());
        gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
        hyo_.rows.deleteLineSet(gone.data(), static_cast<int>(gone.size()));
        filter.removeRows(first, last, gone.data(), static_cast<int>(gone.size()));
    }
    hyo_.clearSeek();
    hyo_.widestRow = hyo_.widestRowCount();
    return hyo_.widestRow;
}

int TableStructure::insertCellsInRow(int index, int first, int count) {
    int length = 0;
    const char* old = hyo_.storeRowText(index, length);
    CellSpan span = RowFormat::locate(old, length, first);
    if (!span.exists) return 1;  // rows shorter than `first` stay as they are
    if (!hyo_.ensureWork(static_cast<long>(length) + count)) return 0;
    std::memcpy(hyo_.workBuffer, old, span.start);
    std::memset(hyo_.workBuffer + span.start, '\t', count);
    std::memcpy(hyo_.workBuffer + span.start + count, old + span.start, length - span.start);
    hyo_.workBuffer[length + count] = '\0';
    return hyo_.rows.setLine(index, hyo_.workBuffer, length + count);
}

int TableStructure::insertColumns(int first, int last) {
    if (first > last) std::swap(first, last);
    if (first < 0 || last > StoreBounds::MaxColumn) return 0;
    int count = last - first + 1;
    // Rows shorter than `first` do not move, so only the widest row can pass the limit.
    if (!TableLimits::columnsFit(hyo_.widestRow, count)) return CMyHyo::GridFull;
    if (hyo_.undo_.recording()) hyo_.undo_.markerEntry(UndoColumnsInserted, first, -1, last, -1);
    hyo_.columns_.insertDefaults(first, count);
    hyo_.quoting_.insertColumns(first, count);
    int widest = 0;
    for (int i = 0; i < hyo_.rows.lineCount(); ++i) {
        insertCellsInRow(i, first, count);
        int length = 0;
        const char* text = hyo_.storeRowText(i, length);
        widest = std::max(widest, RowFormat::cellCount(text, length));
    }
    hyo_.widestRow = widest;
    hyo_.clearSeek();
    return 1;
}

int TableStructure::recordDeletedColumns(int first, int last) {
    UndoArea area(hyo_.undo_, UndoColumnsDeleted, 0, first, -1, last, -1);
    for (int column = first; column <= last && area.collecting(); ++column) {
        hyo_.recordColumnDefinition(column, false);
        if (column >= hyo_.columns_.count()) break;  // the empty record covers the rest
    }
    if (area.collecting()) {
        hyo_.undo_.appendMarker(UndoBackToStart);
        hyo_.undo_.appendMarker(UndoSetKind, UndoCellRaw);
        hyo_.undo_.appendMarker(UndoFilterOff);
    }
    // Cells that do not exist are not recorded, so undo does not pad shorter hyo_.rows.
    for (int index = 0; index < hyo_.rows.lineCount() && area.collecting(); ++index) {
        int length = 0;
        const char* text = hyo_.storeRowText(index, length);
        for (int column = first; column <= last; ++column) {
            CellSpan span = RowFormat::locate(text, length, column);
            if (!span.exists) break;
            hyo_.undo_.appendData(text + span.start, span.end - span.start);
        }
        // A row left with one empty cell reads as a row without cells: record that cell too.
        CellSpan rest = RowFormat::locate(text, length, last + 1);
        if (first == 0 && rest.exists && rest.start == rest.end && rest.end == length)
            hyo_.undo_.appendData(text + rest.start, 0);
        area.nextRow();
    }
    if (area.collecting()) hyo_.undo_.appendMarker(UndoFilterRestore);
    return area.commit() ? 0 : -1;
}

int TableStructure::deleteCellsInRow(int index, int first, int last) {
    int length = 0;
    const char* old = hyo_.storeRowText(index, length);
    CellSpan from = RowFormat::locate(old, length, first);
    if (!from.exists) return 1;
    CellSpan after = RowFormat::locate(old, length, last + 1);
    int cutStart = from.start;
    int cutEnd = after.exists ? after.start : length;
    if (!after.exists && first > 0) --cutStart;  // the TAB before the first removed cell
    if (!hyo_.ensureWork(length)) return 0;
    std::memcpy(hyo_.workBuffer, old, cutStart);
    std::memcpy(hyo_.workBuffer + cutStart, old + cutEnd, length - cutEnd);
    int kept = cutStart + length - cutEnd;
    hyo_.workBuffer[kept] = '\0';
    return hyo_.rows.setLine(index, hyo_.workBuffer, kept);
}

int TableStructure::deleteColumns(int first, int last) {
    if (first > last) std::swap(first, last);
    if (last < 0) return hyo_.widestRow;
    first = std::max(first, 0);
    last = std::min(last, StoreBounds::MaxColumn);
    if (hyo_.undo_.recording() && recordDeletedColumns(first, last) < 0) return -1;
    hyo_.columns_.remove(first, last);
    hyo_.quoting_.deleteColumns(first, last);
    for (int i = 0; i < hyo_.rows.lineCount(); ++i) deleteCellsInRow(i, first, last);
    hyo_.clearSeek();
    hyo_.widestRow = hyo_.widestRowCount();
    return hyo_.widestRow;
}

// ---- header mode -------------------------------------------------------------------------

int TableStructure::clearHeaderForUndo() {
    if (!hyo_.undo_.recording()) return 0;
    int kind = hyo_.headerMode ? UndoHeaderOff : UndoHeaderOn;
    UndoArea area(hyo_.undo_, kind, 0, 0, 0, 0, 0);
    if (area.collecting()) {
        hyo_.undo_.appendData(nullptr, 0);
        hyo_.undo_.appendMarker(UndoSetKind, UndoColumnRecord);
    }
    for (int column = 0; column < hyo_.columns_.count() && area.collecting(); ++column)
        hyo_.recordColumnDefinition(column, false);
    if (kind == UndoHeaderOn && hyo_.rows.lineCount() > 0 && area.collecting()) {
        hyo_.undo_.appendMarker(UndoSetKind, UndoRowsDeleted);
        hyo_.undo_.appendData(hyo_.rows.lineText(0), hyo_.rows.lineLength(0));
    }
    return area.commit() ? 0 : -1;
}

int TableStructure::takeHeaderRow() {
    if (hyo_.headerMode) return 0;
    int length = 0;
    const char* text = hyo_.storeRowText(0, length);
    int cells = RowFormat::positionalCells(text, length);
    // A cell longer than a title can hold would lose its end with row 0: the row stays data.
    for (int column = 0; column < cells; ++column) {
        CellSpan span = RowFormat::locate(text, length, column);
        if (span.end - span.textStart > MaxColumnTitle) return 0;
    }
    for (int column = 0; column < cells; ++column) {
        CellSpan span = RowFormat::locate(text, length, column);
        std::string title(text + span.textStart, span.end - span.textStart);
        if (!title.empty() || hyo_.columnRecord(column)) hyo_.setColumnTitle(column, title.c_str());
    }
    hyo_.rows.deleteLine(0);
    hyo_.headerMode = 1;
    hyo_.clearSeek();
    hyo_.widestRow = hyo_.widestRowCount();
    return 1;
}

int TableStructure::restoreHeaderRow() {
    if (!hyo_.headerMode) return 0;
    std::string line;
    int lastTitled = -1;
    for (int column = 0; column < hyo_.columns_.count(); ++column)
        if (!hyo_.columnTitle(column).empty()) lastTitled = column;
    for (int column = 0; column <= lastTitled; ++column) {
        if (column > 0) line += '\t';
        // A title read from a damaged colour file may hold a TAB or record bytes, which
        // would split the cell or read as attributes.
        for (char c : hyo_.columnTitle(column))
            line += c == '\t' || RowFormat::isRecordStart(static_cast<unsigned char>(c)) ? '?' : c;
    }
    if (!hyo_.rows.insertLines(0, 1) || !hyo_.rows.setLine(0, line)) return 0;
    for (int column = 0; column <= lastTitled; ++column)
        if (hyo_.columnRecord(column) && !hyo_.columnTitle(column).empty()) hyo_.setColumnTitle(column, "");
    hyo_.headerMode = 0;
    hyo_.clearSeek();
    hyo_.widestRow = hyo_.widestRowCount();
    return 1;
}
