// NavigatorHost: what the grid's navigation needs from the window around it. Every function
// must be given, so a command the window does not connect is a compile error.
#pragma once

class QPoint;

class NavigatorHost {
public:
    // Status panels: scope 0 all, 1 all but the table size.
    virtual void updateStatus(int scope) = 0;
    // The caption gains "(更新)".
    virtual void markModified() = 0;
    // Enter moves right instead of down (the toolbar's Return direction).
    virtual bool returnMovesRight() const = 0;
    // Ctrl+1..9, with or without Shift.
    virtual void runUserKey(int digit, bool shift) = 0;
    // The right button on the grid: mode 0 cells, 1 whole rows, 2 whole columns.
    virtual void showToolPalette(int mode, const QPoint& globalPos) = 0;
    // Ctrl+C on the grid; true when the selection went to the clipboard.
    virtual bool copySelection() = 0;
    // Ctrl+V on the grid.
    virtual void pasteAtCursor() = 0;
    // A view mode (header row, frozen columns, alternating background) changed.
    virtual void viewModesChanged() = 0;

protected:
    ~NavigatorHost() = default;
};
