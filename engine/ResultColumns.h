// ResultColumns: inserts coloured result columns and fills them, undone as one step.
#pragma once

#include <string>
#include <vector>

class CMyHyo;

// Join, split, compare and group all end the same way: `count` columns are inserted at
// `first` (right of their source columns) with one background colour, and rows receive their
// values. The insertion is the undo step; it also remembers the rows that had to be padded
// up to the new columns, so that undo gives back their exact bytes.
class ResultColumns {
public:
    ResultColumns(CMyHyo& hyo, int first, int count);

    // Before any change: `row` (a view row) will receive text. Rows that end before the new
    // columns are noted.
    void willWrite(int row);
    // Records the step (asking before going on without undo), inserts and colours the
    // columns. False when the user declined or the columns do not fit: nothing changed.
    bool insert(int colourIndex);
    // Writes the values of one row into the new columns in one pass; empty trailing values
    // of a row that ends before the new columns add nothing.
    void write(int row, const std::vector<std::string>& values);
    // Call after the last write: the table's width grows with the rows written.
    void finish();
    // After insert: the step was stored, so undo can take the columns back out.
    bool undoable() const { return undoable_; }

private:
    bool record();

    CMyHyo& hyo_;
    int first_;
    int count_;
    std::vector<int> paddedRows_;
    int widest_ = 0;
    std::string rowBuffer_;
    bool undoable_ = false;
};
