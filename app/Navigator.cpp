// Navigator: keys and scroll bars of the grid - cursor moves, selections, scrolling, the
// in-cell editor hand-over, zoom and the view commands (freeze, header, bands).
#include "app/Navigator.h"

#include "app/NavigatorHost.h"
#include "app/SelectionInfo.h"
#include "engine/CellClear.h"
#include "engine/HeaderToggle.h"
#include "dialogs/TfrmInfomation.h"
#include "editor/CMyEdit.h"
#include "engine/RowColumnOperations.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>

namespace {

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Keys that only change modifiers or lock states; they never reach the grid as keys.
bool isBareModifier(int key) {
    switch (key) {
    case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_AltGr: case Qt::Key_Meta:
    case Qt::Key_Super_L: case Qt::Key_Super_R: case Qt::Key_CapsLock: case Qt::Key_NumLock:
    case Qt::Key_ScrollLock: case Qt::Key_unknown: case 0:
        return true;
    default:
        return false;
    }
}

}  // namespace

Navigator::Navigator(CMyHyo& hyo, CMyHyoDraw& view, CMyEdit& edit, CMyGlobal& global,
                     QWidget* grid, QScrollBar* scrRight, QScrollBar* scrBottom,
                     NavigatorHost& host)
    : hyo(hyo), view(view), edit(edit), global(global), grid(grid), scr_Right(scrRight),
      scr_Bottom(scrBottom), host(host), keys(hyo, view), editing(hyo, view, edit),
      mouse_(*this, host, view, edit, grid, scrRight, scrBottom) {
    // Input-method text committed while no edit is open starts one, as a typed key would.
    edit.setClosedCommitHandler([this] {
        actOnCode(keyDown(0, false, false));
        editing.startTyping();
    });
    edit.setClosedPreeditHandler([this] { editing.positionEmpty(); });
}

Navigator::~Navigator() {
    if (grid) grid->removeEventFilter(this);
    edit.setClosedCommitHandler({});
    edit.setClosedPreeditHandler({});
}

void Navigator::installOn(QWidget* widget) {
    widget->installEventFilter(this);
    widget->setMouseTracking(true);
}

// ---------------------------------------------------------------------------------------
// Events of the grid widget

bool Navigator::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        handleKeyPress(static_cast<QKeyEvent*>(event));
        return true;
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        QPoint p = e->position().toPoint();
        mouse_.FormMouseDown(e->button(), p.x(), p.y(), e->modifiers());
        return true;
    }
    case QEvent::MouseMove: {
        QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        mouse_.FormMouseMove(p.x(), p.y());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton) mouse_.FormMouseUp();
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) mouse_.FormDblClick();
        return true;
    case QEvent::Wheel: {
        int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) mouse_.FormMouseWheel(delta);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

// One key press is a key-down followed, for keys that make a character, by the character.
void Navigator::handleKeyPress(QKeyEvent* event) {
    int key = event->key();
    Qt::KeyboardModifiers modifiers = event->modifiers();
    // A key the platform cannot name may still bring a character (a symbol, or a kana typed
    // without the input method); only a key without text is a bare modifier.
    if (isBareModifier(key) && event->text().isEmpty() && !edit.isActive()) return;
    if (key == Qt::Key_Backtab) key = Qt::Key_Tab;   // Shift+Tab arrives under its own name
    if ((modifiers & Qt::ControlModifier) && (modifiers & Qt::ShiftModifier))
        key = shiftedDigitKey(key, event->nativeScanCode());
    FormKeyDown(key, modifiers);
    FormKeyPress(event->text(), key, modifiers);
}

// With Shift the digit keys report their symbols; the user keys need the digit itself.
int Navigator::shiftedDigitKey(int key, quint32 scanCode) {
    if (key >= Qt::Key_1 && key <= Qt::Key_9) return key;
#ifdef Q_OS_WIN
    if (scanCode >= 0x02 && scanCode <= 0x0A) return Qt::Key_1 + static_cast<int>(scanCode) - 0x02;
#else
    if (scanCode >= 10 && scanCode <= 18) return Qt::Key_1 + static_cast<int>(scanCode) - 10;
#endif
    // Without a scan code the symbols of the US layout are taken.
    static const int symbols[] = {Qt::Key_Exclam, Qt::Key_At, Qt::Key_NumberSign,
                                  Qt::Key_Dollar, Qt::Key_Percent, Qt::Key_AsciiCircum,
                                  Qt::Key_Ampersand, Qt::Key_Asterisk, Qt::Key_ParenLeft};
    for (int i = 0; i < 9; ++i)
        if (symbols[i] == key) return Qt::Key_1 + i;
    return key;
}

// ---------------------------------------------------------------------------------------
// Key down in the main window

void Navigator::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (edit.isActive()) {
        int answer = edit.keyDown(key, modifiers);
        if (answer == CMyEdit::KeyCommit || answer == CMyEdit::KeyCommitAndMove) commitEdit();
        if (answer == CMyEdit::KeyCommit) return;
        if (answer == CMyEdit::KeyCancel) {
            editing.cancel();
            renderAtPositions(false);
            view.showCursor();
            return;
        }
        if (edit.isActive()) return;
    }
    if (key == Qt::Key_F2) {
        editing.startWithText();
        return;
    }
    if (ctrl) {
        if (modifiers & Qt::KeypadModifier) {
            if (key == Qt::Key_Plus) return zoom(10);
            if (key == Qt::Key_Minus) return zoom(-10);
        }
        // The digits of the main rows only; the keypad's digits have no function here.
        if (key >= Qt::Key_1 && key <= Qt::Key_9 && !(modifiers & Qt::KeypadModifier)) {
            host.runUserKey(key - Qt::Key_0, shift);
            return;
        }
        bool continues = key == Qt::Key_Home || key == Qt::Key_End || isEnter(key) ||
                         key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
                         key == Qt::Key_Right;
        if (!continues) return;
    }
    if (isEnter(key) && !ctrl && host.returnMovesRight()) key = Qt::Key_Right;
    actOnCode(keyDown(key, ctrl, shift));
    host.updateStatus(0);
}

void Navigator::actOnCode(const KeyOutcome& outcome) {
    const int code = outcome.code;
    if (code == 1 || code == 11 || code == -3 || code == -4) scr_Right->setValue(outcome.topRow);
    if (code == 2 || code == 10 || code == 11 || code == -2 || code == -4)
        scr_Bottom->setValue(outcome.firstColumn);
    if (code == 3) {
        host.markModified();
        renderAtPositions(false);
    }
    if (code < 0) editing.positionEmpty();
}

// ---------------------------------------------------------------------------------------
// Characters

void Navigator::FormKeyPress(const QString& text, int key, Qt::KeyboardModifiers modifiers) {
    // Control characters are known by their key: not every platform gives them a text.
    if (modifiers & Qt::ControlModifier) {
        controlCharacter(key);
        return;
    }
    if (text.isEmpty()) return;
    const char16_t first = text.at(0).unicode();
    if (first == u'\r' || first == u'\n' || first == 0x1B) return;   // Enter and Escape
    if (modifiers & Qt::AltModifier) return;
    // TAB only moves and DEL is the Delete key; neither is typed.
    if (first == u'\t' || first == 0x7F) return;
    if (first < 0x20 && first != u'\b') return;
    if (!edit.isActive()) {
        // A character the cell cannot hold must not open an empty edit that would replace
        // the cell's text on the next click or key.
        if (!CMyEdit::holdsTypeable(text)) {
            Prompt::beep();
            return;
        }
        if (!editing.startTyping()) return;
    }
    edit.typeText(text);
}

void Navigator::controlCharacter(int key) {
    if (edit.isActive()) {
        if (key == Qt::Key_C) edit.copyToClipboard();
        else if (key == Qt::Key_V) edit.pasteFromClipboard();
        else if (key == Qt::Key_X) edit.cutToClipboard();
        return;
    }
    if (key == Qt::Key_C) {
        host.copySelection();
    } else if (key == Qt::Key_V) {
        host.pasteAtCursor();
    } else if (key == Qt::Key_X) {
        cutSelection();
    } else if (key == Qt::Key_I || key == Qt::Key_Tab) {
        // Ctrl+Tab makes the same character as Ctrl+I. Inserted rows change the document
        // even though no cell text changed.
        if (insertRowsAtCursor()) {
            host.markModified();
            raiseScrollRanges();
            renderAtPositions(true);
            view.showCursor();
        }
    }
}

// Ctrl+I: empty rows at the rows of a made cell-range or whole-row selection, or one at the
// current row; nothing for whole columns or while the mouse is still selecting. The store
// journals the insertion as one step.
bool Navigator::insertRowsAtCursor() {
    int first = view.curRow();
    int last = first;
    if (view.selState() == SelMaking) return false;
    if (view.selState() == SelMade) {
        if (view.selKind() == SelColumns) return false;
        const CellBlock block = view.selection();
        first = block.anchorRow;
        last = block.endRow;
    }
    // Rows that would pass the grid are refused with a message; nothing changes then.
    return RowColumnOperations::insertRows(hyo, first, last) == 1;
}

// Ctrl+X on the grid: copy, and only when that worked clear the cells as Delete does.
void Navigator::cutSelection() {
    if (!host.copySelection()) return;
    SelectionBounds b = view.selectionBounds();
    if (CellClear::clear(hyo, b).none()) return;
    // The text changed, so the document must say so or closing would lose the cut.
    host.markModified();
    renderAtPositions(false);
}

// ---------------------------------------------------------------------------------------
// Starting and ending an edit

void Navigator::commitEdit() {
    const EditOutcome out = editing.commit();
    if (out.none()) return;
    renderAtPositions(false);
    if (out.markModified) host.markModified();
    if (out.raiseRanges) raiseScrollRanges();
    view.showCursor();
    host.updateStatus(0);
}

// ---------------------------------------------------------------------------------------
// Scrolling

void Navigator::renderAtPositions(bool forceHeader) {
    view.render(scr_Bottom->value(), scr_Right->value(), forceHeader);
    view.present();
}

void Navigator::raiseScrollRanges() {
    if (scr_Right->maximum() < view.gridRows()) scr_Right->setMaximum(view.gridRows());
    if (scr_Bottom->maximum() < view.gridColumns()) scr_Bottom->setMaximum(view.gridColumns());
}

void Navigator::fitScrollRanges() {
    scrollSync = true;
    scr_Right->setMaximum(view.gridRows());
    scr_Bottom->setMaximum(view.gridColumns());
    scrollSync = false;
    view.clearSelection();
    goToCell(std::min(view.curColumn(), std::max(view.gridColumns() - 1, 0)),
             std::min(view.curRow(), std::max(view.gridRows() - 1, 0)));
}

// Moves both bars without the change events rendering twice.
void Navigator::setScrollPositions(int first, int top) {
    scrollSync = true;
    scr_Bottom->setValue(first);
    scr_Right->setValue(top);
    scrollSync = false;
}

void Navigator::goToCell(int column, int row) {
    raiseScrollRanges();
    CursorMove move = view.moveCursor(column, row);
    int first = std::max(move.firstColumn, scr_Bottom->minimum());
    int top = std::max(move.topRow, scr_Right->minimum());
    // The bars always follow the view, so a later scroll starts where the grid is.
    setScrollPositions(first, top);
    renderAtPositions(true);
    host.updateStatus(0);
}

void Navigator::scr_RightChange() {
    if (scrollSync) return;
    if (edit.isActive()) commitEdit();
    renderAtPositions(false);
}

void Navigator::scr_BottomChange() {
    if (scrollSync) return;
    if (edit.isActive()) commitEdit();
    renderAtPositions(true);
}

// ---------------------------------------------------------------------------------------
// View commands

void Navigator::zoom(int step) {
    if (edit.isActive()) return;
    const int old = global.viewScale();
    const int scale = std::clamp(old + step, MinScale, MaxScale);
    if (scale == old) return;
    global.setViewScale(scale);
    hyo.setZoomPercent(scale);
    view.setScale(scale);
    edit.setScale(scale);
    host.updateStatus(1);
    renderAtPositions(true);
    grid->update();
}

void Navigator::toggleFrozen() {
    commitEdit();
    int end = view.toggleFrozen();
    if (end < 0) return;
    scrollSync = true;
    scr_Bottom->setMinimum(end);
    // After unfreezing the columns that were frozen come back into view.
    scr_Bottom->setValue(std::max(view.firstColumn(), end));
    scrollSync = false;
    renderAtPositions(true);
    grid->update();
    host.viewModesChanged();
}

bool Navigator::toggleHeader() {
    // An open edit is stored first, so its text goes to the cell it was typed into and not
    // to the row that moves into its place.
    commitEdit();
    const EditOutcome out = HeaderToggle::toggle(hyo);
    if (out.none()) return false;
    view.clearSelection();
    view.setCurrentCell(out.column, out.row);
    setScrollPositions(scr_Bottom->minimum(), scr_Right->minimum());
    raiseScrollRanges();
    renderAtPositions(true);
    host.updateStatus(0);
    host.viewModesChanged();
    return true;
}

void Navigator::setAlternateMode(bool on, int lines, int scheme) {
    alternateOn = on;
    alternateBand = lines;
    alternateColour = scheme;
    view.setDataEndLines(on ? 1 : 0);
    view.setAlternateLines(on ? alternateBand : 0, alternateColour);
}

void Navigator::toggleAlternate() {
    commitEdit();
    setAlternateMode(!alternateOn, alternateBand, alternateColour);
    host.viewModesChanged();
    renderAtPositions(true);
    grid->update();
}

void Navigator::showSelectionInformation() {
    commitEdit();
    SelectionBounds b = view.selectionBounds();
    TfrmInfomation::showItems(grid ? grid->window() : nullptr,
                              SelectionInfo::informationItems(hyo, b));
}

KeyOutcome Navigator::keyDown(int key, bool ctrl, bool shift) { return keys.keyDown(key, ctrl, shift); }
