// Saving "as read" (DBLKIND 4): an untouched file comes back byte for byte; edited, pasted and
// new cells follow their column; columns of mixed form follow the ordinary rule.
#include <gtest/gtest.h>

#include "WriterTestSupport.h"
#include "bench/PostalTable.h"
#include "engine/PasteOperation.h"
#include "engine/SelectionRange.h"
#include "platform/core/CodePage.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

class AsReadQuotingTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        global.setReadEncoding(-1);
        global.setQuoteKind(4);
        global.setFileQuoteLineBreakOnly(false);
        prompt.allowUnscripted(false);
    }
    int open(const std::string& name) {
        doc = DocumentState();
        OpenFlow flow(hyo, global, doc);
        return flow.openFile(home.file(name), false, "", TypeNone);
    }
    std::string save(const std::string& name) {
        doc.filePath = home.file(name);
        SaveFlow flow(hyo, global, doc);
        EXPECT_TRUE(flow.saveDocument(false)) << name;
        return fileBytes(home.file(name));
    }
    // Opens the bytes and saves them straight back.
    std::string roundTrip(const std::string& name, const std::string& bytes) {
        home.write(name, bytes);
        EXPECT_EQ(open(name), 0) << name;
        return save(name);
    }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

} // namespace

TEST_F(AsReadQuotingTest, CommonFormsSaveBackByteForByte) {
    const std::string tokyo = CodePage::toCp932("東京都");
    const std::string shinjuku = CodePage::toCp932("新宿区");
    const std::vector<std::pair<std::string, std::string>> files = {
        // every field enclosed, numbers and empties too
        {"all.csv", "\"13104\",\"1600022\",\"" + tokyo + "\",\"" + shinjuku + "\",\"\"\r\n"
                    "\"13105\",\"1120001\",\"" + tokyo + "\",\"\",\"\"\r\n"},
        // text enclosed, numbers and empties bare, a quote and a comma inside
        {"text.csv", "13104,1600022,\"" + tokyo + "\",\"say \"\"hi\"\"\",\r\n"
                     "13105,1120001,\"a,b\",\"" + shinjuku + "\",\r\n"},
        // empties enclosed in a column of bare text
        {"empty.csv", "a,\"\",1\r\nb,\"\",2\r\n,\"\",3\r\n"},
        // no line break after the last line, LF ends and a line break inside a cell
        {"open.csv", "\"x\",1\n\"y\ny\",2\n\"z\",3"},
        {"open2.csv", "a,b\r\nc,"},
        // a TAB file with enclosed cells
        {"tab.txt", "\"" + tokyo + "\"\t13104\t\"\"\r\n\"a\"\"b\"\t13105\t\"\"\r\n"},
    };
    for (const auto& [name, bytes] : files) EXPECT_EQ(roundTrip(name, bytes), bytes) << name;
    // The enclosing quotes are not part of the cells.
    EXPECT_EQ(hyo.cellString(0, 1), "a\"b");

    // Read by the TAB parser (line breaks only), the quotes stay in the cells and come back.
    global.setFileQuoteLineBreakOnly(true);
    const std::string tab = "\"a\"\t1\t\"\"\r\n\"m\r\nn\"\t2\t\"\"";
    EXPECT_EQ(roundTrip("tab2.txt", tab), tab);
    EXPECT_EQ(hyo.cellString(0, 0), "\"a\"");
}

TEST_F(AsReadQuotingTest, EditedPastedAndNewCellsFollowTheirColumn) {
    home.write("e.csv", "\"a\",1,\"\"\r\n\"b\",2,\"\"\r\n");
    ASSERT_EQ(open("e.csv"), 0);
    hyo.setCell(0, 0, "edited");
    hyo.setCell(1, 1, "");              // column 1 had no empty cell: bare as its numbers
    hyo.setCell(2, 1, "x");             // column 2 had only "": a value goes in quotes too
    hyo.setCell(0, 2, "new");           // a new row
    PasteOptions options;
    options.warnLineBreaks = false;
    SelectionRange at;
    at.top = at.bottom = 3;
    ASSERT_EQ(PasteOperation::paste(hyo, at, "p\t7\tq,r\r\n", options), PasteOutcome::Pasted);
    EXPECT_EQ(save("e.csv"), "\"edited\",1,\"\"\r\n\"b\",,\"x\"\r\n\"new\",,\"\"\r\n\"p\",7,\"q,r\"\r\n");

    // A column inserted before column 1 knows nothing: the rule of "なし"; the others move.
    hyo.insertColumns(1, 1);
    hyo.setCell(1, 0, "c,d");
    hyo.setCell(1, 1, "plain");
    EXPECT_EQ(save("e.csv"),
              "\"edited\",\"c,d\",1,\"\"\r\n\"b\",plain,,\"x\"\r\n\"new\",,,\"\"\r\n\"p\",,7,\"q,r\"\r\n");
    hyo.deleteColumns(0, 1);
    EXPECT_EQ(save("e.csv"), "1,\"\"\r\n,\"x\"\r\n,\"\"\r\n7,\"q,r\"\r\n");
}

TEST_F(AsReadQuotingTest, MixedColumnsAndOtherChoicesFollowTheirRule) {
    // Column 0 mixes enclosed and bare text, column 1 enclosed and bare empties.
    const std::string mixed = "\"a\",x,\r\nb,\"\",\"y,z\"\r\n\"c\",\"d\"e,1\r\n,,";
    EXPECT_EQ(roundTrip("m.csv", mixed), "a,x,\r\nb,,\"y,z\"\r\nc,de,1\r\n,,");
    // A table typed from scratch has no form to keep.
    hyo.reset();
    fillTable(hyo, {"a|1", "b,c|"});
    doc = DocumentState();
    EXPECT_EQ(save("new.csv"), "a,1\r\n\"b,c\",\r\n");

    // The other choices write by their rule, with a final line break, as before.
    const std::string all = "\"a\",\"1\"\r\n\"b\",\"\"";
    home.write("o.csv", all);
    ASSERT_EQ(open("o.csv"), 0);
    global.setQuoteKind(0);
    EXPECT_EQ(save("o.csv"), "a,1\r\nb,\r\n");
}

TEST_F(AsReadQuotingTest, PostalCodeTableSavesBackIdenticallyInCp932AndUtf8) {
    // The full 120,000 rows run in bench/postal_roundtrip; here enough rows to cross the
    // reader's and the writer's buffers many times.
    const std::string cp932 = PostalTable::generate(20000);
    ASSERT_EQ(roundTrip("KEN_ALL.CSV", cp932), cp932);
    ASSERT_FALSE(hyo.cellString(6, 0).empty());
    EXPECT_NE(hyo.cellString(6, 0).front(), '"');   // the quotes are not cell text
    const std::string utf8 = CodePage::toUtf8(cp932);
    ASSERT_EQ(roundTrip("utf8.csv", utf8), utf8);
    EXPECT_EQ(doc.encoding, EncUtf8);
}
