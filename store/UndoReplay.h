// UndoReplay: plays the newest journal entry back onto the store, with recording off.
#pragma once

#include "store/CMyHyo.h"

// One object per undo step: it carries what the step learns about the table's width while it
// replays (the widest row it restored, whether a row among the widest lost cells), so that
// the store's widest row is recomputed in full only when it may have shrunk.
class UndoReplay {
public:
    explicit UndoReplay(CMyHyo& hyo) : hyo_(hyo) {}
    UndoPosition run();

private:
    void playEntry(const UndoEntry& entry);
    void playData(int kind, int subKind, const unsigned char* data, int length, int& column,
                  int& row);
    void playRecord(int kind, int subKind, const unsigned char* data, int length, int& column,
                    int& row);
    int reinsertStoreRow(int storeRow, int viewPosition, const char* text, int length);
    void removePadding(int row, const unsigned char* data, int length);
    void truncateCells(int storeRow, int cells);
    void truncateTable(int viewCount, int storeCount);

    CMyHyo& hyo_;
    int kind_ = 0;            // kind of the entry being replayed
    int widest_ = 0;          // widest row the replay touched
    int widestBefore_ = 0;
    bool shrunk_ = false;     // a row among the widest lost cells during the replay
};
