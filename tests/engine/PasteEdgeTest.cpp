// Paste at the edges of the grid and when memory runs out while writing.
#include "engine/PasteOperation.h"

#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "platform/core/MemoryHook.h"
#include "support/ScriptedPrompt.h"

TEST(PasteEdge, LastRowAndLastColumnOfTheGridStillTakeAPaste) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fillRows(hyo, {"a", "b", "c"});
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 499999, 0, 499999}, "p", {}), PasteOutcome::Pasted);
    EXPECT_EQ(hyo.rowList().line(499999), "p");
    // Two text rows transposed at column 997 end in column 998.
    EXPECT_EQ(PasteOperation::pasteTransposed(hyo, {997, 0, 997, 0}, "x\r\ny", {}), PasteOutcome::Pasted);
    EXPECT_EQ(hyo.cellString(997, 0), "x");
    EXPECT_EQ(hyo.cellString(998, 0), "y");
    // Two selected rows take the first two text rows only, so the third, three values wide,
    // does not count against the last column.
    EXPECT_EQ(PasteOperation::paste(hyo, {997, 1, 997, 2}, "1\r\n2\r\n3\t4\t5", {}),
              PasteOutcome::Pasted);
    EXPECT_EQ(hyo.cellString(997, 1) + hyo.cellString(997, 2) + hyo.cellString(998, 1), "12");
    EXPECT_EQ(hyo.cellString(997, 3), "");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST(PasteEdge, AFailedRowWriteIsReported) {
    // A long value needs a new line block, whose allocation is made to fail.
    const std::string text = "x\t" + std::string(3000, 'y') + "\r\nz\tw";
    int failures = 0;
    for (long n = 1; n < 40; ++n) {
        ScriptedPrompt prompt;
        prompt.allowUnscripted();
        CMyHyo hyo;
        fillRows(hyo, {"a", "b"});
        hyo.journal().setRecording(false);
        MemoryHook::resetCount();
        MemoryHook::failAfter(n);
        const PasteOutcome outcome = PasteOperation::paste(hyo, {0, 0, 0, 0}, text, {});
        MemoryHook::failAfter(0);
        if (outcome != PasteOutcome::Failed) continue;
        ++failures;
        ASSERT_EQ(prompt.shown().size(), 1u);
        EXPECT_EQ(prompt.last().text, "領域確保に失敗しました。");
    }
    EXPECT_GT(failures, 0);
}
