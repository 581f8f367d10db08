// Ignoring case folds ASCII letters only: the trail byte of a double-byte character is never
// folded, so ア (83 41) and ャ (83 61) stay different characters.
#include "engine/FindReplace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/CMyHyo.h"
#include "store/CellMatch.h"

namespace {

std::vector<std::string> foundCells(CMyHyo& hyo, const std::string& text, int mode) {
    FindParameters params;
    EXPECT_TRUE(FindReplace::setFindText(params, text, 1, mode));
    std::vector<std::string> cells;
    FindOutcome at{true, -1, 0};
    while ((at = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), at.column, at.row, -1, false)).found)
        cells.push_back(std::to_string(at.column) + "," + std::to_string(at.row));
    return cells;
}

using Cells = std::vector<std::string>;

} // namespace

TEST(FindTrailByteCase, TrailBytesAreNotFolded) {
    CMyHyo hyo;
    hyo.setRow(0, "\x83\x61\tx\x83\x61\t\x83\x41");   // ャ, xャ, ア
    EXPECT_EQ(foundCells(hyo, "\x83\x41", MatchEqualNoCase), (Cells{"2,0"}));
    EXPECT_EQ(foundCells(hyo, "\x83\x41", MatchContainNoCase), (Cells{"2,0"}));
    EXPECT_EQ(foundCells(hyo, "X\x83\x41", MatchStartNoCase), (Cells{}));
    EXPECT_EQ(foundCells(hyo, "\x83\x61", MatchEndNoCase), (Cells{"0,0", "1,0"}));
}

TEST(FindTrailByteCase, TheFirstAndLastLettersFold) {
    // A and Z, the ends of the letter range, within a pattern and as its first character.
    CMyHyo hyo;
    hyo.setRow(0, "xa\txz\tZ");
    hyo.setRow(1, "Z");
    EXPECT_EQ(foundCells(hyo, "XA", MatchContainNoCase), (Cells{"0,0"}));
    EXPECT_EQ(foundCells(hyo, "XZ", MatchContainNoCase), (Cells{"1,0"}));
    EXPECT_EQ(foundCells(hyo, "z", MatchEqualNoCase), (Cells{"2,0", "0,1"}));
}
