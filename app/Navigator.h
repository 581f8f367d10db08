// Navigator: keys, mouse, wheel and scroll bars of the main window - cursor moves, selections,
// scrolling, the in-cell editor hand-over, zoom and the view commands (freeze, header, bands).
#pragma once

#include "app/GridKeys.h"
#include "view/CMyHyoDraw.h"

#include <QObject>
#include <QPointer>
#include <QPoint>
#include <QRect>
#include <QTimer>

#include <functional>
#include <string>

class CMyEdit;
class CMyGlobal;
class CMyHyo;
class QKeyEvent;
class QMouseEvent;
class QScrollBar;
class QWheelEvent;
class QWidget;

// What the main window lends the navigation: everything has a harmless default, so a test
// can run the navigation without the rest of the window.
struct NavigatorHooks {
    std::function<void(int scope)> updateStatus;          // status panels (0 all, 1 no size)
    std::function<void()> markModified;                   // caption gains "(更新)"
    std::function<bool()> returnMovesRight;               // tb_Ret is down
    std::function<void(int number, bool shift)> userKey;  // Ctrl+1..9 (Shift variants)
    std::function<void(int mode, const QPoint& globalPos)> toolPalette;   // right button
    std::function<bool()> copySelection;                  // Ctrl+C on the grid
    std::function<void()> pasteAtCursor;                  // Ctrl+V on the grid
    std::function<bool()> insertRows;                     // Ctrl+I instead of insertRowsAtCursor
    std::function<void()> viewModesChanged;               // menu check marks to refresh
};

class Navigator : public QObject {
    Q_OBJECT
public:
    static constexpr int MinScale = 50;
    static constexpr int MaxScale = 400;
    static constexpr int MaxTitleBytes = 60;

    // grid: the widget the view paints on and the editor sits on; the scroll bars are the
    // window's scr_Right (rows) and scr_Bottom (columns).
    Navigator(CMyHyo& hyo, CMyHyoDraw& view, CMyEdit& edit, CMyGlobal& global, QWidget* grid,
              QScrollBar* scrRight, QScrollBar* scrBottom, NavigatorHooks hooks = {});
    ~Navigator() override;

    // Routes the grid widget's key, mouse and wheel events here (an event filter).
    void installOn(QWidget* widget);

    // ---- main-window handlers -------------------------------------------------------------
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The character of a key press (Unicode text of the event).
    void FormKeyPress(const QString& text, int key, Qt::KeyboardModifiers modifiers);
    void FormMouseDown(Qt::MouseButton button, int x, int y, Qt::KeyboardModifiers modifiers);
    void FormMouseMove(int x, int y);
    void FormMouseUp();
    void FormDblClick();
    void FormMouseWheel(int delta);
    void scr_RightChange();
    void scr_BottomChange();
    void Timer1Timer();

    // ---- view key down (cursor, selection and scroll targets) ------------------------------
    KeyOutcome keyDown(int key, bool ctrl, bool shift);

    // ---- operations other parts call -------------------------------------------------------
    void commitEdit();
    bool startEditWithText();
    bool startTyping();
    // Ctrl+I on the grid: empty rows at the selected rows or the current row; true when rows
    // went in.
    bool insertRowsAtCursor();
    void goToCell(int column, int row);
    void renderAtPositions(bool forceHeader);
    void raiseScrollRanges();
    // After the filter is applied or cleared, or rows or columns went away: both bars span
    // exactly the new grid, the selection is dropped and the cursor is kept inside the grid.
    void fitScrollRanges();
    // Zoom by a step of percent; nothing while editing or at the limits.
    void zoom(int step);
    void toggleFrozen();
    // First row as header; false when refused or declined.
    bool toggleHeader();
    void toggleAlternate();
    // "選択中の情報表示(&D)...": commits an edit, then lists the selection's range and cell
    // sizes in the modal information window.
    void showSelectionInformation();
    void setAlternateMode(bool on, int lines, int scheme);
    bool alternateMode() const { return alternateOn; }
    int alternateLines() const { return alternateBand; }
    int alternateScheme() const { return alternateColour; }

    // ---- state for the window and tests --------------------------------------------------
    bool scrollSync = false;
    QTimer& timer() { return Timer1; }
    QPoint dragPointValue() const { return dragPoint; }
    QPoint prevDragPointValue() const { return prevDragPoint; }
    NavigatorHooks& hooks() { return hooks_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Cell {
        int column;
        int row;
        bool operator==(const Cell&) const = default;
    };

    void handleKeyPress(QKeyEvent* event);
    static int shiftedDigitKey(int key, quint32 scanCode);
    void actOnCode(const KeyOutcome& outcome);
    void positionEditorEmpty();
    QRect gridBand() const;
    bool outsideGridBand(int x, int y) const;
    void cutSelection();
    void controlCharacter(int key);
    bool openEditor(const std::string& text, int flags);
    void storeEditedCell(int column, int row, const std::string& text, int height);
    void setScrollPositions(int first, int top);

    void status(int scope);
    void modified();

    CMyHyo& hyo;
    CMyHyoDraw& view;
    CMyEdit& edit;
    CMyGlobal& global;
    QPointer<QWidget> grid;
    QScrollBar* scr_Right;
    QScrollBar* scr_Bottom;
    NavigatorHooks hooks_;
    GridKeys keys;
    QTimer Timer1;
    QPoint dragPoint;
    QPoint prevDragPoint;
    bool editOpen = false;   // an edit was opened and not yet stored or cancelled
    Cell editCell{0, 0};     // the cell it was opened on
    int editCellHeight = 0;  // and its height on screen
    bool alternateOn = false;
    int alternateBand = 1;
    int alternateColour = 0;
};
