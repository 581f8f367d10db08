// GridMouse: the mouse and the wheel on the grid - clicks, drags, double clicks, the right
// button's palette, and the auto-scroll while a selection is dragged outside the grid.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTimer>

class CMyEdit;
class CMyHyoDraw;
class Navigator;
class NavigatorHost;
class QScrollBar;
class QWidget;

class GridMouse : public QObject {
    Q_OBJECT
public:
    GridMouse(Navigator& navigator, NavigatorHost& host, CMyHyoDraw& view, CMyEdit& edit,
              QWidget* grid, QScrollBar* scrRight, QScrollBar* scrBottom);

    void FormMouseDown(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers);
    void FormMouseMove(int x, int y);
    void FormMouseUp();
    void FormDblClick();
    void FormMouseWheel(int delta);
    // One tick of the auto-scroll.
    void Timer1Timer();

    QTimer& timer() { return Timer1; }
    QPoint dragPointValue() const { return dragPoint; }
    QPoint prevDragPointValue() const { return prevDragPoint; }

private:
    QRect gridBand() const;
    bool outsideGridBand(int x, int y) const;
    void stopAutoScroll();

    Navigator& navigator;
    NavigatorHost& host;
    CMyHyoDraw& view;
    CMyEdit& edit;
    QPointer<QWidget> grid;
    QScrollBar* scr_Right;
    QScrollBar* scr_Bottom;
    QTimer Timer1;
    QPoint dragPoint;
    QPoint prevDragPoint;
};
