// Paste, copy, colour and row insert while a filter shows only some rows: each writes or reads
// the store rows behind the view rows, and the row limit counts the rows of the store.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/ClipboardText.h"
#include "engine/ColourOperations.h"
#include "engine/PasteOperation.h"
#include "engine/RowColumnOperations.h"
#include "support/ScriptedPrompt.h"

namespace {

// Store rows a..e with rows b and d shown.
void filteredFive(CMyHyo& hyo) {
    fillRows(hyo, {"a", "b", "c", "d", "e"});
    filterTo(hyo, {1, 3});
}

// A store of exactly 500,000 rows showing only its first row.
void fullStoreShowingOneRow(CMyHyo& hyo) {
    const bool was = hyo.journal().setRecording(false);
    hyo.setRow(499999, "last");
    hyo.journal().setRecording(was);
    ASSERT_EQ(hyo.storeRowCount(), 500000);
    filterTo(hyo, {0});
}

} // namespace

TEST(FilteredEditing, PasteAndCopyUseTheStoreRowsBehindTheView) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    filteredFive(hyo);
    EXPECT_EQ(PasteOperation::paste(hyo, {1, 0, 1, 0}, "X\r\nY", {}), PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "a|b\tX|c|d\tY|e|");
    std::string copied;
    ClipboardText::copyText(hyo, {0, 0, 1, 1}, ClipboardText::CopyTabs, true, &copied);
    EXPECT_EQ(copied, "b\tX\r\nd\tY\r\n");
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), "a|b|c|d|e|");
    // The second row lands on the first view row past the shown ones: a new store row.
    EXPECT_EQ(PasteOperation::paste(hyo, {1, 1, 1, 1}, "Y\r\nZ", {}), PasteOutcome::Pasted);
    EXPECT_EQ(storeBytes(hyo), "a|b|c|d\tY|e|\tZ|");
    EXPECT_EQ(hyo.rowCount(), 3);
}

TEST(FilteredEditing, ColourGoesOnTheStoreRowsBehindTheView) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    filteredFive(hyo);
    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Cells, {0, 1, 0, 1}, false, 4), 0);
    EXPECT_EQ(ColourOperations::setColour(hyo, ColourTarget::Rows, {0, 0, 0, 0}, true, 2), 0);
    EXPECT_EQ(storeBytes(hyo), "a|\x07\x02\x04\x02" "b|c|\x02\x05\x04" "d|e|");
}

TEST(FilteredEditing, InsertedRowsGoBeforeTheStoreRowOfTheViewRow) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    filteredFive(hyo);
    EXPECT_EQ(RowColumnOperations::insertRows(hyo, 1, 1), 1);
    EXPECT_EQ(storeBytes(hyo), "a|b|c||d|e|");
    EXPECT_EQ(hyo.rowCount(), 3);
    EXPECT_EQ(hyo.rowString(2), "d");
}

TEST(FilteredEditing, TheRowLimitCountsTheStoreNotTheView) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fullStoreShowingOneRow(hyo);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(RowColumnOperations::insertRows(hyo, 0, 0), -1);
    EXPECT_EQ(prompt.last().text, "挿入される行が多すぎます。");
    // The second pasted row lies past the shown rows and would append store row 500,001.
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 0, 0}, "p\r\nq\r\n", {}), PasteOutcome::Refused);
    EXPECT_EQ(prompt.last().text, "貼り付けるデータが多すぎます。");
    EXPECT_EQ(hyo.storeRowCount(), 500000);
    EXPECT_EQ(hyo.rowCount(), 1);
    // One row still fits in place.
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 0, 0}, "p", {}), PasteOutcome::Pasted);
    EXPECT_EQ(hyo.rowList().line(0), "p");
    // A filter that lets nothing through: view row 0 would append store row 500,001.
    hyo.clearFilter();
    filterTo(hyo, {});
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(PasteOperation::paste(hyo, {0, 0, 0, 0}, "q", {}), PasteOutcome::Refused);
    EXPECT_EQ(prompt.last().text, "貼り付けるデータが多すぎます。");
    EXPECT_EQ(hyo.storeRowCount(), 500000);
}
