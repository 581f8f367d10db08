// GridMouse: mouse, wheel and auto-scroll of the grid.
#include "grid/GridMouse.h"

#include "grid/Navigator.h"
#include "grid/NavigatorHost.h"
#include "editor/CMyEdit.h"
#include "view/CMyHyoDraw.h"

#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int InitialTimerInterval = 500;
constexpr int SlowestTimerInterval = 700;
constexpr int FastestTimerInterval = 10;

}  // namespace

GridMouse::GridMouse(Navigator& navigator, NavigatorHost& host, CMyHyoDraw& view, CMyEdit& edit,
                     QWidget* grid, QScrollBar* scrRight, QScrollBar* scrBottom)
    : navigator(navigator), host(host), view(view), edit(edit), grid(grid), scr_Right(scrRight),
      scr_Bottom(scrBottom) {
    Timer1.setObjectName("Timer1");
    Timer1.setInterval(InitialTimerInterval);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void GridMouse::FormMouseDown(Qt::MouseButton button, int x, int y,
                              Qt::KeyboardModifiers modifiers) {
    if (button == Qt::RightButton) {
        if (edit.isActive()) return;
        int mode = 0;
        if (view.selState() == SelMade && view.selKind() == SelColumns) mode = 2;
        else if (view.selState() == SelMade && view.selKind() == SelRows) mode = 1;
        host.showToolPalette(mode, grid->mapToGlobal(QPoint(x, y)));
        return;
    }
    if (edit.isActive() && edit.mouseDown(x, y)) return;
    navigator.commitEdit();
    view.mouseDown(x, y, modifiers & Qt::ShiftModifier);
    host.updateStatus(1);
}

void GridMouse::FormMouseMove(int x, int y) {
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
    host.updateStatus(1);
}

void GridMouse::FormMouseUp() {
    if (edit.isActive()) {
        edit.mouseUp();
        return;
    }
    int finished = view.mouseUp();
    navigator.raiseScrollRanges();
    host.updateStatus(0);
    if (Timer1.isActive()) stopAutoScroll();
    if (finished == UpFill) host.markModified();
}

void GridMouse::stopAutoScroll() {
    Timer1.stop();
    prevDragPoint = QPoint(0, 0);
}

void GridMouse::FormDblClick() { navigator.session().startWithText(); }

void GridMouse::FormMouseWheel(int delta) {
    if (!scr_Right->isEnabled()) return;
    if (delta < 0 && scr_Right->value() < scr_Right->maximum())
        scr_Right->setValue(scr_Right->value() + 1);
    else if (delta > 0 && scr_Right->value() > 0)
        scr_Right->setValue(scr_Right->value() - 1);
}

// The band the grid occupies, read off the scroll bars beside and below it.
QRect GridMouse::gridBand() const {
    QPoint bottomLeft = grid->mapFromGlobal(scr_Bottom->mapToGlobal(QPoint(0, 0)));
    QPoint rightTop = grid->mapFromGlobal(scr_Right->mapToGlobal(QPoint(0, 0)));
    return QRect(bottomLeft.x(), rightTop.y(), scr_Bottom->width(), scr_Right->height());
}

bool GridMouse::outsideGridBand(int x, int y) const {
    QRect band = gridBand();
    return x < band.left() || x > band.right() || y < band.top() || y > band.bottom();
}

// Auto-scroll while the mouse selects outside the grid: one row or column per tick, faster
// while the pointer is held still or moves away, slower when it moves back.
void GridMouse::Timer1Timer() {
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
