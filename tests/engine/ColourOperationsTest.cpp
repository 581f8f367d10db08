// Colours on cells, whole rows and whole columns, each undone back to the same bytes.
#include "engine/ColourOperations.h"

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "support/ScriptedPrompt.h"

TEST(Colour, WholeRowsTakeTheColourAndDropTheCellsOwn) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fillRows(hyo, {"a\t\x02\x05\x03" "b\t\x02\x04\x01" "c", "d\te", "f"});
    const std::string before = storeBytes(hyo);
    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Rows, {0, 0, 2, 1}, false, 9), 0);
    EXPECT_EQ(storeBytes(hyo), "\x07\x02\x05\x09" "a\tb\t\x02\x04\x01" "c|\x07\x02\x05\x09" "d\te|f|");
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);
    // "なし" removes the row colour as well.
    hyo.setRowAttribute(2, AttrTextColour, 7, 1);
    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Rows, {0, 2, 2, 2}, true, 120), 0);
    EXPECT_EQ(hyo.rowList().line(2), "f");
}

TEST(Colour, WholeColumnsSetTheDefinitionAndCellRangesTheCells) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fillRows(hyo, {"a\t\x02\x05\x03" "b", "c", "d\te\t\x02\x05\x01" "f"});
    const std::string before = storeBytes(hyo);
    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Columns, {1, 0, 2, 2}, false, 4), 0);
    EXPECT_EQ(hyo.columnColour(1, AttrBackColour), 4);
    EXPECT_EQ(hyo.columnColour(2, AttrBackColour), 4);
    EXPECT_EQ(hyo.columnColour(0, AttrBackColour), NoColour);
    EXPECT_EQ(storeBytes(hyo), "a\tb|c|d\te\tf|");
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);
    EXPECT_EQ(hyo.columnCount(), 0);   // the records the colour created are gone again

    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Cells, {0, 1, 1, 1}, true, 2), 0);
    EXPECT_EQ(hyo.rowList().line(1), "\x02\x04\x02" "c\t\x02\x04\x02");
    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Cells, {0, 0, 1, 2}, false, -1), 0);
    EXPECT_EQ(storeBytes(hyo), "a\tb|\x02\x04\x02" "c\t\x02\x04\x02|d\te\t\x02\x05\x01" "f|");
    hyo.undo();
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);
}

TEST(Colour, AWholeColumnOfManyRowsFitsTheJournal) {
    ScriptedPrompt prompt;   // no question may come
    CMyHyo hyo;
    const bool was = hyo.journal().setRecording(false);
    for (int row = 0; row < 200000; ++row) hyo.setRow(row, "v\tw");
    hyo.journal().setRecording(was);
    hyo.setRowAttribute(5, AttrBackColour, 1, 1);
    hyo.setCellAttribute(0, 7, AttrBackColour, 2, 1, 1);
    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Columns, {0, 0, 0, 199999}, false, 3), 0);
    EXPECT_EQ(hyo.cellAttribute(0, 7, AttrBackColour), -1);
    EXPECT_EQ(hyo.rowAttribute(5, AttrBackColour), 1);   // a row colour is not the column's
    hyo.undo();
    EXPECT_EQ(hyo.cellAttribute(0, 7, AttrBackColour), 2);
    EXPECT_EQ(hyo.columnColour(0, AttrBackColour), NoColour);
}
