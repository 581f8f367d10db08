// GridPainter: header captions, row numbers, cell backgrounds, overflowing text and grid lines.
#include "view/GridPainter.h"

#include "store/CMyHyo.h"
#include "view/CMyHyoCom.h"
#include "view/GridCanvas.h"

#include <algorithm>
#include <string>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb GridLine = qRgb(190, 200, 200);
const QRgb BreakMark = qRgb(55, 176, 167);

inline QRgb fromPalette(uint32_t rgb) { return 0xff000000u | rgb; }

} // namespace

GridPainter::GridPainter(GridCanvas& canvas, const CMyHyo& hyo, const CMyHyoCom& com)
    : canvas_(canvas), hyo_(hyo), com_(com) {}

void GridPainter::begin(const GridStyle& style) {
    style_ = style;
    columnCount_ = std::max(hyo_.widestRowValue(), 0);
    rowCount_ = hyo_.rowCount();
    brushes_.clear();
    dataEndY_ = 0;
}

QRgb GridPainter::BrushCache::colour(int index, const CMyHyoCom& com) {
    int found = 0;
    while (found < used_ && indices_[found] != index) ++found;
    QRgb colour = found < used_ ? colours_[found] : fromPalette(com.backgroundColour(index));
    if (found == used_) found = std::min(used_, 2), used_ = std::min(used_ + 1, 3);
    for (int k = found; k > 0; --k) indices_[k] = indices_[k - 1], colours_[k] = colours_[k - 1];
    indices_[0] = index;
    colours_[0] = colour;
    return colour;
}

void GridPainter::drawHeader(const std::vector<ColumnSlot>& columns) {
    canvas_.fillRect(0, 0, style_.viewWidth, style_.headerHeight, style_.headerColour);
    dataEndX_ = 0;
    for (const ColumnSlot& slot : columns) {
        std::string caption = hyo_.inHeaderMode() ? hyo_.columnTitle(slot.column) : std::string();
        if (caption.empty()) caption = std::to_string(slot.column + 1);
        const int length = static_cast<int>(caption.size());
        const int width = canvas_.textWidth(caption.data(), length);
        canvas_.drawText(slot.x + (slot.width - width) / 2, 0, caption.data(), length, style_.text,
                         slot.x, slot.x + slot.width, 0, style_.headerHeight);
        canvas_.verticalLine(slot.x, 0, style_.headerHeight, Black);
        canvas_.verticalLine(slot.x + 1, 0, style_.headerHeight, White);
        if (slot.column == columnCount_) {
            dataEndX_ = slot.x + 1;
            dataEndColumn_ = columnCount_;
        }
    }
    canvas_.horizontalLine(0, style_.viewWidth, style_.headerHeight - 1, Black);
}

void GridPainter::drawRowNumbers(const std::vector<LayoutEntry>& rows) {
    const int width = style_.rowNumberWidth;
    canvas_.fillRect(0, style_.headerHeight, width, style_.viewHeight - style_.headerHeight,
                     style_.headerColour);
    for (size_t k = 1; k < rows.size() && k <= 1000; ++k) {
        const LayoutEntry& entry = rows[k];
        if (entry.gridY >= style_.viewHeight) break;
        const std::string number = std::to_string(entry.row + 1);
        const int length = static_cast<int>(number.size());
        const int textWidth = canvas_.textWidth(number.data(), length);
        const int bottom = entry.gridY + entry.height;
        canvas_.drawText((width - textWidth) / 2,
                         entry.gridY + (entry.height - canvas_.textHeight()) / 2, number.data(),
                         length, style_.text, 0, width, entry.gridY, bottom);
        canvas_.horizontalLine(0, width, bottom, Black);
        canvas_.horizontalLine(0, width, bottom + 1, White);
    }
    canvas_.verticalLine(width - 1, style_.headerHeight + 1, style_.viewHeight, Black);
}

QRgb GridPainter::cellBackground(const ColumnSlot& slot, const Cell& cell, QRgb base,
                                 bool baseIsAlternate) {
    const int index = CellLayout::colourIndex(cell.back, slot.backColour);
    if (index >= 0) return brushes_.colour(index, com_);
    // Alternate lines stop at the data's right edge; paper has no alternate lines.
    if (baseIsAlternate && slot.column >= columnCount_) return White;
    return base;
}

void GridPainter::drawRow(const LayoutEntry& entry, const std::vector<ColumnSlot>& columns) {
    const int row = entry.row, y = entry.gridY, h = entry.height;
    RowReader reader(hyo_.rowText(row), hyo_.rowLength(row));

    QRgb base = White;
    bool alternate = false;
    if (CMyHyoCom::isColourIndex(reader.rowBack())) {
        base = brushes_.colour(reader.rowBack(), com_);
    } else if (style_.altInterval > 0 && row % (2 * style_.altInterval) >= style_.altInterval &&
               row < rowCount_ && columnCount_ >= 1) {
        base = style_.altColour;
        alternate = true;
    }
    const QRgb baseText = CMyHyoCom::isColourIndex(reader.rowFore())
                              ? fromPalette(com_.textColour(reader.rowFore()))
                              : style_.text;

    // Overflow groups: a cell with text (or any cell when overflow is off, or the first one
    // after the frozen columns) starts a group; following empty cells join it so that its
    // text can run over them.
    int groupStart = -1;
    Cell groupCell;
    for (size_t k = 0; k < columns.size(); ++k) {
        const ColumnSlot& slot = columns[k];
        const Cell cell = reader.cell(slot.column);
        if (cell.length > 0 || slot.afterJump || k == 0 || !style_.cellOverflow) {
            if (groupStart >= 0)
                drawGroup(&columns[groupStart], static_cast<int>(k) - groupStart, groupCell, y, h,
                          base, baseText, alternate);
            groupStart = static_cast<int>(k);
            groupCell = cell;
        } else {
            canvas_.fillRect(slot.x, y, slot.width, h, cellBackground(slot, cell, base, alternate));
        }
    }
    if (groupStart >= 0)
        drawGroup(&columns[groupStart], static_cast<int>(columns.size()) - groupStart, groupCell, y,
                  h, base, baseText, alternate);
    // The row's line runs across the whole strip, the row-number column included.
    canvas_.horizontalLine(0, style_.viewWidth, y + h - 1, GridLine);
    if (row == rowCount_ - 1) dataEndY_ = y + h;
}

void GridPainter::drawGroup(const ColumnSlot* group, int count, const Cell& first, int y, int h,
                            QRgb base, QRgb baseText, bool baseIsAlternate) {
    const ColumnSlot& slot = group[0];
    const QRect r(slot.x, y, slot.width, h);
    canvas_.fillRect(slot.x, y, slot.width, h, cellBackground(slot, first, base, baseIsAlternate));
    // Text colour: the cell's own, else the column's, else the row's (or the default).
    const int index = CellLayout::colourIndex(first.fore, slot.textColour);
    const QRgb colour = index >= 0 ? fromPalette(com_.textColour(index)) : baseText;
    const int textEnd = first.length > 0 ? drawCellText(r, first, slot.rightAligned, colour) : 0;
    canvas_.verticalLine(slot.x, y, y + h, GridLine);
    // Inner borders stay hidden where the text runs across them.
    for (int k = 1; k < count; ++k)
        if (group[k].x >= slot.x + textEnd) canvas_.verticalLine(group[k].x, y, y + h, GridLine);
}

// Draws the cell's lines; returns how far the text reaches from the cell's left edge.
int GridPainter::drawCellText(const QRect& r, const Cell& cell, bool rightAligned, QRgb colour) {
    const int rowBottom = r.top() + r.height();   // lines below are covered by the next row
    int y = r.top() + 1;
    int textEnd = 0;
    CellLayout lines(cell.text, cell.length);
    CellLine line;
    while (lines.next(line) && !line.last) {
        const char* text = cell.text + line.start;
        const int width = canvas_.textWidth(text, line.length);
        if (y < rowBottom) {
            canvas_.drawText(r.left() + 3, y, text, line.length, colour);
            if (style_.lineBreakMarks) drawBreakMark(r.left(), width, y);
        }
        textEnd = std::max(textEnd, width + 8);
        y += style_.linePitch;
        rightAligned = false;
    }
    const char* text = cell.text + line.start;
    // On screen the right-aligned line ends 4 pixels inside the cell and is clipped to it; on
    // paper it ends 1 pixel (scaled) inside and is not clipped.
    if (rightAligned) {
        const int width = canvas_.textWidth(text, line.length);
        const int right = r.left() + r.width() - 4;
        canvas_.drawText(right - width, r.top() + 1, text, line.length, colour, r.left(), right,
                         r.top() + 1, rowBottom - 1);
        return textEnd;
    }
    const int width = y < rowBottom ? canvas_.drawText(r.left() + 3, y, text, line.length, colour)
                                    : canvas_.textWidth(text, line.length);
    return std::max(textEnd, width);
}

void GridPainter::drawBreakMark(int left, int width, int y) {
    const int x = left + width + 6;
    const int h = canvas_.textHeight();
    canvas_.verticalLine(x, y + 2, y + h - 2, BreakMark);
    canvas_.line(x + 3, y + h - 5, x, y + h - 2, BreakMark);
    canvas_.line(x, y + h - 2, x - 3, y + h - 5, BreakMark);
}
