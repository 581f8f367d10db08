// GridGestures: what a mouse press, move and release on the grid do - select columns, rows
// and cell ranges, drag column and row borders, and drag the fill handle.
#include "view/GridGestures.h"

#include "engine/SizeChange.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"

#include <algorithm>

namespace {
const QRgb Grey = qRgb(125, 125, 125);
} // namespace

bool GridGestures::onFillHandle(int x, int y) const {
    return !view_.blockSaved_ && view_.cornerX_ >= 0 && x <= view_.cornerX_ && x >= view_.cornerX_ - 6 && y <= view_.cornerY_ &&
           y >= view_.cornerY_ - 6;
}

int GridGestures::down(int x, int y, bool shift) {
    if (view_.dragKind_ != DragNone) return DownNothing;
    if (y < view_.headerHeight_ && x < view_.rowNumberWidth_) {
        view_.setSelection(SelMade, SelRows, {-1, 0, -2, std::max(view_.hyo_.rowCount() - 1, 0)});
        view_.blockSaved_ = false;
        view_.showBand();
        return DownRow;
    }
    bool border = false;
    if (y < view_.headerHeight_) {
        const ColumnSlot* slot = view_.geometry_.captionAt(x, border);
        if (!slot) return DownNothing;
        if (border) {
            startColumnDrag(*slot);
            return DownColumnBorder;
        }
        selectColumn(slot->column, shift);
        return DownColumn;
    }
    if (x < view_.rowNumberWidth_) {
        const LayoutEntry* entry = view_.geometry_.numberAt(y, border);
        if (!entry) return DownNothing;
        if (border) {
            startRowDrag(*entry);
            return DownRowBorder;
        }
        selectRow(entry->row, shift);
        return DownRow;
    }
    if (onFillHandle(x, y)) {
        startFill();
        return DownCell;
    }
    const int column = view_.columnAt(x), row = view_.rowAt(y);
    if (column < 0 || row < 0) return DownNothing;
    pressCell(column, row, shift);
    return DownCell;
}

void GridGestures::selectColumn(int column, bool shift) {
    const bool extend = shift && view_.selState_ != SelNone && view_.selKind_ == SelColumns;
    view_.setSelection(SelMaking, SelColumns, {extend ? view_.anchorColumn_ : column, -1, column, -2});
    view_.blockSaved_ = false;
    view_.curColumn_ = column;
    view_.showCursor();
    view_.showBand();
}

void GridGestures::selectRow(int row, bool shift) {
    const bool extend = shift && view_.selState_ != SelNone && view_.selKind_ == SelRows;
    view_.setSelection(SelMaking, SelRows, {-1, extend ? view_.anchorRow_ : row, -2, row});
    view_.blockSaved_ = false;
    view_.curRow_ = row;
    view_.showCursor();
    view_.showBand();
}

void GridGestures::startColumnDrag(const ColumnSlot& slot) {
    view_.dragKind_ = DragColumnBorder;
    view_.dragColumn_ = slot.column;
    view_.guideMin_ = slot.x;
    // The guide starts on the border itself, so a click without a move keeps the width.
    view_.guidePos_ = slot.x + slot.width;
    showGuide();
}

void GridGestures::startRowDrag(const LayoutEntry& entry) {
    view_.dragKind_ = DragRowBorder;
    view_.dragRow_ = entry.row;
    view_.guideMin_ = entry.gridY;
    view_.guidePos_ = entry.gridY + entry.height;
    showGuide();
}

void GridGestures::startFill() {
    const SelectionBounds b = view_.selectionBounds();
    view_.setSelection(SelMaking, SelCells, {b.left, b.top, b.right, b.bottom});
    view_.blockSaved_ = true;
    view_.savedBlock_ = {b.left, b.top, b.right, b.bottom};
    view_.showBand();
}

void GridGestures::pressCell(int column, int row, bool shift) {
    view_.clearSelection();
    if (shift) {
        view_.setSelection(SelMaking, SelCells, {view_.curColumn_, view_.curRow_, column, row});
        view_.showBand();
        return;
    }
    view_.curColumn_ = column;
    view_.curRow_ = row;
    view_.showCursor();
    view_.setSelection(SelMaking, SelCells, {column, row, column, row});
}

void GridGestures::showGuide() {
    const QRect line = view_.dragKind_ == DragColumnBorder ? QRect(view_.guidePos_ - 1, 0, 3, view_.viewHeight_)
                                                     : QRect(0, view_.guidePos_ - 1, view_.viewWidth_, 3);
    view_.replaceParts(view_.guideParts_, {{line, Grey}});
}

void GridGestures::eraseGuide() { view_.replaceParts(view_.guideParts_, {}); }

void GridGestures::extendTo(int x, int y) {
    // Beyond the grid the drag runs on to the nearest column or row (auto-scroll moves there).
    const int column = view_.geometry_.nearestColumn(x, view_.rowNumberWidth_, view_.firstColumn_);
    const int row = view_.geometry_.nearestRow(y, view_.headerHeight_, view_.topRow_);
    if (view_.selKind_ != SelRows && column >= 0) view_.endColumn_ = column;
    if (view_.selKind_ != SelColumns && row >= 0) view_.endRow_ = row;
    view_.showBand();
}

int GridGestures::move(int x, int y) {
    if (view_.dragKind_ == DragColumnBorder) {
        if (x < view_.viewWidth_ && x > view_.guideMin_) view_.guidePos_ = x, showGuide();
        return ShapeColumnBorder;
    }
    if (view_.dragKind_ == DragRowBorder) {
        if (y < view_.viewHeight_ && y > view_.guideMin_ + 10) view_.guidePos_ = y, showGuide();
        return ShapeRowBorder;
    }
    if (view_.selState_ == SelMaking) {
        extendTo(x, y);
        return ShapeDefault;
    }
    bool border = false;
    if (y < view_.headerHeight_) {
        if (x < view_.rowNumberWidth_ || !view_.geometry_.captionAt(x, border)) return ShapeDefault;
        return border ? ShapeColumnBorder : ShapeColumnCaption;
    }
    if (x < view_.rowNumberWidth_) {
        if (!view_.geometry_.numberAt(y, border)) return ShapeDefault;
        return border ? ShapeRowBorder : ShapeRowNumber;
    }
    return onFillHandle(x, y) ? ShapeFillHandle : ShapeDefault;
}

int GridGestures::up() {
    if (view_.dragKind_ == DragColumnBorder) return finishColumnDrag();
    if (view_.dragKind_ == DragRowBorder) return finishRowDrag();
    if (view_.selState_ == SelMaking) return finishSelection();
    return UpNothing;
}

// Ends a border drag: the guide goes and the dragged size comes back unscaled, at least ten
// pixels on screen.
int GridGestures::finishGuide() {
    eraseGuide();
    view_.dragKind_ = DragNone;
    return static_cast<int>(std::max(view_.guidePos_ - view_.guideMin_, 10) / view_.scale_);
}

int GridGestures::finishColumnDrag() {
    const int width = finishGuide();
    int first = view_.dragColumn_, last = view_.dragColumn_;
    if (view_.hasSelection() && view_.selKind_ != SelCells) {
        const SelectionBounds b = view_.selectionBounds();
        if (b.left <= view_.dragColumn_ && view_.dragColumn_ <= b.right) first = b.left, last = b.right;
    }
    if (SizeChange::columnWidths(view_.hyo_, first, last, width, view_.curRow_).none()) return UpNothing;
    view_.recomputeFrozenWidth();
    view_.render(view_.firstColumn_, view_.topRow_, true);
    view_.present();
    return UpColumnWidth;
}

int GridGestures::finishRowDrag() {
    const int height = finishGuide();
    int first = view_.dragRow_, last = view_.dragRow_;
    if (view_.hasSelection() && view_.selKind_ != SelCells) {
        const SelectionBounds b = view_.selectionBounds();
        if (b.top <= view_.dragRow_ && view_.dragRow_ <= b.bottom) first = b.top, last = b.bottom;
    }
    if (SizeChange::rowHeights(view_.hyo_, first, last, height).none()) return UpNothing;
    view_.render(view_.firstColumn_, view_.topRow_, true);
    view_.present();
    return UpRowHeight;
}

int GridGestures::finishSelection() {
    if (view_.selectionIsSingleCell()) {
        view_.clearSelection();
        return UpSelection;
    }
    view_.selState_ = SelMade;
    if (!view_.blockSaved_) return UpSelection;
    const int changed = view_.fillHandler ? view_.fillHandler(view_.savedBlock_, view_.selectionBounds()) : 0;
    view_.blockSaved_ = false;
    view_.render(view_.firstColumn_, view_.topRow_, true);
    view_.present();
    return changed > 0 ? UpFill : UpSelection;
}
