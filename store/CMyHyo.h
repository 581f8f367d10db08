// CMyHyo: the table store - rows as TAB-separated byte strings, column records, filter map, undo.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "store/CMyLine.h"
#include "store/CMyUndo.h"
#include "store/ColumnQuoting.h"

// Attribute kinds carried inline in cells and rows.
enum AttributeKind { AttrTextColour = 4, AttrBackColour = 5, AttrMarker = 11, AttrRowHeight = 100 };
constexpr int NoColour = 120;
constexpr int DefaultColumnWidth = 64;
constexpr int ColumnRecordSize = 16;
constexpr int MaxColumnTitle = 60;
constexpr int SortKeySlots = 11;

// Position an undo step leaves the cursor at; (-1, -1) when there was nothing to undo.
struct UndoPosition {
    int column = -1;
    int row = -1;
};

// Rows are held with their length; attribute values may be TAB or NUL bytes, so a row is never
// scanned to a NUL (RowFormat does the scanning). Cell text itself never holds TAB or NUL.
// Row and column numbers are view numbers: while the filter is active a row number is a
// position in filterRows and the store translates it. Out-of-range reads are empty, writes to
// negative rows or columns are ignored.
class CMyHyo {
public:
    CMyHyo();
    ~CMyHyo();
    CMyHyo(const CMyHyo&) = delete;
    CMyHyo& operator=(const CMyHyo&) = delete;

    void reset();

    // ---- rows -------------------------------------------------------------------------
    int rowCount() const;                 // filtered count while the filter is active
    int storeRowCount() const { return rows.lineCount(); }
    const char* rowText(int row) const;   // null when out of range
    int rowLength(int row) const;         // bytes without the NUL
    std::string rowString(int row) const;
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
    int columnCount() const { return columns.lineCount(); }
    int columnWidth(int column) const;
    int setColumnWidth(int column, int width);
    int setColumnKind(int column, int alignment, int kind);
    // which: 4 text colour, 5 background colour.
    int setColumnColour(int column, int which, int index);
    int columnAlignment(int column) const;
    int columnKind(int column) const;
    int columnColour(int column, int which) const;
    const unsigned char* columnRecord(int column) const;   // null when none
    int columnRecordLength(int column) const;
    std::string columnTitle(int column) const;
    int setColumnTitle(int column, const char* text);      // 0, or -1 when over 60 bytes
    // Replaces the record bytes as stored (used by undo and the colour file).
    int setColumnRecord(int column, const char* bytes, int length);
    // Removes the records of `column` and every column after it.
    void truncateColumns(int column);

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
    // How the file's columns were enclosed when read; follows column inserts and deletes.
    ColumnQuoting& columnQuoting() { return quoting_; }
    const ColumnQuoting& columnQuoting() const { return quoting_; }

    // ---- filter map -------------------------------------------------------------------
    bool isFiltered() const { return filterActive != 0; }
    void setFilterActive(bool on) { filterActive = on ? 1 : 0; }
    int filterRowCount() const { return filterCount; }
    int filterStoreRow(int position) const;
    // View row -> store row (identity when unfiltered); -1 when the view row is negative.
    int storeRow(int viewRow) const;
    // 0, or -1 when the list cannot grow (message shown, list emptied).
    int addFilterRow(int storeRow, int minimumSlots = 0);
    void clearFilter();
    void setFilterCondition(int column, const char* text, int kind);
    int filterColumnValue() const { return filterColumn; }
    const char* filterTextValue() const { return filterText; }
    int filterKindValue() const { return filterKind; }
    // Rebuilds the list with the store rows whose cell in `column` satisfies the condition
    // (inverted by `negate`); rows before `keepFirst` always pass. Empties the journal (a filter
    // cannot be undone). 0, or -1 when the list could not be had (message shown, filter off).
    int applyFilter(int column, const std::string& text, int kind, int keepFirst, bool negate);

    // ---- sort -------------------------------------------------------------------------
    void clearSortKeys();
    // 0, or -1 when every key slot is taken. A length over 30 bytes is refused with a message
    // and the key compares whole cells.
    int addSortKey(int column, bool descending, bool numeric, int length);
    // Sorts the rows of the view by the keys (nothing without a first key) and empties the
    // journal: a sort cannot be undone. 0 done, -1 when memory could not be had (nothing moved).
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
    CMyLine& rowList() { return rows; }
    CMyLine& columnList() { return columns; }
    std::size_t memoryBytes() const;

    // Sort keys (used by the sort).
    int sortKeyCount = 0;
    int sortColumn[SortKeySlots];
    int sortFlags[SortKeySlots];
    int sortLength[SortKeySlots];

    int lastUndoColumn = -1;
    int lastUndoRow = -1;

private:
    enum CellMode { KeepRecords, DropKind, SetKind, DropAll, RawCell };
    bool ensureWork(long need);
    const char* storeRowText(int storeRow, int& length) const;
    int resolveWriteRow(int row);
    int columnRecordOrDefault(int column, char* record) const;
    int replaceCell(int column, int row, const char* text, int textLength, CellMode mode,
                    int kind, int value);
    int rebuildRowAttribute(int storeRow, int kind, int value, int set);
    int insertCellsInRow(int storeRow, int first, int count);
    int deleteCellsInRow(int storeRow, int first, int last);
    int recordDeletedRows(int first, int last);
    int recordDeletedColumns(int first, int last);
    int recordColumnDefinition(int column, bool widthOnly);
    void removeFilterEntries(int first, int last, const int* gone, int goneCount);
    int reinsertStoreRow(int storeRow, int viewPosition, const char* text, int length);
    bool growFilter(int needed);
    void replayEntry(const UndoEntry& entry);
    void replayData(int kind, int subKind, const unsigned char* data, int length, int& column,
                    int& row);
    void replayRecord(int kind, int subKind, const unsigned char* data, int length, int& column,
                      int& row);
    void clearSeek();
    void dropSingleEntry(int recorded);
    int missingMarker(int column, int row, char* out) const;
    int journalRowHeight(int row);
    void removePadding(int row, const unsigned char* data, int length);
    void truncateCells(int storeIndex, int cells);
    void truncateTable(int viewCount, int storeCount);

    CMyLine rows;
    CMyLine columns;
    unsigned char filterActive = 0;
    int filterCount = 0;
    int filterSlots = 0;
    int* filterRows = nullptr;
    int filterColumn = 0;
    // The filter dialog takes 50 characters, up to 100 bytes; never cut inside a character.
    char filterText[101] = {0};
    int filterKind = 0;
    unsigned char headerMode = 0;
    CMyUndo undo_;
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
    int replayKind = 0;       // kind of the entry being replayed
    int replayWidest = 0;     // widest row the replay touched
    int replayWidestBefore = 0;
    bool replayShrunk = false; // a row among the widest lost cells during the replay
};
