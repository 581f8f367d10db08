// CMyHyoPrn: splits the table into page columns and page rows and draws one page with QPainter.
#include "print/CMyHyoPrn.h"

#include "platform/core/CodePage.h"
#include "store/CMyHyo.h"
#include "store/NumberText.h"
#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"
#include "view/RowReader.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr double HundredthsPerInch = 2540.0;
const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb HeaderGrey = qRgb(192, 192, 192);
constexpr int NumericKind = 1;

// Numbers are right-aligned by the filter's notion of a number ("12abc" is 12).
bool isNumberText(const char* text, int length) {
    double unused = 0;
    return NumberText::filterValue(std::string_view(text, static_cast<size_t>(length)), unused);
}

QString toQString(const char* text, int length) {
    bool ascii = true;
    for (int i = 0; i < length && ascii; ++i) ascii = static_cast<unsigned char>(text[i]) < 0x80;
    if (ascii) return QString::fromLatin1(text, length);
    std::u16string utf16;
    CodePage::cp932ToUtf16(std::string_view(text, static_cast<size_t>(length)), utf16);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

int columnSize(const CMyHyo& hyo, int column) { return hyo.columnWidth(column); }
int rowSize(const CMyHyo& hyo, int row) { return hyo.rowHeight(row); }

} // namespace

// The table font, 12 table pixels, fixed for the life of a layout.
QFont CMyHyoPrn::tableFont() {
    QFont font(CMyHyoDraw::fontFamily());
    font.setPixelSize(12);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Cell texts are plain runs of characters: shaping them costs more than drawing them.
    font.setStyleStrategy(QFont::PreferNoShaping);
    // Unhinted, the table font measures the same on the screen and on paper.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

CMyHyoPrn::CMyHyoPrn(const CMyHyo& hyo, const CMyHyoCom& com)
    : hyo_(hyo), com_(com), font_(tableFont()), metrics_(font_) {
    ascent_ = metrics_.ascent();
    lineHeightOfText_ = metrics_.height();
    linePitch_ = lineHeightOfText_ + 2;
}

void CMyHyoPrn::layoutFrame(QPaintDevice* device, const PageFrame& frame, QPointF deviceDpi) {
    const auto pixels = [](double hundredths, double dpi) {
        return static_cast<int>(hundredths * dpi / HundredthsPerInch);
    };
    const double dataSize = frame.dataSize > 0 ? frame.dataSize : 1.0;
    const QMargins& m = frame.margins;
    const PageMargins margins{pixels(m.left(), deviceDpi.x()), pixels(m.top(), deviceDpi.y()),
                              pixels(m.right(), deviceDpi.x()), pixels(m.bottom(), deviceDpi.y())};
    // A line is a table pixel wide, but never thinner than a device pixel or a quarter of a
    // millimetre: thinner lines vanish on fine printers.
    minimumLineX_ = std::max(1, static_cast<int>(std::ceil(deviceDpi.x() / 101.6 - 1e-6)));
    minimumLineY_ = std::max(1, static_cast<int>(std::ceil(deviceDpi.y() / 101.6 - 1e-6)));
    const double titles = hyo_.inHeaderMode() ? 16 : 0;
    const QSizeF capacity(
        std::max(frame.paper.width() - m.left() - m.right(), 0.0) * frame.screenDpi.x() /
            HundredthsPerInch / dataSize,
        std::max(frame.paper.height() - m.top() - m.bottom(), 0.0) * frame.screenDpi.y() /
            HundredthsPerInch / dataSize - titles);
    layout(device, pixels(frame.paper.width(), deviceDpi.x()),
           pixels(frame.paper.height(), deviceDpi.y()), margins,
           deviceDpi.x() / frame.screenDpi.x() * dataSize,
           deviceDpi.y() / frame.screenDpi.y() * dataSize, capacity);
}

void CMyHyoPrn::layoutPage(QPaintDevice* device, int pageWidth, int pageHeight,
                           const PageMargins& margins, double scaleX, double scaleY) {
    minimumLineX_ = minimumLineY_ = 1;
    layout(device, pageWidth, pageHeight, margins, scaleX, scaleY, QSizeF());
}

void CMyHyoPrn::layout(QPaintDevice* device, int pageWidth, int pageHeight,
                       const PageMargins& margins, double scaleX, double scaleY,
                       QSizeF capacity) {
    device_ = device;
    capacity_ = capacity;
    pageWidth_ = pageWidth;
    pageHeight_ = pageHeight;
    margins_ = {std::max(margins.left, 0), std::max(margins.top, 0), std::max(margins.right, 0),
                std::max(margins.bottom, 0)};
    scaleX_ = scaleX;
    scaleY_ = scaleY;
    applyScale();
    paginate();
}

void CMyHyoPrn::setScale(double factor) {
    // The paper's capacity in table pixels shrinks as the data size grows.
    if (!capacity_.isEmpty() && factor > 0)
        capacity_ = QSizeF(capacity_.width() * scaleX_ / factor,
                           (capacity_.height() + (headerStrip_ > 0 ? 16 : 0)) * scaleY_ / factor -
                               (headerStrip_ > 0 ? 16 : 0));
    scaleX_ = scaleY_ = factor;
    applyScale();
    paginate();
}

void CMyHyoPrn::applyScale() {
    headerStrip_ = hyo_.inHeaderMode() ? static_cast<int>(16 * scaleY_) : 0;
    dataWidth_ = pageWidth_ - margins_.left - margins_.right;
    dataHeight_ = pageHeight_ - margins_.top - headerStrip_ - margins_.bottom;
    lineWidth_ = std::max(static_cast<int>(scaleX_), minimumLineX_);
    lineHeight_ = std::max(static_cast<int>(scaleY_), minimumLineY_);
}

// Pages are split in table pixels against the paper's data area in table pixels, so the
// preview (screen pixels) and the printer (printer pixels) break the table at the same
// columns and rows even though their truncations differ.
void CMyHyoPrn::paginate() {
    const double width = capacity_.isEmpty() ? dataWidth_ / scaleX_ : capacity_.width();
    const double height = capacity_.isEmpty() ? dataHeight_ / scaleY_ : capacity_.height();
    columnCount_ = std::max(hyo_.widestRowValue(), 0);
    columnStarts_ = splitRuns(columnCount_, width, columnSize, hyo_);
    rowStarts_ = splitRuns(hyo_.rowCount(), height, rowSize, hyo_);
}

// A run takes consecutive items while their summed size fits; its first item of any size is
// always taken, so an item larger than the capacity gets a run of its own. Sizes of 0 or less
// take no room and join the run they fall in.
std::vector<int> CMyHyoPrn::splitRuns(int count, double capacity,
                                      int (*size)(const CMyHyo&, int), const CMyHyo& hyo) {
    std::vector<int> starts;
    int i = 0;
    while (i < count) {
        starts.push_back(i);
        long long sum = std::max(size(hyo, i), 0);
        for (++i; i < count; ++i) {
            const int next = std::max(size(hyo, i), 0);
            if (next > 0 && sum > 0 && static_cast<double>(sum + next) > capacity + 1e-9) break;
            sum += next;
        }
    }
    return starts;
}

int CMyHyoPrn::horizontalPages() const {
    return std::max(static_cast<int>(columnStarts_.size()), 1);
}

int CMyHyoPrn::verticalPages() const { return std::max(static_cast<int>(rowStarts_.size()), 1); }

int CMyHyoPrn::pageFirstColumn(int page) const {
    if (page < 1 || page > pageCount()) return -1;
    const size_t pageColumn = static_cast<size_t>((page - 1) % horizontalPages());
    return pageColumn < columnStarts_.size() ? columnStarts_[pageColumn] : -1;
}

int CMyHyoPrn::pageFirstRow(int page) const {
    if (page < 1 || page > pageCount()) return -1;
    const size_t pageRow = static_cast<size_t>((page - 1) / horizontalPages());
    return pageRow < rowStarts_.size() ? rowStarts_[pageRow] : -1;
}

QRgb CMyHyoPrn::background(int index) const { return 0xff000000u | com_.backgroundColour(index); }

QRgb CMyHyoPrn::textColour(int index) const { return 0xff000000u | com_.textColour(index); }

std::vector<CMyHyoPrn::Slot> CMyHyoPrn::pageSlots(int pageColumn) const {
    std::vector<Slot> placed;
    const int first = columnStarts_[pageColumn];
    const int end = pageColumn + 1 < static_cast<int>(columnStarts_.size())
                        ? columnStarts_[pageColumn + 1] : columnCount_;
    long long sum = 0;
    for (int column = first; column < end; ++column) {
        const int left = static_cast<int>(sum * scaleX_);
        sum += std::max(hyo_.columnWidth(column), 0);
        const int right = static_cast<int>(sum * scaleX_);
        if (right <= left) continue;
        placed.push_back({column, margins_.left + left, right - left,
                          hyo_.columnKind(column) == NumericKind,
                          hyo_.columnColour(column, AttrTextColour),
                          hyo_.columnColour(column, AttrBackColour), false});
    }
    return placed;
}

void CMyHyoPrn::drawPage(QPainter& painter, int page) {
    if (page < 1 || page > pageCount()) return;
    const int pageColumn = (page - 1) % horizontalPages();
    const int pageRow = (page - 1) / horizontalPages();
    if (pageColumn >= static_cast<int>(columnStarts_.size())) return;   // nothing to print
    const std::vector<Slot> placed = pageSlots(pageColumn);
    const int lastRight = placed.empty() ? margins_.left : placed.back().x + placed.back().width;
    painter.save();
    base_ = painter.transform();
    painter.setFont(font_);
    drawHeader(painter, placed, lastRight);
    if (pageRow < static_cast<int>(rowStarts_.size())) {
        const int first = rowStarts_[pageRow];
        const int end = pageRow + 1 < static_cast<int>(rowStarts_.size()) ? rowStarts_[pageRow + 1]
                                                                          : hyo_.rowCount();
        long long sum = 0;
        for (int row = first; row < end; ++row) {
            const int top = static_cast<int>(sum * scaleY_);
            sum += std::max(hyo_.rowHeight(row), 0);
            const int bottom = static_cast<int>(sum * scaleY_);
            if (bottom > top) drawRow(painter, row, dataTop() + top, bottom - top, placed, lastRight);
        }
    }
    drawGridLines(painter);
    painter.restore();
}

// The strip's rules run across the printed columns and the line that closes them.
void CMyHyoPrn::drawHeader(QPainter& painter, const std::vector<Slot>& placed, int lastRight) {
    const bool titles = headerStrip_ > 0;
    const int top = margins_.top, left = margins_.left;
    const int right = lastRight + lineWidth_;
    if (titles) {
        painter.fillRect(left, top, lastRight - left, headerStrip_, QColor(HeaderGrey));
        const QFontMetricsF& metrics = metrics_;
        painter.setPen(QColor(Black));
        for (const Slot& slot : placed) {
            if (slot.x + slot.width - left > dataWidth_) break;
            std::string title = hyo_.columnTitle(slot.column);
            if (title.empty()) title = std::to_string(slot.column + 1);
            const QString caption = toQString(title.data(), static_cast<int>(title.size()));
            const double width = metrics.horizontalAdvance(caption) * scaleX_;
            drawTextAt(painter, slot.x + (slot.width - width) / 2, top, caption,
                       QRect(slot.x, top, slot.width, headerStrip_), width);
            verticalLine(painter, slot.x, top, top + headerStrip_, Black);
            verticalLine(painter, slot.x + lineWidth_, top, top + headerStrip_, White);
        }
    }
    if (titles || showGrid_) horizontalLine(painter, left, right, top - lineHeight_, Black);
    if (!titles) return;
    horizontalLine(painter, left, right, top + headerStrip_ - lineHeight_, Black);
    verticalLine(painter, lastRight, top, top + headerStrip_, Black);
}

void CMyHyoPrn::drawRow(QPainter& painter, int row, int y, int h, const std::vector<Slot>& placed,
                        int lastRight) {
    RowReader reader(hyo_.rowText(row), hyo_.rowLength(row));
    const QRgb rowBack = CMyHyoCom::isColourIndex(reader.rowBack()) ? background(reader.rowBack())
                                                                    : White;
    const QRgb rowText = CMyHyoCom::isColourIndex(reader.rowFore()) ? textColour(reader.rowFore())
                                                                    : Black;
    // A cell with text (every cell when overflow is off) starts a span; the empty cells after
    // it are filled at once and join it, so that its text can run over them.
    int spanStart = -1;
    RowReader::Cell spanCell;
    const int count = static_cast<int>(placed.size());
    for (int k = 0; k <= count; ++k) {
        RowReader::Cell cell;
        if (k < count) cell = reader.cell(placed[k].column);
        if (k < count && k > 0 && cell.length == 0 && overflow_) {
            const Slot& slot = placed[k];
            const int back = CellLayout::colourIndex(cell.back, slot.backColour);
            fillCell(painter, slot.x, y, slot.width, h, back >= 0 ? background(back) : rowBack);
            continue;
        }
        if (spanStart >= 0)
            drawSpan(painter, &placed[spanStart], k - spanStart, spanCell.text, spanCell.length,
                     spanCell.back, spanCell.fore, y, h, rowBack, rowText);
        spanStart = k;
        spanCell = cell;
    }
    if (!showGrid_) return;
    horizontalGridLine(margins_.left, lastRight + lineWidth_, y + h);
    verticalGridLine(lastRight, y, h);
}

void CMyHyoPrn::drawSpan(QPainter& painter, const Slot* placed, int count, const char* text,
                         int length, int cellBack, int cellFore, int y, int h, QRgb rowBack,
                         QRgb rowText) {
    const Slot& slot = placed[0];
    const int backIndex = CellLayout::colourIndex(cellBack, slot.backColour);
    const int foreIndex = CellLayout::colourIndex(cellFore, slot.textColour);
    const QRgb back = backIndex >= 0 ? background(backIndex) : rowBack;
    const QRgb fore = foreIndex >= 0 ? textColour(foreIndex) : rowText;
    fillCell(painter, slot.x, y, slot.width, h, back);
    const int spanRight = placed[count - 1].x + placed[count - 1].width;
    const int textEnd = length > 0 ? drawLines(painter, slot, spanRight, text, length, y, h, fore)
                                   : 0;
    if (!showGrid_) return;
    verticalGridLine(slot.x, y, h);
    // Inner borders stay hidden where the text runs across them.
    for (int k = 1; k < count; ++k)
        if (placed[k].x >= slot.x + textEnd) verticalGridLine(placed[k].x, y, h);
}

// Writes the cell's lines (a line ends at CR; CR LF counts as one), clipped to the cell and the
// empty cells it runs over up to `spanRight`, as on the screen; returns how far the text
// reaches from the cell's left edge. A one-line number in a number column sits at the right
// (see ColumnSlot::rightAligned for why paper asks for a number).
int CMyHyoPrn::drawLines(QPainter& painter, const Slot& slot, int spanRight, const char* text,
                         int length, int y, int h, QRgb colour) {
    const QFontMetricsF& metrics = metrics_;
    painter.setPen(QColor(colour));
    CellLayout lines(text, length);
    if (slot.rightAligned && lines.oneLine() && isNumberText(text, length)) {
        const QString line = toQString(text, length);
        const double width = metrics.horizontalAdvance(line) * scaleX_;
        drawTextAt(painter, slot.x + slot.width - TextRight * scaleX_ - width,
                   y + TextTop * scaleY_, line, QRect(slot.x, y, slot.width, h), width);
        return slot.width;
    }
    const QRect clip(slot.x, y, spanRight - slot.x, h);
    double textEnd = 0;
    CellLine line;
    for (double lineTop = y + TextTop * scaleY_; lineTop < y + h && lines.next(line);
         lineTop += linePitch_ * scaleY_) {
        if (line.length == 0) continue;
        const QString shown = toQString(text + line.start, line.length);
        const double width = metrics.horizontalAdvance(shown) * scaleX_;
        drawTextAt(painter, slot.x + TextLeft * scaleX_, lineTop, shown, clip, width);
        textEnd = std::max(textEnd, TextLeft * scaleX_ + width);
    }
    return static_cast<int>(std::ceil(textEnd));
}

// Sets one line of text in the table font scaled to the page, its top at `top`; the clip is
// set only where the text would leave `clip`, which keeps printer output small.
void CMyHyoPrn::drawTextAt(QPainter& painter, double x, double top, const QString& text,
                           const QRect& clip, double width) {
    const double bottom = top + lineHeightOfText_ * scaleY_;
    const bool inside = x >= clip.left() && x + width <= clip.left() + clip.width() &&
                        top >= clip.top() && bottom <= clip.top() + clip.height();
    if (!inside) {
        painter.save();
        painter.setClipRect(clip, Qt::IntersectClip);
    }
    painter.setTransform(QTransform(scaleX_, 0, 0, scaleY_, x, top) * base_);
    painter.drawText(QPointF(0, ascent_), text);
    painter.setTransform(base_);
    if (!inside) painter.restore();
}

// Grid lines are drawn when the page's cells are done, nothing covers them, and the borders of
// consecutive rows at one x are joined into one line: a page then carries a few dozen lines
// instead of thousands of pieces. A vertical line lies right of its x, a horizontal one above
// its y.
void CMyHyoPrn::verticalGridLine(int x, int y, int h) {
    if (h > 0) verticals_.emplace_back(x, y, lineWidth_, h);
}

void CMyHyoPrn::horizontalGridLine(int x1, int x2, int y) {
    if (x2 > x1) horizontals_.emplace_back(x1, y - lineHeight_, x2 - x1, lineHeight_);
}

void CMyHyoPrn::drawGridLines(QPainter& painter) {
    std::sort(verticals_.begin(), verticals_.end(), [](const QRect& a, const QRect& b) {
        return std::pair(a.x(), a.y()) < std::pair(b.x(), b.y());
    });
    std::vector<QRect> joined = std::move(horizontals_);
    const size_t firstVertical = joined.size();
    for (const QRect& line : verticals_) {
        QRect* last = joined.size() > firstVertical ? &joined.back() : nullptr;
        if (last && last->x() == line.x() && line.y() <= last->y() + last->height())
            last->setBottom(std::max(last->bottom(), line.bottom()));
        else
            joined.push_back(line);
    }
    verticals_.clear();
    horizontals_.clear();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Black));
    painter.drawRects(joined.data(), static_cast<int>(joined.size()));
    painter.restore();
}

// The page starts blank and nothing is drawn inside a cell before its fill (texts keep to
// their cells, grid lines come last): white fills change nothing and are left out, which keeps
// printer output small.
void CMyHyoPrn::fillCell(QPainter& painter, int x, int y, int w, int h, QRgb colour) {
    if (w <= 0 || h <= 0 || colour == White) return;
    painter.fillRect(x, y, w, h, QColor(colour));
}

void CMyHyoPrn::horizontalLine(QPainter& painter, int x1, int x2, int y, QRgb colour) {
    if (x2 > x1) painter.fillRect(x1, y, x2 - x1, lineHeight_, QColor(colour));
}

void CMyHyoPrn::verticalLine(QPainter& painter, int x, int y1, int y2, QRgb colour) {
    if (y2 > y1) painter.fillRect(x, y1, lineWidth_, y2 - y1, QColor(colour));
}
