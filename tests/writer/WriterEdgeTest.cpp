// Writer edges: a lone LF in a later cell under "完全なし", rows wider than the widest row the
// store claims, a record of five bytes inside the text, the header line's width, one-byte line
// ends, the line buffer's growth and failure, and columns kept as read.
#include <gtest/gtest.h>

#include <string>

#include "WriterTestSupport.h"
#include "platform/core/MemoryHook.h"
#include "settings/CMyGlobal.h"
#include "store/CMyFile.h"
#include "store/CMyHyo.h"
#include "store/CMyWriter.h"
#include "store/ColumnQuoting.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

class WriterEdgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        global.setQuoteKind(0);
        global.setFileQuoteLineBreakOnly(false);
    }
    // Saves as a comma file and returns its bytes ("(not saved)" when the save failed).
    std::string saved() {
        doc.filePath = home.file("w.csv");
        doc.separator = ',';
        if (!SaveFlow(hyo, global, doc).saveDocument(false)) return "(not saved)";
        return fileBytes(doc.filePath);
    }
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

} // namespace

TEST_F(WriterEdgeTest, NeverQuoteModeFindsALoneLineFeedAtTheStartOfALaterCell) {
    global.setQuoteKind(3);
    hyo.setRow(0, "a\t\nb");
    hyo.setWidestRow(2);
    doc.separator = '\t';
    doc.filePath = home.file("t.txt");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(SaveFlow(hyo, global, doc).saveDocument(false));
    EXPECT_NE(prompt.last().text.find("(1行、2列)"), std::string::npos);
    // A LF right after a lead byte goes with that byte, as everywhere in the writer.
    hyo.setRow(0, "x\t\x82\n");
    EXPECT_TRUE(SaveFlow(hyo, global, doc).saveDocument(false));
    EXPECT_EQ(fileBytes(doc.filePath), "x\t\x82\n\r\n");
}

TEST_F(WriterEdgeTest, CellsPastTheClaimedWidthAreWrittenOnlyWhenTheyHoldText) {
    hyo.setRow(0, "x\t\t");
    hyo.setWidestRow(1);
    EXPECT_EQ(saved(), "x\r\n");
    // Such a cell in a numeric column keeps the numeric quoting of "テキスト型のみあり".
    global.setQuoteKind(2);
    hyo.setRow(0, "x\t12");
    hyo.setColumnKind(1, 0, 1);
    hyo.setWidestRow(1);
    EXPECT_EQ(saved(), "\"x\",12\r\n");
    // Outside "テキスト型のみあり" a numeric column past the claimed width is enclosed as any.
    global.setQuoteKind(1);
    EXPECT_EQ(saved(), "\"x\",\"12\"\r\n");
}

TEST_F(WriterEdgeTest, TextColumnsModeLooksAtTheFirstColumnToo) {
    global.setQuoteKind(2);
    hyo.setRow(0, "12\tx");
    hyo.setColumnKind(0, 0, 1);
    hyo.setColumnKind(2, 0, 1);   // a numeric column right of the lines changes nothing
    hyo.setWidestRow(2);
    EXPECT_EQ(saved(), "12,\"x\"\r\n");
}

TEST_F(WriterEdgeTest, HeaderLineReachesTheLastTitledColumn) {
    hyo.setRow(0, "abc");
    hyo.setColumnTitle(0, "Name");
    hyo.setColumnTitle(2, "Note");
    hyo.setColumnTitle(3, "");
    hyo.setWidestRow(1);
    // Titles outside header mode are not written and do not widen the lines.
    EXPECT_EQ(saved(), "abc\r\n");
    hyo.setHeaderMode(true);
    EXPECT_EQ(saved(), "Name,2,Note\r\nabc,,\r\n");
}

TEST_F(WriterEdgeTest, AnEmptyTableInHeaderModeStillHasOneTitle) {
    hyo.setHeaderMode(true);
    EXPECT_EQ(saved(), "1\r\n");
}

TEST_F(WriterEdgeTest, OneByteLineEndsSurviveTheBufferGrowingAndTheLastFlush) {
    doc.lineEnding = LineCr;
    hyo.setRow(0, "");
    EXPECT_EQ(saved(), "\r");
    hyo.setRow(1, std::string(600, 'x'));
    hyo.setWidestRow(1);
    EXPECT_EQ(saved(), "\r" + std::string(600, 'x') + "\r");
    // A line ending the writer does not know ends the lines with CR LF.
    doc.lineEnding = 3;
    hyo.setRow(1, "b");
    EXPECT_EQ(saved(), "\r\nb\r\n");
}

TEST_F(WriterEdgeTest, TheLineBufferGrowsOnlyForACellLongerThanItsFiveHundredBytes) {
    hyo.setRow(0, "a");
    hyo.setRow(1, std::string(500, 'x'));
    hyo.setWidestRow(1);
    MemoryHook::resetCount();
    EXPECT_EQ(saved(), "a\r\n" + std::string(500, 'x') + "\r\n");
    EXPECT_EQ(MemoryHook::count(), 1);
    hyo.setRow(1, std::string(501, 'x'));
    MemoryHook::resetCount();
    EXPECT_EQ(saved(), "a\r\n" + std::string(501, 'x') + "\r\n");
    EXPECT_EQ(MemoryHook::count(), 2);
}

TEST_F(WriterEdgeTest, LongRowsFarApartAreWrittenWhole) {
    // Rows longer than a memory page lie too far apart for the processor to follow them alone:
    // the walk asks for them a group ahead, past the end of a full group here.
    std::string expected;
    for (int r = 0; r < 49; ++r) {
        const std::string row(5000, static_cast<char>('a' + r % 26));
        hyo.setRow(r, row);
        expected += row + "\r\n";
    }
    hyo.setWidestRow(1);
    EXPECT_EQ(saved(), expected);
}

TEST_F(WriterEdgeTest, AWriterThatCannotGrowSaysSoAndOmitsOnlyOneLineEnd) {
    hyo.setRow(0, "a");
    hyo.setRow(1, std::string(600, 'x'));
    hyo.setRow(2, "," + std::string(600, 'x'));
    hyo.setWidestRow(1);
    CMyFile file;
    ASSERT_EQ(file.open(home.file("d.csv"), CMyFile::ModeWrite, EncShiftJis), 0);
    {
        CMyWriter writer(file, ',', WriteNeeded, LineCrLf, false);
        ASSERT_TRUE(writer.allocate());
        writer.setColumns(hyo, 1);
        writer.omitNextLineEnd();
        EXPECT_TRUE(writer.writeRow(hyo, 0, nullptr, 0));
        EXPECT_TRUE(writer.writeRow(hyo, 0, nullptr, 0));
        EXPECT_FALSE(writer.outOfMemory());
        MemoryHook::failAfter(1);
        EXPECT_FALSE(writer.writeRow(hyo, 1, nullptr, 0));
        MemoryHook::failAfter(0);
        EXPECT_TRUE(writer.outOfMemory());
        // The same for a cell that needs quoting.
        MemoryHook::failAfter(1);
        EXPECT_FALSE(writer.writeRow(hyo, 2, nullptr, 0));
        MemoryHook::failAfter(0);
        writer.flush();
    }
    EXPECT_EQ(file.close(), 0);
    EXPECT_EQ(fileBytes(home.file("d.csv")), "aa\r\n");
}

TEST_F(WriterEdgeTest, ColumnsKeptAsReadGuideTheHeaderAndTheirEmptyCellsApart) {
    hyo.setRow(0, "x\t");
    hyo.setRow(1, "\ty");
    hyo.setColumnTitle(0, "A");
    hyo.setColumnTitle(1, "B");
    // As the reader notes them, a line at a time: column 0 encloses its text and leaves its
    // empty cells bare, column 1 the other way round; column 2 lies past the lines.
    ColumnQuoting& forms = hyo.columnQuoting();
    const unsigned char texts[] = {1, 0, 1};
    const unsigned char empties[] = {2, 3};
    forms.noteRecord(texts, 3);
    forms.noteRecord(empties, 2);
    // A comma file is read with full quote handling whatever the line-break setting says.
    CMyFile file;
    ASSERT_EQ(file.open(home.file("f.csv"), CMyFile::ModeWrite, EncShiftJis), 0);
    {
        CMyWriter writer(file, ',', WriteNeeded, LineLf, true);
        ASSERT_TRUE(writer.allocate());
        writer.setColumns(hyo, 2);
        writer.keepColumnForms(forms);
        EXPECT_TRUE(writer.writeHeaderLine(hyo));
        EXPECT_TRUE(writer.writeRow(hyo, 0, nullptr, 0));
        EXPECT_TRUE(writer.writeRow(hyo, 1, nullptr, 0));
        writer.flush();
    }
    EXPECT_EQ(file.close(), 0);
    EXPECT_EQ(fileBytes(home.file("f.csv")), "\"A\",B\n\"x\",\"\"\n,y\n");
}

TEST_F(WriterEdgeTest, AFiveByteRecordInsideTheTextIsNotWritten) {
    hyo.setRow(0, "a\x05\x0B" "ABCD" "b");
    hyo.setWidestRow(1);
    EXPECT_EQ(saved(), "ab\r\n");
}
