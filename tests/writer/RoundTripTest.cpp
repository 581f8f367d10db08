// Save and read back: every encoding, line ending and quote mode keeps cells and colours; a
// file already in its mode's canonical form is written back byte for byte.
#include <gtest/gtest.h>

#include <random>

#include "WriterTestSupport.h"
#include "platform/core/CodePage.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/ColourOpenSteps.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

struct Format {
    int encoding;
    int lineEnding;
    bool bom;
    char separator;
    int quoteKind;
    bool lineBreakOnly;
};

std::string describe(const Format& f) {
    return "enc " + std::to_string(f.encoding) + " le " + std::to_string(f.lineEnding) + " bom " +
           std::to_string(f.bom) + " sep " + (f.separator == ',' ? "comma" : "tab") + " dbl " +
           std::to_string(f.quoteKind) + " retonly " + std::to_string(f.lineBreakOnly);
}

// Cells with the characters that make quoting interesting; no TABs (the store has none).
std::vector<std::string> generateRows(unsigned seed, bool lineBreaks) {
    static const std::vector<std::string> pieces = {
        "abc", "123", "-4.5", ",", "\"", "\"\"", " ", "x,y", "say \"hi\"",
        CodePage::toCp932("日本語"), CodePage::toCp932("表計算"), CodePage::toCp932("ｶﾀｶﾅ"),
        CodePage::toCp932("ソース"), "\\", "'", "#", "a\"b"};
    std::mt19937 random(seed);
    std::vector<std::string> rows;
    for (int r = 0; r < 40; ++r) {
        const int cells = static_cast<int>(random() % 7);  // ragged, some rows empty
        std::string row;
        for (int c = 0; c < cells; ++c) {
            if (c > 0) row += '|';
            const int parts = static_cast<int>(random() % 4);  // 0: an empty cell
            for (int p = 0; p < parts; ++p) {
                row += pieces[random() % pieces.size()];
                if (lineBreaks && random() % 9 == 0) row += "\r\n";
            }
        }
        rows.push_back(row);
    }
    return rows;
}

class RoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(1);
        global.setReadEncoding(-1);
        global.setStartBom(false);  // a Shift-JIS document takes this as its mark setting
        prompt.allowUnscripted(false);
    }
    void useFormat(const Format& f) {
        global.setQuoteKind(f.quoteKind);
        global.setFileQuoteLineBreakOnly(f.lineBreakOnly);
        doc = DocumentState();
        doc.encoding = f.encoding;
        doc.lineEnding = f.lineEnding;
        doc.withBom = f.bom;
        doc.separator = f.separator;
        doc.colourMode = 1;
    }
    void decorate(CMyHyo& table) {
        table.setColumnWidth(1, 123);
        table.setColumnTitle(2, "T");
        table.setCellAttribute(0, 1, AttrBackColour, 9, 1, 1);
        table.setCellAttribute(2, 3, AttrTextColour, 0, 1, 1);
        table.setCellAttribute(1, 5, AttrMarker, 0, 1, 1);
        table.setRowAttribute(4, AttrBackColour, 12, 1);
        table.setRowHeight(7, 48);
    }
    bool save(const std::string& name) {
        doc.filePath = home.file(name);
        SaveFlow flow(hyo, global, doc);
        return flow.saveDocument(false);
    }
    int open(const std::string& name) {
        hyo.reset();
        OpenFlow flow(hyo, global, doc, {}, ColourOpenSteps::hooks());
        return flow.openFile(home.file(name), false, "", TypeNone);
    }
    void expectSameTable(const CMyHyo& expectedTable, const std::string& context) {
        CMyHyo& expected = const_cast<CMyHyo&>(expectedTable);
        ASSERT_EQ(hyo.storeRowCount(), expected.storeRowCount()) << context;
        const int columns = std::max(expected.widestRowCount(), 1);
        for (int r = 0; r < expected.storeRowCount(); ++r) {
            for (int c = 0; c < columns; ++c) {
                ASSERT_EQ(hyo.cellString(c, r), expected.cellString(c, r)) << context << " r" << r << " c" << c;
                for (int kind : {AttrTextColour, AttrBackColour, AttrMarker})
                    ASSERT_EQ(hyo.cellAttribute(c, r, kind), expected.cellAttribute(c, r, kind)) << context;
            }
            ASSERT_EQ(hyo.rowHeight(r), expected.rowHeight(r)) << context << " r" << r;
            ASSERT_EQ(hyo.rowAttribute(r, AttrBackColour), expected.rowAttribute(r, AttrBackColour)) << context;
        }
        EXPECT_EQ(hyo.columnWidth(1), 123) << context;
        EXPECT_EQ(hyo.columnTitle(2), "T") << context;
    }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

std::vector<Format> formats() {
    std::vector<Format> all;
    for (int encoding : {0, 15, 10})
        for (int lineEnding : {0, 1, 2})
            for (char separator : {',', '\t'})
                for (int quote : {0, 1, 2, 3})
                    for (bool lineBreakOnly : {false, true}) {
                        all.push_back({encoding, lineEnding, encoding != 0 && lineEnding != 1,
                                       separator, quote, lineBreakOnly});
                    }
    return all;
}

} // namespace

TEST_F(RoundTripTest, SavedTablesReadBackUnchanged) {
    unsigned seed = 1;
    for (const Format& f : formats()) {
        const std::string context = describe(f);
        useFormat(f);
        std::vector<std::string> rows = generateRows(seed++, f.quoteKind != 3);
        // The separator of a file opened without a type is guessed from its first line, where
        // a comma before the first TAB means a comma file; the first line here is plain.
        rows.front() = "id|name|note";
        CMyHyo original;
        fillTable(original, rows);
        decorate(original);
        fillTable(hyo, rows);
        decorate(hyo);
        const std::string name = std::string("rt") + (f.separator == ',' ? ".csv" : ".txt");
        ASSERT_TRUE(save(name)) << context;
        const std::string written = fileBytes(home.file(name));
        ASSERT_EQ(open(name), 0) << context;
        EXPECT_EQ(doc.encoding, f.encoding) << context;
        EXPECT_EQ(doc.lineEnding, f.lineEnding) << context;
        EXPECT_EQ(doc.separator, f.separator) << context;
        expectSameTable(original, context);

        // Saved again without edits, both files come out byte for byte the same.
        const std::string colours = fileBytes(home.file("rt.vxc"));
        ASSERT_TRUE(save(name)) << context;
        EXPECT_EQ(fileBytes(home.file(name)), written) << context;
        EXPECT_EQ(fileBytes(home.file("rt.vxc")), colours) << context;
        EXPECT_TRUE(prompt.shown().empty()) << context << ": " << prompt.last().text;
    }
}

TEST_F(RoundTripTest, CanonicalFilesAreWrittenBackIdentically) {
    const std::string kanji = CodePage::toCp932("日本");
    struct Sample {
        const char* name;
        int quoteKind;
        bool lineBreakOnly;
        std::string bytes;
    };
    const std::vector<Sample> samples = {
        {"a.csv", 0, false, "id,name,note\r\n1,\"a,b\",\"say \"\"hi\"\"\"\r\n2,," + kanji + "\r\n3,\"x\r\ny\",\r\n"},
        {"b.csv", 1, false, "\"id\",\"name\"\r\n\"1\",\"\"\r\n\"\"\"\",\"" + kanji + "\"\r\n"},
        {"c.txt", 0, true, "a\"b\tc,d\r\n\"line\r\nbreak\"\t" + kanji + "\r\n\t\r\n"},
        {"d.txt", 0, false, "\"a\"\"b\"\tc,d\r\n\"line\r\nbreak\"\tx\r\n"},
        {"e.txt", 3, false, "a\"b\t\"q\"\r\n,\tx\r\n"},
    };
    for (const Sample& s : samples) {
        global.setQuoteKind(s.quoteKind);
        global.setFileQuoteLineBreakOnly(s.lineBreakOnly);
        home.write(s.name, s.bytes);
        ASSERT_EQ(open(s.name), 0) << s.name;
        ASSERT_TRUE(save(s.name)) << s.name;
        EXPECT_EQ(fileBytes(home.file(s.name)), s.bytes) << s.name;
    }
}

TEST_F(RoundTripTest, TabFileSwitchedToLineBreakOnlyQuotingKeepsItsCellsUnderFullQuoting) {
    // A TAB inside quotes makes the open switch to quoting for line breaks only, while the
    // quote setting still says "all"; saving and opening again must not add quotes.
    global.setColourFileMode(0);
    global.setQuoteKind(1);
    global.setFileQuoteLineBreakOnly(false);
    const std::string bytes = "\"a\tb\"\tc\r\n\"x\"\td\t\r\n\"m\r\nn\"\te\t\r\n";
    home.write("q.txt", bytes);
    prompt.answer(PromptAnswer::Ok);
    ASSERT_EQ(open("q.txt"), 0);
    ASSERT_TRUE(global.fileQuoteLineBreakOnly());
    const std::vector<std::string> cells = {"\"a", "b\"", "c", "\"x\"", "d", "", "m\r\nn", "e", ""};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(hyo.cellString(c, r), cells[r * 3 + c]) << r << " " << c;

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(save("q.txt"));
        EXPECT_EQ(fileBytes(home.file("q.txt")), bytes) << round;
        ASSERT_EQ(open("q.txt"), 0);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) EXPECT_EQ(hyo.cellString(c, r), cells[r * 3 + c]) << round;
    }
    EXPECT_EQ(prompt.shown().size(), 1u);
}

TEST_F(RoundTripTest, BigEndianUtf16IsSavedBigEndian) {
    // "a,日" CR LF "b,c" CR LF in UTF-16 big-endian with its mark.
    const std::string be = std::string("\xFE\xFF\x00" "a\x00,\x65\xE5\x00\r\x00\n\x00" "b\x00,\x00" "c\x00\r\x00\n", 22);
    global.setColourFileMode(0);
    home.write("be.csv", be);
    ASSERT_EQ(open("be.csv"), 0);
    ASSERT_EQ(doc.encoding, EncUtf16Be);
    EXPECT_EQ(hyo.cellString(1, 0), CodePage::toCp932("日"));
    ASSERT_TRUE(save("be.csv"));
    EXPECT_EQ(fileBytes(home.file("be.csv")), be);
}
