// Export: the filter offered from the remembered kind, the kind remembered from the filter
// chosen, and a first row below 1.
#include <gtest/gtest.h>

#include <string>

#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "store/SaveFormHandler.h"
#include "support/RowLimitOption.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

// Accepts the export form with the rows a test sets, Shift-JIS CR LF without mark.
class ChosenRows : public SaveFormHandler {
public:
    ChosenRows() { install(this); }
    ~ChosenRows() override { install(nullptr); }
    bool showSaveChg(EncodingChoice&) override { return false; }
    bool showSaveExp(ExportChoice& choice) override {
        proposed = {choice.firstRow, choice.lastRow};
        if (!accept) return false;
        choice.firstRow = first;
        choice.lastRow = last;
        choice.includeHeader = false;
        choice.format = EncodingChoice{0, 0, false};
        return true;
    }
    int first = 1;
    int last = 1;
    bool accept = true;
    std::pair<int, int> proposed;
};

class ExportChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        global.setQuoteKind(0);
        global.setFileQuoteLineBreakOnly(false);
        fillTable(hyo, {"r1", "r2", "r3"});
    }
    bool exportTo(const std::string& name, int filter) {
        prompt.chooseFile(home.file(name), filter);
        return SaveFlow(hyo, global, doc).exportCommand(false, 0, 0);
    }
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
    ChosenRows form;
};

} // namespace

TEST_F(ExportChoiceTest, RememberedKindPicksTheFilterAndTheChosenFilterIsRemembered) {
    global.setExportKind(2);
    ASSERT_TRUE(exportTo("a", 1));
    EXPECT_EQ(prompt.choosers().back().filterIndex, 2);
    EXPECT_EQ(global.exportKind(), 1);
    ASSERT_TRUE(exportTo("b", 1));
    EXPECT_EQ(prompt.choosers().back().filterIndex, 1);
    ASSERT_TRUE(exportTo("c.dat", 3));
    EXPECT_EQ(global.exportKind(), 9);
    ASSERT_TRUE(exportTo("d", 2));
    EXPECT_EQ(prompt.choosers().back().filterIndex, 3);
    EXPECT_EQ(prompt.choosers().back().proposedName, "(1-1).dat");
    EXPECT_EQ(global.exportKind(), 2);
}

TEST_F(ExportChoiceTest, AFirstRowBelowOneStartsAtTheFirstRow) {
    form.first = 0;
    form.last = 2;
    ASSERT_TRUE(exportTo("rows", 1));
    EXPECT_EQ(fileBytes(home.file("rows.csv")), "r1\r\nr2\r\n");
}

TEST_F(ExportChoiceTest, ProposedRowsReachTheRowOptionPastTheFormsOwnLimit) {
    form.accept = false;
    SaveFlow(hyo, global, doc).exportCommand(true, 1200000, 2500000);
    EXPECT_EQ(form.proposed, std::make_pair(999999, 999999));
    RowLimitOption rows(2000000);
    SaveFlow(hyo, global, doc).exportCommand(true, 1200000, 2500000);
    EXPECT_EQ(form.proposed, std::make_pair(1200000, 2000000));
}
