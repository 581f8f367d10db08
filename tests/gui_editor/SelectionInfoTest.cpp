// Tests of the selection summaries (information lines, line totals).
#include "grid/SelectionInfo.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(SelectionInfoTest, StatisticsOfATwoByTwoBlock) {
    CMyHyo hyo;
    hyo.setRow(0, "x\t1\t22");
    hyo.setRow(1, "x\t333\t");
    SelectionRange range{1, 0, 2, 1};
    EXPECT_EQ(SelectionInfo::informationText(hyo, range, 0), "範囲：(2-1) - (3-2)");
    std::vector<std::string> items = SelectionInfo::informationItems(hyo, range);
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[1], "全文字サイズ:6");
    EXPECT_EQ(items[2], "最大文字サイズ:3");
    EXPECT_EQ(items[3], "最大文字サイズ位置:2-2");
    EXPECT_EQ(items[4], "最小文字サイズ:0");
    EXPECT_EQ(items[5], "最小文字サイズ位置:3-2");
}

TEST(SelectionInfoTest, TiesKeepTheFirstCellAndColoursAreNotCounted) {
    CMyHyo hyo;
    hyo.setRow(0, "ab\tcd\tef");
    hyo.setCellAttribute(1, 0, AttrBackColour, 3, 1, 1);
    SelectionRange range{0, 0, 2, 0};
    EXPECT_EQ(SelectionInfo::informationText(hyo, range, 1),
              "全文字サイズ:6\t最大文字サイズ:2\t最大文字サイズ位置:1-1\t"
              "最小文字サイズ:2\t最小文字サイズ位置:1-1");
    // One cell: the range line names it twice.
    EXPECT_EQ(SelectionInfo::informationText(hyo, SelectionRange{4, 9, 4, 9}, 0),
              "範囲：(5-10) - (5-10)");
}

TEST(SelectionInfoTest, NumericPrefixes) {
    double v = 0;
    EXPECT_TRUE(SelectionInfo::numericPrefix("1.5", v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    EXPECT_TRUE(SelectionInfo::numericPrefix("3abc", v));
    EXPECT_DOUBLE_EQ(v, 3);
    EXPECT_TRUE(SelectionInfo::numericPrefix("-", v));
    EXPECT_DOUBLE_EQ(v, 0);
    EXPECT_FALSE(SelectionInfo::numericPrefix("abc", v));
    EXPECT_FALSE(SelectionInfo::numericPrefix("", v));
    EXPECT_FALSE(SelectionInfo::numericPrefix("1.2.3", v));
    EXPECT_TRUE(SelectionInfo::numericPrefix("-1234567890123.", v));   // 14 characters
    EXPECT_FALSE(SelectionInfo::numericPrefix("123456789012345", v));  // 15 digits
}

// Qt takes LC_NUMERIC from the environment: the totals must not follow it.
TEST(SelectionInfoTest, TotalsIgnoreTheLocale) {
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    CMyHyo hyo;
    hyo.setRow(0, "1.5\t2,5\t\t-0.25");
    double v = 0;
    EXPECT_TRUE(SelectionInfo::numericPrefix("1.5", v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    EXPECT_DOUBLE_EQ(SelectionInfo::sumAlongLine(hyo, true, 0, 0, 3), 3.25);   // "2,5" is 2
    std::setlocale(LC_NUMERIC, "C");
}

TEST(SelectionInfoTest, SumsAlongRowsAndColumns) {
    CMyHyo hyo;
    hyo.setRow(0, "1.5\t-2\t3abc\tabc");
    hyo.setRow(1, "1.2.3");
    hyo.setRow(2, "7x");
    EXPECT_DOUBLE_EQ(SelectionInfo::sumAlongLine(hyo, true, 0, 0, 3), 2.5);
    EXPECT_DOUBLE_EQ(SelectionInfo::sumAlongLine(hyo, true, 0, 3, 0), 2.5);   // normalised
    EXPECT_DOUBLE_EQ(SelectionInfo::sumAlongLine(hyo, false, 0, 0, 2), 8.5);  // 1.5 + 0 + 7
    EXPECT_DOUBLE_EQ(SelectionInfo::sumAlongLine(hyo, false, 0, 0, 900), 8.5);  // beyond data
    EXPECT_DOUBLE_EQ(SelectionInfo::sumAlongLine(hyo, true, -1, 0, 3), 0);
    EXPECT_DOUBLE_EQ(SelectionInfo::sumAlongLine(hyo, true, 0, -1, 3), 0);
}

}  // namespace
