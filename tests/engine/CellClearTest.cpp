// Clearing the cells of a selection: text goes, colours stay, one undo step.
#include "engine/CellClear.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

namespace {

TEST(CellClearTest, ClearsTextKeepsColoursAndUndoes) {
    CMyHyo hyo;
    hyo.setRow(0, "a\tb\tc");
    hyo.setRow(1, "d\te\tf");
    hyo.setCellAttribute(1, 1, AttrBackColour, 4, 1, 1);
    const EditOutcome out = CellClear::clear(hyo, SelectionRange{1, 0, 2, 1});
    EXPECT_TRUE(out.render && out.markModified && !out.moveCursor);
    EXPECT_EQ(hyo.cellString(0, 0), "a");
    EXPECT_EQ(hyo.cellString(1, 0), "");
    EXPECT_EQ(hyo.cellString(2, 1), "");
    EXPECT_EQ(hyo.cellAttribute(1, 1, AttrBackColour), 4);
    hyo.undo();
    EXPECT_EQ(hyo.cellString(1, 0), "b");
    EXPECT_EQ(hyo.cellString(2, 1), "f");
    EXPECT_EQ(hyo.cellString(1, 1), "e");
}

TEST(CellClearTest, ClearingBeyondTheDataDoesNotGrowTheTable) {
    CMyHyo hyo;
    hyo.setRow(0, "a");
    ASSERT_TRUE(CellClear::clear(hyo, SelectionRange{0, 0, 5, 20}).markModified);
    EXPECT_EQ(hyo.rowCount(), 1);
    EXPECT_EQ(hyo.cellString(0, 0), "");
}

TEST(CellClearTest, DecliningTheUndoLossLeavesTheTable) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    std::string big(3000, 'z');
    for (int r = 0; r < 10; ++r) hyo.setRow(r, big + "\t" + big);
    hyo.journal().setLimit(20000);
    prompt.answer(PromptAnswer::No);
    EXPECT_TRUE(CellClear::clear(hyo, SelectionRange{0, 0, 1, 9}).none());
    EXPECT_EQ(hyo.cellString(1, 9), big);
    ASSERT_EQ(prompt.shown().size(), 1u);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(CellClear::clear(hyo, SelectionRange{0, 0, 1, 9}).markModified);
    EXPECT_EQ(hyo.cellString(1, 9), "");
}

}  // namespace
