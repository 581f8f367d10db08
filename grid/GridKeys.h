// GridKeys: the view's key down - moves the current cell, extends selections by keys and
// works out how far the grid must scroll, without drawing the grid itself.
#pragma once

#include "view/CMyHyoDraw.h"

class CMyHyo;

// What a key asks of the window. Codes: 0 nothing to scroll; 1 vertical scroll; 2 and 10
// horizontal scroll; 11 both; 3 the data changed; -1 .. -4 not a navigation key (an edit
// starts), with -1 no scroll, -2 horizontal, -3 vertical, -4 both.
struct KeyOutcome {
    int code = 0;
    int firstColumn = 0;
    int topRow = 0;
};

class GridKeys {
public:
    GridKeys(CMyHyo& hyo, CMyHyoDraw& view);

    // Qt key code with the Ctrl and Shift states. Moves the cursor and the selection band
    // (exclusive-or overlay only); the caller scrolls to the returned first column and top row.
    KeyOutcome keyDown(int key, bool ctrl, bool shift);

private:
    struct Cell {
        int column;
        int row;
        bool operator==(const Cell&) const = default;
    };

    void moveUp(Cell& cur, KeyOutcome& out);
    void movePageUp(bool ctrl, Cell& cur, KeyOutcome& out);
    void moveDown(int key, bool ctrl, Cell& cur, KeyOutcome& out);
    void movePageDown(bool ctrl, Cell& cur, KeyOutcome& out);
    void moveRight(Cell& cur, KeyOutcome& out);
    void moveEnd(Cell& cur, KeyOutcome& out);
    void moveLeft(Cell& cur, KeyOutcome& out);
    void moveHome(Cell& cur, KeyOutcome& out);
    void leftEdge(const Cell& cur, KeyOutcome& out);
    void anyOtherKey(const Cell& cur, KeyOutcome& out);
    void crossCheckRows(const Cell& cur, KeyOutcome& out);
    void crossCheckColumns(Cell& cur, KeyOutcome& out);
    void drawAfterMove(bool shift, const Cell& moved, const Cell& oldEnd, bool hadSelection,
                       const Cell& original);
    Cell selectionEndCell() const;

    CMyHyo& hyo;
    CMyHyoDraw& view;
};
