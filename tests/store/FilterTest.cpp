// Tests of the filter and of the cell condition it shares with find: every kind, negation,
// character boundaries, numbers, edits through the filtered view and allocation failure.
#include "store/CMyHyo.h"
#include "store/CellMatch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/core/MemoryHook.h"
#include "support/ScriptedPrompt.h"

namespace {

// Column 1 of each row holds the tested value; column 0 names the row.
CMyHyo* makeTable(const std::vector<std::string>& values) {
    auto* hyo = new CMyHyo;
    for (int row = 0; row < static_cast<int>(values.size()); ++row)
        hyo->setRow(row, "r" + std::to_string(row) + (values[row] == "<none>" ? "" : "\t" + values[row]));
    return hyo;
}

std::vector<int> passing(const std::vector<std::string>& values, const std::string& text, int kind,
                         bool negate = false) {
    std::unique_ptr<CMyHyo> hyo(makeTable(values));
    EXPECT_EQ(hyo->applyFilter(1, text, kind, 0, negate), 0);
    std::vector<int> rows;
    for (int i = 0; i < hyo->rowCount(); ++i) rows.push_back(hyo->storeRow(i));
    return rows;
}

using Rows = std::vector<int>;

}  // namespace

TEST(Filter, TextKindsWithAndWithoutCase) {
    const std::vector<std::string> v = {"abc", "ABC", "abcd", "xabc", "", "<none>", "aBc.CSV"};
    EXPECT_EQ(passing(v, "abc", MatchEqualNoCase), (Rows{0, 1}));
    EXPECT_EQ(passing(v, "abc", MatchEqual), (Rows{0}));
    EXPECT_EQ(passing(v, "ABC", MatchStartNoCase), (Rows{0, 1, 2, 6}));
    EXPECT_EQ(passing(v, "ABC", MatchStart), (Rows{1}));
    EXPECT_EQ(passing(v, ".csv", MatchEndNoCase), (Rows{6}));
    EXPECT_EQ(passing(v, ".csv", MatchEnd), (Rows{}));
    EXPECT_EQ(passing(v, "BC", MatchContainNoCase), (Rows{0, 1, 2, 3, 6}));
    EXPECT_EQ(passing(v, "BC", MatchContain), (Rows{1}));
    // Negation takes every other row, rows without the column included.
    EXPECT_EQ(passing(v, ".csv", MatchEndNoCase, true), (Rows{0, 1, 2, 3, 4, 5}));
}

TEST(Filter, EmptyTextMatchesOnlyEmptyCellsAndMissingCellsAreEmpty) {
    const std::vector<std::string> v = {"a", "", "<none>", " "};
    for (int kind : {MatchEqualNoCase, MatchStartNoCase, MatchEnd, MatchContainNoCase, MatchContain})
        EXPECT_EQ(passing(v, "", kind), (Rows{1, 2})) << kind;
    EXPECT_EQ(passing(v, "", MatchContain, true), (Rows{0, 3}));
}

TEST(Filter, TrailBytesAreNeverMatchedAsAscii) {
    // 表 = 95 5C holds a backslash, ア = 83 41 an "A", ソ = 83 5C.
    const std::vector<std::string> v = {"\x95\x5C\x8E\xA6", "\x83\x41", "x\\", "\x83\x5C", "\\"};
    EXPECT_EQ(passing(v, "\\", MatchContain), (Rows{2, 4}));
    EXPECT_EQ(passing(v, "\\", MatchEnd), (Rows{2, 4}));
    EXPECT_EQ(passing(v, "a", MatchEndNoCase), (Rows{}));
    EXPECT_EQ(passing(v, "A", MatchContainNoCase), (Rows{}));
    EXPECT_EQ(passing(v, "\x83\x41", MatchEqualNoCase), (Rows{1}));
    EXPECT_EQ(passing(v, "\x8E\xA6", MatchEnd), (Rows{0}));
}

TEST(Filter, NumberKindsUseTheFilterRule) {
    const std::vector<std::string> v = {"10", "10.5", "12abc", "9", "", "abc", "-3", "1.2.3",
                                        "12345678901234567", ".", "<none>"};
    EXPECT_EQ(passing(v, "10", MatchNumberAtLeast), (Rows{0, 1, 2}));
    EXPECT_EQ(passing(v, "10", MatchNumberEqual), (Rows{0}));
    EXPECT_EQ(passing(v, "10", MatchNumberAtMost), (Rows{0, 3, 6}));
    EXPECT_EQ(passing(v, "10", MatchNumberAbove), (Rows{1, 2}));
    EXPECT_EQ(passing(v, "-3", MatchNumberBelow), (Rows{}));
    // A text that is not a number counts as 0; non-numbers never match, negation takes them.
    EXPECT_EQ(passing(v, "abc", MatchNumberBelow), (Rows{6}));
    EXPECT_EQ(passing(v, "10", MatchNumberAtLeast, true), (Rows{3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(CellMatch, FindReadsALonePointAsZeroButTheFilterDoesNot) {
    CellMatch find("5", MatchNumberEqual, CellMatch::NumberRule::Find);
    EXPECT_TRUE(find.matches("5"));
    EXPECT_TRUE(find.matches("5.0"));
    EXPECT_TRUE(find.matches("5kg"));
    EXPECT_FALSE(find.matches("x5"));
    CellMatch zeroByFind("0", MatchNumberEqual, CellMatch::NumberRule::Find);
    CellMatch zeroByFilter("0", MatchNumberEqual, CellMatch::NumberRule::Filter);
    EXPECT_TRUE(zeroByFind.matches("."));
    EXPECT_FALSE(zeroByFilter.matches("."));
    EXPECT_FALSE(CellMatch("a", 8, CellMatch::NumberRule::Find).matches("a"));
    EXPECT_FALSE(CellMatch("a", 9, CellMatch::NumberRule::Find).matches("a"));
}

TEST(Filter, KeepFirstJournalSeekAndCondition) {
    std::unique_ptr<CMyHyo> hyo(makeTable({"x", "y", "x"}));
    hyo->setCell(1, 1, "z");
    ASSERT_GT(hyo->journal().entryCount(), 0);
    hyo->seekCell(1, 2);
    ASSERT_EQ(hyo->applyFilter(1, "x", MatchEqual, 2, false), 0);
    EXPECT_EQ(hyo->rowCount(), 3);   // rows 0 and 1 kept, row 2 matches
    EXPECT_EQ(hyo->journal().entryCount(), 0);
    EXPECT_EQ(hyo->undo().row, -1);
    EXPECT_STREQ(hyo->cellText(), "");   // the old seek into another row is gone
    EXPECT_EQ(hyo->filterColumnValue(), 1);
    EXPECT_STREQ(hyo->filterTextValue(), "x");
    EXPECT_EQ(hyo->filterKindValue(), MatchEqual);
}

TEST(Filter, EditsThroughTheFilteredViewLandOnTheirStoreRows) {
    std::unique_ptr<CMyHyo> hyo(makeTable({"keep", "drop", "keep", "drop"}));
    ASSERT_EQ(hyo->applyFilter(1, "keep", MatchEqual, 0, false), 0);
    ASSERT_EQ(hyo->rowCount(), 2);
    hyo->setCell(0, 1, "edited");
    hyo->setCell(0, 2, "appended");   // past the filtered rows: a new store row at the end
    hyo->deleteRows(0, 0);
    hyo->clearFilter();
    ASSERT_EQ(hyo->rowCount(), 4);
    EXPECT_EQ(hyo->rowString(0), "r1\tdrop");
    EXPECT_EQ(hyo->rowString(1), "edited\tkeep");
    EXPECT_EQ(hyo->rowString(2), "r3\tdrop");
    EXPECT_EQ(hyo->rowString(3), "appended");
}

TEST(Filter, AllocationFailureLeavesTheFilterOff) {
    ScriptedPrompt prompt;
    std::unique_ptr<CMyHyo> hyo(makeTable({"a", "a"}));
    prompt.answer(PromptAnswer::Ok);
    MemoryHook::failAll(true);
    EXPECT_EQ(hyo->applyFilter(1, "a", MatchEqual, 0, false), -1);
    MemoryHook::failAll(false);
    EXPECT_EQ(prompt.last().text, "抽出用の領域確保に失敗しました。");
    EXPECT_FALSE(hyo->isFiltered());
    EXPECT_EQ(hyo->rowCount(), 2);
}
