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
#include <tuple>
#include <string>

namespace {

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

CMyHyoPrn::CMyHyoPrn(const CMyHyo& hyo, const CMyHyoCom& com) : hyo_(hyo), com_(com) {}

void CMyHyoPrn::layoutPage(QPaintDevice* device, int pageWidth, int pageHeight,
                           const PageMargins& margins, double scaleX, double scaleY) {
    device_ = device;
    pageWidth_ = pageWidth;
    pageHeight_ = pageHeight;
    margins_ = {std::max(margins.left, 0), std::max(margins.top, 0), std::max(margins.right, 0),
                std::max(margins.bottom, 0)};
    scaleX_ = scaleX;
    scaleY_ = scaleY;
    makeFont();
    paginate();
}

void CMyHyoPrn::setScale(double factor) {
    scaleX_ = scaleY_ = factor;
    makeFont();
    paginate();
}

void CMyHyoPrn::makeFont() {
    headerStrip_ = hyo_.inHeaderMode() ? static_cast<int>(16 * scaleY_) : 0;
    dataWidth_ = pageWidth_ - margins_.left - margins_.right;
    dataHeight_ = pageHeight_ - margins_.top - headerStrip_ - margins_.bottom;
    QFont font(CMyHyoDraw::fontFamily());
    font.setPixelSize(std::max(1, static_cast<int>(scaleY_ * 12)));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Cell texts are plain runs of characters: shaping them costs more than drawing them.
    font.setStyleStrategy(QFont::PreferNoShaping);
    font_ = device_ ? QFont(font, device_) : font;
    const QFontMetrics metrics = device_ ? QFontMetrics(font_, device_) : QFontMetrics(font_);
    ascent_ = metrics.ascent();
    charWidth_ = metrics.horizontalAdvance(QLatin1Char('W'));
    maxAdvance_ = std::max(metrics.maxWidth(), charWidth_);
    textLeft_ = std::max(1, static_cast<int>(3 * scaleX_));
    textTop_ = std::max(1, static_cast<int>(scaleY_));
    textRight_ = std::max(1, static_cast<int>(scaleX_));
    linePitch_ = metrics.height() + std::max(2, static_cast<int>(2 * scaleY_));
}

// Pages are split in table pixels against the data area divided by the scale, so the preview
// (screen pixels) and the printer (printer pixels) break the table at the same columns and
// rows even though their truncations differ.
void CMyHyoPrn::paginate() {
    columnCount_ = std::max(hyo_.widestRowValue(), 0);
    columnStarts_ = splitRuns(columnCount_, dataWidth_ / scaleX_, columnSize, hyo_);
    rowStarts_ = splitRuns(hyo_.rowCount(), dataHeight_ / scaleY_, rowSize, hyo_);
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

void CMyHyoPrn::drawHeader(QPainter& painter, const std::vector<Slot>& placed, int lastRight) {
    const bool titles = headerStrip_ > 0;
    const int top = margins_.top;
    if (titles) {
        painter.fillRect(margins_.left, top, dataWidth_, headerStrip_, QColor(HeaderGrey));
        const QFontMetrics metrics(font_, device_);
        painter.setPen(QColor(Black));
        for (const Slot& slot : placed) {
            if (slot.x + slot.width - margins_.left > dataWidth_) break;
            std::string title = hyo_.columnTitle(slot.column);
            if (title.empty()) title = std::to_string(slot.column + 1);
            const QString caption = toQString(title.data(), static_cast<int>(title.size()));
            const int width = metrics.horizontalAdvance(caption);
            painter.drawText(QPoint(slot.x + (slot.width - width) / 2, top + ascent_), caption);
            verticalLine(painter, slot.x, top, top + headerStrip_, Black);
            verticalLine(painter, slot.x + 1, top, top + headerStrip_, White);
        }
    }
    if (titles || showGrid_)
        horizontalLine(painter, margins_.left, margins_.left + dataWidth_, top - 1, Black);
    if (!titles) return;
    horizontalLine(painter, margins_.left, margins_.left + dataWidth_, top + headerStrip_ - 1, Black);
    painter.fillRect(lastRight, top, std::max(pageWidth_ - lastRight, 0), headerStrip_,
                     QColor(White));
    verticalLine(painter, lastRight, top, top + headerStrip_, Black);
}

void CMyHyoPrn::drawRow(QPainter& painter, int row, int y, int h, const std::vector<Slot>& placed,
                        int lastRight) {
    RowReader reader(hyo_.rowText(row), hyo_.rowLength(row));
    const QRgb rowBack = CMyHyoCom::isColourIndex(reader.rowBack()) ? background(reader.rowBack())
                                                                    : White;
    const QRgb rowText = CMyHyoCom::isColourIndex(reader.rowFore()) ? textColour(reader.rowFore())
                                                                    : Black;
    inkReach_ = 0;
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
    if (showGrid_) gridLine(margins_.left, y + h - 1, lastRight - margins_.left, 1);
    fillCell(painter, lastRight, y, std::max(pageWidth_ - lastRight, 0), h, White);
    if (showGrid_) gridLine(lastRight, y, 1, h);
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
    const int textEnd = length > 0 ? drawLines(painter, slot, text, length, y, h, fore, count > 1)
                                   : 0;
    inkReach_ = std::max(inkReach_, slot.x + textEnd);
    if (!showGrid_) return;
    gridLine(slot.x, y, 1, h);
    // Inner borders stay hidden where the text runs across them.
    for (int k = 1; k < count; ++k)
        if (placed[k].x >= slot.x + textEnd) gridLine(placed[k].x, y, 1, h);
}

// Writes the cell's lines (a line ends at CR; CR LF counts as one); returns how far the text
// reaches from the cell's left edge - measured when `measure`, else a bound from the longest
// line's bytes (no character is wider than the font's widest). A one-line number in a number
// column sits at the right (see ColumnSlot::rightAligned for why paper asks for a number).
int CMyHyoPrn::drawLines(QPainter& painter, const Slot& slot, const char* text, int length, int y,
                         int h, QRgb colour, bool measure) {
    const QFontMetrics metrics(font_, device_);
    painter.setPen(QColor(colour));
    CellLayout lines(text, length);
    if (slot.rightAligned && lines.oneLine() && isNumberText(text, length)) {
        const QString line = toQString(text, length);
        const int width = metrics.horizontalAdvance(line);
        painter.drawText(QPoint(slot.x + slot.width - textRight_ - width, y + textTop_ + ascent_),
                         line);
        return slot.width;
    }
    int textEnd = 0;
    CellLine line;
    for (int lineTop = y + textTop_; lineTop < y + h && lines.next(line); lineTop += linePitch_) {
        if (line.length > 0) {
            const QString shown = toQString(text + line.start, line.length);
            painter.drawText(QPoint(slot.x + textLeft_, lineTop + ascent_), shown);
            const int width = measure ? metrics.horizontalAdvance(shown) : line.length * maxAdvance_;
            textEnd = std::max(textEnd, textLeft_ + width);
        }
    }
    return textEnd;
}

// The cells' grid lines are drawn when the page's cells are done, nothing covers them, and
// the borders of consecutive rows at one x are joined into one line: a page then carries a
// few dozen lines instead of thousands of pieces.
void CMyHyoPrn::gridLine(int x, int y, int w, int h) {
    if (w > 0 && h > 0) gridLines_.emplace_back(x, y, w, h);
}

void CMyHyoPrn::drawGridLines(QPainter& painter) {
    std::sort(gridLines_.begin(), gridLines_.end(), [](const QRect& a, const QRect& b) {
        return std::tuple(a.width(), a.x(), a.y()) < std::tuple(b.width(), b.x(), b.y());
    });
    std::vector<QRect> joined;
    for (const QRect& line : gridLines_) {
        QRect* last = joined.empty() ? nullptr : &joined.back();
        if (last && line.width() == 1 && last->width() == 1 && last->x() == line.x() &&
            line.y() <= last->y() + last->height())
            last->setBottom(std::max(last->bottom(), line.bottom()));
        else
            joined.push_back(line);
    }
    gridLines_.clear();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Black));
    painter.drawRects(joined.data(), static_cast<int>(joined.size()));
    painter.restore();
}

// The page starts blank: a white fill right of everything drawn in the row so far changes
// nothing and is left out, which keeps printer output small.
void CMyHyoPrn::fillCell(QPainter& painter, int x, int y, int w, int h, QRgb colour) {
    if (w <= 0 || h <= 0 || (colour == White && x >= inkReach_)) return;
    painter.fillRect(x, y, w, h, QColor(colour));
}

void CMyHyoPrn::horizontalLine(QPainter& painter, int x1, int x2, int y, QRgb colour) {
    if (x2 > x1) painter.fillRect(x1, y, x2 - x1, 1, QColor(colour));
}

void CMyHyoPrn::verticalLine(QPainter& painter, int x, int y1, int y2, QRgb colour) {
    if (y2 > y1) painter.fillRect(x, y1, 1, y2 - y1, QColor(colour));
}
