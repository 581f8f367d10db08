// ColumnRecords: one record per column - width, alignment, kind, colours and an optional title.
#pragma once

#include <cstdio>
#include <string>

#include "store/CMyLine.h"

constexpr int NoColour = 120;
constexpr int DefaultColumnWidth = 64;
constexpr int ColumnRecordSize = 16;
constexpr int MaxColumnTitle = 60;

// A record is 16 bytes (width as 32-bit little endian, alignment at 8, kind at 9, text and
// background colour at 10 and 11), followed by the title and its NUL when there is one. A
// column without a record reads as the default: width 64, left aligned, no colours.
class ColumnRecords {
public:
    static constexpr int MaxRecord = ColumnRecordSize + MaxColumnTitle + 1;
    static void defaultRecord(char* record);

    int count() const { return lines_.lineCount(); }
    void clear() { lines_.clear(); }
    CMyLine& lines() { return lines_; }
    const CMyLine& lines() const { return lines_; }

    const unsigned char* record(int column) const;   // null when none
    int recordLength(int column) const { return lines_.lineLength(column); }
    // Copies the stored record (at most MaxRecord bytes) or the default; returns its length.
    int recordOrDefault(int column, char* record) const;
    int width(int column) const;
    int alignment(int column) const;
    int kind(int column) const;
    int colour(int column, int which) const;   // which: 4 text, 5 background
    std::string title(int column) const;

    // Records before `column` are filled with defaults first. 1 ok, 0 failed.
    int setRecord(int column, const char* bytes, int length);
    int setWidth(int column, int width);
    int setKind(int column, int alignment, int kind);
    int setColour(int column, int which, int index);
    int setTitle(int column, const char* text);   // 0, or -1 when over 60 bytes
    // Removes the records of `column` and every column after it.
    void truncate(int column);
    // Default records at first..first+count-1; nothing when the list ends before `first`.
    void insertDefaults(int first, int count);
    void remove(int first, int last);

private:
    CMyLine lines_{1000};
};
