// EditOutcome: what the window must do after an editing operation has changed (or left) the
// table - the operations never draw, they only say what has to follow.
#pragma once

struct EditOutcome {
    bool render = false;        // draw the grid again
    bool markModified = false;  // the document has unsaved changes now
    bool raiseRanges = false;   // the table may have grown: let the scroll bars reach it
    bool moveCursor = false;    // put the cursor on (column, row)
    int column = 0;
    int row = 0;

    // Nothing changed: refused, declined or nothing to do.
    bool none() const { return !render && !markModified && !raiseRanges && !moveCursor; }
    // The usual result of a change to cell text.
    static EditOutcome changedCells() { return {.render = true, .markModified = true}; }
};
