// The Edit menu's conversion and column commands on a real window: the menu items and user
// keys run them on the selection, the delimiter dialog asks and remembers, the document is
// marked modified and one undo puts the table back.
#include "app/CommandSurfaces.h"
#include "app/TfrmMain.h"

#include "dialogs/TfrmDiv.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class ConvertCommandsTest : public ::testing::Test {
protected:
    // A window on a CP932 comma file.
    std::unique_ptr<TfrmMain> open(const std::string& bytes) {
        return std::make_unique<TfrmMain>(std::vector<std::string>{home.write("c.csv", bytes)});
    }
    static void trigger(TfrmMain& w, const char* name) {
        QAction* a = w.findChild<QAction*>(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_TRUE(a->isEnabled()) << name;
        a->trigger();
    }
    static void selectColumns(TfrmMain& w, int left, int right) {
        w.view().setSelection(SelMade, SelColumns, {left, 0, right, 0});
    }
    static std::string rows(TfrmMain& w) {
        std::string out;
        for (int i = 0; i < w.hyo().storeRowCount(); ++i) out += w.hyo().rowString(i) + "|";
        return out;
    }
    // Answers the delimiter dialog with `text` once it shows, noting what it offered.
    void answerDelimiter(const QString& text) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [this, timer, text] {
            auto* dialog = qobject_cast<TfrmDiv*>(QApplication::activeModalWidget());
            if (!dialog) return;
            timer->stop();
            timer->deleteLater();
            offered = dialog->findChild<QLineEdit*>("txt_Div")->text();
            caption = dialog->windowTitle();
            dialog->findChild<QLineEdit*>("txt_Div")->setText(text);
            QTest::mouseClick(dialog->findChild<QPushButton*>("cmd_Ok"), Qt::LeftButton);
        });
        timer->start();
    }

    TempHome home;
    ScriptedPrompt prompt;
    QString offered;
    QString caption;
};

TEST_F(ConvertCommandsTest, ConversionsFromTheMenuAndAUserKeyAreOneUndoStepEach) {
    auto w = open("ab,\xB6\xDE\xCA\xDF\r\nCd,\x82\xA9\r\n");
    const std::string before = rows(*w);
    w->view().setSelection(SelMade, SelCells, {0, 0, 1, 1});
    trigger(*w, "mnuEditHanToZen");
    EXPECT_EQ(rows(*w), "\x82\x81\x82\x82\t\x83\x4B\x83\x70|\x82\x62\x82\x84\t\x82\xA9|");
    EXPECT_TRUE(w->document().modified);
    trigger(*w, "mnuEditUndo");
    EXPECT_EQ(rows(*w), before);
    // User key Ctrl+1 set to function 52 converts to upper case.
    w->global().setUserKey(0, 52, false);
    w->commands().runUserKey(1, false);
    EXPECT_EQ(rows(*w), "AB\t\xB6\xDE\xCA\xDF|CD\t\x82\xA9|");
    trigger(*w, "mnuEditHiraToKana");
    EXPECT_EQ(rows(*w), "AB\t\xB6\xDE\xCA\xDF|CD\t\xB6|");
    trigger(*w, "mnuEditKanaToHira");
    EXPECT_EQ(rows(*w), "AB\t\x82\xAA\x82\xCF|CD\t\x82\xA9|");
    trigger(*w, "mnuEditUndo");
    trigger(*w, "mnuEditUndo");
    trigger(*w, "mnuEditUndo");
    EXPECT_EQ(rows(*w), before);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ConvertCommandsTest, JoinAsksForTheDelimiterAndRemembersIt) {
    auto w = open("a,b,x\r\nc,,y\r\n");
    selectColumns(*w, 0, 1);
    answerDelimiter(QStringLiteral("・"));
    trigger(*w, "mnuEditColUnionFree");
    EXPECT_EQ(caption, QStringLiteral("文字列結合"));
    EXPECT_EQ(offered, QStringLiteral("/"));
    EXPECT_EQ(rows(*w), "a\tb\ta\x81\x45" "b\tx|c\t\tc\x81\x45\ty|");
    EXPECT_EQ(w->hyo().columnColour(2, AttrBackColour), 11);
    EXPECT_TRUE(w->document().modified);
    answerDelimiter(QStringLiteral("-"));
    trigger(*w, "mnuEditColUnionFree");
    EXPECT_EQ(offered, QStringLiteral("・"));
    trigger(*w, "mnuEditUndo");
    trigger(*w, "mnuEditUndo");
    EXPECT_EQ(rows(*w), "a\tb\tx|c\t\ty|");
}

TEST_F(ConvertCommandsTest, SplitCompareAndGroupFromTheMenu) {
    auto w = open("a b c,a\r\nx,X\r\na b c,a\r\n");
    selectColumns(*w, 0, 0);
    prompt.answer(PromptAnswer::Yes);
    trigger(*w, "mnuEditColDivSpc");
    EXPECT_EQ(prompt.last().text, "3列追加されます。よろしいですか？");
    EXPECT_EQ(rows(*w), "a b c\ta\tb\tc\ta|x\tx\t\t\tX|a b c\ta\tb\tc\ta|");
    trigger(*w, "mnuEditUndo");
    selectColumns(*w, 0, 1);
    trigger(*w, "mnuEditColCmp");
    EXPECT_EQ(rows(*w), "a b c\ta\t\x81\x7E|x\tX\t\x81\x7E|a b c\ta\t\x81\x7E|");
    trigger(*w, "mnuEditUndo");
    selectColumns(*w, 0, 0);
    trigger(*w, "mnuEditColGroup");
    EXPECT_EQ(rows(*w), "a b c\ta b c\t2\ta|x\tx\t1\tX|a b c\t\t\ta|");
    // Whole rows are refused.
    w->view().setSelection(SelMade, SelRows, {-1, 0, -2, 1});
    prompt.answer(PromptAnswer::Ok);
    trigger(*w, "mnuEditColGroup");
    EXPECT_EQ(prompt.last().text, "列を選択してください。");
}

}  // namespace
