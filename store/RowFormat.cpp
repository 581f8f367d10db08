// RowFormat: bounded scanning of row strings; every position stays within the row length.
#include "store/RowFormat.h"

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

int RowFormat::cellEnd(const char* row, int length, int pos) {
    while (pos < length && row[pos] != '\t') {
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
    int index = 0;
    int lastFilled = -1;
    bool lastCellFilled = false;
    while (true) {
        int end = cellEnd(row, length, pos);
        lastCellFilled = end > pos;
        if (lastCellFilled) lastFilled = index;
        if (end >= length) break;
        pos = end + 1;
        ++index;
    }
    // index is now the number of TABs.
    if (lastCellFilled || (index > 0 && lastFilled == index - 1)) return index + 1;
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
