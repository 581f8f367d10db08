// CardTransfer: moves one data row between the table and the card window's own two-column
// table, and writes the card back as one undo step.
#pragma once

class CMyHyo;

// The card table holds one item per card row: card column 0 the item name (the column title,
// or row 0 of a table without titles), card column 1 the row's value. Card row i is data
// column i.
class CardTransfer {
public:
    static constexpr int ItemColumn = 0;
    static constexpr int ValueColumn = 1;
    static constexpr int MaxCardRows = 999;
    static constexpr int ItemBackground = 8;   // palette index of the item column

    // First data row a card shows: without column titles row 0 holds the item names.
    static int firstRow(const CMyHyo& source);
    // The row shown when `row` is asked for.
    static int shownRow(const CMyHyo& source, int row);
    // Items (data columns) a card of `source` lists.
    static int itemCount(const CMyHyo& source);

    // Empties `card` and gives it column titles and the item column's background.
    static void prepare(CMyHyo& card);
    // Copies data row `row` (colours, then text) into card column `cardColumn`, titles the
    // card column with the one-based row number, and empties the card's journal.
    static void fillValueColumn(CMyHyo& source, CMyHyo& card, int row, int cardColumn);
    // Copies the column titles into the item column and titles it "ヘッダー".
    static void fillTitleColumn(const CMyHyo& source, CMyHyo& card);

    enum WriteStatus {
        Written = 0,        // done, or nothing differed
        TitleTooLong = -1,  // message shown; nothing written
        Declined = -2,      // the user kept the undo history; nothing written
        NoMemory = -3,      // message shown; nothing written
    };
    struct WriteResult {
        int status = Written;
        bool changed = false;   // the table changed (the document becomes modified)
    };
    // Writes the value column into data row `row` and the item column into the titles (or
    // into row 0 without titles), only where the texts differ, as one undo step.
    static WriteResult writeBack(CMyHyo& source, CMyHyo& card, int row);
};
