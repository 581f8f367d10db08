// The parallel reader against record-by-record reading of the same file: random files cut
// into many small blocks and pieces, the reader corpus, and the open flow's fallback.
#include "ReaderFixtures.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/RecordScan.h"
#include "support/ReaderComparison.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using ReaderComparison::Settings;

// Pieces that stress the joins: quotes single and doubled, both separators, every line end,
// a character whose second byte looks like a lead byte, lone lead bytes, controls.
std::string randomText(std::mt19937& rng, int pieces) {
    static const char* const parts[] = {
        "a", "bc", ",", ",", "\t", "\"", "\"\"", "\r\n", "\n", "\r", "\x93\x8C", "\x88\xF0",
        "\x82", "\x01", "", "\xF0\x40", "xyz", "\"q\"", " "};
    std::string text;
    for (int i = 0; i < pieces; ++i) {
        const char* part = parts[rng() % std::size(parts)];
        text += *part ? std::string(part) : std::string(1, '\0');
    }
    return text;
}

const Settings settingsToTry[] = {
    {0, false, ',', true, true},  {0, false, ',', false, true}, {0, false, ',', true, false},
    {0, false, '\t', true, true}, {0, false, '\t', false, true}, {0, false, '\t', false, false},
};

const ParallelReader::Shape shapesToTry[] = {{2, 2, 0}, {7, 3, 0}, {61, 5, 0}};

void expectSameReading(const std::string& path, const Settings& settings) {
    const auto reference = ReaderComparison::byRecord(path, settings);
    for (const auto& shape : shapesToTry) {
        const auto parallel = ReaderComparison::inParallel(path, settings, shape);
        ASSERT_EQ(ReaderComparison::difference(reference, parallel), "")
            << "block " << shape.blockBytes << " pieces " << shape.pieces;
    }
}

} // namespace

TEST(RecordScan, CountsQuotesAndFindsBreaksOutsideThem) {
    std::string text(100, 'x');
    text[0] = text[31] = text[32] = text[63] = text[99] = '"';
    EXPECT_EQ(RecordScan::countQuotes(text.data(), text.size()), 5u);
    EXPECT_EQ(RecordScan::countQuotes(text.data() + 1, 31), 1u);
    const std::string rows = "a\"b\nc\"\r\nd\re";
    EXPECT_EQ(RecordScan::nextRecordStart(rows.data(), rows.size(), 0, 0, true), 8u);
    EXPECT_EQ(RecordScan::nextRecordStart(rows.data(), rows.size(), 0, 0, false), 4u);
    EXPECT_EQ(RecordScan::nextRecordStart(rows.data(), rows.size(), 4, 1, true), 8u);
    EXPECT_EQ(RecordScan::nextRecordStart(rows.data(), rows.size(), 8, 2, true), 10u);
    EXPECT_EQ(RecordScan::nextRecordStart(rows.data(), 9, 8, 2, true), 9u);   // CR last: no break
}

TEST(ParallelReader, RandomFilesReadAsRecordByRecord) {
    TempHome home;
    std::mt19937 rng(29);
    for (int round = 0; round < 80; ++round) {
        const std::string bytes = randomText(rng, 1 + static_cast<int>(rng() % 60));
        const std::string path = home.write("random.csv", bytes);
        SCOPED_TRACE("round " + std::to_string(round));
        for (const Settings& settings : settingsToTry) expectSameReading(path, settings);
    }
}

TEST(ParallelReader, LongFieldsAndRecordsLongerThanABlock) {
    TempHome home;
    // A field past the 5,000-byte limit two blocks in, a quoted field with breaks longer
    // than a block, and a TAB file whose quoted field breaks and is read again.
    const std::string longCell(5001, 'z');
    const std::string quotedLines = "\"" + std::string(300, 'q') + "\r\n" + std::string(300, 'r') + "\"";
    const std::string files[] = {
        "a,b\r\n" + std::string(200, 'c') + "\r\n" + longCell + "\r\nend\r\n",
        "1," + quotedLines + ",2\r\n3,4\r\n" + quotedLines + "\r\n",
        "\"a\tb\r\nc\"\td\r\n\"e\r\nf\tg\r\nh\ti\r\n",
    };
    for (const std::string& bytes : files) {
        const std::string path = home.write("long.csv", bytes);
        for (const Settings& settings : settingsToTry) expectSameReading(path, settings);
    }
}

TEST(ParallelReader, EncodedFilesReadAsRecordByRecord) {
    TempHome home;
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::string cp932 = randomText(rng, 40);
        for (char& c : cp932)
            if (static_cast<unsigned char>(c) >= 0x80) c = 'k';   // text UTF-16 can carry back
        const int encoding = round % 2 == 0 ? 15 : 10;
        const std::string path = home.write("encoded.csv", encodeAs(cp932 + "\xE6\x9D\xB1", encoding, true));
        expectSameReading(path, {encoding, false, ',', true, true});
    }
}

TEST(ParallelReader, ReaderCorpusReadsAsRecordByRecord) {
    TempHome home;
    int files = 0;
    for (const auto& file : corpusFiles()) {
        const std::string bytes = bytesOf(file);
        if (bytes.empty()) continue;
        ++files;
        const std::string path = home.write("corpus.csv", bytes.substr(1));
        SCOPED_TRACE(file.filename().string());
        for (const Settings& settings : settingsToTry) expectSameReading(path, settings);
        expectSameReading(path, {0, true, 0, true, true});
    }
    EXPECT_GT(files, 10);
}

// The open flow reads a file past the size threshold in parallel; a record in error far into
// the file makes it read again record by record, with the same rows and message as always.
TEST(ParallelReader, OpenFlowStoresTheSameTableAndFallsBackOnAnError) {
    TempHome home;
    std::string good;
    for (int i = 0; i < 400; ++i)
        good += std::to_string(i) + ",\"two\r\nlines\",\"q\"\"\"\r\n" + "x\ty,\r\n";
    const std::string bad = good + std::string(5001, 'w') + "\r\nafter\r\n";
    auto open = [&](const std::string& bytes, bool parallel, std::vector<std::string>& shown) {
        ParallelReader::setDefaultShape(parallel ? ParallelReader::Shape{97, 3, 0}
                                                 : ParallelReader::Shape{1u << 20, 1, 1u << 30});
        ScriptedPrompt prompt;
        prompt.allowUnscripted();
        CMyGlobal global;
        global.setColourFileMode(0);
        CMyHyo hyo;
        DocumentState doc;
        OpenFlowWindow window;
        window.editorLineHeight = [] { return 12; };
        window.scrollBarHeight = [] { return 100; };
        OpenFlow flow(hyo, global, doc, window);
        flow.openFile(home.write("table.csv", bytes), false, "", TypeComma);
        std::string table;
        for (int row = 0; row < hyo.storeRowCount(); ++row)
            table += std::to_string(hyo.rowHeight(row)) + ":" + hyo.rowString(row) + "\n";
        shown = prompt.texts();
        table += "read error " + std::to_string(doc.readError) + " line end " +
                 std::to_string(doc.lineEnding) + " widest " + std::to_string(hyo.widestRowCount());
        ParallelReader::setDefaultShape({});
        return table;
    };
    const std::string* inputs[] = {&good, &bad};
    for (const std::string* bytes : inputs) {
        std::vector<std::string> serialShown, parallelShown;
        const std::string serial = open(*bytes, false, serialShown);
        EXPECT_EQ(open(*bytes, true, parallelShown), serial);
        EXPECT_EQ(parallelShown, serialShown);
    }
}
