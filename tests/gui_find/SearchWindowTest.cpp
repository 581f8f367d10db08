// Sort, find, replace and filter on the real main window: the dialog shown modally, the cursor,
// the caption, the status bar, the scroll bars and the undo journal afterwards.
#include "app/CommandSurfaces.h"
#include "grid/Navigator.h"
#include "app/SearchRunner.h"
#include "app/TfrmMain.h"

#include "dialogs/TfrmFind.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "support_gui/ShownWindow.h"

#include "support_gui/WhenDialogShows.h"

#include <functional>
#include <memory>

namespace {

class SearchWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> open(const std::string& bytes) {
        const std::string path = home.write("s.csv", bytes);
        return openShownWindow(path);
    }
    static void fillAndClick(TfrmFind& dialog, const QString& text, const char* button,
                             const QString& replacement = QString()) {
        dialog.findChild<QComboBox*>("cbo_Data")->setEditText(text);
        if (!replacement.isNull()) dialog.findChild<QComboBox*>("cbo_Press")->setEditText(replacement);
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    static std::string column(TfrmMain& w, int c) {
        std::string out;
        for (int row = 0; row < w.hyo().rowCount(); ++row) out += w.hyo().cellString(c, row) + "|";
        return out;
    }
    static QString caption(TfrmMain& w) { return w.windowTitle(); }
    static QAction* action(TfrmMain& w, const char* name) {
        QAction* a = w.findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    // Shortcuts reach the menu only in the active window; the offscreen platform does not
    // give activation back when a modal dialog closes.
    static void press(TfrmMain& w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (QApplication::activeWindow() != &w) {
            QApplication::setActiveWindow(&w);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        }
        QTest::keyClick(&w.gridWidget(), Qt::Key(key), modifiers);
    }

    TempHome home;
    ScriptedPrompt prompt;
};

}  // namespace

TEST_F(SearchWindowTest, SortButtonsAndPaletteSortMarkModifiedAndUndoOneSortAtATime) {
    auto w = open("b,2\r\na,1\r\nb,1\r\n");
    w->hyo().setCell(0, 0, "c");
    w->goToCell(1, 0);
    action(*w, "tb_SortDown")->trigger();   // column 1 descending
    EXPECT_EQ(column(*w, 1), "2|1|1|");
    EXPECT_EQ(column(*w, 0), "c|a|b|");
    w->goToCell(0, 0);
    action(*w, "tb_SortUp")->trigger();     // column 0 ascending, then column 1 descending
    EXPECT_EQ(column(*w, 0), "a|b|c|");
    EXPECT_TRUE(caption(*w).contains(QStringLiteral("(更新)")));
    // The first sort left the rows as they were and made no step; the edit before it stays.
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(column(*w, 0), "c|a|b|");
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(column(*w, 0), "b|a|b|");
    // The palette's "降順" on a whole-column selection of column 1.
    w->view().setSelection(SelMade, SelColumns, CellBlock{1, 0, 1, 2});
    EXPECT_TRUE(w->commands().runPaletteSlot(2, 5));
    EXPECT_EQ(column(*w, 1), "2|1|1|");
    EXPECT_EQ(w->search().sortHistory().key(0).column, 1);
}

TEST_F(SearchWindowTest, CtrlFFindsF3AndShiftF3RepeatAndNotFoundBeeps) {
    auto w = open("x,abc\r\nABC,y\r\nz,abc\r\n");
    whenModal<TfrmFind>([](TfrmFind& d) { fillAndClick(d, "abc", "cmd_Down"); });
    press(*w, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 10);
    press(*w, Qt::Key_F3);
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 1);   // case ignored: ABC
    action(*w, "mnuFindFindDown")->trigger();
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 12);
    press(*w, Qt::Key_F3);
    EXPECT_EQ(prompt.beeps(), 1);
    EXPECT_EQ(w->statusPanelText(6), QStringLiteral("<<見つかりません>>"));
    EXPECT_FALSE(caption(*w).contains(QStringLiteral("(更新)")));
    press(*w, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 1);
}

TEST_F(SearchWindowTest, F3WithoutASearchOpensTheDialogAndTheToolbarFindToo) {
    auto w = open("a,b\r\n");
    bool shown = false;
    whenModal<TfrmFind>([&](TfrmFind& d) {
        shown = d.windowTitle() == QStringLiteral("検索");
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_Cancel"), Qt::LeftButton);
    });
    press(*w, Qt::Key_F3);
    EXPECT_TRUE(shown);
    shown = false;
    whenModal<TfrmFind>([&](TfrmFind& d) {
        shown = true;
        fillAndClick(d, "b", "cmd_Down");
    });
    action(*w, "tb_Find")->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(w->view().curColumn(), 1);
}

TEST_F(SearchWindowTest, FindAllColoursTheMatchesOfTheSelectionAndReportsTheCount) {
    auto w = open("k,k,n\r\nk,n,k\r\nk,k,k\r\n");
    w->view().setSelection(SelMade, SelCells, CellBlock{1, 0, 2, 1});   // columns 1-2, rows 0-1
    whenModal<TfrmFind>([](TfrmFind& d) {
        d.findChild<QCheckBox*>("chk_Color")->setChecked(true);
        d.findChild<QComboBox*>("cbo_Color")->setCurrentIndex(3);
        fillAndClick(d, "k", "cmd_FindAll");
    });
    prompt.answer(PromptAnswer::Ok);
    action(*w, "tb_Find")->trigger();
    EXPECT_EQ(prompt.last().text, "2箇所のセルの色を設定しました。");
    EXPECT_EQ(prompt.last().caption, "確認");
    EXPECT_EQ(w->hyo().cellAttribute(1, 0, AttrBackColour), 3);
    EXPECT_EQ(w->hyo().cellAttribute(2, 1, AttrBackColour), 3);
    EXPECT_EQ(w->hyo().cellAttribute(0, 0, AttrBackColour), -1);
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 21);
    EXPECT_TRUE(caption(*w).contains(QStringLiteral("(更新)")));
    // F3 afterwards colours as it finds.
    w->view().clearSelection();
    w->goToCell(2, 1);
    press(*w, Qt::Key_F3);
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 2);
    EXPECT_EQ(w->hyo().cellAttribute(0, 2, AttrBackColour), 3);
}

TEST_F(SearchWindowTest, CtrlRReplaceAllReportsTheCountAndUndoesInOneStep) {
    auto w = open("a/b,c/d\r\ne,f/g\r\n");
    whenModal<TfrmFind>([](TfrmFind& d) { fillAndClick(d, "/", "cmd_Press", "-"); });
    prompt.answer(PromptAnswer::Ok);
    press(*w, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(prompt.last().text, "3箇所のセルを置換しました。");
    EXPECT_EQ(column(*w, 1), "c-d|f-g|");
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 11);
    EXPECT_TRUE(caption(*w).contains(QStringLiteral("(更新)")));
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(column(*w, 0) + column(*w, 1), "a/b|e|c/d|f/g|");
}

TEST_F(SearchWindowTest, RegexReplaceAllFilterAndRunawayPatternsFromTheDialog) {
    auto w = open("2024/05,a1\r\n1999/12,b22\r\nnone,c\r\n");
    whenModal<TfrmFind>([](TfrmFind& d) {
        d.findChild<QCheckBox*>("chk_Regex")->setChecked(true);
        fillAndClick(d, "^(\\d{4})/(\\d\\d)$", "cmd_Press", "$2.$1");
    });
    prompt.answer(PromptAnswer::Ok);
    press(*w, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(prompt.last().text, "2箇所のセルを置換しました。");
    EXPECT_EQ(column(*w, 0), "05.2024|12.1999|none|");
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 1);
    action(*w, "mnuEditUndo")->trigger();
    EXPECT_EQ(column(*w, 0), "2024/05|1999/12|none|");

    // The box stays ticked for the next showing; a runaway pattern stops with a message.
    w->goToCell(1, 0);
    whenModal<TfrmFind>([](TfrmFind& d) {
        EXPECT_TRUE(d.findChild<QCheckBox*>("chk_Regex")->isChecked());
        fillAndClick(d, "[a-z]\\d{2}$", "cmd_Filter");
    });
    action(*w, "tb_FilterSet")->trigger();
    EXPECT_EQ(column(*w, 1), "b22|");
    EXPECT_TRUE(w->filterButtonDown());
    action(*w, "mnuFindSelClear")->trigger();
    w->hyo().setCell(0, 2, (std::string(40, 'a') + "b").c_str());
    w->goToCell(0, 0);
    whenModal<TfrmFind>([](TfrmFind& d) { fillAndClick(d, "(a+)+$", "cmd_Down"); });
    prompt.answer(PromptAnswer::Ok);
    press(*w, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(prompt.last().text, "検索が複雑すぎるため中断しました。");
    EXPECT_EQ(w->view().curColumn() * 10 + w->view().curRow(), 0);
    prompt.answer(PromptAnswer::Ok);
    whenModal<TfrmFind>([](TfrmFind& d) { fillAndClick(d, "(a+)+$", "cmd_Filter"); });
    action(*w, "tb_FilterSet")->trigger();
    EXPECT_EQ(prompt.last().text, "検索が複雑すぎるため中断しました。");
    EXPECT_FALSE(w->hyo().isFiltered());
    EXPECT_FALSE(w->filterButtonDown());
}

TEST_F(SearchWindowTest, FilterButtonsShowMatchingRowsFitTheBarsAndClearAgain) {
    std::string bytes;
    for (int i = 0; i < 2000; ++i) bytes += std::to_string(i) + (i % 500 == 0 ? ",keep\r\n" : ",drop\r\n");
    auto w = open(bytes);
    w->goToCell(1, 1900);
    EXPECT_FALSE(action(*w, "mnuFindSelClear")->isEnabled());
    whenModal<TfrmFind>([](TfrmFind& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("抽出（2列目）"));
        fillAndClick(d, "keep", "cmd_Filter");
    });
    action(*w, "tb_FilterSet")->trigger();
    EXPECT_EQ(column(*w, 0), "0|500|1000|1500|");
    EXPECT_TRUE(w->filterButtonDown());
    EXPECT_TRUE(action(*w, "mnuFindSelClear")->isEnabled());
    EXPECT_TRUE(caption(*w).endsWith(QStringLiteral(" - 【2列目を抽出中】")));
    auto* rows = w->findChild<QScrollBar*>("scr_Right");
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->maximum(), 4 + 500);
    EXPECT_LT(w->view().curRow(), 504);
    // An edit under the filter lands on the store row behind the view row.
    w->hyo().setCell(0, 2, "edited");
    action(*w, "tb_Filter")->trigger();   // released
    EXPECT_FALSE(w->filterButtonDown());
    EXPECT_EQ(w->hyo().rowCount(), 2000);
    EXPECT_EQ(w->hyo().cellString(0, 1000), "edited");
    EXPECT_EQ(rows->maximum(), 2500);
    EXPECT_FALSE(caption(*w).contains(QStringLiteral("抽出中")));
    action(*w, "tb_Filter")->trigger();   // pressed: the last condition without the dialog
    EXPECT_EQ(w->hyo().rowCount(), 4);
    action(*w, "mnuFindSelClear")->trigger();
    EXPECT_EQ(w->hyo().rowCount(), 2000);
    EXPECT_FALSE(w->filterButtonDown());
    // User key 2 toggles the button, 4 releases it.
    w->global().setUserKey(1, 2, false);
    w->global().setUserKey(3, 4, false);
    w->commands().runUserKey(2, false);
    EXPECT_EQ(w->hyo().rowCount(), 4);
    EXPECT_TRUE(w->filterButtonDown());
    w->commands().runUserKey(4, false);
    EXPECT_EQ(w->hyo().rowCount(), 2000);
}

TEST_F(SearchWindowTest, CancellingTheFirstFilterReleasesTheButton) {
    auto w = open("a\r\n");
    whenModal<TfrmFind>([](TfrmFind& d) { QTest::mouseClick(d.findChild<QPushButton*>("cmd_Cancel"), Qt::LeftButton); });
    action(*w, "tb_Filter")->trigger();
    EXPECT_FALSE(w->filterButtonDown());
    EXPECT_FALSE(w->hyo().isFiltered());
}
