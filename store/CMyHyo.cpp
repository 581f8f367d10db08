// CMyHyo: rows, cells, row and cell attributes, the journal side of edits, and the glue to its parts.
#include "store/CMyHyo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/LittleEndian.h"
#include "store/CellMatch.h"
#include "store/Progress.h"
#include "store/FilterGuard.h"
#include "store/RowFormat.h"
#include "store/RowSorter.h"
#include "store/TableLimits.h"
#include "store/SortUndo.h"
#include "store/StoreBounds.h"
#include "store/TableStructure.h"
#include "store/UndoArea.h"
#include "store/UndoReplay.h"

namespace {
const char* const kWorkFailed = "CMyHyoにて領域確保に失敗しました。";
constexpr int kInitialWork = 2000;
constexpr unsigned char kRowAttribute = 0x07;
} // namespace

CMyHyo::CMyHyo() : rows(2048) {
    workBuffer = static_cast<char*>(MemoryHook::allocate(kInitialWork + 10));
    if (workBuffer) workCapacity = kInitialWork;
    else Prompt::warn(kWorkFailed);
    // What redo keeps belongs to the popped entries: it goes with them.
    undo_.setDiscardListener([this] { redo_.dropSteps(); });
}

CMyHyo::~CMyHyo() {
    MemoryHook::release(workBuffer);
}

void CMyHyo::reset() {
    rows.clear();
    columns_.clear();
    headerMode = 0;
    filter_.clear();
    widestRow = 0;
    clearSeek();
    defaultRowHeight = 16;
    undo_.clear();
    quoting_.reset();
}

void CMyHyo::adoptRows(CMyLine& lines, ColumnQuoting quoting) {
    rows.swap(lines);
    quoting_ = std::move(quoting);
    clearSeek();
}

void CMyHyo::clearSeek() {
    seekColumn = seekRow = -1;
    seekPosition = emptyCell;
    seekTextOffset = seekEndOffset = 0;
}

std::size_t CMyHyo::memoryBytes() const {
    return rows.memoryBytes() + columns_.lines().memoryBytes() + workCapacity + filter_.memoryBytes() +
           undo_.memoryBytes();
}

bool CMyHyo::ensureWork(long need) {
    if (workBuffer && workCapacity >= need + 10) return true;
    char* fresh = static_cast<char*>(MemoryHook::allocate(need + 510));
    if (!fresh) {
        // The old buffer is kept: a failed growth must not cost the next smaller edit.
        Prompt::warn(kWorkFailed);
        return false;
    }
    MemoryHook::release(workBuffer);
    workBuffer = fresh;
    workCapacity = need + 500;
    return true;
}

// ---- rows --------------------------------------------------------------------------------

std::string CMyHyo::rowString(int row) const { return rows.line(storeRow(row)); }

int CMyHyo::reserveRow(int index, int length) { return rows.reserveLine(index, length); }

int CMyHyo::resolveWriteRow(int row) {
    if (row < 0 || row > StoreBounds::MaxRow) return -1;
    if (!filter_.active()) return row;
    if (row < filter_.count()) return filter_.entry(row);
    // Writing past the filtered rows appends store rows and shows them in the filter.
    while (filter_.count() <= row) {
        int index = rows.lineCount();
        if (!rows.insertLines(index, 1)) return -1;
        if (filter_.add(index) < 0) return -1;
        filter_.setActive(true);
    }
    return filter_.entry(row);
}

int CMyHyo::setRow(int row, const char* bytes, int length) {
    int index = resolveWriteRow(row);
    if (index < 0) return 0;
    int stored = rows.setLine(index, bytes, length);
    if (stored && row == seekRow) seekCell(seekColumn, seekRow);
    return stored;
}

int CMyHyo::cellCount(int row) const {
    int length = 0;
    const char* text = storeRowText(storeRow(row), length);
    return RowFormat::cellCount(text, length);
}

int CMyHyo::widestRowCount() const {
    int widest = 0;
    for (int i = 0; i < rows.lineCount(); ++i) {
        int length = 0;
        const char* text = storeRowText(i, length);
        widest = std::max(widest, RowFormat::cellCount(text, length));
    }
    return widest;
}

// ---- cells -------------------------------------------------------------------------------

int CMyHyo::seekCell(int column, int row) {
    seekColumn = column;
    seekRow = row;
    int length = 0;
    const char* text = storeRowText(storeRow(row), length);
    CellSpan span = RowFormat::locate(text, length, column);
    if (!span.exists) {
        seekPosition = emptyCell;
        seekTextOffset = seekEndOffset = 0;
        return 0;
    }
    seekPosition = text + span.start;
    seekTextOffset = span.textStart - span.start;
    seekEndOffset = span.end - span.start;
    return 1;
}

const char* CMyHyo::cellText() const { return seekPosition ? seekPosition + seekTextOffset : emptyCell; }
const char* CMyHyo::cellRaw() const { return seekPosition ? seekPosition : emptyCell; }
int CMyHyo::cellTextLength() const { return seekEndOffset - seekTextOffset; }
int CMyHyo::cellRawLength() const { return seekEndOffset; }

std::string CMyHyo::cellString(int column, int row) {
    seekCell(column, row);
    return std::string(cellText(), cellTextLength());
}

std::string CMyHyo::cellRawString(int column, int row) {
    seekCell(column, row);
    return std::string(cellRaw(), cellRawLength());
}

int CMyHyo::setCell(int column, int row, const char* text) {
    if (column < 0 || row < 0 || column > StoreBounds::MaxColumn || row > StoreBounds::MaxRow) return 0;
    int recorded = 0;
    if (undo_.recording()) {
        char marker[StoreBounds::MissingMax];
        if (int size = missingMarker(column, row, marker)) {
            recorded = undo_.recordSingle(UndoCellText, 0, column, row, marker, size);
        } else {
            seekCell(column, row);
            char terminator = cellText()[cellTextLength()] == '\t' ? '\t' : '\0';
            recorded = undo_.recordCellText(column, row, cellText(), cellTextLength(), terminator);
        }
        if (!text) return recorded;
    }
    if (!text) return 0;
    int length = 0;
    while (text[length] != '\0' && text[length] != '\t') ++length;
    int done = replaceCell(column, row, text, length, KeepRecords, 0, 0);
    if (!done) dropSingleEntry(recorded);
    return done;
}

// A change that failed after its single-change entry was made must not leave an undo step
// that does nothing.
void CMyHyo::dropSingleEntry(int recorded) {
    UndoEntry entry;
    if (recorded == 1 && !undo_.areaOpen()) undo_.pop(entry);
}

int CMyHyo::setCellBytes(int column, int row, const char* bytes, int length) {
    if (!bytes || length < 0) length = 0;
    // A TAB or NUL would split or cut the row: the cell text ends there.
    int kept = 0;
    while (kept < length && bytes[kept] != '\t' && bytes[kept] != '\0') ++kept;
    return replaceCell(column, row, bytes ? bytes : emptyCell, kept, KeepRecords, 0, 0);
}

int CMyHyo::setCellRaw(int column, int row, const char* bytes, int length) {
    if (!bytes || length < 0) length = 0;
    // A raw cell may hold records, but a TAB outside them would split the row: cut there.
    int end = RowFormat::cellEnd(bytes ? bytes : emptyCell, length, 0);
    return replaceCell(column, row, bytes ? bytes : emptyCell, end, RawCell, 0, 0);
}

int CMyHyo::replaceCell(int column, int row, const char* text, int textLength, CellMode mode, int kind,
                        int value) {
    if (column < 0 || row < 0 || column > StoreBounds::MaxColumn || row > StoreBounds::MaxRow) return 0;
    int index = storeRow(row);
    int length = 0;
    const char* old = storeRowText(index, length);
    CellSpan span = RowFormat::locate(old, length, column);
    bool attributesOnly = mode == DropKind || mode == SetKind || mode == DropAll;
    if (!span.exists && (mode == DropKind || mode == DropAll)) return 1;  // nothing to remove
    if (!attributesOnly) textLength = std::max(textLength, 0);
    else textLength = span.exists ? span.end - span.textStart : 0;
    int padding = 0;
    if (!span.exists) {
        int cells = RowFormat::positionalCells(old, length);
        padding = column - cells + (cells > 0 ? 1 : 0);
    }
    long need = static_cast<long>(length) + textLength + padding + 16;
    if (!ensureWork(need)) return 0;
    index = resolveWriteRow(row);
    if (index < 0) return 0;
    old = storeRowText(index, length);  // the row may only now exist

    char* out = workBuffer;
    long at = 0;
    int cellStart = span.exists ? span.start : length;
    if (cellStart > 0) std::memcpy(out, old, cellStart);
    at = cellStart;
    for (int i = 0; i < padding; ++i) out[at++] = '\t';
    if (mode == RawCell) {
        if (textLength > 0) std::memcpy(out + at, text, textLength);
        at += textLength;
    } else {
        // Records of the cell, filtered by the mode. A new record goes before the first kept
        // record of a greater kind, so that removing and setting again (as undo does) gives
        // back the same bytes; records set in ascending kinds simply follow each other.
        bool added = mode != SetKind;
        for (int pos = span.start; span.exists && pos < span.textStart;) {
            int next = RowFormat::skipRecord(old, span.textStart, pos);
            int recordKind = pos + 1 < next ? static_cast<unsigned char>(old[pos + 1]) : -1;
            bool drop = mode == DropAll || ((mode == DropKind || mode == SetKind) && recordKind == kind);
            if (!added && recordKind > kind) {
                at += RowFormat::makeRecord(kind, value, out + at);
                added = true;
            }
            if (!drop) {
                std::memcpy(out + at, old + pos, next - pos);
                at += next - pos;
            }
            pos = next;
        }
        if (!added) at += RowFormat::makeRecord(kind, value, out + at);
        const char* source = attributesOnly ? old + span.textStart : text;
        if (textLength > 0) std::memcpy(out + at, source, textLength);
        // New text with a byte 0x01-0x05 would read as a record and could swallow the TAB
        // after the cell; such bytes become "?" as the reader makes them.
        if (!attributesOnly)
            for (long i = at; i < at + textLength; ++i)
                if (RowFormat::isRecordStart(static_cast<unsigned char>(out[i]))) out[i] = '?';
        at += textLength;
    }
    if (span.exists && span.end < length) {
        std::memcpy(out + at, old + span.end, length - span.end);
        at += length - span.end;
    }
    out[at] = '\0';
    if (!rows.setLine(index, out, static_cast<int>(at))) return 0;
    seekCell(column, row);
    // The row's own count as well: a TAB after a filled cell counts one more cell.
    widestRow = std::max({widestRow, column + 1, RowFormat::cellCount(out, static_cast<int>(at))});
    return 1;
}

int CMyHyo::cellAttribute(int column, int row, int kind) {
    int length = 0;
    const char* text = storeRowText(storeRow(row), length);
    CellSpan span = RowFormat::locate(text, length, column);
    if (!span.exists) return -1;
    int pos = RowFormat::findRecord(text, span.start, span.textStart, kind);
    return pos < 0 ? -1 : RowFormat::recordValue(text, span.textStart, pos);
}

int CMyHyo::setCellAttribute(int column, int row, int kind, int value, int set, int journalMode) {
    if (column < 0 || row < 0) return 0;
    if (journalMode <= 0 && undo_.recording()) {
        int length = 0;
        const char* text = storeRowText(storeRow(row), length);
        CellSpan span = RowFormat::locate(text, length, column);
        int pos = span.exists ? RowFormat::findRecord(text, span.start, span.textStart, kind) : -1;
        const unsigned char* bytes = nullptr;
        int count = 0;
        // A value-less record (the marker) is kept as one zero byte: an empty record would
        // mean that the cell had no such attribute, and undo would remove it.
        static const unsigned char noValue = 0;
        if (pos >= 0) {
            int next = RowFormat::skipRecord(text, span.textStart, pos);
            bytes = reinterpret_cast<const unsigned char*>(text + pos + 2);
            count = std::max(0, next - pos - 2);
            if (count == 0) {
                bytes = &noValue;
                count = 1;
            }
        }
        char marker[StoreBounds::MissingMax];
        int size = missingMarker(column, row, marker);
        int recorded = size ? undo_.recordSingle(UndoCellAttribute, kind, column, row, marker, size)
                            : undo_.recordAttribute(column, row, kind, bytes, count);
        if (recorded < 0) return -1;
        if (journalMode < 0) return recorded;
        int done = replaceCell(column, row, nullptr, 0, set == 1 ? SetKind : DropKind, kind, value);
        if (!done) dropSingleEntry(recorded);
        return done;
    } else if (journalMode < 0) {
        return 0;
    }
    return replaceCell(column, row, nullptr, 0, set == 1 ? SetKind : DropKind, kind, value);
}

int CMyHyo::clearCellAttributes(int column, int row) {
    return replaceCell(column, row, nullptr, 0, DropAll, 0, 0);
}

// ---- row attributes ----------------------------------------------------------------------

int CMyHyo::rowAttribute(int row, int kind) const {
    int length = 0;
    const char* text = storeRowText(storeRow(row), length);
    if (!text) return -1;
    int end = RowFormat::prefixEnd(text, length);
    for (int pos = 0; pos + 1 < end;) {
        int next = RowFormat::skipRecord(text, end, pos + 1);
        if (pos + 2 < end && static_cast<unsigned char>(text[pos + 2]) == kind)
            return RowFormat::recordValue(text, end, pos + 1);
        pos = next;
    }
    return -1;
}

int CMyHyo::rebuildRowAttribute(int index, int kind, int value, int set) {
    int length = 0;
    const char* old = storeRowText(index, length);
    if (!ensureWork(static_cast<long>(length) + 16)) return 0;
    int end = old ? RowFormat::prefixEnd(old, length) : 0;
    char* out = workBuffer;
    long at = 0;
    bool written = !set;
    for (int pos = 0; pos + 1 < end;) {
        int next = RowFormat::skipRecord(old, end, pos + 1);
        int recordKind = pos + 2 < end ? static_cast<unsigned char>(old[pos + 2]) : -1;
        // An existing record is rewritten in its place; a new one goes before the first
        // record of a greater kind (see replaceCell).
        if (!written && recordKind >= kind) {
            out[at++] = static_cast<char>(kRowAttribute);
            at += RowFormat::makeRecord(kind, value, out + at);
            written = true;
        }
        if (recordKind != kind) {
            std::memcpy(out + at, old + pos, next - pos);
            at += next - pos;
        }
        pos = next;
    }
    if (!written) {
        out[at++] = static_cast<char>(kRowAttribute);
        at += RowFormat::makeRecord(kind, value, out + at);
    }
    if (length > end) std::memcpy(out + at, old + end, length - end);
    at += length - end;
    out[at] = '\0';
    return rows.setLine(index, out, static_cast<int>(at));
}

int CMyHyo::setRowAttribute(int row, int kind, int value, int set) {
    if (row < 0) return 0;
    if (!set && rowAttribute(row, kind) < 0) return 1;  // nothing to remove
    int index = resolveWriteRow(row);
    if (index < 0) return 0;
    int done = rebuildRowAttribute(index, kind, value, set);
    if (done && row == seekRow) seekCell(seekColumn, seekRow);
    return done;
}

int CMyHyo::journalRowAttribute(int row, int kind) {
    if (!undo_.recording()) return 0;
    if (kind == AttrRowHeight) return journalRowHeight(row);
    char marker[StoreBounds::MissingMax];
    if (int size = missingMarker(-1, row, marker)) return undo_.recordSingle(UndoRowColour, kind, -1, row, marker, size);
    int value = rowAttribute(row, kind);
    unsigned char byte = static_cast<unsigned char>(value);
    return undo_.recordRowColour(row, kind, value < 0 ? nullptr : &byte, value < 0 ? 0 : 1);
}

int CMyHyo::rowHeight(int row) const {
    int height = rowAttribute(row, AttrRowHeight);
    return height < 0 ? defaultRowHeight : height;
}

int CMyHyo::setRowHeight(int row, int height) {
    if (row < 0) return 0;
    int recorded = undo_.recording() ? journalRowHeight(row) : 0;
    int done = height == defaultRowHeight ? setRowAttribute(row, AttrRowHeight, 0, 0)
                                          : setRowAttribute(row, AttrRowHeight, height, 1);
    if (!done) dropSingleEntry(recorded);
    return done;
}

int CMyHyo::setRowHeights(int first, int last, int height) {
    if (first > last) std::swap(first, last);
    if (last < 0 || first > StoreBounds::MaxRow) return 0;
    first = std::max(first, 0);
    last = std::min(last, StoreBounds::MaxRow);  // rows beyond cannot be written
    UndoArea area(undo_, UndoRowHeight, 0, -1, first, -1, last);
    for (int row = first; row <= last && area.collecting(); ++row) journalRowHeight(row);
    if (!area.commit()) return -1;
    for (int row = first; row <= last; ++row) setRowHeight(row, height);
    return 0;
}

int CMyHyo::scaled(int value) const {
    double product = std::trunc(value * zoom);
    int extra = std::trunc(product / zoom) != static_cast<double>(value) ? 1 : 0;
    // A width or height read from a damaged colour file may be near the int limit: the
    // scaled size saturates instead of overflowing the conversion.
    double result = std::trunc(zoom * (static_cast<double>(value) + extra));
    if (result >= 2147483647.0) return 2147483647;
    if (result <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(result);
}

int CMyHyo::scaledRowHeight(int row) const { return scaled(rowHeight(row)); }
int CMyHyo::scaledColumnWidth(int column) const { return scaled(columnWidth(column)); }

void CMyHyo::setZoomPercent(int percent) {
    if (percent < 50) return;
    zoom = percent * 0.01;
    defaultRowHeight = 16;
}

int CMyHyo::recordColumnDefinition(int column, bool widthOnly) {
    int count = columns_.count();
    if (column == count) return undo_.appendData(nullptr, 0);  // none from here on
    if (column > count) {
        // Setting this column will also create default records before it: undo must cut the
        // list back to where it ended, not to this column.
        char cut[5];
        LittleEndian::put32(cut, count);
        cut[4] = static_cast<char>(StoreBounds::MissingEnd);
        return undo_.appendData(cut, 5);
    }
    char record[ColumnRecordSize + MaxColumnTitle + 1];
    int length = columns_.recordOrDefault(column, record);
    if (widthOnly) return undo_.appendInteger(LittleEndian::get32(record), 4);
    return undo_.appendData(record, length);
}

int CMyHyo::journalColumnRecord(int column) {
    if (!undo_.recording() || column < 0) return 0;
    if (undo_.areaOpen()) return recordColumnDefinition(column, undo_.areaKind() == UndoColumnWidth);
    if (undo_.openArea(UndoColumnRecord, 0, column, -1, column, -1) != 1) return -1;
    if (recordColumnDefinition(column, false) < 0) {
        undo_.closeArea(false);
        return -1;
    }
    return undo_.closeArea(true);
}

void CMyHyo::clearFilter() {
    if (undo_.recording()) undo_.clear();
    filter_.clear();
}

// ---- serialisation -----------------------------------------------------------------------

int CMyHyo::writeColumns(std::FILE* file) const { return columns_.lines().writeBlock(file); }

int CMyHyo::readColumns(std::FILE* file) {
    int result = columns_.lines().readBlock(file);
    undo_.clear();
    return result;
}

// ---- padding created by writes beyond the end ---------------------------------------------

// A write beyond the end of a row or of the table pads it with empty cells or rows. The
// journal keeps how long the row (5 bytes: cells) or the table (13 bytes: -1, view rows,
// store rows) was, so undo removes the padding instead of leaving empty cells and rows behind.
int CMyHyo::missingMarker(int column, int row, char* out) const {
    int index = storeRow(row);
    if (index < 0 || index >= rows.lineCount()) {
        LittleEndian::put32(out, -1);
        LittleEndian::put32(out + 4, rowCount());
        LittleEndian::put32(out + 8, rows.lineCount());
        out[12] = static_cast<char>(StoreBounds::MissingEnd);
        return 13;
    }
    if (column < 0) return 0;
    int length = 0;
    const char* text = storeRowText(index, length);
    if (RowFormat::locate(text, length, column).exists) return 0;
    LittleEndian::put32(out, RowFormat::positionalCells(text, length));
    out[4] = static_cast<char>(StoreBounds::MissingEnd);
    return 5;
}

int CMyHyo::journalRowHeight(int row) {
    char marker[StoreBounds::MissingMax];
    if (int size = missingMarker(-1, row, marker)) return undo_.recordSingle(UndoRowHeight, 0, -1, row, marker, size);
    return undo_.recordRowHeight(row, rowHeight(row));
}

// ---- delegated parts ---------------------------------------------------------------------

int CMyHyo::insertRows(int first, int last) { return TableStructure(*this).insertRows(first, last); }
int CMyHyo::deleteRows(int first, int last) { return TableStructure(*this).deleteRows(first, last); }
int CMyHyo::insertColumns(int first, int last) { return TableStructure(*this).insertColumns(first, last); }
int CMyHyo::deleteColumns(int first, int last) { return TableStructure(*this).deleteColumns(first, last); }
int CMyHyo::clearHeaderForUndo() { return TableStructure(*this).clearHeaderForUndo(); }
int CMyHyo::takeHeaderRow() { return TableStructure(*this).takeHeaderRow(); }
int CMyHyo::restoreHeaderRow() { return TableStructure(*this).restoreHeaderRow(); }

UndoPosition CMyHyo::undo() { return UndoReplay(*this).run(); }

void CMyHyo::clearSortKeys() { sortKeys.clear(); }

int CMyHyo::addSortKey(int column, bool descending, bool numeric, int length) {
    return sortKeys.add(column, descending, numeric, length);
}

int CMyHyo::sortRows() {
    if (sortKeys.count <= 0 || sortKeys.column[0] < 0) return 0;
    // sort undo: the order goes into the journal before the rows move
    const int keyColumn = sortKeys.column[0];
    const int result = RowSorter::sort(*this, [this, keyColumn](const int* order, int count) {
        return SortUndo::record(undo_, keyColumn, order, count);
    });
    if (result < 0) return result;
    clearSeek();
    return 0;
}

std::vector<std::string> CMyHyo::sortKeyCells(int row) const {
    return sortKeys.keyCells(rowText(row), rowLength(row));
}

int CMyHyo::compareRowToKeys(int row, const std::vector<std::string>& keyCells) const {
    return sortKeys.compare(rowText(row), rowLength(row), keyCells);
}

// ---- applying the filter -----------------------------------------------------------------

int CMyHyo::applyFilter(int column, const std::string& text, int kind, int keepFirst, bool negate) {
    const CellMatch condition(text, kind, CellMatch::NumberRule::Filter);
    if (!FilterGuard::allows(condition)) return -1;
    // The rows are chosen before anything changes, so stopping, or a regular expression that
    // runs away, leaves the filter and the journal as they were.
    const int n = rows.lineCount();
    std::vector<int> passing;
    {
        Progress progress("抽出", n);
        const CellRegex* regex = condition.regex();
        for (int index = 0; index < n && !(regex && regex->gaveUp()); ++index) {
            if (!progress.report(index)) return -2;
            bool passes = index < keepFirst;
            if (!passes) {
                int length = 0;
                const char* row = storeRowText(index, length);
                passes = condition.matches(RowSorter::keyCell(row, length, column)) != negate;
            }
            if (passes) passing.push_back(index);
        }
    }
    if (FilterGuard::gaveUp(condition)) return -1;
    if (undo_.recording()) undo_.clear();
    filter_.clear();
    clearSeek();
    // The first addition sizes the list for every row, so it is allocated once.
    for (int index : passing)
        if (filter_.add(index, n) < 0) return -1;
    filter_.setActive(true);
    filter_.setCondition(column, text.c_str(), kind);
    return 0;
}
