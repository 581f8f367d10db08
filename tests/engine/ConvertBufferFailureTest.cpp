// The conversion's work buffer: a failed first allocation stops the command with its own
// text, and the table keeps what it had.
#include "engine/SelectionConvert.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/MemoryHook.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"

TEST(ConvertBufferFailure, FailedFirstAllocationHasItsOwnText) {
    CMyHyo hyo;
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    const std::string row = "abc";
    hyo.setRow(0, row);

    MemoryHook::failAfter(1);
    ConvertOutcome out = SelectionConvert::run(hyo, {0, 0, 0, 0}, SelectionConvert::forTag(2));
    MemoryHook::failAfter(0);
    EXPECT_EQ(out.changedCells, 0);
    EXPECT_EQ(hyo.rowString(0), row);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "CMyHyoCom:Buf領域確保失敗");
    EXPECT_EQ(prompt.last().caption, "システムエラー");
}
