// Tests of CMyCSV: both parsers, the limits, separator and line-ending recognition, cut safety.
#include "ReaderFixtures.h"
#include "platform/core/MemoryHook.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

TEST(CMyCSVGeneral, QuotesAsInCommaFiles) {
    TempHome home;
    std::string path = home.write("q.csv", "\"a\",\"b\"\"c\"\r\na\"b\"c\r\n");
    Table t = readAll(path, ',', true);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], (std::vector<std::string>{"a", "b\"c"}));
    EXPECT_EQ(t[1], (std::vector<std::string>{"abc"}));
    // Without quotes active they are text.
    t = readAll(path, ',', true, false);
    EXPECT_EQ(t[0], (std::vector<std::string>{"\"a\"", "\"b\"\"c\""}));
}

TEST(CMyCSVGeneral, LineBreaksInsideQuotesBecomeCrLf) {
    TempHome home;
    Table t = readAll(home.write("b.csv", "\"x\ny\rz\",2\n"), ',', true);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0][0], "x\r\ny\r\nz");
    EXPECT_EQ(t[0][1], "2");
}

TEST(CMyCSVGeneral, TrailingEmptyFieldOnlyBeforeALineEnd) {
    TempHome home;
    Table atEnd = readAll(home.write("e.csv", "a,b,"), ',', true);
    EXPECT_EQ(atEnd[0].size(), 2u);
    Table withBreak = readAll(home.write("f.csv", "a,b,\r\n"), ',', true);
    EXPECT_EQ(withBreak[0].size(), 3u);
    Table blank = readAll(home.write("g.csv", "a\r\n\r\nb\r\n"), ',', true);
    ASSERT_EQ(blank.size(), 3u);
    EXPECT_EQ(blank[1], (std::vector<std::string>{""}));
}

TEST(CMyCSVGeneral, DoubleByteTrailIsNeverASeparator) {
    TempHome home;
    // 0x95 0x5C (表) and 0x83 0x5C: the trail bytes are no separator or quote.
    std::string row = sj("表ソ") + "," + sj("能") + "\r\n";
    Table t = readAll(home.write("d.csv", row), ',', true);
    EXPECT_EQ(t[0], (std::vector<std::string>{sj("表ソ"), sj("能")}));
}

TEST(CMyCSVGeneral, BrokenBytesCannotSplitTheRow) {
    TempHome home;
    CMyCSV csv;
    // A lead byte before a comma and at the end; a TAB in a comma file's text. (Read as fixed
    // Shift-JIS: the content scan would take the broken pair for UTF-16.)
    Table t = readAll(home.write("x.csv", "a\x81,b\tc,d\x81"), ',', true, true, 0, false, nullptr,
                      &csv);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], (std::vector<std::string>{"a?", "b c", "d?"}));
    EXPECT_EQ(csv.replacedControls(), 3);
    EXPECT_EQ(csv.replaced().tabs, 1);
    EXPECT_EQ(csv.replaced().brokenLeads, 2);
}

TEST(CMyCSVGeneral, TabInsideQuotesStopsOnlyInTabFiles) {
    TempHome home;
    int status = 0;
    CMyCSV csv;
    Table t = readAll(home.write("t.txt", "a\tb\r\n\"x\ty\"\tz\r\n"), '\t', true, true, 0, true,
                      &status, &csv);
    EXPECT_EQ(status, CMyCSV::TabInsideQuotes);
    EXPECT_EQ(csv.message,
              "ダブルコーテーションの囲み内にTAB文字が発生したので処理を中断しました。");
    EXPECT_EQ(t.size(), 1u);
    // Valid CSV from other programs: the TAB in quotes becomes a blank and is counted.
    CMyCSV comma;
    t = readAll(home.write("t.csv", "a,b\r\n\"x\ty\t\",z\r\n"), ',', true, true, 0, true, &status,
                &comma);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1], (std::vector<std::string>{"x y ", "z"}));
    EXPECT_EQ(comma.replaced().tabs, 2);
    EXPECT_EQ(comma.replacedControls(), 2);
}

TEST(CMyCSVGeneral, FieldLimitAndUnclosedQuote) {
    TempHome home;
    int status = 0;
    CMyCSV csv;
    std::string ok(5000, 'a');
    EXPECT_EQ(readAll(home.write("ok.csv", ok + ",b\r\n"), ',', true)[0][0].size(), 5000u);
    readAll(home.write("long.csv", ok + "a,b\r\n"), ',', true, true, 0, true, &status, &csv);
    EXPECT_EQ(status, CMyCSV::FieldTooLong);
    EXPECT_EQ(csv.message, "セル内の文字数が最大数を超えるため読み込みを中断しました。");
    // A quote that never closes swallows the rest until the limit.
    std::string rest;
    for (int i = 0; i < 1000; ++i) rest += "row,text\r\n";
    Table t = readAll(home.write("open.csv", "a,b\r\n\"c," + rest), ',', true, true, 0, true,
                      &status);
    EXPECT_EQ(status, CMyCSV::FieldTooLong);
    EXPECT_EQ(t.size(), 1u);
    // A short unclosed quote ends with the file.
    t = readAll(home.write("short.csv", "a,\"b\r\nc"), ',', true, true, 0, true, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(t[0], (std::vector<std::string>{"a", "b\r\nc"}));
}

TEST(CMyCSVGeneral, KeepsAtMost999FieldsButCountsAll) {
    TempHome home;
    std::string row;
    for (int i = 0; i < 1200; ++i) row += (i ? "," : "") + std::to_string(i);
    CMyCSV csv;
    ASSERT_EQ(csv.open(home.write("w.csv", row + "\r\n"), 0, true), 0);
    csv.setSeparator(',');
    EXPECT_EQ(csv.readRecord(), 1200);
    EXPECT_EQ(csv.keptFields(), 999);
    EXPECT_STREQ(csv.field(998), "998");
    EXPECT_STREQ(csv.field(999), "");
    // Closing releases the fields with their buffer.
    csv.close();
    EXPECT_EQ(csv.keptFields(), 0);
    EXPECT_STREQ(csv.field(0), "");
    EXPECT_EQ(csv.readRecord(), 0);
    // Opened again, it tells about the new file only.
    ASSERT_EQ(csv.open(home.write("lf.csv", "x\ny\n"), 0, true), 0);
    csv.setSeparator(',');
    EXPECT_EQ(csv.readRecord(), 1);
    EXPECT_EQ(csv.readRecord(), 1);
    EXPECT_EQ(csv.readRecord(), 0);
    EXPECT_EQ(csv.recordCount, 2);
    EXPECT_EQ(csv.lineEndingKind(), 2);
}

TEST(CMyCSVTab, QuotesMatterOnlyAroundLineBreaks) {
    TempHome home;
    Table t = readAll(home.write("a.txt", "\"abc\"\tx\r\n\"l1\r\nl2\"\"q\"\ty\r\n"), '\t', false);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], (std::vector<std::string>{"\"abc\"", "x"}));
    EXPECT_EQ(t[1], (std::vector<std::string>{"l1\r\nl2\"q", "y"}));
    // Quotes not at the start of a field are text.
    t = readAll(home.write("b.txt", "a\"b\tc\"\r\n"), '\t', false);
    EXPECT_EQ(t[0], (std::vector<std::string>{"a\"b", "c\""}));
}

TEST(CMyCSVTab, BrokenQuotedFieldIsReadAgain) {
    TempHome home;
    CMyCSV csv;
    Table t = readAll(home.write("b.txt", "\"ab\r\ncd\te\r\nf\tg\r\n"), '\t', false, true, 0, true,
                      nullptr, &csv);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], (std::vector<std::string>{"\"ab"}));
    EXPECT_EQ(t[1], (std::vector<std::string>{"cd", "e"}));
    EXPECT_EQ(t[2], (std::vector<std::string>{"f", "g"}));
    EXPECT_EQ(csv.lineEndingKind(), 0);
    // A quote followed by other text breaks it as well, and so does the end of the file.
    t = readAll(home.write("c.txt", "x\t\"ab\ncd\"e\tf\n"), '\t', false);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0], (std::vector<std::string>{"x", "\"ab"}));
    EXPECT_EQ(t[1], (std::vector<std::string>{"cd\"e", "f"}));
    t = readAll(home.write("d.txt", "\"ab\ncd"), '\t', false);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[1], (std::vector<std::string>{"cd"}));
}

TEST(CMyCSVTab, QuotedFieldClosedByTheEndOfTheFile) {
    TempHome home;
    Table t = readAll(home.write("e.txt", "a\t\"l1\r\nl2\""), '\t', false);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0], (std::vector<std::string>{"a", "l1\r\nl2"}));
}

TEST(CMyCSVTab, QuotedFieldLimits) {
    TempHome home;
    int status = 0;
    CMyCSV csv;
    std::string big = "\"" + sj("あ") + std::string(10000, 'x') + "\"\tz\r\n";
    readAll(home.write("big.txt", big), '\t', false, true, 0, true, &status, &csv);
    EXPECT_EQ(status, CMyCSV::QuotedTooLongOrNoMemory);
    EXPECT_EQ(csv.message, "セル内のデータが大きすぎます。(\"あxxxxxxxxxxxxxxxxx・・・)");
    // With a line break inside, too long means not quoted after all.
    std::string broken = "\"a\r\n" + std::string(10000, 'y') + "\r\nnext\r\n";
    Table t = readAll(home.write("brk.txt", broken), '\t', false, true, 0, true, &status);
    EXPECT_EQ(status, CMyCSV::FieldTooLong);   // the 10000 y's are too long unquoted
    ASSERT_GE(t.size(), 1u);
    EXPECT_EQ(t[0][0], "\"a");
}

TEST(CMyCSVSeparator, DetectionAndLineEndingKinds) {
    TempHome home;
    CMyCSV csv;
    ASSERT_EQ(csv.open(home.write("s.txt", "\"a,b\"\tc\r\n"), 0, true), 0);
    EXPECT_EQ(csv.detectSeparator(), 0);
    EXPECT_EQ(csv.readRecord(), 2);
    csv.close();
    CMyCSV comma;
    ASSERT_EQ(comma.open(home.write("c.csv", "\"a\tb\",c\r\n"), 0, true), 0);
    EXPECT_EQ(comma.detectSeparator(), 0);   // a TAB inside quotes decides for TAB
    CMyCSV none;
    ASSERT_EQ(none.open(home.write("n.csv", "abc\r\n"), 0, true), 0);
    EXPECT_EQ(none.detectSeparator(), 1);
    // The first of the two outside quotes decides, even in a TAB file whose first cell holds an
    // unquoted comma; double-byte characters are stepped over whole.
    CMyCSV first;
    ASSERT_EQ(first.open(home.write("f.txt", "a,b\tc\r\n"), 0, true), 0);
    EXPECT_EQ(first.detectSeparator(), 1);
    EXPECT_EQ(first.separatorInUse(), ',');
    CMyCSV skipped;
    ASSERT_EQ(skipped.open(home.write("k.txt", sj("表") + "\tb,c\r\n"), 0, true), 0);
    EXPECT_EQ(skipped.detectSeparator(), 0);
    EXPECT_EQ(skipped.readRecord(), 2);   // read from the first data byte again

    // A first cell longer than the first piece: the scan reads on instead of choosing comma.
    const std::string longCell(3000, 'x');
    CMyCSV far;
    ASSERT_EQ(far.open(home.write("far.txt", longCell + "\ty\r\n"), 0, true), 0);
    EXPECT_EQ(far.detectSeparator(), 0);
    EXPECT_EQ(far.readRecord(), 2);
    CMyCSV farQuoted;
    ASSERT_EQ(farQuoted.open(home.write("fq.txt", "\"" + longCell + ",\"\"\"\ty\r\n"), 0, true), 0);
    EXPECT_EQ(farQuoted.detectSeparator(), 0);
    // A *.tsv name: a TAB anywhere in the first record outside quotes decides for TAB.
    CMyCSV tsv;
    ASSERT_EQ(tsv.open(home.write("t.tsv", sj("東京, 大阪") + "\tb\r\n"), 0, true), 0);
    EXPECT_EQ(tsv.detectSeparator(true), 0);
    EXPECT_EQ(tsv.readRecord(), 2);
    EXPECT_EQ(std::string(tsv.field(0)), sj("東京, 大阪"));
    CMyCSV tsvComma;
    ASSERT_EQ(tsvComma.open(home.write("c.tsv", "a,b\r\nc\td\r\n"), 0, true), 0);
    EXPECT_EQ(tsvComma.detectSeparator(true), 1);   // no TAB in the first record
    CMyCSV tsvQuoted;
    ASSERT_EQ(tsvQuoted.open(home.write("q.tsv", "a,\"b\tc\"\r\n"), 0, true), 0);
    EXPECT_EQ(tsvQuoted.detectSeparator(true), 1);   // the TAB is inside quotes

    CMyCSV lf;
    readAll(home.write("lf.csv", "a\nb\nc\n"), ',', true, true, 0, true, nullptr, &lf);
    EXPECT_EQ(lf.lineEndingKind(), 2);
    CMyCSV mixed;
    readAll(home.write("m.csv", "a\nb\r\nc\n"), ',', true, true, 0, true, nullptr, &mixed);
    EXPECT_EQ(mixed.lineEndingKind(), 0);
    CMyCSV cr;
    readAll(home.write("cr.csv", "a\rb\rc\n"), ',', true, true, 0, true, nullptr, &cr);
    EXPECT_EQ(cr.lineEndingKind(), 1);
    CMyCSV tie;
    readAll(home.write("t.csv", "a\rb\n"), ',', true, true, 0, true, nullptr, &tie);
    EXPECT_EQ(tie.lineEndingKind(), 2);
    CMyCSV empty;
    readAll(home.write("e.csv", "abc"), ',', true, true, 0, true, nullptr, &empty);
    EXPECT_EQ(empty.lineEndingKind(), 0);
}

// Only record ends count: not a break inside quotes, nor the end after a closing quote of the
// TAB parser. The first break of a broken quoted field ends its record and counts.
TEST(CMyCSVSeparator, LineEndsInsideQuotesAreNotCounted) {
    TempHome home;
    CMyCSV general;
    readAll(home.write("g.csv", "\"a\r\nb\"\nc\n"), ',', true, true, 0, true, nullptr, &general);
    EXPECT_EQ(general.crlfCount, 0);
    EXPECT_EQ(general.lfCount, 2);
    EXPECT_EQ(general.lineEndingKind(), 2);
    CMyCSV tab;
    Table t = readAll(home.write("t.txt", "\"a\nb\"\r\nc\n"), '\t', false, true, 0, true, nullptr,
                      &tab);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(tab.crlfCount, 0);
    EXPECT_EQ(tab.lineEndingKind(), 2);
    CMyCSV broken;
    t = readAll(home.write("b.txt", "\"a\r\nb\n"), '\t', false, true, 0, true, nullptr, &broken);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(broken.crlfCount, 1);
    EXPECT_EQ(broken.lfCount, 1);
    EXPECT_EQ(broken.lineEndingKind(), 0);
}

TEST(CMyCSVOpen, Failures) {
    TempHome home;
    CMyCSV csv;
    EXPECT_EQ(csv.open(home.file("none.csv"), 0, true), 1);
    EXPECT_EQ(csv.message, "ファイルが見つかりません。");
    CMyCSV differs;
    EXPECT_EQ(differs.open(home.write("u.csv", "\xEF\xBB\xBF" "a"), 0, false), 1);
    EXPECT_EQ(differs.message, "文字コードが異なります。");
    CMyCSV folder;
    EXPECT_EQ(folder.open(home.path(), 0, true), 1);
    EXPECT_EQ(folder.message, "読込できないファイルです。");

    ScriptedPrompt prompt;
    prompt.answer(PromptAnswer::Ok);
    MemoryHook::failAfter(1);
    CMyCSV noMemory;
    EXPECT_EQ(noMemory.open(home.write("a.csv", "a"), 0, true), 5);
    MemoryHook::failAfter(0);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "メモリが足りません。(-070407)");
    EXPECT_EQ(prompt.last().caption, "注意");
}

TEST(CMyCSVOpen, FieldBufferGrowthFailureStopsTheRecord) {
    TempHome home;
    CMyCSV csv;
    ASSERT_EQ(csv.open(home.write("g.csv", std::string(4000, 'a') + "\r\n"), 0, true), 0);
    csv.setSeparator(',');
    MemoryHook::failAfter(1);
    int rc = csv.readRecord();
    MemoryHook::failAfter(0);
    EXPECT_EQ(rc, CMyCSV::QuotedTooLongOrNoMemory);
    EXPECT_EQ(csv.message, "メモリが足りません。(-070407)");
}

// ---- the same table in every encoding, line ending and quote mode -----------------------

namespace {

Table sampleTable(bool withBreaks) {
    Table t = {
        {sj("名前"), sj("金額"), "date", sj("備考")},
        {sj("表計算ｱｲｳ"), "1,234", "2024/01/02", withBreaks ? sj("一行目\r\n二行目") : sj("一行")},
        {"a\"b", "", "x", sj("ソ\"能\"")},
        {"", "", "", "z"},
    };
    return t;
}

} // namespace

TEST(CMyCSVMatrix, SameCellsInEveryEncodingLineEndAndQuoteMode) {
    TempHome home;
    const std::string lineEnds[] = {"\r\n", "\r", "\n"};
    struct Mode { char separator; int quoteMode; bool strict; bool breaks; };
    const Mode modes[] = {
        {',', 0, true, true}, {',', 1, true, true}, {'\t', 0, true, true}, {'\t', 1, true, true},
        {'\t', 2, false, true}, {'\t', 3, true, false},
    };
    int fileNo = 0;
    for (const Mode& mode : modes) {
        Table table = sampleTable(mode.breaks);
        for (int e = 0; e < 3; ++e) {
            std::string text = formatTable(table, mode.separator, mode.quoteMode, lineEnds[e]);
            for (int encoding : {0, 15, 10, 11}) {
                for (bool bom : {false, true}) {
                    if (encoding == 0 && bom) continue;
                    if (encoding == 11 && !bom) continue;
                    std::string path = home.write("m" + std::to_string(fileNo++),
                                                  encodeAs(text, encoding, bom));
                    CMyCSV csv;
                    Table got = readAll(path, 0, mode.strict, mode.quoteMode != 3, 0, true,
                                        nullptr, &csv);
                    EXPECT_EQ(got, table) << "sep " << int(mode.separator) << " quote "
                                          << mode.quoteMode << " end " << e << " enc "
                                          << encoding << " bom " << bom;
                    EXPECT_EQ(csv.detectedEncoding, encoding);
                    EXPECT_EQ(csv.lineEndingKind(), e);
                    EXPECT_EQ(csv.separatorInUse(), mode.separator);
                }
            }
        }
    }
}

// ---- cuts at every position around byte 1018 -------------------------------------------

namespace {

// Each tail puts a character, doubled quote, line break or closing quote across the cut.
const Table CutTails[] = {
    {{"q\"\"\"x", sj("表"), "\"in\"\"q\""}, {"n"}},
    {{sj("一\r\n二"), "b"}, {"c"}},
};

void expectSameCellsAfterPad(const TempHome& home, int pad, const Table& tail, char sep,
                             int encoding) {
    Table table = {{std::string(pad, 'p')}};
    table.insert(table.end(), tail.begin(), tail.end());
    int quoteMode = sep == ',' ? 0 : 2;
    std::string text = formatTable(table, sep, quoteMode, "\r\n");
    std::string path = home.write("cut.txt", encodeAs(text, encoding, encoding != 0));
    Table got = readAll(path, sep, sep == ',', true, 0, true);
    ASSERT_EQ(got, table) << "pad " << pad << " sep " << int(sep) << " enc " << encoding;
}

} // namespace

// Every combination close around the first cut, where each byte of the tails meets it.
TEST(CMyCSVCuts, EveryCutPositionReadsTheSameCells) {
    TempHome home;
    for (const Table& tail : CutTails)
        for (int pad = 995; pad <= 1030; ++pad)
            for (char sep : {',', '\t'})
                for (int encoding : {0, 15, 10})
                    expectSameCellsAfterPad(home, pad, tail, sep, encoding);
}

// Across a whole chunk's width, one combination per position in turn.
TEST(CMyCSVCuts, ChunkWideRegionReadsTheSameCells) {
    TempHome home;
    const char seps[] = {',', '\t'};
    const int encodings[] = {0, 15, 10};
    for (int pad = 500; pad < 1524; pad += 2) {
        int k = (pad / 2) % 12;
        expectSameCellsAfterPad(home, pad, CutTails[k % 2], seps[(k / 2) % 2], encodings[k / 4]);
    }
}
