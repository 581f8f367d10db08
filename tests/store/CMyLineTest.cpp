// Tests of CMyLine: storing, growing, deleting, text files, list blocks and allocation failure.
#include "store/CMyLine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/core/MemoryHook.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {
std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct NoInjection {
    ~NoInjection() {
        MemoryHook::failAfter(0);
        MemoryHook::failAll(false);
    }
};
} // namespace

TEST(CMyLine, StoresGrowsAndShrinksLinesInPlaceOrMoved) {
    CMyLine list(2048);
    EXPECT_EQ(list.setLine(0, "abc", 3), 1);
    EXPECT_EQ(list.setLine(3, std::string("xyz")), 1);  // extends with empty lines
    EXPECT_EQ(list.lineCount(), 4);
    EXPECT_EQ(list.lineText(1), nullptr);
    EXPECT_STREQ(list.lineString(1), "");
    EXPECT_EQ(list.line(0), "abc");
    std::string longText(5000, 'q');
    EXPECT_EQ(list.setLine(0, longText), 1);  // no longer fits its room: moves to a new block
    EXPECT_EQ(list.line(0), longText);
    EXPECT_EQ(list.longestLine(), 5000);
    EXPECT_EQ(list.setLine(0, "s", 1), 1);
    EXPECT_STREQ(list.lineString(0), "s");
    EXPECT_EQ(list.line(3), "xyz");
}

TEST(CMyLine, OutOfRangeIndexesReadEmptyAndWritesToNegativeAreRefused) {
    CMyLine list;
    EXPECT_EQ(list.lineText(-1), nullptr);
    EXPECT_EQ(list.lineText(5), nullptr);
    EXPECT_EQ(list.lineLength(99), 0);
    EXPECT_STREQ(list.lineString(-3), "");
    EXPECT_EQ(list.setLine(-1, "a", 1), 0);
    EXPECT_EQ(list.deleteLine(0), 0);
    EXPECT_EQ(list.swapLines(0, 1), 0);
    EXPECT_EQ(list.lineCount(), 0);
}

TEST(CMyLine, InsertDeleteAndSwapMoveEntriesOnly) {
    CMyLine list;
    for (int i = 0; i < 5; ++i) list.appendLine(std::to_string(i).c_str(), 1);
    list.insertLines(1, 2);
    EXPECT_EQ(list.lineCount(), 7);
    EXPECT_EQ(list.line(0), "0");
    EXPECT_EQ(list.lineText(1), nullptr);
    EXPECT_EQ(list.line(3), "1");
    list.deleteLine(1);
    list.deleteLine(1);
    EXPECT_EQ(list.line(1), "1");
    const char* two = list.lineText(2);
    EXPECT_EQ(list.swapLines(0, 2), 1);
    EXPECT_EQ(list.lineText(0), two);
    EXPECT_EQ(list.line(2), "0");
    list.insertEmptyLine(9);  // past the end: extends
    EXPECT_EQ(list.lineCount(), 10);
}

TEST(CMyLine, PermuteMovesEntriesOfTheWholeListOrOfASubsetInOnePass) {
    CMyLine list;
    for (const char* text : {"a", "b", "c", "d", "e"}) list.appendLine(text, 1);
    const char* c = list.lineText(2);
    const int order[] = {2, 0, 1, 4, 3};
    EXPECT_EQ(list.permute(nullptr, order, 5), 1);
    EXPECT_EQ(list.line(0) + list.line(1) + list.line(2) + list.line(3) + list.line(4), "cabed");
    EXPECT_EQ(list.lineText(0), c);   // the text itself did not move
    // Only lines 1, 3 and 4 change places; 0 and 2 stay.
    const int positions[] = {1, 3, 4};
    const int reverse[] = {2, 1, 0};
    EXPECT_EQ(list.permute(positions, reverse, 3), 1);
    EXPECT_EQ(list.line(0) + list.line(1) + list.line(2) + list.line(3) + list.line(4), "cdbea");
}

TEST(CMyLine, PermuteRefusesWhatWouldDuplicateOrLoseALine) {
    CMyLine list;
    for (const char* text : {"a", "b", "c"}) list.appendLine(text, 1);
    const int repeated[] = {0, 0, 1};
    const int outside[] = {0, 1, 3};
    const int positionsOutside[] = {0, 7};
    const int swap[] = {1, 0};
    EXPECT_EQ(list.permute(nullptr, repeated, 3), 0);
    EXPECT_EQ(list.permute(nullptr, outside, 3), 0);
    EXPECT_EQ(list.permute(positionsOutside, swap, 2), 0);
    EXPECT_EQ(list.permute(nullptr, swap, 4), 0);
    MemoryHook::failAfter(1);
    EXPECT_EQ(list.permute(nullptr, swap, 2), 0);
    MemoryHook::failAfter(0);
    EXPECT_EQ(list.line(0) + list.line(1) + list.line(2), "abc");
}

TEST(CMyLine, LongestLineIsRecomputedWhenTheLongestIsDeleted) {
    CMyLine list;
    list.appendLine("aaaaaaaaaa", 10);
    list.appendLine("bbb", 3);
    EXPECT_EQ(list.longestLine(), 10);
    list.deleteLine(0);
    EXPECT_EQ(list.longestLine(), 3);
}

TEST(CMyLine, SetLineTextStopsAtTheFirstControlByteButKeepsTabs) {
    CMyLine list;
    list.setLineText(0, "a\tb\r\nc");
    EXPECT_EQ(list.line(0), "a\tb");
}

TEST(CMyLine, BlocksAreReleasedWhenTheirLastLineGoes) {
    CMyLine list(2048);
    std::string big(3000, 'x');
    for (int i = 0; i < 40; ++i) list.setLine(i, big);
    std::size_t full = list.memoryBytes();
    for (int i = 0; i < 39; ++i) list.deleteLine(0);
    EXPECT_LT(list.memoryBytes(), full / 2);
    EXPECT_EQ(list.line(0), big);
}

TEST(CMyLine, ReadTextFileSplitsLongLinesAndDropsLineFeeds) {
    TempHome home;
    std::string path = home.path() + "/t.txt";
    spit(path, std::string(3000, 'a') + "\r\nb\nc\r\r\nlast");
    CMyLine list;
    EXPECT_EQ(list.readTextFile(path), 6);
    ASSERT_EQ(list.lineCount(), 6);
    EXPECT_EQ(list.lineLength(0), 1024);
    EXPECT_EQ(list.lineLength(1), 1024);
    EXPECT_EQ(list.lineLength(2), 952);
    EXPECT_EQ(list.line(3), "bc");  // LF is dropped wherever it stands
    EXPECT_EQ(list.line(4), "");
    EXPECT_EQ(list.line(5), "last");
    EXPECT_EQ(list.readTextFile(home.path() + "/missing"), -1);
}

TEST(CMyLine, WriteTextFileEndsEveryLineWithCrLf) {
    TempHome home;
    std::string path = home.path() + "/w.txt";
    CMyLine list;
    list.appendLine("one", 3);
    list.appendLine("", 0);
    list.appendLine("three", 5);
    EXPECT_EQ(list.writeTextFile(path), 3);
    EXPECT_EQ(slurp(path), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(list.writeTextFile(home.path() + "/no/such/dir/x"), -1);
}

TEST(CMyLine, ListBlockRoundTripsEmptyShortAndLongLines) {
    TempHome home;
    std::string path = home.path() + "/b.lst";
    CMyLine list;
    list.appendLine("first", 5);
    list.appendLine("", 0);
    std::string big(5000, 'z');
    list.appendLine(big.data(), 5000);
    list.appendLine("a\0b", 3);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    EXPECT_EQ(list.writeBlock(out), 4);
    std::fputs("trailer", out);
    std::fclose(out);
    std::string bytes = slurp(path);
    EXPECT_EQ(bytes.substr(0, 6), std::string("LI\1\0\0\0", 6));

    CMyLine back;
    back.appendLine("old", 3);
    std::FILE* in = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(back.readBlock(in), 4);
    char trailer[8] = {};
    std::fread(trailer, 1, 7, in);  // reading stops right after the end mark
    std::fclose(in);
    EXPECT_STREQ(trailer, "trailer");
    EXPECT_EQ(back.line(0), "first");
    EXPECT_EQ(back.line(1), "");
    EXPECT_EQ(back.line(2), big);
    EXPECT_EQ(back.line(3), std::string("a\0b", 3));
}

TEST(CMyLine, ListBlockWithBadMagicOrShortDataIsRefusedSafely) {
    TempHome home;
    std::string path = home.path() + "/bad.lst";
    CMyLine list;
    list.appendLine("keep", 4);
    spit(path, "LX\1\0\0\0");
    std::FILE* in = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(list.readBlock(in), -3);
    std::fclose(in);
    EXPECT_EQ(list.lineCount(), 0);

    // A length running past the end of the file ends the list without allocating it.
    spit(path, std::string("LI\1\0\0\0\2\0\0\0ok\xff\xff\xff\x7f", 16));
    in = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(list.readBlock(in), 1);
    std::fclose(in);
    EXPECT_EQ(list.line(0), "ok");

    spit(path, "L");
    in = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(list.readBlock(in), -3);
    std::fclose(in);
}

TEST(CMyLine, FailedBlockAllocationKeepsTheOldText) {
    NoInjection guard;
    CMyLine list(2048);
    list.setLine(0, "before", 6);
    std::string big(100000, 'n');
    MemoryHook::failAll(true);
    EXPECT_EQ(list.setLine(0, big), 0);
    MemoryHook::failAll(false);
    EXPECT_EQ(list.line(0), "before");
}

TEST(CMyLine, FailedEntryGrowthShowsTheMessageAndKeepsTheList) {
    NoInjection guard;
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    CMyLine list;
    for (int i = 0; i < 8; ++i) list.appendLine("x", 1);
    MemoryHook::failAll(true);
    EXPECT_EQ(list.setLine(500, "y", 1), 0);
    MemoryHook::failAll(false);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "メモリが足りません。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(list.lineCount(), 8);
    EXPECT_EQ(list.line(7), "x");
}

TEST(CMyLine, ReadBlockWithoutABufferReportsMinusFour) {
    NoInjection guard;
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    TempHome home;
    std::string path = home.path() + "/m.lst";
    spit(path, std::string("LI\1\0\0\0\xff\xff\xff\xff", 10));
    CMyLine list;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    MemoryHook::failAfter(3);  // after clear()'s descriptor array and first block
    int result = list.readBlock(in);
    std::fclose(in);
    EXPECT_EQ(result, -4);
    EXPECT_EQ(prompt.last().text, "メモリが足りません。(-070106)");
}

TEST(CMyLine, AListWhoseFirstBlockCouldNotBeHadStillWorksLater) {
    NoInjection guard;
    MemoryHook::failAll(true);
    CMyLine list;
    EXPECT_EQ(list.setLine(0, "x", 1), 0);
    MemoryHook::failAll(false);
    EXPECT_EQ(list.lineText(0), nullptr);
    EXPECT_EQ(list.setLine(0, "late", 4), 1);
    EXPECT_EQ(list.line(0), "late");
}

TEST(CMyLine, BulkDeletesMatchOneByOneDeletes) {
    CMyLine bulk, single, set;
    for (int i = 0; i < 50; ++i) {
        std::string text(i % 7 == 3 ? 4000 : 5, static_cast<char>('a' + i % 26));
        for (CMyLine* list : {&bulk, &single, &set}) list->setLine(i, text);
    }
    EXPECT_EQ(bulk.deleteLines(10, 20), 20);
    for (int i = 0; i < 20; ++i) single.deleteLine(10);
    const int picked[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29};
    EXPECT_EQ(set.deleteLineSet(picked, 20), 20);
    ASSERT_EQ(bulk.lineCount(), 30);
    ASSERT_EQ(set.lineCount(), 30);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(bulk.line(i), single.line(i));
        EXPECT_EQ(set.line(i), single.line(i));
    }
    EXPECT_EQ(bulk.longestLine(), single.longestLine());
    EXPECT_EQ(bulk.deleteLines(25, 100), 5);  // clipped at the end
    const int scattered[] = {0, 2, 29};
    EXPECT_EQ(set.deleteLineSet(scattered, 3), 3);
    EXPECT_EQ(set.line(0), single.line(1));
    EXPECT_EQ(set.line(1), single.line(3));
}

TEST(CMyLine, ReadBlockWithoutALargerBufferReportsMinusFiveAndKeepsEarlierLines) {
    NoInjection guard;
    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    TempHome home;
    std::string path = home.path() + "/l.lst";
    std::string bytes("LI\1\0\0\0\2\0\0\0ok", 12);
    bytes += std::string("\x88\x13\0\0", 4) + std::string(5000, 'k') + std::string("\xff\xff\xff\xff", 4);
    spit(path, bytes);
    CMyLine list;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    MemoryHook::failAfter(5);  // descriptors, first block, first buffer, entries, larger buffer
    int result = list.readBlock(in);
    std::fclose(in);
    EXPECT_EQ(result, -5);
    EXPECT_EQ(prompt.last().text, "メモリが足りません。(-070106b)");
    EXPECT_EQ(list.line(0), "ok");
}
