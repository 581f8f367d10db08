// Keyboard navigation, selection by keys, scrolling, the wheel and auto-scroll on the real grid.
#include "NavFixture.h"

#include <QInputMethodEvent>
#include <QWheelEvent>

namespace {

using NavigationTest = NavFixture;

TEST_F(NavigationTest, CtrlEnterGoesToTheNextRowFirstColumnAndScrollsLeft) {
    setTable(10, 30);
    nav->goToCell(25, 3);
    ASSERT_GT(scrBottom->value(), 0);
    nav->goToCell(5, 3);
    press(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(row(), 4);
    EXPECT_EQ(scrBottom->value(), 0);
    EXPECT_EQ(view->firstColumn(), 0);
}

TEST_F(NavigationTest, EndGoesToTheRowsLastCellThenTheTablesLastColumn) {
    setRows({"a\tb\tc", "a\tb\tc\td\te\tf"});
    press(Qt::Key_End);
    EXPECT_EQ(column(), 2);
    press(Qt::Key_End);
    EXPECT_EQ(column(), 5);
    press(Qt::Key_Home);
    EXPECT_EQ(column(), 0);
}

TEST_F(NavigationTest, DownStopsAtTheLastNavigableRow) {
    setTable(10, 2);
    EXPECT_EQ(view->gridRows(), 510);
    nav->goToCell(0, 508);
    press(Qt::Key_Down);
    EXPECT_EQ(row(), 509);
    press(Qt::Key_Down);
    EXPECT_EQ(row(), 509);
    // The view shows the cursor's row.
    EXPECT_LE(view->topRow(), 509);
    EXPECT_GE(view->lastRow(), 509);
}

TEST_F(NavigationTest, PageUpFirstMovesToTheTopRowWithoutScrolling) {
    setTable(200, 3);
    nav->goToCell(0, 100);
    int top = view->topRow();
    ASSERT_GT(top, 0);
    ASSERT_GT(row(), top);
    long renders = view->renderCount();
    press(Qt::Key_PageUp);
    EXPECT_EQ(row(), top);
    EXPECT_EQ(view->topRow(), top);
    EXPECT_EQ(view->renderCount(), renders);   // a cursor move inside the view draws no grid
    press(Qt::Key_PageUp);
    EXPECT_LT(view->topRow(), top);
    EXPECT_EQ(row(), view->topRow());
    // The old top row is now the last fully visible one.
    EXPECT_EQ(view->lastRow(), top);
}

TEST_F(NavigationTest, PageDownMovesToTheLastRowThenAPage) {
    setTable(200, 3);
    press(Qt::Key_PageDown);
    int last = view->lastRow();
    EXPECT_EQ(row(), last);
    EXPECT_EQ(view->topRow(), 0);
    press(Qt::Key_PageDown);
    EXPECT_EQ(view->topRow(), last);
    EXPECT_EQ(row(), view->lastRow());
}

TEST_F(NavigationTest, CtrlKeysHomeEndAndTheOnesThatDoNothing) {
    setTable(300, 5);
    nav->goToCell(2, 150);
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(row(), 299);
    EXPECT_EQ(column(), 2);
    press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(row(), 0);
    EXPECT_EQ(column(), 2);
    EXPECT_EQ(scrRight->value(), 0);
    nav->goToCell(2, 5);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    press(Qt::Key_Up, Qt::ControlModifier);
    press(Qt::Key_Left, Qt::ControlModifier);
    press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(column(), 2);
    EXPECT_EQ(row(), 5);
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(row(), 6);
}

TEST_F(NavigationTest, CtrlArrowWithoutShiftDropsTheSelection) {
    setTable(20, 5);
    nav->goToCell(1, 1);
    press(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(view->selState(), SelMade);
    press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(view->selState(), SelNone);
    EXPECT_EQ(column(), 1);
    EXPECT_EQ(row(), 1);
}

TEST_F(NavigationTest, ShiftExtendsAndAPlainMoveDropsTheSelection) {
    setTable(20, 5);
    nav->goToCell(2, 2);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    SelectionBounds b = view->selectionBounds();
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.top, 2);
    EXPECT_EQ(b.right, 2);
    EXPECT_EQ(b.bottom, 4);
    EXPECT_EQ(column(), 2);
    EXPECT_EQ(row(), 2);   // the cursor stays on the anchor
    EXPECT_TRUE(view->bandShown());
    press(Qt::Key_Down);
    EXPECT_EQ(view->selState(), SelNone);
    EXPECT_FALSE(view->bandShown());
    EXPECT_EQ(row(), 3);
}

TEST_F(NavigationTest, ReturnMovesRightWhenTheButtonIsDown) {
    setTable(20, 5);
    returnRight = true;
    press(Qt::Key_Return);
    EXPECT_EQ(column(), 1);
    EXPECT_EQ(row(), 0);
    press(Qt::Key_Return, Qt::ShiftModifier);
    SelectionBounds b = view->selectionBounds();
    EXPECT_EQ(b.left, 1);
    EXPECT_EQ(b.right, 2);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom, 0);
    returnRight = false;
    press(Qt::Key_Return);
    EXPECT_EQ(row(), 1);
}

TEST_F(NavigationTest, CtrlShiftExtensionThenF4FillsFromTheSavedBlock) {
    setTable(20, 5);
    std::vector<std::pair<CellBlock, SelectionBounds>> fills;
    view->fillHandler = [&](const CellBlock& source, const SelectionBounds& target) {
        fills.emplace_back(source, target);
        return 1;
    };
    press(Qt::Key_F4);   // nothing remembered: nothing happens
    EXPECT_TRUE(fills.empty());
    EXPECT_EQ(modifiedCount, 0);

    nav->goToCell(1, 1);
    press(Qt::Key_Right, Qt::ShiftModifier);   // block (1,1)-(2,1)
    press(Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(view->blockSaved());
    press(Qt::Key_F4);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].first.anchorColumn, 1);
    EXPECT_EQ(fills[0].first.endColumn, 2);
    EXPECT_EQ(fills[0].first.endRow, 1);
    EXPECT_EQ(fills[0].second.bottom, 3);
    EXPECT_EQ(fills[0].second.right, 2);
    EXPECT_FALSE(view->blockSaved());
    EXPECT_EQ(modifiedCount, 1);

    // A fill that changes nothing does not mark the document.
    view->fillHandler = [](const CellBlock&, const SelectionBounds&) { return 0; };
    nav->goToCell(1, 5);
    press(Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier);
    ASSERT_TRUE(view->blockSaved());
    press(Qt::Key_F4);
    EXPECT_FALSE(view->blockSaved());
    EXPECT_EQ(modifiedCount, 1);
}

TEST_F(NavigationTest, DeleteClearsTheSelectionAsOneUndoableStep) {
    setTable(5, 4);
    nav->goToCell(1, 1);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Delete);
    EXPECT_EQ(hyo.cellString(1, 1), "");
    EXPECT_EQ(hyo.cellString(2, 2), "");
    EXPECT_EQ(hyo.cellString(3, 2), "2,3");
    EXPECT_EQ(modifiedCount, 1);
    hyo.undo();
    EXPECT_EQ(hyo.cellString(1, 1), "1,1");
    EXPECT_EQ(hyo.cellString(2, 2), "2,2");
}

TEST_F(NavigationTest, ALetterWithASelectionDropsItAndScrollsTheCellIntoView) {
    setTable(300, 5);
    nav->goToCell(1, 2);
    press(Qt::Key_Down, Qt::ShiftModifier);
    scrRight->setValue(200);   // the cursor's row is scrolled away
    ASSERT_GT(view->topRow(), 2);
    type("x");
    EXPECT_EQ(view->selState(), SelNone);
    EXPECT_EQ(view->topRow(), 2);
    ASSERT_TRUE(edit->isActive());
    EXPECT_TRUE(edit->isTypingMode());
    EXPECT_EQ(edit->text(), "x");
}

TEST_F(NavigationTest, WheelScrollsOneRowPerEvent) {
    setTable(100, 3);
    auto wheel = [this](int dy) {
        QWheelEvent event(QPointF(50, 50), grid->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, dy), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid, &event);
    };
    wheel(-120);
    wheel(-360);
    EXPECT_EQ(scrRight->value(), 2);
    EXPECT_EQ(view->topRow(), 2);
    wheel(120);
    wheel(120);
    wheel(120);
    EXPECT_EQ(scrRight->value(), 0);
    scrRight->setEnabled(false);
    wheel(-120);
    EXPECT_EQ(scrRight->value(), 0);
}

TEST_F(NavigationTest, AutoScrollSpeedsUpWhileHeldStillAndSlowsWhenMovingBack) {
    setTable(300, 3);
    QPoint start = centreOf(1, 2);
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, start);
    ASSERT_EQ(view->selState(), SelMaking);
    const int below = grid->height() + 30;
    QTest::mouseMove(grid, QPoint(start.x(), below));
    ASSERT_TRUE(nav->mouse().timer().isActive());
    nav->mouse().timer().setInterval(500);
    nav->mouse().Timer1Timer();   // first tick: no previous point yet, counts as held still
    EXPECT_EQ(scrRight->value(), 1);
    EXPECT_EQ(nav->mouse().timer().interval(), 470);
    for (int i = 0; i < 30; ++i) nav->mouse().Timer1Timer();
    EXPECT_EQ(scrRight->value(), 31);
    EXPECT_EQ(nav->mouse().timer().interval(), 10);   // held still: down to the fastest
    EXPECT_GT(view->selection().endRow, 31);  // the selection follows the scrolled grid

    QTest::mouseMove(grid, QPoint(start.x(), below - 5));   // back towards the grid
    nav->mouse().Timer1Timer();
    EXPECT_EQ(nav->mouse().timer().interval(), 210);
    QTest::mouseMove(grid, QPoint(start.x(), below + 20));   // away again
    nav->mouse().Timer1Timer();
    EXPECT_EQ(nav->mouse().timer().interval(), 60);

    QTest::mouseMove(grid, start);   // back inside: the timer stops
    EXPECT_FALSE(nav->mouse().timer().isActive());
    EXPECT_EQ(nav->mouse().prevDragPointValue(), QPoint(0, 0));
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, start);
    EXPECT_EQ(nav->mouse().timer().interval(), 60);   // the interval is kept for the next drag
}

TEST_F(NavigationTest, AutoScrollAtTheEndSlowsToTheSlowest) {
    setTable(10, 3);
    nav->goToCell(0, 0);
    scrRight->setValue(scrRight->maximum());
    nav->mouse().timer().setInterval(100);
    QPoint start = centreOf(0, view->topRow());
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(grid, QPoint(start.x(), grid->height() + 10));
    nav->mouse().Timer1Timer();
    EXPECT_EQ(nav->mouse().timer().interval(), 700);
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, start);
    EXPECT_FALSE(nav->mouse().timer().isActive());
}

TEST_F(NavigationTest, PointerShapesFollowTheView) {
    setTable(10, 3);
    QRect cell = *view->cellRect(0, 0);
    QTest::mouseMove(grid, QPoint(cell.right() + 1, view->headerHeight() / 2));
    EXPECT_EQ(grid->cursor().shape(), Qt::SplitHCursor);
    QTest::mouseMove(grid, cell.center());
    EXPECT_EQ(grid->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(NavigationTest, ZoomStopsAtItsLimits) {
    setTable(10, 3);
    global->setViewScale(390);
    nav->zoom(10);
    EXPECT_EQ(global->viewScale(), 400);
    EXPECT_DOUBLE_EQ(view->scale(), 4.0);
    long renders = view->renderCount();
    nav->zoom(10);   // F9 at 400: nothing
    EXPECT_EQ(global->viewScale(), 400);
    EXPECT_EQ(view->renderCount(), renders);
    global->setViewScale(60);
    nav->zoom(-10);
    EXPECT_EQ(global->viewScale(), 50);
    EXPECT_EQ(edit->font().pixelSize(), 6);
    renders = view->renderCount();
    nav->zoom(-10);
    EXPECT_EQ(global->viewScale(), 50);
    EXPECT_EQ(view->renderCount(), renders);
    // Ctrl with the keypad's plus zooms as F9 does.
    press(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(global->viewScale(), 60);
}

TEST_F(NavigationTest, FrozenColumnsMoveTheScrollMinimum) {
    setTable(10, 30);
    nav->goToCell(3, 0);
    nav->toggleFrozen();
    EXPECT_EQ(view->frozenEnd(), 3);
    EXPECT_EQ(scrBottom->minimum(), 3);
    press(Qt::Key_Home);
    EXPECT_EQ(column(), 0);   // the first frozen column
    nav->toggleFrozen();
    EXPECT_EQ(view->frozenEnd(), 0);
    EXPECT_EQ(scrBottom->minimum(), 0);
    EXPECT_EQ(scrBottom->value(), view->firstColumn());
}

}  // namespace

namespace {

TEST_F(NavigationTest, TabMovesRightAndShiftTabExtends) {
    setTable(5, 5);
    press(Qt::Key_Tab);
    EXPECT_EQ(column(), 1);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    SelectionBounds b = view->selectionBounds();
    EXPECT_EQ(b.left, 1);
    EXPECT_EQ(b.right, 2);
    EXPECT_FALSE(edit->isActive());   // a TAB character never starts typing
}

TEST_F(NavigationTest, CtrlDigitsRunUserKeysWithAndWithoutShift) {
    setTable(5, 5);
    std::vector<std::pair<int, bool>> runs;
    host.userKey = [&](int n, bool shift) { runs.emplace_back(n, shift); };
    press(Qt::Key_3, Qt::ControlModifier);
    press(Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_0, Qt::ControlModifier);   // no function
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], std::make_pair(3, false));
    EXPECT_EQ(runs[1], std::make_pair(1, true));
    EXPECT_FALSE(edit->isActive());
}

TEST_F(NavigationTest, ComposingWhileClosedShowsThePreeditOverTheCurrentCell) {
    setTable(5, 5);
    nav->goToCell(2, 3);
    QInputMethodEvent preedit(QString::fromUtf8("か"), {});
    QApplication::sendEvent(grid, &preedit);
    EXPECT_FALSE(edit->isActive());
    QRect cell = *view->cellRect(2, 3);
    EXPECT_TRUE(cell.contains(edit->caretRect().topLeft()));
    ASSERT_NE(edit->surfaceWidget(), nullptr);
    EXPECT_TRUE(edit->surfaceWidget()->isVisible());
    QInputMethodEvent cancel(QString(), {});
    QApplication::sendEvent(grid, &cancel);
    EXPECT_FALSE(edit->surfaceWidget()->isVisible());
}

}  // namespace

namespace {

TEST_F(NavigationTest, HorizontalMovesScrollJustEnoughAndStopAtTheEdges) {
    setTable(5, 40);
    const int last = view->lastColumn();
    nav->goToCell(last, 0);
    press(Qt::Key_Right);
    EXPECT_EQ(column(), last + 1);
    EXPECT_GT(scrBottom->value(), 0);
    EXPECT_EQ(view->lastColumn(), last + 1);   // the new column shows at the right edge
    const int first = view->firstColumn();
    for (int i = 0; i < last + 1 - first + 1; ++i) press(Qt::Key_Left);
    EXPECT_EQ(column(), first - 1);
    EXPECT_EQ(view->firstColumn(), first - 1);   // one column back, not a page
    press(Qt::Key_Home);
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(scrBottom->value(), 0);
    press(Qt::Key_Left);
    press(Qt::Key_Up);
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(row(), 0);
    nav->goToCell(view->gridColumns() - 1, 0);
    press(Qt::Key_Right);
    EXPECT_EQ(column(), 89);   // 40 columns + 50 navigable
}

TEST_F(NavigationTest, FrozenColumnsStopLeftAndHome) {
    setTable(5, 40);
    nav->goToCell(2, 0);
    nav->toggleFrozen();   // columns 0 and 1 stay at the left edge
    ASSERT_EQ(view->frozenEnd(), 2);
    nav->goToCell(30, 0);
    ASSERT_GT(view->firstColumn(), 2);
    press(Qt::Key_Home);
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(scrBottom->value(), 2);   // the bar cannot go below the frozen end
    press(Qt::Key_Left);
    EXPECT_EQ(column(), 0);
    press(Qt::Key_Right);
    press(Qt::Key_Right);
    EXPECT_EQ(column(), 2);
    EXPECT_EQ(view->firstColumn(), 2);
}

TEST_F(NavigationTest, LeftHomeAndEndOnAFrozenColumnScrollTheRestBackToItsStart) {
    setRows({"a\tb", std::string(30, '\t') + "z"});
    nav->goToCell(2, 1);
    nav->toggleFrozen();   // columns 0 and 1 stay at the left edge
    ASSERT_EQ(view->frozenEnd(), 2);
    nav->goToCell(30, 1);
    nav->goToCell(0, 1);   // a frozen column: nothing scrolls
    ASSERT_GT(scrBottom->value(), 2);
    press(Qt::Key_Left);
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(scrBottom->value(), 2);
    EXPECT_EQ(view->firstColumn(), 2);

    nav->goToCell(30, 1);
    nav->goToCell(0, 1);
    press(Qt::Key_Home);
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(scrBottom->value(), 2);

    // End in row 0 lands on its last cell, the frozen column 1.
    nav->goToCell(30, 1);
    nav->goToCell(0, 0);
    ASSERT_GT(scrBottom->value(), 2);
    press(Qt::Key_End);
    EXPECT_EQ(column(), 1);
    EXPECT_EQ(scrBottom->value(), 2);
}

TEST_F(NavigationTest, ScrollBarsRenderAndFollowGoToCell) {
    setTable(1000, 5);
    long renders = view->renderCount();
    scrRight->setValue(40);
    EXPECT_EQ(view->topRow(), 40);
    EXPECT_GT(view->renderCount(), renders);
    nav->goToCell(1, 700);
    EXPECT_EQ(scrRight->value(), view->topRow());
    EXPECT_GE(view->lastRow(), 700);
    EXPECT_EQ(statusScopes.back(), 0);
    renders = view->renderCount();
    nav->scrollSync = true;
    scrRight->setValue(10);   // a synchronised change renders nothing
    nav->scrollSync = false;
    EXPECT_EQ(view->renderCount(), renders);
}

}  // namespace

namespace {

TEST_F(NavigationTest, RightButtonOpensThePaletteInTheSelectionsMode) {
    setTable(10, 5);
    std::vector<int> modes;
    host.palette = [&](int mode, const QPoint&) { modes.push_back(mode); };
    QPoint header(view->cellRect(2, 0)->center().x(), view->headerHeight() / 2);
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, header);   // whole column
    QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, centreOf(2, 3));
    QPoint rowNumber(view->rowNumberWidth() / 2, centreOf(0, 4).y());
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, rowNumber);   // whole row
    QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, centreOf(2, 3));
    QTest::mouseClick(grid, Qt::LeftButton, Qt::NoModifier, centreOf(1, 1));
    QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, centreOf(1, 1));
    type("e");   // while editing the right button is ignored
    QTest::mouseClick(grid, Qt::RightButton, Qt::NoModifier, centreOf(1, 1));
    EXPECT_EQ(modes, (std::vector<int>{2, 1, 0}));
    EXPECT_TRUE(edit->isActive());
}

}  // namespace

namespace {

// A long run of keys with every modifier, frozen columns and zoom from a fixed seed: the
// cursor never leaves the navigable area and the grid shows what the scroll bars say.
TEST_F(NavigationTest, MixedKeysKeepTheCursorInsideAndTheBarsInStep) {
    setTable(40, 12);
    const int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home,
                        Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Return,
                        Qt::Key_Tab, Qt::Key_Delete, Qt::Key_F4};
    const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                          Qt::ShiftModifier | Qt::ControlModifier};
    unsigned seed = 777;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    view->fillHandler = [](const CellBlock&, const SelectionBounds&) { return 0; };
    for (int step = 0; step < 3000; ++step) {
        const unsigned what = next(100);
        if (what == 0) {
            // Freezing at a column left of the scrolled ones is refused with a warning.
            if (view->frozenEnd() == 0 && column() < view->firstColumn())
                prompt.answer(PromptAnswer::Ok);
            nav->toggleFrozen();
        } else if (what == 1) {
            nav->zoom(next(2) ? 10 : -10);
        } else if (what == 2) {
            // Going to a cell leaves a selection as it is (the band stays where it was).
            view->clearSelection();
            nav->goToCell(static_cast<int>(next(view->gridColumns())),
                          static_cast<int>(next(view->gridRows())));
        } else {
            press(keys[next(12)], mods[next(4)]);
        }
        ASSERT_FALSE(edit->isActive());
        ASSERT_GE(column(), view->frozenStart()) << "step " << step;
        ASSERT_LT(column(), view->gridColumns()) << "step " << step;
        ASSERT_GE(row(), 0);
        ASSERT_LT(row(), view->gridRows()) << "step " << step;
        ASSERT_EQ(view->topRow(), scrRight->value()) << "step " << step;
        ASSERT_EQ(view->firstColumn(), scrBottom->value()) << "step " << step;
        if (view->selState() == SelMade) {
            CellBlock b = view->selection();
            if (view->selKind() == SelCells) {
                ASSERT_EQ(b.anchorColumn, column()) << "step " << step;
                ASSERT_EQ(b.anchorRow, row()) << "step " << step;
            }
        }
    }
}

}  // namespace

namespace {

TEST_F(NavigationTest, CtrlIAndCtrlTabInsertRowsAtTheSelectedRowsOrTheCursor) {
    setTable(6, 3);
    hyo.journal().clear();
    nav->goToCell(1, 2);
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(hyo.rowCount(), 7);
    EXPECT_EQ(hyo.rowString(2), "");
    EXPECT_EQ(hyo.cellString(0, 3), "2,0");
    EXPECT_EQ(modifiedCount, 1);
    EXPECT_FALSE(edit->isActive());

    // A cell range inserts as many rows as it spans; Ctrl+Tab is the same key.
    nav->goToCell(0, 4);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(hyo.rowCount(), 9);
    EXPECT_EQ(hyo.rowString(4), "");
    EXPECT_EQ(hyo.rowString(5), "");
    EXPECT_EQ(hyo.cellString(0, 6), "3,0");
    EXPECT_EQ(modifiedCount, 2);
    hyo.undo();   // one step each
    EXPECT_EQ(hyo.rowCount(), 7);

    // Whole columns, or a selection the mouse is still making: nothing.
    view->setSelection(SelMade, SelColumns, {1, -1, 1, -2});
    press(Qt::Key_I, Qt::ControlModifier);
    view->setSelection(SelMaking, SelCells, {0, 0, 0, 1});
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(hyo.rowCount(), 7);
    EXPECT_EQ(modifiedCount, 2);
    view->clearSelection();
    // Beyond the data there is nothing to move down.
    nav->goToCell(0, 100);
    press(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(hyo.rowCount(), 7);
    EXPECT_EQ(modifiedCount, 2);
}

}  // namespace

namespace {

TEST_F(NavigationTest, CtrlEndStaysInsideTheGridOfAFullTable) {
    // The store holds more rows than the grid reaches (rows inserted into a full table).
    for (int r = 0; r < 500000 + 2; ++r) hyo.setRow(r, "x");
    hyo.setWidestRow(1);
    nav->raiseScrollRanges();
    nav->goToCell(0, 0);
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(row(), 499999);
    EXPECT_LE(view->lastRow(), 499999);
    EXPECT_EQ(scrRight->value(), view->topRow());
}

}  // namespace
