// Export: the rows, the header choice, the kind and the extension, the form's range.
#include "SaveFlowFixture.h"

namespace fs = std::filesystem;

TEST_F(SaveFlowTest, ExportStopsAtTheLastRow) {
    ScriptedForms forms;
    fillTable(hyo, {"r1", "r2", "r3", "r4", "r5", "r6"});
    forms.exportChoice.firstRow = 3;
    forms.exportChoice.lastRow = 10;
    forms.exportChoice.format = EncodingChoice{EncShiftJis, LineCrLf, false};
    prompt.chooseFile(path("out"), 1);
    EXPECT_TRUE(flow.exportCommand(false, 0, 0));
    EXPECT_EQ(forms.offeredExport.firstRow, 1);
    EXPECT_EQ(forms.offeredExport.lastRow, 6);
    EXPECT_EQ(prompt.choosers()[0].proposedName, "(3-10)");
    EXPECT_EQ(fileBytes(path("out.csv")), "r3\r\nr4\r\nr5\r\nr6\r\n");
    EXPECT_EQ(global.exportKind(), 1);
    EXPECT_TRUE(doc.filePath.empty());

    // Whole rows selected: the selection is proposed.
    forms.accept = false;
    EXPECT_FALSE(flow.exportCommand(true, 2, 4));
    EXPECT_EQ(forms.offeredExport.firstRow, 2);
    EXPECT_EQ(forms.offeredExport.lastRow, 4);
}

TEST_F(SaveFlowTest, ExportCommandRemembersTheHeaderChoiceAndClampsTheRange) {
    ScriptedForms forms;
    fillTable(hyo, {"h", "a", "b"});
    global.setExportHeader(false);
    forms.exportChoice.firstRow = 3;
    forms.exportChoice.lastRow = 2;   // before the first: both become the last
    forms.exportChoice.includeHeader = true;
    prompt.cancelChooser();
    EXPECT_FALSE(flow.exportCommand(true, 0, 1200000));
    EXPECT_EQ(forms.offeredExport.firstRow, 1);
    EXPECT_EQ(forms.offeredExport.lastRow, 999999);
    EXPECT_FALSE(forms.offeredExport.includeHeader);
    EXPECT_TRUE(global.exportHeader());
    EXPECT_EQ(prompt.choosers()[0].proposedName, "(2-2)");
    EXPECT_EQ(prompt.choosers()[0].filters, SaveFlow::ThreeFilters);

    forms.exportChoice.firstRow = 2;
    forms.exportChoice.lastRow = 2;
    prompt.chooseFile(path("two.csv"), 1);
    EXPECT_TRUE(flow.exportCommand(false, 0, 0));
    EXPECT_TRUE(forms.offeredExport.includeHeader);
    EXPECT_EQ(fileBytes(path("two.csv")), "h\r\na\r\n");

    // A last row of 0 is the first row.
    forms.exportChoice.firstRow = 1;
    forms.exportChoice.lastRow = 0;
    forms.exportChoice.includeHeader = false;
    prompt.chooseFile(path("one.csv"), 1);
    EXPECT_TRUE(flow.exportCommand(false, 0, 0));
    EXPECT_EQ(fileBytes(path("one.csv")), "h\r\n");
}

TEST_F(SaveFlowTest, ExportRefusesLineBreaksOnlyWhenNothingIsQuoted) {
    fillTable(hyo, {"a", "b\nc"});
    prompt.chooseFile(path("x.csv"), 1);
    EXPECT_TRUE(flow.exportRows(0, 1, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(fileBytes(path("x.csv")), "a\r\n\"b\r\nc\"\r\n");
    global.setQuoteKind(3);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.exportRows(0, 1, false, LineCrLf, EncShiftJis, false));
    EXPECT_NE(prompt.last().text.find("(2行、1列)"), std::string::npos);
}

TEST_F(SaveFlowTest, ExportWithHeaderChoices) {
    fillTable(hyo, {"h1|h2", "a|b", "c|d", "e|f"});
    prompt.chooseFile(path("x.txt"), 2);
    EXPECT_TRUE(flow.exportRows(2, 3, false, LineLf, EncShiftJis, true));
    EXPECT_EQ(fileBytes(path("x.txt")), "h1\th2\nc\td\ne\tf\n");

    hyo.takeHeaderRow();
    prompt.chooseFile(path("y.txt"), 2);
    EXPECT_TRUE(flow.exportRows(0, 0, false, LineLf, EncShiftJis, true));
    EXPECT_EQ(fileBytes(path("y.txt")), "h1\th2\na\tb\n");

    // A range past the end writes the header part only.
    prompt.chooseFile(path("z.txt"), 2);
    EXPECT_TRUE(flow.exportRows(7, 9, false, LineLf, EncShiftJis, true));
    EXPECT_EQ(fileBytes(path("z.txt")), "h1\th2\n");

    EXPECT_FALSE(flow.exportRows(-1, 3, false, 0, 0, false));
    EXPECT_FALSE(flow.exportRows(3, 2, false, 0, 0, false));
}

TEST_F(SaveFlowTest, ExportFromTheFirstRowWritesItOnceAsTheHeader) {
    fillTable(hyo, {"h", "a"});
    prompt.chooseFile(path("two.csv"), 1);
    EXPECT_TRUE(flow.exportRows(0, 1, false, LineCrLf, EncShiftJis, true));
    EXPECT_EQ(fileBytes(path("two.csv")), "h\r\na\r\n");
    fillTable(hyo, {"h"});
    prompt.chooseFile(path("one.csv"), 1);
    EXPECT_TRUE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, true));
    EXPECT_EQ(fileBytes(path("one.csv")), "h\r\n");
    fillTable(hyo, {});
    prompt.chooseFile(path("none.csv"), 1);
    EXPECT_TRUE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, true));
    EXPECT_EQ(fileBytes(path("none.csv")), "");
}

TEST_F(SaveFlowTest, ExportRemembersKindAndExtension) {
    fillTable(hyo, {"a|b"});
    // Only a save keeps the open last line of the file read.
    doc.endsWithoutLineBreak = true;
    prompt.chooseFile(path("list.dat"), 3);
    EXPECT_TRUE(flow.exportRows(0, 0, true, LineCrLf, EncUtf8, false));
    EXPECT_EQ(global.exportKind(), 9);
    EXPECT_EQ(global.exportExtension(), "dat");
    EXPECT_EQ(fileBytes(path("list.dat")), "\xEF\xBB\xBF" "a\tb\r\n");

    home.write("(1-1).dat", "old");
    prompt.chooseFile(path("(1-1).dat"), 3);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(prompt.choosers()[1].proposedName, "(1-1).dat");
    EXPECT_EQ(prompt.choosers()[1].filterIndex, 3);
    EXPECT_EQ(fileBytes(path("(1-1).dat")), "old");

    // The remembered extension goes with the all-files filter only; a chosen extension stays.
    global.setExportKind(1);
    prompt.chooseFile(path("c.dat"), 1);
    EXPECT_TRUE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(prompt.choosers()[2].proposedName, "(1-1)");
    EXPECT_EQ(fileBytes(path("c.dat")), "a,b\r\n");
    prompt.chooseFile(path("t.dat"), 2);
    EXPECT_TRUE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(fileBytes(path("t.dat")), "a\tb\r\n");
    prompt.chooseFile(path("u"), 2);
    EXPECT_TRUE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(fileBytes(path("u.txt")), "a\tb\r\n");
}

TEST_F(SaveFlowTest, ExportProposesTheDocumentsFolder) {
    fillTable(hyo, {"a", "b"});
    doc.filePath = path("sub/data.csv");
    prompt.chooseFile(path("x.csv"), 1);
    EXPECT_TRUE(flow.exportRows(0, 1, false, LineCrLf, EncShiftJis, false));
    EXPECT_EQ(prompt.choosers()[0].proposedName, home.file("sub/(1-2)"));
}

TEST_F(SaveFlowTest, ExportFormRefusesAStartAfterTheEnd) {
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(SaveFormHandler::acceptExportRange(5, 3));
    EXPECT_EQ(prompt.last().text, "開始行が終了行より大きいです。");
    EXPECT_TRUE(SaveFormHandler::acceptExportRange(3, 3));
    EXPECT_EQ(SaveFormHandler::encodingEntry(EncUtf16Le), 2);
    EXPECT_EQ(SaveFormHandler::encodingEntry(EncUtf8), 1);
    EXPECT_EQ(SaveFormHandler::encodingEntry(EncShiftJis), 0);
    EXPECT_EQ(SaveFormHandler::encodingForEntry(1), EncUtf8);
}
