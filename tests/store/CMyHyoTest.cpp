// Tests of CMyHyo: cells, attributes, row heights, zoom, column records, structure and filter map.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/MemoryHook.h"
#include "support/ScriptedPrompt.h"

namespace {
const char* const kTooMuch = "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？";

void fill(CMyHyo& hyo, std::initializer_list<std::string> lines) {
    int row = 0;
    for (const std::string& line : lines) hyo.setRow(row++, line);
}

std::string colourRecord(int kind, int value) { return std::string{2, static_cast<char>(kind), static_cast<char>(value)}; }
} // namespace

TEST(CMyHyoCells, WritingBeyondTheLastCellPadsTheRow) {
    CMyHyo hyo;
    fill(hyo, {"a\tb"});
    EXPECT_EQ(hyo.setCell(5, 0, "x"), 1);
    EXPECT_EQ(hyo.rowString(0), "a\tb\t\t\t\tx");
    EXPECT_EQ(hyo.cellString(5, 0), "x");
    EXPECT_EQ(hyo.cellString(3, 0), "");
    EXPECT_EQ(hyo.widestRowValue(), 6);
    hyo.setCell(2, 3, "far");  // rows 1 and 2 appear empty
    EXPECT_EQ(hyo.rowCount(), 4);
    EXPECT_EQ(hyo.rowString(3), "\t\tfar");
}

TEST(CMyHyoCells, OutOfRangeReadsAreEmptyAndNegativeWritesIgnored) {
    CMyHyo hyo;
    fill(hyo, {"a"});
    EXPECT_EQ(hyo.seekCell(4, 0), 0);
    EXPECT_STREQ(hyo.cellText(), "");
    EXPECT_EQ(hyo.seekCell(0, 7), 0);
    EXPECT_EQ(hyo.seekCell(-1, 0), 0);
    EXPECT_EQ(hyo.rowText(-1), nullptr);
    EXPECT_EQ(hyo.rowLength(50), 0);
    EXPECT_EQ(hyo.columnWidth(-4), 64);
    EXPECT_EQ(hyo.rowHeight(99), 16);
    EXPECT_EQ(hyo.setCell(0, -1, "x"), 0);
    EXPECT_EQ(hyo.setCell(-1, 0, "x"), 0);
    EXPECT_EQ(hyo.setRow(-2, "x"), 0);
    EXPECT_EQ(hyo.setRowHeight(-1, 30), 0);
    EXPECT_EQ(hyo.setCell(2000000000, 0, "x"), 0);
    EXPECT_EQ(hyo.rowString(0), "a");
    EXPECT_EQ(hyo.rowCount(), 1);
}

TEST(CMyHyoCells, SetCellKeepsAttributesAndStopsAtTab) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc"});
    hyo.setCellAttribute(1, 0, AttrBackColour, 3, 1, 1);
    hyo.setCell(1, 0, "new\tignored");
    EXPECT_EQ(hyo.rowString(0), "a\t" + colourRecord(5, 3) + "new\tc");
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), 3);
    hyo.seekCell(1, 0);
    EXPECT_EQ(std::string(hyo.cellText(), hyo.cellTextLength()), "new");
    EXPECT_EQ(hyo.cellRawLength(), 6);
}

TEST(CMyHyoCells, RecordBytesInNewTextCannotMergeCells) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc"});
    hyo.setCell(0, 0, "x\x05");           // would swallow the TAB and cell 1
    hyo.setCellBytes(1, 0, "\x01\x02y", 3);
    EXPECT_EQ(hyo.rowString(0), "x?\t??y\tc");
    EXPECT_EQ(hyo.cellCount(0), 3);
    EXPECT_EQ(hyo.cellString(2, 0), "c");
}

TEST(CMyHyoCells, AttributeValuesThatLookLikeTabOrNulDoNotSplitCells) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc"});
    hyo.setCellAttribute(0, 0, AttrTextColour, 9, 1, 1);   // the value byte is a TAB
    hyo.setCellAttribute(1, 0, AttrBackColour, 0, 1, 1);   // the value byte is a NUL
    hyo.setCellAttribute(1, 0, AttrMarker, 0, 1, 1);
    EXPECT_EQ(hyo.cellString(0, 0), "a");
    EXPECT_EQ(hyo.cellString(1, 0), "b");
    EXPECT_EQ(hyo.cellString(2, 0), "c");
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrTextColour), 9);
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), 0);
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrMarker), 0);
    EXPECT_EQ(hyo.cellCount(0), 3);
    hyo.setCellAttribute(1, 0, AttrBackColour, 7, 1, 1);  // replaces, never duplicates
    EXPECT_EQ(hyo.cellRawString(1, 0), colourRecord(5, 7) + "\x01\x0b" + "b");
    hyo.setCellAttribute(1, 0, AttrMarker, 0, 0, 1);
    EXPECT_EQ(hyo.cellRawString(1, 0), colourRecord(5, 7) + "b");
    hyo.clearCellAttributes(0, 0);
    EXPECT_EQ(hyo.rowString(0), "a\t" + colourRecord(5, 7) + "b\tc");
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrTextColour), -1);
}

TEST(CMyHyoCells, RemovingAnAttributeOfAMissingCellDoesNotGrowTheRow) {
    CMyHyo hyo;
    fill(hyo, {"a"});
    hyo.setCellAttribute(4, 0, AttrBackColour, 0, 0, 1);
    hyo.clearCellAttributes(3, 0);
    EXPECT_EQ(hyo.rowString(0), "a");
}

TEST(CMyHyoCells, CellCountIgnoresTrailingEmptyCellsExceptOneAfterText) {
    CMyHyo hyo;
    fill(hyo, {"a\tb", "a\tb\t", "a\t\t", "", "\t\t", "\t\tz"});
    EXPECT_EQ(hyo.cellCount(0), 2);
    EXPECT_EQ(hyo.cellCount(1), 3);
    EXPECT_EQ(hyo.cellCount(2), 1);
    EXPECT_EQ(hyo.cellCount(3), 0);
    EXPECT_EQ(hyo.cellCount(4), 0);
    EXPECT_EQ(hyo.cellCount(5), 3);
    EXPECT_EQ(hyo.widestRowCount(), 3);
}

TEST(CMyHyoCells, WorkBufferFailureShowsTheMessageAndKeepsTheRow) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    CMyHyo hyo;
    fill(hyo, {"short"});
    hyo.journal().setRecording(false);
    std::string big(50000, 'w');
    MemoryHook::failAll(true);
    EXPECT_EQ(hyo.setCell(0, 0, big.c_str()), 0);
    MemoryHook::failAll(false);
    EXPECT_EQ(prompt.last().text, "CMyHyoにて領域確保に失敗しました。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(hyo.rowString(0), "short");
    EXPECT_EQ(hyo.setCell(0, 0, "fine"), 1);  // the old buffer still serves small edits
    EXPECT_EQ(hyo.rowString(0), "fine");
}

TEST(CMyHyoRows, RowAttributesAndHeights) {
    CMyHyo hyo;
    fill(hyo, {"a\tb"});
    hyo.setRowAttribute(0, AttrBackColour, 2, 1);
    hyo.setRowHeight(0, 40);
    EXPECT_EQ(hyo.rowAttribute(0, AttrBackColour), 2);
    EXPECT_EQ(hyo.rowHeight(0), 40);
    EXPECT_EQ(hyo.cellString(1, 0), "b");
    hyo.setRowHeight(0, 300);  // rewritten in place, 16 bits
    EXPECT_EQ(hyo.rowHeight(0), 300);
    EXPECT_EQ(hyo.rowString(0).substr(0, 3), "\x07\x02\x05");
    hyo.setRowHeight(0, 16);  // the default needs no record
    EXPECT_EQ(hyo.rowString(0), std::string("\x07\x02\x05\x02", 4) + "a\tb");
    hyo.setRowAttribute(0, AttrBackColour, 0, 0);
    EXPECT_EQ(hyo.rowString(0), "a\tb");
    EXPECT_EQ(hyo.rowHeight(0), 16);
}

TEST(CMyHyoRows, ZoomBelowFiftyIsIgnoredAndSizesScaleByTruncation) {
    CMyHyo hyo;
    hyo.setZoomPercent(40);
    EXPECT_DOUBLE_EQ(hyo.zoomFactor(), 1.0);
    hyo.setZoomPercent(150);
    EXPECT_DOUBLE_EQ(hyo.zoomFactor(), 1.5);
    EXPECT_EQ(hyo.scaledRowHeight(0), 24);
    EXPECT_EQ(hyo.scaledColumnWidth(3), 96);
    hyo.setZoomPercent(75);
    // 15 scales to 11, which does not map back to 15, so the value is taken one up: 12.
    EXPECT_EQ(hyo.scaled(15), 12);
    EXPECT_EQ(hyo.scaled(16), 12);
}

TEST(CMyHyoRows, ExtremeSizesAndRangesStayBounded) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.journal().setRecording(false);
    hyo.setColumnWidth(0, 2147483647);  // as a damaged colour file may hold
    hyo.setColumnWidth(1, -2147483647 - 1);
    hyo.journal().setRecording(true);
    hyo.setZoomPercent(150);
    EXPECT_EQ(hyo.scaledColumnWidth(0), 2147483647);
    EXPECT_EQ(hyo.scaledColumnWidth(1), -2147483647 - 1);
    hyo.setZoomPercent(50);
    EXPECT_EQ(hyo.scaledColumnWidth(0), 1073741824);

    // A range to the int limit is not walked to the end: the journal gives up, the user
    // declines, nothing changes.
    hyo.setRow(0, "a");
    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(hyo.setRowHeights(0, 2147483647, 30), -1);
    EXPECT_EQ(prompt.last().text, kTooMuch);
    EXPECT_EQ(hyo.rowHeight(0), 16);
    EXPECT_EQ(hyo.storeRowCount(), 1);
    EXPECT_EQ(hyo.insertRows(0, 2147483647), 0);
    EXPECT_EQ(hyo.storeRowCount(), 1);
}

TEST(CMyHyoColumns, RecordsTitlesAndDefaults) {
    CMyHyo hyo;
    EXPECT_EQ(hyo.columnRecord(2), nullptr);
    EXPECT_EQ(hyo.columnTitle(2), "");
    hyo.setColumnWidth(2, 120);
    EXPECT_EQ(hyo.columnCount(), 3);  // defaults appended up to the column
    EXPECT_EQ(hyo.columnWidth(0), 64);
    EXPECT_EQ(hyo.columnColour(0, AttrBackColour), NoColour);
    EXPECT_EQ(hyo.columnWidth(2), 120);
    hyo.setColumnKind(2, 1, 1);
    hyo.setColumnColour(2, AttrTextColour, 4);
    EXPECT_EQ(hyo.setColumnTitle(2, "名前"), 0);
    EXPECT_EQ(hyo.columnTitle(2), "名前");
    EXPECT_EQ(hyo.columnAlignment(2), 1);
    EXPECT_EQ(hyo.columnKind(2), 1);
    EXPECT_EQ(hyo.columnColour(2, AttrTextColour), 4);
    EXPECT_EQ(hyo.columnWidth(2), 120);
    std::string sixtyOne(61, 't');
    EXPECT_EQ(hyo.setColumnTitle(2, sixtyOne.c_str()), -1);
    EXPECT_EQ(hyo.columnTitle(2), "名前");
    EXPECT_EQ(hyo.setColumnTitle(2, sixtyOne.substr(1).c_str()), 0);
    EXPECT_EQ(hyo.columnTitle(2).size(), 60u);
}

TEST(CMyHyoStructure, DeletingRowsInReverseOrderDeletesTheRange) {
    CMyHyo hyo;
    fill(hyo, {"0", "1", "2", "3", "4"});
    hyo.journal().setRecording(false);
    hyo.deleteRows(3, 1);
    ASSERT_EQ(hyo.rowCount(), 2);
    EXPECT_EQ(hyo.rowString(0), "0");
    EXPECT_EQ(hyo.rowString(1), "4");
}

TEST(CMyHyoStructure, InsertRowsOnlyInsideTheTable) {
    CMyHyo hyo;
    fill(hyo, {"0", "1"});
    EXPECT_EQ(hyo.insertRows(2, 1), 1);
    EXPECT_EQ(hyo.rowCount(), 4);
    EXPECT_EQ(hyo.rowString(3), "1");
    EXPECT_EQ(hyo.insertRows(10, 12), 0);
    EXPECT_EQ(hyo.rowCount(), 4);
}

TEST(CMyHyoStructure, InsertAndDeleteColumnsShiftCellsAndRecords) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc", "x", ""});
    hyo.setColumnWidth(1, 99);
    hyo.insertColumns(1, 2);
    EXPECT_EQ(hyo.rowString(0), "a\t\t\tb\tc");
    EXPECT_EQ(hyo.rowString(1), "x");  // shorter rows stay as they are
    EXPECT_EQ(hyo.rowString(2), "");
    EXPECT_EQ(hyo.columnWidth(3), 99);
    EXPECT_EQ(hyo.columnWidth(1), 64);
    EXPECT_EQ(hyo.widestRowValue(), 5);
    hyo.deleteColumns(3, 1);
    EXPECT_EQ(hyo.rowString(0), "a\tc");
    EXPECT_EQ(hyo.columnCount(), 1);
    hyo.deleteColumns(1, 5);
    EXPECT_EQ(hyo.rowString(0), "a");
    EXPECT_EQ(hyo.widestRowValue(), 1);
}

TEST(CMyHyoStructure, HeaderRowBecomesTitlesAndComesBack) {
    CMyHyo hyo;
    // A cell longer than 60 bytes cannot become a title whole: row 0 stays data.
    fill(hyo, {"id\tname\t" + std::string(61, 'L'), "1\tfoo"});
    EXPECT_EQ(hyo.takeHeaderRow(), 0);
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.rowCount(), 2);
    EXPECT_EQ(hyo.columnTitle(0), "");

    hyo.setCell(2, 0, std::string(60, 'L').c_str());
    EXPECT_EQ(hyo.takeHeaderRow(), 1);
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.rowCount(), 1);
    EXPECT_EQ(hyo.columnTitle(1), "name");
    EXPECT_EQ(hyo.columnTitle(2), std::string(60, 'L'));
    hyo.restoreHeaderRow();
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.rowString(0), "id\tname\t" + std::string(60, 'L'));
    EXPECT_EQ(hyo.columnTitle(0), "");
    EXPECT_EQ(hyo.rowString(1), "1\tfoo");

    // Titles as a damaged colour file may hold them come back as one cell each.
    hyo.setColumnTitle(0, "a\tb");
    hyo.setColumnTitle(1, "\x02\x05x");
    hyo.takeHeaderRow();
    hyo.setColumnTitle(0, "a\tb");
    hyo.setColumnTitle(1, "\x02\x05x");
    hyo.restoreHeaderRow();
    EXPECT_EQ(hyo.rowString(0), "a?b\t??x\t" + std::string(60, 'L'));
}

TEST(CMyHyoFilter, ViewRowsMapToStoreRowsForReadsAndWrites) {
    CMyHyo hyo;
    fill(hyo, {"r0", "r1", "r2", "r3"});
    hyo.addFilterRow(1);
    hyo.addFilterRow(3);
    hyo.setFilterActive(true);
    EXPECT_EQ(hyo.rowCount(), 2);
    EXPECT_EQ(hyo.rowString(1), "r3");
    hyo.setCell(0, 0, "R1");
    hyo.setCell(0, 3, "new");  // past the list: appended store rows join the filter
    EXPECT_EQ(hyo.rowCount(), 4);
    EXPECT_EQ(hyo.storeRowCount(), 6);
    EXPECT_EQ(hyo.filterStoreRow(3), 5);
    hyo.setFilterActive(false);
    EXPECT_EQ(hyo.rowString(1), "R1");
    EXPECT_EQ(hyo.rowString(5), "new");
    EXPECT_EQ(hyo.rowString(4), "");
}

TEST(CMyHyoFilter, InsertAndDeleteRenumberTheLaterEntries) {
    CMyHyo hyo;
    fill(hyo, {"r0", "r1", "r2", "r3", "r4"});
    for (int row : {0, 2, 4}) hyo.addFilterRow(row);
    hyo.setFilterActive(true);
    hyo.insertRows(1, 2);  // before store row 2
    EXPECT_EQ(hyo.rowCount(), 5);
    EXPECT_EQ(hyo.filterStoreRow(1), 2);
    EXPECT_EQ(hyo.filterStoreRow(3), 4);
    EXPECT_EQ(hyo.filterStoreRow(4), 6);
    EXPECT_EQ(hyo.rowString(3), "r2");
    hyo.journal().setRecording(false);
    hyo.deleteRows(3, 4);  // store rows 4 and 6
    EXPECT_EQ(hyo.rowCount(), 3);
    EXPECT_EQ(hyo.storeRowCount(), 5);
    EXPECT_EQ(hyo.filterStoreRow(2), 3);
    hyo.setFilterActive(false);
    EXPECT_EQ(hyo.rowString(3), "");
    EXPECT_EQ(hyo.rowString(4), "r3");
}

TEST(CMyHyoFilter, FilterListFailureShowsTheMessageAndSwitchesOff) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    CMyHyo hyo;
    fill(hyo, {"a"});
    MemoryHook::failAll(true);
    EXPECT_EQ(hyo.addFilterRow(0), -1);
    MemoryHook::failAll(false);
    EXPECT_EQ(prompt.last().text, "抽出用の領域確保に失敗しました。");
    EXPECT_FALSE(hyo.isFiltered());
}

TEST(CMyHyoStructure, LargeDeleteAsksAndNoLeavesEverything) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.journal().setLimit(1000);
    hyo.journal().setRecording(false);
    for (int row = 0; row < 50; ++row) hyo.setRow(row, std::string(40, 'a' + row % 26));
    hyo.journal().setRecording(true);
    hyo.setCell(0, 0, "edit");
    ASSERT_EQ(hyo.journal().entryCount(), 1);
    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(hyo.deleteRows(0, 49), -1);
    EXPECT_EQ(prompt.last().text, kTooMuch);
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(hyo.rowCount(), 50);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    EXPECT_TRUE(hyo.journal().recording());

    prompt.answer(PromptAnswer::Yes);
    hyo.deleteRows(0, 49);
    EXPECT_EQ(hyo.rowCount(), 0);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
    EXPECT_TRUE(hyo.journal().recording());
}

TEST(CMyHyoStructure, ColumnListRoundTripsThroughTheColourFileBlock) {
    CMyHyo hyo;
    hyo.setColumnWidth(0, 80);
    hyo.setColumnTitle(1, "t");
    std::FILE* file = std::tmpfile();
    EXPECT_EQ(hyo.writeColumns(file), 2);
    std::rewind(file);
    CMyHyo back;
    back.setCell(0, 0, "x");
    EXPECT_EQ(back.readColumns(file), 2);
    std::fclose(file);
    EXPECT_EQ(back.columnWidth(0), 80);
    EXPECT_EQ(back.columnTitle(1), "t");
    EXPECT_EQ(back.journal().entryCount(), 0);
}

// The filter condition keeps up to 100 bytes and never half of a double-byte character.
TEST(CMyHyoFilter, ConditionTextKeepsWholeCharacters) {
    CMyHyo hyo;
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty += "\x95\x5C";   // 表 x 50: 100 bytes
    hyo.setFilterCondition(1, fifty.c_str(), 3);
    EXPECT_EQ(std::string(hyo.filterTextValue()), fifty);
    const std::string across = std::string(99, 'a') + "\x95\x5C";
    hyo.setFilterCondition(1, across.c_str(), 3);
    EXPECT_EQ(std::string(hyo.filterTextValue()), std::string(99, 'a'));
    hyo.setFilterCondition(1, (std::string(120, 'b')).c_str(), 3);
    EXPECT_EQ(std::string(hyo.filterTextValue()), std::string(100, 'b'));
    hyo.setFilterCondition(1, nullptr, 3);
    EXPECT_EQ(std::string(hyo.filterTextValue()), "");
}
