// Editing cells through the grid: typing, F2, double click, commit rules, IME and the header.
#include "NavFixture.h"
#include "dialogs/TfrmInfomation.h"

#include "platform/core/CodePage.h"
#include "support/FullLentArea.h"
#include "support_gui/WhenDialogShows.h"

#include <QClipboard>
#include <QDialog>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QTimer>

namespace {

using EditingTest = NavFixture;

TEST_F(EditingTest, TypingOpensTheEditorAndLeftCommitsAndMoves) {
    setTable(5, 4);
    nav->goToCell(2, 1);
    type("Q");
    ASSERT_TRUE(edit->isActive());
    EXPECT_TRUE(edit->isTypingMode());
    EXPECT_FALSE(view->cursorShown());
    EXPECT_EQ(hyo.cellString(2, 1), "1,2");   // nothing stored before the commit
    press(Qt::Key_Left);
    EXPECT_FALSE(edit->isActive());
    EXPECT_EQ(hyo.cellString(2, 1), "Q");   // the old text is replaced as a whole
    EXPECT_EQ(column(), 1);
    EXPECT_EQ(row(), 1);
    EXPECT_EQ(modifiedCount, 1);
    EXPECT_TRUE(view->cursorShown());
}

TEST_F(EditingTest, F2KeepsTheTextAndLeftMovesTheCaret) {
    setRows({"abc"});
    press(Qt::Key_F2);
    ASSERT_TRUE(edit->isActive());
    EXPECT_FALSE(edit->isTypingMode());
    EXPECT_EQ(edit->caretPosition(), 3);
    press(Qt::Key_Left);
    EXPECT_TRUE(edit->isActive());
    EXPECT_EQ(edit->caretPosition(), 2);
    type("X");
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(0, 0), "abXc");
    EXPECT_EQ(row(), 1);   // Enter commits and moves down
}

TEST_F(EditingTest, HomeInTypingModeCommitsWithoutMoving) {
    setTable(5, 4);
    nav->goToCell(1, 1);
    type("z");
    press(Qt::Key_Home);
    EXPECT_FALSE(edit->isActive());
    EXPECT_EQ(hyo.cellString(1, 1), "z");
    EXPECT_EQ(column(), 1);
    EXPECT_EQ(row(), 1);
}

TEST_F(EditingTest, EscapeKeepsTheOldText) {
    setRows({"old"});
    press(Qt::Key_F2);
    type("new");
    press(Qt::Key_Escape);
    EXPECT_FALSE(edit->isActive());
    EXPECT_EQ(hyo.cellString(0, 0), "old");
    EXPECT_EQ(modifiedCount, 0);
    EXPECT_TRUE(view->cursorShown());
    // A later commit command does not store the cancelled text.
    nav->commitEdit();
    EXPECT_EQ(hyo.cellString(0, 0), "old");
}

TEST_F(EditingTest, CommittingNothingIntoAnEmptyCellChangesNothing) {
    setRows({"a\t\tc"});
    nav->goToCell(1, 0);
    press(Qt::Key_F2);
    press(Qt::Key_Return);
    EXPECT_EQ(modifiedCount, 0);
    EXPECT_EQ(hyo.rowString(0), "a\t\tc");
}

TEST_F(EditingTest, CtrlEnterAddsALineAndTheRowGrowsByOneLinePitch) {
    setRows({"ab\t1"});
    press(Qt::Key_F2);
    press(Qt::Key_Return, Qt::ControlModifier);
    type("cd");
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(0, 0), "ab\r\ncd");
    EXPECT_EQ(hyo.rowHeight(0), 16 + edit->linePitch());
}

TEST_F(EditingTest, ATallerRowAndItsTextUndoAsOneStep) {
    setRows({"ab\t1", "x"});
    hyo.journal().clear();
    press(Qt::Key_F2);
    press(Qt::Key_Return, Qt::ControlModifier);
    type("cd");
    press(Qt::Key_Return);
    ASSERT_GT(hyo.rowHeight(0), 16);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    UndoPosition at = hyo.undo();
    EXPECT_EQ(at.column, 0);
    EXPECT_EQ(at.row, 0);
    EXPECT_EQ(hyo.cellString(0, 0), "ab");
    EXPECT_EQ(hyo.rowHeight(0), 16);
    EXPECT_EQ(hyo.rowString(0), "ab\t1");   // no height record left behind
    EXPECT_EQ(hyo.journal().entryCount(), 0);

    // A new cell beyond the data: undo takes the grown table back with the height.
    nav->goToCell(1, 4);
    press(Qt::Key_F2);
    press(Qt::Key_Return, Qt::ControlModifier);
    press(Qt::Key_Return);
    ASSERT_EQ(hyo.rowCount(), 5);
    hyo.undo();
    EXPECT_EQ(hyo.rowCount(), 2);
    EXPECT_EQ(hyo.journal().entryCount(), 0);
}

TEST_F(EditingTest, AnEditTooBigForTheJournalLeavesNoHalfStep) {
    setRows({std::string(3000, 'a'), "b"});
    nav->goToCell(0, 1);
    type("c");
    press(Qt::Key_Return);   // one step the journal keeps
    hyo.journal().setLimit(1000);
    ASSERT_EQ(hyo.journal().entryCount(), 1);   // a changed limit keeps the steps that fit
    nav->goToCell(0, 1);
    type("d");
    press(Qt::Key_Return);
    ASSERT_EQ(hyo.journal().entryCount(), 2);
    nav->goToCell(0, 0);
    press(Qt::Key_F2);
    press(Qt::Key_Return, Qt::ControlModifier);
    press(Qt::Key_Return);
    ASSERT_GT(hyo.rowHeight(0), 16);
    // The 3000 old bytes do not fit: neither the text nor the height makes a step.
    EXPECT_EQ(hyo.journal().entryCount(), 2);
    hyo.undo();
    EXPECT_EQ(hyo.cellString(0, 1), "c");
    EXPECT_EQ(hyo.cellString(0, 0), std::string(3000, 'a') + "\r\n");
    hyo.undo();
    EXPECT_EQ(hyo.cellString(0, 1), "b");
}

TEST_F(EditingTest, ACommitThatKeepsTheHeightIsOneTextStep) {
    setRows({"ab"});
    hyo.journal().clear();
    press(Qt::Key_F2);
    type("c");
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.journal().entryCount(), 1);
    hyo.undo();
    EXPECT_EQ(hyo.cellString(0, 0), "ab");
    EXPECT_EQ(hyo.rowHeight(0), 16);
}

TEST_F(EditingTest, AnEditAtAnotherZoomKeepsTheRowHeightUnlessLinesWereAdded) {
    setRows({"ab", "cd", "ef"});
    hyo.setRowHeight(0, 17);   // drawn 27 pixels high at 150 %
    hyo.setRowHeight(1, 9);    // lower than the editor's font
    nav->zoom(50);
    ASSERT_EQ(global->viewScale(), 150);
    hyo.journal().clear();
    press(Qt::Key_F2);
    type("x");
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(0, 0), "abx");
    EXPECT_EQ(hyo.rowHeight(0), 17);
    EXPECT_EQ(hyo.journal().entryCount(), 1);   // the text alone
    // A row lower than the font grows to hold the editor's line.
    press(Qt::Key_F2);
    press(Qt::Key_Return);
    EXPECT_GT(hyo.rowHeight(1), 9);
    // An added line makes the row taller.
    nav->goToCell(0, 2);
    press(Qt::Key_F2);
    press(Qt::Key_Return, Qt::ControlModifier);
    press(Qt::Key_Return);
    EXPECT_GT(hyo.rowHeight(2), 16);
}

TEST_F(EditingTest, TheCommittedHeightStaysWithinItsSixteenBits) {
    setRows({"ab"});
    hyo.setRowHeight(0, 65535);
    nav->zoom(-50);   // at 50 % the row is drawn 32768 pixels high
    ASSERT_EQ(global->viewScale(), 50);
    press(Qt::Key_F2);
    ASSERT_TRUE(edit->isActive());
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(0, 0), "ab");
    EXPECT_EQ(hyo.rowHeight(0), 65535);
}

TEST_F(EditingTest, CtrlEnterInANumberColumnDoesNothing) {
    setRows({"ab\t12"});
    hyo.setColumnKind(1, 1, 1);
    nav->goToCell(1, 0);
    press(Qt::Key_F2);
    ASSERT_TRUE(edit->isRightAligned());
    press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(edit->lineCount(), 1);
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(1, 0), "12");
    EXPECT_EQ(hyo.rowHeight(0), 16);
}

TEST_F(EditingTest, TypedCellsBeyondTheDataExtendTheTable) {
    setTable(2, 2);
    nav->goToCell(3, 6);
    type("far");
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(3, 6), "far");
    EXPECT_GE(hyo.rowCount(), 7);
    EXPECT_GE(scrRight->maximum(), 507);
}

TEST_F(EditingTest, DoubleClickEditsAndAClickOutsideCommits) {
    setTable(5, 4);
    QPoint cell = centreOf(1, 1);
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseDClick(grid, Qt::LeftButton, Qt::NoModifier, cell);
    ASSERT_TRUE(edit->isActive());
    EXPECT_EQ(edit->text(), "1,1");
    type("+");
    // A click inside the box moves the caret and stays in the editor.
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, edit->boxRect().topLeft() + QPoint(1, 1));
    EXPECT_TRUE(edit->isActive());
    EXPECT_EQ(edit->caretPosition(), 0);
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, centreOf(3, 3));
    EXPECT_FALSE(edit->isActive());
    EXPECT_EQ(hyo.cellString(1, 1), "1,1+");
    EXPECT_EQ(column(), 3);
    EXPECT_EQ(row(), 3);
}

TEST_F(EditingTest, ScrollingCommitsTheEdit) {
    setTable(100, 4);
    type("s");
    scrRight->setValue(10);
    EXPECT_FALSE(edit->isActive());
    EXPECT_EQ(hyo.cellString(0, 0), "s");
}

TEST_F(EditingTest, InputMethodCommitTypesJapaneseIntoTheCell) {
    setTable(5, 4);
    nav->goToCell(2, 2);
    QInputMethodEvent preedit(QString::fromUtf8("にほんご"), {});
    QApplication::sendEvent(grid, &preedit);
    EXPECT_FALSE(edit->isActive());   // composing alone does not start an edit
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("日本語"));
    QApplication::sendEvent(grid, &commit);
    ASSERT_TRUE(edit->isActive());
    EXPECT_TRUE(edit->isTypingMode());
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(2, 2), CodePage::toCp932("日本語"));
}

TEST_F(EditingTest, BackspaceStartsAnEmptyEdit) {
    setRows({"abc"});
    press(Qt::Key_Backspace);
    ASSERT_TRUE(edit->isActive());
    EXPECT_EQ(edit->text(), "");
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(0, 0), "");   // the empty edit replaces the old text
    EXPECT_EQ(modifiedCount, 1);
}

TEST_F(EditingTest, HeaderRefusesATitleOfSixtyOneBytes) {
    setRows({"a\tb\t" + std::string(61, 'x') + "\td", "1\t2\t3\t4"});
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(nav->toggleHeader());
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "3列目のサイズが大きすぎます。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.rowCount(), 2);
}

TEST_F(EditingTest, HeaderOnAndOffAndItsUndo) {
    setRows({"name\tage", "ann\t7", "bob\t9"});
    nav->goToCell(1, 2);
    ASSERT_TRUE(nav->toggleHeader());
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.columnTitle(0), "name");
    EXPECT_EQ(hyo.cellString(0, 0), "ann");
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(row(), 0);
    ASSERT_TRUE(nav->toggleHeader());
    EXPECT_FALSE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.cellString(1, 0), "age");
    EXPECT_EQ(hyo.columnTitle(1), "");
    hyo.undo();   // undoes switching it off
    EXPECT_TRUE(hyo.inHeaderMode());
    EXPECT_EQ(hyo.cellString(0, 0), "ann");
}

TEST_F(EditingTest, HeaderRefusalsWhileFilteredOrEmpty) {
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(nav->toggleHeader());
    EXPECT_EQ(prompt.last().text, "ヘッダーに指定する項目がありません。");
    setRows({"a"});
    hyo.setFilterActive(true);
    prompt.answer(PromptAnswer::Ok);
    EXPECT_FALSE(nav->toggleHeader());
    EXPECT_EQ(prompt.last().text, "抽出中は出来ません。");
    hyo.setFilterActive(false);
}

TEST_F(EditingTest, AlternateModeSwitchesBandsAndDataEndLines) {
    setTable(10, 3);
    nav->setAlternateMode(false, 2, 3);
    nav->toggleAlternate();
    EXPECT_TRUE(nav->alternateMode());
    EXPECT_EQ(view->alternateColour(), qRgb(240, 240, 255));
    nav->toggleAlternate();
    EXPECT_FALSE(nav->alternateMode());
}

}  // namespace

namespace {

TEST_F(EditingTest, InformationWindowListsSixLinesForTheSelection) {
    setRows({"1\t22", "333\t"});
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    QStringList shown;
    QString caption, name;
    whenDialogShows([&](QDialog& dialog) {
        caption = dialog.windowTitle();
        name = dialog.objectName();
        auto* list = dialog.findChild<QListWidget*>("lst_Main");
        for (int i = 0; list && i < list->count(); ++i) shown << list->item(i)->text();
        dialog.accept();
    });
    TfrmInfomation::showItems(nullptr, nav->selectionInformation());
    EXPECT_EQ(caption, QString::fromUtf8("情報表示"));
    EXPECT_EQ(name, QStringLiteral("TfrmInfomation"));
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown[0], QString::fromUtf8("範囲：(1-1) - (2-2)"));
    EXPECT_EQ(shown[1], QString::fromUtf8("全文字サイズ:6"));
    EXPECT_EQ(shown[3], QString::fromUtf8("最大文字サイズ位置:1-2"));
    EXPECT_EQ(shown[5], QString::fromUtf8("最小文字サイズ位置:2-2"));
}

}  // namespace

namespace {

TEST_F(EditingTest, ClipboardKeysInsideTheEditor) {
    setRows({"abc"});
    press(Qt::Key_F2);
    press(Qt::Key_Home, Qt::ShiftModifier);
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("abc"));
    EXPECT_EQ(edit->text(), "");
    press(Qt::Key_V, Qt::ControlModifier);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "abcabc");
    press(Qt::Key_Return);
    EXPECT_EQ(hyo.cellString(0, 0), "abcabc");
}

TEST_F(EditingTest, CutOnTheGridClearsOnlyAfterASuccessfulCopy) {
    setTable(3, 3);
    bool copyWorks = false;
    int copies = 0;
    host.copy = [&] {
        ++copies;
        return copyWorks;
    };
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(copies, 1);
    EXPECT_EQ(hyo.cellString(1, 0), "0,1");
    EXPECT_EQ(modifiedCount, 0);
    copyWorks = true;
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(hyo.cellString(0, 0), "");
    EXPECT_EQ(hyo.cellString(1, 0), "");
    EXPECT_EQ(hyo.cellString(2, 0), "0,2");
    EXPECT_EQ(modifiedCount, 1);
    EXPECT_FALSE(edit->isActive());
}

}  // namespace

namespace {

TEST_F(EditingTest, TypingDrawsOnlyTheEditorBox) {
    setTable(50, 5);
    long renders = view->renderCount();
    type("typing never renders the grid");
    EXPECT_EQ(view->renderCount(), renders);
    EXPECT_EQ(edit->text(), "typing never renders the grid");
}

TEST_F(EditingTest, TheTextGoesToTheCellTheEditWasOpenedOn) {
    setTable(5, 5);
    nav->goToCell(1, 1);
    type("here");
    view->setCurrentCell(3, 3);   // something moved the cursor behind the editor's back
    nav->commitEdit();
    EXPECT_EQ(hyo.cellString(1, 1), "here");
    EXPECT_EQ(hyo.cellString(3, 3), "3,3");
}

}  // namespace

namespace {

// Typing, editor keys, clicks, double clicks, wheel and scroll bars mixed from a fixed seed:
// the editor only ever sits over the cell it was opened on, and what Enter stores is what the
// editor held.
TEST_F(EditingTest, MixedEditingSessionsStoreWhatTheEditorHeld) {
    setTable(60, 8);
    const char* texts[] = {"a", "Zz", "1.5", " ", "-"};
    const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home,
                        Qt::Key_End, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_F2,
                        Qt::Key_Insert, Qt::Key_PageDown, Qt::Key_PageUp};
    unsigned seed = 4242;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int step = 0; step < 1500; ++step) {
        const unsigned what = next(20);
        if (what < 6) {
            type(texts[next(5)]);
        } else if (what < 12) {
            press(keys[next(12)], next(4) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
        } else if (what == 12) {
            press(Qt::Key_Return, Qt::ControlModifier);
        } else if (what == 13) {
            press(Qt::Key_Escape);
        } else if (what == 14) {
            if (edit->isActive()) {
                const int c = view->curColumn(), r = view->curRow();
                const std::string held = edit->text();
                press(Qt::Key_Return);
                ASSERT_FALSE(edit->isActive());
                ASSERT_EQ(hyo.cellString(c, r), held) << "step " << step;
            } else {
                press(Qt::Key_Return);
            }
        } else if (what == 15) {
            QPoint p(static_cast<int>(next(grid->width())), static_cast<int>(next(grid->height())));
            QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, p);
        } else if (what == 16) {
            QPoint p(static_cast<int>(next(grid->width())), static_cast<int>(next(grid->height())));
            QTest::mouseDClick(grid, Qt::LeftButton, Qt::NoModifier, p);
        } else if (what == 17) {
            scrRight->setValue(static_cast<int>(next(80)));
        } else if (what == 18) {
            scrBottom->setValue(static_cast<int>(next(10)));
        } else if (next(2)) {
            QInputMethodEvent commit;
            commit.setCommitString(QString::fromUtf8("日本"));
            QApplication::sendEvent(grid, &commit);
        } else {
            nav->commitEdit();
        }
        if (edit->isActive()) {
            std::optional<QRect> cell = view->cellRect(view->curColumn(), view->curRow());
            ASSERT_TRUE(cell.has_value()) << "step " << step;
            ASSERT_EQ(edit->boxRect().top(), cell->top() + 1) << "step " << step;
            ASSERT_FALSE(view->cursorShown());
        }
        ASSERT_LE(edit->totalLength(), CMyEdit::CellByteLimit + 200);
    }
}

}  // namespace

namespace {

TEST_F(EditingTest, ACharacterTheCellCannotHoldStartsNoEdit) {
    const FullLentArea full;   // no lent code is left for the emoji
    setTable(5, 4);
    nav->goToCell(1, 1);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, QString::fromUtf8("😀"),
                        Qt::NoModifier);
    EXPECT_FALSE(edit->isActive());
    EXPECT_EQ(prompt.beeps(), 1);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("😀"));
    QApplication::sendEvent(grid, &commit);
    EXPECT_FALSE(edit->isActive());
    EXPECT_EQ(prompt.beeps(), 2);
    // A click elsewhere commits nothing: the cell keeps its text.
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, centreOf(3, 3));
    EXPECT_EQ(hyo.cellString(1, 1), "1,1");
    EXPECT_EQ(modifiedCount, 0);
    // Text that holds something typeable still opens the edit, without the rest.
    nav->goToCell(1, 1);
    commit.setCommitString(QString::fromUtf8("😀x"));
    QApplication::sendEvent(grid, &commit);
    ASSERT_TRUE(edit->isActive());
    EXPECT_EQ(edit->text(), "x");
    EXPECT_EQ(prompt.beeps(), 3);
    press(Qt::Key_Escape);
    // A key the platform cannot name still types its character.
    nav->goToCell(2, 2);
    QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, QString::fromUtf8("ア"),
                        Qt::NoModifier);
    ASSERT_TRUE(edit->isActive());
    EXPECT_EQ(edit->text(), CodePage::toCp932("ア"));
}

}  // namespace
