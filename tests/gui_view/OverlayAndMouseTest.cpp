// The exclusive-or cursor and selection band, hit tests, mouse gestures and the promise that
// moving the cursor or the band never re-renders the grid.
#include "ViewFixture.h"

namespace {

const QRgb Grey = qRgb(125, 125, 125) & 0xffffff;

} // namespace

class OverlayTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        std::vector<std::string> rows(30, "\t\t\t\t\t\t\t\t\t");   // ten empty columns
        rows[0] = "a\tb\tc\td\te\tf\tg\th\ti\tj";
        setRows(rows);
        view->render(0, 0, true);
        view->present();
        updates.clear();
    }
};

TEST_F(OverlayTest, CursorIsAnExclusiveOrFrameWithInvertedCaptionsAndLineCursor) {
    EXPECT_EQ(view->moveCursor(1, 1).code, 0);
    QImage image = shown();
    EXPECT_EQ(at(image, cellX(1) - 1, cellY(1) + 6), rgb(255, 0, 255));   // white ^ green
    EXPECT_EQ(at(image, cellX(1) + 30, cellY(1) + 8), rgb(255, 255, 255)); // inside untouched
    EXPECT_EQ(at(image, cellX(1) + 40, 4), rgb(222, 222, 222));            // caption inverted
    EXPECT_EQ(at(image, 3, cellY(1) + 3), rgb(222, 222, 222));             // row number inverted
    EXPECT_EQ(at(image, 500, cellY(2) - 1), rgb(190, 172, 172));           // line cursor
    EXPECT_EQ(view->cornerX(), cellX(2));
    EXPECT_EQ(view->cornerY(), cellY(2));

    view->setOptions(false, true, 0, 0, 0);
    view->showCursor();
    EXPECT_EQ(at(shown(), 500, cellY(2) - 1), rgb(190, 200, 200));
    view->hideCursor();
    EXPECT_EQ(at(shown(), cellX(1) - 1, cellY(1) + 6), rgb(255, 255, 255));
}

TEST_F(OverlayTest, SelectionBandInBothColourModes) {
    view->setSelection(SelMade, SelCells, {1, 1, 2, 3});
    view->present();
    QImage image = shown();
    EXPECT_EQ(at(image, cellX(2) + 40, cellY(2) + 8), rgb(198, 205, 250));   // white ^ (57,50,5)
    EXPECT_EQ(at(image, cellX(2) + 40, 4), rgb(249, 242, 197));              // header segment
    EXPECT_EQ(at(image, cellX(3) + 40, cellY(2) + 8), rgb(255, 255, 255));   // outside
    EXPECT_EQ(view->cornerX(), cellX(3));
    EXPECT_EQ(view->cornerY(), cellY(4));

    view->setSelectionColourMode(0);
    view->showBand();
    EXPECT_EQ(at(shown(), cellX(2) + 40, cellY(2) + 8), rgb(0, 0, 0));        // full inversion
}

TEST_F(OverlayTest, WholeRowAndColumnBandsIncludeNumbersAndCaptions) {
    view->setSelectionColourMode(0);
    view->setSelection(SelMade, SelRows, {-1, 2, -2, 3});
    view->showBand();
    QImage image = shown();
    EXPECT_EQ(at(image, 3, cellY(2) + 3), rgb(63, 63, 63));       // 192 inverted
    EXPECT_EQ(at(image, 700, cellY(3) + 8), rgb(0, 0, 0));
    EXPECT_EQ(at(image, 700, cellY(4) + 8), rgb(255, 255, 255));

    view->setSelection(SelMade, SelColumns, {3, -1, 3, -2});
    view->showBand();
    image = shown();
    EXPECT_EQ(at(image, cellX(3) + 40, 4), rgb(63, 63, 63));
    EXPECT_EQ(at(image, cellX(3) + 40, 380), rgb(0, 0, 0));
    EXPECT_EQ(at(image, 3, cellY(2) + 3), rgb(192, 192, 192));
    EXPECT_EQ(view->selectionBounds().bottom, 29);
}

TEST_F(OverlayTest, BandClipsToTheViewAndVanishesOutsideIt) {
    view->setSelectionColourMode(0);
    view->render(0, 10, false);
    view->setSelection(SelMade, SelCells, {1, 2, 1, 12});   // starts above the top row
    view->present();
    EXPECT_EQ(at(shown(), cellX(1) + 40, 16), rgb(0, 0, 0));
    view->setSelection(SelMade, SelCells, {1, 2, 1, 5});    // entirely above
    view->present();
    EXPECT_FALSE(view->bandShown());
}

TEST_F(OverlayTest, FillHandleOnlyWhereACursorOrBandIsShown) {
    view->setSelection(SelMade, SelCells, {1, 1, 2, 3});
    view->present();
    EXPECT_EQ(view->cornerX(), cellX(3));
    // Scrolled so that the range is above the view: no handle at its old corner.
    view->render(0, 10, false);
    view->present();
    EXPECT_EQ(view->cornerX(), -1);
    EXPECT_EQ(view->mouseMove(cellX(3) - 2, cellY(4) - 2), ShapeDefault);

    // Dropping the selection hands the handle back to the cursor.
    view->render(0, 0, false);
    view->setCurrentCell(0, 0);
    view->present();
    EXPECT_EQ(view->cornerX(), cellX(3));
    view->clearSelection();
    EXPECT_EQ(view->cornerX(), cellX(1));
    EXPECT_EQ(view->cornerY(), cellY(1));
    EXPECT_EQ(view->mouseMove(cellX(1) - 2, cellY(1) - 2), ShapeFillHandle);

    // A cursor whose column is scrolled away has no handle, but its row keeps the line cursor.
    view->render(3, 0, true);
    view->present();
    EXPECT_EQ(view->cornerX(), -1);
    EXPECT_EQ(at(shown(), 500, cellY(1) - 1), rgb(190, 172, 172));
}

TEST_F(OverlayTest, MovingTheCursorOrTheBandNeverRenders) {
    const long renders = view->renderCount();
    for (int k = 0; k < 5; ++k) EXPECT_EQ(view->moveCursor(k, k).code, 0);
    view->mouseDown(cellX(1) + 10, cellY(1) + 5, false);
    view->mouseMove(cellX(3) + 10, cellY(5) + 5);
    view->mouseMove(cellX(4) + 10, cellY(6) + 5);
    view->mouseUp();
    EXPECT_EQ(view->renderCount(), renders);
    // Only the cursor's and the band's own areas are repainted.
    ASSERT_FALSE(updates.empty());
    for (const QRect& rect : updates) EXPECT_NE(rect, QRect(0, 0, Width, Height));
}

TEST_F(OverlayTest, MoveCursorReportsTheScrollingNeeded) {
    CursorMove move = view->moveCursor(2, 40);
    EXPECT_EQ(move.code, 1);
    EXPECT_EQ(move.topRow, 40 - 23);
    move = view->moveCursor(20, 3);
    EXPECT_EQ(move.code, 2);
    EXPECT_EQ(move.firstColumn, view->firstFor(20));
    view->render(8, 10, true);
    move = view->moveCursor(1, 2);
    EXPECT_EQ(move.code, 3);
    EXPECT_EQ(move.firstColumn, 1);
    EXPECT_EQ(move.topRow, 2);
    move = view->moveCursor(5000, -4);   // clamped into the navigable area
    EXPECT_EQ(view->curColumn(), 59);
    EXPECT_EQ(view->curRow(), 0);
}

TEST_F(OverlayTest, GeometryQueries) {
    EXPECT_EQ(view->columnAt(39), -1);
    EXPECT_EQ(view->columnAt(40), 0);
    EXPECT_EQ(view->columnAt(cellX(2) + 63), 2);
    EXPECT_EQ(view->rowAt(15), -1);
    EXPECT_EQ(view->rowAt(cellY(3)), 3);
    EXPECT_EQ(view->cellRect(2, 3), QRect(cellX(2), cellY(3), 64, 16));
    EXPECT_FALSE(view->cellRect(2, 40).has_value());
    EXPECT_EQ(view->topFor(100), 77);
    EXPECT_EQ(view->lastFrom(77), 100);
    EXPECT_EQ(view->topFor(5), 0);
    EXPECT_EQ(view->lastFromColumn(4), 4 + 10);   // 760 pixels: eleven whole columns
    EXPECT_EQ(view->firstFor(14), 4);
    hyo.setColumnWidth(10, 200);
    EXPECT_EQ(view->firstFor(14), 6);
}

TEST_F(OverlayTest, PointerShapes) {
    EXPECT_EQ(view->mouseMove(cellX(1) + 10, 5), ShapeColumnCaption);
    EXPECT_EQ(view->mouseMove(cellX(2) - 1, 5), ShapeColumnBorder);
    EXPECT_EQ(view->mouseMove(cellX(2) + 2, 5), ShapeColumnBorder);
    EXPECT_EQ(view->mouseMove(10, cellY(1) + 5), ShapeRowNumber);
    EXPECT_EQ(view->mouseMove(10, cellY(2) - 1), ShapeRowBorder);
    EXPECT_EQ(view->mouseMove(5, 5), ShapeDefault);
    view->moveCursor(1, 1);
    EXPECT_EQ(view->mouseMove(cellX(2) - 3, cellY(2) - 3), ShapeFillHandle);
    EXPECT_EQ(view->mouseMove(cellX(2) - 8, cellY(2) - 3), ShapeDefault);
}

TEST_F(OverlayTest, CellDragSelectsAndAClickOnlyMovesTheCursor) {
    EXPECT_EQ(view->mouseDown(cellX(1) + 10, cellY(1) + 5, false), DownCell);
    EXPECT_EQ(view->curColumn(), 1);
    EXPECT_EQ(view->selState(), SelMaking);
    view->mouseMove(cellX(3) + 10, cellY(3) + 5);
    EXPECT_TRUE(view->bandShown());
    EXPECT_EQ(view->mouseUp(), UpSelection);
    EXPECT_EQ(view->selState(), SelMade);
    SelectionBounds b = view->selectionBounds();
    EXPECT_EQ(b.left, 1);
    EXPECT_EQ(b.top, 1);
    EXPECT_EQ(b.right, 3);
    EXPECT_EQ(b.bottom, 3);

    view->mouseDown(cellX(4) + 10, cellY(4) + 5, false);
    view->mouseUp();
    EXPECT_EQ(view->selState(), SelNone);
    EXPECT_FALSE(view->bandShown());
    EXPECT_EQ(view->curColumn(), 4);

    view->mouseDown(cellX(2) + 10, cellY(6) + 5, true);   // shift: from the current cell
    view->mouseUp();
    EXPECT_EQ(view->selection().anchorColumn, 4);
    EXPECT_EQ(view->selection().endRow, 6);

    view->mouseDown(cellX(1) + 10, cellY(1) + 5, false);
    view->mouseMove(300, 5000);   // below the grid: the last row shown
    EXPECT_EQ(view->selection().endRow, 23);
    view->mouseUp();
}

TEST_F(OverlayTest, CaptionRowNumberAndCornerClicks) {
    EXPECT_EQ(view->mouseDown(cellX(2) + 10, 5, false), DownColumn);
    EXPECT_EQ(view->selKind(), SelColumns);
    EXPECT_EQ(view->curColumn(), 2);
    view->mouseUp();
    EXPECT_EQ(view->selState(), SelMade);
    view->mouseDown(cellX(4) + 10, 5, true);
    view->mouseUp();
    SelectionBounds b = view->selectionBounds();
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.right, 4);
    EXPECT_EQ(b.bottom, 29);

    EXPECT_EQ(view->mouseDown(10, cellY(5) + 5, false), DownRow);
    view->mouseMove(10, cellY(7) + 5);
    view->mouseUp();
    b = view->selectionBounds();
    EXPECT_EQ(view->selKind(), SelRows);
    EXPECT_EQ(b.top, 5);
    EXPECT_EQ(b.bottom, 7);
    EXPECT_EQ(b.right, 9);

    EXPECT_EQ(view->mouseDown(5, 5, false), DownRow);
    b = view->selectionBounds();
    EXPECT_EQ(view->selState(), SelMade);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom, 29);
}

TEST_F(OverlayTest, ColumnBorderDragSetsWidthWithAMinimumOfTen) {
    EXPECT_EQ(view->mouseDown(cellX(2) - 1, 5, false), DownColumnBorder);
    EXPECT_EQ(view->dragKind(), DragColumnBorder);
    view->mouseMove(cellX(1) + 100, 50);
    EXPECT_EQ(at(shown(), cellX(1) + 100, 200), rgb(255, 255, 255) ^ (Grey));
    const long renders = view->renderCount();
    EXPECT_EQ(view->mouseUp(), UpColumnWidth);
    EXPECT_EQ(hyo.columnWidth(1), 100);
    EXPECT_GT(view->renderCount(), renders);
    EXPECT_EQ(view->columnX(2), cellX(1) + 100);

    view->mouseDown(cellX(1) + 99, 5, false);
    view->mouseMove(cellX(1) + 3, 5);
    view->mouseUp();
    EXPECT_EQ(hyo.columnWidth(1), 10);
    hyo.undo();
    EXPECT_EQ(hyo.columnWidth(1), 100);
}

TEST_F(OverlayTest, BorderDragInsideAWholeColumnSelectionSizesEveryColumn) {
    view->mouseDown(cellX(1) + 10, 5, false);
    view->mouseDown(cellX(3) + 10, 5, true);
    view->mouseUp();
    view->mouseDown(cellX(3) - 1, 5, false);
    view->mouseMove(cellX(2) + 30, 5);
    view->mouseUp();
    EXPECT_EQ(hyo.columnWidth(1), 30);
    EXPECT_EQ(hyo.columnWidth(2), 30);
    EXPECT_EQ(hyo.columnWidth(3), 30);
    EXPECT_EQ(hyo.columnWidth(4), 64);
}

TEST_F(OverlayTest, BorderDragsInsideWholeRowOrColumnSelectionsSpanTheTable) {
    // A whole-row selection spans every column of the table for a column border.
    view->mouseDown(10, cellY(2) + 5, false);
    view->mouseUp();
    view->mouseDown(cellX(1) - 1, 5, false);
    view->mouseMove(cellX(0) + 40, 5);
    view->mouseUp();
    for (int column = 0; column < 10; ++column) EXPECT_EQ(hyo.columnWidth(column), 40) << column;
    EXPECT_EQ(hyo.columnWidth(10), 64);   // beyond the table

    // A whole-column selection spans every row for a row border; only one undo step.
    view->render(0, 0, true);
    view->present();
    view->mouseDown(cellX(2) + 10, 5, false);
    view->mouseUp();
    view->mouseDown(10, cellY(2) - 1, false);
    view->mouseMove(10, cellY(1) + 20);
    view->mouseUp();
    for (int row = 0; row < 30; ++row) EXPECT_EQ(hyo.rowHeight(row), 20) << row;
    EXPECT_EQ(hyo.rowHeight(30), 16);
    hyo.undo();
    EXPECT_EQ(hyo.rowHeight(0), 16);
    EXPECT_EQ(hyo.rowHeight(29), 16);
}

TEST_F(OverlayTest, GuideLinesStayWithinTheirLimits) {
    ASSERT_EQ(view->mouseDown(cellX(2) - 1, 5, false), DownColumnBorder);
    const int start = view->guidePos();
    view->mouseMove(cellX(1), 5);           // not right of the column's left edge
    EXPECT_EQ(view->guidePos(), start);
    view->mouseMove(Width + 10, 5);         // beyond the view
    EXPECT_EQ(view->guidePos(), start);
    view->mouseMove(cellX(1) + 1, 5);
    EXPECT_EQ(view->guidePos(), cellX(1) + 1);
    // A 3-pixel exclusive-or line over the grid's height.
    QImage image = shown();
    EXPECT_EQ(at(image, cellX(1) + 2, 200), rgb(255, 255, 255) ^ Grey);
    EXPECT_EQ(at(image, cellX(1) + 3, 200), rgb(255, 255, 255));
    view->mouseUp();
    EXPECT_EQ(hyo.columnWidth(1), 10);      // at least ten pixels
    EXPECT_EQ(at(shown(), cellX(1) + 2, 200), rgb(255, 255, 255));   // the guide is gone

    view->render(0, 0, true);
    view->present();
    ASSERT_EQ(view->mouseDown(10, cellY(4) - 1, false), DownRowBorder);
    view->mouseMove(10, Height);            // not inside the view
    EXPECT_EQ(view->guidePos(), cellY(4));
    view->mouseMove(10, cellY(3) + 11);
    EXPECT_EQ(view->guidePos(), cellY(3) + 11);
    EXPECT_EQ(at(shown(), 300, cellY(3) + 12), rgb(255, 255, 255) ^ Grey);
    view->mouseUp();
    EXPECT_EQ(hyo.rowHeight(3), 11);
}

TEST_F(OverlayTest, ShiftOnARowNumberKeepsTheRowAnchor) {
    view->mouseDown(10, cellY(6) + 5, false);
    view->mouseUp();
    EXPECT_EQ(view->curRow(), 6);
    view->mouseDown(10, cellY(2) + 5, true);
    view->mouseUp();
    EXPECT_EQ(view->selection().anchorRow, 6);
    EXPECT_EQ(view->selection().endRow, 2);
    SelectionBounds b = view->selectionBounds();
    EXPECT_EQ(b.top, 2);
    EXPECT_EQ(b.bottom, 6);
    // Shift on a row number after a cell range starts afresh.
    view->mouseDown(cellX(1) + 10, cellY(1) + 5, false);
    view->mouseMove(cellX(2) + 10, cellY(2) + 5);
    view->mouseUp();
    view->mouseDown(10, cellY(8) + 5, true);
    view->mouseUp();
    EXPECT_EQ(view->selection().anchorRow, 8);
}

TEST_F(OverlayTest, RowBorderDragSetsHeight) {
    EXPECT_EQ(view->mouseDown(10, cellY(2) - 1, false), DownRowBorder);
    view->mouseMove(10, cellY(1) + 5);    // within ten pixels of the top: ignored
    EXPECT_EQ(view->guidePos(), cellY(2));
    view->mouseMove(10, cellY(1) + 30);
    EXPECT_EQ(view->mouseUp(), UpRowHeight);
    EXPECT_EQ(hyo.rowHeight(1), 30);
    EXPECT_EQ(view->rowAt(cellY(1) + 29), 1);
}

TEST_F(OverlayTest, FillHandleDragHandsSourceAndTargetToTheFill) {
    CellBlock source;
    SelectionBounds target;
    int calls = 0;
    view->fillHandler = [&](const CellBlock& s, const SelectionBounds& t) {
        source = s, target = t, ++calls;
        return 1;
    };
    view->moveCursor(1, 1);
    EXPECT_EQ(view->mouseDown(cellX(2) - 2, cellY(2) - 2, false), DownCell);
    EXPECT_TRUE(view->blockSaved());
    view->mouseMove(cellX(1) + 10, cellY(4) + 5);
    EXPECT_EQ(view->mouseUp(), UpFill);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(source.anchorColumn, 1);
    EXPECT_EQ(source.endRow, 1);
    EXPECT_EQ(target.top, 1);
    EXPECT_EQ(target.bottom, 4);
    EXPECT_FALSE(view->blockSaved());
    EXPECT_EQ(view->selState(), SelMade);

    // A fill drag that does not leave the source cell drops the selection and fills nothing.
    view->mouseDown(cellX(3) + 5, cellY(3) + 5, false);
    view->mouseUp();
    view->mouseDown(cellX(4) - 2, cellY(4) - 2, false);
    EXPECT_TRUE(view->blockSaved());
    EXPECT_EQ(view->mouseUp(), UpSelection);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(view->blockSaved());
    EXPECT_EQ(view->selState(), SelNone);
}
