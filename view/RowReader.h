// RowReader: one left-to-right pass over a stored row string for drawing - the row's colours,
// then each cell's colours and text.
#pragma once

// Record bytes may hold NUL or TAB (a colour index of 0 or 9), so records are stepped over by
// their length and never scanned as text. Damaged input stays inside the row: a 0x07 whose
// length byte is outside 1..5 is skipped alone, a record running past the row's end ends the
// cell there.
class RowReader {
public:
    // text may be null (a row beyond the data); length is in bytes without the NUL.
    RowReader(const char* text, int length);

    // First background (kind 5) and text colour (kind 4) of the row's own records, -1 if none.
    int rowBack() const { return rowBack_; }
    int rowFore() const { return rowFore_; }

    // One cell of the row: its text after the records (up to TAB or NUL) and its first
    // colours. Cells must be asked for in increasing column order; a missing cell is empty.
    struct Cell {
        const char* text = nullptr;
        int length = 0;
        int back = -1;
        int fore = -1;
    };
    Cell cell(int column);

private:
    void readRowAttributes();
    int readRecords(int i, int& back, int& fore) const;
    void skipToNextCell();

    const unsigned char* p_;
    int length_;
    int position_ = 0;
    int column_ = 0;
    bool ended_ = false;
    int rowBack_ = -1;
    int rowFore_ = -1;
};
