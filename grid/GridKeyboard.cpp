// GridKeyboard: keys and characters on the grid - the editor's keys first, then cursor moves,
// user keys, zoom keys, typing into a cell and the control characters (copy, paste, cut,
// insert rows).
#include "grid/GridKeyboard.h"

#include "grid/Navigator.h"
#include "grid/NavigatorHost.h"
#include "editor/CMyEdit.h"
#include "engine/CellClear.h"
#include "engine/RowColumnOperations.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"

#include <QKeyEvent>
#include <QScrollBar>

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

GridKeyboard::GridKeyboard(Navigator& navigator, NavigatorHost& host, CMyHyo& hyo,
                           CMyHyoDraw& view, CMyEdit& edit, QScrollBar* scrRight,
                           QScrollBar* scrBottom)
    : navigator(navigator), host(host), hyo(hyo), view(view), edit(edit), scr_Right(scrRight),
      scr_Bottom(scrBottom), keys(hyo, view) {}

// Input-method text committed while no edit is open starts one, as a typed key would.
void GridKeyboard::startTypingFromInputMethod() {
    actOnCode(keys.keyDown(0, false, false));
    navigator.session().startTyping();
}

// One key press is a key-down followed, for keys that make a character, by the character.
void GridKeyboard::handleKeyPress(QKeyEvent* event) {
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
int GridKeyboard::shiftedDigitKey(int key, quint32 scanCode) {
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

void GridKeyboard::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (edit.isActive()) {
        int answer = edit.keyDown(key, modifiers);
        if (answer == CMyEdit::KeyCommit || answer == CMyEdit::KeyCommitAndMove) navigator.commitEdit();
        if (answer == CMyEdit::KeyCommit) return;
        if (answer == CMyEdit::KeyCancel) {
            navigator.session().cancel();
            navigator.renderAtPositions(false);
            view.showCursor();
            return;
        }
        if (edit.isActive()) return;
    }
    if (key == Qt::Key_F2) {
        navigator.session().startWithText();
        return;
    }
    if (ctrl) {
        if (modifiers & Qt::KeypadModifier) {
            if (key == Qt::Key_Plus) return navigator.zoom(10);
            if (key == Qt::Key_Minus) return navigator.zoom(-10);
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
    actOnCode(keys.keyDown(key, ctrl, shift));
    host.updateStatus(0);
}

void GridKeyboard::actOnCode(const KeyOutcome& outcome) {
    const int code = outcome.code;
    if (code == 1 || code == 11 || code == -3 || code == -4) scr_Right->setValue(outcome.topRow);
    if (code == 2 || code == 10 || code == 11 || code == -2 || code == -4)
        scr_Bottom->setValue(outcome.firstColumn);
    if (code == 3) {
        host.markModified();
        navigator.renderAtPositions(false);
    }
    if (code < 0) navigator.session().positionEmpty();
}

// ---------------------------------------------------------------------------------------
// Characters

void GridKeyboard::FormKeyPress(const QString& text, int key, Qt::KeyboardModifiers modifiers) {
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
        if (!navigator.session().startTyping()) return;
    }
    edit.typeText(text);
}

void GridKeyboard::controlCharacter(int key) {
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
            navigator.raiseScrollRanges();
            navigator.renderAtPositions(true);
            view.showCursor();
            host.updateStatus(0);   // the table grew: the size panel follows
        }
    }
}

// Ctrl+I: empty rows at the rows of a made cell-range or whole-row selection, or one at the
// current row; nothing for whole columns or while the mouse is still selecting. The store
// journals the insertion as one step.
bool GridKeyboard::insertRowsAtCursor() {
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
void GridKeyboard::cutSelection() {
    if (!host.copySelection()) return;
    SelectionBounds b = view.selectionBounds();
    if (CellClear::clear(hyo, b).none()) return;
    // The text changed, so the document must say so or closing would lose the cut.
    host.markModified();
    navigator.renderAtPositions(false);
}

