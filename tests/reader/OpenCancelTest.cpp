// Stopping an open at any moment, read record by record or in parallel pieces, leaves the
// table, the document, the quote settings and the window as they were.
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/ParallelReader.h"
#include "support/CancellingSink.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

std::string rowsOf(const CMyHyo& hyo) {
    std::string text;
    for (int row = 0; row < hyo.storeRowCount(); ++row) text += hyo.rowString(row) + "|";
    return text;
}

} // namespace

TEST(OpenCancel, AStoppedOpenChangesNothing) {
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    global.setColourFileMode(0);
    global.setQuoteKind(1);
    global.setFileQuoteLineBreakOnly(true);
    CMyHyo hyo;
    DocumentState doc;
    int freezesReleased = 0;
    OpenFlowWindow window;
    window.releaseFreeze = [&] { ++freezesReleased; };
    OpenFlow flow(hyo, global, doc, window);
    const std::string first = home.write("first.csv", "a,b\r\nc,d\r\n");
    ASSERT_EQ(flow.openFile(first, false, "", TypeNone), OpenFlow::Loaded);
    doc.modified = true;
    freezesReleased = 0;

    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += std::to_string(i) + "\t\"x\r\ny\"\tz\n";
    const std::string second = home.write("second.txt", bytes);
    for (bool parallel : {false, true}) {
        ParallelReader::setDefaultShape(parallel ? ParallelReader::Shape{97, 3, 0}
                                                 : ParallelReader::Shape{1u << 20, 1, 1u << 30});
        for (int stopAt : {1, 2, 40}) {
            SCOPED_TRACE((parallel ? "parallel, stop at " : "by record, stop at ") + std::to_string(stopAt));
            CancellingSink sink(stopAt);
            EXPECT_EQ(flow.openFile(second, false, "", TypeTabNoQuotes), OpenFlow::Cancelled);
            EXPECT_EQ(sink.names, std::vector<std::string>{"読み込み"});
            EXPECT_TRUE(sink.cancellable);
            EXPECT_EQ(sink.reports, stopAt);
            EXPECT_EQ(rowsOf(hyo), "a\tb|c\td|");
            EXPECT_EQ(doc.filePath, first);
            EXPECT_EQ(doc.separator, ',');
            EXPECT_TRUE(doc.modified);
            EXPECT_EQ(global.quoteKind(), 1);
            EXPECT_TRUE(global.fileQuoteLineBreakOnly());
            EXPECT_EQ(freezesReleased, 0);
        }
        CancellingSink goOn;
        ASSERT_EQ(flow.openFile(second, false, "", TypeTabNoQuotes), OpenFlow::Loaded);
        EXPECT_EQ(hyo.storeRowCount(), 6000);   // quotes are text here: each line is a row
        EXPECT_EQ(hyo.rowString(1), "y\"\tz");
        ASSERT_EQ(flow.openFile(first, false, "", TypeNone), OpenFlow::Loaded);
        doc.modified = true;
        global.setQuoteKind(1);
        global.setFileQuoteLineBreakOnly(true);
        freezesReleased = 0;
    }
    ParallelReader::setDefaultShape({});
}
