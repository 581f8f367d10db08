// CMyUndo: the bounded journal of old contents that the table store writes before each change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// Entry types and the kinds of change an entry records.
enum UndoType { UndoSingle = 4, UndoAreaType = 7 };
enum UndoKind {
    UndoCellText = 10,      // old cell text (without records) plus its TAB/NUL terminator
    UndoCellAttribute = 11, // old attribute value, sub-kind = attribute kind
    UndoCellRaw = 12,       // raw cell content with records (inside kind 42)
    UndoRowHeight = 13,     // old height, 2 bytes
    UndoRowColour = 20,     // old row colour, sub-kind = attribute kind
    UndoRowsInserted = 21,
    UndoRowsDeleted = 22,
    UndoRowsReinserted = 23, // (inside kind 22 of a filtered table) store row number + row text
    UndoRowsSorted = 24,     // the order a sort gave the rows (SortUndo)
    UndoColumnRecord = 40,
    UndoColumnsInserted = 41,
    UndoColumnsDeleted = 42,
    UndoColumnWidth = 45,
    UndoHeaderOn = 60,      // written before header mode is switched on
    UndoHeaderOff = 61,     // written before header mode is switched off
};
// Sub-record bytes that are not data lengths.
enum UndoMarker {
    UndoFilterRestore = 248,
    UndoFilterOff = 249,
    UndoBackToStart = 250,
    UndoSetKind = 251,
    UndoLongData = 252,
    UndoNextRow = 254,
};
constexpr int UndoMaxShortData = 120;

// Besides the old values, the store writes two data forms ending in the byte 0x01 (never the
// last byte of old text, which ends in TAB or NUL, nor a whole attribute value):
// - 5 bytes (int32 n, 0x01) in kinds 10 and 11: the cell did not exist, its row had n cells;
//   in kinds 40 and 45: the column had no record and the list held n records.
// - 13 bytes (int32 -1, int32 view rows, int32 store rows, 0x01) in kinds 10, 11, 13 and 20:
//   the row did not exist; undo cuts the table back to that size.
// A value-less attribute (the marker, kind 11) is kept in kind 11 as one zero byte, since an
// empty record means that the cell had no such attribute.
// Kind 23 (inside kind 22 of a filtered table) keeps each deleted row's store number so that
// undo puts it back between the hidden rows where it was.

// Decoded view of one popped entry; payload points into the journal and stays valid until
// the next entry is stored or the journal is cleared.
struct UndoEntry {
    int type = 0;
    int kind = 0;
    int subKind = 0;
    int column1 = -1;
    int row1 = -1;
    int column2 = -1;
    int row2 = -1;
    int payloadLength = 0;
    int recordCount = 0;
    const unsigned char* payload = nullptr;
};

class CMyUndo {
public:
    CMyUndo();
    ~CMyUndo();
    CMyUndo(const CMyUndo&) = delete;
    CMyUndo& operator=(const CMyUndo&) = delete;

    // 1 opened, -1 an area is already open, 0 recording is off.
    int openArea(int kind, int subKind, int column1, int row1, int column2, int row2);
    // Old cell text (length excludes the terminator; the record keeps text + terminator byte).
    // Without an open area a single-change entry of kind 10 is stored at once.
    // Results: 1 recorded, 0 recording off, -1 does not fit / abandoned.
    int recordCellText(int column, int row, const char* text, int length, char terminator = '\0');
    // Old attribute value bytes (length 0 = the cell had none); kind 11.
    int recordAttribute(int column, int row, int attributeKind, const unsigned char* value,
                        int length);
    // Old row height; kind 13.
    int recordRowHeight(int row, int height);
    // Old row colour value (length 0 = none); kind 20.
    int recordRowColour(int row, int attributeKind, const unsigned char* value, int length);
    // Single-change entry of any kind with one data record (or appended to the open area).
    int recordSingle(int kind, int subKind, int column, int row, const void* data, int length);

    // Only with an open area (else -1).
    int appendData(const void* bytes, int length);
    int appendInteger(int value, int width);
    // 248..254; for 251 `kind` is the new kind and `attributeKind` follows when kind is 11.
    int appendMarker(int marker, int kind = 0, int attributeKind = 0);
    // keep=false discards (0). keep=true: 1 stored, 0 area already abandoned, -1 too large.
    int closeArea(bool keep);
    bool areaOpen() const { return areaKind_ != 1; }
    int areaKind() const { return areaKind_; }
    // Opens and closes an area without payload (kinds 21 and 41).
    int markerEntry(int kind, int column1, int row1, int column2, int row2);

    void clear();
    // The limit is kept between 1000 bytes and MaxLimit (0 is the default 1000000). A changed
    // limit keeps the newest entries that fit it.
    void setLimit(long bytes);
    static constexpr long MaxLimit = 1000000000;
    long limit() const { return maxBytes_; }
    // Returns the previous state.
    bool setRecording(bool on);
    bool recording() const { return recording_; }

    // Removes the newest reachable entry; false when there is none.
    bool pop(UndoEntry& entry);
    // Makes the entry popped last reachable again (after redo put its change back); false
    // when none is stored.
    bool unpop();
    // Entries popped by undo and still stored.
    int poppedCount() const { return storedCount_ - entryCount_; }
    // Grows whenever popped entries are thrown away (a new entry, clear), so that whoever keeps
    // data beside them can tell that it no longer belongs to them.
    unsigned long discardSerial() const { return discardSerial_; }
    // Called at once when popped entries are thrown away, so that the data kept beside them
    // is given back then.
    void setDiscardListener(std::function<void()> listener) { onDiscard_ = std::move(listener); }
    // Bytes kept beside the popped entries (what redo needs) count against the same limit.
    void setOutsideBytes(std::size_t bytes) { outside_ = bytes; }
    std::size_t outsideBytes() const { return outside_; }
    // Drops the oldest reachable entries until `extra` more outside bytes fit beside the
    // stored entries within the limit; false when they do not fit even with none left.
    bool makeRoomOutside(std::size_t extra);
    // Throws away the `count` popped entries that were popped first (the last ones redo would
    // reach); the data beside the others stays theirs.
    void dropPopped(int count);
    int entryCount() const { return entryCount_; }
    int storedCount() const { return storedCount_; }
    std::size_t usedBytes() const { return used_; }
    std::size_t memoryBytes() const { return capacity_ + areaCapacity_ + offsetSlots_ * sizeof(int32_t); }

private:
    int storeEntry(const unsigned char* header, int headerLength, const void* first,
                   std::size_t firstLength, const void* second, std::size_t secondLength,
                   std::size_t needed);
    bool makeRoom(std::size_t needed);
    bool growArea(std::size_t needed);
    void abandonArea();
    int appendRaw(const void* bytes, std::size_t length);
    int appendDataRecord(const void* bytes, int length, const void* tail, int tailLength);
    int singleOrAppend(int kind, int subKind, int column, int row, const void* data, int length,
                       const void* tail = nullptr, int tailLength = 0);
    bool ensureEntryBuffer();
    void dropOldest(int count);
    void discarded();
    void keepWithin(std::size_t bytes);
    std::size_t keptBytes(int drop) const;   // what the entries from `drop` on take
    void shrinkEntryBuffer();
    void decode(int index, UndoEntry& entry) const;

    bool recording_ = true;
    long maxBytes_ = 1000000;

    unsigned char* entryBytes_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
    int32_t* offsets_ = nullptr;
    int offsetSlots_ = 0;
    int entryCount_ = 0;
    int storedCount_ = 0;
    unsigned long discardSerial_ = 0;
    std::size_t outside_ = 0;
    std::function<void()> onDiscard_;

    int areaKind_ = 1;
    bool areaAbandoned_ = false;
    int areaSubKind_ = 0;
    int areaColumn1_ = 0, areaRow1_ = 0, areaColumn2_ = 0, areaRow2_ = 0;
    unsigned char* areaBytes_ = nullptr;
    std::size_t areaCapacity_ = 0;
    std::size_t areaUsed_ = 0;
    int areaRecords_ = 0;
};
