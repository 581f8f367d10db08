// RowReader: walks the attribute records, TABs and text of one row string once.
#include "view/RowReader.h"

namespace {

// Value of an attribute record: the bytes after the kind, least significant first.
int recordValue(const unsigned char* valueBytes, int count) {
    unsigned value = 0;
    for (int k = count - 1; k >= 0; --k) value = (value << 8) | valueBytes[k];
    return static_cast<int>(value);
}

// Notes the colour of a record (length byte first) unless one of its kind was seen already.
void noteRecord(const unsigned char* record, int& back, int& fore) {
    const int n = record[0];
    const int kind = record[1];
    if (kind == 5 && back < 0) back = recordValue(record + 2, n - 1);
    if (kind == 4 && fore < 0) fore = recordValue(record + 2, n - 1);
}

} // namespace

RowReader::RowReader(const char* text, int length)
    : p_(reinterpret_cast<const unsigned char*>(text)), length_(text ? length : 0) {
    readRowAttributes();
}

RowReader::Cell RowReader::cell(int column) {
    Cell cell;
    while (column_ < column && !ended_) skipToNextCell();
    if (ended_ || column_ != column) return cell;
    int i = readRecords(position_, cell.back, cell.fore);
    const int start = i;
    while (i < length_ && p_[i] != '\t' && p_[i] != '\0') ++i;
    cell.text = reinterpret_cast<const char*>(p_ + start);
    cell.length = i - start;
    return cell;
}

void RowReader::readRowAttributes() {
    int i = 0;
    while (i < length_ && p_[i] == 0x07) {
        const int n = i + 1 < length_ ? p_[i + 1] : 0;
        if (n < 1 || n > 5 || i + 1 + n >= length_) {
            ++i;   // not a record: step over the marker byte alone
            continue;
        }
        noteRecord(p_ + i + 1, rowBack_, rowFore_);
        i += 2 + n;
    }
    position_ = i;
    ended_ = i >= length_;
}

// Steps over the attribute records at i, noting the first colours; returns the text start.
int RowReader::readRecords(int i, int& back, int& fore) const {
    while (i < length_ && p_[i] >= 1 && p_[i] <= 5) {
        const int n = p_[i];
        if (i + n >= length_) return length_;   // truncated record: the cell ends here
        noteRecord(p_ + i, back, fore);
        i += 1 + n;
    }
    return i;
}

void RowReader::skipToNextCell() {
    int unusedBack = -1, unusedFore = -1;
    int i = readRecords(position_, unusedBack, unusedFore);
    while (i < length_ && p_[i] != '\t' && p_[i] != '\0') ++i;
    if (i >= length_ || p_[i] != '\t') {
        ended_ = true;
        return;
    }
    position_ = i + 1;
    ++column_;
}
