// Card editing on a real main window: opening with F5 and tb_Card, stepping, editing, a new
// card, titles, undo in the card and in the table, cancelling, and what the card remembers.
#include "grid/Navigator.h"
#include "app/TfrmMain.h"

#include "dialogs/TfrmCard.h"
#include "editor/CMyEdit.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "support/RowLimitOption.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "support_gui/ShownWindow.h"

#include <functional>
#include <memory>

namespace {

class CardWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> openShown(const std::string& bytes) {
        const std::string path = home.write("card.csv", bytes);
        return openShownWindow(path);
    }
    // Opens the card (with F5 on the main grid, else from tb_Card) and runs `script` on it
    // while it is shown.
    void withCard(TfrmMain& w, std::function<void(TfrmCard&)> script, bool byKey = false) {
        bool ran = false;
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [&ran, timer, script] {
            auto* card = qobject_cast<TfrmCard*>(QApplication::activeModalWidget());
            if (!card) return;
            timer->stop();
            timer->deleteLater();
            ran = true;
            // Menu shortcuts (F5, Ctrl+Z, ...) reach an active window only.
            QApplication::setActiveWindow(card);
            card->cardGrid().setFocus();
            script(*card);
            if (card->isVisible()) card->close();
        });
        timer->start();
        if (byKey) QTest::keyClick(&w.gridWidget(), Qt::Key_F5);
        else w.findChild<QAction*>("tb_Card")->trigger();
        EXPECT_TRUE(ran);
        if (!ran) delete timer;
    }
    static void key(TfrmCard& card, int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(&card.cardGrid(), Qt::Key(k), m);
    }
    // Types `text` into the current card cell and stores it with Enter.
    static void type(TfrmCard& card, const char* text) {
        QTest::keyClicks(&card.cardGrid(), QString::fromUtf8(text));
        key(card, Qt::Key_Return);
    }
    static void goTo(TfrmCard& card, int column, int row) {
        const std::optional<QRect> cell = card.cardView().cellRect(column, row);
        ASSERT_TRUE(cell.has_value()) << column << "," << row;
        QTest::mouseClick(&card.cardGrid(), Qt::LeftButton, {}, cell->center());
    }
    static QString caption(TfrmCard& card) { return card.windowTitle(); }

    TempHome home;
    ScriptedPrompt prompt;
};

const char* const Fruit = "name,price,note\r\napple,120,\r\npear,90,ripe\r\n";

} // namespace

TEST_F(CardWindowTest, WithoutTitlesTheFirstLineNamesTheItemsAndStepsWriteBack) {
    auto w = openShown(Fruit);
    withCard(*w, [&](TfrmCard& card) {
        EXPECT_EQ(caption(card), QStringLiteral("カード編集:2行目"));   // row 0 asked: row 1 shown
        EXPECT_EQ(card.cardTable().cellString(0, 1), "price");
        EXPECT_EQ(card.cardTable().cellString(1, 0), "apple");
        EXPECT_EQ(card.cardView().curColumn(), 0);   // the names were asked for
        EXPECT_EQ(card.cardView().gridColumns(), 2);
        card.findChild<QAction*>("tb_Left")->trigger();
        EXPECT_EQ(prompt.beeps(), 1);
        EXPECT_EQ(card.cardRow(), 1);

        // Stepping without a change writes nothing.
        key(card, Qt::Key_Right, Qt::ControlModifier);
        EXPECT_EQ(caption(card), QStringLiteral("カード編集:3行目"));
        EXPECT_EQ(w->view().curRow(), 2);   // the main cursor follows
        EXPECT_FALSE(w->document().modified);

        goTo(card, 1, 1);
        type(card, "95");
        EXPECT_TRUE(card.cardModified());
        key(card, Qt::Key_Left, Qt::ControlModifier);
        EXPECT_EQ(card.cardRow(), 1);
        EXPECT_EQ(w->hyo().cellString(1, 2), "95");
        EXPECT_TRUE(w->document().modified);
        EXPECT_FALSE(card.cardModified());
    });
}

TEST_F(CardWindowTest, EscapeCancelsAndClosingWritesBack) {
    auto w = openShown(Fruit);
    w->goToCell(0, 2);
    withCard(*w, [&](TfrmCard& card) {
        EXPECT_EQ(caption(card), QStringLiteral("カード編集:3行目"));
        EXPECT_EQ(card.cardView().curColumn(), 1);
        goTo(card, 1, 0);
        key(card, Qt::Key_Delete);
        EXPECT_TRUE(card.cardModified());
        EXPECT_EQ(card.cardTable().cellString(1, 0), "");
        goTo(card, 1, 2);
        type(card, "gone");
        key(card, Qt::Key_Escape);
        EXPECT_FALSE(card.isVisible());
    });
    EXPECT_EQ(w->hyo().cellString(2, 2), "ripe");
    EXPECT_EQ(w->hyo().cellString(0, 2), "pear");
    EXPECT_FALSE(w->document().modified);

    withCard(*w, [&](TfrmCard& card) {
        goTo(card, 1, 2);
        type(card, "soft");
        card.findChild<QAction*>("mnuFileExit")->trigger();
        EXPECT_FALSE(card.isVisible());
    });
    EXPECT_EQ(w->hyo().cellString(2, 2), "soft");
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("(更新)")));
    // One undo in the table takes the whole card back.
    w->findChild<QAction*>("mnuEditUndo")->trigger();
    EXPECT_EQ(w->hyo().cellString(2, 2), "ripe");
}

TEST_F(CardWindowTest, TitlesAreEditedInTheCardAndTooLongOnesKeepItOpen) {
    auto w = openShown(Fruit);
    w->findChild<QAction*>("mnuShowOneHeader")->trigger();
    ASSERT_TRUE(w->hyo().inHeaderMode());
    withCard(*w, [&](TfrmCard& card) {
        EXPECT_EQ(caption(card), QStringLiteral("カード編集:1行目"));
        EXPECT_EQ(card.cardTable().cellString(0, 1), "price");
        goTo(card, 0, 1);
        type(card, "cost");
        goTo(card, 0, 2);
        type(card, std::string(61, 'n').c_str());
        prompt.answer(PromptAnswer::Ok);
        card.close();
        EXPECT_TRUE(card.isVisible());
        EXPECT_EQ(prompt.last().text, "3行目のヘッダーサイズが大きすぎます。");
        EXPECT_EQ(w->hyo().columnTitle(1), "price");
        goTo(card, 0, 2);
        type(card, "memo");
        card.close();
        EXPECT_FALSE(card.isVisible());
    });
    EXPECT_EQ(w->hyo().columnTitle(1), "cost");
    EXPECT_EQ(w->hyo().columnTitle(2), "memo");
    w->findChild<QAction*>("mnuEditUndo")->trigger();
    EXPECT_EQ(w->hyo().columnTitle(1), "price");
    EXPECT_EQ(w->hyo().columnTitle(2), "note");
}

TEST_F(CardWindowTest, NewCardUndoInTheCardAndRememberedSizes) {
    auto w = openShown(Fruit);
    withCard(*w, [&](TfrmCard& card) {
        card.findChild<QAction*>("tb_New")->trigger();
        EXPECT_EQ(caption(card), QStringLiteral("カード編集:4行目"));
        EXPECT_EQ(card.cardTable().cellString(1, 0), "");
        goTo(card, 1, 0);
        type(card, "fig");
        goTo(card, 1, 1);
        type(card, "300");
        key(card, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(card.cardTable().cellString(1, 1), "");
        key(card, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(card.cardTable().cellString(1, 1), "300");
        key(card, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(card.cardTable().cellString(1, 1), "");
        card.cardTable().setColumnWidth(1, 333);
        card.cardTable().setRowHeight(1, 40);
        key(card, Qt::Key_F5);
        EXPECT_EQ(w->hyo().rowCount(), 4);
        EXPECT_EQ(w->hyo().rowString(3), "fig");
    });
    EXPECT_EQ(w->global().cardColumnWidth(1), 333);
    EXPECT_EQ(w->global().cardRowHeight(1), 40);
    withCard(*w, [&](TfrmCard& card) {
        EXPECT_EQ(card.cardTable().columnWidth(1), 333);
        EXPECT_EQ(card.cardTable().rowHeight(1), 40);
    });

    // A table of one row has no room for a new card.
    auto one = openShown("only\r\n");
    withCard(*one, [&](TfrmCard& card) {
        const int beeps = prompt.beeps();
        card.findChild<QAction*>("mnuFileNew")->trigger();
        EXPECT_EQ(prompt.beeps(), beeps + 1);
    });
}

TEST_F(CardWindowTest, CopyAndPasteStayInsideTheCard) {
    auto w = openShown(Fruit);
    withCard(*w, [&](TfrmCard& card) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        goTo(card, 1, 0);
        key(card, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(clipboard->text(), QStringLiteral("apple"));

        clipboard->setText(QStringLiteral("fig\n150"));
        card.findChild<QAction*>("mnu_EditPaste")->trigger();
        EXPECT_EQ(card.cardTable().cellString(1, 0), "fig");
        EXPECT_EQ(card.cardTable().cellString(1, 1), "150");
        EXPECT_TRUE(card.cardModified());

        // Card row i is data column i: a block wider than the value column does not fit.
        clipboard->setText(QStringLiteral("a\tb"));
        prompt.answer(PromptAnswer::Ok);
        key(card, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(prompt.last().text, "貼り付けるデータが多すぎます。");
        EXPECT_EQ(card.cardTable().cellString(1, 0), "fig");

        clipboard->clear();
        const int beeps = prompt.beeps();
        card.findChild<QAction*>("mnu_EditPasteNoRet")->trigger();
        EXPECT_EQ(prompt.beeps(), beeps + 1);

        goTo(card, 1, 2);
        prompt.answer(PromptAnswer::Ok);
        card.findChild<QAction*>("mnu_EditCopy")->trigger();
        EXPECT_EQ(prompt.last().text, "コピーするデータがありません。");
    });
    EXPECT_EQ(w->hyo().rowString(1), "fig\t150\t");
}

namespace {

// The card's last row is the row option's last row: stepping forwards and a new card.
TEST_F(CardWindowTest, TheCardEndsAtTheRowOptionsLastRow) {
    CMyHyo table;
    const bool was = table.journal().setRecording(false);
    table.setRow(0, "a\tb");
    table.setRow(499999, "x\ty");
    table.journal().setRecording(was);
    CMyGlobal global;
    for (int limit : {500000, 500001}) {
        RowLimitOption option(limit);
        TfrmCard card(table, global, {});
        card.loadCard(499998);
        card.moveCard(1);
        EXPECT_EQ(card.cardRow(), 499999);
        const int beeps = prompt.beeps();
        card.moveCard(1);
        card.moveCard(1);
        EXPECT_EQ(card.cardRow(), limit - 1);
        EXPECT_EQ(prompt.beeps(), beeps + (limit == 500000 ? 2 : 1));
        card.newCard();   // the row after the data is 500000
        EXPECT_EQ(card.cardRow(), limit == 500000 ? 499999 : 500000);
        EXPECT_EQ(prompt.beeps(), beeps + (limit == 500000 ? 3 : 1));
    }
}

}  // namespace
