// The conversion commands over a selection: changed cells only, the cell limit, one undo step.
#include "engine/SelectionConvert.h"

#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "store/RowFormat.h"
#include "support/ScriptedPrompt.h"

namespace {

const std::string WideA = "\x82\x60";   // Ａ
const std::string Ga = "\x83\x4B";      // ガ

class SelectionConvertTest : public testing::Test {
protected:
    CMyHyo hyo;
    ScriptedPrompt prompt;
};

TEST_F(SelectionConvertTest, TagsPickTheMenuCommands) {
    fillRows(hyo, {"a" + WideA + "\xB6\xDE" "\x82\xAA"});   // a Ａ ｶﾞ が
    const std::string cell = hyo.rowString(0);
    auto after = [&](int tag) {
        fillRows(hyo, {cell});
        SelectionConvert::run(hyo, {0, 0, 0, 0}, SelectionConvert::forTag(tag));
        return hyo.rowString(0);
    };
    EXPECT_EQ(after(0), "aA\xB6\xDE\x82\xAA");
    EXPECT_EQ(after(1), "\x82\x81" + WideA + Ga + "\x82\xAA");
    EXPECT_EQ(after(2), "A" + WideA + "\xB6\xDE\x82\xAA");
    EXPECT_EQ(after(3), cell);
    EXPECT_EQ(after(4), "a" + WideA + "\x82\xAA\x82\xAA");
    EXPECT_EQ(after(5), "a" + WideA + "\xB6\xDE\xB6\xDE");
    EXPECT_EQ(after(9), after(1));
}

TEST_F(SelectionConvertTest, OnlyChangedCellsAreRewrittenAndOneUndoGivesBackTheBytes) {
    fillRows(hyo, {"ab\tCD\tef", "x", "", "\x82\x81\t\tgh\tij"});
    hyo.setCellAttribute(1, 0, AttrBackColour, 3, 1, 1);
    const std::string before = storeBytes(hyo);
    const int entries = hyo.journal().entryCount();
    ConvertOutcome out = SelectionConvert::run(hyo, {1, 0, 2, 9}, SelectionConvert::forTag(2));
    EXPECT_EQ(out.changedCells, 2);   // CD stays as it is
    EXPECT_EQ(out.skippedCells, 0);
    EXPECT_EQ(hyo.rowString(0), "ab\t" + std::string("\x02\x05\x03", 3) + "CD\tEF");
    EXPECT_EQ(hyo.rowString(1), "x");   // short rows are not padded
    EXPECT_EQ(hyo.rowString(2), "");
    EXPECT_EQ(hyo.rowString(3), "\x82\x81\t\tGH\tij");
    EXPECT_EQ(hyo.journal().entryCount(), entries + 1);
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);
    out = SelectionConvert::run(hyo, {0, 0, 5, 5}, SelectionConvert::forTag(3));
    EXPECT_EQ(out.changedCells, 1);
    EXPECT_EQ(hyo.rowString(0), "ab\t" + std::string("\x02\x05\x03", 3) + "cd\tef");
    // Nothing to change: no step and no message.
    EXPECT_EQ(SelectionConvert::run(hyo, {0, 1, 0, 2}, SelectionConvert::forTag(2)).changedCells, 1);
    const int now = hyo.journal().entryCount();
    EXPECT_EQ(SelectionConvert::run(hyo, {0, 1, 0, 2}, SelectionConvert::forTag(2)).changedCells, 0);
    EXPECT_EQ(hyo.journal().entryCount(), now);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(SelectionConvertTest, ResultsOverTheCellLimitAreSkippedCountedAndReported) {
    // 2,500 letters become exactly 5,000 bytes; 2,501 would become 5,002.
    fillRows(hyo, {std::string(2500, 'a'), std::string(2501, 'a'), "b", std::string(2501, 'c')});
    prompt.answer(PromptAnswer::Ok);
    ConvertOutcome out = SelectionConvert::run(hyo, {0, 0, 0, 3}, SelectionConvert::forTag(1));
    EXPECT_EQ(out.changedCells, 2);
    EXPECT_EQ(out.skippedCells, 2);
    EXPECT_EQ(prompt.last().text, "2箇所のセルは文字数がオーバーするため変更できませんでした。");
    EXPECT_EQ(hyo.cellString(0, 0).size(), 5000u);
    EXPECT_EQ(hyo.cellString(0, 1), std::string(2501, 'a'));
    EXPECT_EQ(hyo.cellString(0, 2), "\x82\x82");
    // Only a skipped cell: the count is still reported, and no step is made.
    const int entries = hyo.journal().entryCount();
    prompt.answer(PromptAnswer::Ok);
    out = SelectionConvert::run(hyo, {0, 3, 0, 3}, SelectionConvert::forTag(1));
    EXPECT_EQ(out.skippedCells, 1);
    EXPECT_EQ(prompt.last().text, "1箇所のセルは文字数がオーバーするため変更できませんでした。");
    EXPECT_EQ(hyo.journal().entryCount(), entries);
}

TEST_F(SelectionConvertTest, FilteredTableConvertsVisibleRowsOnly) {
    fillRows(hyo, {"a", "hidden", "b", "hidden"});
    filterTo(hyo, {0, 2});
    const std::string before = storeBytes(hyo);
    SelectionConvert::run(hyo, {0, 0, 0, 499999}, SelectionConvert::forTag(2));
    EXPECT_EQ(storeBytes(hyo), "A|hidden|B|hidden|");
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);
}

TEST_F(SelectionConvertTest, InvalidCellsStayAndTooMuchForUndoCanBeDeclined) {
    fillRows(hyo, {"a\x82\x20", "b\x82"});   // a lead byte before a space; a lone lead at the end
    SelectionConvert::run(hyo, {0, 0, 0, 1}, SelectionConvert::forTag(2));
    EXPECT_EQ(storeBytes(hyo), "a\x82\x20|B\x82|");
    for (int row = 2; row < 300; ++row) hyo.setRow(row, "abcdef");
    hyo.journal().setLimit(1000);
    const std::string before = storeBytes(hyo);
    prompt.answer(PromptAnswer::No);
    ConvertOutcome out = SelectionConvert::run(hyo, {0, 0, 0, 299}, SelectionConvert::forTag(2));
    EXPECT_TRUE(out.declined);
    EXPECT_EQ(out.changedCells, 0);
    EXPECT_EQ(storeBytes(hyo), before);
    prompt.answer(PromptAnswer::Yes);
    out = SelectionConvert::run(hyo, {0, 0, 0, 299}, SelectionConvert::forTag(2));
    EXPECT_EQ(out.changedCells, 298);
    EXPECT_EQ(hyo.journal().entryCount(), 0);   // the journal was emptied to go on
}

TEST_F(SelectionConvertTest, AWholeColumnOf120000RowsUndoesAndRedoesWithTheDefaultJournal) {
    for (int row = 0; row < 120000; ++row)
        hyo.setRow(row, "r" + std::to_string(row) + "\tname" + std::to_string(row % 977) + "\t12.5");
    hyo.journal().clear();
    const std::string before = storeBytes(hyo);
    // The old default of 1,000 KB cannot hold the column: the question comes.
    hyo.journal().setLimit(1000000);
    prompt.answer(PromptAnswer::No);
    EXPECT_TRUE(SelectionConvert::run(hyo, {1, 0, 1, 119999}, SelectionConvert::forTag(2)).declined);
    EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
    // With 64,000 KB it fits: no question, one step.
    hyo.journal().setLimit(64000000);
    const std::size_t asked = prompt.shown().size();
    ConvertOutcome out = SelectionConvert::run(hyo, {1, 0, 1, 119999}, SelectionConvert::forTag(2));
    EXPECT_EQ(out.changedCells, 120000);
    EXPECT_EQ(prompt.shown().size(), asked);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    EXPECT_EQ(hyo.rowString(119999), "r119999\tNAME805\t12.5");
    const std::string after = storeBytes(hyo);
    EXPECT_EQ(hyo.undo().column, 1);
    EXPECT_EQ(storeBytes(hyo), before);
    EXPECT_EQ(hyo.redo().column, 1);
    EXPECT_EQ(storeBytes(hyo), after);
    hyo.undo();
    EXPECT_EQ(hyo.rowString(119999), "r119999\tname805\t12.5");
}

}  // namespace
