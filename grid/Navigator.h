// Navigator: routes the grid's events to GridKeyboard and GridMouse, and keeps the scrolling,
// the hand-over from the in-cell editor (whose life is EditSession's), zoom and the view
// commands (freeze, header, bands).
#pragma once

#include "grid/EditSession.h"
#include "grid/GridKeyboard.h"
#include "grid/GridMouse.h"
#include "view/CMyHyoDraw.h"

#include <QObject>
#include <QPointer>
#include <QPoint>
#include <QRect>

#include <string>
#include <vector>

class CMyEdit;
class CMyGlobal;
class CMyHyo;
class NavigatorHost;
class QKeyEvent;
class QScrollBar;
class QWidget;

class Navigator : public QObject {
    Q_OBJECT
public:
    static constexpr int MinScale = 50;
    static constexpr int MaxScale = 400;

    // grid: the widget the view paints on and the editor sits on; the scroll bars are the
    // window's scr_Right (rows) and scr_Bottom (columns).
    Navigator(CMyHyo& hyo, CMyHyoDraw& view, CMyEdit& edit, CMyGlobal& global, QWidget* grid,
              QScrollBar* scrRight, QScrollBar* scrBottom, NavigatorHost& host);
    ~Navigator() override;

    // Routes the grid widget's key, mouse and wheel events here (an event filter).
    void installOn(QWidget* widget);

    // ---- main-window handlers -------------------------------------------------------------
    void scr_RightChange();
    void scr_BottomChange();

    // ---- operations other parts call -------------------------------------------------------
    // Stores an open edit and shows what it changed.
    void commitEdit();
    EditSession& session() { return editing; }
    GridMouse& mouse() { return mouse_; }
    GridKeyboard& keyboard() { return keyboard_; }
    void goToCell(int column, int row);
    void renderAtPositions(bool forceHeader);
    void raiseScrollRanges();
    // After the filter is applied or cleared, or rows or columns went away: both bars span
    // exactly the new grid, the selection is dropped and the cursor is kept inside the grid.
    void fitScrollRanges();
    // After a load the bars start at the top left and span exactly the new table, and the
    // cursor is back on the first cell.
    void resetScroll();
    // The bars back at a row and column they showed before, reaching at least that far.
    void restoreScroll(int top, int first);
    int topRow() const;
    int firstColumn() const;
    // The height of the rows' scroll bar, which the open flow sizes the rows by.
    int rowBarHeight() const;
    // Zoom by a step of percent; nothing while editing or at the limits.
    void zoom(int step);
    void toggleFrozen();
    // Unfreezes when columns are frozen.
    void releaseFreeze();
    // A freeze recorded in a colour file: columns first..end-1 stay at the left edge.
    void restoreFreeze(int first, int end);
    // First row as header; false when refused or declined.
    bool toggleHeader();
    void toggleAlternate();
    // "選択中の情報表示(&D)...": commits an edit, then gives the lines of the selection's range
    // and cell sizes that the information window lists.
    std::vector<std::string> selectionInformation();
    void setAlternateMode(bool on, int lines, int scheme);
    bool alternateMode() const { return alternateOn; }
    int alternateLines() const { return alternateBand; }
    int alternateScheme() const { return alternateColour; }

    // ---- state for the window and tests --------------------------------------------------
    bool scrollSync = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setScrollPositions(int first, int top);

    CMyHyo& hyo;
    CMyHyoDraw& view;
    CMyEdit& edit;
    CMyGlobal& global;
    QPointer<QWidget> grid;
    QScrollBar* scr_Right;
    QScrollBar* scr_Bottom;
    NavigatorHost& host;
    EditSession editing;
    GridKeyboard keyboard_;
    GridMouse mouse_;
    bool alternateOn = false;
    int alternateBand = 1;
    int alternateColour = 0;
};
