// RowFormat: parsing of the row string - row attributes, TAB-separated cells, attribute records.
#pragma once

// A row is bytes with a length: optional row attributes (0x07 + record), then cells separated
// by TAB. A record is a length byte n (1..5) and n bytes: kind, then the value LSB first.
// Record value bytes may be TAB or NUL, so rows are always scanned by length, never to a NUL.
struct CellSpan {
    bool exists = false;
    int start = 0;      // first byte of the cell (its records)
    int textStart = 0;  // first byte after the leading records
    int end = 0;        // the TAB after the cell, or the row length
};

class RowFormat {
public:
    static bool isRecordStart(unsigned char c) { return c >= 1 && c <= 5; }
    // Position after the record starting at `pos` (clamped to the row length).
    static int skipRecord(const char* row, int length, int pos);
    // End of the row attributes.
    static int prefixEnd(const char* row, int length);
    // Next byte below 0x0A (TAB, record length or NUL) at or after `pos`, or the row length.
    static int nextLowByte(const char* row, int length, int pos);
    // The TAB ending the cell that starts at `pos`, or the row length.
    static int cellEnd(const char* row, int length, int pos);
    // First byte after the leading records of the cell [pos, end).
    static int textStart(const char* row, int end, int pos);
    // A row without bytes after its attributes has no cells at all.
    static CellSpan locate(const char* row, int length, int column);
    // Cells by position: TABs + 1, or 0 for a row without cell bytes.
    static int positionalCells(const char* row, int length);
    // Cell count with trailing empty cells dropped, as widestRow counts them.
    static int cellCount(const char* row, int length);
    // Finds the first record of `kind` in [from, to); returns its position or -1.
    static int findRecord(const char* row, int from, int to, int kind);
    // Value of the record at `pos` (LSB first).
    static int recordValue(const char* row, int length, int pos);
    // Writes a new record of the kind the store creates; returns its size.
    static int makeRecord(int kind, int value, char* out);
};
