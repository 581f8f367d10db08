// Tests of find and replace: the match modes, the walk and its range, limits, replacements at
// character starts, skipped cells, counts, progress and the one undo step per command.
#include "engine/FindReplace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "support/CancellingSink.h"
#include "support/ScriptedPrompt.h"

namespace {

void fill(CMyHyo& hyo, const std::vector<std::string>& lines) {
    for (int row = 0; row < static_cast<int>(lines.size()); ++row) hyo.setRow(row, lines[row]);
}

FindParameters search(const std::string& text, int mode, int direction = 1, const std::string& replacement = "") {
    FindParameters params;
    EXPECT_TRUE(FindReplace::setFindText(params, text, direction, mode));
    EXPECT_TRUE(FindReplace::setReplaceText(params, replacement));
    return params;
}

// Cells found by find-all over the whole table, as "column,row".
std::vector<std::string> found(CMyHyo& hyo, FindParameters params) {
    std::vector<std::string> cells;
    FindOutcome at{true, -1, 0};
    while ((at = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), at.column, at.row, -1, false)).found)
        cells.push_back(std::to_string(at.column) + "," + std::to_string(at.row));
    return cells;
}

using Cells = std::vector<std::string>;

}  // namespace

TEST(FindModes, TextModesWithAndWithoutCaseAtCharacterStarts) {
    CMyHyo hyo;
    // 表示 = 95 5C 8E A6 holds a backslash, ソ = 83 5C, ア = 83 41 holds an "A".
    fill(hyo, {"ABC\tabc\txabcx", "\x95\x5C\x8E\xA6\t\x83\x5C\ta\\b", "\x83\x41\tA"});
    EXPECT_EQ(found(hyo, search("abc", MatchEqualNoCase)), (Cells{"0,0", "1,0"}));
    EXPECT_EQ(found(hyo, search("abc", MatchEqual)), (Cells{"1,0"}));
    EXPECT_EQ(found(hyo, search("ab", MatchStart)), (Cells{"1,0"}));
    EXPECT_EQ(found(hyo, search("C", MatchEndNoCase)), (Cells{"0,0", "1,0"}));
    EXPECT_EQ(found(hyo, search("BC", MatchContainNoCase)), (Cells{"0,0", "1,0", "2,0"}));
    EXPECT_EQ(found(hyo, search("\\", MatchContain)), (Cells{"2,1"}));
    EXPECT_EQ(found(hyo, search("\\", MatchEnd)), (Cells{}));
    EXPECT_EQ(found(hyo, search("a", MatchContainNoCase)), (Cells{"0,0", "1,0", "2,0", "2,1", "1,2"}));
}

TEST(FindModes, NumericModesReadTheLeadingNumber) {
    CMyHyo hyo;
    fill(hyo, {"5\t5.0\t5kg\tx5\t\t.\t-5\t12345678901234567"});
    EXPECT_EQ(found(hyo, search("5", MatchNumberEqual)), (Cells{"0,0", "1,0", "2,0"}));
    EXPECT_EQ(found(hyo, search("0", MatchNumberBelow)), (Cells{"6,0"}));
    // A search text that is not a number looks for 0; a lone point is 0.
    EXPECT_EQ(found(hyo, search("abc", MatchNumberEqual)), (Cells{"5,0"}));
    EXPECT_EQ(found(hyo, search("5", MatchNumberAtLeast)), (Cells{"0,0", "1,0", "2,0"}));
    // The parameters keep the number read, and 0 for a text that is none.
    FindParameters params;
    ASSERT_TRUE(FindReplace::setFindText(params, "12.5", 1, MatchNumberEqual));
    EXPECT_EQ(params.value, 12.5);
    ASSERT_TRUE(FindReplace::setFindText(params, "abc", 1, MatchNumberEqual));
    EXPECT_EQ(params.value, 0.0);
}

TEST(FindWalk, DownAndUpWithoutWrapAndInsideARange) {
    CMyHyo hyo;
    fill(hyo, {"x\tx\tx", "x\tx\tx", "x\tx\tx", "x\tx\tx"});
    FindParameters down = search("x", MatchEqual);
    FindParameters up = search("x", MatchEqual, -1);
    SelectionRange all = FindReplace::wholeTable(hyo);
    EXPECT_EQ((std::vector<int>{all.left, all.top, all.right, all.bottom}), (std::vector<int>{0, 0, 998, 3}));
    FindOutcome next = FindReplace::findNext(hyo, down, all, 2, 0, -1, false);
    EXPECT_EQ(next.column * 10 + next.row, 1);   // (0, 1): the next row starts at its first cell
    next = FindReplace::findNext(hyo, up, all, 0, 1, -1, false);
    EXPECT_EQ(next.column * 10 + next.row, 20);  // (2, 0): the row above ends at its last cell
    EXPECT_FALSE(FindReplace::findNext(hyo, down, all, 2, 3, -1, false).found);
    EXPECT_FALSE(FindReplace::findNext(hyo, up, all, 0, 0, -1, false).found);

    SelectionRange range{1, 1, 1, 2};   // column 1 of rows 1 and 2
    next = FindReplace::findNext(hyo, down, range, 2, 0, -1, false);
    EXPECT_EQ(next.column * 10 + next.row, 11);  // from above: the top-left cell
    next = FindReplace::findNext(hyo, down, range, 1, 1, -1, false);
    EXPECT_EQ(next.column * 10 + next.row, 12);  // the other columns are not tested
    next = FindReplace::findNext(hyo, up, range, 0, 3, -1, false);
    EXPECT_EQ(next.column * 10 + next.row, 12);  // from below: the last cell of the bottom row
    EXPECT_FALSE(FindReplace::findNext(hyo, down, range, 0, 3, -1, false).found);
    EXPECT_FALSE(FindReplace::findNext(hyo, up, range, 2, 0, -1, false).found);
    EXPECT_FALSE(FindReplace::findNext(hyo, search("", MatchEqual), all, -1, 0, -1, false).found);
}

TEST(FindLimits, TextsOverFiftyBytesAreRefusedAndKeepTheOldSearch) {
    ScriptedPrompt prompt;
    FindParameters params = search("old", MatchContain);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(FindReplace::setFindText(params, std::string(51, 'a'), -1, MatchEqual));
    EXPECT_EQ(prompt.last().text, "検索文字が長すぎます。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(params.text, "old");
    EXPECT_EQ(params.mode, MatchContain);
    EXPECT_EQ(params.direction, 1);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(FindReplace::setReplaceText(params, std::string(51, 'b')));
    EXPECT_EQ(prompt.last().text, "置換文字が長すぎます。");
    EXPECT_TRUE(FindReplace::setFindText(params, std::string(50, '\x82'), 7, MatchEqual));   // 50 bytes
    EXPECT_EQ(params.direction, 1);
    EXPECT_TRUE(FindReplace::setReplaceText(params, std::string(50, 'b')));
}

TEST(Replace, EveryOccurrenceAtCharacterStartsAndNothingElse) {
    std::string out;
    EXPECT_EQ(FindReplace::replaceText("aXa", "a", "bb", out), 1);
    EXPECT_EQ(out, "bbXbb");
    EXPECT_EQ(FindReplace::replaceText("abab", "ab", "c", out), 1);
    EXPECT_EQ(out, "cc");
    EXPECT_EQ(FindReplace::replaceText("aaa", "aa", "b", out), 1);
    EXPECT_EQ(out, "ba");
    // 表示\ : only the last backslash is a character of its own.
    EXPECT_EQ(FindReplace::replaceText("\x95\x5C\x8E\xA6\\", "\\", "/", out), 1);
    EXPECT_EQ(out, "\x95\x5C\x8E\xA6/");
    EXPECT_EQ(FindReplace::replaceText("\x95\x5C\x8E\xA6", "\\", "/", out), 0);
    EXPECT_EQ(FindReplace::replaceText("ABC", "abc", "x", out), 0);   // byte-exact
    EXPECT_EQ(FindReplace::replaceText("same", "same", "same", out), 0);
    EXPECT_EQ(FindReplace::replaceText(std::string(4999, 'a'), "a", "b", out), 1);
    EXPECT_EQ(FindReplace::replaceText(std::string(4998, 'a') + "x", "x", "yy", out), -1);
    // Later occurrences are byte-exact too; nothing to replace is 0 however long the text.
    EXPECT_EQ(FindReplace::replaceText("aXA", "a", "b", out), 1);
    EXPECT_EQ(out, "bXA");
    EXPECT_EQ(FindReplace::replaceText("abc", "", "x", out), 0);
    EXPECT_EQ(FindReplace::replaceText(std::string(5000, 'a'), "x", "y", out), 0);
    EXPECT_EQ(FindReplace::replaceText("axa", "x", std::string(5000, 'r'), out), -1);
}

TEST(Replace, ReplaceAllCountsChangedCellsAndUndoesInOneStep) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fill(hyo, {"aXa\tABAB\tzz", "none\t\x95\x5C\\", std::string(4990, 'q') + "a"});
    hyo.setCellAttribute(1, 0, AttrBackColour, 7, 1, 1);
    const std::string before0 = hyo.rowString(0), before1 = hyo.rowString(1), before2 = hyo.rowString(2);
    FindParameters params = search("a", MatchContainNoCase, 1, "bbbbbbbbbbbb");
    FindOutcome outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), 3, true);
    EXPECT_TRUE(outcome.found);
    EXPECT_EQ(outcome.matches, 3);
    EXPECT_EQ(outcome.replaced, 1);   // ABAB holds no lower-case a: found, coloured, not replaced
    EXPECT_EQ(outcome.skipped, 1);    // the long cell would reach 5,000 bytes
    EXPECT_EQ(outcome.coloured, 3);
    EXPECT_EQ(outcome.column * 10 + outcome.row, 2);
    EXPECT_EQ(hyo.cellString(0, 0), "bbbbbbbbbbbbXbbbbbbbbbbbb");
    EXPECT_EQ(hyo.cellString(1, 0), "ABAB");
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), 3);
    EXPECT_EQ(hyo.cellString(0, 2), std::string(4990, 'q') + "a");
    EXPECT_EQ(hyo.cellAttribute(0, 2, AttrBackColour), 3);
    EXPECT_EQ(hyo.cellAttribute(2, 0, AttrBackColour), -1);

    prompt.answer(PromptAnswer::Ok);
    prompt.answer(PromptAnswer::Ok);
    FindReplace::reportAll(outcome, true);
    ASSERT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(prompt.shown()[0].text, "1箇所のセルを置換しました。");
    EXPECT_EQ(prompt.shown()[0].caption, "確認");
    EXPECT_EQ(prompt.shown()[0].icon, PromptIcon::Information);
    EXPECT_EQ(prompt.shown()[1].text, "1箇所のセルは文字数がオーバーするため変更できませんでした。");
    EXPECT_EQ(prompt.shown()[1].caption, "注意");

    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(hyo.rowString(0), before0);
    EXPECT_EQ(hyo.rowString(1), before1);
    EXPECT_EQ(hyo.rowString(2), before2);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}

TEST(Replace, ReplaceCountAndStepThroughTheGivenExamples) {
    CMyHyo hyo;
    fill(hyo, {"aXa\tabab\tb"});
    FindParameters params = search("a", MatchContain, 1, "bb");
    SelectionRange first{0, 0, 0, 0};
    FindOutcome outcome = FindReplace::findAll(hyo, params, first, -1, true);
    EXPECT_EQ(outcome.replaced, 1);
    EXPECT_EQ(hyo.cellString(0, 0), "bbXbb");
    params = search("ab", MatchStart, 1, "c");
    outcome = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), 0, 0, -1, true);
    EXPECT_EQ(outcome.matches, 1);
    EXPECT_EQ(outcome.column, 1);
    EXPECT_EQ(hyo.cellString(1, 0), "cc");
    hyo.undo();
    EXPECT_EQ(hyo.cellString(1, 0), "abab");
}

TEST(FindAll, ColoursEveryMatchAndReportsTheCount) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fill(hyo, {"k\tk\tk\tn", "n\tk", "k\tk\tn\tk"});
    FindParameters params = search("k", MatchEqual, -1);
    FindOutcome outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), 3, false);
    EXPECT_EQ(params.direction, 1);
    EXPECT_EQ(outcome.matches, 7);
    EXPECT_EQ(outcome.coloured, 7);
    EXPECT_EQ(hyo.cellAttribute(3, 2, AttrBackColour), 3);
    EXPECT_EQ(hyo.cellAttribute(3, 0, AttrBackColour), -1);
    prompt.answer(PromptAnswer::Ok);
    FindReplace::reportAll(outcome, false);
    EXPECT_EQ(prompt.last().text, "7箇所のセルの色を設定しました。");
    hyo.undo();
    EXPECT_EQ(hyo.cellAttribute(3, 2, AttrBackColour), -1);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), -1);
    EXPECT_FALSE(FindReplace::findAll(hyo, params = search("absent", MatchEqual), FindReplace::wholeTable(hyo), 3,
                                      false).found);
}

TEST(FindAll, DecliningToGoOnWithoutUndoChangesNothing) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.journal().setLimit(1000);
    for (int row = 0; row < 200; ++row) hyo.setRow(row, "abcdefghij\tabc");
    hyo.setCell(0, 0, "abcdefghij");
    const int entries = hyo.journal().entryCount();
    FindParameters params = search("abc", MatchEqual, 1, "x");
    prompt.answer(PromptAnswer::No);
    FindOutcome outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), 2, true);
    EXPECT_EQ(prompt.last().text, "データが多いためUNDOで戻すことができなくなります。\nよろしいですか？");
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.modified());
    EXPECT_EQ(hyo.cellString(1, 199), "abc");
    EXPECT_EQ(hyo.cellAttribute(1, 199, AttrBackColour), -1);
    EXPECT_EQ(hyo.journal().entryCount(), entries);
    prompt.answer(PromptAnswer::Yes);
    outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), 2, true);
    EXPECT_EQ(outcome.replaced, 200);
    EXPECT_EQ(hyo.cellString(1, 199), "x");
}

TEST(FindNext, ColoursAndReplacesOnlyTheCellFoundInEitherDirection) {
    CMyHyo hyo;
    fill(hyo, {"k\tk\tk", "k\tk"});
    const SelectionRange all = FindReplace::wholeTable(hyo);
    FindOutcome outcome = FindReplace::findNext(hyo, search("k", MatchEqual), all, -1, 0, 3, false);
    EXPECT_EQ(outcome.column * 10 + outcome.row, 0);
    EXPECT_EQ(outcome.coloured, 1);
    outcome = FindReplace::findNext(hyo, search("k", MatchEqual, -1, "x"), all, 2, 1, -1, true);
    EXPECT_EQ(outcome.column * 10 + outcome.row, 11);
    EXPECT_EQ(outcome.replaced, 1);
    EXPECT_EQ((Cells{hyo.cellString(0, 0), hyo.cellString(1, 0), hyo.cellString(2, 0), hyo.cellString(0, 1),
                     hyo.cellString(1, 1)}),
              (Cells{"k", "k", "k", "k", "x"}));
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), 3);
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), -1);
}

TEST(FindAll, OnlyPaletteColoursColourAndCellsBetweenMatchesKeepTheirs) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    fill(hyo, {"k\tn\tk"});
    hyo.setCellAttribute(1, 0, AttrBackColour, 7, 1, 1);
    hyo.setCellAttribute(2, 0, AttrBackColour, 9, 1, 1);
    const SelectionRange all = FindReplace::wholeTable(hyo);
    FindParameters params = search("k", MatchEqual, 1, "k2");
    // No colour, but a replacement: the matched cells keep their backgrounds.
    EXPECT_EQ(FindReplace::findAll(hyo, params, all, -1, true).replaced, 2);
    EXPECT_EQ(hyo.cellAttribute(2, 0, AttrBackColour), 9);
    params = search("k2", MatchEqual);
    EXPECT_EQ(FindReplace::findAll(hyo, params, all, 16, false).coloured, 0);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), -1);
    EXPECT_EQ(FindReplace::findAll(hyo, params, all, 0, false).coloured, 2);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), 0);
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), 7);
    EXPECT_EQ(hyo.cellAttribute(2, 0, AttrBackColour), 0);
    hyo.undo();
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), 7);
    EXPECT_EQ(hyo.cellAttribute(2, 0, AttrBackColour), 9);
}

TEST(FindAll, ReportsOneUnitPerRowOfTheRangeAndOnePerRowWithAChange) {
    CMyHyo hyo;
    fill(hyo, {"n", "k", "n\tk"});
    FindParameters params = search("k", MatchEqual);
    {
        // Rows 0-2 of a range reaching below the table: six units, the second half from row 3 on.
        CancellingSink sink;
        EXPECT_EQ(FindReplace::findAll(hyo, params, SelectionRange{0, 0, 5, 50}, 3, false).coloured, 2);
        EXPECT_EQ(sink.names, std::vector<std::string>{"検索"});
        EXPECT_EQ(sink.reports, 5);   // rows 0, 1, 2, then 3 + 1 and 3 + 2
        EXPECT_EQ(sink.lastDone, 5);
        EXPECT_EQ(sink.lastTotal, 6);
    }
    {
        // A range without columns is not walked.
        CancellingSink sink;
        EXPECT_FALSE(FindReplace::findAll(hyo, params, SelectionRange{3, 0, 1, 2}, 3, false).found);
        EXPECT_EQ(sink.reports, 0);
    }
}

TEST(FindAll, RowsBetweenTwoChangedCellsCostTheJournalOneMarkerEach) {
    // 700 rows under the smallest journal (1,000 bytes): recording the two changed cells and a
    // marker for each row fits; recording any other cell of the rows between would not.
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.journal().setLimit(1000);
    const bool was = hyo.journal().setRecording(false);
    for (int row = 0; row < 700; ++row) hyo.setRow(row, row == 0 || row == 699 ? "k" : "n");
    hyo.journal().setRecording(was);
    FindParameters params = search("k", MatchEqual, 1, "x");
    const FindOutcome outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), -1, true);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.replaced, 2);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(hyo.cellString(0, 0), "k");
    EXPECT_EQ(hyo.cellString(0, 699), "k");
}
