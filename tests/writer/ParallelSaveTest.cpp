// A save whose rows are formatted on several threads writes the same data and colour files as
// one written row by row, whatever the pieces; stopped or short of memory, it leaves the old
// file and no temporary file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "SaveFlowFixture.h"
#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"
#include "store/ParallelWriter.h"
#include "support/CancellingSink.h"

namespace fs = std::filesystem;

namespace {

// Cells with quotes, separators, line breaks, colour records (cell 0x01-0x05 records and a
// row's 0x07 records) and lead bytes; ragged rows, some empty, some wider than the widest.
std::vector<std::string> randomRows(std::mt19937& random, int count) {
    static const std::vector<std::string> pieces = {
        "abc", "12", "-4.5", ",", "\"", "x,y", "a\"b", " ", "\r\n", "\n", "\r",
        CodePage::toCp932("日本語"), CodePage::toCp932("ｶﾀｶﾅ"), CodePage::toCp932("ソース"),
        "\x02\x04\x01", "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c"};
    std::vector<std::string> rows;
    for (int r = 0; r < count; ++r) {
        std::string row = random() % 7 == 0 ? "\x07\x02\x05\x03" : "";
        const int cells = static_cast<int>(random() % 9);
        for (int c = 0; c < cells; ++c) {
            if (c > 0) row += '|';
            for (int p = static_cast<int>(random() % 4); p > 0; --p) row += pieces[random() % pieces.size()];
        }
        rows.push_back(row);
    }
    return rows;
}

class ParallelSaveTest : public SaveFlowTest {
protected:
    void SetUp() override {
        SaveFlowTest::SetUp();
        global.setColourFileMode(1);
        doc.filePath = home.file("t.csv");
        doc.modified = true;
    }
    void TearDown() override { ParallelWriter::setDefaultShape(ParallelWriter::Shape{}); }
    static void rowByRow() {
        ParallelWriter::Shape shape;
        shape.smallestTable = SIZE_MAX;
        ParallelWriter::setDefaultShape(shape);
    }
    static void inPieces(int threads, std::size_t pieceBytes) {
        ParallelWriter::setDefaultShape(ParallelWriter::Shape{threads, pieceBytes, 0});
    }
    // The old file as another program left it (the save is not asked about it).
    void putOld(const std::string& bytes) {
        std::ofstream(home.file("t.csv"), std::ios::binary) << bytes;
        doc.diskSize = -1;
        doc.modified = true;
    }
    std::string dataBytes() const { return fileBytes(home.file("t.csv")); }
    std::string colourBytes() const { return fileBytes(home.file("t.vxc")); }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(home.path()))
            if (entry.path().filename() != "vexil_hist.lst") names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

TEST_F(ParallelSaveTest, PiecesWriteWhatRowByRowWrites) {
    std::mt19937 random(29);
    for (int round = 0; round < 48; ++round) {
        fillTable(hyo, randomRows(random, 1 + static_cast<int>(random() % 120)));
        if (round % 5 == 0) hyo.setWidestRow(2);
        hyo.setHeaderMode(round % 6 == 1);
        global.setQuoteKind(std::vector<int>{0, 1, 2, 4}[random() % 4]);  // 3 refuses line breaks
        global.setFileQuoteLineBreakOnly(random() % 2 == 0);
        hyo.columnQuoting().reset();
        for (int c = 0; c < 4; ++c) hyo.columnQuoting().note(c, random() % 2 == 0, random() % 2 == 0);
        doc.separator = random() % 2 ? ',' : '\t';
        doc.lineEnding = static_cast<int>(random() % 3);
        doc.encoding = std::vector<int>{0, 15, 10}[random() % 3];
        doc.endsWithoutLineBreak = random() % 3 == 0;
        const std::string what = "round " + std::to_string(round);

        rowByRow();
        ASSERT_TRUE(flow.saveDocument(false)) << what;
        const std::string data = dataBytes(), colour = colourBytes();
        inPieces(2 + round % 3, 1 + random() % 400);
        ASSERT_TRUE(flow.saveDocument(false)) << what;
        ASSERT_EQ(dataBytes(), data) << what;
        ASSERT_EQ(colourBytes(), colour) << what;
    }
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ParallelSaveTest, StoppedOrShortOfMemoryItLeavesTheOldFile) {
    std::mt19937 random(7);
    fillTable(hyo, randomRows(random, 3000));
    rowByRow();
    ASSERT_TRUE(flow.saveDocument(false));
    const std::string data = dataBytes(), colour = colourBytes();
    const std::string old = "old\r\n";
    inPieces(3, 200);

    for (int stopAt : {1, 2, 40}) {
        putOld(old);
        CancellingSink sink(stopAt);
        EXPECT_FALSE(flow.saveDocument(false)) << stopAt;
        EXPECT_EQ(sink.reports, stopAt);
        EXPECT_EQ(dataBytes(), old) << stopAt;
        EXPECT_EQ(colourBytes(), colour) << stopAt;
        EXPECT_EQ(files(), (std::vector<std::string>{"t.csv", "t.vxc"})) << stopAt;
        EXPECT_TRUE(doc.modified);
    }
    // Any allocation of the save may fail, those of the pieces' texts on their threads
    // included; whatever failed, the old file stays whole.
    inPieces(3, 2000);
    MemoryHook::resetCount();
    ASSERT_TRUE(flow.saveDocument(false));
    const long allocations = MemoryHook::count();
    prompt.allowUnscripted();
    int failures = 0;
    for (long n = 1; n <= allocations; ++n) {
        putOld(old);
        MemoryHook::failAfter(n);
        const bool saved = flow.saveDocument(false);
        MemoryHook::failAfter(0);
        ASSERT_EQ(dataBytes(), saved ? data : old) << n;
        ASSERT_EQ(files(), (std::vector<std::string>{"t.csv", "t.vxc"})) << n;
        failures += saved ? 0 : 1;
    }
    EXPECT_GT(failures, 10);
    EXPECT_EQ(prompt.texts().back(), "領域確保に失敗しました。");
}

// Lent codes become "?" in a Shift-JIS file: the pieces count them for the question.
TEST_F(ParallelSaveTest, LentCodesAreCountedAcrossThePieces) {
    GivenCodes::reset();
    std::string sushi;
    ASSERT_EQ(CodePage::utf8ToCp932("\xF0\x9F\x8D\xA3", sushi), 0);
    std::vector<std::string> rows(300, "a|b");
    for (int r : {0, 150, 151, 299}) rows[static_cast<size_t>(r)] = "x" + sushi + "|" + sushi;
    fillTable(hyo, rows);
    inPieces(3, 40);
    prompt.answer(PromptAnswer::No);
    EXPECT_FALSE(flow.saveDocument(false));
    EXPECT_EQ(prompt.last().text, "Shift-JISで保存できない文字が8文字あります。「?」に置き換えて保存しますか？");
    prompt.answer(PromptAnswer::Yes);
    ASSERT_TRUE(flow.saveDocument(false));
    const std::string bytes = dataBytes();
    EXPECT_EQ(bytes.substr(0, 14), "x?,?\r\na,b\r\na,b");
    EXPECT_EQ(bytes.size(), 296u * 5 + 4u * 6);
    GivenCodes::reset();
}
