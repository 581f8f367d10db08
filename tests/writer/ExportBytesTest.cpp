// Export boundaries checked byte for byte: encodings with their marks, the filtered view, the
// last row, and the overwrite question.
#include <gtest/gtest.h>

#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

class ExportBytesTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        global.setQuoteKind(0);
        global.setFileQuoteLineBreakOnly(false);
    }
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
    SaveFlow flow{hyo, global, doc};
};

} // namespace

TEST_F(ExportBytesTest, Utf16WithMarkAndUtf8WithoutOne) {
    fillTable(hyo, {"\x95\x5C|a,b", "x|y"});   // 表 and a cell that needs quotes in CSV
    prompt.chooseFile(home.file("w.csv"), 1);
    ASSERT_TRUE(flow.exportRows(0, 0, true, LineCrLf, EncUtf16Le, false));
    EXPECT_EQ(fileBytes(home.file("w.csv")),
              std::string("\xFF\xFE\x68\x88,\0\"\0a\0,\0b\0\"\0\r\0\n\0", 20));
    prompt.chooseFile(home.file("u.csv"), 1);
    ASSERT_TRUE(flow.exportRows(0, 1, false, LineCr, EncUtf8, false));
    EXPECT_EQ(fileBytes(home.file("u.csv")), "\xE8\xA1\xA8,\"a,b\"\rx,y\r");
}

TEST_F(ExportBytesTest, FilteredViewRowsOnlyAndTheLastRowExactly) {
    fillTable(hyo, {"r0", "r1", "r2", "r3", "r4"});
    for (int row : {1, 3, 4}) hyo.addFilterRow(row);
    hyo.setFilterActive(true);
    prompt.chooseFile(home.file("f.txt"), 2);
    // View rows 1..2 are store rows 3 and 4; the range ends at the last view row.
    ASSERT_TRUE(flow.exportRows(1, 5, false, LineLf, EncShiftJis, false));
    EXPECT_EQ(fileBytes(home.file("f.txt")), "r3\nr4\n");
    prompt.chooseFile(home.file("g.txt"), 2);
    ASSERT_TRUE(flow.exportRows(2, 2, false, LineLf, EncShiftJis, false));
    EXPECT_EQ(fileBytes(home.file("g.txt")), "r4\n");
    EXPECT_TRUE(hyo.isFiltered());
}

TEST_F(ExportBytesTest, ExistingFileAsksAndNoKeepsIt) {
    fillTable(hyo, {"new"});
    const std::string path = home.write("old.csv", "old\r\n");
    prompt.chooseFile(path, 1);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(prompt.last().text, "既にファイルがあります。上書きしてもよろしいですか？");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(fileBytes(path), "old\r\n");
    prompt.chooseFile(path, 1);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(fileBytes(path), "new\r\n");
}
