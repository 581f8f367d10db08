// ColumnRecords: reading and rewriting the fields of a column's record.
#include "store/ColumnRecords.h"

#include <algorithm>
#include <cstring>

#include "store/LittleEndian.h"
#include "store/StoreBounds.h"

namespace {
constexpr int kTextColour = 4;
} // namespace

void ColumnRecords::defaultRecord(char* record) {
    std::memset(record, 0, ColumnRecordSize);
    record[0] = static_cast<char>(DefaultColumnWidth);
    record[10] = static_cast<char>(NoColour);
    record[11] = static_cast<char>(NoColour);
}

const unsigned char* ColumnRecords::record(int column) const {
    if (lines_.lineLength(column) < ColumnRecordSize) return nullptr;
    return reinterpret_cast<const unsigned char*>(lines_.lineText(column));
}

int ColumnRecords::recordOrDefault(int column, char* out) const {
    const unsigned char* stored = record(column);
    if (!stored) {
        defaultRecord(out);
        return ColumnRecordSize;
    }
    int length = std::min(lines_.lineLength(column), MaxRecord);
    std::memcpy(out, stored, length);
    return length;
}

int ColumnRecords::width(int column) const {
    const unsigned char* stored = record(column);
    return stored ? LittleEndian::get32(stored) : DefaultColumnWidth;
}

int ColumnRecords::alignment(int column) const {
    const unsigned char* stored = record(column);
    return stored ? stored[8] : 0;
}

int ColumnRecords::kind(int column) const {
    const unsigned char* stored = record(column);
    return stored ? stored[9] : 0;
}

int ColumnRecords::colour(int column, int which) const {
    const unsigned char* stored = record(column);
    if (!stored) return NoColour;
    return which == kTextColour ? stored[10] : stored[11];
}

std::string ColumnRecords::title(int column) const {
    const unsigned char* stored = record(column);
    if (!stored) return std::string();
    const char* text = reinterpret_cast<const char*>(stored) + ColumnRecordSize;
    int length = lines_.lineLength(column) - ColumnRecordSize;
    int end = 0;
    while (end < length && text[end] != '\0') ++end;
    return std::string(text, end);
}

int ColumnRecords::setRecord(int column, const char* bytes, int length) {
    if (column < 0 || column > StoreBounds::MaxColumn || !bytes) return 0;
    char fill[ColumnRecordSize];
    defaultRecord(fill);
    for (int i = lines_.lineCount(); i < column; ++i)
        if (!lines_.setLine(i, fill, ColumnRecordSize)) return 0;
    return lines_.setLine(column, bytes, length);
}

void ColumnRecords::truncate(int column) {
    for (int i = lines_.lineCount() - 1; i >= std::max(column, 0); --i) lines_.deleteLine(i);
}

int ColumnRecords::setWidth(int column, int width) {
    if (column < 0) return 0;
    char bytes[MaxRecord];
    int length = recordOrDefault(column, bytes);
    LittleEndian::put32(bytes, width);
    return setRecord(column, bytes, length);
}

int ColumnRecords::setKind(int column, int alignment, int kind) {
    if (column < 0) return 0;
    char bytes[MaxRecord];
    int length = recordOrDefault(column, bytes);
    bytes[8] = static_cast<char>(alignment);
    bytes[9] = static_cast<char>(kind);
    return setRecord(column, bytes, length);
}

int ColumnRecords::setColour(int column, int which, int index) {
    if (column < 0) return 0;
    char bytes[MaxRecord];
    int length = recordOrDefault(column, bytes);
    bytes[which == kTextColour ? 10 : 11] = static_cast<char>(index);
    return setRecord(column, bytes, length);
}

int ColumnRecords::setTitle(int column, const char* text) {
    if (column < 0) return -1;
    int titleBytes = text ? static_cast<int>(std::strlen(text)) : 0;
    if (titleBytes > MaxColumnTitle) return -1;
    char bytes[MaxRecord];
    recordOrDefault(column, bytes);
    int length = ColumnRecordSize;
    if (titleBytes > 0) {
        std::memcpy(bytes + ColumnRecordSize, text, titleBytes);
        bytes[ColumnRecordSize + titleBytes] = '\0';
        length += titleBytes + 1;
    }
    return setRecord(column, bytes, length) ? 0 : -1;
}

void ColumnRecords::insertDefaults(int first, int count) {
    if (lines_.lineCount() <= first || !lines_.insertLines(first, count)) return;
    char fill[ColumnRecordSize];
    defaultRecord(fill);
    for (int i = 0; i < count; ++i) lines_.setLine(first + i, fill, ColumnRecordSize);
}

void ColumnRecords::remove(int first, int last) {
    for (int column = std::min(last, lines_.lineCount() - 1); column >= first; --column)
        lines_.deleteLine(column);
}
