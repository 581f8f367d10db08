// The colour-information file: layout, reading rules and messages.
#include "ColourFileFixture.h"

namespace fs = std::filesystem;

TEST_F(ColourFileTest, BesidePathReplacesEverythingFromTheFirstDot) {
    EXPECT_EQ(CMyColourFile::besidePath("/d/data.tab.csv"), "/d/data.vxc");
    EXPECT_EQ(CMyColourFile::besidePath("/d.x/plain"), "/d.x/plain.vxc");
}

// The format flags of the settings record: valid, no mark, LF, CR, UTF-8, UTF-16.
TEST_F(ColourFileTest, FormatFlagsSayMarkLineEndAndEncoding) {
    EXPECT_EQ(CMyColourFile::formatFlagsFor(true, 0, 0), 1);
    EXPECT_EQ(CMyColourFile::formatFlagsFor(false, 2, 15), 1 + 2 + 4 + 16);
    EXPECT_EQ(CMyColourFile::formatFlagsFor(true, 1, 10), 1 + 8 + 32);
    EXPECT_EQ(CMyColourFile::formatFlagsFor(true, 0, 11), 1 + 32);
}

TEST_F(ColourFileTest, TemporaryNamesHaveSeventeenCharacters) {
    const std::string first = CMyColourFile::makeTemporaryName(global);
    const std::string second = CMyColourFile::makeTemporaryName(global);
    ASSERT_EQ(first.size(), 17u);
    EXPECT_EQ(first.substr(14), "_01");
    EXPECT_EQ(second.substr(14), "_02");
    EXPECT_EQ(CMyColourFile::storePath(global, first),
              global.programPath("vxc_data/F" + first + ".vxc"));
    // The counter runs 01 .. 99, then 00.
    std::string name;
    for (int i = 3; i <= 100; ++i) {
        name = CMyColourFile::makeTemporaryName(global);
        if (i == 99) {
            EXPECT_EQ(name.substr(14), "_99");
        }
    }
    EXPECT_EQ(name.substr(14), "_00");
    EXPECT_EQ(CMyColourFile::makeTemporaryName(global).substr(14), "_01");
    EXPECT_TRUE(CMyColourFile::isTemporaryName(name));
    EXPECT_TRUE(CMyColourFile::isTemporaryName("20191231235959_99"));
    EXPECT_FALSE(CMyColourFile::isTemporaryName("x" + name.substr(1)));
    EXPECT_FALSE(CMyColourFile::isTemporaryName(name.substr(0, 16) + "x"));

    // The first fourteen characters are the local time, yyyymmddhhnnss.
    auto now = [] {
        const std::time_t t = std::time(nullptr);
        std::tm local {};
        localtime_r(&t, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
        return std::string(text);
    };
    const std::string before = now();
    const std::string stamp = CMyColourFile::makeTemporaryName(global).substr(0, 14);
    const std::string after = now();
    EXPECT_TRUE(stamp == before || stamp == after) << stamp;
}

TEST_F(ColourFileTest, SavedFileHasTheDocumentedLayout) {
    fillTable(hyo, {"a|b", "c|d"});
    hyo.setColumnWidth(1, 90);
    hyo.setCellAttribute(1, 0, AttrBackColour, 3, 1, 1);
    hyo.setCellAttribute(1, 0, AttrMarker, 0, 1, 1);
    hyo.setRowAttribute(1, AttrTextColour, 7, 1);
    hyo.setRowHeight(1, 40);
    hyo.setCellAttribute(0, 1, AttrTextColour, 120, 1, 1);
    doc.filePath = path("t.csv");
    doc.colourMode = 1;
    doc.lineEnding = LineLf;
    doc.encoding = EncUtf8;
    SaveFlow flow(hyo, global, doc);
    ASSERT_TRUE(flow.saveDocument(false));
    EXPECT_TRUE(doc.colourFileInUse);

    const std::string bytes = fileBytes(path("t.vxc"));
    ASSERT_GT(bytes.size(), 11u);
    EXPECT_EQ(bytes.substr(0, 3), "VXC");
    EXPECT_EQ(at32(bytes, 3), 201);
    EXPECT_EQ(at32(bytes, 7), 16);
    EXPECT_EQ(bytes.substr(11, 2), "LI");
    // The settings record: separator, DBLKIND, flags, format flags.
    const size_t settings = bytes.find(le32(56)) + 4;
    EXPECT_EQ(at32(bytes, settings + 36), ',');
    EXPECT_EQ(at32(bytes, settings + 48), 1 | 2 | 4 | 16);
    const size_t records = settings + 56 + 4;
    EXPECT_EQ(at32(bytes, records), 16);
    const std::string expected = record(1, 0, 5, 3) + record(1, 0, 11, 0) + record(-1, 1, 4, 7) +
                                 record(-1, 1, 100, 40) + record(0, 1, 4, 120) + record(-1, -1, 0, 0);
    EXPECT_EQ(bytes.substr(records + 4), expected);
}

TEST_F(ColourFileTest, ColoursOfEmptyCellsPastTheWidestRowAreKept) {
    fillTable(hyo, {"a"});
    hyo.setCellAttribute(1, 0, AttrBackColour, 3, 1, 1);
    hyo.setCellAttribute(2, 0, AttrTextColour, 7, 1, 1);
    hyo.setWidestRow(1);
    doc.filePath = path("wide.csv");
    doc.colourMode = 1;
    SaveFlow flow(hyo, global, doc);
    ASSERT_TRUE(flow.saveDocument(false));
    EXPECT_EQ(fileBytes(path("wide.csv")), "a\r\n");
    const std::string bytes = fileBytes(path("wide.vxc"));
    const std::string expected = le32(16) + record(1, 0, 5, 3) + record(2, 0, 4, 7) + record(-1, -1, 0, 0);
    ASSERT_GT(bytes.size(), expected.size());
    EXPECT_EQ(bytes.substr(bytes.size() - expected.size()), expected);
}

TEST_F(ColourFileTest, SavedFileMatchesTheLayoutByteForByte) {
    global.setQuoteKind(2);
    global.setFileQuoteLineBreakOnly(true);
    // Row 1 carries a row background of 0xF0 and a height of 65535, a text colour of 0xC8 on
    // its first cell and a marker on its second: one-byte values are sign-extended, wider
    // values zero-extended, a record without a value gives 0.
    fillTable(hyo, {"Name|Price", "a|1",
                    std::string("\x07\x02\x05\xF0\x07\x03\x64\xFF\xFF") + "\x02\x04\xC8" "b|\x01\x0B" "2"});
    hyo.takeHeaderRow();
    hyo.setColumnWidth(1, 90);
    hyo.setColumnKind(1, 1, 1);
    hyo.setCellAttribute(0, 0, AttrBackColour, 3, 1, 1);
    doc.filePath = path("layout.csv");
    doc.colourMode = 1;
    doc.encoding = EncUtf16Le;
    doc.withBom = true;
    doc.lineEnding = LineCr;
    SaveFlowWindow window;
    window.viewSettings = [](int& first, int& end, int& alternate) { first = 1, end = 3, alternate = 2005; };
    SaveFlow flow(hyo, global, doc, window);
    ASSERT_TRUE(flow.saveDocument(false));

    const std::string defaults = le32(64) + le32(0) + std::string("\0\0\x78\x78", 4) + le32(0);
    const std::string numeric = le32(90) + le32(0) + std::string("\1\1\x78\x78", 4) + le32(0);
    std::string settings = le32(1) + le32(3) + le32(1) + std::string(24, '\0') + le32(',') + le32(2) +
                           le32(1) + le32(1 | 8 | 32) + le32(2005);
    ASSERT_EQ(settings.size(), 56u);
    const std::string expected =
        "VXC" + le32(201) + le32(16) +
        listBlock({defaults + std::string("Name\0", 5), numeric + std::string("Price\0", 6)}) +
        listBlock({le32(1) + std::string(40, '\0'), settings}) + le32(16) +
        record(0, 0, 5, 3) + record(-1, 1, 5, -16) + record(-1, 1, 100, 65535) +
        record(0, 1, 4, -56) + record(1, 1, 11, 0) + record(-1, -1, 0, 0);
    EXPECT_EQ(fileBytes(path("layout.vxc")), expected);
}

// The colour file is plain CP932: a code lent to a character CP932 lacks becomes "?" in a
// title there, while the table keeps the character. A column without a full record (one cut
// short in a colour file read before) is written as an empty line. When memory runs out on the
// way, the file is not finished.
TEST_F(ColourFileTest, LentCodesInTitlesAreWrittenAsQuestionMarks) {
    GivenCodes::reset();
    const uint16_t code = GivenCodes::codeFor(U'\u00E9');
    ASSERT_NE(code, 0);
    const std::string lent{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    fillTable(hyo, {"a|b|c|d"});
    hyo.setColumnTitle(0, ("x" + lent + "y").c_str());
    hyo.setColumnWidth(1, 90);
    hyo.setColumnTitle(2, "z");
    hyo.setColumnRecord(3, std::string(8, '\x01').data(), 8);
    doc.colourMode = 1;
    const std::string defaults = le32(64) + le32(0) + std::string("\0\0\x78\x78", 4) + le32(0);
    const std::string wide = le32(90) + le32(0) + std::string("\0\0\x78\x78", 4) + le32(0);
    const std::string expected = "VXC" + le32(201) + le32(16) +
        listBlock({defaults + std::string("x?y\0", 4), wide, defaults + std::string("z\0", 2), ""});
    prompt.allowUnscripted();
    for (long n = 0; n <= 12; ++n) {
        CMyColourFile file;
        MemoryHook::failAfter(n);
        const int made = file.createColourFile(path("d.csv"), false, doc, global, hyo, ColourSettings());
        MemoryHook::failAfter(0);
        ASSERT_EQ(made, 1) << n;
        const int finished = file.finishColourFile();
        if (n == 0) {
            ASSERT_EQ(finished, 0);   // nothing failed
        }
        if (finished != 0) continue;
        ASSERT_TRUE(file.commit(doc)) << n;
        EXPECT_EQ(fileBytes(path("d.vxc")).substr(0, expected.size()), expected) << n;
    }
    EXPECT_EQ(hyo.columnTitle(0), "x" + lent + "y");

    // Without lent codes each record is written as the table holds it, the short one too.
    hyo.setColumnTitle(0, "xy");
    CMyColourFile file;
    ASSERT_EQ(file.createColourFile(path("d.csv"), false, doc, global, hyo, ColourSettings()), 1);
    ASSERT_EQ(file.finishColourFile(), 0);
    ASSERT_TRUE(file.commit(doc));
    const std::string held = "VXC" + le32(201) + le32(16) +
        listBlock({defaults + std::string("xy\0", 3), wide, defaults + std::string("z\0", 2), std::string(8, '\x01')});
    EXPECT_EQ(fileBytes(path("d.vxc")).substr(0, held.size()), held);
    GivenCodes::reset();
}

// Row and cell records of every length the store can hold (one to five bytes) are written; one
// cut off by the end of the records is not.
TEST_F(ColourFileTest, RowRecordsOfEveryLengthAreWritten) {
    fillTable(hyo, {"a"});
    doc.colourMode = 1;
    CMyColourFile file;
    ASSERT_EQ(file.createColourFile(path("d.csv"), false, doc, global, hyo, ColourSettings()), 1);
    const std::string marker("\x07\x01\x0B", 3);
    const std::string wide("\x07\x05\x64\x01\x02\x03\x04", 7);
    const std::string cut = wide + std::string("\x07\x03\x64\xFF", 4);
    file.writeRowAttributes(0, marker.data(), 3);
    file.writeRowAttributes(1, wide.data(), 7);
    file.writeRowAttributes(2, cut.data(), 11);
    // Bytes that are no records (not a row record, a record of length 0) write nothing.
    file.writeRowAttributes(4, "\x01\x01\x05\x00", 4);
    file.writeRowAttributes(5, "\x07\x00\x05", 3);
    file.writeCellAttributes(6, 0, "\x00\x05", 2);
    // The same for the records before a cell's text.
    const std::string cell("\x01\x0B" "\x05\x05\x01\x02\x03\x04" "\x03\x64\xFF", 11);
    file.writeCellAttributes(3, 0, cell.data(), 11);
    ASSERT_EQ(file.finishColourFile(), 0);
    ASSERT_TRUE(file.commit(doc));
    const std::string bytes = fileBytes(path("d.vxc"));
    const std::string records = record(-1, 0, 11, 0) + record(-1, 1, 100, 0x04030201) +
                                record(-1, 2, 100, 0x04030201) + record(3, 0, 11, 0) +
                                record(3, 0, 5, 0x04030201) + record(-1, -1, 0, 0);
    ASSERT_GT(bytes.size(), records.size());
    EXPECT_EQ(bytes.substr(bytes.size() - records.size()), records);
}

// Whichever of the end record's write, the flush and the close fails, the file is not finished
// and cannot replace the old one; once all succeed, it does.
TEST_F(ColourFileTest, AFailedWriteFlushOrCloseLeavesTheFileUnfinished) {
    fillTable(hyo, {"a"});
    doc.colourMode = 1;
    home.write("d.vxc", "old");
    std::vector<FileHook::Operation> failed;
    for (long n = 1; n <= 3; ++n) {
        CMyColourFile file;
        ASSERT_EQ(file.createColourFile(path("d.csv"), false, doc, global, hyo, ColourSettings()), 1);
        FileHook::failAfter(n);
        EXPECT_EQ(file.finishColourFile(), -1) << n;
        FileHook::failAfter(0);
        failed.push_back(FileHook::lastFailed());
        EXPECT_FALSE(file.commit(doc)) << n;
        EXPECT_EQ(fileBytes(path("d.vxc")), "old") << n;
    }
    EXPECT_EQ(failed, (std::vector<FileHook::Operation>{FileHook::Write, FileHook::Flush, FileHook::Close}));

    // Once all succeed it replaces the old one, and the document now has a colour file beside it.
    doc.colourTempName = "20260101000000_01";
    CMyColourFile file;
    ASSERT_EQ(file.createColourFile(path("d.csv"), false, doc, global, hyo, ColourSettings()), 1);
    ASSERT_EQ(file.finishColourFile(), 0);
    EXPECT_FALSE(doc.colourFileInUse);
    ASSERT_TRUE(file.commit(doc));
    EXPECT_EQ(fileBytes(path("d.vxc")).substr(0, 3), "VXC");
    EXPECT_TRUE(doc.colourFileInUse);
    EXPECT_EQ(doc.colourTempName, "");
}

TEST_F(ColourFileTest, ColoursWidthsTitlesAndHeightsSurviveSaveAndOpen) {
    fillTable(hyo, {"Name|Price", "apple|120", "pear|80"});
    hyo.takeHeaderRow();
    hyo.setColumnWidth(0, 150);
    hyo.setColumnKind(1, 1, 1);
    hyo.setCellAttribute(1, 1, AttrBackColour, 9, 1, 1);   // "80": value byte 9 is a TAB
    hyo.setCellAttribute(0, 0, AttrTextColour, 0, 1, 1);   // value byte 0 is a NUL
    hyo.setRowHeight(0, 33);
    doc.filePath = path("fruit.csv");
    doc.colourMode = 1;
    SaveFlow flow(hyo, global, doc);
    ASSERT_TRUE(flow.saveDocument(false));
    EXPECT_EQ(fileBytes(path("fruit.csv")), "Name,Price\r\napple,120\r\npear,80\r\n");

    hyo.reset();
    ASSERT_EQ(open("fruit.csv"), 0);
    ASSERT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(0), "Name");
    EXPECT_EQ(hyo.columnWidth(0), 150);
    EXPECT_EQ(hyo.columnKind(1), 1);
    EXPECT_EQ(hyo.cellString(0, 0), "apple");
    EXPECT_EQ(hyo.cellAttribute(1, 1, AttrBackColour), 9);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrTextColour), 0);
    EXPECT_EQ(hyo.cellAttribute(0, 1, AttrTextColour), -1);
    EXPECT_EQ(hyo.rowHeight(0), 33);
    EXPECT_EQ(doc.colourMode, 1);
    EXPECT_TRUE(doc.colourFileInUse);
}

TEST_F(ColourFileTest, VersionRules) {
    fillTable(hyo, {"a|b"});
    EXPECT_EQ(readInto(colourFile(200, record(1, 0, 5, 2))), 0);
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), 2);
    EXPECT_EQ(hyo.columnWidth(0), 100);
    EXPECT_EQ(readInto(colourFile(201, "")), 0);

    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(readInto(colourFile(202, "")), -1);
    EXPECT_EQ(prompt.last().text,
              "定義情報が新しいため古いアプリケーションでは読み込みません。\nバージョンアップしてください。");
    for (int old : {199, 301}) {
        prompt.answer(PromptAnswer::Ok);
        EXPECT_EQ(readInto(colourFile(old, "")), -1);
        EXPECT_EQ(prompt.last().text, "定義情報が古いため読み込みません。");
        EXPECT_EQ(prompt.last().caption, "注意");
    }
}

TEST_F(ColourFileTest, WrongMagicOrRecordSizeIsRefused) {
    fillTable(hyo, {"a"});
    std::string file = colourFile(201, "");
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(readInto("VXD" + file.substr(3)), -1);
    EXPECT_EQ(prompt.last().text, "定義情報のファイル定義が異なるため読み込みません。");

    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(readInto(file.substr(0, 7) + le32(20) + file.substr(11)), -1);
    EXPECT_EQ(prompt.last().text, "定義情報のファイルの定義が異なるため読み込みません。");

    // A broken record size before the attribute records.
    const size_t mark = file.size() - 16 - 4;
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(readInto(file.substr(0, mark) + le32(12) + file.substr(mark + 4)), 0);
    EXPECT_EQ(prompt.last().text, "VXCファイルの定義が不正です。");
}

// Each read reports its result, and a failed one closes the file after its one message: a
// later read finds nothing open and says nothing.
TEST_F(ColourFileTest, AFailedReadClosesTheFileAfterItsMessage) {
    fillTable(hyo, {"a|b", "c"});
    CMyColourFile file;
    ColourSettings settings;
    EXPECT_EQ(file.readColourHeader(hyo, settings), -1);
    EXPECT_EQ(file.readColourRecords(hyo, 0), -1);
    EXPECT_FALSE(file.openForReading(""));
    EXPECT_FALSE(file.openForReading("/dev/null"));
    EXPECT_TRUE(prompt.shown().empty());

    const std::string good = colourFile(201, record(0, 0, 5, 3) + record(-1, 1, 100, 30));
    const size_t mark = good.size() - 3 * 16 - 4;   // the record size before the records
    ASSERT_EQ(good.substr(41, 2), "LI");              // the settings block
    const std::string broken[] = {"VXD" + good.substr(3), good.substr(0, 7) + le32(20) + good.substr(11),
                                  good.substr(0, 41) + "LX" + good.substr(43)};   // the settings block's mark
    for (const std::string& bytes : broken) {
        ASSERT_TRUE(file.openForReading(home.write("h.vxc", bytes)));
        prompt.clear();
        prompt.answer(PromptAnswer::Ok);
        EXPECT_EQ(file.readColourHeader(hyo, settings), -1);
        EXPECT_EQ(file.readColourRecords(hyo, 0), -1);
        EXPECT_EQ(prompt.shown().size(), 1u);
        EXPECT_FALSE(heldOpen(home.file("h.vxc")));
    }
    ASSERT_TRUE(file.openForReading(home.write("s.vxc", good.substr(0, mark) + le32(12) + good.substr(mark + 4))));
    EXPECT_EQ(file.readColourHeader(hyo, settings), 0);
    prompt.clear();
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(file.readColourRecords(hyo, 0), -1);
    EXPECT_EQ(file.readColourRecords(hyo, 0), -1);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"VXCファイルの定義が不正です。"});

    // The records applied are counted; what follows the end record is not read.
    ASSERT_TRUE(file.openForReading(home.write("r.vxc", good + record(1, 0, 5, 9))));
    EXPECT_EQ(file.readColourHeader(hyo, settings), 0);
    EXPECT_EQ(file.readColourRecords(hyo, 0), 2);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), 3);
    EXPECT_EQ(hyo.rowHeight(1), 30);
    EXPECT_EQ(hyo.cellAttribute(1, 0, AttrBackColour), -1);
    EXPECT_FALSE(heldOpen(home.file("r.vxc")));

    // Opening another file, or adopting a stream, closes the one open before.
    ASSERT_TRUE(file.openForReading(home.file("r.vxc")));
    ASSERT_TRUE(heldOpen(home.file("r.vxc")));
    ASSERT_TRUE(file.openForReading(home.file("s.vxc")));
    EXPECT_FALSE(heldOpen(home.file("r.vxc")));
    file.adopt(std::tmpfile());
    EXPECT_FALSE(heldOpen(home.file("s.vxc")));
}

// A colour file is made only with colour information on, and making one first drops what an
// earlier, unfinished one left.
TEST_F(ColourFileTest, ANewColourFileDropsTheUnfinishedOne) {
    fillTable(hyo, {"a"});
    CMyColourFile file;
    const ColourSettings settings;
    // Abandoned, nothing is left to finish and no temporary file stays.
    ASSERT_EQ(file.createColourFile(path("d.csv"), false, doc, global, hyo, settings), 1);
    file.abandon();
    EXPECT_EQ(file.finishColourFile(), -1);
    EXPECT_TRUE(fs::is_empty(home.path()));
    ASSERT_EQ(file.createColourFile(path("d.csv"), false, doc, global, hyo, settings), 1);
    EXPECT_FALSE(file.commit(doc));   // not finished yet
    global.setColourFileMode(0);
    EXPECT_EQ(file.createColourFile(path("d.csv"), false, doc, global, hyo, settings), 0);
    EXPECT_EQ(file.finishColourFile(), -1);
    EXPECT_FALSE(file.commit(doc));
    EXPECT_FALSE(fs::exists(path("d.vxc")));
    EXPECT_TRUE(fs::is_empty(home.path()));

    // A file that cannot be made or opened leaves no temporary file behind.
    global.setColourFileMode(1);
    int failed = 0;
    for (long n = 1; n <= 4; ++n) {
        FileHook::failAfter(n);
        const int made = file.createColourFile(path("d.csv"), false, doc, global, hyo, settings);
        FileHook::failAfter(0);
        if (made == 1) {
            file.abandon();
            continue;
        }
        ++failed;
        EXPECT_EQ(made, -1) << n;
        EXPECT_TRUE(fs::is_empty(home.path())) << n;
    }
    EXPECT_GT(failed, 0);
}

TEST_F(ColourFileTest, RecordedSettingsApplyAsFarAsTheOpenAllows) {
    home.write("d.txt", "a\tb\r\nc\td\r\n");
    std::vector<std::string> calls;
    OpenFlowWindow window;
    window.restoreFreeze = [&](int first, int end) {
        calls.push_back("freeze " + std::to_string(first) + "-" + std::to_string(end));
    };
    const auto openWith = [&](int typeOption) {
        calls.clear();
        hyo.reset();
        OpenFlow flow(hyo, global, doc, window, ColourOpenSteps::hooks([&](int band, int colour) {
            calls.push_back("alternate " + std::to_string(band) + "/" + std::to_string(colour));
        }));
        return flow.openFile(path("d.txt"), false, "", typeOption);
    };

    // Everything applies: freeze, header, DBLKIND for the same separator, line-break-only
    // quoting, UTF-8 for a file in which nothing was detected, the alternating mode.
    home.write("d.vxc", settingsFile('\t', 3, 1, 1 | 2 | 16, 2005, 1, 1, 3));
    global.setStartBom(false);   // a Shift-JIS document takes this as its mark setting
    ASSERT_EQ(openWith(TypeNone), 0);
    EXPECT_EQ(global.quoteKind(), 3);
    EXPECT_TRUE(global.fileQuoteLineBreakOnly());
    EXPECT_EQ(doc.encoding, EncUtf8);
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(1), "b");
    EXPECT_EQ(calls, (std::vector<std::string>{"alternate 2/5", "freeze 1-3"}));

    // A file type chosen for the open fixes the quote settings.
    global.setQuoteKind(1);
    global.setFileQuoteLineBreakOnly(false);
    ASSERT_EQ(openWith(TypeTab), 0);
    EXPECT_EQ(global.quoteKind(), 0);
    EXPECT_FALSE(global.fileQuoteLineBreakOnly());

    // DBLKIND recorded for another separator stays; no header, freeze or alternation recorded.
    global.setQuoteKind(1);
    home.write("d.vxc", settingsFile(',', 3, 1, 1 | 2, 999, 0, 0, 0));
    ASSERT_EQ(openWith(TypeNone), 0);
    EXPECT_EQ(global.quoteKind(), 1);
    EXPECT_TRUE(global.fileQuoteLineBreakOnly());
    EXPECT_EQ(doc.encoding, EncShiftJis);
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_TRUE(calls.empty());

    // A settings record of another length is not applied; the columns still are.
    std::string shorter = settingsFile('\t', 3, 0, 1 | 16, 2005, 1, 1, 3);
    const size_t lengthAt = shorter.find(le32(56));
    shorter.replace(lengthAt, 4, le32(55));
    shorter.erase(lengthAt + 4 + 55, 1);
    home.write("d.vxc", shorter);
    ASSERT_EQ(openWith(TypeNone), 0);
    EXPECT_EQ(global.quoteKind(), 1);
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnWidth(0), 100);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ColourFileTest, HeaderRowOffsetMovesRecordsOneRowDown) {
    fillTable(hyo, {"title", "a", "b"});
    EXPECT_EQ(readInto(colourFile(201, record(0, 1, 5, 4)), 1), 0);
    EXPECT_EQ(hyo.cellAttribute(0, 2, AttrBackColour), 4);
    EXPECT_EQ(hyo.cellAttribute(0, 1, AttrBackColour), -1);
}

TEST_F(ColourFileTest, RecordsOutsideTheTableOrImplausibleAreIgnored) {
    fillTable(hyo, {"a|b", "c"});
    const std::string records = record(0, 500000, 5, 1) + record(5000, 0, 5, 1) +
                                record(-7, 0, 5, 1) + record(0, -3, 5, 1) + record(0, 0, 5, 200) +
                                record(0, 0, 77, 1) + record(-1, 1, 100, 0) + record(1, 1, 4, 2);
    EXPECT_EQ(readInto(colourFile(201, records)), 0);
    EXPECT_EQ(hyo.storeRowCount(), 2);
    EXPECT_EQ(hyo.rowString(0), "a\tb");
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), -1);
    EXPECT_EQ(hyo.rowHeight(1), hyo.defaultHeight());
    EXPECT_EQ(hyo.cellAttribute(1, 1, AttrTextColour), 2);
}

TEST_F(ColourFileTest, EveryTruncationLeavesTheCellsAlone) {
    const std::string file = colourFile(201, record(0, 0, 5, 1) + record(-1, 1, 100, 30));
    prompt.allowUnscripted();
    for (size_t cut = 0; cut < file.size(); ++cut) {
        fillTable(hyo, {"a|b", "c"});
        readInto(file.substr(0, cut));
        ASSERT_EQ(hyo.storeRowCount(), 2) << cut;
        EXPECT_EQ(hyo.cellString(0, 0), "a") << cut;
        EXPECT_EQ(hyo.cellString(1, 0), "b") << cut;
        EXPECT_EQ(hyo.cellString(0, 1), "c") << cut;
    }
}

TEST_F(ColourFileTest, AbsurdBlockLengthsAreRefusedWithoutHugeAllocations) {
    fillTable(hyo, {"a"});
    const std::string hugeLine = "VXC" + le32(201) + le32(16) + "LI" + le32(1) + le32(0x7FFFFFF0) + "xx";
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(readInto(hugeLine), -1);
    EXPECT_EQ(prompt.last().text, "VXCファイルの定義が不正です。");
    EXPECT_EQ(hyo.cellString(0, 0), "a");
    std::string garbageColumn = "VXC" + le32(201) + le32(16) +
                                listBlock({le32(-5) + std::string(6, '\x7f') + std::string(60, 'T')});
    garbageColumn += listBlock({std::string(44, '\0'), std::string(56, '\xff')}) + le32(16);
    EXPECT_EQ(readInto(garbageColumn), 0);
    EXPECT_EQ(hyo.columnWidth(0), 64);
    EXPECT_LE(hyo.columnTitle(0).size(), 60u);
}
