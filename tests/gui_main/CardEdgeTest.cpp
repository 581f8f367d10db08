// The card at the grid's last row, and Ctrl keys the card keeps from its grid.
#include "grid/Navigator.h"
#include "app/TfrmMain.h"

#include "dialogs/TfrmCard.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "support_gui/ShownWindow.h"

#include <functional>

namespace {

class CardEdgeTest : public ::testing::Test {
protected:
    // Opens the card from tb_Card and runs `script` on it while it is shown.
    void withCard(TfrmMain& w, std::function<void(TfrmCard&)> script) {
        bool ran = false;
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [&ran, timer, script] {
            auto* card = qobject_cast<TfrmCard*>(QApplication::activeModalWidget());
            if (!card) return;
            timer->stop();
            timer->deleteLater();
            ran = true;
            QApplication::setActiveWindow(card);
            card->cardGrid().setFocus();
            script(*card);
            if (card->isVisible()) card->close();
        });
        timer->start();
        w.findChild<QAction*>("tb_Card")->trigger();
        EXPECT_TRUE(ran);
        if (!ran) delete timer;
    }
    static void ctrlKey(TfrmCard& card, int k) { QTest::keyClick(&card.cardGrid(), Qt::Key(k), Qt::ControlModifier); }

    TempHome home;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(CardEdgeTest, RowFiveHundredThousandIsTheLastCard) {
    auto w = openShownWindow(home.write("card.csv", "name,price\r\napple,120\r\n"));
    const bool was = w->hyo().journal().setRecording(false);
    w->hyo().setRow(499998, "fig\t7");
    w->hyo().journal().setRecording(was);
    w->navigation().goToCell(0, 499998);
    withCard(*w, [&](TfrmCard& card) {
        EXPECT_EQ(card.windowTitle(), QStringLiteral("カード編集:499999行目"));
        ctrlKey(card, Qt::Key_Right);
        EXPECT_EQ(card.cardRow(), 499999);
        EXPECT_EQ(card.windowTitle(), QStringLiteral("カード編集:500000行目"));
        EXPECT_EQ(prompt.beeps(), 0);
        ctrlKey(card, Qt::Key_Right);
        EXPECT_EQ(card.cardRow(), 499999);
        EXPECT_EQ(prompt.beeps(), 1);
        // A new card after 499,999 rows is that last row.
        card.findChild<QAction*>("tb_New")->trigger();
        EXPECT_EQ(card.cardRow(), 499999);
        EXPECT_EQ(prompt.beeps(), 1);
    });
}

TEST_F(CardEdgeTest, CtrlKeysOfTheMainWindowDoNotReachTheCardsGrid) {
    auto w = openShownWindow(home.write("card.csv", "name,price\r\napple,120\r\n"));
    withCard(*w, [&](TfrmCard& card) {
        const int rows = card.cardTable().storeRowCount();
        const int columns = card.cardTable().widestRowValue();
        ctrlKey(card, Qt::Key_I);   // row insertion in the main window
        EXPECT_EQ(card.cardTable().storeRowCount(), rows);
        EXPECT_EQ(card.cardTable().widestRowValue(), columns);
        EXPECT_EQ(card.cardTable().cellString(1, 0), "apple");
        EXPECT_EQ(card.cardTable().cellString(1, 1), "120");
    });
    EXPECT_EQ(w->hyo().storeRowCount(), 2);
}
