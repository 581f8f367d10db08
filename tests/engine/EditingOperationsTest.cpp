// The editing operations the window hands its changes to: the commit of an in-cell edit with
// its row height, the header row, and sizes from border drags - each one undo step, each
// saying what the window must do next.
#include "engine/CellEdit.h"
#include "engine/HeaderToggle.h"
#include "engine/SizeChange.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace {

TEST(CellEditTest, EmptyTextOverAnEmptyCellChangesNothing) {
    CMyHyo hyo;
    hyo.setRow(0, "a");
    EXPECT_TRUE(CellEdit::commit(hyo, 3, 5, "", 14, 16, 1.0).none());
    EXPECT_EQ(hyo.rowCount(), 1);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}

TEST(CellEditTest, TextAndTallerRowAreOneUndoStep) {
    CMyHyo hyo;
    hyo.setRow(0, "a\tb");
    const int before = hyo.rowHeight(0);
    // A box of 40 pixels at 200 % needs a row of (40 + 2) / 2 = 21.
    const EditOutcome out = CellEdit::commit(hyo, 1, 0, "x\r\ny", 40, 16, 2.0);
    EXPECT_TRUE(out.render && out.markModified && out.raiseRanges && !out.moveCursor);
    EXPECT_EQ(hyo.cellString(1, 0), "x\r\ny");
    EXPECT_EQ(hyo.rowHeight(0), 21);
    const UndoPosition at = hyo.undo();
    EXPECT_EQ(at.column, 1);
    EXPECT_EQ(at.row, 0);
    EXPECT_EQ(hyo.cellString(1, 0), "b");
    EXPECT_EQ(hyo.rowHeight(0), before);
    EXPECT_EQ(hyo.undo().row, -1);  // nothing else was recorded
}

TEST(CellEditTest, RowHeightKeepsTheCellsOwnAndStaysInRange) {
    CMyHyo hyo;
    hyo.setRow(0, "a");
    hyo.setRowHeight(0, 17);
    // As tall as the cell it was opened on: the stored height stays, whatever the zoom.
    EXPECT_EQ(CellEdit::rowHeight(hyo, 0, 18, 20, 1.1), 17);
    EXPECT_EQ(CellEdit::rowHeight(hyo, 0, 3, 20, 1.0), 10);          // never below ten
    EXPECT_EQ(CellEdit::rowHeight(hyo, 0, 200000, 20, 1.0), 65535);  // 16 bits
    EXPECT_EQ(CellEdit::rowHeight(hyo, 0, 31, 20, 1.5), 22);          // 33 / 1.5 = 22
    // The same height as before: only the text is recorded.
    EXPECT_FALSE(CellEdit::commit(hyo, 0, 0, "b", 15, 20, 1.0).none());
    EXPECT_EQ(hyo.rowHeight(0), 17);
    hyo.undo();
    EXPECT_EQ(hyo.cellString(0, 0), "a");
}

TEST(HeaderToggleTest, TakesTheFirstRowAndGivesItBackByUndo) {
    CMyHyo hyo;
    hyo.setRow(0, "name\tage");
    hyo.setRow(1, "x\t1");
    const EditOutcome out = HeaderToggle::toggle(hyo);
    EXPECT_TRUE(out.render && out.raiseRanges && out.moveCursor && !out.markModified);
    EXPECT_EQ(out.column, 0);
    EXPECT_EQ(out.row, 0);
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(1), "age");
    EXPECT_EQ(hyo.cellString(0, 0), "x");
    hyo.undo();
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.cellString(0, 0), "name");
    EXPECT_TRUE(HeaderToggle::toggle(hyo).moveCursor);
    EXPECT_FALSE(HeaderToggle::toggle(hyo).none());  // and off again
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.cellString(0, 0), "name");
}

TEST(HeaderToggleTest, RefusesEmptyTablesAndTitlesOverSixtyBytes) {
    ScriptedPrompt prompt;
    CMyHyo empty;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_TRUE(HeaderToggle::toggle(empty).none());
    CMyHyo hyo;
    hyo.setRow(0, "ok\t" + std::string(61, 'x'));
    prompt.answer(PromptAnswer::Ok);
    EXPECT_TRUE(HeaderToggle::toggle(hyo).none());
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"ヘッダーに指定する項目がありません。",
                                                        "2列目のサイズが大きすぎます。"}));
    hyo.setRow(0, "ok\t" + std::string(60, 'x'));
    EXPECT_FALSE(HeaderToggle::toggle(hyo).none());
}

TEST(SizeChangeTest, WidthsOfSeveralColumnsAreOneUndoStepAndNotModified) {
    CMyHyo hyo;
    hyo.setRow(0, "a\tb\tc");
    const int before = hyo.columnWidth(1);
    const EditOutcome out = SizeChange::columnWidths(hyo, 0, 1, 123, 4);
    EXPECT_TRUE(out.render && !out.markModified);
    EXPECT_EQ(hyo.columnWidth(0), 123);
    EXPECT_EQ(hyo.columnWidth(1), 123);
    EXPECT_NE(hyo.columnWidth(2), 123);
    const UndoPosition at = hyo.undo();
    EXPECT_EQ(at.row, 4);
    EXPECT_EQ(hyo.columnWidth(1), before);
    EXPECT_TRUE(SizeChange::rowHeights(hyo, 0, 2, 30).render);
    EXPECT_EQ(hyo.rowHeight(2), 30);
}

}  // namespace
