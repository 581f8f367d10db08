// Writer edges: a lone LF in a later cell under "完全なし", rows wider than the widest row the
// store claims, and a record of five bytes inside the text.
#include <gtest/gtest.h>

#include <string>

#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
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
}

TEST_F(WriterEdgeTest, AFiveByteRecordInsideTheTextIsNotWritten) {
    hyo.setRow(0, "a\x05\x0B" "ABCD" "b");
    hyo.setWidestRow(1);
    EXPECT_EQ(saved(), "ab\r\n");
}
