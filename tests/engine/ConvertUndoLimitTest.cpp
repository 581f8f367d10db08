// A conversion whose undo area fills before it reaches the first changed row still asks
// before it goes on without undo.
#include "engine/SelectionConvert.h"

#include <gtest/gtest.h>

#include <string>

#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

TEST(ConvertUndoLimit, AreaFullOnUnchangedRowsStillAsks) {
    CMyHyo hyo;
    ScriptedPrompt prompt;
    const bool was = hyo.journal().setRecording(false);
    for (int row = 0; row < 2000; ++row) hyo.setRow(row, "X");   // nothing to upper-case
    hyo.setRow(2000, "x");
    hyo.journal().setRecording(was);
    hyo.journal().setLimit(1000);
    hyo.setCell(0, 0, "Y");   // an earlier edit the conversion must not hand to Ctrl+Z
    ASSERT_EQ(hyo.journal().entryCount(), 1);

    prompt.answer(PromptAnswer::No);
    ConvertOutcome out = SelectionConvert::run(hyo, {0, 0, 0, 2000}, SelectionConvert::forTag(2));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
    EXPECT_TRUE(out.declined);
    EXPECT_EQ(hyo.rowString(2000), "x");
    EXPECT_EQ(hyo.journal().entryCount(), 1);

    prompt.answer(PromptAnswer::Yes);
    out = SelectionConvert::run(hyo, {0, 0, 0, 2000}, SelectionConvert::forTag(2));
    EXPECT_EQ(out.changedCells, 1);
    EXPECT_EQ(hyo.rowString(2000), "X");
    EXPECT_EQ(hyo.journal().entryCount(), 0);   // nothing left that Ctrl+Z could misapply
}
