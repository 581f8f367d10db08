// Allocation failure injected at every step of store operations: the old contents must survive.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/core/MemoryHook.h"
#include "support/ScriptedPrompt.h"

namespace {
struct Failing {
    explicit Failing(long n) {
        MemoryHook::resetCount();
        MemoryHook::failAfter(n);
    }
    ~Failing() { MemoryHook::failAfter(0); }
};

void fillSample(CMyHyo& hyo) {
    bool was = hyo.journal().setRecording(false);
    for (int r = 0; r < 30; ++r) hyo.setRow(r, "r" + std::to_string(r) + "\tsecond\tthird");
    hyo.setColumnWidth(1, 77);
    hyo.journal().setRecording(was);
}

std::string dump(CMyHyo& hyo) {
    std::string out;
    for (int r = 0; r < hyo.storeRowCount(); ++r) out += hyo.rowList().line(r) + "\n";
    for (int c = 0; c < hyo.columnCount(); ++c) out += hyo.columnList().line(c) + "\n";
    return out;
}

// Runs `change` with the n-th allocation failing for n = 1, 2, ... until it runs clean. After
// every run the table is either untouched or fully changed, and undo (when the change was
// journalled) leads back to the original.
int failEveryStep(const std::function<void(CMyHyo&)>& change,
                  const std::function<void(CMyHyo&)>& prepare = [](CMyHyo&) {}) {
    int failedRuns = 0;
    CMyHyo reference;
    fillSample(reference);
    prepare(reference);
    const std::string original = dump(reference);
    change(reference);
    const std::string changed = dump(reference);
    for (long n = 1; n < 200; ++n) {
        ScriptedPrompt prompt;
        prompt.allowUnscripted();
        CMyHyo hyo;
        fillSample(hyo);
        prepare(hyo);
        long used;
        {
            Failing failing(n);
            change(hyo);
            used = MemoryHook::count();
        }
        std::string now = dump(hyo);
        EXPECT_TRUE(now == original || now == changed) << "failure at allocation " << n;
        if (now == original) {
            EXPECT_EQ(hyo.journal().entryCount(), 0) << "no-op undo step left at " << n;
        }
        if (now == changed && hyo.journal().entryCount() > 0) {
            hyo.undo();
            EXPECT_EQ(dump(hyo), original) << "undo after failure at allocation " << n;
        }
        if (used < n) return failedRuns;  // no allocation failed: every step has been tried
        ++failedRuns;
    }
    return failedRuns;
}
} // namespace

TEST(AllocationFailure, CellEditKeepsTheRowWhateverAllocationFails) {
    EXPECT_GT(failEveryStep([](CMyHyo& hyo) { hyo.setCell(2, 4, std::string(3000, 'g').c_str()); }), 0);
}

TEST(AllocationFailure, AttributeAndHeightChangesKeepTheRow) {
    // Long rows, so that the change needs a larger work buffer and new room.
    auto longRows = [](CMyHyo& hyo) {
        bool was = hyo.journal().setRecording(false);
        hyo.setRow(7, std::string(2500, 'x') + "\ty");
        hyo.setRow(9, std::string(2600, 'z'));
        hyo.journal().setRecording(was);
    };
    EXPECT_GT(failEveryStep([](CMyHyo& hyo) { hyo.setCellAttribute(1, 7, AttrBackColour, 3, 1, 0); }, longRows), 0);
    EXPECT_GT(failEveryStep([](CMyHyo& hyo) { hyo.setRowHeight(9, 44); }, longRows), 0);
}

TEST(AllocationFailure, ColumnWidthKeepsTheRecords) {
    failEveryStep([](CMyHyo& hyo) {
        hyo.journalColumnRecord(3);
        bool was = hyo.journal().setRecording(false);
        hyo.setColumnWidth(3, 100);
        hyo.journal().setRecording(was);
    });
}

TEST(AllocationFailure, FilteredInsertThatCannotGrowTheListInsertsNothing) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    CMyHyo hyo;
    fillSample(hyo);
    hyo.addFilterRow(2);
    hyo.setFilterActive(true);
    {
        Failing failing(1);  // the filter list, grown before any row is made
        EXPECT_EQ(hyo.insertRows(0, 299), 0);
    }
    EXPECT_EQ(prompt.last().text, "領域確保に失敗しました。");
    EXPECT_TRUE(hyo.isFiltered());
    EXPECT_EQ(hyo.filterRowCount(), 1);
    EXPECT_EQ(hyo.storeRowCount(), 30);
    EXPECT_EQ(hyo.journal().entryCount(), 0);   // no marker that would delete real rows
}

// Undo of an insert deletes the rows it names: a failed insert must leave no such marker.
TEST(AllocationFailure, RowInsertLeavesNoUndoMarkerWhenItFails) {
    EXPECT_GT(failEveryStep([](CMyHyo& hyo) { hyo.insertRows(3, 400); }), 0);
    auto filtered = [](CMyHyo& hyo) {
        for (int r = 0; r < 30; r += 2) hyo.addFilterRow(r);
        hyo.setFilterActive(true);
    };
    EXPECT_GT(failEveryStep([](CMyHyo& hyo) { hyo.insertRows(1, 400); }, filtered), 0);
}

TEST(AllocationFailure, WorkBufferAtConstructionIsReported) {
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    MemoryHook::failAll(true);
    CMyHyo hyo;
    MemoryHook::failAll(false);
    EXPECT_EQ(prompt.shown().front().text, "CMyHyoにて領域確保に失敗しました。");
    EXPECT_EQ(hyo.setCell(0, 0, "works later"), 1);
    EXPECT_EQ(hyo.cellString(0, 0), "works later");
}
