// Copy text of a selection and the parsing of pasted text in each parse mode.
#include "engine/ClipboardText.h"

#include <gtest/gtest.h>

#include "EngineTestSupport.h"

namespace {
std::string copied(CMyHyo& hyo, SelectionRange bounds, bool lineBreakOnly = true,
                   int mode = ClipboardText::CopyTabs) {
    std::string out;
    const std::int64_t size = ClipboardText::copyText(hyo, bounds, mode, lineBreakOnly, &out);
    EXPECT_EQ(size, static_cast<std::int64_t>(out.size()));
    EXPECT_EQ(ClipboardText::copyText(hyo, bounds, mode, lineBreakOnly, nullptr), size);
    return out;
}

// Rows of the parsed block as "v1,v2;" with "/" for CR LF inside a value.
std::string rowsOf(const PastedBlock& block) {
    std::string out;
    for (int r = 0; r < block.rows(); ++r) {
        for (int c = 0; c < block.width(r); ++c) {
            if (c) out += ',';
            for (char ch : block.value(r, c)) out += ch == '\r' ? std::string("/") : ch == '\n' ? "" : std::string(1, ch);
        }
        out += ';';
    }
    return out;
}
} // namespace

TEST(ClipboardCopy, SingleCellsRangesAndQuoting) {
    CMyHyo hyo;
    fillRows(hyo, {"abc\tx,y\t\x02\x05\x04q\"t", "a\rb\tline\r\nend\tz", "\x07\x02\x05\x03r"});
    EXPECT_EQ(copied(hyo, {0, 0, 0, 0}), "abc");
    EXPECT_EQ(copied(hyo, {1, 0, 1, 0}), "x,y");                  // a comma never quotes
    EXPECT_EQ(copied(hyo, {2, 0, 2, 0}), "q\"t");                 // records left out
    EXPECT_EQ(copied(hyo, {2, 0, 2, 0}, false), "\"q\"\"t\"");    // quotes quote when off
    EXPECT_EQ(copied(hyo, {0, 1, 0, 1}), "\"a\r\nb\"\r\n");       // a line break: CR LF after
    EXPECT_EQ(copied(hyo, {0, 0, 2, 2}),
              "abc\tx,y\tq\"t\r\n\"a\r\nb\"\t\"line\r\nend\"\tz\r\n" "r\t\t\r\n");
    // Beyond the table: empty cells and rows.
    EXPECT_EQ(copied(hyo, {2, 2, 3, 3}), "\t\r\n\t\r\n");
    EXPECT_EQ(copied(hyo, {0, 0, 2, 0}, true, ClipboardText::CopyCommas), "abc,\"x,y\",\"q\"\"t\"\r\n");
    // Measuring stops once past the limit.
    EXPECT_LE(ClipboardText::copyText(hyo, {0, 0, 2, 2}, 0, true, nullptr, 5), 20);
    EXPECT_GT(ClipboardText::copyText(hyo, {0, 0, 2, 2}, 0, true, nullptr, 5), 5);
}

TEST(ClipboardParse, SmartModeTakesOnlyQuotedLineBreaksAsEnclosed) {
    PastedBlock b = ClipboardText::parse(ParseMode::Smart, "\"a\nb\"\"c\"\tz\r\n\"ab\"\tq\"\r\n");
    EXPECT_EQ(rowsOf(b), "a/b\"c,z;\"ab\",q\";");
    EXPECT_TRUE(b.enclosedBreaks);
    // A TAB before the closing quote, or no TAB / line end after it: the quote is text.
    b = ClipboardText::parse(ParseMode::Smart, "\"a\tb\nc\"\r\n\"x\ny\"z\n");
    EXPECT_EQ(rowsOf(b), "\"a,b;c\";\"x;y\"z;");
    EXPECT_FALSE(b.enclosedBreaks);
    std::string value;
    int breaks = 0;
    const std::string text = "\"1\r\n2\r3\n4\"\tnext";
    EXPECT_EQ(ClipboardText::parseValue(ParseMode::Smart, text, 0, value, breaks), 10u);  // at the TAB
    EXPECT_EQ(value, "1\r\n2\r\n3\r\n4");
    EXPECT_EQ(breaks, 3);
}

TEST(ClipboardParse, StrictPlainRowEndsAndOutsideBytes) {
    EXPECT_EQ(rowsOf(ClipboardText::parse(ParseMode::Strict, "a\"b\"\"c\"d\t\"x\ny\tz\"\n")),
              "ab\"cd,x/y z;");
    EXPECT_EQ(rowsOf(ClipboardText::parse(ParseMode::Plain, "\"a\nb\"\tc")), "\"a;b\",c;");
    // CR LF, LF and CR all end rows; the end of the text ends the last one; an empty line
    // before the end is a row of one empty value.
    EXPECT_EQ(rowsOf(ClipboardText::parse(ParseMode::Plain, "1\r\n2\n3\r4\r\n")), "1;2;3;4;");
    EXPECT_EQ(rowsOf(ClipboardText::parse(ParseMode::Plain, "a\r\n\r\n")), "a;;");
    EXPECT_EQ(rowsOf(ClipboardText::parse(ParseMode::Plain, "a\t")), "a,;");
    EXPECT_TRUE(ClipboardText::parse(ParseMode::Smart, "x\r\n").single());
    EXPECT_FALSE(ClipboardText::parse(ParseMode::Smart, "x\r\ny").single());
    // Record bytes become spaces, other controls "?"; NUL ends the text.
    const std::string odd("a\x01" "b\x1b" "c\td\0e\tf", 11);
    EXPECT_EQ(rowsOf(ClipboardText::parse(ParseMode::Plain, odd)), "a b?c,d;");
    // Double-byte characters whose second byte looks like ASCII pass whole.
    const PastedBlock kana = ClipboardText::parse(ParseMode::Smart, "\x95\x5c\x83\x41\t\"\x95\x5c\n\"\r\n");
    EXPECT_EQ(kana.value(0, 0), "\x95\x5c\x83\x41");
    EXPECT_EQ(kana.value(0, 1), "\x95\x5c\r\n");
    EXPECT_EQ(kana.longest, 4u);
}
