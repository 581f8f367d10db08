// CMyHyoDraw: the render's layout of columns and rows, presenting, the cursor and selection
// overlay and frozen columns; the mouse gestures are GridGestures'. GridPainter draws the strips, GridGeometry
// answers where things lie on screen.
#include "view/CMyHyoDraw.h"

#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/TableLimits.h"
#include "view/GridGestures.h"

#include <QFontDatabase>
#include <QPainter>

#include <algorithm>
#include <string>

namespace {

const QRgb Black = qRgb(0, 0, 0);
const QRgb DarkLine = qRgb(80, 80, 80);
const QRgb Grey = qRgb(125, 125, 125);
const QRgb FilteredText = qRgb(0, 0, 150);
const QRgb CursorFrame = qRgb(0, 255, 0);
const QRgb CursorCaption = qRgb(30, 30, 30);
const QRgb LineCursor = qRgb(0, 100, 100);
const QRgb BandTinted = qRgb(57, 50, 5);
const QRgb BandInverted = qRgb(255, 255, 255);

const QRgb AlternateColours[] = {qRgb(240, 255, 240), qRgb(250, 255, 250), qRgb(255, 255, 230),
                                 qRgb(240, 240, 255), qRgb(255, 240, 240), qRgb(245, 245, 245)};

} // namespace

// A fixed-pitch Japanese gothic; the first one installed wins.
QString CMyHyoDraw::fontFamily() {
    static const QString family = [] {
        for (const char* name : {"MS Gothic", "ＭＳ ゴシック", "IPAGothic", "Noto Sans Mono CJK JP"}) {
            const QString candidate = QString::fromUtf8(name);
            if (QFontDatabase::hasFamily(candidate)) return candidate;
        }
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    return family;
}

CMyHyoDraw::CMyHyoDraw(CMyHyo& hyo, const CMyHyoCom& com)
    : hyo_(hyo), painter_(canvas_, hyo, com) {
    geometry_.reserveRows(2048);
    geometry_.setHeader(headerHeight_);
    canvas_.resize(viewWidth_, viewHeight_);
    setScale(100);
}

// ---- set-up ----------------------------------------------------------------------------

void CMyHyoDraw::attach(int screenWidth, int screenHeight, int originX, int originY,
                        int scalePercent) {
    screenWidth_ = screenWidth;
    screenHeight_ = screenHeight;
    originX_ = originX;
    originY_ = originY;
    canvas_.resize(std::max(screenWidth_, viewWidth_), std::max(screenHeight_, viewHeight_));
    setScale(scalePercent);
}

void CMyHyoDraw::setScale(int percent) {
    scale_ = percent / 100.0;
    QFont font(fontFamily());
    font.setPixelSize(std::max(1, static_cast<int>(12 * scale_)));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    canvas_.setFont(font);
    charWidth_ = canvas_.textWidth("W", 1);
    linePitch_ = canvas_.textHeight() + 2;
    headerHeight_ = static_cast<int>(16 * scale_);
    rowNumberMinWidth_ = rowNumberWidth_ = static_cast<int>(40 * scale_);
    geometry_.clearRows();
    geometry_.setHeader(headerHeight_);
    recomputeFrozenWidth();
}

void CMyHyoDraw::setViewSize(int width, int height) {
    viewWidth_ = std::max(width, 0);
    viewHeight_ = std::max(height, 0);
    // A window larger than its screen (several monitors) still gets a whole image.
    if (canvas_.width() < viewWidth_ || canvas_.height() < viewHeight_)
        canvas_.resize(std::max({screenWidth_, viewWidth_, canvas_.width()}),
                       std::max({screenHeight_, viewHeight_, canvas_.height()}));
}

void CMyHyoDraw::setOptions(bool lineCursor, bool cellOverflow, int showDataEnd,
                            int altInterval, int altScheme) {
    lineCursor_ = lineCursor;
    cellOverflow_ = cellOverflow;
    showDataEnd_ = showDataEnd;
    setAlternateLines(altInterval, altScheme);
}

void CMyHyoDraw::setAlternateLines(int interval, int scheme) {
    altLineInterval_ = std::max(interval, 0);
    altLineScheme_ = (scheme >= 0 && scheme <= 5) ? scheme : 0;
    altLineColour_ = AlternateColours[altLineScheme_];
}

// ---- sizes -----------------------------------------------------------------------------

int CMyHyoDraw::scaledColumn(int column) const { return hyo_.scaledColumnWidth(column); }
int CMyHyoDraw::scaledRow(int row) const { return hyo_.scaledRowHeight(row); }
int CMyHyoDraw::tableColumns() const { return std::max(hyo_.widestRowValue(), 0); }
int CMyHyoDraw::gridColumns() const { return std::min(tableColumns() + 50, maxColumns_); }
int CMyHyoDraw::gridRows() const { return std::min(hyo_.rowCount() + 500, rowLimit()); }
int CMyHyoDraw::rowLimit() const { return maxRows_ > 0 ? maxRows_ : TableLimits::maxRows(); }

void CMyHyoDraw::setLimits(int columns, int rows) {
    maxColumns_ = std::clamp(columns, 1, MaxColumns);
    maxRows_ = std::clamp(rows, 1, TableLimits::HighestMaxRows);
}

void CMyHyoDraw::recomputeFrozenWidth() {
    frozenWidth_ = 0;
    if (frozenEnd_ <= 0) return;
    for (int c = frozenStart_; c < frozenEnd_; ++c) frozenWidth_ += scaledColumn(c);
}

// ---- render ----------------------------------------------------------------------------

void CMyHyoDraw::render(int firstColumn, int topRow, bool forceHeader) {
    ++renderCount_;
    canvas_.beginDrawing();
    firstColumn = std::clamp(firstColumn, 0, maxColumns_ - 1);
    // Scrolled columns start after the frozen ones; drawing a frozen column twice would make
    // its second copy empty and unreachable by the hit tests.
    if (frozenEnd_ > 0) firstColumn = std::max(firstColumn, frozenEnd_);
    topRow = std::clamp(topRow, 0, rowLimit() - 1);

    const std::string widest = std::to_string(static_cast<long long>(topRow) * 100 + 99);
    const int numberWidth = std::max(
        canvas_.textWidth(widest.data(), static_cast<int>(widest.size())) + 6, rowNumberMinWidth_);
    if (numberWidth != rowNumberWidth_) {
        rowNumberWidth_ = numberWidth;
        forceHeader = true;
    }

    firstColumn_ = lastColumn_ = firstColumn;
    topRow_ = lastRow_ = topRow;
    painter_.begin(style());
    buildColumnSlots(firstColumn);
    const int columnCount = tableColumns();
    if (forceHeader || columnCount != headerColumnCount_) {
        painter_.drawHeader(geometry_.columns());
        headerColumnCount_ = columnCount;
        geometry_.setHeader(headerHeight_);
    }
    buildRowLayout(topRow);
    const std::vector<LayoutEntry>& rows = geometry_.rows();
    painter_.drawRowNumbers(rows);
    for (size_t k = 1; k < rows.size(); ++k) painter_.drawRow(rows[k], geometry_.columns());
    painter_.end();

    if (frozenEnd_ > 0)
        canvas_.verticalLine(rowNumberWidth_ + frozenWidth_, headerHeight_, viewHeight_, DarkLine);
    if (showDataEnd_ == 1) {
        const int endX = painter_.dataEndX(), endY = painter_.dataEndY();
        if (endX != 0) canvas_.dottedVerticalLine(endX, headerHeight_, viewHeight_, DarkLine);
        if (endY != 0) canvas_.dottedHorizontalLine(rowNumberWidth_, viewWidth_, endY, DarkLine);
    }
    computeLastColumn();
}

GridStyle CMyHyoDraw::style() const {
    GridStyle style;
    style.viewWidth = viewWidth_;
    style.viewHeight = viewHeight_;
    style.headerHeight = headerHeight_;
    style.rowNumberWidth = rowNumberWidth_;
    style.linePitch = linePitch_;
    style.headerColour = headerColour_;
    style.text = hyo_.isFiltered() ? FilteredText : Black;
    style.cellOverflow = cellOverflow_;
    style.lineBreakMarks = lineBreakMarks_;
    style.altInterval = altLineInterval_;
    style.altColour = altLineColour_;
    return style;
}

// Visible columns in drawing order: the frozen ones, then from the first scrolled column.
void CMyHyoDraw::buildColumnSlots(int firstColumn) {
    geometry_.clearColumns();
    const int limit = gridColumns();
    int x = rowNumberWidth_;
    bool jump = false;
    auto add = [&](int column) {
        const int width = scaledColumn(column);
        if (width <= 0) return;   // a hidden column takes no room and shows nothing
        geometry_.addColumn({column, x, width, hyo_.columnAlignment(column) == 1,
                             hyo_.columnColour(column, 4), hyo_.columnColour(column, 5), jump});
        x += width;
        jump = false;
    };
    if (frozenEnd_ > 0) {
        for (int c = frozenStart_; c < frozenEnd_ && c < limit && x < viewWidth_; ++c) add(c);
        jump = true;
    }
    for (int c = firstColumn; c < limit && x < viewWidth_; ++c) add(c);
}

void CMyHyoDraw::buildRowLayout(int topRow) {
    geometry_.clearRows();
    const int limit = gridRows();
    int y = headerHeight_;
    bool partial = false;
    for (int i = topRow; i < limit; ++i) {
        lastRow_ = i;
        const int h = scaledRow(i);
        if (h <= 0) continue;
        geometry_.addRow({0, h, y, y, i});
        y += h;
        if (y >= viewHeight_) {
            partial = y > viewHeight_;
            break;
        }
    }
    if (partial && lastRow_ > topRow_) --lastRow_;
}

void CMyHyoDraw::computeLastColumn() {
    const int limit = gridColumns();
    int sum = rowNumberWidth_;
    int last = firstColumn_;
    bool crossed = false;
    auto walk = [&](int column) {
        const int width = scaledColumn(column);
        if (sum + width > viewWidth_) return !(crossed = true);
        sum += width;
        last = column;
        return true;
    };
    if (frozenEnd_ > 0)
        for (int c = frozenStart_; c < frozenEnd_ && !crossed; ++c) walk(c);
    for (int c = firstColumn_; c < limit && !crossed; ++c) walk(c);
    lastColumn_ = std::max(last, firstColumn_);

    greyRightX_ = -1;
    if (lastColumn_ >= limit - 1) {
        const ColumnSlot* slot = geometry_.slotOf(limit - 1);
        greyRightX_ = slot ? slot->x + slot->width
                           : geometry_.columnsRight(rowNumberWidth_, viewWidth_);
    }
}

// ---- present and paint -----------------------------------------------------------------

void CMyHyoDraw::present() {
    cursorParts_.clear();
    bandParts_.clear();
    cursorShown_ = false;
    // A cursor hidden for the in-cell editor stays hidden whatever draws the grid again.
    if (cursorEnabled_ && !cursorHeld_) {
        cursorShown_ = true;
        cursorColumn_ = curColumn_;
        cursorRow_ = curRow_;
        cursorParts_ = cursorPartsAt(curColumn_, curRow_);
    }
    if (hasSelection() && !selectionIsSingleCell()) bandParts_ = bandParts();
    requestUpdate(QRect(0, 0, viewWidth_, viewHeight_));
}

void CMyHyoDraw::paint(QPainter& painter, const QRect& dirty) const {
    const QPoint origin(originX_, originY_);
    const QRect grid(origin, QSize(viewWidth_, viewHeight_));
    auto copy = [&](int sourceY, int targetY, int height) {
        height = std::min(height, viewHeight_ - targetY);
        const QRect target = QRect(originX_, originY_ + targetY, viewWidth_, height) & dirty;
        if (target.isEmpty()) return;
        const QRect source = target.translated(-originX_, sourceY - targetY - originY_);
        // The image holds device pixels; the source is scaled so each lands on its own.
        const double r = canvas_.devicePixelRatio();
        if (r == 1.0) painter.drawImage(target, canvas_.image(), source);
        else painter.drawImage(QRectF(target), canvas_.image(),
                               QRectF(source.x() * r, source.y() * r, source.width() * r,
                                      source.height() * r));
    };
    // Strips that follow each other in the image are copied in one go.
    int sum = 0, runSource = 0, runTarget = 0, runHeight = 0;
    const std::vector<LayoutEntry>& rows = geometry_.rows();
    for (size_t k = 0; k < rows.size() && k < 2000; ++k) {
        const LayoutEntry& entry = rows[k];
        if (entry.height <= 0) continue;
        if (runHeight > 0 && entry.sourceY != runSource + runHeight) {
            copy(runSource, runTarget, runHeight);
            runHeight = 0;
        }
        if (runHeight == 0) runSource = entry.sourceY, runTarget = sum;
        runHeight += entry.height;
        sum += entry.height;
        if (sum > viewHeight_) break;
    }
    if (runHeight > 0) copy(runSource, runTarget, runHeight);

    const QColor grey(Grey);
    if (sum < viewHeight_)
        painter.fillRect(QRect(originX_, originY_ + sum, viewWidth_, viewHeight_ - sum) & dirty, grey);
    if (greyRightX_ >= 0 && greyRightX_ < viewWidth_)
        painter.fillRect(QRect(originX_ + greyRightX_, originY_, viewWidth_ - greyRightX_, viewHeight_) & dirty, grey);

    painter.save();
    painter.setClipRect(grid & dirty);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (const auto* parts : {&bandParts_, &cursorParts_, &guideParts_})
        for (const XorPart& part : *parts)
            painter.fillRect(part.rect.translated(origin), QColor(part.colour));
    painter.restore();
}

void CMyHyoDraw::requestUpdate(const QRect& gridRect) {
    if (updateHook_ && !gridRect.isEmpty()) updateHook_(gridRect.translated(originX_, originY_));
}

void CMyHyoDraw::replaceParts(std::vector<XorPart>& parts, std::vector<XorPart> fresh) {
    for (const XorPart& part : parts) requestUpdate(part.rect);
    parts = std::move(fresh);
    for (const XorPart& part : parts) requestUpdate(part.rect);
}

// ---- geometry --------------------------------------------------------------------------

int CMyHyoDraw::columnAt(int x) const { return geometry_.columnAt(x); }
int CMyHyoDraw::rowAt(int y) const { return geometry_.rowAt(y); }

std::optional<QRect> CMyHyoDraw::cellRect(int column, int row) const {
    return geometry_.cellRect(column, row);
}

int CMyHyoDraw::columnX(int column) const {
    const ColumnSlot* slot = geometry_.slotOf(column);
    return slot ? slot->x : -1;
}

int CMyHyoDraw::topFor(int row) const {
    const int room = viewHeight_ - headerHeight_;
    int sum = scaledRow(row);
    int top = row;
    while (top > 0) {
        const int h = scaledRow(top - 1);
        if (sum + h > room) break;
        sum += h;
        --top;
    }
    return std::max(top, 0);
}

int CMyHyoDraw::lastFrom(int top) const {
    const int room = viewHeight_ - headerHeight_;
    const int limit = std::min(gridRows(), top + 5000);
    int sum = 0, last = top;
    for (int row = top; row < limit; ++row) {
        const int h = scaledRow(row);
        if (sum + h > room) break;
        sum += h;
        last = row;
    }
    return std::max(last, top);
}

int CMyHyoDraw::firstFor(int column) const {
    const int room = viewWidth_ - rowNumberWidth_ - frozenWidth_;
    int sum = scaledColumn(column);
    int first = column;
    while (first > frozenEnd_) {
        const int w = scaledColumn(first - 1);
        if (sum + w > room) break;
        sum += w;
        --first;
    }
    return std::max(first, frozenEnd_);
}

int CMyHyoDraw::lastFromColumn(int first) const {
    const int room = viewWidth_ - rowNumberWidth_ - frozenWidth_;
    int sum = 0, last = first;
    for (int column = first; column < gridColumns(); ++column) {
        const int w = scaledColumn(column);
        if (sum + w > room) break;
        sum += w;
        last = column;
    }
    return std::max(last, first);
}

// ---- cursor ----------------------------------------------------------------------------

CursorMove CMyHyoDraw::moveCursor(int column, int row) {
    curColumn_ = std::clamp(column, 0, gridColumns() - 1);
    curRow_ = std::clamp(row, 0, gridRows() - 1);
    CursorMove move{0, firstColumn_, topRow_};
    const bool frozen = frozenEnd_ > 0 && curColumn_ >= frozenStart_ && curColumn_ < frozenEnd_;
    if (!frozen && curColumn_ < firstColumn_) {
        move.code |= 2;
        move.firstColumn = std::max(curColumn_, frozenEnd_);
    } else if (!frozen && curColumn_ > lastColumn_) {
        move.code |= 2;
        move.firstColumn = firstFor(curColumn_);
    }
    if (curRow_ < topRow_) {
        move.code |= 1;
        move.topRow = curRow_;
    } else if (curRow_ > lastRow_) {
        move.code |= 1;
        move.topRow = topFor(curRow_);
    }
    if (move.code == 0) showCursor();
    return move;
}

void CMyHyoDraw::setCurrentCell(int column, int row) {
    curColumn_ = column;
    curRow_ = row;
}

void CMyHyoDraw::showCursor() {
    cursorHeld_ = false;
    if (!cursorEnabled_) return;
    cursorShown_ = true;
    cursorColumn_ = curColumn_;
    cursorRow_ = curRow_;
    replaceParts(cursorParts_, cursorPartsAt(curColumn_, curRow_));
}

void CMyHyoDraw::hideCursor() {
    cursorHeld_ = true;
    eraseCursor();
}

void CMyHyoDraw::eraseCursor() {
    cursorShown_ = false;
    replaceParts(cursorParts_, {});
}

void CMyHyoDraw::setCursorEnabled(bool on) {
    cursorEnabled_ = on;
    if (!on) eraseCursor();
}

// The cursor: a 2-pixel frame around the cell, its caption and row number inverted, and the
// line cursor along the bottom of its row. The frame's corner is where the fill handle sits.
std::vector<CMyHyoDraw::XorPart> CMyHyoDraw::cursorPartsAt(int column, int row) {
    std::vector<XorPart> parts;
    const ColumnSlot* slot = geometry_.slotOf(column);
    const LayoutEntry* entry = geometry_.entryOf(row);
    if (slot && entry) {
        const int x = slot->x, w = slot->width, top = entry->gridY;
        const int bottom = top + entry->height;
        parts.push_back({QRect(x - 1, top - 1, w + 2, 2), CursorFrame});
        parts.push_back({QRect(x - 1, bottom - 2, w + 2, 2), CursorFrame});
        if (bottom - 2 > top + 1) {
            parts.push_back({QRect(x - 1, top + 1, 2, bottom - 3 - top), CursorFrame});
            parts.push_back({QRect(x + w - 1, top + 1, 2, bottom - 3 - top), CursorFrame});
        }
        parts.push_back({QRect(x, 0, w, headerHeight_), CursorCaption});
        parts.push_back({QRect(0, top, rowNumberWidth_, entry->height), CursorCaption});
        if (!hasSelection()) cornerX_ = x + w, cornerY_ = bottom;
    } else if (!hasSelection()) {
        // No handle where no cursor is drawn.
        cornerX_ = cornerY_ = -1;
    }
    if (lineCursor_ && entry)
        parts.push_back({QRect(0, entry->gridY + entry->height - 1, viewWidth_, 1), LineCursor});
    return parts;
}

// ---- selection -------------------------------------------------------------------------

bool CMyHyoDraw::selectionIsSingleCell() const {
    return selKind_ == SelCells && anchorColumn_ == endColumn_ && anchorRow_ == endRow_;
}

void CMyHyoDraw::setSelection(int state, int kind, const CellBlock& block) {
    selState_ = state;
    selKind_ = kind;
    anchorColumn_ = block.anchorColumn;
    anchorRow_ = block.anchorRow;
    endColumn_ = block.endColumn;
    endRow_ = block.endRow;
}

void CMyHyoDraw::clearSelection() {
    eraseBand();
    selState_ = SelNone;
    blockSaved_ = false;
    // The fill handle goes back to the cursor's corner; it must not stay on the dropped band.
    cornerX_ = cornerY_ = -1;
    if (cursorShown_)
        if (const std::optional<QRect> cell = cellRect(cursorColumn_, cursorRow_))
            cornerX_ = cell->x() + cell->width(), cornerY_ = cell->y() + cell->height();
}

void CMyHyoDraw::setBlockSaved(bool saved, const CellBlock& block) {
    blockSaved_ = saved;
    if (saved) savedBlock_ = block;
}

SelectionBounds CMyHyoDraw::selectionBounds() const {
    if (selState_ == SelNone) return {curColumn_, curRow_, curColumn_, curRow_};
    const int left = std::min(anchorColumn_, endColumn_), right = std::max(anchorColumn_, endColumn_);
    const int top = std::min(anchorRow_, endRow_), bottom = std::max(anchorRow_, endRow_);
    if (selKind_ == SelColumns) return {left, 0, right, std::max(hyo_.rowCount() - 1, 0)};
    if (selKind_ == SelRows) return {0, top, std::max(tableColumns() - 1, 0), bottom};
    return {left, top, right, bottom};
}

void CMyHyoDraw::showBand() {
    replaceParts(bandParts_, (hasSelection() && !selectionIsSingleCell()) ? bandParts()
                                                                           : std::vector<XorPart>{});
}

void CMyHyoDraw::eraseBand() { replaceParts(bandParts_, {}); }

std::vector<CMyHyoDraw::XorPart> CMyHyoDraw::bandParts() {
    const QRgb colour = selectionColourMode_ != 0 ? BandTinted : BandInverted;
    const int left = std::min(anchorColumn_, endColumn_), right = std::max(anchorColumn_, endColumn_);
    const int top = std::min(anchorRow_, endRow_), bottom = std::max(anchorRow_, endRow_);
    if (selKind_ == SelRows) {
        cornerX_ = cornerY_ = -1;
        const int yt = geometry_.bandTop(top), yb = geometry_.bandBottom(bottom, viewHeight_);
        if (yt < 0 || yb <= yt) return {};
        const int width = geometry_.columnsRight(rowNumberWidth_, viewWidth_);
        return {{QRect(0, yt, width, yb - yt), colour}};
    }
    if (selKind_ == SelColumns) {
        cornerX_ = cornerY_ = -1;
        const int xl = geometry_.bandLeft(left), xr = geometry_.bandRight(right, viewWidth_);
        if (xl < 0 || xr <= xl) return {};
        return {{QRect(xl, 0, xr - xl, geometry_.rowsBottom(viewHeight_)), colour}};
    }
    const int xl = geometry_.bandLeft(left), xr = geometry_.bandRight(right, viewWidth_);
    const int yt = geometry_.bandTop(top), yb = geometry_.bandBottom(bottom, viewHeight_);
    if (xl < 0 || xr <= xl || yt < 0 || yb <= yt) {
        // A range scrolled out of view leaves no handle behind at its old place.
        if (!blockSaved_) cornerX_ = cornerY_ = -1;
        return {};
    }
    if (!blockSaved_) cornerX_ = xr, cornerY_ = yb;
    return {{QRect(xl, yt, xr - xl, yb - yt), colour},
            {QRect(xl, 0, xr - xl, headerHeight_), colour},
            {QRect(0, yt, rowNumberWidth_, yb - yt), colour}};
}

// ---- mouse -----------------------------------------------------------------------------

int CMyHyoDraw::mouseDown(int x, int y, bool shift) { return GridGestures(*this).down(x, y, shift); }
int CMyHyoDraw::mouseMove(int x, int y) { return GridGestures(*this).move(x, y); }
int CMyHyoDraw::mouseUp() { return GridGestures(*this).up(); }

// ---- frozen columns --------------------------------------------------------------------

int CMyHyoDraw::toggleFrozen() {
    if (frozenEnd_ > 0) {
        firstColumn_ = frozenStart_;
        frozenStart_ = frozenEnd_ = frozenWidth_ = 0;
        return 0;
    }
    if (curColumn_ < firstColumn_) {
        Prompt::warn("固定位置を指定してください。");
        return -1;
    }
    frozenStart_ = firstColumn_;
    frozenEnd_ = firstColumn_ = curColumn_;
    recomputeFrozenWidth();
    return frozenEnd_;
}
