// Find at its edges: the last palette colour, a match at the very start of a row, and searches
// upwards that start in the bottom row or cross rows.
#include "engine/FindReplace.h"

#include <gtest/gtest.h>

#include <string>

#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "support/ScriptedPrompt.h"

namespace {

FindParameters search(const std::string& text, int mode, int direction = 1) {
    FindParameters params;
    EXPECT_TRUE(FindReplace::setFindText(params, text, direction, mode));
    return params;
}

std::string at(const FindOutcome& outcome) {
    return outcome.found ? std::to_string(outcome.column) + "," + std::to_string(outcome.row) : "none";
}

} // namespace

TEST(FindEdge, FindAllColoursWithTheLastPaletteEntry) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.setRow(0, "k\tx");
    FindParameters params = search("k", MatchEqual);
    EXPECT_EQ(FindReplace::findAll(hyo, params, FindReplace::wholeTable(hyo), 15, false).coloured, 1);
    EXPECT_EQ(hyo.rowList().line(0), "\x02\x05\x0Fk\tx");
}

TEST(FindEdge, CaseIgnoredMatchAtTheStartOfTheRowIsFound) {
    CMyHyo hyo;
    hyo.setRow(0, "Xy");
    const FindParameters params = search("xy", MatchEqualNoCase);
    EXPECT_EQ(at(FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), -1, 0, -1, false)), "0,0");
}

TEST(FindEdge, UpwardsFromTheBottomRowTakesOnlyCellsLeftOfTheStart) {
    CMyHyo hyo;
    hyo.setRow(0, "a\tb");
    hyo.setRow(1, "a\tq\ta");
    const FindParameters params = search("a", MatchEqual, -1);
    const SelectionRange all = FindReplace::wholeTable(hyo);
    EXPECT_EQ(at(FindReplace::findNext(hyo, params, all, 1, 1, -1, false)), "0,1");
    // Upwards across rows: the second row's cells (one holds an "a" that is no match) do not
    // carry into the first.
    hyo.setRow(1, "xa\ty\tz");
    EXPECT_EQ(at(FindReplace::findNext(hyo, params, all, 3, 1, -1, false)), "0,0");
}
