// RowColumnOperations: inserting and deleting rows and columns, fitting widths, column kinds.
#pragma once

class CMyHyo;

class RowColumnOperations {
public:
    // Empty rows (columns) first..last, one undo step. 1 inserted; 0 nothing to do (first lies
    // beyond the table); -1 refused because the table would pass the grid (message shown).
    static int insertRows(CMyHyo& hyo, int first, int last);
    static int insertColumns(CMyHyo& hyo, int first, int last);
    // 1 deleted, 0 nothing to delete, -1 the user declined going on without undo.
    static int deleteRows(CMyHyo& hyo, int first, int last);
    static int deleteColumns(CMyHyo& hyo, int first, int last);

    // Width of each column first..last from its longest cell text in bytes over every row:
    // charWidth x bytes + 10 pixels, kept to 20..500, stored unscaled. One undo step; the
    // document is not modified by it. 0 done, -1 declined.
    static int fitWidths(CMyHyo& hyo, int first, int last, int charWidth, double scale);
    static int fittedWidth(int longestBytes, int charWidth, double scale);

    // Kind (0 text left-aligned, 1 number right-aligned) of columns first..last, one undo
    // step. 0 done, -1 declined.
    static int setColumnKind(CMyHyo& hyo, int first, int last, int kind);
};
