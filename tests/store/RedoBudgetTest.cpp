// Redo shares the journal's limit: what redo keeps pushes out the oldest undo steps first.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string tail(int row) { return std::string(99, static_cast<char>('a' + row)); }
const std::string Old(100, 'o');
const std::string New(100, 'n');

// Ten rows whose first cell of 100 bytes is replaced by another, each as its own undo step
// of 115 bytes (13 header, 1 length, 101 text); undoing one keeps 152 bytes for its redo
// (48 for the step, 4 for the place of the cell, its 100 bytes).
void editTenRows(CMyHyo& hyo) {
    hyo.journal().setRecording(false);
    for (int row = 0; row < 10; ++row) hyo.setRow(row, Old + "\t" + tail(row));
    hyo.journal().setRecording(true);
    for (int row = 0; row < 10; ++row) hyo.setCell(0, row, New.c_str());
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
    ASSERT_EQ(hyo.journal().usedBytes(), 1150u);
    ASSERT_EQ(hyo.journal().outsideBytes(), 0u);
    for (int i = 0; i < 2; ++i) ASSERT_NE(hyo.undo().row, -1);
    EXPECT_EQ(hyo.journal().outsideBytes(), 304u);
    EXPECT_EQ(hyo.journal().entryCount(), 8);   // 1150 + 304 fit in 1500
    ASSERT_NE(hyo.undo().row, -1);
    EXPECT_TRUE(withinLimit(hyo));
    EXPECT_EQ(hyo.journal().outsideBytes(), 456u);
    EXPECT_EQ(hyo.redoCount(), 3);
    // Three undone, and the first edit gave way for what redo keeps: 1035 + 456.
    EXPECT_EQ(hyo.journal().entryCount(), 6);
    EXPECT_EQ(hyo.journal().usedBytes(), 1035u);
    EXPECT_EQ(hyo.rowString(7), Old + "\t" + tail(7));
    for (int i = 0; i < 3; ++i) ASSERT_NE(hyo.redo().row, -1);
    EXPECT_EQ(hyo.redoCount(), 0);
    EXPECT_EQ(hyo.journal().outsideBytes(), 0u);
    for (int row = 0; row < 10; ++row) EXPECT_EQ(hyo.rowString(row), New + "\t" + tail(row)) << row;
    // Undoing again pushes out more: two more edits give way at the fourth undo, one at the
    // fifth; at the sixth no undo step is left to go, so the undone step redo would reach
    // last does.
    int undone = 0;
    while (hyo.undo().row != -1) {
        ++undone;
        ASSERT_TRUE(withinLimit(hyo)) << undone;
    }
    EXPECT_EQ(undone, 6);
    EXPECT_EQ(hyo.redoCount(), 5);
    EXPECT_EQ(hyo.rowString(3), New + "\t" + tail(3));
    EXPECT_EQ(hyo.rowString(4), Old + "\t" + tail(4));
    for (int i = 0; i < 5; ++i) ASSERT_NE(hyo.redo().row, -1);
    EXPECT_EQ(hyo.redo().row, -1);
    EXPECT_EQ(hyo.rowString(8), New + "\t" + tail(8));
    EXPECT_EQ(hyo.rowString(9), Old + "\t" + tail(9));
}

TEST(RedoBudget, AStepLargerThanTheLimitUndoesButCannotBeRedone) {
    CMyHyo hyo;
    hyo.journal().setLimit(1000);
    hyo.journal().setRecording(false);
    hyo.setRow(0, "short");
    hyo.journal().setRecording(true);
    hyo.setCell(0, 0, std::string(960, 'w').c_str());   // redo would keep the 960 bytes
    ASSERT_EQ(hyo.journal().entryCount(), 1);
    ASSERT_NE(hyo.undo().row, -1);
    EXPECT_EQ(hyo.rowString(0), "short");
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
    ASSERT_EQ(hyo.applyFilter(0, New, 0, 0, false), 0);
    EXPECT_EQ(hyo.redoCount(), 0);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}
