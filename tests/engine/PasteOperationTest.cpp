// Pasting text into the table: placement, repetition, transposition, limits and undo.
#include "engine/PasteOperation.h"

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "support/RowLimitOption.h"
#include "support/ScriptedPrompt.h"

namespace {
PasteOptions normal() { return {}; }
PasteOptions plain() {
    PasteOptions o;
    o.plain = true;
    return o;
}
} // namespace

TEST(Paste, BlockAtTopLeftKeepsColoursAndUndoesToTheSameBytes) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fillRows(hyo, {"a\t\x02\x05\x04" "b\tc", "d"});
    const std::string before = storeBytes(hyo);
    EXPECT_EQ(PasteOperation::paste(hyo, {1, 0, 1, 0}, "X\tY\tZ\r\nP\r\nQ\tR", normal()),
              PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "a\t\x02\x05\x04X\tY\tZ|d\tP|\tQ\tR|");
    EXPECT_EQ(hyo.widestRowValue(), 4);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    // One area of old cell texts over the pasted rectangle.
    UndoEntry entry;
    ASSERT_TRUE(hyo.journal().pop(entry));
    EXPECT_EQ(entry.type, UndoAreaType);
    EXPECT_EQ(entry.kind, UndoCellText);
    EXPECT_EQ(entry.subKind, 0);
    EXPECT_EQ(entry.column1, 1);
    EXPECT_EQ(entry.row1, 0);
    EXPECT_EQ(entry.column2, 3);
    EXPECT_EQ(entry.row2, 2);
    ASSERT_TRUE(hyo.journal().unpop());
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST(Paste, SingleValueFillsTheSelectionAndRowsRepeatDownIt) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 2, 1}, "x\r\n", normal()), PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "x\tx\tx|x\tx\tx|");
    EXPECT_EQ(PasteOperation::paste(hyo, {3, 0, 3, 4}, "1\r\n2\r\n", normal()), PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "x\tx\tx\t1|x\tx\tx\t2|\t\t\t1|\t\t\t2|\t\t\t1|");
    hyo.undo();
    hyo.undo();
    EXPECT_EQ(hyo.storeRowCount(), 0);
    // A single value fills a one-row selection across, not only its first cell.
    EXPECT_EQ(PasteOperation::paste(hyo, {1, 0, 3, 0}, "y", normal()), PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "\ty\ty\ty|");
}

TEST(Paste, QuotedLineBreakNoticeAndPlainMode) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 0, 0}, "\"a\nb\"\tc\n", normal()), PasteOutcome::Pasted);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text,
              "改行データがありました。\nダブルコーテーションを囲みと判断しました。\n"
              "データとする場合は「貼付(改行なし)」を使用します。");
    EXPECT_EQ(storeBytes(hyo), "a\r\nb\tc|");
    PasteOptions quiet;
    quiet.warnLineBreaks = false;
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 2, 0, 2}, "\"a\nb\"\n", quiet), PasteOutcome::Pasted);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 4, 0, 4}, "\"a\nb\"\tc\n", plain()), PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "a\r\nb\tc||a\r\nb||\"a|b\"\tc|");
    EXPECT_EQ(prompt.shown().size(), 1u);
    // The transposed paste gives the same notice.
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {1, 6, 1, 6}, "\"a\nb\"\tc\n", normal()),
              PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "a\r\nb\tc||a\r\nb||\"a|b\"\tc|\ta\r\nb|\tc|");
    ASSERT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(prompt.last().text,
              "改行データがありました。\nダブルコーテーションを囲みと判断しました。\n"
              "データとする場合は「貼付(改行なし)」を使用します。");
}

TEST(Paste, TransposedRaggedBlock) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fillRows(hyo, {"k\tk\tk\tk", "k\tk\tk\tk", "k\tk\tk\tk"});
    const std::string before = storeBytes(hyo);
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {1, 0, 1, 0}, "a\tb\tc\r\nd\r\ne\tf\r\n", normal()),
              PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "k\ta\td\te|k\tb\tk\tf|k\tc\tk\tk|");
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);
    // The layout of the edge case: rows a TAB b and c TAB d at column 2, row 5.
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {2, 5, 2, 5}, "a\tb\r\nc\td\r\n", normal()),
              PasteOutcome::Pasted);
    EXPECT_EQ(hyo.cellString(2, 5) + hyo.cellString(2, 6) + hyo.cellString(3, 5) + hyo.cellString(3, 6), "abcd");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {0, 0, 1, 0}, "a", normal()), PasteOutcome::Refused);
    EXPECT_EQ(prompt.last().text, "貼付（縦横変換）では範囲指定出来ません。");
}

TEST(Paste, LimitsRefuseBeforeAnyChange) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fillRows(hyo, {"a"});
    const std::string before = storeBytes(hyo);
    const std::string big(5001, 'x');
    const std::string fits(5000, 'x');
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 0, 0}, "ok\t" + big, normal()), PasteOutcome::Refused);
    EXPECT_EQ(prompt.last().text, "サイズをオーバーするためコピーはできません。");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::paste(hyo, {997, 0, 997, 0}, "1\t2\t3", normal()), PasteOutcome::Refused);
    EXPECT_EQ(prompt.last().text, "貼り付けるデータが多すぎます。");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 499999, 0, 499999}, "1\n2", normal()), PasteOutcome::Refused);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {997, 0, 997, 0}, "1\n2\n3", normal()), PasteOutcome::Refused);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {0, 499998, 0, 499998}, "1\t2\t3", normal()), PasteOutcome::Refused);
    EXPECT_EQ(prompt.shown().size(), 5u);
    EXPECT_EQ(storeBytes(hyo), before);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
    // The last cell of the grid and a value of exactly 5,000 bytes are fine.
    EXPECT_EQ(PasteOperation::paste(hyo, {998, 0, 998, 0}, fits, normal()), PasteOutcome::Pasted);
    EXPECT_EQ(hyo.cellString(998, 0), fits);
}

TEST(Paste, TheRowOptionMovesTheGridsEnd) {
    ScriptedPrompt prompt;
    RowLimitOption option(500002);
    CMyHyo hyo;
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 499999, 0, 499999}, "1\n2\n3", normal()), PasteOutcome::Pasted);
    EXPECT_EQ(hyo.cellString(0, 500001), "3");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 500001, 0, 500001}, "4\n5", normal()), PasteOutcome::Refused);
    EXPECT_EQ(prompt.last().text, "貼り付けるデータが多すぎます。");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {0, 500000, 0, 500000}, "1\t2\t3", normal()), PasteOutcome::Refused);
    EXPECT_EQ(hyo.storeRowCount(), 500002);
}

TEST(Paste, DecliningTheUndoQuestionChangesNothing) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.journal().setLimit(1000);
    fillRows(hyo, {std::string(3000, 'o')});
    const std::string before = storeBytes(hyo);
    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 0, 0}, "new", normal()), PasteOutcome::Declined);
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(storeBytes(hyo), before);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 0, 0}, "new", normal()), PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "new|");
}
