// GridKeys: the view's key down - moves the current cell, extends selections by keys and
// works out how far the grid must scroll, without drawing the grid itself.
#include "grid/GridKeys.h"

#include "engine/CellClear.h"
#include "store/CMyHyo.h"

#include <algorithm>

namespace {

bool isRowKey(int key) {
    return key == Qt::Key_Up || key == Qt::Key_PageUp || key == Qt::Key_Down ||
           key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_PageDown;
}

bool isColumnKey(int key) {
    return key == Qt::Key_Right || key == Qt::Key_Tab || key == Qt::Key_End ||
           key == Qt::Key_Left || key == Qt::Key_Home;
}

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

GridKeys::GridKeys(CMyHyo& hyo, CMyHyoDraw& view) : hyo(hyo), view(view) {}


GridKeys::Cell GridKeys::selectionEndCell() const {
    CellBlock block = view.selection();
    // Whole rows keep the current column, whole columns the current row.
    if (view.selKind() == SelRows) return {view.curColumn(), block.endRow};
    if (view.selKind() == SelColumns) return {block.endColumn, view.curRow()};
    return {block.endColumn, block.endRow};
}

KeyOutcome GridKeys::keyDown(int key, bool ctrl, bool shift) {
    KeyOutcome out{0, view.firstColumn(), view.topRow()};
    if (ctrl && key == Qt::Key_Home) key = Qt::Key_PageUp;
    else if (ctrl && key == Qt::Key_End) key = Qt::Key_PageDown;

    const Cell original{view.curColumn(), view.curRow()};
    if (shift) {
        if (view.selState() == SelNone) {
            view.setSelection(SelMade, SelCells,
                              {original.column, original.row, original.column, original.row});
        } else if (key != Qt::Key_Shift) {
            Cell end = selectionEndCell();
            view.setCurrentCell(end.column, end.row);
        }
        if (ctrl && !view.blockSaved()) view.setBlockSaved(true, view.selection());
    }
    if (key == Qt::Key_Shift) return out;

    const bool hadSelection = view.selState() != SelNone;
    const Cell oldEnd = hadSelection ? selectionEndCell() : original;
    Cell cur{view.curColumn(), view.curRow()};
    const bool ctrlAlone = ctrl && !shift;

    switch (key) {
    case Qt::Key_Up:
        if (!ctrlAlone) moveUp(cur, out);
        break;
    case Qt::Key_PageUp:
        movePageUp(ctrl, cur, out);
        break;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        moveDown(key, ctrl, cur, out);
        break;
    case Qt::Key_PageDown:
        movePageDown(ctrl, cur, out);
        break;
    case Qt::Key_Right:
    case Qt::Key_Tab:
        if (!ctrlAlone) moveRight(cur, out);
        break;
    case Qt::Key_End:
        moveEnd(cur, out);
        break;
    case Qt::Key_Left:
        if (!ctrlAlone) moveLeft(cur, out);
        break;
    case Qt::Key_Home:
        moveHome(cur, out);
        break;
    case Qt::Key_Delete: {
        SelectionBounds b = view.selectionBounds();
        if (!CellClear::clear(hyo, b).none()) out.code = 3;
        break;
    }
    case Qt::Key_F4:
        if (view.blockSaved()) {
            // A fill that changed nothing (declined, or nothing to fill) leaves the document
            // unmodified.
            const int changed =
                view.fillHandler ? view.fillHandler(view.savedBlock(), view.selectionBounds()) : 0;
            view.setBlockSaved(false);
            if (changed > 0) out.code = 3;
        }
        break;
    default:
        view.setCurrentCell(original.column, original.row);
        anyOtherKey(original, out);
        return out;
    }

    if (isRowKey(key) && out.code < 10) crossCheckRows(cur, out);
    if (isColumnKey(key)) crossCheckColumns(cur, out);
    drawAfterMove(shift, cur, oldEnd, hadSelection, original);
    return out;
}

void GridKeys::moveUp(Cell& cur, KeyOutcome& out) {
    if (cur.row > 0) {
        --cur.row;
        if (cur.row < view.topRow()) {
            out.topRow = std::max(0, std::min(view.topRow() - 1, cur.row));
            out.code = 1;
        } else if (cur.row > view.lastRow()) {
            out.topRow = view.topFor(cur.row);
            out.code = 1;
        }
    } else if (view.topRow() > 0) {
        out.topRow = 0;
        out.code = 1;
    }
}

void GridKeys::movePageUp(bool ctrl, Cell& cur, KeyOutcome& out) {
    if (cur.row <= 0) return;
    if (ctrl) {
        cur.row = 0;
        out.topRow = 0;
    } else if (cur.row > view.topRow()) {
        cur.row = view.topRow();
    } else {
        int top = view.topFor(view.topRow());
        if (top == view.topRow() && top > 0) top = view.topFor(top - 1);
        out.topRow = top;
        cur.row = top;
    }
    out.code = 1;
}

void GridKeys::moveDown(int key, bool ctrl, Cell& cur, KeyOutcome& out) {
    const int rows = view.gridRows();
    if (cur.row >= rows - 1) {
        cur.row = rows - 1;
        out.code = 1;
        return;
    }
    ++cur.row;
    if (cur.row > view.lastRow()) {
        out.topRow = view.topFor(cur.row);
        out.code = 1;
    } else if (cur.row < view.topRow()) {
        out.topRow = cur.row;
        out.code = 1;
    }
    if (ctrl && isEnter(key)) {
        cur.column = view.frozenStart();
        out.firstColumn = 0;
        out.code += 10;
    }
}

void GridKeys::movePageDown(bool ctrl, Cell& cur, KeyOutcome& out) {
    const int rows = view.gridRows();
    if (cur.row >= rows - 1) {
        cur.row = rows - 1;
        out.code = 1;
        return;
    }
    if (ctrl) {
        if (cur.row < hyo.rowCount() - 1) {
            // The store may hold more rows than the grid reaches.
            cur.row = std::clamp(hyo.rowCount() - 1, 0, rows - 1);
            out.topRow = view.topFor(cur.row);
        }
    } else if (cur.row < view.lastRow()) {
        cur.row = view.lastRow();
    } else {
        int top = view.lastRow() + (view.lastRow() == view.topRow() ? 1 : 0);
        top = std::min(top, rows - 1);
        out.topRow = top;
        cur.row = std::min(view.lastFrom(top), rows - 1);
    }
    out.code = 1;
}

void GridKeys::moveRight(Cell& cur, KeyOutcome& out) {
    const int columns = view.gridColumns();
    if (cur.column >= columns - 1) {
        cur.column = columns - 1;
        out.code = 2;
        return;
    }
    ++cur.column;
    if (cur.column > view.lastColumn()) {
        out.firstColumn = view.firstFor(cur.column);
        out.code = 2;
    }
    if (cur.column >= view.frozenEnd() && cur.column < view.firstColumn()) {
        out.firstColumn = cur.column;
        out.code = 2;
    }
}

void GridKeys::moveEnd(Cell& cur, KeyOutcome& out) {
    const int columns = view.gridColumns();
    if (cur.column >= columns - 1) {
        cur.column = columns - 1;
        out.code = 2;
        return;
    }
    const int lastCell = hyo.cellCount(cur.row) - 1;
    int target = cur.column < lastCell ? lastCell : view.tableColumns() - 1;
    cur.column = std::max(0, target);
    if (cur.column > view.lastColumn()) {
        out.firstColumn = view.firstFor(cur.column);
        out.code = 2;
    } else if (cur.column < view.firstColumn()) {
        out.firstColumn = cur.column;
        out.code = 2;
    }
}

void GridKeys::moveLeft(Cell& cur, KeyOutcome& out) {
    if (cur.column > view.frozenStart()) {
        --cur.column;
        if (cur.column >= view.frozenEnd() && cur.column < view.firstColumn()) {
            out.firstColumn = std::max(view.frozenEnd(), std::min(view.firstColumn() - 1, cur.column));
            out.code = 2;
        } else if (cur.column > view.lastColumn()) {
            out.firstColumn = view.firstFor(cur.column);
            out.code = 2;
        }
    } else {
        leftEdge(cur, out);
    }
}

// Left or Home at the left edge: a scrolled grid goes back to its start (the scroll bar stops
// at the frozen end when columns are frozen).
void GridKeys::leftEdge(const Cell& cur, KeyOutcome& out) {
    if (cur.column < view.firstColumn()) {
        out.firstColumn = cur.column;
        out.code = 2;
    }
}

void GridKeys::moveHome(Cell& cur, KeyOutcome& out) {
    if (cur.column > view.frozenStart()) {
        cur.column = view.frozenStart();
        out.firstColumn = 0;
        out.code = 2;
    } else {
        leftEdge(cur, out);
    }
}

// A key that edits rather than moves: drop the selection and bring the cell into view.
void GridKeys::anyOtherKey(const Cell& cur, KeyOutcome& out) {
    if (view.selState() != SelNone) view.clearSelection();
    out.code = -1;
    // Frozen columns are always on screen; only scrolled ones need bringing back.
    if (cur.column < view.firstColumn() && cur.column >= view.frozenEnd()) {
        out.firstColumn = cur.column;
        out.code = -2;
    } else if (cur.column > view.lastColumn()) {
        out.firstColumn = view.firstFor(cur.column);
        out.code = -2;
    }
    int vertical = 0;
    if (cur.row < view.topRow()) {
        out.topRow = cur.row;
        vertical = 1;
    } else if (cur.row > view.lastRow()) {
        out.topRow = view.topFor(cur.row);
        vertical = 1;
    }
    if (vertical) out.code = out.code == -2 ? -4 : -3;
}

void GridKeys::crossCheckRows(const Cell& cur, KeyOutcome& out) {
    if (cur.column >= view.frozenEnd() && cur.column < view.firstColumn()) {
        out.firstColumn = cur.column;
        out.code += 10;
    } else if (cur.column > view.lastColumn()) {
        out.firstColumn = view.firstFor(cur.column);
        out.code += 10;
    }
}

void GridKeys::crossCheckColumns(Cell& cur, KeyOutcome& out) {
    const int columns = view.gridColumns();
    if (cur.column >= columns - 1) cur.column = columns - 1;
    if (cur.row < view.topRow()) {
        out.topRow = cur.row;
        out.code = 11;
    } else if (cur.row > view.lastRow()) {
        out.topRow = view.topFor(cur.row);
        out.code = 11;
    }
}

// Cursor and band after a move. With Shift the moved cell becomes the selection's end and
// the cursor stays on the anchor; without Shift any selection is dropped, so the cursor and
// the selection never disagree.
void GridKeys::drawAfterMove(bool shift, const Cell& moved, const Cell& oldEnd,
                              bool hadSelection, const Cell& original) {
    if (!hadSelection) {
        view.setCurrentCell(moved.column, moved.row);
        view.showCursor();
        return;
    }
    if (!shift) {
        view.clearSelection();
        view.setCurrentCell(moved.column, moved.row);
        view.showCursor();
        return;
    }
    CellBlock block = view.selection();
    Cell anchor{block.anchorColumn, block.anchorRow};
    if (view.selKind() == SelRows) anchor.column = original.column;
    if (view.selKind() == SelColumns) anchor.row = original.row;
    view.setCurrentCell(anchor.column, anchor.row);
    view.showCursor();
    if (moved == oldEnd) return;
    if (view.selKind() != SelColumns) block.endRow = moved.row;
    if (view.selKind() != SelRows) block.endColumn = moved.column;
    view.setSelection(view.selState(), view.selKind(), block);
    view.showBand();
}
