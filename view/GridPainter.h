// GridPainter: draws the header strip, the row-number column and the rows of the grid into the
// off-screen image, from the store's row strings and the placement GridGeometry holds.
#pragma once

#include "view/GridGeometry.h"
#include "view/RowReader.h"

#include <QRect>
#include <QRgb>

#include <vector>

class CMyHyo;
class CMyHyoCom;
class GridCanvas;

// What one render paints with; the view fills it from its sizes and options.
struct GridStyle {
    int viewWidth = 0;
    int viewHeight = 0;
    int headerHeight = 0;
    int rowNumberWidth = 0;
    int linePitch = 0;
    QRgb headerColour = 0;
    QRgb text = 0;              // black, dark blue while the table is filtered
    bool cellOverflow = true;
    bool lineBreakMarks = true;
    int altInterval = 0;        // 0: no alternate lines
    QRgb altColour = 0;
};

class GridPainter {
public:
    GridPainter(GridCanvas& canvas, const CMyHyo& hyo, const CMyHyoCom& com);

    // Starts a render: the style to paint with; forgets the data end of the last rows.
    void begin(const GridStyle& style);
    // Frees the render's brushes.
    void end() { brushes_.clear(); }

    void drawHeader(const std::vector<ColumnSlot>& columns);
    void drawRowNumbers(const std::vector<LayoutEntry>& rows);
    void drawRow(const LayoutEntry& entry, const std::vector<ColumnSlot>& columns);

    // Data-end marks seen while drawing: the x after the last data column (found by the last
    // header drawing), the bottom of the last data row (this render); 0 when not on screen.
    int dataEndX() const { return dataEndX_; }
    int dataEndColumn() const { return dataEndColumn_; }
    int dataEndY() const { return dataEndY_; }

private:
    using Cell = RowReader::Cell;
    // The last three background colours asked for, most recent first.
    class BrushCache {
    public:
        QRgb colour(int index, const CMyHyoCom& com);
        void clear() { used_ = 0; }
    private:
        int indices_[3] = {0, 0, 0};
        QRgb colours_[3] = {0, 0, 0};
        int used_ = 0;
    };

    void drawGroup(const ColumnSlot* group, int count, const Cell& first, int y, int h, QRgb base,
                   QRgb baseText, bool baseIsAlternate);
    int drawCellText(const QRect& r, const Cell& cell, bool rightAligned, QRgb colour);
    void drawBreakMark(int left, int width, int y);
    QRgb cellBackground(const ColumnSlot& slot, const Cell& cell, QRgb base, bool baseIsAlternate);

    GridCanvas& canvas_;
    const CMyHyo& hyo_;
    const CMyHyoCom& com_;
    GridStyle style_;
    int columnCount_ = 0;    // columns in use, for this render
    int rowCount_ = 0;
    BrushCache brushes_;
    int dataEndX_ = 0;
    int dataEndColumn_ = 0;
    int dataEndY_ = 0;
};
