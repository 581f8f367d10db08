// Stopping replace all, a conversion and the column operations at their first report, late in
// the pass that changes nothing and while they write: the table and the journal stay as they
// were. Run to the end, each reports under its menu name.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "EngineTestSupport.h"
#include "engine/ColumnDerive.h"
#include "engine/FindReplace.h"
#include "engine/SelectionConvert.h"
#include "store/CellMatch.h"
#include "support/CancellingSink.h"
#include "support/ScriptedPrompt.h"

namespace {

class EditCancelTest : public testing::Test {
protected:
    void SetUp() override {
        // 3000 rows "aN<TAB>b c<TAB>aN or bN"; one edit stays in the journal.
        for (int row = 0; row < 3000; ++row)
            hyo.setRow(row, "a" + std::to_string(row) + "\tb c\t" + (row % 3 ? "a" : "b") + std::to_string(row % 7));
        hyo.setWidestRow(hyo.widestRowCount());
        hyo.setCell(1, 0, "x y");
        entries = hyo.journal().entryCount();
        ASSERT_GT(entries, 0);
        before = storeBytes(hyo);
    }
    // Runs `operation` stopped at each report of `stops`: nothing may change.
    void expectStopsChangeNothing(std::initializer_list<int> stops, const std::function<void()>& operation) {
        for (int stopAt : stops) {
            CancellingSink sink(stopAt);
            operation();
            EXPECT_EQ(sink.reports, stopAt);
            EXPECT_EQ(sink.open, 0);
            EXPECT_EQ(storeBytes(hyo), before) << stopAt;
            EXPECT_EQ(hyo.columnCount(), 0) << stopAt;
            EXPECT_EQ(hyo.journal().entryCount(), entries) << stopAt;
            EXPECT_EQ(hyo.redoCount(), 0) << stopAt;  // a stopped operation never comes back
        }
    }
    // The step before the stopped operations is still the next one undone.
    void expectEarlierEditUndone() {
        hyo.undo();
        EXPECT_EQ(hyo.cellString(1, 0), "b c");
    }
    // Runs `operation` to the end under `name`; one more undo step, which restores the table.
    void expectRunUnder(const std::string& name, const std::function<void()>& operation) {
        CancellingSink sink;
        operation();
        EXPECT_EQ(sink.names, std::vector<std::string>{name});
        EXPECT_GT(sink.reports, 400);
        EXPECT_NE(storeBytes(hyo), before);
        EXPECT_EQ(hyo.journal().entryCount(), entries + 1);
        hyo.undo();
        EXPECT_EQ(storeBytes(hyo), before);
    }

    ScriptedPrompt prompt;
    CMyHyo hyo;
    ColumnDerive derive;
    std::string before;
    int entries = 0;
};

ColumnSelection columns(int left, int right) { return {{left, 0, right, 2999}, SelectionShape::WholeColumns}; }

}  // namespace

TEST_F(EditCancelTest, ReplaceAllStoppedWhileFindingOrWorkingOutTheTexts) {
    FindParameters params;
    ASSERT_TRUE(FindReplace::setFindText(params, "a", 1, MatchContain));
    ASSERT_TRUE(FindReplace::setReplaceText(params, "Z"));
    const SelectionRange whole = FindReplace::wholeTable(hyo);
    // 250 reports find the cells, the rest work out their new texts.
    expectStopsChangeNothing({1, 200, 400}, [&] {
        const FindOutcome out = FindReplace::findAll(hyo, params, whole, -1, true);
        EXPECT_TRUE(out.cancelled);
        EXPECT_EQ(out.replaced, 0);
    });
    expectRunUnder("置換", [&] { EXPECT_EQ(FindReplace::findAll(hyo, params, whole, -1, true).replaced, 5000); });
    expectEarlierEditUndone();
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(EditCancelTest, ConversionStoppedBeforeOrWhileRewriting) {
    const SelectionRange bounds{0, 0, 2, 2999};
    // 250 reports record the old texts, the rest convert.
    expectStopsChangeNothing({1, 200, 300, 490}, [&] {
        EXPECT_EQ(SelectionConvert::run(hyo, bounds, SelectionConvert::forTag(2)).changedCells, 0);
    });
    expectRunUnder("変換", [&] { EXPECT_EQ(SelectionConvert::run(hyo, bounds, SelectionConvert::forTag(2)).changedCells, 9000); });
    expectEarlierEditUndone();
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(EditCancelTest, JoinCompareAndGroupStoppedBeforeOrWhileWriting) {
    expectStopsChangeNothing({1, 200, 300, 490}, [&] {
        EXPECT_FALSE(derive.join(hyo, columns(0, 1), ColumnDerive::joinForTag(1)).changed);
    });
    expectStopsChangeNothing({1, 300}, [&] { EXPECT_FALSE(derive.compare(hyo, columns(0, 1)).changed); });
    expectStopsChangeNothing({1, 200}, [&] { EXPECT_FALSE(derive.group(hyo, columns(0, 0)).changed); });
    expectRunUnder("列の結合データ作成", [&] { EXPECT_TRUE(derive.join(hyo, columns(0, 1), ColumnDerive::joinForTag(1)).changed); });
    expectRunUnder("左右の列の相違比較", [&] { EXPECT_TRUE(derive.compare(hyo, columns(0, 1)).changed); });
    expectEarlierEditUndone();
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(EditCancelTest, GroupStoppedWhileWritingItsDistinctValues) {
    for (int row = 0; row < 3000; ++row) hyo.setCell(2, row, ("v" + std::to_string(row)).c_str());
    entries = hyo.journal().entryCount();
    before = storeBytes(hyo);
    expectStopsChangeNothing({260, 490}, [&] { EXPECT_FALSE(derive.group(hyo, columns(2, 2)).changed); });
    expectRunUnder("該当列をグループ化", [&] { EXPECT_TRUE(derive.group(hyo, columns(2, 2)).changed); });
    hyo.undo();   // the last of the edits above
    EXPECT_EQ(hyo.cellString(2, 2999), "a3");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(EditCancelTest, SplitStoppedWhileCountingOrWhileWriting) {
    // 500 reports count the pieces; the question comes; 500 more write them.
    expectStopsChangeNothing({1, 300}, [&] {
        EXPECT_FALSE(derive.split(hyo, columns(1, 1), ColumnDerive::splitForTag(0)).changed);
    });
    EXPECT_TRUE(prompt.shown().empty());
    for (int stopAt : {501, 900}) {
        prompt.answer(PromptAnswer::Yes);
        CancellingSink sink(stopAt);
        EXPECT_FALSE(derive.split(hyo, columns(1, 1), ColumnDerive::splitForTag(0)).changed);
        EXPECT_EQ(sink.reports, stopAt);
        EXPECT_EQ(storeBytes(hyo), before) << stopAt;
        EXPECT_EQ(hyo.columnCount(), 0) << stopAt;
        EXPECT_EQ(hyo.journal().entryCount(), entries) << stopAt;
    }
    prompt.answer(PromptAnswer::Yes);
    CancellingSink sink;
    EXPECT_TRUE(derive.split(hyo, columns(1, 1), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(sink.names, (std::vector<std::string>{"列の分解データ作成", "列の分解データ作成"}));
    EXPECT_EQ(hyo.cellString(3, 5), "c");
    hyo.undo();
    expectEarlierEditUndone();
}
