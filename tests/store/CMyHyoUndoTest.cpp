// Tests of the undo replay for each kind of change the store journals.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/UndoArea.h"
#include "support/ScriptedPrompt.h"

namespace {
void fill(CMyHyo& hyo, std::initializer_list<std::string> lines) {
    bool was = hyo.journal().setRecording(false);
    int row = 0;
    for (const std::string& line : lines) hyo.setRow(row++, line);
    hyo.journal().setRecording(was);
}

std::string allRows(CMyHyo& hyo) {
    std::string out;
    for (int i = 0; i < hyo.storeRowCount(); ++i) out += hyo.rowList().line(i) + "|";
    return out;
}
} // namespace

TEST(CMyHyoUndo, CellTextEditsUndoOneByOneAndReturnThePosition) {
    CMyHyo hyo;
    fill(hyo, {"a\tb", "c"});
    hyo.setCellAttribute(1, 0, AttrBackColour, 4, 1, 1);
    hyo.setCell(1, 0, "B");
    hyo.setCell(0, 1, "C");
    UndoPosition position = hyo.undo();
    EXPECT_EQ(position.column, 0);
    EXPECT_EQ(position.row, 1);
    EXPECT_EQ(hyo.cellString(0, 1), "c");
    hyo.undo();
    EXPECT_EQ(hyo.cellString(1, 0), "b");
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), 4);  // colours are not touched
    position = hyo.undo();
    EXPECT_EQ(position.column, -1);
    EXPECT_EQ(position.row, -1);
}

TEST(CMyHyoUndo, AttributeRowHeightAndRowColourChanges) {
    CMyHyo hyo;
    fill(hyo, {"a\tb"});
    hyo.setCellAttribute(0, 0, AttrTextColour, 3, 1, 0);
    hyo.setCellAttribute(0, 0, AttrTextColour, 0, 0, 0);
    hyo.setRowHeight(0, 33);
    hyo.journalRowAttribute(0, AttrBackColour);
    hyo.setRowAttribute(0, AttrBackColour, 6, 1);
    hyo.undo();
    EXPECT_EQ(hyo.rowAttribute(0, AttrBackColour), -1);
    hyo.undo();
    EXPECT_EQ(hyo.rowHeight(0), 16);
    hyo.undo();
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrTextColour), 3);
    hyo.undo();
    EXPECT_EQ(hyo.rowString(0), "a\tb");
}

TEST(CMyHyoUndo, RowHeightsOfARangeAreOneStep) {
    CMyHyo hyo;
    fill(hyo, {"0", "1", "2", "3"});
    hyo.journal().setRecording(false);
    hyo.setRowHeight(2, 50);
    hyo.journal().setRecording(true);
    EXPECT_EQ(hyo.setRowHeights(3, 1, 20), 0);
    EXPECT_EQ(hyo.rowHeight(1), 20);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(hyo.rowHeight(1), 16);
    EXPECT_EQ(hyo.rowHeight(2), 50);
    EXPECT_EQ(hyo.rowHeight(3), 16);
}

TEST(CMyHyoUndo, ZeroHeightInTheJournalIsReportedAndBecomesSixteen) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    CMyHyo hyo;
    fill(hyo, {"a"});
    hyo.journal().recordRowHeight(0, 0);
    hyo.journal().setRecording(false);
    hyo.setRowHeight(0, 70);
    hyo.journal().setRecording(true);
    hyo.undo();
    EXPECT_EQ(prompt.last().text, "不正な高さを返しました");
    EXPECT_EQ(hyo.rowHeight(0), 16);
}

TEST(CMyHyoUndo, RowInsertAndDeleteComeBack) {
    CMyHyo hyo;
    fill(hyo, {"r0", "r1", "r2", "r3"});
    hyo.insertRows(1, 2);
    hyo.deleteRows(3, 4);
    EXPECT_EQ(allRows(hyo), "r0|||r3|");
    hyo.undo();
    EXPECT_EQ(allRows(hyo), "r0|||r1|r2|r3|");
    hyo.undo();
    EXPECT_EQ(allRows(hyo), "r0|r1|r2|r3|");
    hyo.deleteRows(2, 3);  // the end of the table
    hyo.undo();
    EXPECT_EQ(allRows(hyo), "r0|r1|r2|r3|");
}

TEST(CMyHyoUndo, ColumnInsertDeleteAndDefinitionsComeBack) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc\td", "x\ty", "", "p"});
    hyo.setCellAttribute(2, 0, AttrBackColour, 9, 1, 1);
    hyo.journal().setRecording(false);
    hyo.setColumnWidth(1, 70);
    hyo.setColumnTitle(2, "T");
    hyo.journal().setRecording(true);
    std::string before = allRows(hyo);
    hyo.insertColumns(1, 1);
    hyo.deleteColumns(1, 3);
    EXPECT_EQ(allRows(hyo), "a\td|x||p|");
    hyo.undo();
    EXPECT_EQ(hyo.columnWidth(2), 70);
    EXPECT_EQ(hyo.columnTitle(3), "T");
    hyo.undo();
    EXPECT_EQ(allRows(hyo), before);
    EXPECT_EQ(hyo.columnWidth(1), 70);
    EXPECT_EQ(hyo.columnTitle(2), "T");
    EXPECT_EQ(hyo.columnCount(), 3);
}

TEST(CMyHyoUndo, ColumnWidthAndRecordEntries) {
    CMyHyo hyo;
    hyo.journal().setRecording(false);
    hyo.setColumnWidth(0, 90);
    hyo.journal().setRecording(true);
    {
        UndoArea area(hyo.journal(), UndoColumnWidth, 0, 0, -1, 3, -1);
        for (int column = 0; column <= 3; ++column) hyo.journalColumnRecord(column);
        ASSERT_TRUE(area.commit());
        for (int column = 0; column <= 3; ++column) hyo.setColumnWidth(column, 10);
    }
    hyo.journalColumnRecord(0);
    hyo.setColumnKind(0, 1, 1);
    hyo.undo();
    EXPECT_EQ(hyo.columnKind(0), 0);
    hyo.undo();
    EXPECT_EQ(hyo.columnWidth(0), 90);
    EXPECT_EQ(hyo.columnCount(), 1);  // definitions that did not exist are gone again
}

TEST(CMyHyoUndo, HeaderSwitchOnAndOffAreUndone) {
    CMyHyo hyo;
    fill(hyo, {"id\tname", "1\tx"});
    hyo.setColumnWidth(0, 80);
    ASSERT_EQ(hyo.clearHeaderForUndo(), 0);
    hyo.takeHeaderRow();
    ASSERT_EQ(hyo.clearHeaderForUndo(), 0);
    hyo.restoreHeaderRow();
    hyo.setCell(0, 0, "ID");
    hyo.undo();
    hyo.undo();  // header back on
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(1), "name");
    EXPECT_EQ(allRows(hyo), "1\tx|");
    hyo.undo();  // header off again, row 0 as it was
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(allRows(hyo), "id\tname|1\tx|");
    EXPECT_EQ(hyo.columnTitle(1), "");
    EXPECT_EQ(hyo.columnWidth(0), 80);
}

TEST(CMyHyoUndo, ColumnDeletionInAFilteredTableRestoresEveryRow) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc", "d\te\tf", "g\th\ti"});
    hyo.addFilterRow(1);
    hyo.setFilterActive(true);
    hyo.deleteColumns(1, 1);
    EXPECT_EQ(allRows(hyo), "a\tc|d\tf|g\ti|");
    hyo.undo();
    EXPECT_EQ(allRows(hyo), "a\tb\tc|d\te\tf|g\th\ti|");
    EXPECT_TRUE(hyo.isFiltered());
    EXPECT_EQ(hyo.rowCount(), 1);
}

TEST(CMyHyoUndo, FilteredRowDeletionPutsRowsBackBetweenHiddenOnes) {
    CMyHyo hyo;
    fill(hyo, {"A", "b", "C", "d", "E"});
    for (int row : {0, 2, 4}) hyo.addFilterRow(row);
    hyo.setFilterActive(true);
    hyo.deleteRows(0, 1);
    EXPECT_EQ(allRows(hyo), "b|d|E|");
    hyo.undo();
    EXPECT_EQ(allRows(hyo), "A|b|C|d|E|");
    ASSERT_EQ(hyo.rowCount(), 3);
    EXPECT_EQ(hyo.filterStoreRow(0), 0);
    EXPECT_EQ(hyo.filterStoreRow(1), 2);
    EXPECT_EQ(hyo.filterStoreRow(2), 4);
}

TEST(CMyHyoUndo, AreaOfCellTextsIsOneStep) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc", "d\te\tf"});
    {
        UndoArea area(hyo.journal(), UndoCellText, 0, 1, 0, 2, 1);
        for (int row = 0; row <= 1 && area.collecting(); ++row) {
            for (int column = 1; column <= 2; ++column) hyo.setCell(column, row, nullptr);
            area.nextRow();
        }
        ASSERT_TRUE(area.commit());
        for (int row = 0; row <= 1; ++row)
            for (int column = 1; column <= 2; ++column) hyo.setCell(column, row, "z");
    }
    EXPECT_EQ(allRows(hyo), "a\tz\tz|d\tz\tz|");
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(allRows(hyo), "a\tb\tc|d\te\tf|");
}

TEST(CMyHyoUndo, ResetAndColumnReadingEmptyTheJournal) {
    CMyHyo hyo;
    hyo.setCell(0, 0, "x");
    hyo.reset();
    EXPECT_EQ(hyo.journal().entryCount(), 0);
    EXPECT_EQ(hyo.rowCount(), 0);
}

TEST(CMyHyoUndo, WritesBeyondTheEndLeaveNoPaddingAfterUndo) {
    CMyHyo hyo;
    fill(hyo, {"a\tb", "c"});
    hyo.setCell(4, 0, "x");
    hyo.setCellAttribute(3, 1, AttrBackColour, 2, 1, 0);
    hyo.setCell(1, 5, "far");
    hyo.setRowHeight(7, 40);
    EXPECT_EQ(hyo.storeRowCount(), 8);
    for (int i = 0; i < 4; ++i) hyo.undo();
    EXPECT_EQ(allRows(hyo), "a\tb|c|");
    EXPECT_EQ(hyo.widestRowValue(), 2);
}

TEST(CMyHyoUndo, FilteredWritesPastTheListAreRemovedByUndo) {
    CMyHyo hyo;
    fill(hyo, {"r0", "r1", "r2"});
    hyo.addFilterRow(1);
    hyo.setFilterActive(true);
    hyo.setCell(0, 2, "new");
    EXPECT_EQ(hyo.rowCount(), 3);
    hyo.undo();
    EXPECT_EQ(hyo.rowCount(), 1);
    EXPECT_EQ(allRows(hyo), "r0|r1|r2|");
}

TEST(CMyHyoUndo, RemovedOrReplacedMarkerComesBack) {
    CMyHyo hyo;
    fill(hyo, {"a\tb"});
    hyo.journal().setRecording(false);
    hyo.setCellAttribute(1, 0, AttrMarker, 0, 1, 1);
    hyo.journal().setRecording(true);
    const std::string marked = hyo.rowString(0);
    ASSERT_EQ(hyo.setCellAttribute(1, 0, AttrMarker, 0, 0, 0), 1);
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrMarker), -1);
    hyo.undo();
    EXPECT_EQ(hyo.rowString(0), marked);

    // Recorded inside an area (journal only), then removed with recording off.
    {
        UndoArea area(hyo.journal(), UndoCellAttribute, AttrMarker, 0, 0, 1, 0);
        for (int column = 0; column <= 1; ++column)
            hyo.setCellAttribute(column, 0, AttrMarker, 0, 0, -1);
        ASSERT_TRUE(area.commit());
        for (int column = 0; column <= 1; ++column) hyo.setCellAttribute(column, 0, AttrMarker, 0, 0, 1);
    }
    EXPECT_EQ(hyo.rowString(0), "a\tb");
    hyo.undo();
    EXPECT_EQ(hyo.rowString(0), marked);
}

namespace {
// Sub-records of a popped entry, each as "d:<bytes>" for data or "m<marker>[,kind]" for a marker.
std::vector<std::string> subRecords(const UndoEntry& entry) {
    std::vector<std::string> out;
    const unsigned char* p = entry.payload;
    for (int i = 0; i < entry.recordCount; ++i) {
        unsigned char lead = *p++;
        if (lead <= UndoMaxShortData || lead == UndoLongData) {
            int length = lead;
            if (lead == UndoLongData) {
                length = p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24);
                p += 4;
            }
            out.push_back("d:" + std::string(reinterpret_cast<const char*>(p), length));
            p += length;
        } else if (lead == UndoSetKind) {
            out.push_back("m251," + std::to_string(*p++));
        } else {
            out.push_back("m" + std::to_string(lead));
        }
    }
    EXPECT_EQ(p, entry.payload + entry.payloadLength);
    return out;
}
} // namespace

TEST(CMyHyoUndo, ColumnDeletionAndHeaderEntriesHoldTheDocumentedRecords) {
    CMyHyo hyo;
    fill(hyo, {"a\tb\tc", "d"});
    hyo.journal().setRecording(false);
    hyo.setColumnWidth(1, 70);
    hyo.journal().setRecording(true);
    hyo.deleteColumns(1, 1);
    UndoEntry entry;
    ASSERT_TRUE(hyo.journal().pop(entry));
    EXPECT_EQ(entry.type, UndoAreaType);
    EXPECT_EQ(entry.kind, UndoColumnsDeleted);
    EXPECT_EQ(entry.column1, 1);
    EXPECT_EQ(entry.row1, -1);
    std::vector<std::string> records = subRecords(entry);
    ASSERT_EQ(records.size(), 8u);
    EXPECT_EQ(records[0].substr(0, 3), std::string("d:F", 3));  // the definition, width 70
    EXPECT_EQ(records[1], "m250");
    EXPECT_EQ(records[2], "m251,12");
    EXPECT_EQ(records[3], "m249");
    EXPECT_EQ(records[4], "d:b");   // row 0's deleted cell, then the next-row marker
    EXPECT_EQ(records[5], "m254");
    EXPECT_EQ(records[6], "m254");  // row 1 has no cell 1
    EXPECT_EQ(records[7], "m248");

    CMyHyo header;
    fill(header, {"id\tname", "1\tx"});
    header.journal().setRecording(false);
    header.setColumnTitle(0, "t");
    header.journal().setRecording(true);
    ASSERT_EQ(header.clearHeaderForUndo(), 0);
    ASSERT_TRUE(header.journal().pop(entry));
    EXPECT_EQ(entry.kind, UndoHeaderOn);
    records = subRecords(entry);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0], "d:");
    EXPECT_EQ(records[1], "m251,40");
    EXPECT_EQ(records[2].size(), 2u + 16 + 2);  // the definition with its title and NUL
    EXPECT_EQ(records[3], "m251,22");
    EXPECT_EQ(records[4], "d:id\tname");
}

TEST(CMyHyoUndo, ColumnDeletionAndHeaderSwitchAskWhenTheJournalCannotTakeThem) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.journal().setLimit(1000);
    hyo.journal().setRecording(false);
    for (int row = 0; row < 40; ++row) hyo.setRow(row, std::string(30, 'a') + "\t" + std::string(30, 'b'));
    hyo.journal().setRecording(true);
    hyo.setCell(0, 0, "kept");
    const std::string before = allRows(hyo);

    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(hyo.deleteColumns(0, 0), -1);
    EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(allRows(hyo), before);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    EXPECT_TRUE(hyo.journal().recording());

    hyo.journal().setRecording(false);
    hyo.setRow(0, std::string(980, 'h'));
    hyo.journal().setRecording(true);
    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(hyo.clearHeaderForUndo(), -1);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_EQ(hyo.clearHeaderForUndo(), 0);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
    EXPECT_TRUE(hyo.journal().recording());

    prompt.answer(PromptAnswer::Yes);
    EXPECT_GE(hyo.deleteColumns(1, 1), 0);
    EXPECT_EQ(hyo.cellString(1, 5), "");
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}
