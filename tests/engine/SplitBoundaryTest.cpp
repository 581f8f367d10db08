// Split at its edges: a trailing delimiter adds no column, and the column limit counts every
// column of the table whichever column is split.
#include "engine/ColumnDerive.h"

#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "support/ScriptedPrompt.h"

namespace {
ColumnSelection column(int c) { return {{c, 0, c, 499999}, SelectionShape::WholeColumns}; }
} // namespace

TEST(SplitBoundary, TrailingDelimiterAddsNoColumn) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    ColumnDerive derive;
    fillRows(hyo, {"x/", "/"});
    prompt.answer(PromptAnswer::Yes);
    EXPECT_EQ(derive.split(hyo, column(0), SplitRequest{SplitEvery, "/"}).newColumns, 1);
    EXPECT_EQ(prompt.last().text, "1列追加されます。よろしいですか？");
    EXPECT_EQ(storeBytes(hyo), "x/\tx|/|");
}

TEST(SplitBoundary, LimitCountsColumnsLeftOfTheSplitColumnToo) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    ColumnDerive derive;
    // 985 columns, column 5 holds four pieces: 985 + 4 + 10 reaches 999.
    fillRows(hyo, {std::string(5, '\t') + "a b c d" + std::string(979, '\t') + "end"});
    ASSERT_EQ(hyo.widestRowValue(), 985);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(derive.split(hyo, column(5), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(prompt.last().text, "分解されるデータが多すぎます。");
    // Three pieces stay below it.
    hyo.setRow(0, std::string(5, '\t') + "a b c" + std::string(979, '\t') + "end");
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(derive.split(hyo, column(5), ColumnDerive::splitForTag(0)).changed);
    EXPECT_EQ(hyo.widestRowValue(), 988);
}
