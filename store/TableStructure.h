// TableStructure: the store's row and column inserts and deletes and the header-row switch.
#pragma once

#include "store/CMyHyo.h"

// Works on the store's rows, column records and filter list together and journals what undo
// needs; the store's operations of the same names forward here (see CMyHyo.h for results).
class TableStructure {
public:
    explicit TableStructure(CMyHyo& hyo) : hyo_(hyo) {}

    int insertRows(int first, int last);
    int deleteRows(int first, int last);
    int insertColumns(int first, int last);
    int deleteColumns(int first, int last);
    int clearHeaderForUndo();
    int takeHeaderRow();
    int restoreHeaderRow();

private:
    int recordDeletedRows(int first, int last);
    int recordDeletedColumns(int first, int last);
    int insertCellsInRow(int storeRow, int first, int count);
    int deleteCellsInRow(int storeRow, int first, int last);

    CMyHyo& hyo_;
};
