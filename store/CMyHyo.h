// CMyHyo: the table store - rows as TAB-separated byte strings, column records, filter map, undo.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "store/CMyLine.h"
#include "store/CMyUndo.h"
#include "store/ColumnQuoting.h"
#include "store/ColumnRecords.h"
#include "store/FilterMap.h"
#include "store/RedoJournal.h"
#include "store/SortKeys.h"

// Attribute kinds carried inline in cells and rows.
enum AttributeKind { AttrTextColour = 4, AttrBackColour = 5, AttrMarker = 11, AttrRowHeight = 100 };

// Position an undo step leaves the cursor at; (-1, -1) when there was nothing to undo.
struct UndoPosition {
    int column = -1;
    int row = -1;
};

// Rows are held with their length; attribute values may be TAB or NUL bytes, so a row is never
// scanned to a NUL (RowFormat does the scanning). Cell text itself never holds TAB or NUL.
// Row and column numbers are view numbers: while the filter is active a row number is a
// position in the filter list and the store translates it. Out-of-range reads are empty, writes to
// negative rows or columns are ignored.
class CMyHyo {
public:
    CMyHyo();
    ~CMyHyo();
    CMyHyo(const CMyHyo&) = delete;
    CMyHyo& operator=(const CMyHyo&) = delete;

    void reset();

    // ---- rows -------------------------------------------------------------------------
    // filtered count while the filter is active
    int rowCount() const { return filter_.active() ? filter_.count() : rows.lineCount(); }
    int storeRowCount() const { return rows.lineCount(); }
    // null when out of range
    const char* rowText(int row) const { return rows.lineText(storeRow(row)); }
    int rowLength(int row) const { return rows.lineLength(storeRow(row)); }  // bytes without the NUL
    std::string rowString(int row) const;
    // Puts rows read apart in place of the table's (which `lines` then holds) with the
    // quoting noted while reading them.
    void adoptRows(CMyLine& lines, ColumnQuoting quoting);
    int reserveRow(int storeRow, int length);
    // Stores a whole row (length without the NUL). 1 ok, 0 failed.
    int setRow(int row, const char* bytes, int length);
    int setRow(int row, const std::string& text) {
        return setRow(row, text.data(), static_cast<int>(text.size()));
    }
    int cellCount(int row) const;
    int widestRowCount() const;
    int widestRowValue() const { return widestRow; }
    void setWidestRow(int value) { widestRow = value; }

    // ---- cells ------------------------------------------------------------------------
    // 1 if the cell exists, else 0 (the sought cell is then the empty cell).
    int seekCell(int column, int row);
    const char* cellText() const;  // sought cell after its records, ends at TAB or NUL
    const char* cellRaw() const;   // sought cell including records
    int cellTextLength() const;
    int cellRawLength() const;
    std::string cellString(int column, int row);   // text only, empty when missing
    std::string cellRawString(int column, int row);
    // Journals the old text (when recording) then replaces the text keeping attributes.
    // text ends at TAB or NUL; null text only records the old text. 1 ok, 0 failed, -1 journal full.
    int setCell(int column, int row, const char* text);
    // Same without the journal, text given by length.
    int setCellBytes(int column, int row, const char* bytes, int length);
    // Replaces the whole cell (records included) without the journal.
    int setCellRaw(int column, int row, const char* bytes, int length);
    // journalMode 0: journal then change (-1 when the journal is full); -1: journal only;
    // >0: change only. set==1 replaces the attribute, otherwise removes it.
    int setCellAttribute(int column, int row, int kind, int value, int set, int journalMode);
    int clearCellAttributes(int column, int row);
    // Value of the first attribute record of the kind, -1 when the cell has none.
    int cellAttribute(int column, int row, int kind);

    // ---- row attributes ---------------------------------------------------------------
    int journalRowAttribute(int row, int kind);
    int setRowAttribute(int row, int kind, int value, int set);
    int rowAttribute(int row, int kind) const;   // -1 when none
    int rowHeight(int row) const;
    int setRowHeight(int row, int height);
    // 0 ok, -1 cancelled by the user.
    int setRowHeights(int first, int last, int height);
    int scaledRowHeight(int row) const;
    int scaledColumnWidth(int column) const;
    int scaled(int value) const;
    void setZoomPercent(int percent);
    double zoomFactor() const { return zoom; }
    int defaultHeight() const { return defaultRowHeight; }

    // ---- columns ----------------------------------------------------------------------
    // Journals the record (only the width inside a kind-45 area). Negative when full.
    int journalColumnRecord(int column);
    int columnCount() const { return columns_.count(); }
    int columnWidth(int column) const { return columns_.width(column); }
    int setColumnWidth(int column, int width) { return columns_.setWidth(column, width); }
    int setColumnKind(int column, int alignment, int kind) {
        return columns_.setKind(column, alignment, kind);
    }
    // which: 4 text colour, 5 background colour.
    int setColumnColour(int column, int which, int index) {
        return columns_.setColour(column, which, index);
    }
    int columnAlignment(int column) const { return columns_.alignment(column); }
    int columnKind(int column) const { return columns_.kind(column); }
    int columnColour(int column, int which) const { return columns_.colour(column, which); }
    // null when none
    const unsigned char* columnRecord(int column) const { return columns_.record(column); }
    int columnRecordLength(int column) const { return columns_.recordLength(column); }
    std::string columnTitle(int column) const { return columns_.title(column); }
    // 0, or -1 when over 60 bytes
    int setColumnTitle(int column, const char* text) { return columns_.setTitle(column, text); }
    // Replaces the record bytes as stored (used by undo and the colour file).
    int setColumnRecord(int column, const char* bytes, int length) {
        return columns_.setRecord(column, bytes, length);
    }
    // Removes the records of `column` and every column after it.
    void truncateColumns(int column) { columns_.truncate(column); }

    // ---- structure --------------------------------------------------------------------
    // Inserts return 1 done, 0 nothing to do, GridFull (nothing changed) when the rows or
    // columns would pass the grid's limits.
    static constexpr int GridFull = -2;
    int insertRows(int first, int last);
    // Returns the new widestRow, or -1 when the user declined losing undo.
    int deleteRows(int first, int last);
    int insertColumns(int first, int last);
    // Returns the new widestRow, or -1 when the user declined losing undo.
    int deleteColumns(int first, int last);
    // Journals the column records and row 0 before a header switch; -1 when declined.
    int clearHeaderForUndo();
    // Row 0 becomes the column titles and is removed; headerMode is set. 1 done; 0 when
    // already in header mode or when a cell of row 0 is longer than a title (nothing changes).
    int takeHeaderRow();
    // An empty row 0 is inserted holding the titles; titles cleared; headerMode reset.
    int restoreHeaderRow();
    bool inHeaderMode() const { return headerMode != 0; }
    void setHeaderMode(bool on) { headerMode = on ? 1 : 0; }
    // How the file's columns were enclosed when read; follows column inserts and deletes.
    ColumnQuoting& columnQuoting() { return quoting_; }
    const ColumnQuoting& columnQuoting() const { return quoting_; }

    // ---- filter map -------------------------------------------------------------------
    bool isFiltered() const { return filter_.active(); }
    void setFilterActive(bool on) { filter_.setActive(on); }
    int filterRowCount() const { return filter_.count(); }
    int filterStoreRow(int position) const { return filter_.entry(position); }
    // View row -> store row (identity when unfiltered); -1 when the view row is negative.
    int storeRow(int viewRow) const { return filter_.storeRow(viewRow); }
    // 0, or -1 when the list cannot grow (message shown, list emptied).
    int addFilterRow(int storeRow, int minimumSlots = 0) { return filter_.add(storeRow, minimumSlots); }
    void clearFilter();
    void setFilterCondition(int column, const char* text, int kind) {
        filter_.setCondition(column, text, kind);
    }
    int filterColumnValue() const { return filter_.column(); }
    const char* filterTextValue() const { return filter_.text(); }
    int filterKindValue() const { return filter_.kind(); }
    // Rebuilds the list with the store rows whose cell in `column` satisfies the condition
    // (inverted by `negate`); rows before `keepFirst` always pass. Empties the journal (a filter
    // cannot be undone). 0, or -1 when the list could not be had (message shown, filter off)
    // or a regular expression is faulty or runs away (message shown, nothing changed); -2 when
    // the user stopped it (the earlier filter and the journal stay).
    int applyFilter(int column, const std::string& text, int kind, int keepFirst, bool negate);

    // ---- sort -------------------------------------------------------------------------
    void clearSortKeys();
    // 0, or -1 when every key slot is taken. A length over 30 bytes is refused with a message
    // and the key compares whole cells.
    int addSortKey(int column, bool descending, bool numeric, int length);
    // Sorts the rows of the view by the keys (nothing without a first key) as one undo step.
    // 0 done, -1 when memory could not be had, RowSorter::Stopped when the order did not fit
    // the journal and the user chose not to go on without undo, or the user stopped the sort
    // (nothing moved either way).
    int sortRows();
    // The row's key cells, one per key, and the row compared with such cells by the keys.
    std::vector<std::string> sortKeyCells(int row) const;
    int compareRowToKeys(int row, const std::vector<std::string>& keyCells) const;

    // ---- serialisation for the colour file ---------------------------------------------
    int writeColumns(std::FILE* file) const;
    int readColumns(std::FILE* file);

    // ---- undo -------------------------------------------------------------------------
    CMyUndo& journal() { return undo_; }
    // Replays the newest entry with recording off.
    UndoPosition undo();
    // Puts back what the last undo took away; (-1, -1) when there is nothing to redo.
    UndoPosition redo() { return redo_.redo(*this); }
    int redoCount() const { return redo_.count(undo_); }
    // After an operation was stopped and taken back, its undone step must not come back.
    void forgetRedo() { redo_.forget(undo_); }
    // Forgets the cell last sought (its pointer) after rows were replaced or moved.
    void forgetSeek() { clearSeek(); }
    CMyLine& rowList() { return rows; }
    CMyLine& columnList() { return columns_.lines(); }
    std::size_t memoryBytes() const;

    // Sort keys (used by the sort), and the names the callers have always used for them.
    SortKeys sortKeys;
    int& sortKeyCount = sortKeys.count;
    int (&sortColumn)[SortKeySlots] = sortKeys.column;
    int (&sortFlags)[SortKeySlots] = sortKeys.flags;
    int (&sortLength)[SortKeySlots] = sortKeys.length;

    int lastUndoColumn = -1;
    int lastUndoRow = -1;

private:
    // Parts of the store that work on its rows, records and journal directly.
    friend class TableStructure;
    friend class UndoReplay;

    enum CellMode { KeepRecords, DropKind, SetKind, DropAll, RawCell };
    bool ensureWork(long need);
    const char* storeRowText(int storeRow, int& length) const {
        length = rows.lineLength(storeRow);
        return rows.lineText(storeRow);
    }
    int resolveWriteRow(int row);
    int replaceCell(int column, int row, const char* text, int textLength, CellMode mode,
                    int kind, int value);
    int rebuildRowAttribute(int storeRow, int kind, int value, int set);
    int recordColumnDefinition(int column, bool widthOnly);
    void clearSeek();
    void dropSingleEntry(int recorded);
    int missingMarker(int column, int row, char* out) const;
    int journalRowHeight(int row);

    CMyLine rows;
    ColumnRecords columns_;
    FilterMap filter_;
    unsigned char headerMode = 0;
    CMyUndo undo_;
    RedoJournal redo_;
    ColumnQuoting quoting_;
    char emptyCell[2] = {0, 0};
    long workCapacity = 0;
    char* workBuffer = nullptr;
    double zoom = 1.0;
    int widestRow = 0;
    int defaultRowHeight = 16;
    int seekColumn = -1;
    int seekRow = -1;
    const char* seekPosition = nullptr;
    int seekTextOffset = 0;   // from seekPosition to the text after the records
    int seekEndOffset = 0;    // from seekPosition to the TAB or row end
};
