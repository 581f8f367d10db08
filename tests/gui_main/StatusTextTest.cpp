// Status panel wording: selection forms, cut texts, totals and the format panels.
#include "app/StatusText.h"

#include "platform/core/CodePage.h"

#include <gtest/gtest.h>

TEST(StatusText, SelectionForms) {
    EXPECT_EQ(StatusText::selection(0, 0, 0, 0, ""), "列行[1,1]");
    // Columns 2 to 4 of row 5 (1-based): range form with the trailing blank.
    EXPECT_EQ(StatusText::selection(1, 4, 3, 4, ""), "列行[2,5]-[4,5] (3x1) ");
    EXPECT_EQ(StatusText::selection(0, 0, 0, 0, CodePage::toCp932("名前")), "列行[1,1](名前)");
}

TEST(StatusText, ColumnNameIsCutTo30Bytes) {
    const std::string name(40, 'n');
    EXPECT_EQ(StatusText::selection(0, 0, 0, 0, name), "列行[1,1](" + std::string(30, 'n') + "..)");
    EXPECT_EQ(StatusText::selection(0, 0, 0, 0, std::string(30, 'n')),
              "列行[1,1](" + std::string(30, 'n') + ")");
}

TEST(StatusText, CutStopsAtTabAndKeepsDoubleByteCharactersWhole) {
    EXPECT_EQ(StatusText::cut("abc\tdef", 54), "abc");
    EXPECT_EQ(StatusText::cut("abcdef", 3), "abc..");
    EXPECT_EQ(StatusText::cut("abc", 3), "abc");
    // "aあい" in CP932 is a + two double-byte characters; cutting at 2 bytes copies 3.
    const std::string text = "a" + CodePage::toCp932("あい");
    EXPECT_EQ(StatusText::cut(text.c_str(), 2), "a" + CodePage::toCp932("あ") + "..");
    EXPECT_EQ(StatusText::cut(nullptr, 5), "");
}

TEST(StatusText, CellExcerptIsCutTo54BytesOnOneLine) {
    const std::string text(60, 'z');
    EXPECT_EQ(StatusText::cellExcerpt(text.c_str()), std::string(54, 'z') + "..");
    EXPECT_EQ(StatusText::cellExcerpt("two\r\nlines"), "two  lines");
    // The trail byte 0x0D never occurs, but a trail byte equal to "\\" or "|" must survive.
    const std::string soft = CodePage::toCp932("ソ表");
    EXPECT_EQ(StatusText::cellExcerpt(soft.c_str()), "ソ表");
}

TEST(StatusText, TotalsDropTrailingZeros) {
    EXPECT_EQ(StatusText::total(true, 12.5), "横計:12.5");
    EXPECT_EQ(StatusText::total(false, 6), "縦計:6");
    EXPECT_EQ(StatusText::total(false, -0.25), "縦計:-0.25");
}

TEST(StatusText, FormatPanels) {
    EXPECT_EQ(StatusText::tableSize(3, 10), "MAX列:3 MAX行:10");
    EXPECT_EQ(StatusText::zoom(120), "120%");
    EXPECT_EQ(StatusText::separator(',', false), "CSV");
    EXPECT_EQ(StatusText::separator('\t', true), "TAB+色情報");
    EXPECT_EQ(StatusText::encoding(0, true), "SHIFT-JIS");
    EXPECT_EQ(StatusText::encoding(15, true), "UTF8(BOM)");
    EXPECT_EQ(StatusText::encoding(10, false), "UTF16");
    EXPECT_EQ(StatusText::encoding(11, true), "ETC");
    EXPECT_EQ(StatusText::lineEnding(0), "CRLF");
    EXPECT_EQ(StatusText::lineEnding(1), "CR");
    EXPECT_EQ(StatusText::lineEnding(2), "LF");
    EXPECT_EQ(StatusText::lineEnding(7), "CRLF");
}

