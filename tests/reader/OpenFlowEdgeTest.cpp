// Open flow edges: the widest row it records, colour information while it is switched off,
// and rows that could not be stored.
#include "platform/core/MemoryHook.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/ColourOpenSteps.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/ParallelReader.h"
#include "store/Progress.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string le32(int32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return s;
}

class OpenFlowEdgeTest : public ::testing::Test {
protected:
    void SetUp() override { global.setColourFileMode(0); }
    int open(const std::string& path, OpenColourHooks colour = {}, OpenFlowWindow window = {},
             bool header = false) {
        OpenFlow flow(hyo, global, doc, window, colour);
        return flow.openFile(path, header, "", TypeNone);
    }
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

} // namespace

TEST_F(OpenFlowEdgeTest, WidestRowCountsOneColumnAndNoTrailingEmptyFields) {
    ASSERT_EQ(open(home.write("a.csv", "abc\r\nd\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(hyo.widestRowValue(), 1);
    ASSERT_EQ(open(home.write("b.csv", "a,b,,,\r\n")), OpenFlow::Loaded);
    EXPECT_EQ(hyo.widestRowValue(), 2);
}

TEST_F(OpenFlowEdgeTest, ColourFileIsNotReadWhileColourInformationIsOff) {
    const std::string column = le32(100) + std::string(4, '\0') + std::string("\0\0\x78\x78", 4) + std::string(4, '\0');
    std::string settings(56, '\0');
    std::memcpy(&settings[36], le32(',').data(), 4);
    std::memcpy(&settings[48], le32(1 | 2).data(), 4);
    auto block = [](std::initializer_list<std::string> lines) {
        std::string s = "LI" + le32(1);
        for (const auto& line : lines) s += le32(static_cast<int32_t>(line.size())) + line;
        return s + le32(-1);
    };
    home.write("c.vxc", "VXC" + le32(201) + le32(16) + block({column}) + block({le32(1) + std::string(40, '\0'), settings}) +
                            le32(16) + le32(0) + le32(0) + le32(5) + le32(6) + le32(-1) + le32(-1) + le32(0) + le32(0));
    const OpenColourHooks hooks = ColourOpenSteps::hooks();
    ASSERT_EQ(open(home.write("c.csv", "a\r\n"), hooks), OpenFlow::Loaded);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), -1);
    global.setColourFileMode(1);
    ASSERT_EQ(open(home.file("c.csv"), hooks), OpenFlow::Loaded);
    EXPECT_EQ(hyo.cellAttribute(0, 0, AttrBackColour), 6);
}

TEST_F(OpenFlowEdgeTest, AnOpenThatLoadsHoldsEveryRow) {
    const std::string path = home.write("m.csv", "a\r\n" + std::string(3000, 'b') + "\r\nc\r\n");
    int loaded = 0;
    for (long n = 1; n < 60; ++n) {
        ScriptedPrompt local;
        local.allowUnscripted();
        MemoryHook::resetCount();
        MemoryHook::failAfter(n);
        const int rc = open(path);
        MemoryHook::failAfter(0);
        if (rc != OpenFlow::Loaded) continue;
        ++loaded;
        ASSERT_EQ(hyo.storeRowCount(), 3) << n;
        EXPECT_EQ(hyo.rowString(1).size(), 3000u) << n;
        EXPECT_EQ(hyo.rowString(2), "c") << n;
    }
    EXPECT_GT(loaded, 0);
}

TEST_F(OpenFlowEdgeTest, ALineBreakAtTheStartOfAFieldCountsForTheRowHeight) {
    OpenFlowWindow window;
    window.editorLineHeight = [] { return 12; };
    ASSERT_EQ(open(home.write("h.csv", "\"\r\nx\"\r\n\"x\r\ny\"\r\nz\r\n"), {}, window), OpenFlow::Loaded);
    EXPECT_EQ(hyo.rowAttribute(0, AttrRowHeight), 24);
    EXPECT_EQ(hyo.rowAttribute(1, AttrRowHeight), 24);
    EXPECT_EQ(hyo.rowAttribute(2, AttrRowHeight), -1);
}

TEST_F(OpenFlowEdgeTest, AOneCellFirstLineBecomesTheTitles) {
    ASSERT_EQ(open(home.write("t.csv", "title\r\nv\r\n"), {}, {}, true), OpenFlow::Loaded);
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(0), "title");
    EXPECT_EQ(hyo.rowCount(), 1);
    // A file of the title line alone still gets its titles; an empty first line is no title.
    ASSERT_EQ(open(home.write("u.csv", "title\r\n"), {}, {}, true), OpenFlow::Loaded);
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(0), "title");
    ASSERT_EQ(open(home.write("v.csv", "\r\nv\r\n"), {}, {}, true), OpenFlow::Loaded);
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.rowCount(), 2);
}

// With colour information off no hook is asked, nothing of the last colour file stays in the
// document and no freeze is restored.
TEST_F(OpenFlowEdgeTest, ColourHooksAreLeftAloneWhileColourInformationIsOff) {
    int calls = 0;
    OpenColourHooks hooks;
    hooks.readerSettings = [&](const ColourOpenContext&) { ++calls; return ColourReaderSettings{}; };
    hooks.colourHeader = [&](ColourOpenContext&) { ++calls; return true; };
    hooks.colourRecords = [&](ColourOpenContext&, int) { ++calls; };
    int freezes = 0;
    OpenFlowWindow window;
    window.restoreFreeze = [&](int, int) { ++freezes; };
    doc.colourFileInUse = true;
    doc.colourTempName = "20240101120000_01";
    doc.colourListIndex = 3;
    ASSERT_EQ(open(home.write("a.csv", "a\r\n"), hooks, window), OpenFlow::Loaded);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(freezes, 0);
    EXPECT_EQ(doc.colourMode, 0);
    EXPECT_FALSE(doc.colourFileInUse);
    EXPECT_EQ(doc.colourTempName, "");
    EXPECT_EQ(doc.colourListIndex, -1);

    // On, the records are read only when the header says the file is open.
    global.setColourFileMode(1);
    hooks.colourHeader = [&](ColourOpenContext&) { return false; };
    ASSERT_EQ(open(home.file("a.csv"), hooks, window), OpenFlow::Loaded);
    EXPECT_EQ(calls, 1);   // the reader settings only
    EXPECT_EQ(freezes, 0);
}

// The hooks learn whether the encoding was found in the file (a mark or the content) rather
// than taken from the settings.
TEST_F(OpenFlowEdgeTest, ColourHooksLearnWhetherTheEncodingWasFound) {
    global.setColourFileMode(1);
    std::vector<bool> detected;
    OpenColourHooks hooks;
    hooks.colourHeader = [&](ColourOpenContext& c) { detected.push_back(c.encodingDetected); return false; };
    ASSERT_EQ(open(home.write("s.csv", "a,b\r\n"), hooks), OpenFlow::Loaded);
    ASSERT_EQ(open(home.write("u.csv", "\xE8\xA1\xA8,b\r\n"), hooks), OpenFlow::Loaded);
    ASSERT_EQ(open(home.write("m.csv", "\xEF\xBB\xBF" "a,b\r\n"), hooks), OpenFlow::Loaded);
    EXPECT_EQ(detected, (std::vector<bool>{false, true, true}));
}

// A colour file may record quote kind 0 (enclose where needed) and quotes that enclose only line
// breaks (strict 0); both are taken over the settings.
TEST_F(OpenFlowEdgeTest, RecordedQuoteSettingsOfZeroAreTaken) {
    global.setColourFileMode(1);
    global.setQuoteKind(3);
    global.setFileQuoteLineBreakOnly(false);
    OpenColourHooks hooks;
    hooks.readerSettings = [](const ColourOpenContext&) {
        ColourReaderSettings recorded;
        recorded.quoteKind = 0;
        recorded.strictQuotes = 0;
        return recorded;
    };
    ASSERT_EQ(open(home.write("q.txt", "\"a\"\t\"x\r\ny\"\r\n"), hooks), OpenFlow::Loaded);
    ASSERT_EQ(hyo.storeRowCount(), 1);
    EXPECT_EQ(hyo.rowString(0), "\"a\"\tx\r\ny");
}

// The widest row of a file of empty lines is 0, also when a big file read in pieces is read
// again record by record after a record in error.
TEST_F(OpenFlowEdgeTest, WidestRowOfEmptyLinesIsZero) {
    ASSERT_EQ(open(home.write("e.csv", "")), OpenFlow::Loaded);
    EXPECT_EQ(hyo.widestRowValue(), 0);
    std::string lines;
    for (int i = 0; i < 400; ++i) lines += "\r\n";
    ParallelReader::setDefaultShape(ParallelReader::Shape{97, 3, 0});
    prompt.answer(PromptAnswer::Ok);
    EXPECT_EQ(open(home.write("p.csv", lines + std::string(5002, 'x') + "\r\n")), OpenFlow::CancelledOrReadError);
    ParallelReader::setDefaultShape({});
    EXPECT_EQ(prompt.last().caption, "読み込みエラー");
    EXPECT_EQ(hyo.storeRowCount(), 400);
    EXPECT_EQ(hyo.widestRowValue(), 0);
}

namespace {

// Lets the first reports of a read through, then makes every allocation fail.
class MemoryRunsOut : public ProgressSink {
public:
    MemoryRunsOut() { before = Progress::install(this); }
    ~MemoryRunsOut() override {
        MemoryHook::failAll(false);
        Progress::install(before);
    }
    void begin(const std::string&, bool) override {}
    bool report(long long, long long) override {
        if (++reports == 3) MemoryHook::failAll(true);
        return true;
    }
    void end() override {}

private:
    ProgressSink* before = nullptr;
    int reports = 0;
};

} // namespace

// A row that cannot be stored ends the read, whether read record by record or in pieces; the
// rows before it stay and the read-error flag makes a save ask before it drops the rest.
TEST_F(OpenFlowEdgeTest, ARowThatCannotBeStoredEndsTheReadAsAnError) {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "row" + std::to_string(10000 + i) + ",\"abcdefghijklm\nnopqrstuvwxyz\"\r\n";
    const std::string path = home.write("m.csv", text);
    OpenFlowWindow window;
    window.editorLineHeight = [] { return 12; };
    window.releaseFreeze = [] { MemoryHook::failAll(false); };   // the table takes the rows
    prompt.allowUnscripted();
    for (bool pieces : {false, true}) {
        SCOPED_TRACE(pieces ? "in pieces" : "record by record");
        ParallelReader::setDefaultShape(pieces ? ParallelReader::Shape{4096, 3, 0} : ParallelReader::Shape{});
        prompt.clear();
        {
            MemoryRunsOut sink;
            ASSERT_EQ(open(path, {}, window), OpenFlow::Loaded);
        }
        ParallelReader::setDefaultShape({});
        EXPECT_EQ(prompt.last().text, "メモリが足りません。");   // from the row store
        EXPECT_TRUE(doc.readError);
        const int stored = hyo.storeRowCount();
        // In pieces the file is read again record by record, which has no room from the start.
        if (!pieces) {
            EXPECT_GT(stored, 0);
        }
        EXPECT_LT(stored, 3000);
        // Each row kept is whole, with the height of its two lines.
        for (int row = 0; row < stored; ++row) {
            ASSERT_EQ(hyo.cellString(0, row), "row" + std::to_string(10000 + row)) << row;
            ASSERT_EQ(hyo.cellString(1, row), "abcdefghijklm\r\nnopqrstuvwxyz") << row;
            ASSERT_EQ(hyo.rowHeight(row), 24) << row;
        }
    }
}
