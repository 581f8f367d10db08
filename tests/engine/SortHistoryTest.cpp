// Tests of the toolbar sort's key history and of the keys it hands to the store.
#include "engine/SortHistory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/CMyHyo.h"

namespace {
std::vector<int> columns(const SortHistory& history) {
    std::vector<int> out;
    for (int i = 0; i < history.count(); ++i) out.push_back(history.key(i).column);
    return out;
}
}  // namespace

TEST(SortHistory, OneColumnAtATimeKeepsTheLatestThreeWithoutRepeats) {
    SortHistory history;
    history.choose(2, 2, 0);
    history.choose(5, 5, 0);
    history.choose(2, 2, 0);
    EXPECT_EQ(columns(history), (std::vector<int>{2, 5}));
    history.choose(7, 7, 1);
    EXPECT_EQ(columns(history), (std::vector<int>{7, 2, 5}));
    // The same column again only changes its direction; -1 (the palette) is ascending.
    history.choose(7, 7, -1);
    EXPECT_EQ(columns(history), (std::vector<int>{7, 2, 5}));
    EXPECT_EQ(history.key(0).direction, 0);
    history.choose(9, 9, 1);
    EXPECT_EQ(columns(history), (std::vector<int>{9, 7, 2}));
    EXPECT_EQ(history.key(0).direction, 1);
    EXPECT_EQ(history.key(1).direction, 0);
}

TEST(SortHistory, SeveralColumnsReplaceTheHistoryWithTheFirstThree) {
    SortHistory history;
    history.choose(4, 4, 0);
    history.choose(6, 1, 1);
    EXPECT_EQ(columns(history), (std::vector<int>{1, 2, 3}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(history.key(i).direction, 1);
}

TEST(SortHistory, NumberColumnsSortByValueAsOneUndoStep) {
    CMyHyo hyo;
    hyo.setRow(0, "10\tb");
    hyo.setRow(1, "9\ta");
    hyo.setRow(2, "9\tc");
    hyo.setColumnKind(0, 2, 1);
    SortHistory history;
    history.choose(1, 1, 1);
    history.choose(0, 0, 0);
    ASSERT_EQ(history.sort(hyo), 0);
    EXPECT_EQ(hyo.rowString(0) + "|" + hyo.rowString(1) + "|" + hyo.rowString(2), "9\tc|9\ta|10\tb");
    EXPECT_EQ(hyo.sortFlags[0], 2);
    EXPECT_EQ(hyo.sortFlags[1], 1);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(hyo.rowString(0) + "|" + hyo.rowString(1) + "|" + hyo.rowString(2), "10\tb|9\ta|9\tc");
}
