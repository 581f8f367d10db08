// Tests of the series fill: continuation rules, repetition, corners and the single undo step.
#include "engine/SeriesFill.h"

#include "settings/CMyPublic.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

const char* const kTooMuch = "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？";

class SeriesFillTest : public ::testing::Test {
protected:
    void rows(std::initializer_list<std::string> lines) {
        bool was = hyo.journal().setRecording(false);
        int row = 0;
        for (const std::string& line : lines) hyo.setRow(row++, line);
        hyo.journal().setRecording(was);
    }
    // 1 when the fill changed the table (render, modified, ranges), 0 when it did nothing.
    int fill(FillBlock source, FillBlock target) {
        const EditOutcome out = SeriesFill(hyo, dates).run(source, target);
        EXPECT_TRUE(out.none() || (out.render && out.markModified && out.raiseRanges));
        return out.none() ? 0 : 1;
    }
    std::string cell(int c, int r) { return hyo.cellString(c, r); }
    std::string row(int r) { return hyo.rowString(r); }

    ScriptedPrompt prompt;
    CMyHyo hyo;
    CMyPublic dates;
};

TEST(SeriesContinuation, DigitRunsContinueAndOtherTextRepeatsTheOlderValue) {
    EXPECT_EQ(SeriesFill::continueText("1", "3"), "5");
    EXPECT_EQ(SeriesFill::continueText("3", "1"), "1");    // |2 - 3|
    EXPECT_EQ(SeriesFill::continueText("1", "1"), "1");
    EXPECT_EQ(SeriesFill::continueText("No.01", "No.02"), "No.03");
    EXPECT_EQ(SeriesFill::continueText("9", "10"), "11");   // runs of different lengths
    EXPECT_EQ(SeriesFill::continueText("099", "100"), "101");
    EXPECT_EQ(SeriesFill::continueText("01", "1"), "01");    // padded to the longer run
    EXPECT_EQ(SeriesFill::continueText("10", "5"), "0");
    EXPECT_EQ(SeriesFill::continueText("x1y", "x2z"), "x3y");   // the rest comes from the older value
    EXPECT_EQ(SeriesFill::continueText("a", "b"), "a");
    EXPECT_EQ(SeriesFill::continueText("a1", "b2"), "a1");  // first difference is not a digit
    EXPECT_EQ(SeriesFill::continueText("ab", "abc"), "ab");
    EXPECT_EQ(SeriesFill::continueText("", "5"), "");
    EXPECT_EQ(SeriesFill::continueText("5", ""), "5");
    // Far beyond any machine integer.
    EXPECT_EQ(SeriesFill::continueText("12345678901234567890123", "12345678901234567890124"),
              "12345678901234567890125");
    EXPECT_EQ(SeriesFill::continueText("99999999999999999999", "99999999999999999999"),
              "99999999999999999999");
}

TEST(SeriesContinuation, DoubleByteCharactersMatchWhole) {
    const std::string a = "\x82\xa0";   // あ
    const std::string i = "\x82\xa2";   // い
    EXPECT_EQ(SeriesFill::continueText(a + "1", a + "2"), a + "3");
    EXPECT_EQ(SeriesFill::continueText(a + "1", i + "2"), a + "1");
    // A lead byte whose character is cut off at the end of one text is no common text.
    EXPECT_EQ(SeriesFill::continueText(a + "7", "\x82"), a + "7");
}

TEST_F(SeriesFillTest, TwoColumnSourceContinuesToTheRight) {
    rows({"1\t3", "No.01\tNo.02", "3\t1"});
    EXPECT_EQ(fill({0, 0, 1, 2}, {0, 0, 4, 2}), 1);
    EXPECT_EQ(row(0), "1\t3\t5\t7\t9");
    EXPECT_EQ(row(1), "No.01\tNo.02\tNo.03\tNo.04\tNo.05");
    EXPECT_EQ(row(2), "3\t1\t1\t1\t1");
}

TEST_F(SeriesFillTest, DatesContinueInTheShapeOfTheFirstValue) {
    rows({"2001/01/30\t2001/01/31"});
    EXPECT_EQ(fill({0, 0, 1, 0}, {0, 0, 3, 0}), 1);
    EXPECT_EQ(row(0), "2001/01/30\t2001/01/31\t2001/02/01\t2001/02/02");

    CMyHyo other;
    other.setRow(0, "2001/1/30\t2001/1/31");
    EXPECT_TRUE(SeriesFill(other, dates).run({0, 0, 1, 0}, {0, 0, 2, 0}).markModified);
    EXPECT_EQ(other.cellString(2, 0), "2001/2/1");
}

TEST_F(SeriesFillTest, DateFormatIsResetWhenTheFirstValueIsNoDate) {
    dates.setLastDateFormat("m/d");
    rows({"id\tid", "2001/1/30\t2001/1/31"});
    EXPECT_EQ(fill({0, 0, 1, 1}, {0, 0, 2, 1}), 1);
    EXPECT_EQ(cell(2, 0), "id");
    EXPECT_EQ(cell(2, 1), "2001/02/01");
    EXPECT_EQ(dates.lastDateFormat(), "yyyy/mm/dd");
}

TEST_F(SeriesFillTest, OtherSourceWidthsRepeatCyclically) {
    rows({"a\tb\tc", "d\te\tf"});
    EXPECT_EQ(fill({0, 0, 2, 1}, {0, 0, 8, 1}), 1);
    EXPECT_EQ(row(0), "a\tb\tc\ta\tb\tc\ta\tb\tc");
    EXPECT_EQ(row(1), "d\te\tf\td\te\tf\td\te\tf");

    rows({"x\t1"});
    EXPECT_EQ(fill({1, 0, 1, 0}, {1, 0, 3, 0}), 1);   // one column: the same value again
    EXPECT_EQ(row(0), "x\t1\t1\t1");
}

TEST_F(SeriesFillTest, VerticalFillCoversTheNewColumnsToo) {
    rows({"1\t10", "2\t20"});
    EXPECT_EQ(fill({0, 0, 1, 1}, {0, 0, 2, 3}), 1);
    EXPECT_EQ(row(0), "1\t10\t19");
    EXPECT_EQ(row(1), "2\t20\t38");
    EXPECT_EQ(row(2), "3\t30\t57");   // the new column continues 19, 38 downwards
    EXPECT_EQ(row(3), "4\t40\t76");

    rows({"p\tq", "r\ts", "t\tu", "", "", ""});
    EXPECT_EQ(fill({0, 0, 1, 2}, {0, 0, 1, 5}), 1);   // three rows repeat
    EXPECT_EQ(row(3), "p\tq");
    EXPECT_EQ(row(4), "r\ts");
    EXPECT_EQ(row(5), "t\tu");
}

TEST_F(SeriesFillTest, CornersGivenInEitherOrderAreTheSameBlock) {
    rows({"1\t2"});
    EXPECT_EQ(fill({1, 0, 0, 0}, {0, 0, 3, 0}), 1);
    EXPECT_EQ(row(0), "1\t2\t3\t4");
}

TEST_F(SeriesFillTest, DifferentTopLeftCornersOrNoNewCellsChangeNothing) {
    rows({"1\t3", "5\t7"});
    EXPECT_EQ(fill({0, 0, 1, 0}, {0, 1, 4, 1}), 0);
    EXPECT_EQ(fill({0, 0, 1, 0}, {1, 0, 4, 0}), 0);
    EXPECT_EQ(fill({0, 0, 1, 1}, {0, 0, 1, 1}), 0);
    EXPECT_EQ(fill({0, 0, 1, 1}, {0, 0, 0, 0}), 0);
    EXPECT_EQ(row(0), "1\t3");
    EXPECT_EQ(row(1), "5\t7");
    EXPECT_EQ(hyo.storeRowCount(), 2);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}

TEST_F(SeriesFillTest, ATargetShorterThanTheSourceKeepsToItsRows) {
    rows({"1\t2", "5\t6"});
    EXPECT_EQ(fill({0, 0, 1, 1}, {0, 0, 3, 0}), 1);
    EXPECT_EQ(row(0), "1\t2\t3\t4");
    EXPECT_EQ(row(1), "5\t6");
}

TEST_F(SeriesFillTest, EmptySourceCellsDoNotGrowTheTable) {
    rows({"a"});
    // Row 1 does not exist: repeating it writes nothing, so row 3 is not created.
    EXPECT_EQ(fill({0, 0, 0, 1}, {0, 0, 0, 3}), 1);
    EXPECT_EQ(cell(0, 2), "a");
    EXPECT_EQ(hyo.storeRowCount(), 3);
    rows({"", "x\ty"});
    EXPECT_EQ(fill({0, 0, 1, 0}, {0, 0, 3, 0}), 0);
    EXPECT_EQ(row(0), "");
    EXPECT_EQ(hyo.journal().entryCount(), 1);   // only the first fill's step
}

TEST_F(SeriesFillTest, UndoRestoresTheWholeTargetInOneStep) {
    rows({"1\t3\told", "2\t4"});
    hyo.setCell(0, 1, "2");   // an earlier step that must survive
    ASSERT_EQ(hyo.journal().entryCount(), 1);
    EXPECT_EQ(fill({0, 0, 1, 1}, {0, 0, 3, 3}), 1);
    EXPECT_EQ(hyo.journal().entryCount(), 2);
    EXPECT_EQ(row(0), "1\t3\t5\t7");
    EXPECT_EQ(row(2), "3\t5\t7\t9");
    EXPECT_EQ(row(3), "4\t6\t8\t10");
    UndoPosition position = hyo.undo();
    EXPECT_EQ(position.column, 0);
    EXPECT_EQ(position.row, 0);
    EXPECT_EQ(row(0), "1\t3\told");
    EXPECT_EQ(row(1), "2\t4");
    EXPECT_EQ(hyo.storeRowCount(), 2);   // the rows the fill added are gone again
    EXPECT_EQ(hyo.journal().entryCount(), 1);
}

TEST_F(SeriesFillTest, DecliningAFillTooLargeForUndoChangesNothing) {
    hyo.journal().setLimit(200);
    rows({"1\t2"});
    prompt.answer(PromptAnswer::No);
    EXPECT_EQ(fill({0, 0, 1, 0}, {0, 0, 1, 400}), 0);
    EXPECT_EQ(prompt.last().text, kTooMuch);
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(hyo.storeRowCount(), 1);
    EXPECT_TRUE(hyo.journal().recording());

    prompt.answer(PromptAnswer::Yes);
    EXPECT_EQ(fill({0, 0, 1, 0}, {0, 0, 1, 400}), 1);
    EXPECT_EQ(row(400), "1\t2");
    EXPECT_EQ(hyo.journal().entryCount(), 0);
    EXPECT_TRUE(hyo.journal().recording());
}

} // namespace
