// The tool palette opened by right clicks on the real grid, the user-defined keys pressed on
// the grid, and the enable and check marks a menu shows when it opens.
#include "app/CommandSurfaces.h"
#include "grid/Navigator.h"
#include "app/TfrmMain.h"
#include "dialogs/TfrmFind.h"
#include "dialogs/TfrmTool.h"
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
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <memory>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

class CommandSurfacesTest : public ::testing::Test {
protected:
    void open(const std::string& bytes) {
        const std::string path = home.write("p.csv", bytes);
        w = std::make_unique<TfrmMain>(std::vector<std::string>{path});
        w->resize(900, 600);
        w->show();
        activate();
    }
    void activate() {
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        w->gridWidget().setFocus();
    }
    QPoint cellPoint(int c, int r) const { return w->view().cellRect(c, r)->center(); }
    void rightClick(int c, int r) {
        QTest::mousePress(&w->gridWidget(), Qt::RightButton, {}, cellPoint(c, r));
    }
    // A left click on the row number or the column heading selects the whole row or column.
    void selectRow(int r) {
        QTest::mouseClick(&w->gridWidget(), Qt::LeftButton, {},
                          QPoint(w->view().rowNumberWidth() / 2, cellPoint(0, r).y()));
    }
    void selectColumn(int c) {
        QTest::mouseClick(&w->gridWidget(), Qt::LeftButton, {},
                          QPoint(cellPoint(c, 0).x(), w->view().headerHeight() / 2));
    }
    TfrmTool& palette() { return w->commands().palette(); }
    QRgb shown(int x, int y) { return palette().grab().toImage().pixel(x, y) & 0xFFFFFF; }
    void key(int digitKey, Qt::KeyboardModifiers extra = Qt::NoModifier) {
        QTest::keyClick(&w->gridWidget(), static_cast<Qt::Key>(digitKey), Qt::ControlModifier | extra);
    }
    std::string column(int c) {
        std::string out;
        for (int row = 0; row < w->hyo().rowCount(); ++row) out += w->hyo().cellString(c, row) + "|";
        return out;
    }
    QAction* action(const char* name) { return w->findChild<QAction*>(name); }
    // Opens the menu as a click on the menu bar would, so its rules are applied.
    void openMenu(const char* name) {
        QMenu* m = w->findChild<QMenu*>(name);
        emit m->aboutToShow();
    }

    TempHome home;
    ScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};

constexpr QRgb rgb(int r, int g, int b) { return QRgb((r << 16) | (g << 8) | b); }

} // namespace

TEST_F(CommandSurfacesTest, RightClickOpensThePaletteInTheModeOfTheSelection) {
    open("a,b,c\r\nd,e,f\r\ng,h,i\r\n");
    rightClick(1, 1);
    ASSERT_TRUE(palette().isVisible());
    EXPECT_EQ(palette().mode(), 0);
    EXPECT_EQ(palette().captions(),
              (QStringList{"コピー", "貼付", "貼付(改行なし)", "貼付(縦横変換)"}));
    EXPECT_EQ(palette().size(), QSize(324, 128));
    EXPECT_EQ(palette().pos(), w->gridWidget().mapToGlobal(cellPoint(1, 1)));
    EXPECT_EQ(palette().cursor().shape(), Qt::BlankCursor);
    // A right click on the palette only hides it.
    QTest::mousePress(&palette(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_FALSE(palette().isVisible());
    EXPECT_FALSE(w->document().modified);

    selectRow(1);
    rightClick(1, 1);
    EXPECT_EQ(palette().mode(), 1);
    EXPECT_EQ(palette().captions(), (QStringList{"行のコピー", "行の挿入", "行の削除"}));
    QTest::mousePress(&palette(), Qt::RightButton, {}, QPoint(10, 10));

    selectColumn(2);
    rightClick(2, 2);
    EXPECT_EQ(palette().mode(), 2);
    EXPECT_EQ(palette().captions(), (QStringList{"列幅調整", "列のコピー", "列の挿入", "列の削除",
                                                 "昇順", "降順"}));
    QTest::mousePress(&palette(), Qt::RightButton, {}, QPoint(10, 10));

    // Near the window's corner the palette moves left and up to stay inside it.
    QTest::mousePress(&w->gridWidget(), Qt::RightButton, {},
                      QPoint(w->gridWidget().width() - 5, w->gridWidget().height() - 5));
    EXPECT_LE(palette().frameGeometry().right(), w->frameGeometry().right());
    EXPECT_LE(palette().frameGeometry().bottom(), w->frameGeometry().bottom());
    QTest::mousePress(&palette(), Qt::RightButton, {}, QPoint(10, 10));

    // Not while a cell is being edited.
    w->view().clearSelection();
    w->goToCell(0, 0);
    QTest::keyClick(&w->gridWidget(), Qt::Key_F2);
    ASSERT_TRUE(w->editor().isActive());
    rightClick(1, 1);
    EXPECT_FALSE(palette().isVisible());
}

TEST_F(CommandSurfacesTest, PaletteDrawsItsBlocksAndOutlinesWhatThePointerIsOver) {
    open("a\r\n");
    rightClick(0, 0);
    EXPECT_EQ(shown(0, 0), rgb(125, 125, 125));
    EXPECT_EQ(shown(323, 127), rgb(125, 125, 125));
    EXPECT_EQ(shown(6, 24), rgb(220, 220, 220));
    EXPECT_EQ(shown(121, 60), rgb(128, 128, 128));
    EXPECT_EQ(shown(122, 60), rgb(255, 255, 255));
    // Background swatch 10 is the second row's third: light green.
    EXPECT_EQ(shown(168, 45), rgb(150, 255, 150));

    // The second command row inverts with the brush (exclusive or), 118 pixels wide.
    QTest::mouseMove(&palette(), QPoint(10, 5 + 18 + 9));
    EXPECT_EQ(palette().cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(palette().hovered().row, 1);
    EXPECT_EQ(shown(6, 24), rgb(220 ^ 100, 220 ^ 100, 220 ^ 255));
    EXPECT_EQ(shown(120, 24), rgb(220 ^ 100, 220 ^ 100, 220 ^ 255));
    EXPECT_EQ(shown(122, 24), rgb(255 ^ 100, 255 ^ 100, 0));   // over the white line
    EXPECT_EQ(shown(123, 24), rgb(220, 220, 220));
    EXPECT_EQ(shown(6, 10), rgb(220, 220, 220));
    // Below the fourth row of the cells mode, and above y 5, nothing reacts.
    QTest::mouseMove(&palette(), QPoint(10, 5 + 4 * 18 + 2));
    EXPECT_EQ(palette().hovered().kind, TfrmTool::Target::None);
    QTest::mouseMove(&palette(), QPoint(10, 4));
    EXPECT_EQ(palette().hovered().kind, TfrmTool::Target::None);
    EXPECT_EQ(shown(6, 24), rgb(220, 220, 220));

    // A swatch gets a two-pixel yellow exclusive-or outline; its inside keeps its colour.
    QTest::mouseMove(&palette(), QPoint(165, 40));
    EXPECT_EQ(palette().hovered(), (TfrmTool::Target{TfrmTool::Target::Swatch, -1, false, 10}));
    EXPECT_EQ(shown(160, 37), rgb(255, 255, 0));     // its black corner
    EXPECT_EQ(shown(161, 45), rgb(150 ^ 255, 0, 150));
    EXPECT_EQ(shown(162, 45), rgb(150, 255, 150));
    QTest::mouseMove(&palette(), QPoint(280, 90));
    EXPECT_EQ(palette().hovered(), (TfrmTool::Target{TfrmTool::Target::Swatch, -1, true, -1}));
    QTest::mouseMove(&palette(), QPoint(130, 100));   // second text row, first swatch
    EXPECT_EQ(palette().hovered().index, 8);
    EXPECT_TRUE(palette().hovered().text);
}

TEST_F(CommandSurfacesTest, PaletteClicksRunTheirCommandOrColourAndHide) {
    open("b,x\r\nc,y\r\na,z\r\n");
    selectColumn(0);
    rightClick(0, 1);
    QTest::mousePress(&palette(), Qt::LeftButton, {}, QPoint(30, 5 + 4 * 18 + 9));   // 昇順
    EXPECT_FALSE(palette().isVisible());
    EXPECT_EQ(column(0), "a|b|c|");
    EXPECT_EQ(column(1), "z|x|y|");
    EXPECT_TRUE(w->document().modified);
    rightClick(0, 1);
    QTest::mousePress(&palette(), Qt::LeftButton, {}, QPoint(30, 5 + 5 * 18 + 9));   // 降順
    EXPECT_EQ(column(0), "c|b|a|");

    // Whole rows: text colour 3 from the lower block, then "なし" of the lower block clears it.
    selectRow(1);
    rightClick(0, 1);
    QTest::mousePress(&palette(), Qt::LeftButton, {}, QPoint(128 + 3 * 16 + 4, 74 + 4));
    EXPECT_EQ(w->hyo().rowAttribute(1, AttrTextColour), 3);
    EXPECT_EQ(w->hyo().rowAttribute(1, AttrBackColour), -1);
    rightClick(0, 1);
    EXPECT_EQ(palette().captions().size(), 3);
    QTest::mousePress(&palette(), Qt::MiddleButton, {}, QPoint(280, 90));
    EXPECT_FALSE(palette().isVisible());
    EXPECT_EQ(w->hyo().rowAttribute(1, AttrTextColour), -1);
    // The upper block's second row is index + 8, on the cell under the cursor.
    w->view().clearSelection();
    w->goToCell(1, 2);
    rightClick(1, 2);
    QTest::mousePress(&palette(), Qt::LeftButton, {}, QPoint(128 + 16 + 4, 21 + 16 + 4));
    EXPECT_EQ(w->hyo().cellAttribute(1, 2, AttrBackColour), 9);
    // A click beside the commands and swatches hides without running anything.
    const std::size_t journal = w->hyo().journal().usedBytes();
    rightClick(1, 2);
    QTest::mousePress(&palette(), Qt::LeftButton, {}, QPoint(200, 115));
    EXPECT_FALSE(palette().isVisible());
    EXPECT_EQ(w->hyo().journal().usedBytes(), journal);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(CommandSurfacesTest, PaletteHidesWhenAnotherWindowIsActivated) {
    open("a\r\n");
    rightClick(0, 0);
    ASSERT_TRUE(palette().isVisible());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QTest::qWait(20);
    EXPECT_FALSE(palette().isVisible());
}

TEST_F(CommandSurfacesTest, RedoRunsFromItsKeysItsMenuItemAndAUserKeyOnlyWhenThereIsSomething) {
    open("a,b\r\nc,d\r\n");
    QAction* redo = action("mnuEditRedo");
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(redo->text(), QStringLiteral("やり直し(&R)"));
    QStringList keys;
    for (const QKeySequence& k : redo->shortcuts()) keys << k.toString(QKeySequence::PortableText);
    EXPECT_EQ(keys, (QStringList{"Ctrl+Y", "Ctrl+Shift+Z"}));
    const QList<QAction*> items = w->findChild<QMenu*>("mnuEdit")->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), "mnuEditUndo");
    EXPECT_EQ(items[1], redo);
    openMenu("mnuEdit");
    EXPECT_FALSE(redo->isEnabled());

    w->goToCell(0, 0);
    QTest::keyClicks(&w->gridWidget(), QStringLiteral("x"));
    QTest::keyClick(&w->gridWidget(), Qt::Key_Return);
    ASSERT_EQ(column(0), "x|c|");
    key(Qt::Key_Z);
    EXPECT_EQ(column(0), "a|c|");
    openMenu("mnuEdit");
    EXPECT_TRUE(redo->isEnabled());
    w->goToCell(1, 1);
    key(Qt::Key_Y);
    EXPECT_EQ(column(0), "x|c|");
    EXPECT_EQ(w->view().curColumn(), 0);   // the cursor goes to the redone cell
    EXPECT_EQ(w->view().curRow(), 0);
    EXPECT_TRUE(w->document().modified);
    key(Qt::Key_Z);
    key(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(column(0), "x|c|");
    openMenu("mnuEdit");
    EXPECT_FALSE(redo->isEnabled());
    key(Qt::Key_Y);   // nothing to redo: nothing happens, no message
    EXPECT_EQ(column(0), "x|c|");

    w->global().setUserKey(0, 8, false);   // Ctrl+1: redo
    key(Qt::Key_Z);
    key(Qt::Key_1);
    EXPECT_EQ(column(0), "x|c|");

    // Typed text in the editor survives Ctrl+Y.
    key(Qt::Key_Z);
    w->goToCell(1, 1);
    QTest::keyClicks(&w->gridWidget(), QStringLiteral("typed"));
    ASSERT_TRUE(w->isEditing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
    ASSERT_TRUE(w->isEditing());
    EXPECT_EQ(w->editor().text(), "typed");
    EXPECT_EQ(column(0), "a|c|");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w->hyo().cellString(1, 1), "typed");
    // That change leaves nothing to redo.
    openMenu("mnuEdit");
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(CommandSurfacesTest, UserKeysFromTheGridRunEveryKindOfFunction) {
    open("ab,x\r\nkeep,k\r\ncd,y\r\n");
    CMyGlobal& g = w->global();
    g.setUserKey(0, 52, false);   // Ctrl+1: upper case
    g.setUserKey(2, 116, true);   // Shift+Ctrl+3: background white (15)
    g.setUserKey(3, 200, true);   // Shift+Ctrl+4: no text colour
    g.setUserKey(1, 201, false);  // Ctrl+2: text colour 0
    g.setUserKey(2, 3, false);    // Ctrl+3: filter with the dialog
    g.setUserKey(3, 2, false);    // Ctrl+4: filter button
    g.setUserKey(4, 4, false);    // Ctrl+5: filter off
    g.setUserKey(5, 5, false);    // Ctrl+6: first row as header
    g.setUserKey(6, 6, false);    // Ctrl+7: reload without the first question
    g.setUserKey(0, 7, true);     // Shift+Ctrl+1: reload after asking
    g.setUserKey(8, -1, true);    // Shift+Ctrl+9: not usable
    g.setUserKey(7, 999, false);  // Ctrl+8: no such function

    w->goToCell(0, 0);
    key(Qt::Key_1);
    EXPECT_EQ(w->hyo().cellString(0, 0), "AB");
    key(Qt::Key_NumberSign, Qt::ShiftModifier);   // Shift+3 as the US layout reports it
    EXPECT_EQ(w->hyo().cellAttribute(0, 0, AttrBackColour), 15);
    key(Qt::Key_2);
    EXPECT_EQ(w->hyo().cellAttribute(0, 0, AttrTextColour), 0);
    key(Qt::Key_Dollar, Qt::ShiftModifier);
    EXPECT_EQ(w->hyo().cellAttribute(0, 0, AttrTextColour), -1);
    EXPECT_TRUE(w->document().modified);

    w->goToCell(0, 1);
    whenDialogShows([](QDialog& d) {
        d.findChild<QComboBox*>("cbo_Data")->setEditText("keep");
        QTest::mouseClick(d.findChild<QPushButton*>("cmd_Filter"), Qt::LeftButton);
    });
    key(Qt::Key_3);
    EXPECT_EQ(w->hyo().rowCount(), 1);
    EXPECT_TRUE(w->filterButtonDown());
    activate();
    key(Qt::Key_4);   // released
    EXPECT_EQ(w->hyo().rowCount(), 3);
    key(Qt::Key_4);   // pressed again: the last condition, no dialog
    EXPECT_EQ(w->hyo().rowCount(), 1);
    key(Qt::Key_5);
    EXPECT_EQ(w->hyo().rowCount(), 3);
    EXPECT_FALSE(w->filterButtonDown());
    key(Qt::Key_5);   // nothing to lift
    EXPECT_EQ(w->hyo().rowCount(), 3);

    key(Qt::Key_6);
    EXPECT_TRUE(w->hyo().inHeaderMode());
    EXPECT_TRUE(prompt.shown().empty());

    // Asked first, and declined: nothing happens.
    prompt.answer(PromptAnswer::No);
    key(Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(prompt.last().text, "再読み込みをします。\nよろしいですか？");
    EXPECT_TRUE(w->document().modified);
    // Without that question the reload still asks before dropping the changes; the header
    // mode stays.
    prompt.answer(PromptAnswer::Yes);
    key(Qt::Key_7);
    EXPECT_EQ(prompt.last().text, "更新データが破棄されます。\nよろしいですか？");
    EXPECT_EQ(prompt.shown().size(), 2u);
    EXPECT_EQ(column(0), "keep|cd|");
    EXPECT_FALSE(w->document().modified);

    for (int i = 0; i < 3; ++i) prompt.answer(PromptAnswer::Ok);
    const size_t before = prompt.shown().size();
    key(Qt::Key_ParenLeft, Qt::ShiftModifier);
    key(Qt::Key_8);
    key(Qt::Key_0);   // no user key
    key(Qt::Key_9);   // never assigned
    ASSERT_EQ(prompt.shown().size(), before + 3);
    EXPECT_EQ(prompt.shown()[before].text, "使用出来ないユーザー定義キーです。");
    EXPECT_EQ(prompt.shown()[before + 1].text, "ユーザー定義キーに機能が割り当てられていません。");
    EXPECT_EQ(prompt.shown()[before + 2].text, "ユーザー定義キーに機能が割り当てられていません。");
    for (size_t i = before; i < prompt.shown().size(); ++i)
        EXPECT_EQ(prompt.shown()[i].caption, "注意");
}

TEST_F(CommandSurfacesTest, MenusApplyTheirRulesWhenTheyOpen) {
    open("a,b\r\nc,d\r\n");
    // Colour files on (the default) with a file whose colours are not beside it.
    w->global().setColourFileMode(1);
    w->document().colourMode = 0;
    openMenu("mnuFile");
    EXPECT_TRUE(w->findChild<QMenu*>("mnuFileCRSave")->isEnabled());
    EXPECT_TRUE(action("mnuFileCRLink")->isEnabled());
    EXPECT_FALSE(action("mnuFileCRKari")->isEnabled());
    w->document().colourMode = 1;
    openMenu("mnuFile");
    EXPECT_FALSE(action("mnuFileCRLink")->isEnabled());
    EXPECT_TRUE(action("mnuFileCRKari")->isEnabled());
    w->document().filePath.clear();
    openMenu("mnuFile");
    EXPECT_FALSE(action("mnuFileCRLink")->isEnabled());
    EXPECT_FALSE(action("mnuFileCRKari")->isEnabled());
    w->global().setColourFileMode(0);
    openMenu("mnuFile");
    EXPECT_FALSE(w->findChild<QMenu*>("mnuFileCRSave")->isEnabled());

    openMenu("mnuFind");
    EXPECT_FALSE(action("mnuFindSelClear")->isEnabled());
    w->hyo().applyFilter(0, "a", 0, 0, false);
    openMenu("mnuFind");
    EXPECT_TRUE(action("mnuFindSelClear")->isEnabled());

    openMenu("mnuTool");
    EXPECT_FALSE(action("mnuShowOneHeader")->isChecked());
    EXPECT_FALSE(action("mnuShowScrfix")->isChecked());
    EXPECT_FALSE(action("mnuKougo")->isChecked());
    w->hyo().takeHeaderRow();
    w->goToCell(1, 0);
    w->navigation().toggleFrozen();
    w->navigation().toggleAlternate();
    openMenu("mnuTool");
    EXPECT_TRUE(action("mnuShowOneHeader")->isChecked());
    EXPECT_TRUE(action("mnuShowScrfix")->isChecked());
    EXPECT_TRUE(action("mnuKougo")->isChecked());
}

TEST_F(CommandSurfacesTest, BlockedCommandsWaitForTheEditorOthersCommitIt) {
    open("b\r\na\r\n");
    w->goToCell(0, 0);
    QTest::keyClick(&w->gridWidget(), Qt::Key_F2);
    ASSERT_TRUE(w->editor().isActive());
    action("tb_SortUp")->trigger();
    action("tb_KindNum")->trigger();
    EXPECT_TRUE(w->editor().isActive());
    EXPECT_EQ(column(0), "b|a|");
    EXPECT_EQ(w->hyo().columnKind(0), 0);
    // A command that commits first stores the edit and then runs.
    QTest::keyClicks(&w->gridWidget(), "x");
    action("mnuEditUpper")->trigger();
    EXPECT_FALSE(w->editor().isActive());
    EXPECT_EQ(w->hyo().cellString(0, 0), "BX");
}
