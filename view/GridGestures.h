// GridGestures: the mouse gestures made on the grid view, worked out on the view's own state.
#pragma once

class CMyHyoDraw;
struct ColumnSlot;
struct LayoutEntry;

// One object per event; the codes returned are MouseDownCode, MouseShape and MouseUpCode.
class GridGestures {
public:
    explicit GridGestures(CMyHyoDraw& view) : view_(view) {}
    int down(int x, int y, bool shift);
    int move(int x, int y);
    int up();

private:
    bool onFillHandle(int x, int y) const;
    void showGuide();
    void eraseGuide();
    void selectColumn(int column, bool shift);
    void selectRow(int row, bool shift);
    void startColumnDrag(const ColumnSlot& slot);
    void startRowDrag(const LayoutEntry& entry);
    void startFill();
    void pressCell(int column, int row, bool shift);
    void extendTo(int x, int y);
    int finishGuide();
    int finishColumnDrag();
    int finishRowDrag();
    int finishSelection();

    CMyHyoDraw& view_;
};
