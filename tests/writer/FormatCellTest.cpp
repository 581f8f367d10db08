// Quoting of single cells in every writer mode, for comma and TAB files.
#include <gtest/gtest.h>

#include <string>

#include "store/CMyWriter.h"

namespace {

std::string format(bool comma, int mode, const std::string& text, int lineEnding = 0) {
    const int measured = CMyWriter::formatCell(comma, mode, text.c_str(), nullptr, lineEnding);
    std::string out(static_cast<size_t>(measured) + 8, '\0');
    const int written = CMyWriter::formatCell(comma, mode, text.c_str(), out.data(), lineEnding);
    EXPECT_EQ(measured, written) << "measuring and writing disagree for " << text;
    out.resize(static_cast<size_t>(written));
    return out;
}

const std::string Kanji = "\x93\xfa\x96\x7b";  // two double-byte characters

} // namespace

TEST(FormatCell, WriterModesFollowQuoteSetting) {
    EXPECT_EQ(CMyWriter::writerMode(0, true), WriteNeededBreaksOnly);
    EXPECT_EQ(CMyWriter::writerMode(0, false), WriteNeeded);
    EXPECT_EQ(CMyWriter::writerMode(1, false), WriteAll);
    EXPECT_EQ(CMyWriter::writerMode(2, true), WriteTextColumns);
    EXPECT_EQ(CMyWriter::writerMode(3, true), WriteNever);
}

TEST(FormatCell, TabFilesQuotedForLineBreaksOnlyNeverEncloseEveryCell) {
    for (int mode : {WriteAll, WriteTextColumns}) {
        EXPECT_EQ(CMyWriter::fileMode('\t', mode, true), WriteNeededBreaksOnly);
        EXPECT_EQ(CMyWriter::fileMode('\t', mode, false), mode);
        EXPECT_EQ(CMyWriter::fileMode(',', mode, true), mode);
    }
    for (int mode : {WriteNeededBreaksOnly, WriteNever, WriteNeeded})
        EXPECT_EQ(CMyWriter::fileMode('\t', mode, true), mode);
}

TEST(FormatCell, CommaFileQuotesWhereNeeded) {
    EXPECT_EQ(format(true, WriteNeeded, "123"), "123");
    EXPECT_EQ(format(true, WriteNeeded, "a,b"), "\"a,b\"");
    EXPECT_EQ(format(true, WriteNeeded, "say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(format(true, WriteNeededBreaksOnly, "a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(format(true, WriteNever, "a,b"), "\"a,b\"");  // mode 3 in a comma file is mode 4
    EXPECT_EQ(format(true, WriteNeeded, ""), "");
}

TEST(FormatCell, AllModesEncloseEveryCell) {
    EXPECT_EQ(format(true, WriteAll, ""), "\"\"");
    EXPECT_EQ(format(false, WriteAll, "x\"y"), "\"x\"\"y\"");
    EXPECT_EQ(format(false, WriteTextColumns, "abc"), "\"abc\"");
}

TEST(FormatCell, TabFileBreakOnlyModeLeavesLoneQuotes) {
    EXPECT_EQ(format(false, WriteNeededBreaksOnly, "a\"b"), "a\"b");
    EXPECT_EQ(format(false, WriteNeededBreaksOnly, "a,b"), "a,b");
    EXPECT_EQ(format(false, WriteNeededBreaksOnly, "a\"\r\nb"), "\"a\"\"\r\nb\"");
    EXPECT_EQ(format(false, WriteNeeded, "a\"b"), "\"a\"\"b\"");
}

TEST(FormatCell, NeverModeInTabFileWritesAsIs) {
    EXPECT_EQ(format(false, WriteNever, "a\"b,c"), "a\"b,c");
    EXPECT_EQ(format(false, WriteNever, "\"q\""), "\"q\"");
}

TEST(FormatCell, LineBreaksFollowTheLineEnding) {
    EXPECT_EQ(format(true, WriteNeeded, "a\r\nb", 0), "\"a\r\nb\"");
    EXPECT_EQ(format(true, WriteNeeded, "a\r\nb", 1), "\"a\rb\"");
    EXPECT_EQ(format(false, WriteNeededBreaksOnly, "a\r\nb", 2), "\"a\nb\"");
    EXPECT_EQ(format(true, WriteNeeded, "a\rb", 2), "\"a\nb\"");
    // A lone LF would end the record when read back, so it is treated as a line break.
    EXPECT_EQ(format(true, WriteNeeded, "a\nb", 0), "\"a\r\nb\"");
}

TEST(FormatCell, DoubleByteCharactersAreNeverInspected) {
    // 0x95 0x5C and 0x83 0x7C carry ASCII-looking trail bytes; nothing encloses them.
    const std::string text = "\x95\x5c\x83\x7c" + Kanji;
    EXPECT_EQ(format(true, WriteNeeded, text), text);
    EXPECT_EQ(CMyWriter::formatCell(true, WriteNeeded, text.c_str(), nullptr, 0), 8);
    EXPECT_EQ(format(true, WriteNeeded, Kanji + ","), "\"" + Kanji + ",\"");
    // The byte after a lead byte goes with it, even a comma.
    EXPECT_EQ(format(true, WriteNeeded, "\x82,"), "\x82,");
    EXPECT_EQ(format(true, WriteAll, "\x82\""), "\"\x82\"\"");
}

TEST(FormatCell, TextEndsAtTabOrNul) {
    EXPECT_EQ(format(true, WriteNeeded, std::string("ab\tcd")), "ab");
    // A lead byte right before the TAB does not swallow it.
    EXPECT_EQ(format(true, WriteNeeded, std::string("a\x82\tcd")), "a\x82");
    // Nor one right before the NUL, and a whole character right before a TAB ends there.
    EXPECT_EQ(format(true, WriteNeeded, std::string("a\x82\0X\tY", 6)), "a\x82");
    EXPECT_EQ(format(true, WriteNeeded, std::string("\x82\0X\tY", 5)), "\x82");
    EXPECT_EQ(format(true, WriteNeeded, Kanji.substr(0, 2) + "\tcd"), Kanji.substr(0, 2));
}

TEST(FormatCell, SpanSkipsAttributeRecords) {
    // Records are not text; a stray one inside a cell is not written.
    const std::string cell = std::string("ab\x02\x04\x09") + "cd";
    std::string out(32, '\0');
    const int n = CMyWriter::formatSpan(true, WriteNeeded, cell.data(), cell.data() + cell.size(),
                                        out.data(), 0);
    EXPECT_EQ(out.substr(0, static_cast<size_t>(n)), "abcd");
    // Only the span counts, not the byte after it.
    const std::string text = "a,b";
    EXPECT_EQ(CMyWriter::formatSpan(true, WriteNeeded, text.data(), text.data() + 1, out.data(), 0), 1);
    EXPECT_EQ(out.substr(0, 1), "a");
}
