// The Tools and Help menus of the main window on the offscreen platform: header mode, frozen
// columns, alternating background, zoom and the information window, through the menu items
// and their shortcuts on the real window.
#include "grid/Navigator.h"
#include "app/TfrmMain.h"

#include "editor/CMyEdit.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "support_gui/WhenDialogShows.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "support_gui/ShownWindow.h"

#include <memory>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

class ViewCommandsTest : public ::testing::Test {
protected:
    // A shown, active window with the grid focused, so shortcuts reach the menu items.
    std::unique_ptr<TfrmMain> openShown(const std::string& bytes) {
        const std::string path = home.write("v.csv", bytes);
        return openShownWindow(path);
    }
    static QAction* action(QWidget& w, const char* name) { return findAction(w, name); }
    static void press(TfrmMain& w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&w.gridWidget(), Qt::Key(key), modifiers);
    }
    // Check marks are set when the menu opens.
    static void openToolsMenu(TfrmMain& w) { emit w.findChild<QMenu*>("mnuTool")->aboutToShow(); }

    TempHome home;
};

} // namespace

TEST_F(ViewCommandsTest, ToolsAndHelpMenusHoldTheirItemsInOrder) {
    ScriptedPrompt prompt;
    TfrmMain w({});
    QMenu* tools = w.findChild<QMenu*>("mnuTool");
    ASSERT_NE(tools, nullptr);
    EXPECT_EQ(tools->title(), QStringLiteral("ツール(&T)"));
    QStringList names, texts, keys;
    for (QAction* a : tools->actions()) {
        if (a->isSeparator()) continue;
        names << a->objectName();
        texts << a->text();
        keys << a->shortcut().toString(QKeySequence::PortableText);
    }
    EXPECT_EQ(names, (QStringList{"mnuShowOneHeader", "mnuShowScrfix", "mnuKougo",
                                  "mnuOptionScaleUp", "mnuOptionScaleDown", "mnuToolCardEdit",
                                  "mnuOptionUserKey", "mnuOptionOption"}));
    EXPECT_EQ(texts, (QStringList{"１行目をヘッダーとする(&H)", "列固定(&R)", "交互背景色モード(&L)",
                                  "表示拡大(&U)", "表示縮小(&S)", "カード編集(&C)...",
                                  "ユーザー定義キー割当", "オプション(&O)..."}));
    EXPECT_EQ(keys, (QStringList{"", "", "Ctrl+L", "F9", "Shift+F9", "F5", "", "Ctrl+O"}));
    EXPECT_TRUE(action(w, "mnuToolCardEdit")->isEnabled());
    EXPECT_TRUE(action(w, "mnuOptionOption")->isEnabled());
    EXPECT_TRUE(action(w, "mnuOptionUserKey")->isEnabled());
    EXPECT_TRUE(action(w, "mnuOptionScaleUp")->isEnabled());

    QMenu* help = w.findChild<QMenu*>("mnuHelp");
    ASSERT_NE(help, nullptr);
    names.clear();
    for (QAction* a : help->actions())
        if (!a->isSeparator()) names << a->objectName();
    EXPECT_EQ(names, (QStringList{"mnuHelpHelp", "mnuHelpData", "mnuHelpFolder", "mnuHelpAbout"}));
    EXPECT_EQ(action(w, "mnuHelpData")->text(), QStringLiteral("選択中の情報表示(&D)..."));
    // The menu bar's order: the Tools menu stands before Help.
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_GE(bar.size(), 2);
    EXPECT_EQ(bar[bar.size() - 2]->menu(), tools);
    EXPECT_EQ(bar.last()->menu(), help);
}

TEST_F(ViewCommandsTest, ToolBarButtonsAre25Wide) {
    ScriptedPrompt prompt;
    TfrmMain w({});
    auto* bar = w.findChild<QToolBar*>("ToolBar2");
    ASSERT_NE(bar, nullptr);
    for (const char* name : {"tb_New", "tb_SaveFMT", "tb_Ret", "tb_Card"})
        EXPECT_EQ(bar->widgetForAction(action(w, name))->width(), 25) << name;
}

TEST_F(ViewCommandsTest, HeaderModeFromTheMenuIsUndoneByCtrlZ) {
    ScriptedPrompt prompt;
    auto w = openShown("name,age\n1,2\n3,4\n");
    w->goToCell(1, 2);
    action(*w, "mnuShowOneHeader")->trigger();
    EXPECT_TRUE(w->hyo().inHeaderMode());
    EXPECT_EQ(w->hyo().columnTitle(0), "name");
    EXPECT_EQ(w->hyo().rowCount(), 2);
    EXPECT_EQ(w->hyo().cellString(0, 0), "1");
    EXPECT_EQ(w->view().curRow(), 0);
    EXPECT_EQ(w->statusPanelText(0), QStringLiteral("MAX列:2 MAX行:2"));
    openToolsMenu(*w);
    EXPECT_TRUE(action(*w, "mnuShowOneHeader")->isChecked());

    press(*w, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(w->hyo().inHeaderMode());
    EXPECT_EQ(w->hyo().rowCount(), 3);
    EXPECT_EQ(w->hyo().cellString(0, 0), "name");
    EXPECT_EQ(w->hyo().columnTitle(0), "");
    openToolsMenu(*w);
    EXPECT_FALSE(action(*w, "mnuShowOneHeader")->isChecked());
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ViewCommandsTest, RefusedHeaderModeLeavesTheItemUnchecked) {
    ScriptedPrompt prompt;
    TfrmMain w({});
    prompt.answer(PromptAnswer::Ok);
    action(w, "mnuShowOneHeader")->trigger();
    EXPECT_EQ(prompt.last().text, "ヘッダーに指定する項目がありません。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_FALSE(w.hyo().inHeaderMode());
    // Qt ticks a checkable item before it runs; the refusal must take the tick away again.
    EXPECT_FALSE(action(w, "mnuShowOneHeader")->isChecked());
}

TEST_F(ViewCommandsTest, TextBeingTypedStaysInItsCellWhenTheHeaderRowLeaves) {
    ScriptedPrompt prompt;
    auto w = openShown("a,b\n1,2\n");
    w->goToCell(0, 1);
    press(*w, Qt::Key_X);
    ASSERT_TRUE(w->isEditing());
    action(*w, "mnuShowOneHeader")->trigger();
    EXPECT_FALSE(w->isEditing());
    ASSERT_TRUE(w->hyo().inHeaderMode());
    EXPECT_EQ(w->hyo().columnTitle(0), "a");
    EXPECT_EQ(w->hyo().cellString(0, 0), "x");
    EXPECT_EQ(w->hyo().cellString(1, 0), "2");
    EXPECT_EQ(w->hyo().rowCount(), 1);
}

TEST_F(ViewCommandsTest, FrozenColumnsFromTheMenuSetTheScrollMinimumAndTheCheck) {
    ScriptedPrompt prompt;
    auto w = openShown("1,2,3,4,5\n");
    auto* bottom = w->findChild<QScrollBar*>("scr_Bottom");
    w->goToCell(2, 0);
    action(*w, "mnuShowScrfix")->trigger();
    ASSERT_GT(w->view().frozenEnd(), 0);
    EXPECT_EQ(bottom->minimum(), w->view().frozenEnd());
    openToolsMenu(*w);
    EXPECT_TRUE(action(*w, "mnuShowScrfix")->isChecked());

    action(*w, "mnuShowScrfix")->trigger();
    EXPECT_EQ(w->view().frozenEnd(), 0);
    EXPECT_EQ(bottom->minimum(), 0);
    openToolsMenu(*w);
    EXPECT_FALSE(action(*w, "mnuShowScrfix")->isChecked());
}

TEST_F(ViewCommandsTest, CtrlLSwitchesTheAlternatingBackground) {
    ScriptedPrompt prompt;
    auto w = openShown("1\n2\n3\n");
    press(*w, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(w->navigation().alternateMode());
    EXPECT_TRUE(action(*w, "mnuKougo")->isChecked());
    EXPECT_FALSE(w->isEditing());
    action(*w, "mnuKougo")->trigger();
    EXPECT_FALSE(w->navigation().alternateMode());
    openToolsMenu(*w);
    EXPECT_FALSE(action(*w, "mnuKougo")->isChecked());
}

TEST_F(ViewCommandsTest, ZoomKeysStepByTenWithinTheLimits) {
    ScriptedPrompt prompt;
    auto w = openShown("1,2\n");
    press(*w, Qt::Key_F9);
    EXPECT_EQ(w->global().viewScale(), 110);
    EXPECT_EQ(w->statusPanelText(5), QStringLiteral("110%"));
    press(*w, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_EQ(w->global().viewScale(), 100);
    press(*w, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(w->global().viewScale(), 110);
    press(*w, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    press(*w, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(w->global().viewScale(), 90);
    EXPECT_EQ(w->statusPanelText(5), QStringLiteral("90%"));
    // The menu items do the same as their keys.
    action(*w, "mnuOptionScaleUp")->trigger();
    EXPECT_EQ(w->global().viewScale(), 100);
    action(*w, "mnuOptionScaleDown")->trigger();
    EXPECT_EQ(w->global().viewScale(), 90);

    // Nothing while a cell is being edited.
    press(*w, Qt::Key_A);
    ASSERT_TRUE(w->isEditing());
    press(*w, Qt::Key_F9);
    EXPECT_EQ(w->global().viewScale(), 90);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(ViewCommandsTest, ZoomStopsAt400And50) {
    ScriptedPrompt prompt;
    home.write("vexil.ini", "[OPT]\r\nSCALE=400\r\n");
    auto high = openShown("1\n");
    press(*high, Qt::Key_F9);
    EXPECT_EQ(high->global().viewScale(), 400);
    EXPECT_EQ(high->statusPanelText(5), QStringLiteral("400%"));
    high.reset();

    home.write("vexil.ini", "[OPT]\r\nSCALE=50\r\n");
    auto low = openShown("1\n");
    press(*low, Qt::Key_F9, Qt::ShiftModifier);
    EXPECT_EQ(low->global().viewScale(), 50);
}

TEST_F(ViewCommandsTest, InformationItemListsTheSelectionInItsWindow) {
    ScriptedPrompt prompt;
    auto w = openShown("1,22\n333,\n");
    press(*w, Qt::Key_Right, Qt::ShiftModifier);
    QString caption;
    int entries = -1;
    whenDialogShows([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        if (auto* list = dialog.findChild<QListWidget*>("lst_Main")) entries = list->count();
        dialog.accept();
    });
    action(*w, "mnuHelpData")->trigger();
    EXPECT_EQ(caption, QStringLiteral("情報表示"));
    EXPECT_EQ(entries, 6);
}

TEST_F(ViewCommandsTest, AboutBoxShowsNameAndVersionAndClosesWithOk) {
    ScriptedPrompt prompt;
    auto w = openShown("1\n");
    press(*w, Qt::Key_A);
    ASSERT_TRUE(w->isEditing());
    QString caption;
    QStringList labels;
    whenDialogShows([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        for (QLabel* l : dialog.findChildren<QLabel*>()) labels << l->text();
        if (auto* ok = dialog.findChild<QPushButton*>("cmd_Ok")) ok->click();
    });
    action(*w, "mnuHelpAbout")->trigger();
    EXPECT_EQ(caption, QStringLiteral("バージョン情報"));
    EXPECT_TRUE(labels.contains(QStringLiteral("Vexil")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Ver 1.52")));
    // The edit was stored before the box opened.
    EXPECT_FALSE(w->isEditing());
    EXPECT_EQ(w->hyo().cellString(0, 0), "a");
}
