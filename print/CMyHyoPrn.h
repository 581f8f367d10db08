// CMyHyoPrn: the page side of printing - page geometry, the split of the table into pages, and
// the drawing of one page (title strip, cells, grid lines) into any paint device.
#pragma once

#include "view/CellLayout.h"

#include <QFont>
#include <QRect>
#include <QRgb>

#include <vector>

class CMyHyo;
class CMyHyoCom;
class QPaintDevice;
class QPainter;
class QString;

// Page margins in device pixels.
struct PageMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Works on the rows as the view shows them, so a filtered table prints only its visible rows.
// Sizes are table pixels (the store's unscaled widths and heights) times scaleX / scaleY.
// Pages run across first: page n lies in page row (n - 1) / horizontalPages() and page column
// (n - 1) % horizontalPages().
class CMyHyoPrn {
public:
    CMyHyoPrn(const CMyHyo& hyo, const CMyHyoCom& com);

    // Takes the page geometry and scales, makes the font for `device` and splits the table.
    // Negative margins count as 0.
    void layoutPage(QPaintDevice* device, int pageWidth, int pageHeight, const PageMargins& margins,
                    double scaleX, double scaleY);
    // Both scales become `factor`; the font and the split are made again.
    void setScale(double factor);

    int horizontalPages() const;
    int verticalPages() const;
    int pageCount() const { return horizontalPages() * verticalPages(); }
    // First column and first row of page n (from 1); -1 for a page beyond the data.
    int pageFirstColumn(int page) const;
    int pageFirstRow(int page) const;

    // Draws page n (from 1) onto a painter working on the device given to layoutPage. The page
    // is not cleared first: it is fresh paper on a printer and the preview clears its image.
    void drawPage(QPainter& painter, int page);

    bool gridLines() const { return showGrid_; }
    void setGridLines(bool on) { showGrid_ = on; }
    bool overflow() const { return overflow_; }
    void setOverflow(bool on) { overflow_ = on; }

    int headerStrip() const { return headerStrip_; }
    int dataLeft() const { return margins_.left; }
    int dataTop() const { return margins_.top + headerStrip_; }
    int dataWidth() const { return dataWidth_; }
    int dataHeight() const { return dataHeight_; }
    int linePitch() const { return linePitch_; }
    // Text offsets inside a cell: from the left edge, from the top, from the right edge of a
    // number. They are the grid's 3, 1 and 1 pixels at the page's scale, so that the texts of
    // neighbouring cells keep the distance they have on the screen on a fine printer too.
    int textLeft() const { return textLeft_; }
    int textTop() const { return textTop_; }
    int textRight() const { return textRight_; }

private:
    using Slot = ColumnSlot;   // one column of the page being drawn

    void makeFont();
    void paginate();
    static std::vector<int> splitRuns(int count, double capacity, int (*size)(const CMyHyo&, int),
                                      const CMyHyo& hyo);
    std::vector<Slot> pageSlots(int pageColumn) const;
    void drawHeader(QPainter& painter, const std::vector<Slot>& placed, int lastRight);
    void drawRow(QPainter& painter, int row, int y, int h, const std::vector<Slot>& placed,
                 int lastRight);
    void drawSpan(QPainter& painter, const Slot* placed, int count, const char* text, int length,
                  int cellBack, int cellFore, int y, int h, QRgb rowBack, QRgb rowText);
    int drawLines(QPainter& painter, const Slot& slot, const char* text, int length, int y, int h,
                  QRgb colour, bool measure);
    void fillCell(QPainter& painter, int x, int y, int w, int h, QRgb colour);
    void gridLine(int x, int y, int w, int h);
    void drawGridLines(QPainter& painter);
    void horizontalLine(QPainter& painter, int x1, int x2, int y, QRgb colour);
    void verticalLine(QPainter& painter, int x, int y1, int y2, QRgb colour);
    QRgb background(int index) const;
    QRgb textColour(int index) const;

    const CMyHyo& hyo_;
    const CMyHyoCom& com_;
    QPaintDevice* device_ = nullptr;
    int pageWidth_ = 0;
    int pageHeight_ = 0;
    PageMargins margins_;
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    int headerStrip_ = 0;
    int dataWidth_ = 0;
    int dataHeight_ = 0;
    QFont font_;
    int ascent_ = 0;
    int charWidth_ = 0;
    int linePitch_ = 0;
    int maxAdvance_ = 0;
    int textLeft_ = 3;
    int textTop_ = 1;
    int textRight_ = 1;
    bool showGrid_ = true;
    bool overflow_ = true;
    int columnCount_ = 0;
    int inkReach_ = 0;                // right of this x the row being drawn is still blank
    std::vector<QRect> gridLines_;    // the cells' grid lines of the page being drawn
    std::vector<int> columnStarts_;   // first column of each page column
    std::vector<int> rowStarts_;      // first row of each page row
};
