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
