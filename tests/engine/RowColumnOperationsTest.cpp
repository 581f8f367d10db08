// Inserting and deleting rows and columns within the grid, fitted widths and column kinds.
#include "engine/RowColumnOperations.h"

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "support/RowLimitOption.h"
#include "support/ScriptedPrompt.h"

TEST(RowColumn, InsertsStopAtTheGridBeforeChangingAnything) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    const bool was = hyo.journal().setRecording(false);
    hyo.setRow(499997, "last");
    hyo.journal().setRecording(was);
    ASSERT_EQ(hyo.storeRowCount(), 499998);
    EXPECT_EQ(RowColumnOperations::insertRows(hyo, 10, 11), 1);
    EXPECT_EQ(hyo.storeRowCount(), 500000);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(RowColumnOperations::insertRows(hyo, 10, 10), -1);
    EXPECT_EQ(prompt.last().text, "挿入される行が多すぎます。");
    EXPECT_EQ(hyo.storeRowCount(), 500000);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    EXPECT_EQ(RowColumnOperations::deleteRows(hyo, 10, 11), 1);
    EXPECT_EQ(hyo.rowList().line(499997), "last");

    CMyHyo wide;
    fillRows(wide, {std::string(997, '\t') + "z"});
    ASSERT_EQ(wide.widestRowValue(), 998);
    EXPECT_EQ(RowColumnOperations::insertColumns(wide, 0, 0), 1);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(RowColumnOperations::insertColumns(wide, 0, 0), -1);
    EXPECT_EQ(prompt.last().text, "追加される列が多すぎます。");
    EXPECT_EQ(wide.widestRowValue(), 999);
    wide.undo();
    EXPECT_EQ(wide.rowList().line(0), std::string(997, '\t') + "z");
}

TEST(RowColumn, TheRowOptionMovesTheInsertLimit) {
    ScriptedPrompt prompt;
    RowLimitOption option(500003);
    CMyHyo hyo;
    const bool was = hyo.journal().setRecording(false);
    hyo.setRow(499999, "last");
    hyo.journal().setRecording(was);
    EXPECT_EQ(RowColumnOperations::insertRows(hyo, 10, 12), 1);
    EXPECT_EQ(hyo.storeRowCount(), 500003);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(RowColumnOperations::insertRows(hyo, 10, 10), -1);
    EXPECT_EQ(prompt.last().text, "挿入される行が多すぎます。");
    EXPECT_EQ(hyo.rowList().line(500002), "last");
}

TEST(RowColumn, FitWidthsMeasuresEveryRowAndUndoes) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fillRows(hyo, {"ab\t" + std::string(100, 'x'), "abcdef", "\x02\x05\x01" "abcdefgh"});
    hyo.setColumnWidth(2, 77);
    EXPECT_EQ(RowColumnOperations::fitWidths(hyo, 0, 2, 6, 1.0), 0);
    EXPECT_EQ(hyo.columnWidth(0), 58);    // 6 x 8 + 10: records are not text
    EXPECT_EQ(hyo.columnWidth(1), 500);   // 610 pixels, kept to 500
    EXPECT_EQ(hyo.columnWidth(2), 20);    // an empty column
    EXPECT_EQ(RowColumnOperations::fittedWidth(8, 6, 1.5), 38);   // 58 / 1.5
    hyo.undo();
    EXPECT_EQ(hyo.columnWidth(0), 64);
    EXPECT_EQ(hyo.columnWidth(2), 77);
    EXPECT_EQ(hyo.columnCount(), 3);
}

TEST(RowColumn, ColumnKindSetsAlignmentAndKindAsOneStep) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.setColumnWidth(0, 90);
    EXPECT_EQ(RowColumnOperations::setColumnKind(hyo, 0, 1, 1), 0);
    EXPECT_EQ(hyo.columnKind(1), 1);
    EXPECT_EQ(hyo.columnAlignment(0), 1);
    EXPECT_EQ(hyo.columnWidth(0), 90);
    hyo.undo();
    EXPECT_EQ(hyo.columnKind(0), 0);
    EXPECT_EQ(hyo.columnCount(), 1);
}
