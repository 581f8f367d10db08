// Tests of regular expressions over Shift-JIS cells: character classes, anchors and groups,
// matches only at character starts, the replacement forms, faulty and runaway patterns, and
// the filter with a pattern.
#include "store/CellRegex.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/CodePage.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "support/ScriptedPrompt.h"

namespace {

// Patterns and cells are written in UTF-8 for reading; expected bytes are spelt out.
std::string sj(const char* utf8) { return CodePage::toCp932(utf8); }

bool matches(const char* pattern, const std::string& cell, bool matchCase = true) {
    const CellRegex regex(sj(pattern), matchCase);
    EXPECT_TRUE(regex.valid()) << pattern;
    return regex.matches(cell);
}

std::string span(const char* pattern, const std::string& cell) {
    const CellRegex regex(sj(pattern), true);
    std::size_t start = 0, end = 0;
    if (!regex.firstMatch(cell, start, end)) return "none";
    return std::to_string(start) + "-" + std::to_string(end);
}

std::string replaced(const char* pattern, const std::string& cell, const char* replacement, int expected = 1) {
    const CellRegex regex(sj(pattern), true);
    std::string out;
    EXPECT_EQ(regex.replace(cell, sj(replacement), out), expected) << pattern;
    return out;
}

}  // namespace

TEST(CellRegex, ClassesAnchorsAndAlternationSeeCharacters) {
    EXPECT_EQ(span("[ぁ-ん]+", sj("漢字ひらがな")), "4-12");
    EXPECT_TRUE(matches("^[ァ-ヶ]+$", "\x83\x4A\x83\x5E\x83\x4A\x83\x69"));            // カタカナ
    EXPECT_FALSE(matches("^[ァ-ヶ]+$", "\x83\x4A\x83\x5E\x83\x4A\x83\x69" "a"));
    EXPECT_TRUE(matches("\\d+円$", "\x89\xBF\x8A\x69" "1200\x89\x7E"));               // 価格1200円
    EXPECT_FALSE(matches("\\d+円$", "1200\x89\x7E\x82\xC5\x82\xB7"));                  // 1200円です
    EXPECT_TRUE(matches("^\\d\\d$", "\x82\x50\x82\x51"));                              // full-width １２
    EXPECT_TRUE(matches("^[A-Z]{3}\\d{4}$", "ABC1234"));
    EXPECT_FALSE(matches("^[A-Z]{3}\\d{4}$", "ABCD1234"));
    // "." is one character, a double-byte one or a half-width kana alike.
    EXPECT_TRUE(matches("^..$", "\x8A\xBF\x8E\x9A"));                                  // 漢字
    EXPECT_TRUE(matches("^...$", "\xC3\xBD\xC4"));                                     // ﾃｽﾄ
    EXPECT_FALSE(matches("^..$", "abc"));
    EXPECT_EQ(span("^(東京都|大阪府)", sj("大阪府大阪市")), "0-6");
    EXPECT_EQ(span("都|府$", sj("東京都")), "4-6");
    // $ is the end of the cell, not the place before a final line break.
    EXPECT_FALSE(matches("a$", "a\r\n"));
    EXPECT_TRUE(matches("^b", "b\r\na"));
    EXPECT_FALSE(matches("^a", "b\r\na"));
    // The case box: without it letters fold, full-width ones too.
    EXPECT_FALSE(matches("abc", "xABCx"));
    EXPECT_TRUE(matches("abc", "xABCx", false));
    EXPECT_TRUE(matches("ａｂｃ", "\x82\x60\x82\x61\x82\x62", false));                  // ＡＢＣ
}

TEST(CellRegex, NeverStartsOrEndsInsideADoubleByteCharacter) {
    // 表 = 95 5C holds a backslash, ア = 83 41 an "A".
    EXPECT_EQ(span("\\\\", "\x95\x5C"), "none");
    EXPECT_EQ(span("\\\\", "\x95\x5C\\"), "2-3");
    EXPECT_EQ(span("A", "\x83\x41"), "none");
    EXPECT_EQ(span(".$", "a\x95\x5C"), "1-3");
    // A pair the code page cannot read and a lone lead byte at the end are one character each.
    EXPECT_EQ(span("^.$", "\x81\x7F"), "0-2");
    EXPECT_EQ(span("z", "\x81\x7Fz"), "2-3");
    EXPECT_EQ(span("^a.$", "a\x82"), "0-2");
    EXPECT_EQ(replaced(".", "\x81\x7F" "z\x95\x5C", "-"), "---");
    // \C would step into a character: it is refused.
    EXPECT_FALSE(CellRegex("\\C", true).valid());
}

TEST(CellRegex, ReplacementFormsSpliceTheCellsOwnBytes) {
    // 山田 太郎 -> 太郎 山田
    EXPECT_EQ(replaced("^(\\S+) (\\S+)$", "\x8E\x52\x93\x63 \x91\xBE\x98\x59", "$2 $1"),
              "\x91\xBE\x98\x59 \x8E\x52\x93\x63");
    EXPECT_EQ(replaced("\\d+", "a12b345", "[$0]"), "a[12]b[345]");
    EXPECT_EQ(replaced("(\\d+)円", "1200\x89\x7E", "$$$1"), "$1200");
    EXPECT_EQ(replaced("(?<y>\\d{4})/(?<m>\\d\\d)", "2024/05", "${m}-${y}"), "05-2024");
    EXPECT_EQ(replaced("(a)(b)?", "a", "[$2$7${1}${zz}]"), "[a]");
    EXPECT_EQ(replaced("a", "a", "$x${}$"), "$x${}$");
    // Every match is replaced; an empty match steps one character on.
    EXPECT_EQ(replaced("x*", "abc", "-"), "-a-b-c-");
    EXPECT_EQ(replaced("x*", "\x8A\xBF\x8E\x9A", "-"), "-\x8A\xBF-\x8E\x9A-");
    EXPECT_EQ(replaced("a*", "baaac", "-"), "-b--c-");
    // Caseless matching replaces what it matched.
    std::string out;
    EXPECT_EQ(CellRegex("abc", false).replace("xABC", "d", out), 1);
    EXPECT_EQ(out, "xd");
    replaced("q", "abc", "z", 0);
    replaced("a", "aa", "a", 0);
    EXPECT_EQ(replaced("a", std::string(2499, 'a'), "bb").size(), 4998u);
    replaced("a", std::string(2500, 'a'), "bb", CellRegex::TooLong);
}

TEST(CellRegex, FaultyPatternsSayWhereAndWhy) {
    const CellRegex open(sj("(abc"), true);
    EXPECT_FALSE(open.valid());
    EXPECT_EQ(open.errorMessage(), "正規表現に誤りがあります。(5文字目：missing closing parenthesis)");
    const CellRegex klass(sj("漢字[あ"), true);
    EXPECT_EQ(klass.errorCharacter(), 5);
    EXPECT_EQ(klass.errorText(), "missing terminating ] for character class");
    EXPECT_FALSE(klass.matches("x"));
    EXPECT_FALSE(CellMatch("(", MatchRegex, CellMatch::NumberRule::Find).matches("("));
}

TEST(CellRegex, ARunawayPatternGivesUpAndStaysDown) {
    const CellRegex regex("(a+)+$", true);
    EXPECT_TRUE(regex.matches("aaa"));
    EXPECT_FALSE(regex.gaveUp());
    EXPECT_FALSE(regex.matches(std::string(40, 'a') + "b"));
    EXPECT_TRUE(regex.gaveUp());
    EXPECT_FALSE(regex.matches("aaa"));
    std::string out;
    EXPECT_EQ(regex.replace("aaa", "x", out), CellRegex::GaveUp);
}

TEST(RegexFilter, KeepsMatchingRowsAndARefusedPatternChangesNothing) {
    ScriptedPrompt prompt;
    CMyHyo hyo;
    hyo.setRow(0, "\x93\x8C\x8B\x9E\x93\x73\t1");     // 東京都
    hyo.setRow(1, "\x91\xE5\x8D\xE3\x95\x7B\t2");     // 大阪府
    hyo.setRow(2, "x\t3");
    hyo.setRow(3, std::string(40, 'a') + "b\t4");
    ASSERT_EQ(hyo.applyFilter(0, sj("^(東京|大阪)"), MatchRegex, 0, false), 0);
    ASSERT_EQ(hyo.rowCount(), 2);
    EXPECT_EQ(hyo.filterStoreRow(0) * 10 + hyo.filterStoreRow(1), 1);
    ASSERT_EQ(hyo.applyFilter(0, sj("^X$"), MatchRegexNoCase, 0, true), 0);
    EXPECT_EQ(hyo.rowCount(), 3);
    EXPECT_EQ(hyo.filterStoreRow(2), 3);
    hyo.setCell(1, 0, "changed");
    ASSERT_EQ(hyo.journal().entryCount(), 1);

    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(hyo.applyFilter(0, "(a+)+$", MatchRegex, 0, false), -1);
    EXPECT_EQ(prompt.last().text, "検索が複雑すぎるため中断しました。");
    EXPECT_EQ(prompt.last().caption, "注意");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(hyo.applyFilter(0, "a{2,1}", MatchRegex, 0, false), -1);
    EXPECT_EQ(prompt.last().text,
              "正規表現に誤りがあります。(6文字目：numbers out of order in {} quantifier)");
    EXPECT_TRUE(hyo.isFiltered());
    EXPECT_EQ(hyo.rowCount(), 3);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
}
