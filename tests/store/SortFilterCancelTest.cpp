// Stopping a sort or a filter at its first report and late in its run: the rows, the filter
// and the journal stay as they were; run to the end, each reports under its own name.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <string>

#include "support/CancellingSink.h"
#include "support/ScriptedPrompt.h"

namespace {

class SortFilterCancelTest : public testing::Test {
protected:
    void SetUp() override {
        // 3000 rows, keys 2999 down to 0; the last edit stays in the journal.
        for (int row = 0; row < 3000; ++row)
            hyo.setRow(row, std::to_string(2999 - row) + "\t" + (row % 2 ? "odd" : "even"));
        hyo.setCell(1, 0, "first");
        hyo.clearSortKeys();
        hyo.addSortKey(0, false, true, 0);
    }
    std::string bytes() {
        std::string out;
        for (int i = 0; i < hyo.storeRowCount(); ++i) out += hyo.rowList().line(i) + "|";
        return out;
    }

    ScriptedPrompt prompt;
    CMyHyo hyo;
};

}  // namespace

TEST_F(SortFilterCancelTest, AStoppedSortMovesNoRowAndKeepsTheJournal) {
    const std::string before = bytes();
    const int entries = hyo.journal().entryCount();
    ASSERT_GT(entries, 0);
    // 250 reports locate the keys, the rest order the rows.
    for (int stopAt : {1, 2, 400}) {
        CancellingSink sink(stopAt);
        EXPECT_EQ(hyo.sortRows(), -2) << stopAt;  // stopped: nothing moved
        EXPECT_EQ(sink.reports, stopAt);
        EXPECT_EQ(sink.open, 0);
        EXPECT_EQ(bytes(), before) << stopAt;
        EXPECT_EQ(hyo.journal().entryCount(), entries) << stopAt;
    }
    CancellingSink sink;
    EXPECT_EQ(hyo.sortRows(), 0);
    EXPECT_EQ(sink.names, std::vector<std::string>{"並べ替え"});
    EXPECT_GT(sink.reports, 400);
    EXPECT_EQ(hyo.cellString(0, 0), "0");
    EXPECT_EQ(hyo.cellString(0, 2999), "2999");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(SortFilterCancelTest, AStoppedFilterKeepsTheEarlierFilterAndTheJournal) {
    ASSERT_EQ(hyo.applyFilter(1, "odd", 0, 0, false), 0);
    ASSERT_EQ(hyo.rowCount(), 1500);
    hyo.setCell(0, 0, "edited");   // an edit in the filtered view
    const std::string before = bytes();
    const int entries = hyo.journal().entryCount();
    ASSERT_GT(entries, 0);
    for (int stopAt : {1, 300}) {
        CancellingSink sink(stopAt);
        EXPECT_EQ(hyo.applyFilter(1, "even", 0, 0, false), -2) << stopAt;
        EXPECT_EQ(sink.reports, stopAt);
        EXPECT_TRUE(hyo.isFiltered());
        EXPECT_EQ(hyo.rowCount(), 1500);
        EXPECT_EQ(hyo.cellString(0, 0), "edited");
        EXPECT_EQ(hyo.cellString(1, 1), "odd");
        EXPECT_EQ(hyo.filterTextValue(), std::string("odd"));
        EXPECT_EQ(bytes(), before) << stopAt;
        EXPECT_EQ(hyo.journal().entryCount(), entries) << stopAt;
    }
    CancellingSink sink;
    EXPECT_EQ(hyo.applyFilter(1, "even", 0, 0, false), 0);
    EXPECT_EQ(sink.names, std::vector<std::string>{"抽出"});
    EXPECT_EQ(sink.open, 0);
    EXPECT_EQ(hyo.rowCount(), 1499);   // the first row now reads "first"
    EXPECT_EQ(hyo.cellString(0, 0), "2997");
    EXPECT_EQ(hyo.journal().entryCount(), 0);   // a filter cannot be undone
    EXPECT_TRUE(prompt.shown().empty());
}
