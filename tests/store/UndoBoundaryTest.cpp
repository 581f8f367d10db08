// The journal at its limits: an entry of exactly the limit, a buffer filled to the last byte,
// and the length of each popped entry.
#include "store/CMyUndo.h"

#include <gtest/gtest.h>

#include <string>

TEST(UndoBoundary, AnEntryOfExactlyTheLimitFitsAndOneByteMoreDoesNot) {
    CMyUndo undo;
    undo.setLimit(1000);
    // 977 bytes of text and the terminator: 978 bytes of data, 22 bytes of entry around them.
    const std::string text(978, 'x');
    EXPECT_EQ(undo.recordCellText(0, 0, text.data(), 977), 1);
    EXPECT_EQ(undo.entryCount(), 1);
    EXPECT_EQ(undo.recordCellText(1, 0, text.data(), 978), -1);
    EXPECT_EQ(undo.entryCount(), 1);
    // Behind a small entry it still fits: the small one gives way.
    CMyUndo behind;
    behind.setLimit(1000);
    ASSERT_EQ(behind.recordCellText(0, 0, "x", 1), 1);
    EXPECT_EQ(behind.recordCellText(1, 0, text.data(), 977), 1);
    EXPECT_EQ(behind.entryCount(), 1);
    EXPECT_EQ(behind.usedBytes(), 996u);
}

TEST(UndoBoundary, ABufferGrownToTheLimitThatFitsExactlyEvictsNothing) {
    CMyUndo undo;
    undo.setLimit(2000);
    const std::string text(1747, 'g');
    ASSERT_EQ(undo.recordCellText(0, 0, text.data(), 100), 1);
    ASSERT_EQ(undo.recordCellText(1, 0, text.data(), 100), 1);
    // 1748 bytes of data need 1770: the 1000-byte buffer grows to the limit and 1770 are free.
    EXPECT_EQ(undo.recordCellText(2, 0, text.data(), 1747), 1);
    EXPECT_EQ(undo.entryCount(), 3);
    EXPECT_EQ(undo.usedBytes(), 1996u);
    EXPECT_EQ(undo.memoryBytes(), 2200u);
}

TEST(UndoBoundary, AnEntryThatEvictsIntoAFullOffsetTableDoesNotGrowIt) {
    CMyUndo undo;
    undo.setLimit(1000);
    // 49 empty values of 15 bytes and one of 261: 996 bytes in 50 entries, all 50 offsets used.
    for (int i = 0; i < 49; ++i) ASSERT_EQ(undo.recordCellText(i, 0, "", 0), 1);
    const std::string text(242, 'f');
    ASSERT_EQ(undo.recordCellText(49, 0, text.data(), 242), 1);
    ASSERT_EQ(undo.usedBytes(), 996u);
    EXPECT_EQ(undo.recordCellText(50, 0, "x", 1), 1);   // 24 needed: the nine oldest (an eighth) go
    EXPECT_EQ(undo.entryCount(), 42);
    EXPECT_EQ(undo.memoryBytes(), 1200u);
}

TEST(UndoBoundary, AnAreaMayTakeTheLimitToTheLastByte) {
    CMyUndo undo;
    undo.setLimit(1000);
    const std::string text(985, 'a');
    // 5 bytes of length, the data and the 10 spare bytes an area keeps.
    ASSERT_EQ(undo.openArea(UndoCellText, 0, 0, 0, 0, 1), 1);
    EXPECT_EQ(undo.appendData(text.data(), 984), 1);   // 999
    EXPECT_EQ(undo.appendMarker(UndoNextRow), 1);      // 1000
    EXPECT_EQ(undo.appendMarker(UndoNextRow), -1);     // 1001: the area is given up
    EXPECT_FALSE(undo.areaOpen());
    EXPECT_EQ(undo.closeArea(true), 0);
    ASSERT_EQ(undo.openArea(UndoCellText, 0, 0, 0, 0, 1), 1);
    EXPECT_EQ(undo.appendData(text.data(), 985), 1);   // 1000
    EXPECT_EQ(undo.appendData(text.data(), 0), -1);    // 1001
    EXPECT_EQ(undo.closeArea(true), 0);
    EXPECT_EQ(undo.entryCount(), 0);
}

TEST(UndoBoundary, AnEntryThatFillsTheJournalExactlyEvictsNothing) {
    CMyUndo undo;
    undo.setLimit(1000);
    const std::string text(800, 't');
    ASSERT_EQ(undo.recordCellText(0, 0, text.data(), 100), 1);
    ASSERT_EQ(undo.recordCellText(1, 0, text.data(), 100), 1);
    ASSERT_EQ(undo.usedBytes(), 230u);   // two entries of 13 + 1 + 101 bytes
    // 770 bytes are free: 747 bytes of text need exactly that.
    EXPECT_EQ(undo.recordCellText(2, 0, text.data(), 747), 1);
    EXPECT_EQ(undo.entryCount(), 3);
    UndoEntry entry;
    for (int column = 2; column >= 0; --column) {
        ASSERT_TRUE(undo.pop(entry));
        EXPECT_EQ(entry.column1, column);
    }
}

TEST(UndoBoundary, EveryPoppedEntryEndsWhereTheNextBegins) {
    CMyUndo undo;
    ASSERT_EQ(undo.recordCellText(0, 0, "ab", 2), 1);
    ASSERT_EQ(undo.recordCellText(1, 0, "ab", 2), 1);
    UndoEntry entry;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(undo.pop(entry));
        ASSERT_EQ(entry.payloadLength, 4);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.payload), 4), std::string("\x03" "ab\0", 4));
    }
}
