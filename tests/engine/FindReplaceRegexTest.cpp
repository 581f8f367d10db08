// Tests of find and replace with a regular expression: the walk, replace all with groups and
// its counts, the cell limit, one undo step, and patterns refused or given up before anything
// changes.
#include "engine/FindReplace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "support/ScriptedPrompt.h"

namespace {

FindParameters regex(const std::string& pattern, const std::string& replacement = "", int mode = MatchRegex) {
    FindParameters params;
    EXPECT_TRUE(FindReplace::setFindText(params, pattern, 1, mode));
    EXPECT_TRUE(FindReplace::setReplaceText(params, replacement));
    return params;
}

}  // namespace

TEST(RegexReplace, ReplaceAllWithGroupsCountsChangedCellsAndUndoesInOneStep) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    // 山田 太郎 | 120円 | ABC-1234 ; 佐藤 花子 | none | x
    fillRows(hyo, {"\x8E\x52\x93\x63 \x91\xBE\x98\x59\t120\x89\x7E\tABC-1234",
                   "\x8D\xB2\x93\xA1 \x89\xD4\x8E\x71\tnone\tx",
                   std::string(4990, 'q') + " a"});
    const std::string before = storeBytes(hyo);
    FindParameters params = regex("^(\\S+) (\\S+)$", "$2 $1");
    FindOutcome outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), 5, true);
    EXPECT_EQ(outcome.matches, 3);
    EXPECT_EQ(outcome.replaced, 3);
    EXPECT_EQ(outcome.coloured, 3);
    EXPECT_EQ(outcome.skipped, 0);
    EXPECT_EQ(hyo.cellString(0, 0), "\x91\xBE\x98\x59 \x8E\x52\x93\x63");
    EXPECT_EQ(hyo.cellString(0, 1), "\x89\xD4\x8E\x71 \x8D\xB2\x93\xA1");
    EXPECT_EQ(hyo.cellString(0, 2), "a " + std::string(4990, 'q'));
    EXPECT_EQ(hyo.cellAttribute(0, 1, AttrBackColour), 5);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(storeBytes(hyo), before);

    // Every match of a cell; a cell that would reach 5,000 bytes is skipped and counted.
    params = regex("[a-z]", "<$0>", MatchRegexNoCase);
    outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), -1, true);
    EXPECT_EQ(outcome.replaced, 3);
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_EQ(hyo.cellString(2, 0), "<A><B><C>-1234");
    EXPECT_EQ(hyo.cellString(1, 1), "<n><o><n><e>");
    EXPECT_EQ(hyo.cellString(0, 2), std::string(4990, 'q') + " a");
    // Numbers ending in 円 with a find next, from the top.
    params = regex("\\d+\x89\x7E$");   // 円
    outcome = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), -1, 0, -1, false);
    EXPECT_EQ(outcome.column * 10 + outcome.row, 10);
    EXPECT_FALSE(FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), 1, 0, -1, false).found);
}

TEST(RegexReplace, FaultyPatternsAreRefusedAndRunawayOnesChangeNothing) {
    ScriptedPrompt prompt;
    FindParameters params = regex("old");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(FindReplace::setFindText(params, "[a", 1, MatchRegexNoCase));
    EXPECT_EQ(prompt.last().text, "正規表現に誤りがあります。(3文字目：missing terminating ] for character class)");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(params.text, "old");
    EXPECT_EQ(params.mode, MatchRegex);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(FindReplace::setFindText(params, std::string(51, 'a'), 1, MatchRegex));
    EXPECT_EQ(prompt.last().text, "検索文字が長すぎます。");

    CMyHyo hyo;
    // The first cell matches at once; replacing on in the second cell runs away, as does
    // testing the cell of the second row.
    fillRows(hyo, {"x\tx" + std::string(40, 'a') + "b", std::string(40, 'a') + "b"});
    hyo.setCell(0, 0, "x");
    const std::string before = storeBytes(hyo);
    for (bool replace : {true, false}) {
        params = regex("x|(a+)+$", "y");
        prompt.answer(PromptAnswer::Ok);
        const FindOutcome outcome = FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), 3, replace);
        EXPECT_EQ(prompt.last().text, "検索が複雑すぎるため中断しました。");
        EXPECT_TRUE(outcome.gaveUp);
        EXPECT_FALSE(outcome.found);
        EXPECT_FALSE(outcome.modified());
        EXPECT_EQ(storeBytes(hyo), before);
        EXPECT_EQ(hyo.journal().entryCount(), 1);
    }
    // Replace all limited to the first row finds both cells at once and gives up replacing on
    // in the second: nothing is reported as found.
    prompt.answer(PromptAnswer::Ok);
    const FindOutcome all = FindReplace::findAll(hyo, params, SelectionRange{0, 0, 5, 0}, 3, true);
    EXPECT_EQ(prompt.last().text, "検索が複雑すぎるため中断しました。");
    EXPECT_TRUE(all.gaveUp);
    EXPECT_FALSE(all.found);
    EXPECT_EQ(all.matches, 0);
    EXPECT_EQ(storeBytes(hyo), before);
    // A single find that replaces gives up in the replacement: the cell stays as it was.
    prompt.answer(PromptAnswer::Ok);
    const FindOutcome one = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), 0, 0, -1, true);
    EXPECT_TRUE(one.gaveUp);
    EXPECT_EQ(storeBytes(hyo), before);
}

TEST(RegexReplace, EmptyCellsMatchOnlyWithinTheRow) {
    CMyHyo hyo;
    fillRows(hyo, {"a\t\tb", "c"});
    FindParameters params = regex("^$");
    std::vector<std::string> cells;
    FindOutcome at{true, -1, 0};
    while ((at = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), at.column, at.row, -1, false)).found)
        cells.push_back(std::to_string(at.column) + "," + std::to_string(at.row));
    EXPECT_EQ(cells, std::vector<std::string>{"1,0"});
}

TEST(RegexReplace, ThePatternIsCheckedWithTheCaseRuleOfItsKind) {
    // Ignoring case, each "k" stands for k, K and the Kelvin sign: compiled so, this pattern
    // is over PCRE2's size limit by about a sixth, and under it by as much with case counted.
    ScriptedPrompt prompt;
    const std::string pattern = "(?:kkkkkkkkkk){2150}";
    FindParameters params;
    EXPECT_TRUE(FindReplace::setFindText(params, pattern, 1, MatchRegex));
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(FindReplace::setFindText(params, pattern, 1, MatchRegexNoCase));
    EXPECT_EQ(prompt.last().text, "正規表現に誤りがあります。(21文字目：regular expression is too large)");
    EXPECT_EQ(params.mode, MatchRegex);
}
