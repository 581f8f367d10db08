// Save, save as and save with encoding: dialogs, questions and the bytes written.
#include "SaveFlowFixture.h"

#include <csignal>
#include <sys/resource.h>

namespace fs = std::filesystem;

TEST_F(SaveFlowTest, EveryLineGetsTheWidestRowsFieldCount) {
    fillTable(hyo, {"a|b|c|d", "x", "", "1|2"});
    saveTo("t.csv");
    EXPECT_EQ(fileBytes(path("t.csv")), "a,b,c,d\r\nx,,,\r\n,,,\r\n1,2,,\r\n");
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(global.recentFile(0), path("t.csv"));
}

TEST_F(SaveFlowTest, LineBreakWithLfLineEndStaysQuoted) {
    fillTable(hyo, {"a\r\nb|c"});
    doc.lineEnding = LineLf;
    saveTo("t.csv");
    EXPECT_EQ(fileBytes(path("t.csv")), "\"a\nb\",c\n");
}

TEST_F(SaveFlowTest, NeverQuoteModeRefusesLineBreaksNamingTheCell) {
    global.setQuoteKind(3);
    fillTable(hyo, {"a|b|c", "d|e|f\r\ng"});
    doc.filePath = path("t.txt");
    doc.separator = '\t';
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.saveDocument(false));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_NE(prompt.last().text.find("(2行、3列)"), std::string::npos);
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_FALSE(fs::exists(path("t.txt")));
}

TEST_F(SaveFlowTest, AttributeValuesThatLookLikeLineBreaksOrQuotesAreNotText) {
    // Colour 13 is a CR byte, 10 an LF byte, 34 a quote; a height of 44 is a comma.
    fillTable(hyo, {"a|b", "c|d"});
    hyo.setCellAttribute(0, 0, AttrBackColour, 13, 1, 1);
    hyo.setCellAttribute(1, 0, AttrTextColour, 10, 1, 1);
    hyo.setRowAttribute(1, AttrBackColour, 34, 1);
    hyo.setRowHeight(1, 44);
    for (int quoteKind : {3, 0}) {
        global.setQuoteKind(quoteKind);
        doc.separator = '\t';
        saveTo("t.txt");
        EXPECT_EQ(fileBytes(path("t.txt")), "a\tb\r\nc\td\r\n") << quoteKind;
        doc.separator = ',';
        saveTo("t.csv");
        EXPECT_EQ(fileBytes(path("t.csv")), "a,b\r\nc,d\r\n") << quoteKind;
    }
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(SaveFlowTest, TextColumnsModeLeavesNumericColumnsBare) {
    global.setQuoteKind(2);
    fillTable(hyo, {"abc|123|4\"5"});
    hyo.setColumnKind(1, 1, 1);
    hyo.setColumnKind(2, 1, 1);
    hyo.setColumnTitle(0, "Name");
    saveTo("t.csv");
    // Without header mode titles are not written.
    EXPECT_EQ(fileBytes(path("t.csv")), "\"abc\",123,\"4\"\"5\"\r\n");

    // In a TAB file read with full quote handling a bare quote would open a quoted field.
    doc.separator = '\t';
    saveTo("t.txt");
    EXPECT_EQ(fileBytes(path("t.txt")), "\"abc\"\t123\t\"4\"\"5\"\r\n");
    // Read with quotes mattering around line breaks only, no cell is enclosed for its quotes.
    global.setFileQuoteLineBreakOnly(true);
    saveTo("t.txt");
    EXPECT_EQ(fileBytes(path("t.txt")), "abc\t123\t4\"5\r\n");
}

TEST_F(SaveFlowTest, TabFileWithLineBreakOnlyQuotingEnclosesOnlyLineBreaks) {
    // The reader keeps the quotes of a TAB field without a line break when quoting is for line
    // breaks only (the setting a TAB inside quotes switches on), so full quoting would pile up
    // quotes at every save and open.
    global.setFileQuoteLineBreakOnly(true);
    fillTable(hyo, {"Name|Price", "abc|4\"5|x\r\n\"y\""});
    hyo.takeHeaderRow();
    hyo.setColumnKind(1, 1, 1);
    doc.separator = '\t';
    for (int quoteKind : {1, 2}) {
        global.setQuoteKind(quoteKind);
        saveTo("t.txt");
        EXPECT_EQ(fileBytes(path("t.txt")), "Name\tPrice\t3\r\nabc\t4\"5\t\"x\r\n\"\"y\"\"\"\r\n")
            << quoteKind;
    }
    // A comma file is read with full quote handling whatever that setting says.
    global.setQuoteKind(1);
    doc.separator = ',';
    saveTo("t.csv");
    EXPECT_EQ(fileBytes(path("t.csv")), "\"Name\",\"Price\",\"3\"\r\n\"abc\",\"4\"\"5\",\"x\r\n\"\"y\"\"\"\r\n");
}

TEST_F(SaveFlowTest, HeaderLineIsQuotedInEveryColumnAndNumbersUntitledColumns) {
    global.setQuoteKind(2);
    fillTable(hyo, {"Name|Price|", "abc|123|x"});
    hyo.takeHeaderRow();
    hyo.setColumnKind(1, 1, 1);
    hyo.setColumnTitle(2, "");
    ASSERT_TRUE(hyo.inHeaderMode());
    saveTo("t.csv");
    EXPECT_EQ(fileBytes(path("t.csv")), "\"Name\",\"Price\",\"3\"\r\n\"abc\",123,\"x\"\r\n");
}

TEST_F(SaveFlowTest, SaveWritesFilteredOutRowsToo) {
    fillTable(hyo, {"a", "b", "c"});
    hyo.addFilterRow(1);
    hyo.setFilterActive(true);
    ASSERT_EQ(hyo.rowCount(), 1);
    saveTo("t.csv");
    EXPECT_EQ(fileBytes(path("t.csv")), "a\r\nb\r\nc\r\n");
    EXPECT_TRUE(hyo.isFiltered());
}

TEST_F(SaveFlowTest, ASaveClearsTheColourNoteAndShowsTheWaitCursorWhileWriting) {
    std::vector<std::string> notes;
    std::vector<bool> waits;
    int viewAsked = 0;
    SaveFlowWindow window;
    window.setColourNote = [&](const std::string& text) { notes.push_back(text); };
    window.waitCursor = [&](bool on) { waits.push_back(on); };
    // Without colour files the view's settings are not wanted.
    window.viewSettings = [&](int&, int&, int&) { ++viewAsked; };
    fillTable(hyo, {"a"});
    doc.filePath = path("w.csv");
    EXPECT_TRUE(SaveFlow(hyo, global, doc, window).saveDocument(false));
    EXPECT_EQ(notes, std::vector<std::string>{""});
    EXPECT_EQ(waits, (std::vector<bool>{true, false}));
    EXPECT_EQ(viewAsked, 0);
}

TEST_F(SaveFlowTest, AFileThatWasEmptyWhenReadIsStillCheckedForChanges) {
    fillTable(hyo, {"a"});
    doc.filePath = home.write("e.csv", "changed");
    doc.diskPath = doc.filePath;
    doc.diskSize = 0;
    doc.diskTime = 0;
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(false));
    EXPECT_EQ(prompt.last().text, "ファイルは開いた後に他のプログラムで変更されています。\n上書きしてもよろしいですか？");
    EXPECT_EQ(fileBytes(doc.filePath), "changed");
}

TEST_F(SaveFlowTest, AnAcceptedChooserWithoutANameSavesNothing) {
    fillTable(hyo, {"a"});
    prompt.chooseFile("", 1);
    EXPECT_FALSE(flow.saveDocument(true));
    prompt.chooseFile("", 1);
    EXPECT_FALSE(flow.exportRows(0, 0, false, LineCrLf, EncShiftJis, false));
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SaveFlowTest, AColourFileInUseStaysLinkedOnlyUnderItsOwnName) {
    fillTable(hyo, {"a"});
    doc.colourFileInUse = true;
    saveTo("k.csv");
    EXPECT_TRUE(doc.colourFileInUse);
    prompt.chooseFile(path("l.csv"), 1);
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_FALSE(doc.colourFileInUse);
}

TEST_F(SaveFlowTest, AnOpenLastLineAfterTheHeaderLineKeepsTheHeadersLineEnd) {
    global.setQuoteKind(4);
    fillTable(hyo, {"Name", "a"});
    hyo.takeHeaderRow();
    doc.endsWithoutLineBreak = true;
    saveTo("o.csv");
    EXPECT_EQ(fileBytes(path("o.csv")), "Name\r\na");
}

TEST_F(SaveFlowTest, ReadErrorAsksBeforeSaving) {
    fillTable(hyo, {"a"});
    doc.filePath = path("t.csv");
    doc.readError = true;
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(false));
    EXPECT_TRUE(doc.readError);
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(prompt.last().caption, "確認");
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.saveDocument(false));
    EXPECT_FALSE(doc.readError);
}

TEST_F(SaveFlowTest, SaveAsTitleAndPreselectedFilter) {
    fillTable(hyo, {"a"});
    doc.separator = '\t';
    doc.encoding = EncUtf8;
    doc.withBom = true;
    doc.lineEnding = LineLf;
    prompt.cancelChooser();
    EXPECT_FALSE(flow.saveDocument(true));
    ASSERT_EQ(prompt.choosers().size(), 1u);
    EXPECT_EQ(prompt.choosers()[0].title, "名前を付けて保存(UTF8(BOM) - LF)");
    EXPECT_EQ(prompt.choosers()[0].filterIndex, 2);
    EXPECT_EQ(prompt.choosers()[0].filters, SaveFlow::ThreeFilters);

    doc.filePath = path("x.tsv");
    global.setColourFileMode(1);
    doc.colourMode = 1;
    prompt.cancelChooser();
    flow.saveDocument(true);
    EXPECT_EQ(prompt.choosers()[1].filterIndex, 6);
    EXPECT_EQ(prompt.choosers()[1].filters, SaveFlow::SixFilters);

    EXPECT_EQ(SaveFlow::saveTitle(0, 0, true), "名前を付けて保存(SHIFT-JIS - CRLF)");
    EXPECT_EQ(SaveFlow::saveTitle(10, 1, false), "名前を付けて保存(UTF16 - CR)");
    EXPECT_EQ(SaveFlow::saveTitle(10, 2, true), "名前を付けて保存(UTF16(BOM) - LF)");
    EXPECT_EQ(SaveFlow::saveTitle(11, 0, true), "名前を付けて保存(ETC - CRLF)");
}

TEST_F(SaveFlowTest, CommaFilterWithOtherExtensionAsks) {
    fillTable(hyo, {"a|b"});
    prompt.chooseFile(path("data.txt"), 1);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "カンマ区切りのファイルに拡張子txtを付けています。\nよろしいですか？");
    EXPECT_FALSE(fs::exists(path("data.txt")));

    prompt.chooseFile(path("data"), 1);
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_EQ(doc.filePath, path("data.csv"));
    EXPECT_EQ(doc.separator, ',');

    // The extension runs from the first dot of the name, as for the colour file beside it.
    prompt.chooseFile(path("data.tab.csv"), 1);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "カンマ区切りのファイルに拡張子tab.csvを付けています。\nよろしいですか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
}

TEST_F(SaveFlowTest, TabFiltersCheckTheExtension) {
    fillTable(hyo, {"a|b"});
    prompt.chooseFile(path("plain"), 2);
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_EQ(doc.filePath, path("plain.txt"));
    EXPECT_EQ(fileBytes(path("plain.txt")), "a\tb\r\n");
    EXPECT_EQ(doc.separator, '\t');

    prompt.chooseFile(path("bare"), 3);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "拡張子がありません。\nよろしいですか？");

    prompt.chooseFile(path("tab.CSV"), 2);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "タブ区切りのファイルに拡張子CSVを付けています。\nよろしいですか？");
    EXPECT_EQ(doc.filePath, path("plain.txt"));

    // A name ending in a dot has no extension either; filter 5 adds none to it.
    global.setColourFileMode(1);
    prompt.chooseFile(path("dot."), 5);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "拡張子がありません。\nよろしいですか？");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);

    // Only an extension of txt preselects the TXT filter for a TAB document.
    doc.filePath = path("x.old.txt");
    prompt.cancelChooser();
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.choosers().back().filterIndex, 3);
    doc.filePath = path("x.TXT");
    prompt.cancelChooser();
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.choosers().back().filterIndex, 2);
}

TEST_F(SaveFlowTest, ColourFileExtensionIsRefused) {
    global.setColourFileMode(1);
    doc.colourMode = 1;
    fillTable(hyo, {"a"});
    home.write("data.vxc", "colours");
    for (int filter : {1, 3, 6}) {
        prompt.chooseFile(path("data.VXC"), filter);
        prompt.answer(PromptAnswer::Ok);
        EXPECT_FALSE(flow.saveDocument(true)) << filter;
        EXPECT_EQ(prompt.last().text, "拡張子VXCはシステムファイルのため保存することは出来ません。");
        EXPECT_EQ(prompt.last().caption, "注意");
    }
    EXPECT_EQ(prompt.shown().size(), 3u);
    EXPECT_EQ(fileBytes(path("data.vxc")), "colours");
    EXPECT_FALSE(fs::exists(path("data.VXC")));
}

TEST_F(SaveFlowTest, OverwriteQuestions) {
    global.setColourFileMode(1);
    doc.colourMode = 1;
    fillTable(hyo, {"a"});
    home.write("both.csv", "old");
    home.write("both.vxc", "old");
    prompt.chooseFile(path("both.csv"), 4);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text,
              "既にファイルがあります。上書きしてもよろしいですか？\n※色情報ファイル(VXC)含む。");
    EXPECT_EQ(fileBytes(path("both.csv")), "old");

    home.write("colour.vxc", "old");
    prompt.chooseFile(path("colour.csv"), 4);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "色情報ファイル(VXC)を上書きします。\nよろしいですか？");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::Yes);
    EXPECT_EQ(prompt.last().icon, PromptIcon::Question);
    EXPECT_EQ(fileBytes(path("colour.vxc")).substr(0, 3), "VXC");

    home.write("data.csv", "old");
    prompt.chooseFile(path("data.csv"), 1);
    prompt.answer(PromptAnswer::Yes);
    // The document was linked to colour.vxc; switching to a filter without colour file at a
    // path without one asks nothing more.
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "既にファイルがあります。上書きしてもよろしいですか？");
    EXPECT_EQ(doc.colourMode, 2);
}

TEST_F(SaveFlowTest, LeavingTheColourFileBesideDeletesItAfterTheSave) {
    global.setColourFileMode(1);
    doc.colourMode = 1;
    doc.colourFileInUse = true;
    fillTable(hyo, {"a"});
    home.write("d.vxc", "old colours");
    prompt.chooseFile(path("d.csv"), 1);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "色情報は色情報ファイル(VXC)を削除して一時保存に変更します。\nよろしいですか？");
    EXPECT_FALSE(fs::exists(path("d.vxc")));
    EXPECT_EQ(doc.colourMode, 2);
    EXPECT_FALSE(doc.colourFileInUse);
    EXPECT_EQ(doc.colourTempName.size(), 17u);
}

TEST_F(SaveFlowTest, TheAllFilesFilterLeavesTheColourFileBesideTooAndTheColourTxtFilterAddsTxt) {
    global.setColourFileMode(1);
    doc.colourMode = 1;
    doc.colourFileInUse = true;
    fillTable(hyo, {"a"});
    home.write("d.vxc", "old colours");
    prompt.chooseFile(path("d.dat"), 3);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(true));
    EXPECT_EQ(prompt.last().text, "色情報は色情報ファイル(VXC)を削除して一時保存に変更します。\nよろしいですか？");
    EXPECT_FALSE(fs::exists(path("d.dat")));
    EXPECT_EQ(fileBytes(path("d.vxc")), "old colours");

    prompt.chooseFile(path("d.dat"), 3);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_EQ(fileBytes(path("d.dat")), "a\r\n");
    EXPECT_FALSE(fs::exists(path("d.vxc")));
    EXPECT_EQ(doc.colourMode, 2);

    prompt.chooseFile(path("e"), 5);
    EXPECT_TRUE(flow.saveDocument(true));
    EXPECT_EQ(fileBytes(path("e.txt")), "a\r\n");
    EXPECT_TRUE(fs::exists(path("e.vxc")));
    EXPECT_EQ(doc.colourMode, 1);
}

namespace {

// Lets files grow to `bytes` only while it lives; writes beyond fail instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        struct rlimit small = old;
        small.rlim_cur = bytes;
        previous = std::signal(SIGXFSZ, SIG_IGN);
        active = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
    }
    bool active = false;

private:
    struct rlimit old {};
    void (*previous)(int) = nullptr;
};

} // namespace

TEST_F(SaveFlowTest, WriteFailureKeepsTheOldFileAndTheModifiedMark) {
    global.setColourFileMode(1);
    doc.colourMode = 1;
    home.write("big.csv", "old data");
    home.write("big.vxc", "old colours");
    std::vector<std::string> rows(3000, std::string(40, 'x'));
    fillTable(hyo, rows);
    doc.filePath = path("big.csv");
    doc.modified = true;

    prompt.answer(PromptAnswer::Ok);
    bool saved = true;
    {
        FileSizeLimit limit(16 * 1024);   // the data file's writes fail half way
        ASSERT_TRUE(limit.active);
        saved = flow.saveDocument(false);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(prompt.last().text, "ファイルの書き込みに失敗しました。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(fileBytes(path("big.csv")), "old data");
    EXPECT_EQ(fileBytes(path("big.vxc")), "old colours");
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SaveFlowTest, ColourFileWriteFailureKeepsBothOldFiles) {
    global.setColourFileMode(1);
    doc.colourMode = 1;
    home.write("c.csv", "old data");
    home.write("c.vxc", "old colours");
    fillTable(hyo, std::vector<std::string>(600, "a|b"));
    for (int r = 0; r < 600; ++r) hyo.setCellAttribute(0, r, AttrBackColour, 2, 1, 1);
    doc.filePath = path("c.csv");
    doc.modified = true;

    prompt.answer(PromptAnswer::Ok);
    bool saved = true;
    {
        FileSizeLimit limit(6 * 1024);   // the data (3.6 KB) fits, the colours (9.6 KB) do not
        ASSERT_TRUE(limit.active);
        saved = flow.saveDocument(false);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(prompt.last().text, "ファイルの書き込みに失敗しました。");
    EXPECT_EQ(fileBytes(path("c.csv")), "old data");
    EXPECT_EQ(fileBytes(path("c.vxc")), "old colours");
    EXPECT_TRUE(doc.modified);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SaveFlowTest, SaveKeepsTheOldFilesPermissions) {
    fillTable(hyo, {"a"});
    home.write("p.csv", "old");
    fs::permissions(home.file("p.csv"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    saveTo("p.csv");
    EXPECT_EQ(fs::status(home.file("p.csv")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(SaveFlowTest, ReadOnlyFilesAreNotReplaced) {
    fillTable(hyo, {"new"});
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
    home.write("ro.csv", "old");
    fs::permissions(home.file("ro.csv"), readOnly);
    doc.filePath = path("ro.csv");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.saveDocument(false));
    EXPECT_EQ(prompt.last().text, "ファイルのオープンに失敗しました。");
    EXPECT_EQ(fileBytes(path("ro.csv")), "old");

    // A read-only colour file stops the save before the data file is touched.
    global.setColourFileMode(1);
    doc.colourMode = 1;
    home.write("rc.csv", "old data");
    home.write("rc.vxc", "old colours");
    fs::permissions(home.file("rc.vxc"), readOnly);
    doc.filePath = path("rc.csv");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.saveDocument(false));
    EXPECT_EQ(prompt.last().text, "ファイルのオープンに失敗しました。(色情報)");
    EXPECT_EQ(fileBytes(path("rc.csv")), "old data");
    EXPECT_EQ(fileBytes(path("rc.vxc")), "old colours");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SaveFlowTest, OpenFailureIsReported) {
    fillTable(hyo, {"a"});
    doc.filePath = path("missing-folder/t.csv");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.saveDocument(false));
    EXPECT_EQ(prompt.last().text, "ファイルのオープンに失敗しました。");
}

TEST_F(SaveFlowTest, SaveWithEncodingReplacesTheFormatOrRestoresIt) {
    ScriptedForms forms;
    fillTable(hyo, {"\x93\xfa"});
    doc.filePath = path("e.csv");
    doc.encoding = EncShiftJis;
    forms.encoding = EncodingChoice{EncUtf8, LineLf, true};
    prompt.chooseFile(path("e.csv"), 1);
    EXPECT_TRUE(flow.saveWithEncoding());
    EXPECT_EQ(fileBytes(path("e.csv")), "\xEF\xBB\xBF\xE6\x97\xA5\n");
    EXPECT_EQ(doc.encoding, EncUtf8);
    EXPECT_TRUE(doc.withBom);
    EXPECT_EQ(forms.offeredEncoding.encoding, EncShiftJis);

    forms.encoding = EncodingChoice{EncUtf16Le, LineCrLf, false};
    prompt.cancelChooser();
    EXPECT_FALSE(flow.saveWithEncoding());
    EXPECT_EQ(doc.encoding, EncUtf8);
    EXPECT_EQ(doc.lineEnding, LineLf);
    EXPECT_TRUE(doc.withBom);

    // Shift-JIS keeps the document's mark setting.
    forms.encoding = EncodingChoice{EncShiftJis, LineCrLf, false};
    prompt.chooseFile(path("e.csv"), 1);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.saveWithEncoding());
    EXPECT_TRUE(doc.withBom);
    EXPECT_EQ(fileBytes(path("e.csv")), "\x93\xfa\r\n");

    // A save as that fails restores the format as well.
    forms.encoding = EncodingChoice{EncUtf16Le, LineCr, false};
    prompt.chooseFile(path("no-such-folder/e.csv"), 1);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(flow.saveWithEncoding());
    EXPECT_EQ(prompt.choosers().back().title, "名前を付けて保存(UTF16 - CR)");
    EXPECT_EQ(prompt.last().text, "ファイルのオープンに失敗しました。");
    EXPECT_EQ(doc.encoding, EncShiftJis);
    EXPECT_EQ(doc.lineEnding, LineCrLf);
    EXPECT_TRUE(doc.withBom);

    forms.accept = false;
    const size_t asked = prompt.choosers().size();
    EXPECT_FALSE(flow.saveWithEncoding());
    EXPECT_EQ(prompt.choosers().size(), asked);
}

TEST_F(SaveFlowTest, ReloadFromTheStoreAsksOnlyForAModifiedDocument) {
    EXPECT_TRUE(flow.confirmReloadFromStore());
    EXPECT_TRUE(prompt.shown().empty());
    doc.modified = true;
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.confirmReloadFromStore());
    EXPECT_EQ(prompt.last().text, "更新データが破棄されます。\nよろしいですか？");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(prompt.last().defaultAnswer, PromptAnswer::No);
    prompt.answer(PromptAnswer::Yes);
    EXPECT_TRUE(flow.confirmReloadFromStore());
}

TEST_F(SaveFlowTest, SavingThroughALinkReplacesTheLinkedFile) {
    fillTable(hyo, {"new"});
    home.write("real.csv", "old");
    fs::create_symlink(home.file("real.csv"), home.file("link.csv"));
    saveTo("link.csv");
    EXPECT_TRUE(fs::is_symlink(home.file("link.csv")));
    EXPECT_EQ(fileBytes(home.file("real.csv")), "new\r\n");
}

TEST_F(SaveFlowTest, LineBufferThatCannotBeHadOrGrownStopsTheSave) {
    fillTable(hyo, {"short", std::string(3000, 'x')});
    home.write("m.csv", "old");
    doc.filePath = path("m.csv");
    prompt.answer(PromptAnswer::Ok);
    MemoryHook::failAfter(1);
    EXPECT_FALSE(flow.saveDocument(false));
    MemoryHook::failAfter(0);
    EXPECT_EQ(prompt.last().text, "領域確保に失敗しました。");

    // The first buffer comes; growing it for the long cell fails.
    prompt.answer(PromptAnswer::Ok);
    MemoryHook::failAfter(2);
    EXPECT_FALSE(flow.saveDocument(false));
    MemoryHook::failAfter(0);
    EXPECT_EQ(prompt.last().text, "領域確保に失敗しました。");
    EXPECT_EQ(fileBytes(path("m.csv")), "old");
    EXPECT_TRUE(leftovers().empty());
    EXPECT_TRUE(flow.saveDocument(false));
    EXPECT_EQ(fileBytes(path("m.csv")), "short\r\n" + std::string(3000, 'x') + "\r\n");
}
