// SortUndo: a sort as one undo step - the order it gave the rows, and putting them back.
#pragma once

class CMyHyo;
class CMyUndo;
struct UndoEntry;

// The step is an area of kind UndoRowsSorted at (first key column, row 0) holding one data
// record: int32 row count, one byte of bits per row number, then the row numbers packed
// least significant bit first, where the k-th number is the view row that moved to view
// position k. Packing keeps a sort of 100000 rows in 212500 bytes instead of 400000. Undo
// sends each row back; with the filter active the rows move among the filtered store rows,
// which no change between the sort and its undo can have altered (a filter empties the journal).
class SortUndo {
public:
    // Journals the order before the rows move. A sort that moves nothing is no step. When the
    // order does not fit the journal the user is asked whether to go on without undo: false
    // when the answer is No (the sort must not happen), true otherwise.
    static bool record(CMyUndo& journal, int column, const int* order, int count);
    // Puts the rows back in the order they had before the sort (recording is off).
    static void replay(CMyHyo& hyo, const UndoEntry& entry);
};
