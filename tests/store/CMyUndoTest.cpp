// Tests of CMyUndo: limits, entry layout, areas, eviction, and the bulk-recording protocol.
#include "store/CMyUndo.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/core/MemoryHook.h"
#include "store/UndoArea.h"
#include "support/ScriptedPrompt.h"

TEST(CMyUndo, LimitIsNormalisedUpToAMillionKilobytes) {
    CMyUndo undo;
    undo.setLimit(500);
    EXPECT_EQ(undo.limit(), 1000);
    undo.setLimit(999);
    EXPECT_EQ(undo.limit(), 1000);
    undo.setLimit(0);
    EXPECT_EQ(undo.limit(), 1000000);
    undo.setLimit(64000000);
    EXPECT_EQ(undo.limit(), 64000000);
    undo.setLimit(1000000000);
    EXPECT_EQ(undo.limit(), 1000000000);
    undo.setLimit(1000000001);
    EXPECT_EQ(undo.limit(), 1000000000);
    undo.recordCellText(0, 0, "a", 1);
    undo.setLimit(1000000000);  // unchanged: kept
    EXPECT_EQ(undo.entryCount(), 1);
}

TEST(CMyUndo, AChangedLimitKeepsTheNewestEntriesThatFit) {
    CMyUndo undo;
    undo.setLimit(64000000);
    // Ten entries of 115 bytes each: 13 header, 1 length, 100 letters and the terminator.
    for (int i = 0; i < 10; ++i) {
        const std::string text(100, static_cast<char>('0' + i));
        ASSERT_EQ(undo.recordCellText(i, 0, text.data(), 100), 1);
    }
    ASSERT_EQ(undo.usedBytes(), 1150u);
    undo.setLimit(2000000);   // larger than what is kept: everything stays
    EXPECT_EQ(undo.entryCount(), 10);
    undo.setLimit(1150);      // exactly what is kept: everything stays
    EXPECT_EQ(undo.entryCount(), 10);
    EXPECT_EQ(undo.usedBytes(), 1150u);
    undo.setLimit(1000);      // 8 entries (920 bytes) fit, the two oldest go
    EXPECT_EQ(undo.entryCount(), 8);
    EXPECT_EQ(undo.usedBytes(), 920u);
    UndoEntry entry;
    std::string columns;
    while (undo.pop(entry)) columns += std::to_string(entry.column1);
    EXPECT_EQ(columns, "98765432");
    // Undone entries (kept for redo) go before the reachable ones when room is short.
    for (int i = 0; i < 3; ++i) ASSERT_EQ(undo.recordCellText(i, 0, "x", 1), 1);
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(undo.poppedCount(), 1);
    undo.setOutsideBytes(980);
    undo.setLimit(1001);
    EXPECT_EQ(undo.poppedCount(), 0);
    EXPECT_EQ(undo.outsideBytes(), 0u);
    EXPECT_EQ(undo.entryCount(), 2);
}

TEST(CMyUndo, WhatRedoKeepsGoesOnlyWhenTheEntriesAndItPassTheNewLimit) {
    const std::string text(100, 'r');
    CMyUndo undo;
    undo.setLimit(64000000);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(undo.recordCellText(i, 0, text.data(), 100), 1);
    UndoEntry entry;
    ASSERT_TRUE(undo.pop(entry));
    undo.setOutsideBytes(850);
    undo.setLimit(2000);      // 1150 + 850: exactly the limit
    EXPECT_EQ(undo.poppedCount(), 1);
    EXPECT_EQ(undo.entryCount(), 9);
    EXPECT_EQ(undo.outsideBytes(), 850u);
    EXPECT_EQ(undo.usedBytes(), 1150u);

    // The undone entries go and the reachable ones end the journal: one, then none.
    CMyUndo two;
    ASSERT_EQ(two.recordCellText(0, 0, text.data(), 100), 1);
    ASSERT_EQ(two.recordCellText(1, 0, text.data(), 100), 1);
    ASSERT_TRUE(two.pop(entry));
    two.setOutsideBytes(1000);
    two.setLimit(1000);
    EXPECT_EQ(two.poppedCount(), 0);
    EXPECT_EQ(two.entryCount(), 1);
    EXPECT_EQ(two.usedBytes(), 115u);
    ASSERT_TRUE(two.pop(entry));
    two.setOutsideBytes(1000);
    two.setLimit(1100);
    EXPECT_EQ(two.storedCount(), 0);
    EXPECT_EQ(two.usedBytes(), 0u);
}

TEST(CMyUndo, ALimitChangeReallocatesOnlyABufferLargerThanTheLimit) {
    const std::string text(100, 's');
    CMyUndo undo;
    ASSERT_EQ(undo.recordCellText(0, 0, "x", 1), 1);
    MemoryHook::failAfter(1);
    undo.setLimit(1000);      // the buffer is 1000 bytes already: nothing to allocate
    MemoryHook::failAfter(0);
    EXPECT_EQ(undo.entryCount(), 1);

    // A grown buffer whose smaller copy cannot be had: the journal is emptied and from then
    // on keeps to the limit all the same.
    undo.setLimit(64000000);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(undo.recordCellText(i, 0, text.data(), 100), 1);
    MemoryHook::failAfter(1);
    undo.setLimit(1000);
    MemoryHook::failAfter(0);
    EXPECT_EQ(undo.entryCount(), 0);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(undo.recordCellText(i, 0, text.data(), 100), 1);
    EXPECT_EQ(undo.entryCount(), 8);
    EXPECT_EQ(undo.usedBytes(), 920u);
}

TEST(CMyUndo, SingleEntryLayoutAndDecodedView) {
    CMyUndo undo;
    EXPECT_EQ(undo.recordCellText(3, 7, "old", 3, '\t'), 1);
    UndoEntry entry;
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.type, UndoSingle);
    EXPECT_EQ(entry.kind, UndoCellText);
    EXPECT_EQ(entry.column1, 3);
    EXPECT_EQ(entry.row2, 7);
    EXPECT_EQ(entry.recordCount, 1);
    ASSERT_EQ(entry.payloadLength, 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.payload), 5), "\x04old\t");
    EXPECT_EQ(entry.subKind, 0);
    EXPECT_FALSE(undo.pop(entry));
    // 119 bytes of text and the terminator still take a one-byte length; one byte more, five.
    const std::string text(120, 'y');
    ASSERT_EQ(undo.recordCellText(0, 1, text.data(), 119), 1);
    ASSERT_EQ(undo.recordCellText(0, 2, text.data(), 120), 1);
    EXPECT_EQ(undo.usedBytes(), 134u + 139u);
    ASSERT_TRUE(undo.pop(entry));
    ASSERT_EQ(entry.payloadLength, 126);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.payload), 5),
              std::string("\xfc\x79\0\0\0", 5));   // 252, then 121
    ASSERT_TRUE(undo.pop(entry));
    ASSERT_EQ(entry.payloadLength, 121);
    EXPECT_EQ(entry.payload[0], 120);
}

TEST(CMyUndo, RowEntriesAndValuesWithoutData) {
    CMyUndo undo;
    ASSERT_EQ(undo.recordRowHeight(4, 300), 1);
    const unsigned char colour = 9;
    ASSERT_EQ(undo.recordRowColour(5, 7, &colour, 1), 1);
    ASSERT_EQ(undo.recordCellText(1, 6, nullptr, 5), 1);
    ASSERT_EQ(undo.recordSingle(UndoRowsDeleted, 0, 2, 7, nullptr, 3), 1);
    ASSERT_EQ(undo.markerEntry(UndoRowsInserted, 0, 8, 0, 9), 1);
    UndoEntry entry;
    auto payload = [&entry] {
        return std::string(reinterpret_cast<const char*>(entry.payload), entry.payloadLength);
    };
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.type, UndoAreaType);
    EXPECT_EQ(entry.kind, UndoRowsInserted);
    EXPECT_EQ(entry.subKind, 0);
    EXPECT_EQ(entry.row1, 8);
    EXPECT_EQ(entry.row2, 9);
    EXPECT_EQ(entry.recordCount, 0);
    EXPECT_EQ(payload(), "");
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.kind, UndoRowsDeleted);
    EXPECT_EQ(payload(), std::string("\0", 1));
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.kind, UndoCellText);
    EXPECT_EQ(payload(), std::string("\x01\0", 2));
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.kind, UndoRowColour);
    EXPECT_EQ(entry.subKind, 7);
    EXPECT_EQ(entry.column1, -1);
    EXPECT_EQ(entry.row1, 5);
    EXPECT_EQ(payload(), "\x01\x09");
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.kind, UndoRowHeight);
    EXPECT_EQ(entry.subKind, 0);
    EXPECT_EQ(entry.column1, -1);
    EXPECT_EQ(entry.row1, 4);
    EXPECT_EQ(payload(), "\x02\x2c\x01");   // 300 = 0x012c
}

TEST(CMyUndo, AreaRecordsOfIntegersAndEmptyValues) {
    CMyUndo undo;
    EXPECT_EQ(undo.appendData("x", 1), -1);          // no area open
    EXPECT_EQ(undo.appendMarker(UndoNextRow), -1);
    ASSERT_EQ(undo.openArea(UndoColumnWidth, 0, 0, 0, 3, 0), 1);
    EXPECT_EQ(undo.appendInteger(0x04030201, 1), 1);
    EXPECT_EQ(undo.appendInteger(0x04030201, 2), 1);
    EXPECT_EQ(undo.appendInteger(0x04030201, 4), 1);
    EXPECT_EQ(undo.appendInteger(0x04030201, 3), -1);
    EXPECT_EQ(undo.appendData("x", -1), 1);          // a negative length records an empty value
    EXPECT_EQ(undo.appendMarker(UndoNextRow), 1);
    ASSERT_EQ(undo.closeArea(true), 1);
    UndoEntry entry;
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.recordCount, 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.payload), entry.payloadLength),
              std::string("\x01\x01" "\x02\x01\x02" "\x04\x01\x02\x03\x04" "\0" "\xfe", 12));
}

TEST(CMyUndo, AreaBufferGrowsByTenThousandBytesOrByHalf) {
    CMyUndo undo;
    const std::string data(170000, 'd');
    ASSERT_EQ(undo.openArea(UndoCellText, 0, 0, 0, 0, 0), 1);
    // Beside the 1000 bytes of entries and 50 offsets: what the area needs and 10000 more,
    // the need counting 10 spare bytes.
    ASSERT_EQ(undo.appendMarker(UndoNextRow), 1);
    EXPECT_EQ(undo.memoryBytes(), 1200u + 10011u);
    ASSERT_EQ(undo.appendData(data.data(), 9995), 1);    // 1 + 5 + 9995 + 10: exactly the buffer
    EXPECT_EQ(undo.memoryBytes(), 1200u + 10011u);
    ASSERT_EQ(undo.appendData(data.data(), 1), 1);       // 10013 needed
    EXPECT_EQ(undo.memoryBytes(), 1200u + 20013u);
    ASSERT_EQ(undo.appendData(data.data(), 100000), 1);  // 110018 needed
    EXPECT_EQ(undo.memoryBytes(), 1200u + 120018u);
    ASSERT_EQ(undo.appendData(data.data(), 10000), 1);   // 120023 needed: half again, 180027
    EXPECT_EQ(undo.memoryBytes(), 1200u + 180027u);
    ASSERT_EQ(undo.appendData(data.data(), 169972), 1);  // 290000 needed: more than half again
    EXPECT_EQ(undo.memoryBytes(), 1200u + 300000u);
    EXPECT_EQ(undo.closeArea(false), 0);
    undo.setLimit(2000000);   // a changed limit gives the area buffer back
    EXPECT_EQ(undo.memoryBytes(), 1200u);
}

TEST(CMyUndo, AnAreaBufferOverAMebibyteIsGivenBackWhenItsEntryIsStored) {
    CMyUndo undo;
    undo.setLimit(64000000);
    const std::string data(1100000, 'b');
    for (int size : {600000, 1100000, 1038561}) {
        ASSERT_EQ(undo.openArea(UndoCellText, 0, 0, 0, 0, 0), 1);
        ASSERT_EQ(undo.appendData(data.data(), size), 1);
        ASSERT_EQ(undo.closeArea(true), 1);
        if (size == 600000) {
            // Entries: the area's 600005 bytes, 38 for the header and 500 spare; the area's
            // 610015 bytes stay.
            EXPECT_EQ(undo.memoryBytes(), 600543u + 610015u + 200u);
        } else if (size == 1100000) {
            EXPECT_EQ(undo.memoryBytes(), 1700577u + 200u);
        } else {
            // The area took exactly 1048576 bytes: kept.
            EXPECT_EQ(undo.memoryBytes(), 2739172u + 1048576u + 200u);
        }
    }
    EXPECT_EQ(undo.entryCount(), 3);
}

TEST(CMyUndo, AreaNormalisesCornersAndWritesLongRecordsWithA252Prefix) {
    CMyUndo undo;
    EXPECT_EQ(undo.openArea(UndoCellText, 0, 5, 9, 2, 4), 1);
    EXPECT_EQ(undo.openArea(UndoCellText, 0, 0, 0, 0, 0), -1);
    std::string big(200, 'b');
    undo.recordCellText(2, 4, big.data(), 200);
    undo.appendMarker(UndoNextRow);
    undo.appendMarker(UndoSetKind, UndoCellAttribute, 5);
    EXPECT_EQ(undo.closeArea(true), 1);
    UndoEntry entry;
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_EQ(entry.type, UndoAreaType);
    EXPECT_EQ(entry.column1, 2);
    EXPECT_EQ(entry.row1, 4);
    EXPECT_EQ(entry.column2, 5);
    EXPECT_EQ(entry.row2, 9);
    EXPECT_EQ(entry.recordCount, 3);
    ASSERT_EQ(entry.payloadLength, 5 + 201 + 1 + 3);
    EXPECT_EQ(entry.payload[0], UndoLongData);
    EXPECT_EQ(entry.payload[1], 201);
    EXPECT_EQ(entry.payload[206], UndoNextRow);
    EXPECT_EQ(entry.payload[207], UndoSetKind);
    EXPECT_EQ(entry.payload[209], 5);
}

TEST(CMyUndo, RecordingOffOpensNothing) {
    CMyUndo undo;
    EXPECT_TRUE(undo.setRecording(false));
    EXPECT_EQ(undo.openArea(UndoCellText, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(undo.recordCellText(0, 0, "x", 1), 0);
    EXPECT_FALSE(undo.setRecording(true));
    EXPECT_EQ(undo.entryCount(), 0);
}

TEST(CMyUndo, EntryBufferStartsAtAThousandBytesAndGrowsByWhatIsMissingAndFiveHundred) {
    CMyUndo undo;
    EXPECT_EQ(undo.memoryBytes(), 1200u);   // 1000 bytes of entries, 50 offsets of 4 bytes
    const std::string text(977, 't');
    ASSERT_EQ(undo.recordCellText(0, 0, text.data(), 977), 1);   // needs 1000: fits as it is
    EXPECT_EQ(undo.memoryBytes(), 1200u);
    EXPECT_EQ(undo.usedBytes(), 996u);
    ASSERT_EQ(undo.recordCellText(1, 0, "x", 1), 1);             // needs 24
    EXPECT_EQ(undo.memoryBytes(), 996u + 24u + 500u + 200u);
    undo.setLimit(2000);                                          // above the buffer: unchanged
    EXPECT_EQ(undo.memoryBytes(), 1720u);
    EXPECT_EQ(undo.entryCount(), 2);
}

TEST(CMyUndo, TheOffsetTableGrowsByFiftyThenByHalf) {
    CMyUndo undo;
    for (int i = 0; i < 50; ++i) ASSERT_EQ(undo.recordCellText(i, 0, "x", 1), 1);
    EXPECT_EQ(undo.memoryBytes(), 1200u);
    MemoryHook::failAfter(1);
    EXPECT_EQ(undo.recordCellText(50, 0, "x", 1), -1);
    MemoryHook::failAfter(0);
    EXPECT_EQ(undo.entryCount(), 50);
    ASSERT_EQ(undo.recordCellText(50, 0, "x", 1), 1);
    EXPECT_EQ(undo.memoryBytes(), 1000u + 400u);
    for (int i = 51; i < 150; ++i) ASSERT_EQ(undo.recordCellText(i, 0, "x", 1), 1);
    EXPECT_EQ(undo.memoryBytes(), 2540u + 600u);
    ASSERT_EQ(undo.recordCellText(150, 0, "x", 1), 1);
    EXPECT_EQ(undo.memoryBytes(), 2540u + 900u);
    EXPECT_EQ(undo.entryCount(), 151);
}

TEST(CMyUndo, BuffersThatCannotBeHadLeaveAJournalThatRefusesAndRecovers) {
    MemoryHook::failAll(true);
    CMyUndo undo;
    MemoryHook::failAll(false);
    EXPECT_EQ(undo.memoryBytes(), 0u);
    MemoryHook::failAll(true);
    EXPECT_EQ(undo.recordCellText(0, 0, "x", 1), -1);
    MemoryHook::failAll(false);
    EXPECT_EQ(undo.recordCellText(0, 0, "x", 1), 1);
    EXPECT_EQ(undo.memoryBytes(), 1200u);

    // Only the offsets failed: nothing is stored while they cannot be had.
    MemoryHook::failAfter(2);
    CMyUndo half;
    MemoryHook::failAfter(0);
    EXPECT_EQ(half.memoryBytes(), 1000u);
    MemoryHook::failAfter(1);
    EXPECT_EQ(half.recordCellText(0, 0, "x", 1), -1);
    MemoryHook::failAfter(0);
    EXPECT_EQ(half.entryCount(), 0);

    // The buffer cannot grow for an entry larger than it.
    CMyUndo small;
    const std::string text(1500, 'l');
    MemoryHook::failAfter(1);
    EXPECT_EQ(small.recordCellText(0, 0, text.data(), 1500), -1);
    MemoryHook::failAfter(0);
    EXPECT_EQ(small.entryCount(), 0);
    EXPECT_EQ(small.recordCellText(0, 0, text.data(), 1500), 1);
}

TEST(CMyUndo, UndoneEntriesComeBackAndGo) {
    CMyUndo undo;
    EXPECT_FALSE(undo.unpop());
    ASSERT_EQ(undo.recordCellText(0, 0, "x", 1), 1);
    ASSERT_EQ(undo.recordCellText(1, 0, "x", 1), 1);
    EXPECT_FALSE(undo.unpop());            // nothing undone
    EXPECT_EQ(undo.entryCount(), 2);
    UndoEntry entry;
    ASSERT_TRUE(undo.pop(entry));
    EXPECT_TRUE(undo.unpop());
    EXPECT_EQ(undo.entryCount(), 2);
    ASSERT_TRUE(undo.pop(entry));
    undo.dropPopped(0);
    EXPECT_EQ(undo.poppedCount(), 1);
    EXPECT_EQ(undo.usedBytes(), 32u);
    undo.dropPopped(5);
    EXPECT_EQ(undo.poppedCount(), 0);
    EXPECT_EQ(undo.usedBytes(), 16u);
    ASSERT_TRUE(undo.pop(entry));
    undo.setOutsideBytes(100);
    EXPECT_EQ(undo.discardSerial(), 0u);
    undo.clear();
    EXPECT_EQ(undo.storedCount(), 0);
    EXPECT_EQ(undo.usedBytes(), 0u);
    EXPECT_EQ(undo.outsideBytes(), 0u);
    EXPECT_EQ(undo.discardSerial(), 1u);
}

TEST(CMyUndo, RoomBesideTheEntriesForWhatRedoKeeps) {
    CMyUndo undo;
    undo.setLimit(1000);
    const std::string text(100, 'o');
    // Three entries of 115 bytes.
    for (int i = 0; i < 3; ++i) ASSERT_EQ(undo.recordCellText(i, 0, text.data(), 100), 1);
    EXPECT_FALSE(undo.makeRoomOutside(1001));
    EXPECT_EQ(undo.entryCount(), 3);
    EXPECT_TRUE(undo.makeRoomOutside(770));    // 230 left: exactly the two newest
    EXPECT_EQ(undo.entryCount(), 2);
    EXPECT_EQ(undo.usedBytes(), 230u);
    ASSERT_EQ(undo.recordCellText(3, 0, text.data(), 100), 1);
    EXPECT_TRUE(undo.makeRoomOutside(1000));   // nothing left: every entry goes
    EXPECT_EQ(undo.entryCount(), 0);
    EXPECT_EQ(undo.storedCount(), 0);
    EXPECT_EQ(undo.usedBytes(), 0u);
}

TEST(CMyUndo, PoppedEntriesAreDiscardedByTheNextOne) {
    CMyUndo undo;
    for (int i = 0; i < 3; ++i) undo.recordCellText(i, 0, "x", 1);
    UndoEntry entry;
    undo.pop(entry);
    undo.pop(entry);
    EXPECT_EQ(entry.column1, 1);
    EXPECT_EQ(undo.storedCount(), 3);
    undo.recordCellText(9, 0, "y", 1);
    EXPECT_EQ(undo.entryCount(), 2);
    EXPECT_EQ(undo.storedCount(), 2);
    undo.pop(entry);
    EXPECT_EQ(entry.column1, 9);
    undo.pop(entry);
    EXPECT_EQ(entry.column1, 0);
    EXPECT_FALSE(undo.pop(entry));
    EXPECT_EQ(undo.recordCellText(5, 0, "z", 1), 1);
    EXPECT_EQ(undo.usedBytes(), 16u);
}

TEST(CMyUndo, OldestEntriesAreEvictedWhenTheLimitIsReached) {
    CMyUndo undo;
    undo.setLimit(1000);
    std::string text(80, 't');
    // Entries of 95 bytes: from the eleventh on each evicts the oldest one, and a journal at
    // its limit asks for no memory to do so.
    MemoryHook::resetCount();
    for (int i = 0; i < 40; ++i) ASSERT_EQ(undo.recordCellText(i, 0, text.data(), 80), 1);
    EXPECT_EQ(MemoryHook::count(), 0);
    EXPECT_EQ(undo.usedBytes(), 950u);
    EXPECT_EQ(undo.entryCount(), 10);
    UndoEntry entry;
    int expected = 39;
    while (undo.pop(entry)) EXPECT_EQ(entry.column1, expected--);  // newest first, none lost between
    EXPECT_EQ(expected, 29);
}

namespace {
// Records a cell text entry that takes exactly `bytes` of the journal: the 13-byte header, a
// length of 1 byte (up to 120 bytes of data) or of 5, and the text with its terminator. Such
// an entry asks for 22 bytes beside its data.
int entryOf(CMyUndo& undo, int column, int bytes) {
    const int data = bytes <= 134 ? bytes - 14 : bytes - 18;
    const std::string text(data - 1, 'e');
    return undo.recordCellText(column, 0, text.data(), data - 1);
}

// Fills a 1000-byte journal with entries of these sizes, then records one entry needing
// `needed` bytes; returns the columns left, newest first.
std::string evictFor(std::initializer_list<int> sizes, int needed) {
    CMyUndo undo;
    undo.setLimit(1000);
    int column = 0;
    for (int size : sizes) EXPECT_EQ(entryOf(undo, column++, size), 1);
    const std::string text(needed - 23, 'n');
    EXPECT_EQ(undo.recordCellText(9, 0, text.data(), needed - 23), 1);
    std::string left;
    UndoEntry entry;
    while (undo.pop(entry)) left += std::to_string(entry.column1);
    return left;
}
} // namespace

TEST(CMyUndo, EvictionFreesAnEighthOfTheBufferAtLeastAndKeepsTheNewestWhenThatIsEnough) {
    // 4 bytes free, 120 needed: the oldest would free 120, but an eighth (125) is freed.
    EXPECT_EQ(evictFor({116, 120, 760}, 120), "92");
    // The oldest frees exactly an eighth.
    EXPECT_EQ(evictFor({121, 200, 675}, 120), "921");
    // 200 bytes free, 600 needed: the oldest frees exactly the rest.
    EXPECT_EQ(evictFor({400, 400}, 600), "91");
    // 70 free: dropping all but the newest frees less than an eighth but exactly what is needed.
    EXPECT_EQ(evictFor({30, 900}, 100), "91");
}

TEST(CMyUndo, AnAreaLargerThanTheLimitIsAbandoned) {
    CMyUndo undo;
    undo.setLimit(1000);
    undo.openArea(UndoCellText, 0, 0, 0, 0, 100);
    std::string text(100, 'a');
    int last = 1;
    for (int i = 0; i < 20 && last > 0; ++i) last = undo.recordCellText(0, i, text.data(), 100);
    EXPECT_EQ(last, -1);
    EXPECT_FALSE(undo.areaOpen());
    EXPECT_EQ(undo.recordCellText(0, 50, "x", 1), -1);  // no single entry sneaks in meanwhile
    EXPECT_EQ(undo.closeArea(true), 0);
    EXPECT_EQ(undo.entryCount(), 0);
    EXPECT_EQ(undo.recordCellText(0, 0, "x", 1), 1);
}

TEST(CMyUndo, AreaBufferFailureShowsTheMessageAndAbandons) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    CMyUndo undo;
    undo.openArea(UndoCellText, 0, 0, 0, 0, 0);
    MemoryHook::failAll(true);
    EXPECT_EQ(undo.recordCellText(0, 0, "x", 1), -1);
    MemoryHook::failAll(false);
    EXPECT_EQ(prompt.last().text, "CMyHyoにて領域確保に失敗しました。");
    EXPECT_FALSE(undo.areaOpen());
}

TEST(UndoAreaProtocol, KeptAreaTurnsRecordingOffUntilDestroyed) {
    CMyUndo undo;
    {
        UndoArea area(undo, UndoCellText, 0, 0, 0, 1, 1);
        EXPECT_TRUE(area.collecting());
        undo.recordCellText(0, 0, "a", 1);
        area.nextRow();
        EXPECT_TRUE(area.commit());
        EXPECT_FALSE(undo.recording());
    }
    EXPECT_TRUE(undo.recording());
    EXPECT_EQ(undo.entryCount(), 1);
}

TEST(UndoAreaProtocol, TooLargeAreaAsksNoAbandonsYesEmptiesTheJournal) {
    ScriptedPrompt prompt;
    CMyUndo undo;
    undo.setLimit(1000);
    undo.recordCellText(0, 0, "keep", 4);
    std::string text(300, 'x');
    for (PromptAnswer reply : {PromptAnswer::No, PromptAnswer::Yes}) {
        prompt.answer(reply);
        UndoArea area(undo, UndoCellText, 0, 0, 0, 0, 9);
        for (int row = 0; row < 10 && area.collecting(); ++row) undo.recordCellText(0, row, text.data(), 300);
        bool goOn = area.commit();
        EXPECT_EQ(goOn, reply == PromptAnswer::Yes);
        EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
        EXPECT_EQ(prompt.last().buttons, PromptButtons::YesNo);
        EXPECT_EQ(prompt.last().icon, PromptIcon::Warning);
        EXPECT_EQ(undo.entryCount(), reply == PromptAnswer::Yes ? 0 : 1);
    }
    EXPECT_TRUE(undo.recording());
}
