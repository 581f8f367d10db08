// CellLayout: one cell's drawing as the grid and the printed page share it - the column it sits
// in, the colour indices it is drawn in and the lines of its text.
#pragma once

// One visible column, in drawing order. On the grid the frozen columns come first, then the
// scrolled ones; on a page the page's columns from its first.
struct ColumnSlot {
    int column = 0;
    int x = 0;
    int width = 0;
    // The column right-aligns its one-line cells. The grid takes this from the column's
    // alignment byte; paper from its kind, and there only a cell that reads as a number moves
    // to the right, so that the numbers of a number column line up on the page.
    bool rightAligned = false;
    int textColour = -1;    // colour index, or anything outside 0..31 for none
    int backColour = -1;
    bool afterJump = false; // first column shown after the frozen ones (grid only)
};

// One line of a cell's text, as offsets into the text.
struct CellLine {
    int start = 0;
    int length = 0;
    bool last = false;      // no line break follows
};

// Walks the lines of a cell's text: a line ends at CR, and CR LF counts as one break; text
// ending in a break has an empty last line. Every cell has at least one (last) line.
class CellLayout {
public:
    CellLayout(const char* text, int length) : text_(text), length_(length > 0 ? length : 0) {}

    // Steps to the next line; false once the last line was given.
    bool next(CellLine& line);
    bool oneLine() const;

    // The colour index a cell is drawn in: its own when it has one, else its column's; -1
    // when neither has one and the row's colour (or the default) applies.
    static int colourIndex(int cellIndex, int columnIndex);

private:
    const char* text_;
    int length_;
    int start_ = 0;
    bool done_ = false;
};
