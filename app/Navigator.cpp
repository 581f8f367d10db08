// Navigator: keys, mouse, wheel and scroll bars of the main window - cursor moves, selections,
// scrolling, the in-cell editor hand-over, zoom and the view commands (freeze, header, bands).
#include "app/Navigator.h"

#include "app/CellClear.h"
#include "app/SelectionInfo.h"
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
#include <cmath>
#include <cstdio>

namespace {

constexpr int InitialTimerInterval = 500;
constexpr int SlowestTimerInterval = 700;
constexpr int FastestTimerInterval = 10;
constexpr int MinimumRowHeight = 10;
constexpr int MaximumRowHeight = 65535;   // a row's height record holds 16 bits

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
                     NavigatorHooks hooks)
    : hyo(hyo), view(view), edit(edit), global(global), grid(grid), scr_Right(scrRight),
      scr_Bottom(scrBottom), hooks_(std::move(hooks)), keys(hyo, view) {
    Timer1.setObjectName("Timer1");
    Timer1.setInterval(InitialTimerInterval);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    // Input-method text committed while no edit is open starts one, as a typed key would.
    edit.setClosedCommitHandler([this] {
        actOnCode(keyDown(0, false, false));
        startTyping();
    });
    edit.setClosedPreeditHandler([this] { positionEditorEmpty(); });
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

void Navigator::status(int scope) {
    if (hooks_.updateStatus) hooks_.updateStatus(scope);
}

void Navigator::modified() {
    if (hooks_.markModified) hooks_.markModified();
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
        FormMouseDown(e->button(), p.x(), p.y(), e->modifiers());
        return true;
    }
    case QEvent::MouseMove: {
        QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        FormMouseMove(p.x(), p.y());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::RightButton) FormMouseUp();
        return true;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) FormDblClick();
        return true;
    case QEvent::Wheel: {
        int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta != 0) FormMouseWheel(delta);
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
            editOpen = false;
            renderAtPositions(false);
            view.showCursor();
            return;
        }
        if (edit.isActive()) return;
    }
    if (key == Qt::Key_F2) {
        startEditWithText();
        return;
    }
    if (ctrl) {
        if (modifiers & Qt::KeypadModifier) {
            if (key == Qt::Key_Plus) return zoom(10);
            if (key == Qt::Key_Minus) return zoom(-10);
        }
        // The digits of the main rows only; the keypad's digits have no function here.
        if (key >= Qt::Key_1 && key <= Qt::Key_9 && !(modifiers & Qt::KeypadModifier)) {
            if (hooks_.userKey) hooks_.userKey(key - Qt::Key_0, shift);
            return;
        }
        bool continues = key == Qt::Key_Home || key == Qt::Key_End || isEnter(key) ||
                         key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left ||
                         key == Qt::Key_Right;
        if (!continues) return;
    }
    if (isEnter(key) && !ctrl && hooks_.returnMovesRight && hooks_.returnMovesRight())
        key = Qt::Key_Right;
    actOnCode(keyDown(key, ctrl, shift));
    status(0);
}

void Navigator::actOnCode(const KeyOutcome& outcome) {
    const int code = outcome.code;
    if (code == 1 || code == 11 || code == -3 || code == -4) scr_Right->setValue(outcome.topRow);
    if (code == 2 || code == 10 || code == 11 || code == -2 || code == -4)
        scr_Bottom->setValue(outcome.firstColumn);
    if (code == 3) {
        modified();
        renderAtPositions(false);
    }
    if (code < 0) positionEditorEmpty();
}

// The editor waits over the current cell so the input method knows where to compose.
void Navigator::positionEditorEmpty() {
    std::optional<QRect> rect = view.cellRect(view.curColumn(), view.curRow());
    if (!rect) return;
    edit.position(rect->left() + 1, rect->top(), rect->width() - 1, rect->height(), "",
                  CMyEdit::FlagTyping);
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
        if (!startTyping()) return;
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
        if (hooks_.copySelection) hooks_.copySelection();
    } else if (key == Qt::Key_V) {
        if (hooks_.pasteAtCursor) hooks_.pasteAtCursor();
    } else if (key == Qt::Key_X) {
        cutSelection();
    } else if (key == Qt::Key_I || key == Qt::Key_Tab) {
        // Ctrl+Tab makes the same character as Ctrl+I. Inserted rows change the document
        // even though no cell text changed.
        const bool inserted = hooks_.insertRows ? hooks_.insertRows() : insertRowsAtCursor();
        if (inserted) {
            modified();
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
    if (!hooks_.copySelection || !hooks_.copySelection()) return;
    SelectionBounds b = view.selectionBounds();
    if (CellClear::clear(hyo, b) != 0) return;
    // The text changed, so the document must say so or closing would lose the cut.
    modified();
    renderAtPositions(false);
}

// ---------------------------------------------------------------------------------------
// Starting and ending an edit

bool Navigator::openEditor(const std::string& text, int flags) {
    std::optional<QRect> rect = view.cellRect(view.curColumn(), view.curRow());
    if (!rect) return false;
    const bool right = flags & CMyEdit::FlagRightAligned;
    const int maxWidth = right ? rect->width() - 1 : view.viewWidth() - rect->left() - 1;
    const int maxHeight = view.viewHeight() - rect->top();
    view.hideCursor();
    if (edit.open(rect->left() + 1, rect->top(), rect->width() - 1, rect->height(), maxWidth,
                  maxHeight, text.c_str(), flags, CMyEdit::CellByteLimit) != 0) {
        view.showCursor();
        Prompt::beep();
        return false;
    }
    editOpen = true;
    editCell = {view.curColumn(), view.curRow()};
    editCellHeight = rect->height();
    return true;
}

bool Navigator::startEditWithText() {
    if (edit.isActive()) return false;
    std::string text = hyo.cellString(view.curColumn(), view.curRow());
    bool number = hyo.columnKind(view.curColumn()) == 1;
    bool breaks = text.find_first_of("\r\n") != std::string::npos;
    int flags = CMyEdit::FlagCaretAtEnd | (number && !breaks ? CMyEdit::FlagRightAligned : 0);
    return openEditor(text, flags);
}

bool Navigator::startTyping() {
    if (edit.isActive()) return true;
    bool number = hyo.columnKind(view.curColumn()) == 1;
    return openEditor("", CMyEdit::FlagTyping | (number ? CMyEdit::FlagRightAligned : 0));
}

void Navigator::commitEdit() {
    if (!editOpen && !edit.isActive()) return;
    editOpen = false;
    edit.close();
    // The text belongs to the cell the edit was opened on, even if something moved the cursor.
    const int column = editCell.column;
    const int row = editCell.row;
    std::string text = edit.text();
    if (text.empty() && hyo.cellString(column, row).empty()) {
        view.showCursor();
        return;
    }
    const int box = edit.boxRect().height();
    double height = std::trunc((box + 2) / view.scale());
    height = std::clamp<double>(height, MinimumRowHeight, MaximumRowHeight);
    // A box as tall as the cell it was opened over keeps the row's height: at a zoom other
    // than 100 % the drawn height converted back can be one more than the stored one.
    if (box + 2 == editCellHeight) height = hyo.rowHeight(row);
    storeEditedCell(column, row, text, static_cast<int>(height));
    renderAtPositions(false);
    modified();
    raiseScrollRanges();
    view.showCursor();
    status(0);
}

// The text and, when it changed, the row's height go in as one undo step: the area records
// the old text, goes back to the cell and records the row's old height.
void Navigator::storeEditedCell(int column, int row, const std::string& text, int height) {
    CMyUndo& journal = hyo.journal();
    const bool heightChanges = height != hyo.rowHeight(row);
    if (heightChanges && journal.recording() &&
        journal.openArea(UndoCellText, 0, column, row, column, row) == 1) {
        hyo.setCell(column, row, nullptr);
        // A text too big for the journal abandons the area; the height then is not recorded
        // either (outside the area it would become an undo step of its own).
        if (journal.areaOpen()) {
            journal.appendMarker(UndoBackToStart);
            journal.appendMarker(UndoSetKind, UndoRowHeight);
            hyo.journalRowAttribute(row, AttrRowHeight);
        }
        // An entry too big for the journal is left out, as a single change would be.
        journal.closeArea(true);
        const bool wasRecording = journal.setRecording(false);
        hyo.setRowHeight(row, height);
        hyo.setCell(column, row, text.c_str());
        journal.setRecording(wasRecording);
        return;
    }
    if (heightChanges) hyo.setRowHeight(row, height);
    hyo.setCell(column, row, text.c_str());
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
    status(0);
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
// Mouse

void Navigator::FormMouseDown(Qt::MouseButton button, int x, int y,
                              Qt::KeyboardModifiers modifiers) {
    if (button == Qt::RightButton) {
        if (edit.isActive()) return;
        int mode = 0;
        if (view.selState() == SelMade && view.selKind() == SelColumns) mode = 2;
        else if (view.selState() == SelMade && view.selKind() == SelRows) mode = 1;
        if (hooks_.toolPalette) hooks_.toolPalette(mode, grid->mapToGlobal(QPoint(x, y)));
        return;
    }
    if (edit.isActive()) {
        if (edit.mouseDown(x, y)) return;
        commitEdit();
    } else if (editOpen) {
        commitEdit();
    }
    view.mouseDown(x, y, modifiers & Qt::ShiftModifier);
    status(1);
}

void Navigator::FormMouseMove(int x, int y) {
    if (edit.isActive()) {
        edit.mouseMove(x, y);
        return;
    }
    int shape = view.mouseMove(x, y);
    Qt::CursorShape pointer = Qt::ArrowCursor;
    if (shape == ShapeColumnBorder) pointer = Qt::SplitHCursor;
    else if (shape == ShapeRowBorder) pointer = Qt::SplitVCursor;
    else if (shape == ShapeFillHandle) pointer = Qt::PointingHandCursor;
    if (grid->cursor().shape() != pointer) grid->setCursor(pointer);
    if (view.selState() == SelMaking) {
        if (outsideGridBand(x, y)) {
            if (!Timer1.isActive()) Timer1.start();
            dragPoint = QPoint(x, y);
        } else {
            Timer1.stop();
            prevDragPoint = QPoint(0, 0);
        }
    }
    status(1);
}

void Navigator::FormMouseUp() {
    if (edit.isActive()) {
        edit.mouseUp();
        return;
    }
    int finished = view.mouseUp();
    raiseScrollRanges();
    status(0);
    if (Timer1.isActive()) {
        Timer1.stop();
        prevDragPoint = QPoint(0, 0);
    }
    if (finished == UpFill) modified();
}

void Navigator::FormDblClick() { startEditWithText(); }

void Navigator::FormMouseWheel(int delta) {
    if (!scr_Right->isEnabled()) return;
    if (delta < 0 && scr_Right->value() < scr_Right->maximum())
        scr_Right->setValue(scr_Right->value() + 1);
    else if (delta > 0 && scr_Right->value() > 0)
        scr_Right->setValue(scr_Right->value() - 1);
}

// The band the grid occupies, read off the scroll bars beside and below it.
QRect Navigator::gridBand() const {
    QPoint bottomLeft = grid->mapFromGlobal(scr_Bottom->mapToGlobal(QPoint(0, 0)));
    QPoint rightTop = grid->mapFromGlobal(scr_Right->mapToGlobal(QPoint(0, 0)));
    return QRect(bottomLeft.x(), rightTop.y(), scr_Bottom->width(), scr_Right->height());
}

bool Navigator::outsideGridBand(int x, int y) const {
    QRect band = gridBand();
    return x < band.left() || x > band.right() || y < band.top() || y > band.bottom();
}

// Auto-scroll while the mouse selects outside the grid: one row or column per tick, faster
// while the pointer is held still or moves away, slower when it moves back.
void Navigator::Timer1Timer() {
    if (prevDragPoint == QPoint(0, 0)) prevDragPoint = dragPoint;
    const int x = dragPoint.x(), y = dragPoint.y();
    const int px = prevDragPoint.x(), py = prevDragPoint.y();
    const QRect band = gridBand();
    int d = 0;
    if (y > band.bottom()) {
        if (scr_Right->value() < scr_Right->maximum()) {
            scr_Right->setValue(scr_Right->value() + 1);
            d = y == py ? -30 : (y > py ? -150 : 200);
        }
    } else if (y < band.top()) {
        if (scr_Right->value() > scr_Right->minimum()) {
            scr_Right->setValue(scr_Right->value() - 1);
            d = y == py ? -30 : (y < py ? -150 : 200);
        }
    } else if (x > band.right()) {
        if (scr_Bottom->value() < scr_Bottom->maximum()) {
            scr_Bottom->setValue(scr_Bottom->value() + 1);
            d = x == px ? -15 : (x > px ? -55 : 150);
        }
    } else if (x < band.left() && scr_Bottom->value() > scr_Bottom->minimum()) {
        scr_Bottom->setValue(scr_Bottom->value() - 1);
        d = x == px ? -15 : (x < px ? -55 : 150);
    }
    int interval = d == 0 ? SlowestTimerInterval
                          : std::clamp(Timer1.interval() + d, FastestTimerInterval, SlowestTimerInterval);
    Timer1.setInterval(interval);
    view.mouseMove(x, y);
    prevDragPoint = dragPoint;
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
    status(1);
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
    if (hooks_.viewModesChanged) hooks_.viewModesChanged();
}

bool Navigator::toggleHeader() {
    // An open edit is stored first, so its text goes to the cell it was typed into and not
    // to the row that moves into its place.
    commitEdit();
    if (hyo.isFiltered()) {
        Prompt::warn("抽出中は出来ません。");
        return false;
    }
    const bool turningOn = !hyo.inHeaderMode();
    if (turningOn) {
        if (hyo.rowCount() < 1 || hyo.cellCount(0) < 1) {
            Prompt::warn("ヘッダーに指定する項目がありません。");
            return false;
        }
        for (int column = 0; column < hyo.cellCount(0); ++column) {
            if (static_cast<int>(hyo.cellString(column, 0).size()) > MaxTitleBytes) {
                char message[80];
                std::snprintf(message, sizeof message, "%d列目のサイズが大きすぎます。", column + 1);
                Prompt::warn(message);
                return false;
            }
        }
    }
    if (hyo.journal().recording() && hyo.clearHeaderForUndo() != 0) return false;
    bool wasRecording = hyo.journal().setRecording(false);
    if (turningOn) hyo.takeHeaderRow();
    else hyo.restoreHeaderRow();
    hyo.journal().setRecording(wasRecording);

    view.clearSelection();
    view.setCurrentCell(0, 0);
    setScrollPositions(scr_Bottom->minimum(), scr_Right->minimum());
    raiseScrollRanges();
    renderAtPositions(true);
    status(0);
    if (hooks_.viewModesChanged) hooks_.viewModesChanged();
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
    if (hooks_.viewModesChanged) hooks_.viewModesChanged();
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
