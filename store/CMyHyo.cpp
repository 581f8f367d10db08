// CMyHyo: rows, cells, attributes, column records, structure changes and the filter map.
#include "store/CMyHyo.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/Cp932Text.h"
#include "store/LittleEndian.h"
#include "store/CellMatch.h"
#include "store/RowFormat.h"
#include "store/RowSorter.h"
#include "store/TableLimits.h"
#include "store/UndoArea.h"

namespace {
const char* const kWorkFailed = "CMyHyoにて領域確保に失敗しました。";
constexpr int kInitialWork = 2000;
constexpr unsigned char kRowAttribute = 0x07;
// Far beyond the grid (999 x 500000); rejecting larger numbers keeps absurd arguments from
// turning into gigabytes of padding.
constexpr int kMaxColumn = 1000000;
constexpr int kMaxRow = 10000000;
// Journal data saying "this cell or row did not exist": it ends in 0x01, a byte that never
// ends old text (TAB or NUL) and never completes an attribute value of this length.
constexpr int kMissingMax = 13;
constexpr unsigned char kMissingEnd = 0x01;

void defaultRecord(char* record) {
    std::memset(record, 0, ColumnRecordSize);
    record[0] = static_cast<char>(DefaultColumnWidth);
    record[10] = static_cast<char>(NoColour);
    record[11] = static_cast<char>(NoColour);
}
} // namespace

CMyHyo::CMyHyo() : rows(2048), columns(1000) {
    for (int i = 0; i < SortKeySlots; ++i) {
        sortColumn[i] = -1;
        sortFlags[i] = 0;
        sortLength[i] = 0;
    }
    workBuffer = static_cast<char*>(MemoryHook::allocate(kInitialWork + 10));
    if (workBuffer) workCapacity = kInitialWork;
    else Prompt::warn(kWorkFailed);
}

CMyHyo::~CMyHyo() {
    MemoryHook::release(workBuffer);
    MemoryHook::release(filterRows);
}

void CMyHyo::reset() {
    rows.clear();
    columns.clear();
    headerMode = 0;
    filterActive = 0;
    filterCount = 0;
    widestRow = 0;
    clearSeek();
    defaultRowHeight = 16;
    undo_.clear();
    quoting_.reset();
}

void CMyHyo::clearSeek() {
    seekColumn = seekRow = -1;
    seekPosition = emptyCell;
    seekTextOffset = seekEndOffset = 0;
}

std::size_t CMyHyo::memoryBytes() const {
    return rows.memoryBytes() + columns.memoryBytes() + workCapacity + sizeof(int) * filterSlots +
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

int CMyHyo::storeRow(int viewRow) const {
    if (viewRow < 0) return -1;
    if (!filterActive) return viewRow;
    return viewRow < filterCount ? filterRows[viewRow] : -1;
}

const char* CMyHyo::storeRowText(int index, int& length) const {
    length = rows.lineLength(index);
    return rows.lineText(index);
}

int CMyHyo::rowCount() const { return filterActive ? filterCount : rows.lineCount(); }

const char* CMyHyo::rowText(int row) const { return rows.lineText(storeRow(row)); }

int CMyHyo::rowLength(int row) const { return rows.lineLength(storeRow(row)); }

std::string CMyHyo::rowString(int row) const { return rows.line(storeRow(row)); }

int CMyHyo::reserveRow(int index, int length) { return rows.reserveLine(index, length); }

int CMyHyo::resolveWriteRow(int row) {
    if (row < 0 || row > kMaxRow) return -1;
    if (!filterActive) return row;
    if (row < filterCount) return filterRows[row];
    // Writing past the filtered rows appends store rows and shows them in the filter.
    while (filterCount <= row) {
        int index = rows.lineCount();
        if (!rows.insertLines(index, 1)) return -1;
        if (addFilterRow(index) < 0) return -1;
        filterActive = 1;
    }
    return filterRows[row];
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
    if (column < 0 || row < 0 || column > kMaxColumn || row > kMaxRow) return 0;
    int recorded = 0;
    if (undo_.recording()) {
        char marker[kMissingMax];
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
    if (column < 0 || row < 0 || column > kMaxColumn || row > kMaxRow) return 0;
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
        char marker[kMissingMax];
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
    char marker[kMissingMax];
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
    if (last < 0 || first > kMaxRow) return 0;
    first = std::max(first, 0);
    last = std::min(last, kMaxRow);  // rows beyond cannot be written
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

// ---- columns -----------------------------------------------------------------------------

const unsigned char* CMyHyo::columnRecord(int column) const {
    if (columns.lineLength(column) < ColumnRecordSize) return nullptr;
    return reinterpret_cast<const unsigned char*>(columns.lineText(column));
}

int CMyHyo::columnRecordLength(int column) const { return columns.lineLength(column); }

int CMyHyo::columnRecordOrDefault(int column, char* record) const {
    const unsigned char* stored = columnRecord(column);
    if (!stored) {
        defaultRecord(record);
        return ColumnRecordSize;
    }
    int length = std::min(columns.lineLength(column), ColumnRecordSize + MaxColumnTitle + 1);
    std::memcpy(record, stored, length);
    return length;
}

int CMyHyo::columnWidth(int column) const {
    const unsigned char* record = columnRecord(column);
    return record ? LittleEndian::get32(record) : DefaultColumnWidth;
}

int CMyHyo::columnAlignment(int column) const {
    const unsigned char* record = columnRecord(column);
    return record ? record[8] : 0;
}

int CMyHyo::columnKind(int column) const {
    const unsigned char* record = columnRecord(column);
    return record ? record[9] : 0;
}

int CMyHyo::columnColour(int column, int which) const {
    const unsigned char* record = columnRecord(column);
    if (!record) return NoColour;
    return which == AttrTextColour ? record[10] : record[11];
}

std::string CMyHyo::columnTitle(int column) const {
    const unsigned char* record = columnRecord(column);
    if (!record) return std::string();
    const char* title = reinterpret_cast<const char*>(record) + ColumnRecordSize;
    int length = columns.lineLength(column) - ColumnRecordSize;
    int end = 0;
    while (end < length && title[end] != '\0') ++end;
    return std::string(title, end);
}

// Fills the records before `column` with defaults (asking beyond the list appends them).
int CMyHyo::setColumnRecord(int column, const char* bytes, int length) {
    if (column < 0 || column > kMaxColumn || !bytes) return 0;
    char record[ColumnRecordSize];
    defaultRecord(record);
    for (int i = columns.lineCount(); i < column; ++i)
        if (!columns.setLine(i, record, ColumnRecordSize)) return 0;
    return columns.setLine(column, bytes, length);
}

void CMyHyo::truncateColumns(int column) {
    for (int i = columns.lineCount() - 1; i >= std::max(column, 0); --i) columns.deleteLine(i);
}

int CMyHyo::setColumnWidth(int column, int width) {
    if (column < 0) return 0;
    char record[ColumnRecordSize + MaxColumnTitle + 1];
    int length = columnRecordOrDefault(column, record);
    LittleEndian::put32(record, width);
    return setColumnRecord(column, record, length);
}

int CMyHyo::setColumnKind(int column, int alignment, int kind) {
    if (column < 0) return 0;
    char record[ColumnRecordSize + MaxColumnTitle + 1];
    int length = columnRecordOrDefault(column, record);
    record[8] = static_cast<char>(alignment);
    record[9] = static_cast<char>(kind);
    return setColumnRecord(column, record, length);
}

int CMyHyo::setColumnColour(int column, int which, int index) {
    if (column < 0) return 0;
    char record[ColumnRecordSize + MaxColumnTitle + 1];
    int length = columnRecordOrDefault(column, record);
    record[which == AttrTextColour ? 10 : 11] = static_cast<char>(index);
    return setColumnRecord(column, record, length);
}

int CMyHyo::setColumnTitle(int column, const char* text) {
    if (column < 0) return -1;
    int titleBytes = text ? static_cast<int>(std::strlen(text)) : 0;
    if (titleBytes > MaxColumnTitle) return -1;
    char record[ColumnRecordSize + MaxColumnTitle + 1];
    columnRecordOrDefault(column, record);
    int length = ColumnRecordSize;
    if (titleBytes > 0) {
        std::memcpy(record + ColumnRecordSize, text, titleBytes);
        record[ColumnRecordSize + titleBytes] = '\0';
        length += titleBytes + 1;
    }
    return setColumnRecord(column, record, length) ? 0 : -1;
}

int CMyHyo::recordColumnDefinition(int column, bool widthOnly) {
    int count = columns.lineCount();
    if (column == count) return undo_.appendData(nullptr, 0);  // none from here on
    if (column > count) {
        // Setting this column will also create default records before it: undo must cut the
        // list back to where it ended, not to this column.
        char cut[5];
        LittleEndian::put32(cut, count);
        cut[4] = static_cast<char>(kMissingEnd);
        return undo_.appendData(cut, 5);
    }
    char record[ColumnRecordSize + MaxColumnTitle + 1];
    int length = columnRecordOrDefault(column, record);
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

// ---- filter map --------------------------------------------------------------------------

int CMyHyo::filterStoreRow(int position) const {
    return position >= 0 && position < filterCount ? filterRows[position] : -1;
}

bool CMyHyo::growFilter(int needed) {
    if (needed <= filterSlots) return true;
    int slots = filterSlots + std::max(250, filterSlots / 2);
    if (slots < needed) slots = needed + 100;
    void* grown = MemoryHook::reallocate(filterRows, sizeof(int) * (filterSlots ? filterSlots + 3 : 0),
                                         sizeof(int) * (slots + 3));
    if (!grown) return false;
    filterRows = static_cast<int*>(grown);
    filterSlots = slots;
    return true;
}

int CMyHyo::addFilterRow(int index, int minimumSlots) {
    if (filterCount >= filterSlots || filterSlots < minimumSlots) {
        if (!growFilter(std::max(filterCount + 1, minimumSlots))) {
            Prompt::warn("抽出用の領域確保に失敗しました。");
            filterCount = 0;
            filterActive = 0;
            return -1;
        }
    }
    filterRows[filterCount++] = index;
    return 0;
}

void CMyHyo::clearFilter() {
    if (undo_.recording()) undo_.clear();
    filterActive = 0;
    filterCount = 0;
}

void CMyHyo::setFilterCondition(int column, const char* text, int kind) {
    filterColumn = column;
    filterKind = kind;
    std::memset(filterText, 0, sizeof filterText);
    if (!text) return;
    const std::string_view given(text);
    std::memcpy(filterText, text, Cp932Text::fitLength(given, sizeof filterText - 1));
}

// ---- serialisation -----------------------------------------------------------------------

int CMyHyo::writeColumns(std::FILE* file) const { return columns.writeBlock(file); }

int CMyHyo::readColumns(std::FILE* file) {
    int result = columns.readBlock(file);
    undo_.clear();
    return result;
}

// ---- structure ---------------------------------------------------------------------------

// The undo marker is written only for rows that were inserted: a marker left by a failed
// insert would delete real rows on undo.
int CMyHyo::insertRows(int first, int last) {
    if (first > last) std::swap(first, last);
    if (first < 0 || first >= rowCount() || last - first >= kMaxRow) return 0;
    int count = last - first + 1;
    if (!TableLimits::rowsFit(rows.lineCount(), count)) return GridFull;
    // With a filter, the new rows need entries in the filter list too: no room, no rows.
    if (filterActive && !growFilter(filterCount + count)) {
        Prompt::warn("領域確保に失敗しました。");
        return 0;
    }
    int at = storeRow(first);
    if (!rows.insertLines(at, count)) return 0;
    if (filterActive) {
        for (int i = 0; i < filterCount; ++i)
            if (filterRows[i] >= at) filterRows[i] += count;
        std::memmove(filterRows + first + count, filterRows + first, sizeof(int) * (filterCount - first));
        for (int i = 0; i < count; ++i) filterRows[first + i] = at + i;
        filterCount += count;
    }
    if (undo_.recording()) undo_.markerEntry(UndoRowsInserted, -1, first, -1, last);
    clearSeek();
    return 1;
}

int CMyHyo::recordDeletedRows(int first, int last) {
    UndoArea area(undo_, UndoRowsDeleted, 0, -1, first, -1, last);
    if (filterActive && area.collecting()) {
        // Hidden rows may lie between the deleted ones: keep each store position so that undo
        // puts every row back exactly where it was.
        undo_.appendMarker(UndoSetKind, UndoRowsReinserted);
        for (int row = first; row <= last && area.collecting(); ++row) {
            int length = 0;
            const char* text = storeRowText(storeRow(row), length);
            std::vector<char> record(4 + static_cast<std::size_t>(length));
            LittleEndian::put32(record.data(), storeRow(row));
            if (length) std::memcpy(record.data() + 4, text, length);
            undo_.appendData(record.data(), static_cast<int>(record.size()));
        }
    }
    for (int row = first; row <= last && !filterActive && area.collecting(); ++row)
        undo_.appendData(rowText(row), rowLength(row));
    if (!area.commit()) return -1;
    return 0;
}

void CMyHyo::removeFilterEntries(int first, int last, const int* gone, int goneCount) {
    std::memmove(filterRows + first, filterRows + last + 1, sizeof(int) * (filterCount - last - 1));
    filterCount -= last - first + 1;
    for (int i = 0; i < filterCount; ++i) {
        int below = static_cast<int>(std::lower_bound(gone, gone + goneCount, filterRows[i]) - gone);
        filterRows[i] -= below;
    }
}

int CMyHyo::deleteRows(int first, int last) {
    if (first > last) std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, rowCount() - 1);
    if (first > last) return widestRow;
    if (undo_.recording() && recordDeletedRows(first, last) < 0) return -1;
    if (!filterActive) {
        rows.deleteLines(first, last - first + 1);
    } else {
        std::vector<int> gone(filterRows + first, filterRows + last + 1);
        std::sort(gone.begin(), gone.end());
        gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
        rows.deleteLineSet(gone.data(), static_cast<int>(gone.size()));
        removeFilterEntries(first, last, gone.data(), static_cast<int>(gone.size()));
    }
    clearSeek();
    widestRow = widestRowCount();
    return widestRow;
}

int CMyHyo::insertCellsInRow(int index, int first, int count) {
    int length = 0;
    const char* old = storeRowText(index, length);
    CellSpan span = RowFormat::locate(old, length, first);
    if (!span.exists) return 1;  // rows shorter than `first` stay as they are
    if (!ensureWork(static_cast<long>(length) + count)) return 0;
    std::memcpy(workBuffer, old, span.start);
    std::memset(workBuffer + span.start, '\t', count);
    std::memcpy(workBuffer + span.start + count, old + span.start, length - span.start);
    workBuffer[length + count] = '\0';
    return rows.setLine(index, workBuffer, length + count);
}

int CMyHyo::insertColumns(int first, int last) {
    if (first > last) std::swap(first, last);
    if (first < 0 || last > kMaxColumn) return 0;
    int count = last - first + 1;
    // Rows shorter than `first` do not move, so only the widest row can pass the limit.
    if (!TableLimits::columnsFit(widestRow, count)) return GridFull;
    if (undo_.recording()) undo_.markerEntry(UndoColumnsInserted, first, -1, last, -1);
    if (columns.lineCount() > first && columns.insertLines(first, count)) {
        char record[ColumnRecordSize];
        defaultRecord(record);
        for (int i = 0; i < count; ++i) columns.setLine(first + i, record, ColumnRecordSize);
    }
    quoting_.insertColumns(first, count);
    int widest = 0;
    for (int i = 0; i < rows.lineCount(); ++i) {
        insertCellsInRow(i, first, count);
        int length = 0;
        const char* text = storeRowText(i, length);
        widest = std::max(widest, RowFormat::cellCount(text, length));
    }
    widestRow = widest;
    clearSeek();
    return 1;
}

int CMyHyo::recordDeletedColumns(int first, int last) {
    UndoArea area(undo_, UndoColumnsDeleted, 0, first, -1, last, -1);
    for (int column = first; column <= last && area.collecting(); ++column) {
        recordColumnDefinition(column, false);
        if (column >= columns.lineCount()) break;  // the empty record covers the rest
    }
    if (area.collecting()) {
        undo_.appendMarker(UndoBackToStart);
        undo_.appendMarker(UndoSetKind, UndoCellRaw);
        undo_.appendMarker(UndoFilterOff);
    }
    // Cells that do not exist are not recorded, so undo does not pad shorter rows.
    for (int index = 0; index < rows.lineCount() && area.collecting(); ++index) {
        int length = 0;
        const char* text = storeRowText(index, length);
        for (int column = first; column <= last; ++column) {
            CellSpan span = RowFormat::locate(text, length, column);
            if (!span.exists) break;
            undo_.appendData(text + span.start, span.end - span.start);
        }
        // A row left with one empty cell reads as a row without cells: record that cell too.
        CellSpan rest = RowFormat::locate(text, length, last + 1);
        if (first == 0 && rest.exists && rest.start == rest.end && rest.end == length)
            undo_.appendData(text + rest.start, 0);
        area.nextRow();
    }
    if (area.collecting()) undo_.appendMarker(UndoFilterRestore);
    return area.commit() ? 0 : -1;
}

int CMyHyo::deleteCellsInRow(int index, int first, int last) {
    int length = 0;
    const char* old = storeRowText(index, length);
    CellSpan from = RowFormat::locate(old, length, first);
    if (!from.exists) return 1;
    CellSpan after = RowFormat::locate(old, length, last + 1);
    int cutStart = from.start;
    int cutEnd = after.exists ? after.start : length;
    if (!after.exists && first > 0) --cutStart;  // the TAB before the first removed cell
    if (!ensureWork(length)) return 0;
    std::memcpy(workBuffer, old, cutStart);
    std::memcpy(workBuffer + cutStart, old + cutEnd, length - cutEnd);
    int kept = cutStart + length - cutEnd;
    workBuffer[kept] = '\0';
    return rows.setLine(index, workBuffer, kept);
}

int CMyHyo::deleteColumns(int first, int last) {
    if (first > last) std::swap(first, last);
    if (last < 0) return widestRow;
    first = std::max(first, 0);
    last = std::min(last, kMaxColumn);
    if (undo_.recording() && recordDeletedColumns(first, last) < 0) return -1;
    for (int column = std::min(last, columns.lineCount() - 1); column >= first; --column) columns.deleteLine(column);
    quoting_.deleteColumns(first, last);
    for (int i = 0; i < rows.lineCount(); ++i) deleteCellsInRow(i, first, last);
    clearSeek();
    widestRow = widestRowCount();
    return widestRow;
}

// ---- header mode -------------------------------------------------------------------------

int CMyHyo::clearHeaderForUndo() {
    if (!undo_.recording()) return 0;
    int kind = headerMode ? UndoHeaderOff : UndoHeaderOn;
    UndoArea area(undo_, kind, 0, 0, 0, 0, 0);
    if (area.collecting()) {
        undo_.appendData(nullptr, 0);
        undo_.appendMarker(UndoSetKind, UndoColumnRecord);
    }
    for (int column = 0; column < columns.lineCount() && area.collecting(); ++column)
        recordColumnDefinition(column, false);
    if (kind == UndoHeaderOn && rows.lineCount() > 0 && area.collecting()) {
        undo_.appendMarker(UndoSetKind, UndoRowsDeleted);
        undo_.appendData(rows.lineText(0), rows.lineLength(0));
    }
    return area.commit() ? 0 : -1;
}

int CMyHyo::takeHeaderRow() {
    if (headerMode) return 0;
    int length = 0;
    const char* text = storeRowText(0, length);
    int cells = RowFormat::positionalCells(text, length);
    // A cell longer than a title can hold would lose its end with row 0: the row stays data.
    for (int column = 0; column < cells; ++column) {
        CellSpan span = RowFormat::locate(text, length, column);
        if (span.end - span.textStart > MaxColumnTitle) return 0;
    }
    for (int column = 0; column < cells; ++column) {
        CellSpan span = RowFormat::locate(text, length, column);
        std::string title(text + span.textStart, span.end - span.textStart);
        if (!title.empty() || columnRecord(column)) setColumnTitle(column, title.c_str());
    }
    rows.deleteLine(0);
    headerMode = 1;
    clearSeek();
    widestRow = widestRowCount();
    return 1;
}

int CMyHyo::restoreHeaderRow() {
    if (!headerMode) return 0;
    std::string line;
    int lastTitled = -1;
    for (int column = 0; column < columns.lineCount(); ++column)
        if (!columnTitle(column).empty()) lastTitled = column;
    for (int column = 0; column <= lastTitled; ++column) {
        if (column > 0) line += '\t';
        // A title read from a damaged colour file may hold a TAB or record bytes, which
        // would split the cell or read as attributes.
        for (char c : columnTitle(column))
            line += c == '\t' || RowFormat::isRecordStart(static_cast<unsigned char>(c)) ? '?' : c;
    }
    if (!rows.insertLines(0, 1) || !rows.setLine(0, line)) return 0;
    for (int column = 0; column <= lastTitled; ++column)
        if (columnRecord(column) && !columnTitle(column).empty()) setColumnTitle(column, "");
    headerMode = 0;
    clearSeek();
    widestRow = widestRowCount();
    return 1;
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
        out[12] = static_cast<char>(kMissingEnd);
        return 13;
    }
    if (column < 0) return 0;
    int length = 0;
    const char* text = storeRowText(index, length);
    if (RowFormat::locate(text, length, column).exists) return 0;
    LittleEndian::put32(out, RowFormat::positionalCells(text, length));
    out[4] = static_cast<char>(kMissingEnd);
    return 5;
}

int CMyHyo::journalRowHeight(int row) {
    char marker[kMissingMax];
    if (int size = missingMarker(-1, row, marker)) return undo_.recordSingle(UndoRowHeight, 0, -1, row, marker, size);
    return undo_.recordRowHeight(row, rowHeight(row));
}

void CMyHyo::truncateCells(int index, int cells) {
    int length = 0;
    const char* text = storeRowText(index, length);
    if (!text) return;
    int end = RowFormat::prefixEnd(text, length);
    if (cells > 0) {
        CellSpan last = RowFormat::locate(text, length, cells - 1);
        if (!last.exists) return;
        end = last.end;
    }
    if (end < length) rows.setLine(index, std::string(text, end));
}

void CMyHyo::truncateTable(int viewCount, int storeCount) {
    if (storeCount < 0 || viewCount < 0) return;
    if (filterActive) {
        int kept = 0;
        for (int i = 0; i < filterCount; ++i)
            if (filterRows[i] < storeCount) filterRows[kept++] = filterRows[i];
        filterCount = std::min(kept, viewCount);
    }
    for (int i = rows.lineCount() - 1; i >= storeCount; --i) rows.deleteLine(i);
}

void CMyHyo::removePadding(int row, const unsigned char* data, int length) {
    const char* bytes = reinterpret_cast<const char*>(data);
    if (length == 5) truncateCells(storeRow(row), LittleEndian::get32(bytes));
    else truncateTable(LittleEndian::get32(bytes + 4), LittleEndian::get32(bytes + 8));
}

// ---- undo replay -------------------------------------------------------------------------

UndoPosition CMyHyo::undo() {
    UndoPosition position;
    UndoEntry entry;
    if (!undo_.pop(entry)) return position;
    bool previous = undo_.setRecording(false);
    int widestBefore = widestRow;
    replayWidestBefore = widestRow;
    replayWidest = 0;
    replayShrunk = false;
    replayEntry(entry);
    undo_.setRecording(previous);
    position.column = std::max(entry.column1, 0);
    position.row = std::max(entry.row1, 0);
    lastUndoColumn = position.column;
    lastUndoRow = position.row;
    // The width of the table: deleting rows or columns and inserting columns compute it
    // themselves; restored rows and cells can only widen it, unless a row that was among the
    // widest lost cells (padding removed, last text emptied) - then a full scan.
    bool computedByOperation = entry.kind == UndoRowsInserted || entry.kind == UndoColumnsInserted ||
                               entry.kind == UndoColumnsDeleted;
    bool header = entry.kind == UndoHeaderOn || entry.kind == UndoHeaderOff;
    if (header || replayShrunk) widestRow = widestRowCount();
    else if (!computedByOperation) widestRow = std::max(widestBefore, replayWidest);
    clearSeek();
    return position;
}

int CMyHyo::reinsertStoreRow(int index, int viewPosition, const char* text, int length) {
    if (index < 0 || index > kMaxRow) return 0;
    if (!rows.insertLines(index, 1) || !rows.setLine(index, text, length)) return 0;
    if (!filterActive) return 1;
    for (int i = 0; i < filterCount; ++i)
        if (filterRows[i] >= index) ++filterRows[i];
    if (!growFilter(filterCount + 1)) {
        Prompt::warn("領域確保に失敗しました。");
        filterActive = 0;
        filterCount = 0;
        return 0;
    }
    viewPosition = std::clamp(viewPosition, 0, filterCount);
    std::memmove(filterRows + viewPosition + 1, filterRows + viewPosition,
                 sizeof(int) * (filterCount - viewPosition));
    filterRows[viewPosition] = index;
    ++filterCount;
    return 1;
}

void CMyHyo::replayEntry(const UndoEntry& entry) {
    const int startColumn = std::max(entry.column1, 0);
    const int startRow = std::max(entry.row1, 0);
    if (entry.recordCount == 0) {
        if (entry.kind == UndoRowsInserted) deleteRows(entry.row1, entry.row2);
        if (entry.kind == UndoColumnsInserted) deleteColumns(entry.column1, entry.column2);
        return;
    }
    const unsigned char* p = entry.payload;
    const unsigned char* end = p + std::max(entry.payloadLength, 0);
    if (entry.kind == UndoRowsDeleted && p < end && *p != UndoSetKind) insertRows(entry.row1, entry.row2);
    if (entry.kind == UndoColumnsDeleted) insertColumns(entry.column1, entry.column2);
    // Inserted columns that were filled may carry records of the rows padded up to them and
    // of the column list's old length: those apply once the columns are gone.
    if (entry.kind == UndoColumnsInserted) deleteColumns(entry.column1, entry.column2);
    replayKind = entry.kind;
    int kind = entry.kind;
    int subKind = entry.subKind;
    int column = startColumn;
    int row = startRow;
    unsigned char savedFilter = filterActive;
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
            replayData(kind, subKind, p, static_cast<int>(length), column, row);
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
            savedFilter = filterActive;
            filterActive = 0;
        } else if (lead == UndoFilterRestore) {
            filterActive = savedFilter;
        } else {
            break;  // not a sub-record this journal writes
        }
    }
}

void CMyHyo::replayData(int kind, int subKind, const unsigned char* data, int length, int& column, int& row) {
    bool cellKind = kind == UndoCellText || kind == UndoCellAttribute || kind == UndoCellRaw;
    int cellsBefore = cellKind ? cellCount(row) : 0;
    replayRecord(kind, subKind, data, length, column, row);
    if (cellKind) {
        int cellsAfter = cellCount(row);
        if (cellsAfter < cellsBefore && cellsBefore >= replayWidestBefore) replayShrunk = true;
        replayWidest = std::max(replayWidest, cellsAfter);
    }
}

void CMyHyo::replayRecord(int kind, int subKind, const unsigned char* data, int length, int& column, int& row) {
    const char* bytes = reinterpret_cast<const char*>(data);
    bool paddingKind = kind == UndoCellText || kind == UndoCellAttribute || kind == UndoRowHeight ||
                       kind == UndoRowColour;
    if (paddingKind && (length == 5 || length == 13) && data[length - 1] == kMissingEnd) {
        if (length == 13) replayShrunk = true;  // rows are removed
        removePadding(row, data, length);
        if (kind == UndoRowHeight || kind == UndoRowColour) ++row;
        else ++column;
        return;
    }
    switch (kind) {
    case UndoCellText:
        setCellBytes(column++, row, bytes, length > 0 ? length - 1 : 0);
        break;
    case UndoCellAttribute: {
        int value = 0;
        for (int i = std::min(length, 4) - 1; i >= 0; --i) value = (value << 8) | data[i];
        setCellAttribute(column++, row, subKind, value, length > 0 ? 1 : 0, 1);
        break;
    }
    case UndoCellRaw:
        setCellRaw(column++, row, bytes, length);
        break;
    case UndoRowHeight: {
        int height = length >= 2 ? data[0] | (data[1] << 8) : 0;
        if (height == 0) {
            Prompt::warn("不正な高さを返しました");
            height = 16;
        }
        setRowHeight(row++, height);
        break;
    }
    case UndoRowColour:
        setRowAttribute(row++, subKind, length > 0 ? data[0] : 0, length > 0 ? 1 : 0);
        break;
    case UndoRowsDeleted:
        if (replayKind == UndoHeaderOn) rows.insertLines(0, 1);
        setRow(row++, bytes, length);
        replayWidest = std::max(replayWidest, RowFormat::cellCount(bytes, length));
        break;
    case UndoRowsReinserted:
        if (length >= 4) {
            reinsertStoreRow(LittleEndian::get32(bytes), row, bytes + 4, length - 4);
            replayWidest = std::max(replayWidest, RowFormat::cellCount(bytes + 4, length - 4));
        }
        ++row;
        break;
    case UndoColumnRecord:
    case UndoColumnsDeleted:
    case UndoColumnWidth:
        if (length == 5 && data[4] == kMissingEnd) truncateColumns(LittleEndian::get32(bytes));
        else if (length == 0) truncateColumns(column);
        else if (kind != UndoColumnWidth) setColumnRecord(column, bytes, length);
        else if (length >= 4) setColumnWidth(column, LittleEndian::get32(bytes));
        ++column;
        break;
    case UndoHeaderOn:
    case UndoHeaderOff:
        columns.clear();
        if (kind == UndoHeaderOn) {
            headerMode = 0;  // row 0 comes back with its record (none when the table was empty)
        } else {
            headerMode = 1;
            rows.deleteLine(0);
        }
        column = 0;
        row = 0;
        break;
    default:
        break;
    }
}

// ---- sort --------------------------------------------------------------------------------

void CMyHyo::clearSortKeys() {
    sortKeyCount = 0;
    for (int i = 0; i < SortKeySlots; ++i) {
        sortColumn[i] = -1;
        sortFlags[i] = 0;
        sortLength[i] = 0;
    }
}

int CMyHyo::addSortKey(int column, bool descending, bool numeric, int length) {
    if (sortKeyCount >= SortKeySlots) return -1;
    if (length > RowSorter::MaxKeyLength) {
        Prompt::warn("ソートの文字長さ制限エラーです。");
        length = 0;
    }
    sortColumn[sortKeyCount] = column;
    sortFlags[sortKeyCount] = (descending ? RowSorter::Descending : 0) | (numeric ? RowSorter::Numeric : 0);
    sortLength[sortKeyCount] = std::max(length, 0);
    ++sortKeyCount;
    return 0;
}

int CMyHyo::sortRows() {
    if (sortKeyCount <= 0 || sortColumn[0] < 0) return 0;
    if (RowSorter::sort(*this) < 0) return -1;
    clearSeek();
    undo_.clear();
    return 0;
}

std::vector<std::string> CMyHyo::sortKeyCells(int row) const {
    std::vector<std::string> cells;
    for (int k = 0; k < std::min(sortKeyCount, SortKeySlots); ++k)
        cells.emplace_back(RowSorter::keyCell(rowText(row), rowLength(row), sortColumn[k]));
    return cells;
}

int CMyHyo::compareRowToKeys(int row, const std::vector<std::string>& keyCells) const {
    for (int k = 0; k < std::min(sortKeyCount, SortKeySlots) && k < static_cast<int>(keyCells.size()); ++k) {
        std::string_view cell = RowSorter::keyCell(rowText(row), rowLength(row), sortColumn[k]);
        int result = RowSorter::compareKey(cell, keyCells[k], sortFlags[k], sortLength[k]);
        if (result != 0) return result;
    }
    return 0;
}

// ---- applying the filter -----------------------------------------------------------------

int CMyHyo::applyFilter(int column, const std::string& text, int kind, int keepFirst, bool negate) {
    if (undo_.recording()) undo_.clear();
    filterActive = 0;
    filterCount = 0;
    clearSeek();
    const int n = rows.lineCount();
    const CellMatch condition(text, kind, CellMatch::NumberRule::Filter);
    for (int index = 0; index < n; ++index) {
        bool passes = index < keepFirst;
        if (!passes) {
            int length = 0;
            const char* row = storeRowText(index, length);
            passes = condition.matches(RowSorter::keyCell(row, length, column)) != negate;
        }
        // The first addition sizes the list for every row, so it is allocated once.
        if (passes && addFilterRow(index, n) < 0) return -1;
    }
    filterActive = 1;
    setFilterCondition(column, text.c_str(), kind);
    return 0;
}
