// Cancelling a save at several moments: the old file stays as it was and no temporary file
// is left; a save that runs to the end reports its progress and writes everything.
#include <gtest/gtest.h>

#include <filesystem>

#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "support/CancellingSink.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace fs = std::filesystem;

namespace {

class SaveCancelTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        global.setQuoteKind(0);
        std::vector<std::string> rows;
        for (int i = 0; i < 3000; ++i) rows.push_back("r" + std::to_string(i) + "|x");
        fillTable(hyo, rows);
        target = home.write("t.csv", "old\r\n");
        doc.filePath = target;
        doc.modified = true;
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(home.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
    SaveFlow flow{hyo, global, doc};
    std::string target;
};

} // namespace

TEST_F(SaveCancelTest, CancelledAnywhereLeavesTheOldFileAndNoTemporary) {
    for (int stopAt : {1, 2, 250, 500}) {
        CancellingSink sink(stopAt);
        EXPECT_FALSE(flow.saveDocument(false)) << stopAt;
        EXPECT_EQ(sink.reports, stopAt);
        EXPECT_EQ(sink.open, 0);
        EXPECT_TRUE(sink.cancellable);
        EXPECT_EQ(fileBytes(target), "old\r\n") << stopAt;
        EXPECT_EQ(files(), std::vector<std::string>{"t.csv"}) << stopAt;
        EXPECT_TRUE(doc.modified);
        EXPECT_TRUE(prompt.shown().empty());
    }
}

TEST_F(SaveCancelTest, ASaveRunToTheEndReportsItsWayThere) {
    CancellingSink sink;
    ASSERT_TRUE(flow.saveDocument(false));
    EXPECT_EQ(sink.names, std::vector<std::string>{"保存"});
    EXPECT_EQ(sink.open, 0);
    EXPECT_GT(sink.reports, 100);
    EXPECT_LE(sink.reports, 501);
    EXPECT_EQ(sink.lastTotal, 3000);
    EXPECT_GE(sink.lastDone, 2990);
    const std::string bytes = fileBytes(target);
    EXPECT_EQ(bytes.substr(0, 14), "r0,x\r\nr1,x\r\nr2");
    EXPECT_EQ(bytes.substr(bytes.size() - 9), "r2999,x\r\n");
    EXPECT_FALSE(doc.modified);
}
