// Character-aware matching over Shift-JIS bytes and the locale-free number rules.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "store/Cp932Text.h"
#include "store/NumberText.h"

namespace {

// 表 = 95 5C, 示 = 8E A6, ア = 83 41, ソ = 83 5C: trail bytes that look like ASCII.
const std::string Hyo = "\x95\x5C";
const std::string Ji = "\x8E\xA6";
const std::string A = "\x83\x41";
const std::string So = "\x83\x5C";

TEST(Cp932Text, TrailBytesNeverMatchAsciiPatterns) {
    EXPECT_EQ(Cp932Text::find(Hyo + Ji, "\\", false), Cp932Text::npos);
    EXPECT_EQ(Cp932Text::find(So + "\\", "\\", false), 2u);
    EXPECT_EQ(Cp932Text::find("x" + A, "A", false), Cp932Text::npos);
    EXPECT_EQ(Cp932Text::find("x" + A + "a", "A", true), 3u);
    EXPECT_FALSE(Cp932Text::endsWith("x" + A, "a", true));
    EXPECT_FALSE(Cp932Text::endsWith("x" + A, "A", false));
    EXPECT_TRUE(Cp932Text::endsWith(Hyo + Ji, Ji, false));
    // A run of lead-byte values pairs up from the last byte outside the lead ranges.
    const std::string run = "a" + std::string("\x81\x81\x81\x81");   // two characters 81 81
    EXPECT_TRUE(Cp932Text::isCharStart(run, 3));
    EXPECT_FALSE(Cp932Text::isCharStart(run, 2));
}

TEST(Cp932Text, CaseFoldsAsciiLettersOnlyAndDoubleByteNeverEqualsSingle) {
    EXPECT_TRUE(Cp932Text::equals("AbC", "aBc", true));
    EXPECT_FALSE(Cp932Text::equals("AbC", "aBc", false));
    EXPECT_TRUE(Cp932Text::startsWith(A + "Z", A, true));
    // A lone lead byte at the end of the pattern is one character; it does not match the
    // first half of a double-byte character.
    EXPECT_FALSE(Cp932Text::startsWith(A, "\x83", false));
    EXPECT_TRUE(Cp932Text::equals("\x83", "\x83", false));
    EXPECT_EQ(Cp932Text::find("abc", "", false), Cp932Text::npos);
}

TEST(Cp932Text, FitLengthNeverCutsACharacterAndSanitiseKeepsLineBreaks) {
    EXPECT_EQ(Cp932Text::fitLength("a" + Hyo + Ji, 2), 1u);
    EXPECT_EQ(Cp932Text::fitLength("a" + Hyo + Ji, 3), 3u);
    std::string text = "a\tb\x01" "c\x1f\r\n" + Hyo;
    EXPECT_EQ(Cp932Text::sanitise(text), 3);
    EXPECT_EQ(text, "a b c?\r\n\x95\x5C");
}

TEST(NumberText, SortKeyReadsOnlyItsOwnCell) {
    EXPECT_EQ(NumberText::sortKey("9a"), 9);
    EXPECT_EQ(NumberText::sortKey("\t5"), 0);      // an empty cell never reads the next
    EXPECT_EQ(NumberText::sortKey(" 5"), 0);
    EXPECT_EQ(NumberText::sortKey("nancy"), 0);
    EXPECT_EQ(NumberText::sortKey("inf"), 0);
    EXPECT_EQ(NumberText::sortKey("0x1A"), 0);
    EXPECT_EQ(NumberText::sortKey("+2.5"), 2.5);
    EXPECT_EQ(NumberText::sortKey("-1e3x"), -1000);
    EXPECT_EQ(NumberText::sortKey("5e"), 5);
    EXPECT_EQ(NumberText::sortKey(".5"), 0.5);
    EXPECT_TRUE(std::isinf(NumberText::sortKey("1e999")));
    EXPECT_EQ(NumberText::sortKey("1e-999"), 0);
    EXPECT_EQ(NumberText::sortKey(std::string(29, '0') + "12"), 1);   // first 30 bytes
}

TEST(NumberText, FilterFindAndTotalsKeepTheirOwnGrammar) {
    double v = -1;
    EXPECT_TRUE(NumberText::filterValue("12abc", v));
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(NumberText::filterValue("1.2.3", v));
    EXPECT_TRUE(NumberText::filterValue(std::string(16, '9'), v));
    EXPECT_FALSE(NumberText::filterValue(std::string(17, '9'), v));
    EXPECT_FALSE(NumberText::filterValue("-", v));
    EXPECT_FALSE(NumberText::filterValue(".", v));
    EXPECT_TRUE(NumberText::filterValue("-0.25\t7", v));
    EXPECT_EQ(v, -0.25);

    EXPECT_TRUE(NumberText::findValue("-.", v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(NumberText::findValue("x1", v));

    EXPECT_TRUE(NumberText::totalsValue("-", v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(NumberText::totalsValue("", v));
    EXPECT_TRUE(NumberText::totalsValue(std::string(14, '1'), v));
    EXPECT_FALSE(NumberText::totalsValue(std::string(15, '1'), v));
}

TEST(NumberText, IgnoresTheLocale) {
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    double v = 0;
    EXPECT_TRUE(NumberText::totalsValue("1.5", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_EQ(NumberText::formatFixed(12.5, 2), "12.50");
    std::setlocale(LC_NUMERIC, "C");
    if (!german) GTEST_LOG_(INFO) << "de_DE.UTF-8 is not installed; ran under C only";
    EXPECT_EQ(NumberText::formatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(NumberText::formatFixed(INFINITY, 2), "");
}

}  // namespace
