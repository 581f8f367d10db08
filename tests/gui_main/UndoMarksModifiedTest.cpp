// An undo that restores something changes the data on screen, so it marks the document
// modified even right after a save, and closing then asks.
#include "app/TfrmMain.h"
#include "view/GridWidget.h"

#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "support_gui/ShownWindow.h"

#include <QAction>
#include <QtTest/QTest>
#include <gtest/gtest.h>

TEST(UndoMarksModifiedTest, UndoAfterASaveMarksTheDocumentAndCloseAsks) {
    TempHome home;
    ScriptedPrompt prompt;
    const std::string path = home.write("u.csv", "a,b\r\n");
    auto w = openShownWindow(path);
    QTest::keyClicks(&w->gridWidget(), QStringLiteral("x"));
    QTest::keyClick(&w->gridWidget(), Qt::Key_Return);
    ASSERT_EQ(w->hyo().cellString(0, 0), "x");
    findAction(*w, "mnuFileSave")->trigger();
    ASSERT_FALSE(w->document().modified);
    ASSERT_FALSE(w->windowTitle().contains(QString::fromUtf8("(更新)")));

    findAction(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(w->hyo().cellString(0, 0), "a");
    EXPECT_TRUE(w->document().modified);
    EXPECT_TRUE(w->windowTitle().contains(QString::fromUtf8("(更新)")));

    prompt.answer(PromptAnswer::Cancel);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(prompt.last().text, "更新されています。保存しますか？");
    prompt.answer(PromptAnswer::No);
    EXPECT_TRUE(w->close());
}
