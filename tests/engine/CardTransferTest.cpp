// The card's data side: which row a card shows, filling it, and writing it back (titles
// included) as one undo step that restores everything.
#include <gtest/gtest.h>

#include <string>

#include "engine/CardTransfer.h"
#include "platform/core/CodePage.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

namespace {

class CardTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        table.journal().setRecording(false);
        table.setRow(0, "name\tprice\tnote");
        table.setRow(1, "apple\t120");
        table.setRow(2, "pear\t90\tripe");
        table.setWidestRow(3);
        table.journal().setRecording(true);
        CardTransfer::prepare(card);
    }
    // Loads data row `row` as the card window does.
    void load(int row) {
        shown = CardTransfer::shownRow(table, row);
        if (table.inHeaderMode()) CardTransfer::fillTitleColumn(table, card);
        else CardTransfer::fillValueColumn(table, card, 0, CardTransfer::ItemColumn);
        CardTransfer::fillValueColumn(table, card, shown, CardTransfer::ValueColumn);
    }
    void edit(int column, int row, const std::string& text) { card.setCell(column, row, text.c_str()); }

    ScriptedPrompt prompt;
    CMyHyo table;
    CMyHyo card;
    int shown = -1;
};

} // namespace

TEST_F(CardTransferTest, WithoutTitlesRowZeroNamesTheItemsAndCardsStartAtRowOne) {
    load(0);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(CardTransfer::firstRow(table), 1);
    EXPECT_EQ(card.cellString(0, 0), "name");
    EXPECT_EQ(card.cellString(0, 2), "note");
    EXPECT_EQ(card.cellString(1, 0), "apple");
    EXPECT_EQ(card.cellString(1, 2), "");
    EXPECT_EQ(card.columnTitle(1), "2");
    EXPECT_EQ(card.columnColour(0, AttrBackColour), 8);
    EXPECT_TRUE(card.inHeaderMode());
    EXPECT_EQ(card.journal().entryCount(), 0);

    // Nothing changed: nothing written, nothing journalled.
    const int entries = table.journal().entryCount();
    CardTransfer::WriteResult r = CardTransfer::writeBack(table, card, shown);
    EXPECT_EQ(r.status, CardTransfer::Written);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(table.journal().entryCount(), entries);
    EXPECT_EQ(table.cellCount(1), 2);   // the missing third cell was not padded
}

TEST_F(CardTransferTest, NamesAndValuesGoBackAsOneUndoStep) {
    load(2);
    edit(1, 1, "95");
    edit(0, 2, "memo");
    edit(1, 3, "new");   // a fourth item adds a column
    const int entries = table.journal().entryCount();
    CardTransfer::WriteResult r = CardTransfer::writeBack(table, card, shown);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(table.rowString(0), "name\tprice\tmemo");
    EXPECT_EQ(table.rowString(2), "pear\t95\tripe\tnew");
    EXPECT_EQ(table.rowString(1), "apple\t120");
    EXPECT_EQ(table.journal().entryCount(), entries + 1);

    table.undo();
    EXPECT_EQ(table.rowString(0), "name\tprice\tnote");
    EXPECT_EQ(table.rowString(2), "pear\t90\tripe");
    EXPECT_EQ(table.journal().entryCount(), entries);
}

TEST_F(CardTransferTest, TitlesAreWrittenAndUndoneWithTheValues) {
    ASSERT_EQ(table.takeHeaderRow(), 1);
    table.journal().clear();
    load(0);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(card.cellString(0, 1), "price");
    EXPECT_EQ(card.columnTitle(0), CodePage::toCp932("ヘッダー"));
    EXPECT_EQ(card.columnTitle(1), "1");
    EXPECT_EQ(card.cellString(1, 0), "apple");

    edit(0, 1, "cost\r\nyen");
    edit(1, 0, "plum");
    CardTransfer::WriteResult r = CardTransfer::writeBack(table, card, shown);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(table.columnTitle(1), "cost yen");   // a title holds one line
    EXPECT_EQ(table.columnTitle(0), "name");
    EXPECT_EQ(table.rowString(0), "plum\t120");
    EXPECT_EQ(table.journal().entryCount(), 1);
    table.undo();
    EXPECT_EQ(table.columnTitle(1), "price");
    EXPECT_EQ(table.rowString(0), "apple\t120");
}

TEST_F(CardTransferTest, ATitleOfSixtyOneBytesStopsTheWholeWriteBack) {
    table.takeHeaderRow();
    load(1);
    edit(0, 2, std::string(61, 'x'));
    edit(1, 0, "changed");
    prompt.answer(PromptAnswer::Ok);
    CardTransfer::WriteResult r = CardTransfer::writeBack(table, card, shown);
    EXPECT_EQ(r.status, CardTransfer::TitleTooLong);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"3行目のヘッダーサイズが大きすぎます。"});
    EXPECT_EQ(table.rowString(1), "pear\t90\tripe");
    edit(0, 2, std::string(60, 'x'));
    EXPECT_TRUE(CardTransfer::writeBack(table, card, shown).changed);
    EXPECT_EQ(table.columnTitle(2), std::string(60, 'x'));
}

TEST_F(CardTransferTest, ANewCardAfterTheDataAddsARowThatUndoRemoves) {
    load(3);
    EXPECT_EQ(card.cellString(1, 0), "");
    edit(1, 1, "7");
    EXPECT_TRUE(CardTransfer::writeBack(table, card, shown).changed);
    EXPECT_EQ(table.rowCount(), 4);
    EXPECT_EQ(table.rowString(3), "\t7");
    table.undo();
    EXPECT_EQ(table.rowCount(), 3);
}

TEST_F(CardTransferTest, ColoursAreShownAndTheCardJournalStartsEmpty) {
    table.setCellAttribute(1, 2, AttrBackColour, 3, 1, 1);
    card.setCell(1, 5, "stale");
    load(2);
    EXPECT_EQ(card.cellAttribute(1, 1, AttrBackColour), 3);
    EXPECT_EQ(card.cellAttribute(1, 0, AttrBackColour), -1);
    EXPECT_EQ(card.cellString(1, 5), "");
    EXPECT_EQ(card.journal().entryCount(), 0);
    EXPECT_TRUE(card.journal().recording());
}

TEST_F(CardTransferTest, TooMuchForUndoAsksAndNoLeavesTheTable) {
    table.journal().setLimit(1000);
    table.journal().setRecording(false);
    table.setCell(1, 1, std::string(1500, 'a').c_str());
    table.journal().setRecording(true);
    load(1);
    edit(1, 1, "short");
    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(CardTransfer::writeBack(table, card, shown).status, CardTransfer::Declined);
    EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
    EXPECT_EQ(table.cellString(1, 1), std::string(1500, 'a'));
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(CardTransfer::writeBack(table, card, shown).changed);
    EXPECT_EQ(table.cellString(1, 1), "short");
}
