// Join, split, compare and group: results, refusals, limits, colours and undo to exact bytes.
#include "engine/ColumnDerive.h"

#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "support/ScriptedPrompt.h"

namespace {

ColumnSelection columns(int left, int right, int rows = 499999) {
    return {{left, 0, right, rows}, SelectionShape::WholeColumns};
}
ColumnSelection cells(int left, int top, int right, int bottom) {
    return {{left, top, right, bottom}, SelectionShape::Cells};
}
const std::string Circle = "\x81\x9B";   // ○
const std::string Cross = "\x81\x7E";    // ×

class ColumnDeriveTest : public testing::Test {
protected:
    // Runs `change`, checks one undo step puts back exactly the bytes and column records.
    template <typename Change>
    void expectUndoRestores(Change change) {
        const std::string before = storeBytes(hyo);
        const int records = hyo.columnCount();
        const int entries = hyo.journal().entryCount();
        ASSERT_TRUE(change().changed);
        EXPECT_EQ(hyo.journal().entryCount(), entries + 1);
        EXPECT_NE(storeBytes(hyo), before);
        hyo.undo();
        EXPECT_EQ(storeBytes(hyo), before);
        EXPECT_EQ(hyo.columnCount(), records);
    }

    CMyHyo hyo;
    ColumnDerive derive;
    ScriptedPrompt prompt;
};

TEST_F(ColumnDeriveTest, JoinPutsTheJoinedCellsRightOfTheBounds) {
    fillRows(hyo, {"a\t\tb\tz", "p\tq\tr\tz"});
    ColumnOutcome out = derive.join(hyo, columns(0, 2), ColumnDerive::joinForTag(3));
    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.firstNewColumn, 3);
    EXPECT_EQ(storeBytes(hyo), "a\t\tb\ta,,b\tz|p\tq\tr\tp,q,r\tz|");
    EXPECT_EQ(hyo.columnColour(3, AttrBackColour), 11);
    EXPECT_EQ(hyo.widestRowValue(), 5);
    // No delimiter, a space, a full-width space, and a one-column cell range copies the cells.
    derive.join(hyo, cells(0, 0, 1, 1), ColumnDerive::joinForTag(0));
    EXPECT_EQ(hyo.cellString(2, 1), "pq");
    derive.join(hyo, cells(0, 0, 1, 0), ColumnDerive::joinForTag(1));
    EXPECT_EQ(hyo.cellString(2, 0), "a ");
    derive.join(hyo, cells(0, 1, 1, 1), ColumnDerive::joinForTag(2));
    EXPECT_EQ(hyo.cellString(2, 1), "p\x81\x40q");
    derive.join(hyo, cells(0, 0, 0, 1), ColumnDerive::joinForTag(1));
    EXPECT_EQ(storeBytes(hyo).substr(0, 4), "a\ta\t");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ColumnDeriveTest, JoinDelimiterIsOneWholeCharacter) {
    fillRows(hyo, {"\x95\x5C\tx"});   // 表 holds a backslash as its trail byte
    JoinRequest request{JoinCharacter, "\x81\x45\x81\x45"};   // ・・ : only the first counts
    derive.join(hyo, columns(0, 1), request);
    EXPECT_EQ(hyo.cellString(2, 0), "\x95\x5C\x81\x45x");
    derive.join(hyo, columns(0, 1), JoinRequest{JoinCharacter, "\t"});   // TAB becomes a space
    EXPECT_EQ(hyo.cellString(2, 0), "\x95\x5C x");
    const std::string before = storeBytes(hyo);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.join(hyo, columns(0, 1), JoinRequest{JoinCharacter, "\x81"}).changed);
    EXPECT_EQ(prompt.last().text, "値を入力してください。");
    EXPECT_EQ(storeBytes(hyo), before);
}

TEST_F(ColumnDeriveTest, JoinRefusesARowOverTheCellLimitNamingIt) {
    fillRows(hyo, {"a\tb", std::string(2500, 'x') + "\t" + std::string(2499, 'y'),
                   std::string(2500, 'x') + "\t" + std::string(2500, 'y')});
    const std::string before = storeBytes(hyo);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.join(hyo, columns(0, 1), ColumnDerive::joinForTag(1)).changed);
    EXPECT_EQ(prompt.last().text, "3行目の結合した文字列のサイズが大きいため結合できませんでした。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(storeBytes(hyo), before);
    // 2,500 + 2,499 + the space is exactly the limit.
    EXPECT_TRUE(derive.join(hyo, cells(0, 0, 1, 1), ColumnDerive::joinForTag(1)).changed);
    EXPECT_EQ(hyo.cellString(2, 1).size(), 5000u);
}

TEST_F(ColumnDeriveTest, CommonChecksComeInOrderAndChangeNothing) {
    fillRows(hyo, {"a\tb\tc"});
    const std::string before = storeBytes(hyo);
    struct Case {
        std::function<ColumnOutcome()> run;
        const char* message;
    };
    const ColumnSelection rows{{0, 0, 2, 0}, SelectionShape::WholeRows};
    const Case cases[] = {
        {[&] { return derive.join(hyo, rows, ColumnDerive::joinForTag(0)); }, "列を選択してください。"},
        {[&] { return derive.group(hyo, rows); }, "列を選択してください。"},
        {[&] { return derive.join(hyo, columns(1, 1), ColumnDerive::joinForTag(0)); },
         "結合する列を複数で選択してください。"},
        {[&] { return derive.split(hyo, columns(0, 1), ColumnDerive::splitForTag(0)); },
         "分解する列を１列で選択してください。"},
        {[&] { return derive.compare(hyo, cells(0, 0, 2, 0)); }, "比較する列を２列で選択してください。"},
        {[&] { return derive.compare(hyo, cells(0, 0, 0, 0)); }, "比較する列を２列で選択してください。"},
        {[&] { return derive.group(hyo, cells(0, 0, 1, 0)); }, "グループ化する列を１列で選択してください。"},
        {[&] { return derive.join(hyo, cells(0, 1, 1, 3), ColumnDerive::joinForTag(0)); },
         "結合するデータがありません。"},
        {[&] { return derive.split(hyo, cells(0, 1, 0, 1), ColumnDerive::splitForTag(0)); },
         "分解するデータがありません。"},
        {[&] { return derive.compare(hyo, cells(0, 5, 1, 5)); }, "比較するデータがありません。"},
        {[&] { return derive.group(hyo, cells(0, 1, 0, 1)); }, "グループ化するデータがありません。"},
        // A column without pieces has nothing to split either.
        {[&] { return derive.split(hyo, columns(5, 5), ColumnDerive::splitForTag(0)); },
         "分解するデータがありません。"},
    };
    for (const Case& c : cases) {
        prompt.answer(PromptAnswer::Ok);
        EXPECT_FALSE(c.run().changed) << c.message;
        EXPECT_EQ(prompt.last().text, c.message);
        EXPECT_EQ(prompt.last().icon, PromptIcon::Warning);
        EXPECT_EQ(storeBytes(hyo), before);
    }
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}

TEST_F(ColumnDeriveTest, SplitRulesAndTheQuestion) {
    fillRows(hyo, {"a  b\tz", "c\x81\x40\x81\x40" "d", "e,f,", ""});
    prompt.answer(PromptAnswer::Yes);
    ColumnOutcome out = derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(0));
    EXPECT_EQ(prompt.last().text, "3列追加されます。よろしいですか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().icon, PromptIcon::Question);
    EXPECT_EQ(out.newColumns, 3);
    EXPECT_EQ(storeBytes(hyo),
              "a  b\ta\t\tb\tz|c\x81\x40\x81\x40" "d\tc\x81\x40\x81\x40" "d|e,f,\te,f,||");
    hyo.undo();
    prompt.answer(PromptAnswer::Yes);
    derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(1));   // 間(半角スペース)
    EXPECT_EQ(hyo.rowString(0), "a  b\ta\tb\tz");
    hyo.undo();
    prompt.answer(PromptAnswer::Yes);
    derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(3));   // 間(全角スペース)
    EXPECT_EQ(hyo.rowString(1), "c\x81\x40\x81\x40" "d\tc\td");
    hyo.undo();
    prompt.answer(PromptAnswer::Yes);
    derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(10));  // a trailing comma adds no piece
    EXPECT_EQ(hyo.rowString(2), "e,f,\te\tf");
    hyo.undo();
    // No leaves everything as it was.
    const std::string before = storeBytes(hyo);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(storeBytes(hyo), before);
}

TEST_F(ColumnDeriveTest, SplitMatchesOnlyWholeCharacters) {
    // ＝ (81 81) followed by "@" holds the bytes 81 40 of a full-width space; 表 (95 5C) and
    // ソ (83 5C) hold a backslash.
    fillRows(hyo, {"\x81\x81@\x81\x40x", "\x95\x5C\\\x83\x5C"});
    prompt.answer(PromptAnswer::Yes);
    derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(2));
    EXPECT_EQ(hyo.rowString(0), "\x81\x81@\x81\x40x\t\x81\x81@\tx");
    hyo.undo();
    prompt.answer(PromptAnswer::Yes);
    derive.split(hyo, columns(0, 0), SplitRequest{SplitEvery, "\\"});
    EXPECT_EQ(hyo.rowString(1), "\x95\x5C\\\x83\x5C\t\x95\x5C\t\x83\x5C");
}

TEST_F(ColumnDeriveTest, JoinAndSplitRoundTrip) {
    fillRows(hyo, {"a\t\x83\x5C\tc", "\tx\t", "p\tq\tr"});
    derive.join(hyo, columns(0, 2), JoinRequest{JoinCharacter, "/"});
    prompt.answer(PromptAnswer::Yes);
    derive.split(hyo, columns(3, 3), SplitRequest{SplitEvery, "/"});
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 3; ++c) {
            // "/x/" splits into "", "x" (no empty last piece): the last empty cell stays empty.
            EXPECT_EQ(hyo.cellString(4 + c, row), hyo.cellString(c, row)) << row << "," << c;
        }
}

TEST_F(ColumnDeriveTest, SplitLimits) {
    // 985 columns in use and four pieces: 985 + 4 + 10 reaches 999.
    std::string wide = "a b c d" + std::string(984, '\t') + "end";
    fillRows(hyo, {wide});
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(prompt.last().text, "分解されるデータが多すぎます。");
    hyo.setRow(0, "a b c" + std::string(984, '\t') + "end");
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(derive.split(hyo, columns(0, 0), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(hyo.widestRowValue(), 988);
    // A cell over the limit, and a piece of 4,999 bytes with more after it.
    fillRows(hyo, {std::string(5001, 'x')});
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.split(hyo, cells(0, 0, 0, 0), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(prompt.last().text, "文字数がオーバーしています。");
    fillRows(hyo, {std::string(4999, 'x') + " "});
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.split(hyo, cells(0, 0, 0, 0), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(prompt.last().text, "文字数がオーバーしました。");
    fillRows(hyo, {std::string(4998, 'x') + " y"});
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(derive.split(hyo, cells(0, 0, 0, 0), ColumnDerive::splitForTag(0)).changed);
}

TEST_F(ColumnDeriveTest, CompareMarksEqualAndDifferentRowsOnARaggedTable) {
    fillRows(hyo, {"Abc\tabc\tz", "x\tx", "only", "", "\t"});
    ColumnOutcome out = derive.compare(hyo, columns(0, 1));
    EXPECT_EQ(out.firstNewColumn, 2);
    EXPECT_EQ(storeBytes(hyo), "Abc\tabc\t" + Cross + "\tz|x\tx\t" + Circle + "|only\t\t" + Cross +
                                   "|\t\t" + Circle + "|\t\t" + Circle + "|");
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), "Abc\tabc\tz|x\tx|only||\t|");
    expectUndoRestores([&] { return derive.compare(hyo, columns(0, 1)); });
}

TEST_F(ColumnDeriveTest, GroupCountsDistinctValuesInOrderOfFirstAppearance) {
    fillRows(hyo, {"x\t1", "y", "x\t2", "z\t3", "x"});
    derive.group(hyo, columns(0, 0));
    EXPECT_EQ(storeBytes(hyo), "x\tx\t3\t1|y\ty\t1|x\tz\t1\t2|z\t\t\t3|x|");
    EXPECT_EQ(hyo.columnColour(1, AttrBackColour), 11);
    EXPECT_EQ(hyo.columnColour(2, AttrBackColour), 11);
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), "x\t1|y|x\t2|z\t3|x|");
    // A cell range from row 2 groups those rows and writes from row 2 down.
    derive.group(hyo, cells(0, 2, 0, 9));
    EXPECT_EQ(storeBytes(hyo), "x\t\t\t1|y|x\tx\t2\t2|z\tz\t1\t3|x|");
}

TEST_F(ColumnDeriveTest, GroupJoinAndCompareOnAFilteredTableSeeVisibleRowsOnly) {
    fillRows(hyo, {"x\tq", "hidden", "y", "hidden", "x"});
    filterTo(hyo, {0, 2, 4});
    hyo.setColumnWidth(0, 80);   // the column list ends before the new columns
    expectUndoRestores([&] { return derive.group(hyo, columns(0, 0, 2)); });
    derive.group(hyo, columns(0, 0, 2));
    EXPECT_EQ(storeBytes(hyo), "x\tx\t2\tq|hidden|y\ty\t1|hidden|x|");
    hyo.undo();
    expectUndoRestores([&] { return derive.join(hyo, columns(0, 2, 2), ColumnDerive::joinForTag(3)); });
    derive.join(hyo, columns(0, 2, 2), ColumnDerive::joinForTag(3));
    EXPECT_EQ(storeBytes(hyo), "x\tq\t\tx,q,|hidden|y\t\t\ty,,|hidden|x\t\t\tx,,|");
    hyo.undo();
    expectUndoRestores([&] { return derive.compare(hyo, columns(0, 1, 2)); });
    derive.compare(hyo, columns(0, 1, 2));
    EXPECT_EQ(storeBytes(hyo), "x\tq\t" + Cross + "|hidden|y\t\t" + Cross + "|hidden|x\t\t" + Cross + "|");
}

TEST_F(ColumnDeriveTest, ConsecutiveResultsTakeTheNextColour) {
    fillRows(hyo, {"a\tb"});
    derive.compare(hyo, columns(0, 1));
    derive.group(hyo, columns(0, 0));
    derive.join(hyo, columns(0, 1), ColumnDerive::joinForTag(0));
    EXPECT_EQ(hyo.columnColour(1, AttrBackColour), 12);   // the group's values
    EXPECT_EQ(hyo.columnColour(2, AttrBackColour), 10);   // the join, right of column 1
    EXPECT_EQ(hyo.columnColour(3, AttrBackColour), 12);   // the group's counts
    EXPECT_EQ(hyo.columnColour(5, AttrBackColour), 11);   // the compare
    EXPECT_EQ(derive.nextColour(), 11);
}

TEST_F(ColumnDeriveTest, NothingGrowsPastTheLastColumn) {
    fillRows(hyo, {"a\tb" + std::string(997, '\t') + "z"});   // 999 cells
    const std::string before = storeBytes(hyo);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.compare(hyo, columns(0, 1)).changed);
    EXPECT_EQ(prompt.last().text, "追加される列が多すぎます。");
    fillRows(hyo, {"a\tb" + std::string(996, '\t') + "z"});   // 998 cells: one more fits
    EXPECT_TRUE(derive.compare(hyo, columns(0, 1)).changed);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.group(hyo, columns(0, 0)).changed);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.join(hyo, cells(997, 0, 998, 0), ColumnDerive::joinForTag(0)).changed);
    EXPECT_EQ(hyo.widestRowValue(), 999);
}

TEST_F(ColumnDeriveTest, TooMuchForUndoAsksAndNoChangesNothing) {
    std::initializer_list<std::string> rows = {"a"};
    fillRows(hyo, rows);
    for (int row = 1; row < 400; ++row) hyo.setRow(row, "r");
    hyo.journal().setLimit(1000);
    const std::string before = storeBytes(hyo);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(derive.compare(hyo, columns(1, 2)).changed);   // every row is padded
    EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
    EXPECT_EQ(storeBytes(hyo), before);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(derive.compare(hyo, columns(1, 2)).changed);
    EXPECT_EQ(hyo.rowString(399), "r\t\t\t" + Circle);
}

}  // namespace
