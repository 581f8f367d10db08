// Tests of the open flow: refusals, file types, the TAB retry, limits, warnings and bad input.
#include "ReaderFixtures.h"
#include "platform/core/MemoryHook.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/ParallelReader.h"
#include "support/RowLimitOption.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/stat.h>

namespace {

class OpenFlowTest : public ::testing::Test {
protected:
    void SetUp() override { global.setColourFileMode(0); }

    int open(const std::string& path, int typeOption = TypeNone, bool header = false) {
        OpenFlow flow(hyo, global, doc, window);
        int rc = flow.openFile(path, header, "", typeOption);
        rowsRead = flow.rowsRead();
        return rc;
    }
    std::string cell(int column, int row) { return hyo.cellString(column, row); }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
    OpenFlowWindow window;
    int rowsRead = 0;
};

const char* const UnrepresentableWarning =
    "警告：Shift-JISで表せない文字が%d文字あったため、「?」または別の文字に変換しました。\n"
    "上書き保存すると元の文字は失われます。";

// Whether this process holds the file open (the descriptors listed in /proc/self/fd).
bool heldOpen(const std::string& path) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code ignored;
        if (std::filesystem::equivalent(entry.path(), path, ignored)) return true;
    }
    return false;
}

std::string unrepresentable(int count) {
    char text[400];
    std::snprintf(text, sizeof text, UnrepresentableWarning, count);
    return text;
}

} // namespace

TEST_F(OpenFlowTest, LoadsRowsAndSetsTheDocumentState) {
    std::string path = home.write("a.csv", "\xEF\xBB\xBF" "名前,値\n表,\"1,5\"\n");
    global.setStartBom(false);
    EXPECT_EQ(open(path), OpenFlow::Loaded);
    EXPECT_EQ(hyo.storeRowCount(), 2);
    EXPECT_EQ(cell(0, 0), sj("名前"));
    EXPECT_EQ(cell(1, 1), "1,5");
    EXPECT_EQ(doc.filePath, path);
    EXPECT_EQ(doc.encoding, 15);
    EXPECT_TRUE(doc.withBom);
    EXPECT_EQ(doc.lineEnding, 2);
    EXPECT_EQ(doc.separator, ',');
    EXPECT_FALSE(doc.readError);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(hyo.widestRowValue(), 2);
    EXPECT_EQ(doc.diskSize, 24);   // what a later save compares the file on disk with
    EXPECT_TRUE(prompt.shown().empty());
    // A file without a mark in Shift-JIS keeps the setting for new files.
    global.setStartBom(true);
    EXPECT_EQ(open(home.write("s.csv", "a\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(doc.encoding, 0);
    EXPECT_TRUE(doc.withBom);
}

TEST_F(OpenFlowTest, RefusesLongPathsColourFilesAndMissingFiles) {
    prompt.allowUnscripted();
    EXPECT_EQ(open("/" + std::string(260, 'a')), OpenFlow::Refused);
    EXPECT_EQ(prompt.last().text, "指定されたパスが長すぎます。");
    EXPECT_EQ(prompt.last().caption, "注意");
    const std::string longest = home.write(std::string(259 - home.path().size(), 'n'), "v\r\n");
    ASSERT_EQ(longest.size(), 260u);
    EXPECT_EQ(open(longest), OpenFlow::Loaded);
    EXPECT_EQ(cell(0, 0), "v");
    EXPECT_EQ(open(home.write("list.VxC", "x")), OpenFlow::Refused);
    EXPECT_EQ(prompt.last().text, "拡張子VXCはシステムファイルのため開くことは出来ません。");
    // The extension runs from the first dot of the name, as for the colour file beside a data
    // file: a name that only ends in .vxc is data, and a dot in a folder name does not count.
    prompt.clear();
    EXPECT_EQ(open(home.write("list.old.vxc", "a,b\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(cell(1, 0), "b");
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(open(home.write("data.vxc.csv", "c\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(cell(0, 0), "c");
    hyo.setRow(0, "keep");
    doc.filePath = "old";
    EXPECT_EQ(open(home.file("gone.csv")), OpenFlow::Refused);
    EXPECT_EQ(prompt.last().text, "ファイルが見つかりません。");
    EXPECT_EQ(open(home.path()), OpenFlow::Refused);
    EXPECT_EQ(prompt.last().text, "読込できないファイルです。");
    // A refused open leaves the previous document alone.
    EXPECT_EQ(hyo.rowString(0), "keep");
    EXPECT_EQ(doc.filePath, "old");
    global.setReadEncoding(0);
    EXPECT_EQ(open(home.write("u.csv", "\xEF\xBB\xBF" "a")), OpenFlow::Refused);
    EXPECT_EQ(prompt.last().text, "文字コードが異なります。");
    // The UTF-16 and UTF-8 settings are as fixed: a mark of another encoding is refused.
    global.setReadEncoding(10);
    prompt.clear();
    EXPECT_EQ(open(home.file("u.csv")), OpenFlow::Refused);
    EXPECT_EQ(prompt.last().text, "文字コードが異なります。");
    global.setReadEncoding(15);
    prompt.clear();
    EXPECT_EQ(open(home.write("w.csv", std::string("\xFF\xFE" "a\0", 4))), OpenFlow::Refused);
    EXPECT_EQ(prompt.last().text, "文字コードが異なります。");
}

TEST_F(OpenFlowTest, OpenDialogFiltersAndChoices) {
    EXPECT_EQ(OpenFlow::openFilters(),
              "CSVファイル(*.csv)|*.csv|テキスト(タブ区切)(*.txt,*.tsv)|*.txt;*.tsv|"
              "タブ区切(ﾀﾞﾌﾞﾙｺｰﾃｰｼｮﾝ囲み無し)(*.*)|*.*|タブ区切(ﾀﾞﾌﾞﾙｺｰﾃｰｼｮﾝ囲み有り)(*.*)|*.*|"
              "タブ区切(*.*)|*.*");
    prompt.cancelChooser();
    EXPECT_EQ(open(""), OpenFlow::CancelledOrReadError);
    ASSERT_EQ(prompt.choosers().size(), 1u);
    EXPECT_EQ(prompt.choosers()[0].filterIndex, 1);   // the dialog opens on the CSV filter
    // A dialog closed with OK but no name chosen is a cancel too.
    prompt.chooseFile("", 2);
    EXPECT_EQ(open(""), OpenFlow::CancelledOrReadError);
    EXPECT_TRUE(prompt.shown().empty());

    std::string path = home.write("t.txt", "\"a\"\tb,c\r\n");
    prompt.chooseFile(path, 3);
    EXPECT_EQ(open(""), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, '\t');
    EXPECT_EQ(global.quoteKind(), 3);
    EXPECT_FALSE(global.fileQuoteLineBreakOnly());
    EXPECT_EQ(cell(0, 0), "\"a\"");   // quotes are text when never quoting
    EXPECT_EQ(cell(1, 0), "b,c");

    // As a comma file the TAB is text, which a cell cannot hold: it becomes a blank and the
    // replacement is reported with the control characters.
    prompt.chooseFile(path, 1);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(""), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, ',');
    EXPECT_EQ(cell(0, 0), "a b");
    EXPECT_EQ(cell(1, 0), "c");
    EXPECT_EQ(prompt.shown().size(), 1u);
}

// Filters 2 to 5 all mean TAB; 3 and 4 also set the quote settings and fix them for this open
// (the colour file may not change them), 2 and 5 leave them to the settings and the colour file.
TEST_F(OpenFlowTest, EveryDialogFilterChoosesSeparatorAndQuoteSettings) {
    global.setColourFileMode(1);
    bool forced = false;
    char separator = 0;
    OpenColourHooks hooks;
    hooks.colourHeader = [&](ColourOpenContext& c) {
        forced = c.quotesForced;
        separator = c.separator;
        return false;
    };
    std::string path = home.write("f.txt", "a,b\tc\r\n");
    struct Case { int filter; char separator; bool forced; int quoteKind; bool lineBreakOnly; };
    const Case cases[] = {
        {1, ',', false, 3, true}, {2, '\t', false, 3, true}, {3, '\t', true, 3, false},
        {4, '\t', true, 0, true}, {5, '\t', false, 3, true},
    };
    for (const Case& c : cases) {
        global.setQuoteKind(3);
        global.setFileQuoteLineBreakOnly(true);
        prompt.chooseFile(path, c.filter);
        if (c.separator == ',') prompt.answer(PromptAnswer::Ok);   // the TAB in the text
        OpenFlow flow(hyo, global, doc, window, hooks);
        EXPECT_EQ(flow.openFile("", false, "", TypeNone), OpenFlow::Loaded) << c.filter;
        EXPECT_EQ(doc.separator, c.separator) << c.filter;
        EXPECT_EQ(separator, c.separator) << c.filter;
        EXPECT_EQ(forced, c.forced) << c.filter;
        EXPECT_EQ(global.quoteKind(), c.quoteKind) << c.filter;
        EXPECT_EQ(global.fileQuoteLineBreakOnly(), c.lineBreakOnly) << c.filter;
    }
    // The file types of the command line: both TAB types fix the quote settings.
    const std::string data = home.write("g.csv", "a,b\r\n");
    for (int type : {TypeComma, TypeTab, TypeTabNoQuotes}) {
        OpenFlow flow(hyo, global, doc, window, hooks);
        EXPECT_EQ(flow.openFile(data, false, "", type), OpenFlow::Loaded) << type;
        EXPECT_EQ(forced, type != TypeComma) << type;
    }
}

TEST_F(OpenFlowTest, TypeOptionsFixSeparatorAndQuoteSettings) {
    prompt.allowUnscripted();
    std::string path = home.write("t.txt", "\"a\"\tb,c\r\n");
    EXPECT_EQ(open(path, TypeComma), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, ',');
    EXPECT_EQ(open(path, TypeTab), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, '\t');
    EXPECT_EQ(global.quoteKind(), 0);
    EXPECT_EQ(cell(0, 0), "\"a\"");   // the TAB parser keeps quotes without line breaks
    EXPECT_EQ(open(path, TypeTabNoQuotes), OpenFlow::Loaded);
    EXPECT_EQ(global.quoteKind(), 3);
    EXPECT_FALSE(global.fileQuoteLineBreakOnly());
}

TEST_F(OpenFlowTest, TabInsideQuotesRetriesWithTheTabParser) {
    global.setFileQuoteLineBreakOnly(false);
    global.setQuoteKind(0);
    std::string path = home.write("t.txt", "h1\th2\r\n\"x\ty\"\tz\r\n");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(path), OpenFlow::Loaded);
    EXPECT_TRUE(global.fileQuoteLineBreakOnly());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "データ内にTAB文字が入ったため設定を『ダブルコーテーションの囲みを"
                                  "改行のみ』に変更して読込ました。");
    EXPECT_EQ(hyo.storeRowCount(), 2);
    EXPECT_EQ(cell(0, 1), "\"x");
    EXPECT_EQ(cell(1, 1), "y\"");
    EXPECT_EQ(cell(2, 1), "z");
}

TEST_F(OpenFlowTest, TabInsideQuotesInACommaFileBecomesABlank) {
    std::string path = home.write("c.csv", "a,b\r\n\"x\ty\",z\r\nmore\r\n");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(path), OpenFlow::Loaded);
    EXPECT_FALSE(doc.readError);
    EXPECT_EQ(hyo.storeRowCount(), 3);
    EXPECT_EQ(cell(0, 1), "x y");
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "警告：データ上、表示出来ない文字が発生しました。\n"
                                  "・セル内のTAB文字(1個)はスペースに変換しました。");
}

TEST_F(OpenFlowTest, ReadErrorKeepsTheRowsReadAndTheirWidth) {
    std::string path = home.write("e.csv", "a,b,c\r\nd\r\n" + std::string(5002, 'x') + "\r\nmore\r\n");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(path), OpenFlow::CancelledOrReadError);
    EXPECT_EQ(prompt.last().caption, "読み込みエラー");
    EXPECT_EQ(prompt.last().icon, PromptIcon::Error);
    EXPECT_TRUE(doc.readError);
    EXPECT_EQ(hyo.storeRowCount(), 2);
    EXPECT_EQ(hyo.widestRowValue(), 3);
    EXPECT_EQ(doc.filePath, path);

    // In a TAB file only a TAB inside quotes sends the file to the TAB parser; any other error
    // ends the read as it stands, with the quotes read as the settings say.
    global.setQuoteKind(0);
    global.setFileQuoteLineBreakOnly(false);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("e.txt", "\"a\"\tb\r\n" + std::string(5002, 'x') + "\r\n")),
              OpenFlow::CancelledOrReadError);
    EXPECT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(cell(0, 0), "a");
    EXPECT_FALSE(global.fileQuoteLineBreakOnly());
}

// A FIFO would block the open until a writer came; a folder or device is no data file either.
TEST_F(OpenFlowTest, NonRegularFilesAreRefusedWithoutBlocking) {
    const std::string fifo = home.file("pipe.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, home.path(), std::string("/dev/zero")}) {
        prompt.answer(PromptAnswer::Ok);
        EXPECT_EQ(open(path), OpenFlow::Refused) << path;
        EXPECT_EQ(prompt.last().text, "読込できないファイルです。") << path;
        EXPECT_TRUE(doc.filePath.empty());
    }
}

TEST_F(OpenFlowTest, TsvNameWithACommaInTheFirstCell) {
    EXPECT_EQ(open(home.write("cities.TSV", sj("東京, 大阪") + "\t2\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, '\t');
    EXPECT_EQ(cell(0, 0), sj("東京, 大阪"));
    EXPECT_EQ(cell(1, 0), "2");
    // Other names keep the first separator found (the TAB in the text becomes a blank).
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("cities.txt", sj("東京, 大阪") + "\t2\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, ',');

    // Relative names as short as the extension or shorter.
    struct BackAfterwards {
        std::filesystem::path folder = std::filesystem::current_path();
        ~BackAfterwards() { std::filesystem::current_path(folder); }
    } back;
    std::filesystem::current_path(home.path());
    home.write(".tsv", sj("東京, 大阪") + "\t2\r\n");
    home.write("a.c", sj("東京, 大阪") + "\t2\r\n");
    EXPECT_EQ(open(".tsv"), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, '\t');
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open("a.c"), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, ',');
}

TEST_F(OpenFlowTest, ExtraFieldsAreDroppedWithOneWarning) {
    std::string row;
    for (int i = 0; i < 1200; ++i) row += (i ? "," : "") + std::to_string(i);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("w.csv", row + "\r\n" + row + "\r\n")), OpenFlow::Loaded);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "最大列を超える情報があったため切り捨てられたデータがあります。");
    EXPECT_EQ(hyo.cellCount(0), 999);
    EXPECT_EQ(cell(998, 1), "998");
    EXPECT_TRUE(doc.readError);   // saving would lose the cut-off fields: it asks first

    // Exactly 999 fields lose nothing; read in pieces, the count is the same.
    std::string full;
    for (int i = 0; i < 999; ++i) full += (i ? "," : "") + std::to_string(i);
    for (bool pieces : {false, true}) {
        SCOPED_TRACE(pieces ? "in pieces" : "record by record");
        ParallelReader::setDefaultShape(pieces ? ParallelReader::Shape{97, 3, 0} : ParallelReader::Shape{});
        prompt.clear();
        EXPECT_EQ(open(home.write("f.csv", full + "\r\n" + full + "\r\n")), OpenFlow::Loaded);
        EXPECT_TRUE(prompt.shown().empty());
        EXPECT_FALSE(doc.readError);
        EXPECT_EQ(cell(998, 1), "998");
        prompt.answer(PromptAnswer::Ok);
        EXPECT_EQ(open(home.write("w.csv", full + "\r\n" + row + "\r\n")), OpenFlow::Loaded);
        EXPECT_EQ(prompt.texts(), std::vector<std::string>{"最大列を超える情報があったため切り捨てられたデータがあります。"});
        EXPECT_TRUE(doc.readError);
    }
    ParallelReader::setDefaultShape({});
}

TEST_F(OpenFlowTest, StopsAtTheMaximumRowCount) {
    std::string text;
    text.reserve(600000 * 2);
    for (int i = 0; i < 600000; ++i) text += "1\n";
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("r.csv", text)), OpenFlow::Loaded);
    EXPECT_EQ(hyo.storeRowCount(), 500000);
    EXPECT_EQ(prompt.last().text, "最大行に到達したため読み込みを中断しました。");
    EXPECT_TRUE(doc.readError);

    // Exactly 500000 records load without a word.
    prompt.clear();
    text.resize(500000 * 2);
    EXPECT_EQ(open(home.write("s.csv", text)), OpenFlow::Loaded);
    EXPECT_EQ(hyo.storeRowCount(), 500000);
    EXPECT_TRUE(prompt.shown().empty());

    // Read in pieces, one record past the limit stops the same way.
    ParallelReader::setDefaultShape(ParallelReader::Shape{1u << 16, 3, 0});
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("t.csv", text + "1\n")), OpenFlow::Loaded);
    ParallelReader::setDefaultShape({});
    EXPECT_EQ(hyo.storeRowCount(), 500000);
    EXPECT_EQ(prompt.last().text, "最大行に到達したため読み込みを中断しました。");
    EXPECT_TRUE(doc.readError);
}

TEST_F(OpenFlowTest, TheRowOptionMovesTheReadersLimit) {
    RowLimitOption option(500002);
    std::string text;
    for (int i = 0; i < 500004; ++i) text += "1\n";
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("r.csv", text)), OpenFlow::Loaded);
    EXPECT_EQ(hyo.storeRowCount(), 500002);
    EXPECT_EQ(prompt.last().text, "最大行に到達したため読み込みを中断しました。");
    EXPECT_TRUE(doc.readError);

    prompt.clear();
    text.resize(500002 * 2);
    EXPECT_EQ(open(home.write("s.csv", text)), OpenFlow::Loaded);
    EXPECT_EQ(hyo.storeRowCount(), 500002);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_FALSE(doc.readError);
}

TEST_F(OpenFlowTest, WarnsAboutControlBytesAndUnrepresentableCharacters) {
    // (Fixed to Shift-JIS: the content scan takes a zero byte for UTF-16.)
    global.setReadEncoding(0);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("n.csv", std::string("a\0b,c\r\n", 7))), OpenFlow::Loaded);
    global.setReadEncoding(-1);
    EXPECT_EQ(cell(0, 0), "a b");
    EXPECT_EQ(prompt.last().text, "警告：データ上、表示出来ない文字が発生しました。\n"
                                  "・NULL文字(1個)はスペースに変換しました。");
    global.setReadEncoding(0);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("m.csv", std::string("a\0\0b\x01,\tc\x81\r\n", 11))), OpenFlow::Loaded);
    global.setReadEncoding(-1);
    EXPECT_EQ(prompt.last().text, "警告：データ上、表示出来ない文字が発生しました。\n"
                                  "・NULL文字(2個)はスペースに変換しました。\n"
                                  "・セル内のTAB文字(1個)はスペースに変換しました。\n"
                                  "・表示上未使用のシステム文字(1個)は?に変換しました。\n"
                                  "・2バイト目が欠けた文字(1個)は?に変換しました。");
    // A character beyond CP932, a wave dash that would come back as a full-width tilde, and a
    // yen sign that would come back as a backslash borrow codes; a broken sequence is lost.
    prompt.clear();
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("u.csv", "\xEF\xBB\xBF" "𠀋,〜,¥,表,\xE8\r\n")), OpenFlow::Loaded);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, unrepresentable(1));
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(CodePage::toUtf8(cell(0, 0) + cell(1, 0) + cell(2, 0)), "𠀋〜¥");
    EXPECT_EQ(cell(3, 0), sj("表"));
    EXPECT_EQ(cell(4, 0), "?");
    // Clean files say nothing.
    prompt.clear();
    EXPECT_EQ(open(home.write("ok.csv", "\xEF\xBB\xBF" "～,表\r\n")), OpenFlow::Loaded);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(OpenFlowTest, Utf8AfterAnAsciiStartAndUtf16BigEndian) {
    std::string head;
    for (int i = 0; i < 100; ++i) head += "id,name,value\r\n";
    EXPECT_EQ(open(home.write("u.csv", head + "1,表計算,3\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(doc.encoding, 15);
    EXPECT_EQ(cell(1, 100), sj("表計算"));

    std::string be;
    CodePage::cp932ToUtf16Bytes(sj("名前\t値\r\n表\t1\r\n"), true, be);
    EXPECT_EQ(open(home.write("be.txt", std::string("\xFE\xFF", 2) + be)), OpenFlow::Loaded);
    EXPECT_EQ(doc.encoding, 11);
    EXPECT_TRUE(doc.withBom);
    EXPECT_EQ(doc.separator, '\t');
    EXPECT_EQ(cell(0, 1), sj("表"));
    EXPECT_EQ(cell(1, 0), sj("値"));
}

TEST_F(OpenFlowTest, RowHeightsFollowTheLinesOfTheTallestLaterField) {
    window.editorLineHeight = [] { return 12; };
    window.scrollBarHeight = [] { return 100; };
    std::string text = "\"a\nb\nc\",x\r\n"                     // 3 lines: 36
                       "\"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\",y\r\n"  // 10 lines: capped at 90
                       "\"a\nb\nc\nd\",\"e\nf\"\r\n"             // a later field wins: 24
                       "plain\r\n";
    EXPECT_EQ(open(home.write("h.csv", text)), OpenFlow::Loaded);
    EXPECT_EQ(hyo.rowHeight(0), 36);
    EXPECT_EQ(hyo.rowHeight(1), 90);
    EXPECT_EQ(hyo.rowHeight(2), 24);
    EXPECT_EQ(hyo.rowHeight(3), hyo.defaultHeight());
    EXPECT_EQ(cell(0, 0), "a\r\nb\r\nc");
    // However small the grid, a row of several lines gets at least one line's height.
    window.editorLineHeight = [] { return 1; };
    window.scrollBarHeight = [] { return 11; };
    EXPECT_EQ(open(home.file("h.csv")), OpenFlow::Loaded);
    EXPECT_EQ(hyo.rowHeight(0), 1);
    EXPECT_EQ(hyo.rowHeight(3), hyo.defaultHeight());
}

TEST_F(OpenFlowTest, HeaderFlagAndWindowCallbacks) {
    std::vector<std::string> calls;
    std::string path = home.write("h.csv", "t1,t2\r\n1,2\r\n");
    // The file is closed by the time the window is told the reading is over.
    window.waitCursor = [&](bool on) {
        calls.push_back(std::string(on ? "wait" : "normal") + (heldOpen(path) ? ", file open" : ""));
    };
    window.setCaption = [&](const std::string& p) { calls.push_back("caption " + p); };
    window.resetScroll = [&] { calls.push_back("scroll"); };
    window.refresh = [&] { calls.push_back("refresh"); };
    EXPECT_EQ(open(path, TypeNone, true), OpenFlow::Loaded);
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(1), "t2");
    EXPECT_EQ(cell(1, 0), "2");
    EXPECT_EQ(calls, (std::vector<std::string>{"wait, file open", "normal", "caption " + path,
                                                "scroll", "refresh"}));
    EXPECT_TRUE(hyo.journal().recording());

    // The next open starts from an empty table (no titles, nothing to undo), and what the
    // loading does itself, such as row heights, cannot be undone either.
    hyo.setRowHeight(0, 30);
    ASSERT_EQ(hyo.journal().entryCount(), 1);
    window.editorLineHeight = [] { return 12; };
    EXPECT_EQ(open(home.write("n.csv", "\"a\r\nb\",c\r\n")), OpenFlow::Loaded);
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.rowHeight(0), 24);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}

TEST_F(OpenFlowTest, ColourHooksMayChangeEncodingAndHeader) {
    global.setColourFileMode(1);
    int recordsOffset = -1;
    OpenColourHooks hooks;
    // What the colour file says about reading is asked before the rows, the header after them.
    hooks.readerSettings = [](const ColourOpenContext& c) {
        ColourReaderSettings reading;
        if (c.doc->encoding == 0 && !c.doc->withBom) reading.encoding = 15;
        return reading;
    };
    hooks.colourHeader = [](ColourOpenContext& c) {
        if (c.doc->encoding == 0 && !c.doc->withBom) c.doc->encoding = 15;
        c.headerFlag = true;
        c.freezeEnd = 2;
        return true;
    };
    hooks.colourRecords = [&](ColourOpenContext&, int offset) { recordsOffset = offset; };
    int frozen = 0;
    window.restoreFreeze = [&](int, int end) { frozen = end; };
    global.setReadEncoding(0);
    global.setStartBom(false);
    OpenFlow flow(hyo, global, doc, window, hooks);
    EXPECT_EQ(flow.openFile(home.write("c.csv", "a,b\r\n表,x\r\n"), false, "", TypeNone),
              OpenFlow::Loaded);
    EXPECT_EQ(doc.encoding, 15);
    EXPECT_EQ(cell(0, 0), sj("表"));   // read as UTF-8
    EXPECT_EQ(recordsOffset, 1);
    EXPECT_EQ(frozen, 2);
    EXPECT_TRUE(hyo.inHeaderMode());
}

TEST_F(OpenFlowTest, BadInputEndsWithAMessageOrRowsNeverACrash) {
    prompt.allowUnscripted();
    EXPECT_EQ(open(home.write("empty.csv", "")), OpenFlow::Loaded);
    EXPECT_EQ(hyo.storeRowCount(), 0);
    EXPECT_EQ(open(home.write("one.csv", "x")), OpenFlow::Loaded);
    EXPECT_EQ(cell(0, 0), "x");
    EXPECT_EQ(doc.encoding, 0);

    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(3000 + round * 97, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        int rc = open(home.write("bin" + std::to_string(round), bytes));
        EXPECT_TRUE(rc == OpenFlow::Loaded || rc == OpenFlow::CancelledOrReadError);
        // Rows hold no control bytes and no lead byte without its second byte.
        for (int row = 0; row < hyo.storeRowCount(); ++row) {
            std::string text = hyo.rowString(row);
            for (size_t i = 0; i < text.size(); ++i) {
                unsigned char c = text[i];
                ASSERT_TRUE(c >= 0x20 || c == '\t' || c == '\r' || c == '\n');
                if (CodePage::isLeadByte(c)) {
                    ASSERT_LT(i + 1, text.size());
                    unsigned char t = text[++i];
                    ASSERT_GE(t, 0x20);
                }
            }
        }
    }
    // One 20 MB field stops at the field limit; a 20 MB line of short fields loads 999 of them.
    prompt.clear();
    EXPECT_EQ(open(home.write("big.csv", std::string(20 * 1024 * 1024, 'a'))),
              OpenFlow::CancelledOrReadError);
    EXPECT_EQ(prompt.last().text, "セル内の文字数が最大数を超えるため読み込みを中断しました。");
    std::string line;
    line.reserve(20 * 1024 * 1024);
    while (line.size() < 20u * 1024 * 1024) line += "abcdefghi,";
    prompt.clear();
    EXPECT_EQ(open(home.write("wide.csv", line)), OpenFlow::Loaded);
    EXPECT_EQ(hyo.storeRowCount(), 1);
    EXPECT_EQ(hyo.cellCount(0), 999);
    EXPECT_EQ(prompt.last().text, "最大列を超える情報があったため切り捨てられたデータがあります。");
}

// An allocation failing at any step ends the read with the rows stored so far intact.
TEST_F(OpenFlowTest, AllocationFailureAtEveryStepKeepsTheRowsRead) {
    prompt.allowUnscripted();
    std::string text;
    std::vector<std::string> rowsExpected;
    for (int i = 0; i < 300; ++i) {
        std::string row = std::to_string(i) + "," + std::string(40 + i % 50, 'x') + "," + sj("表");
        text += row + "\r\n";
        std::string stored = row;
        for (char& c : stored) if (c == ',') c = '\t';
        rowsExpected.push_back(stored);
    }
    std::string path = home.write("m.csv", text);
    for (long failAt = 1; failAt <= 40; ++failAt) {
        MemoryHook::failAfter(failAt);
        int rc = open(path);
        MemoryHook::failAfter(0);
        ASSERT_TRUE(rc == OpenFlow::Loaded || rc == OpenFlow::CancelledOrReadError ||
                    rc == OpenFlow::Refused) << failAt;
        if (rc == OpenFlow::Refused) continue;   // the reader could not start
        int stored = hyo.storeRowCount();
        ASSERT_LE(stored, 300);
        if (stored < 300) {
            EXPECT_TRUE(doc.readError) << failAt;
        }
        for (int row = 0; row < stored; ++row) {
            std::string got = hyo.rowString(row);
            if (!got.empty()) {
                ASSERT_EQ(got, rowsExpected[row]) << failAt << " row " << row;
            }
        }
    }
}

// The attempt that gives way to the TAB parser leaves undo recording on, so that nothing is left
// unrecorded when the retry cannot open the file again.
TEST_F(OpenFlowTest, AttemptEndingForTheRetryLeavesUndoRecordingOn) {
    global.setFileQuoteLineBreakOnly(false);
    std::string path = home.write("t.txt", "a\tb\r\n\"x\ty\"\tz\r\n");
    std::vector<bool> cursor;
    std::vector<bool> open;
    window.waitCursor = [&](bool on) {
        cursor.push_back(on);
        open.push_back(heldOpen(path));
    };
    OpenFlow flow(hyo, global, doc, window);
    EXPECT_EQ(flow.openFileOnce(path, false, "", false, TypeNone), OpenFlow::RetryWithTabParser);
    EXPECT_TRUE(hyo.journal().recording());
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(open, (std::vector<bool>{true, false}));   // closed before the retry opens it again
    EXPECT_TRUE(prompt.shown().empty());
}

// The retry reads the file chosen in the dialog again, as a TAB file.
TEST_F(OpenFlowTest, RetryAfterTheDialogReadsTheChosenFileAgain) {
    global.setFileQuoteLineBreakOnly(false);
    std::string path = home.write("d.txt", "\"x\ty\"\tz\r\n");
    prompt.chooseFile(path, 2);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(""), OpenFlow::Loaded);
    EXPECT_EQ(prompt.choosers().size(), 1u);   // no second dialog
    EXPECT_EQ(doc.filePath, path);
    EXPECT_EQ(doc.separator, '\t');
    EXPECT_EQ(cell(2, 0), "z");
    EXPECT_TRUE(global.fileQuoteLineBreakOnly());

    // The choice is carried into that retry only: the next open of the same flow detects the
    // separator of its own file again.
    global.setFileQuoteLineBreakOnly(false);
    prompt.chooseFile(path, 2);
    prompt.answer(PromptAnswer::Ok);
    OpenFlow flow(hyo, global, doc, window);
    EXPECT_EQ(flow.openFile("", false, "", TypeNone), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, '\t');
    EXPECT_EQ(flow.openFile(home.write("c.csv", "a,b\r\n"), false, "", TypeNone), OpenFlow::Loaded);
    EXPECT_EQ(doc.separator, ',');
    EXPECT_EQ(cell(1, 0), "b");
}
