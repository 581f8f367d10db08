// Navigator: routes the grid's events to the keyboard and the mouse, and keeps the scrolling,
// the hand-over from the in-cell editor, zoom and the view commands (freeze, header, bands).
#include "grid/Navigator.h"

#include "grid/NavigatorHost.h"
#include "grid/SelectionInfo.h"
#include "engine/HeaderToggle.h"
#include "editor/CMyEdit.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>


Navigator::Navigator(CMyHyo& hyo, CMyHyoDraw& view, CMyEdit& edit, CMyGlobal& global,
                     QWidget* grid, QScrollBar* scrRight, QScrollBar* scrBottom,
                     NavigatorHost& host)
    : hyo(hyo), view(view), edit(edit), global(global), grid(grid), scr_Right(scrRight),
      scr_Bottom(scrBottom), host(host), editing(hyo, view, edit),
      keyboard_(*this, host, hyo, view, edit, scrRight, scrBottom),
      mouse_(*this, host, view, edit, grid, scrRight, scrBottom) {
    edit.setClosedCommitHandler([this] { keyboard_.startTypingFromInputMethod(); });
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
        keyboard_.handleKeyPress(static_cast<QKeyEvent*>(event));
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

void Navigator::resetScroll() {
    scrollSync = true;
    scr_Right->setMinimum(0);
    scr_Bottom->setMinimum(0);
    scr_Right->setMaximum(view.gridRows());
    scr_Bottom->setMaximum(view.gridColumns());
    scr_Right->setValue(0);
    scr_Bottom->setValue(0);
    scrollSync = false;
    view.clearSelection();
    view.setCurrentCell(0, 0);
}

void Navigator::restoreScroll(int top, int first) {
    scrollSync = true;
    scr_Right->setMaximum(std::max(scr_Right->maximum(), top));
    scr_Bottom->setMaximum(std::max(scr_Bottom->maximum(), first));
    scr_Right->setValue(top);
    scr_Bottom->setValue(first);
    scrollSync = false;
}

int Navigator::topRow() const { return scr_Right->value(); }

int Navigator::firstColumn() const { return scr_Bottom->value(); }

int Navigator::rowBarHeight() const { return scr_Right->height(); }

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

void Navigator::releaseFreeze() {
    if (view.frozenEnd() > 0) toggleFrozen();
}

// The view freezes from its first scrolled column up to the current one, so set both and
// toggle.
void Navigator::restoreFreeze(int first, int end) {
    if (first < 0 || end <= first || end >= view.gridColumns()) return;
    if (view.frozenEnd() > 0) toggleFrozen();
    scrollSync = true;
    scr_Bottom->setValue(first);
    scrollSync = false;
    view.render(first, scr_Right->value(), true);
    view.setCurrentCell(end, 0);
    toggleFrozen();
    view.setCurrentCell(first, 0);
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

std::vector<std::string> Navigator::selectionInformation() {
    commitEdit();
    return SelectionInfo::informationItems(hyo, view.selectionBounds());
}


