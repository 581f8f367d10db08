// Save with encoding: a Shift-JIS choice takes no byte-order mark from the disabled box.
#include <gtest/gtest.h>

#include <string>

#include "WriterTestSupport.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/SaveFlow.h"
#include "store/SaveFormHandler.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"

namespace {

// Accepts the encoding form with the choice a test sets.
class ChosenEncoding : public SaveFormHandler {
public:
    explicit ChosenEncoding(EncodingChoice c) : choice(c) { install(this); }
    ~ChosenEncoding() override { install(nullptr); }
    bool showSaveChg(EncodingChoice& offered) override {
        offered = choice;
        return true;
    }
    bool showSaveExp(ExportChoice&) override { return false; }
    EncodingChoice choice;
};

class SaveFlowEdgeTest : public ::testing::Test {
protected:
    void SetUp() override {
        global.setColourFileMode(0);
        global.setQuoteKind(0);
        global.setFileQuoteLineBreakOnly(false);
    }
    TempHome home;
    ScriptedPrompt prompt;
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

} // namespace

TEST_F(SaveFlowEdgeTest, ShiftJisTakesNoMarkFromTheDisabledBox) {
    fillTable(hyo, {"a"});
    doc.encoding = EncUtf8;
    doc.withBom = false;
    ChosenEncoding form(EncodingChoice{EncShiftJis, LineLf, true});
    prompt.chooseFile(home.file("s.csv"), 1);
    ASSERT_TRUE(SaveFlow(hyo, global, doc).saveWithEncoding());
    EXPECT_EQ(fileBytes(home.file("s.csv")), "a\n");
    EXPECT_EQ(doc.encoding, EncShiftJis);
    EXPECT_FALSE(doc.withBom);
}
