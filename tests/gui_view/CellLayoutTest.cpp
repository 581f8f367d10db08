// CellLayout: the lines of a cell's text and the choice between cell and column colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/CellLayout.h"

namespace {
// Each line as "text" with a trailing "|" on the last one.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> out;
    CellLayout layout(text.data(), static_cast<int>(text.size()));
    CellLine line;
    while (layout.next(line))
        out.push_back(text.substr(line.start, line.length) + (line.last ? "|" : ""));
    return out;
}
} // namespace

TEST(CellLayout, LinesEndAtCrAndCrLfCountsAsOneBreak) {
    EXPECT_EQ(linesOf("ab"), (std::vector<std::string>{"ab|"}));
    EXPECT_EQ(linesOf(""), (std::vector<std::string>{"|"}));
    EXPECT_EQ(linesOf("a\r\nb\rc"), (std::vector<std::string>{"a", "b", "c|"}));
    EXPECT_EQ(linesOf("a\r\n"), (std::vector<std::string>{"a", "|"}));
    EXPECT_EQ(linesOf("\r\r\n"), (std::vector<std::string>{"", "", "|"}));
    // A lone LF is text, not a break.
    EXPECT_EQ(linesOf("a\nb"), (std::vector<std::string>{"a\nb|"}));
    CellLayout one("12", 2), two("1\r2", 3);
    EXPECT_TRUE(one.oneLine());
    EXPECT_FALSE(two.oneLine());
}

TEST(CellLayout, CellColourWinsOverColumnColourWithinThePalette) {
    EXPECT_EQ(CellLayout::colourIndex(3, 7), 3);
    EXPECT_EQ(CellLayout::colourIndex(0, 7), 0);
    EXPECT_EQ(CellLayout::colourIndex(-1, 7), 7);
    EXPECT_EQ(CellLayout::colourIndex(120, 31), 31);
    EXPECT_EQ(CellLayout::colourIndex(32, 120), -1);
    EXPECT_EQ(CellLayout::colourIndex(-1, -1), -1);
}
