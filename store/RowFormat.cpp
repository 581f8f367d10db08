// RowFormat: bounded scanning of row strings; every position stays within the row length.
#include "store/RowFormat.h"

#include <cstdint>
#include <cstring>

namespace {
constexpr unsigned char kRowAttribute = 0x07;
}

int RowFormat::skipRecord(const char* row, int length, int pos) {
    int next = pos + 1 + static_cast<unsigned char>(row[pos]);
    return next > length ? length : next;
}

int RowFormat::prefixEnd(const char* row, int length) {
    int pos = 0;
    while (pos + 1 < length && static_cast<unsigned char>(row[pos]) == kRowAttribute &&
           isRecordStart(static_cast<unsigned char>(row[pos + 1])))
        pos = skipRecord(row, length, pos + 1);
    return pos;
}

// Position of the next byte below 0x0A (TAB, record lengths and NUL) from `pos`, or `length`.
// Text bytes are almost all above it, so eight bytes are tested at a time.
int RowFormat::nextLowByte(const char* row, int length, int pos) {
    constexpr uint64_t ones = 0x0101010101010101ULL;
    constexpr uint64_t highs = 0x8080808080808080ULL;
    while (pos + 8 <= length) {
        uint64_t word;
        std::memcpy(&word, row + pos, 8);
        if (((word - ones * 0x0A) & ~word & highs) != 0) break;
        pos += 8;
    }
    while (pos < length && static_cast<unsigned char>(row[pos]) >= 0x0A) ++pos;
    return pos;
}

int RowFormat::cellEnd(const char* row, int length, int pos) {
    while ((pos = nextLowByte(row, length, pos)) < length && row[pos] != '\t') {
        if (isRecordStart(static_cast<unsigned char>(row[pos]))) pos = skipRecord(row, length, pos);
        else ++pos;
    }
    return pos;
}

int RowFormat::textStart(const char* row, int end, int pos) {
    while (pos < end && isRecordStart(static_cast<unsigned char>(row[pos]))) pos = skipRecord(row, end, pos);
    return pos;
}

CellSpan RowFormat::locate(const char* row, int length, int column) {
    CellSpan span;
    if (!row || column < 0) return span;
    int pos = prefixEnd(row, length);
    if (pos >= length) return span;
    for (int i = 0; i < column; ++i) {
        pos = cellEnd(row, length, pos);
        if (pos >= length) return span;
        ++pos;  // the TAB
    }
    span.exists = true;
    span.start = pos;
    span.end = cellEnd(row, length, pos);
    span.textStart = textStart(row, span.end, pos);
    return span;
}

int RowFormat::positionalCells(const char* row, int length) {
    if (!row) return 0;
    int pos = prefixEnd(row, length);
    if (pos >= length) return 0;
    int cells = 1;
    while ((pos = cellEnd(row, length, pos)) < length) {
        ++cells;
        ++pos;
    }
    return cells;
}

int RowFormat::cellCount(const char* row, int length) {
    if (!row) return 0;
    int pos = prefixEnd(row, length);
    if (pos >= length) return 0;
    // One pass over the low bytes only: TABs end cells, record lengths are stepped over.
    int tabs = 0;
    int lastFilled = -1;
    int cellStart = pos;
    while ((pos = nextLowByte(row, length, pos)) < length) {
        unsigned char c = static_cast<unsigned char>(row[pos]);
        if (c == '\t') {
            if (pos > cellStart) lastFilled = tabs;
            ++tabs;
            cellStart = ++pos;
        } else if (isRecordStart(c)) {
            pos = skipRecord(row, length, pos);
        } else {
            ++pos;
        }
    }
    bool lastCellFilled = length > cellStart;
    if (lastCellFilled) lastFilled = tabs;
    if (lastCellFilled || (tabs > 0 && lastFilled == tabs - 1)) return tabs + 1;
    return lastFilled + 1;
}

int RowFormat::findRecord(const char* row, int from, int to, int kind) {
    int pos = from;
    while (pos < to && isRecordStart(static_cast<unsigned char>(row[pos]))) {
        if (pos + 1 < to && static_cast<unsigned char>(row[pos + 1]) == kind) return pos;
        pos = skipRecord(row, to, pos);
    }
    return -1;
}

int RowFormat::recordValue(const char* row, int length, int pos) {
    int n = static_cast<unsigned char>(row[pos]);
    int value = 0;
    for (int i = n - 1; i >= 1; --i) {
        int at = pos + 1 + i;
        if (at < length) value = (value << 8) | static_cast<unsigned char>(row[at]);
    }
    return value;
}

int RowFormat::makeRecord(int kind, int value, char* out) {
    out[1] = static_cast<char>(kind);
    if (kind == 11) {
        out[0] = 1;
        return 2;
    }
    if (kind == 100) {
        out[0] = 3;
        out[2] = static_cast<char>(value & 0xFF);
        out[3] = static_cast<char>((value >> 8) & 0xFF);
        return 4;
    }
    out[0] = 2;
    out[2] = static_cast<char>(value & 0xFF);
    return 3;
}
