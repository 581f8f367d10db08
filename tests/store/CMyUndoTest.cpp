// Tests of CMyUndo: limits, entry layout, areas, eviction, and the bulk-recording protocol.
#include "store/CMyUndo.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/MemoryHook.h"
#include "store/UndoArea.h"
#include "support/ScriptedPrompt.h"

TEST(CMyUndo, LimitIsNormalisedUpToAMillionKilobytes) {
    CMyUndo undo;
    undo.setLimit(500);
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
    EXPECT_FALSE(undo.pop(entry));
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
}

TEST(CMyUndo, OldestEntriesAreEvictedWhenTheLimitIsReached) {
    CMyUndo undo;
    undo.setLimit(1000);
    std::string text(80, 't');
    for (int i = 0; i < 40; ++i) ASSERT_EQ(undo.recordCellText(i, 0, text.data(), 80), 1);
    EXPECT_LE(undo.usedBytes(), 1000u);
    EXPECT_LT(undo.entryCount(), 40);
    EXPECT_GT(undo.entryCount(), 5);
    UndoEntry entry;
    int expected = 39;
    while (undo.pop(entry)) EXPECT_EQ(entry.column1, expected--);  // newest first, none lost between
    EXPECT_GT(expected, 0);
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
