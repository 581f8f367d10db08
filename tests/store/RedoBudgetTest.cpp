// Redo shares the journal's limit: what redo keeps pushes out the oldest undo steps first.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string tail(int row) { return std::string(99, static_cast<char>('a' + row)); }

// Ten rows of 100 bytes, each cell 0 then replaced by "x" as its own undo step.
void editTenRows(CMyHyo& hyo) {
    hyo.journal().setRecording(false);
    for (int row = 0; row < 10; ++row) hyo.setRow(row, std::to_string(row) + "\t" + tail(row));
    hyo.journal().setRecording(true);
    for (int row = 0; row < 10; ++row) hyo.setCell(0, row, "x");
}

bool withinLimit(CMyHyo& hyo) {
    const CMyUndo& j = hyo.journal();
    return j.usedBytes() + j.outsideBytes() <= static_cast<std::size_t>(j.limit());
}

}  // namespace

TEST(RedoBudget, UndoneStepsPushOutTheOldestUndoStepsAndStillRedoExactly) {
    CMyHyo hyo;
    hyo.journal().setLimit(1500);
    editTenRows(hyo);
    ASSERT_EQ(hyo.journal().entryCount(), 10);
    ASSERT_EQ(hyo.journal().outsideBytes(), 0u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(hyo.undo().row, -1);
        EXPECT_TRUE(withinLimit(hyo)) << "undo " << i;
    }
    EXPECT_GT(hyo.journal().outsideBytes(), 0u);
    EXPECT_EQ(hyo.redoCount(), 3);
    // Three undone, and the first edit gave way for what redo keeps.
    EXPECT_EQ(hyo.journal().entryCount(), 6);
    EXPECT_EQ(hyo.rowString(7), "7\t" + tail(7));
    for (int i = 0; i < 3; ++i) ASSERT_NE(hyo.redo().row, -1);
    EXPECT_EQ(hyo.redoCount(), 0);
    EXPECT_EQ(hyo.journal().outsideBytes(), 0u);
    for (int row = 0; row < 10; ++row) EXPECT_EQ(hyo.rowString(row), "x\t" + tail(row)) << row;
    // Nine steps undo; the first edit is gone for good.
    for (int i = 0; i < 9; ++i) ASSERT_NE(hyo.undo().row, -1);
    EXPECT_EQ(hyo.undo().row, -1);
    EXPECT_EQ(hyo.rowString(0), "x\t" + tail(0));
    EXPECT_EQ(hyo.rowString(1), "1\t" + tail(1));
}

TEST(RedoBudget, AStepLargerThanTheLimitUndoesButCannotBeRedone) {
    CMyHyo hyo;
    hyo.journal().setLimit(1000);
    hyo.journal().setRecording(false);
    hyo.setRow(0, std::string(900, 'w'));
    hyo.journal().setRecording(true);
    hyo.setCell(0, 0, "short");
    ASSERT_EQ(hyo.journal().entryCount(), 1);
    ASSERT_NE(hyo.undo().row, -1);
    EXPECT_EQ(hyo.rowString(0), std::string(900, 'w'));
    EXPECT_EQ(hyo.redoCount(), 0);
    EXPECT_EQ(hyo.redo().row, -1);
    EXPECT_EQ(hyo.journal().usedBytes(), 0u);   // the popped entry went with it
    EXPECT_EQ(hyo.journal().outsideBytes(), 0u);
}

TEST(RedoBudget, ANewChangeAndAFilterEmptyRedo) {
    CMyHyo hyo;
    editTenRows(hyo);
    hyo.undo();
    hyo.undo();
    ASSERT_EQ(hyo.redoCount(), 2);
    hyo.setCell(1, 0, "new");
    EXPECT_EQ(hyo.redoCount(), 0);
    EXPECT_EQ(hyo.journal().outsideBytes(), 0u);
    EXPECT_EQ(hyo.redo().row, -1);
    hyo.undo();
    ASSERT_EQ(hyo.redoCount(), 1);
    ASSERT_EQ(hyo.applyFilter(0, "x", 0, 0, false), 0);
    EXPECT_EQ(hyo.redoCount(), 0);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}
