// CMyHyoPrn: the page side of printing - page geometry, the split of the table into pages, and
// the drawing of one page (title strip, cells, grid lines) into any paint device.
#pragma once

#include "view/CellLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QMargins>
#include <QPointF>
#include <QRect>
#include <QRgb>
#include <QSizeF>
#include <QTransform>

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

// A page as paper: what the preview and the printer share. A table pixel is one screen pixel
// at 100 %, so the screen's resolution and the data size turn millimetres into table pixels.
struct PageFrame {
    QSizeF paper{21000, 29700};   // hundredths of a millimetre, as oriented
    QMargins margins;             // hundredths of a millimetre
    QPointF screenDpi{96, 96};
    double dataSize = 1.0;
};

// Works on the rows as the view shows them, so a filtered table prints only its visible rows.
// Sizes are table pixels (the store's unscaled widths and heights) times scaleX / scaleY.
// Pages run across first: page n lies in page row (n - 1) / horizontalPages() and page column
// (n - 1) % horizontalPages().
class CMyHyoPrn {
public:
    CMyHyoPrn(const CMyHyo& hyo, const CMyHyoCom& com);

    // Lays the paper out on a device of `deviceDpi`: page, margins and scales in its pixels,
    // lines at least 0.25 mm and one pixel wide, and the split of the table made in table
    // pixels from the millimetres alone, so every device gets the same pages.
    void layoutFrame(QPaintDevice* device, const PageFrame& frame, QPointF deviceDpi);
    // Takes the page geometry and scales and splits the table against the data area.
    // Negative margins count as 0.
    void layoutPage(QPaintDevice* device, int pageWidth, int pageHeight, const PageMargins& margins,
                    double scaleX, double scaleY);
    // Both scales become `factor`; the split is made again.
    void setScale(double factor);

    int horizontalPages() const;
    int verticalPages() const;
    int pageCount() const { return horizontalPages() * verticalPages(); }
    // First column and first row of page n (from 1); -1 for a page beyond the data.
    int pageFirstColumn(int page) const;
    int pageFirstRow(int page) const;

    // Draws page n (from 1) onto a painter working on the device given to layoutPage, in that
    // device's pixels (after the painter's own transform). The page is not cleared first: it
    // is fresh paper on a printer, and the preview clears its page first.
    void drawPage(QPainter& painter, int page);

    bool gridLines() const { return showGrid_; }
    void setGridLines(bool on) { showGrid_ = on; }
    bool overflow() const { return overflow_; }
    void setOverflow(bool on) { overflow_ = on; }

    int pageWidth() const { return pageWidth_; }
    int pageHeight() const { return pageHeight_; }
    int headerStrip() const { return headerStrip_; }
    int dataLeft() const { return margins_.left; }
    int dataTop() const { return margins_.top + headerStrip_; }
    int dataWidth() const { return dataWidth_; }
    int dataHeight() const { return dataHeight_; }
    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }
    const QFont& font() const { return font_; }
    // Where the text of a cell's line starts, relative to the cell's top left corner, in table
    // pixels: the text is set in the 12-pixel table font and scaled with the page, so it
    // keeps its size relative to the cell on every device and at every data size.
    static constexpr double TextLeft = 3;
    static constexpr double TextTop = 1;
    static constexpr double TextRight = 1;

private:
    static QFont tableFont();
    using Slot = ColumnSlot;   // one column of the page being drawn

    void layout(QPaintDevice* device, int pageWidth, int pageHeight, const PageMargins& margins,
                double scaleX, double scaleY, QSizeF capacity);
    void applyScale();
    void paginate();
    static std::vector<int> splitRuns(int count, double capacity, int (*size)(const CMyHyo&, int),
                                      const CMyHyo& hyo);
    std::vector<Slot> pageSlots(int pageColumn) const;
    void drawHeader(QPainter& painter, const std::vector<Slot>& placed, int lastRight);
    void drawRow(QPainter& painter, int row, int y, int h, const std::vector<Slot>& placed,
                 int lastRight);
    void drawSpan(QPainter& painter, const Slot* placed, int count, const char* text, int length,
                  int cellBack, int cellFore, int y, int h, QRgb rowBack, QRgb rowText);
    int drawLines(QPainter& painter, const Slot& slot, int spanRight, const char* text, int length,
                  int y, int h, QRgb colour);
    void drawTextAt(QPainter& painter, double x, double top, const QString& text,
                    const QRect& clip, double width);
    void fillCell(QPainter& painter, int x, int y, int w, int h, QRgb colour);
    void verticalGridLine(int x, int y, int h);
    void horizontalGridLine(int x1, int x2, int y);
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
    QSizeF capacity_;        // the data area in table pixels; empty: data area / scale
    int lineWidth_ = 1;
    int lineHeight_ = 1;
    int minimumLineX_ = 1;   // 0.25 mm in device pixels, at least one
    int minimumLineY_ = 1;
    QFont font_;             // the table font: 12 table pixels
    QFontMetricsF metrics_;  // its measures, taken once
    double ascent_ = 0;
    double lineHeightOfText_ = 0;
    double linePitch_ = 0;
    QTransform base_;        // the painter's transform when the page began
    bool showGrid_ = true;
    bool overflow_ = true;
    int columnCount_ = 0;
    std::vector<QRect> verticals_;    // the cells' grid lines of the page being drawn
    std::vector<QRect> horizontals_;
    std::vector<int> columnStarts_;   // first column of each page column
    std::vector<int> rowStarts_;      // first row of each page row
};
