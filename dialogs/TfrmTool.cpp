// TfrmTool: drawing, hover feedback and clicks of the right-click tool palette.
#include "dialogs/TfrmTool.h"

#include "view/CMyHyoCom.h"
#include "view/CMyHyoDraw.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor Face(220, 220, 220);
const QColor Frame(125, 125, 125);
const QColor Grey(128, 128, 128);
const QColor RowInvert(100, 100, 255);
const QColor OutlineXor(255, 255, 0);

constexpr int RowLeft = 5, RowRight = 127, RowTextX = 25, RowInvertWidth = 118;
constexpr int SwatchLeft = 128, SwatchSize = 16, SwatchesPerRow = 8;
constexpr int BackSwatchTop = 21, TextSwatchTop = 74;
constexpr int NoneLeft = 259, NoneRight = 299;
constexpr int BackNoneTop = 23, BackNoneBottom = 51, TextNoneTop = 76, TextNoneBottom = 104;
constexpr int OutlineWidth = 2;

QColor fromRgb(uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

// The swatch or "なし" box of one block under `p`, if any.
TfrmTool::Target swatchAt(const QPoint& p, int top, int noneTop, int noneBottom, bool text) {
    TfrmTool::Target t;
    const int x = p.x(), y = p.y();
    if (x >= SwatchLeft && x < SwatchLeft + SwatchesPerRow * SwatchSize && y >= top &&
        y < top + 2 * SwatchSize) {
        t.kind = TfrmTool::Target::Swatch;
        t.text = text;
        t.index = (x - SwatchLeft) / SwatchSize + SwatchesPerRow * ((y - top) / SwatchSize);
    } else if (x >= NoneLeft && x <= NoneRight && y >= noneTop && y <= noneBottom) {
        t.kind = TfrmTool::Target::Swatch;
        t.text = text;
        t.index = -1;
    }
    return t;
}

} // namespace

TfrmTool::TfrmTool(const CMyHyoCom& colours, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), colours(colours) {
    setObjectName("frmTool");
    setFixedSize(ClientWidth, ClientHeight);
    setMouseTracking(true);
    QFont f(CMyHyoDraw::fontFamily());
    f.setPixelSize(12);
    setFont(f);
}

void TfrmTool::showMode(int mode, const QStringList& captions, const QPoint& topLeft) {
    mode_ = mode;
    captions_ = captions;
    hover_ = Target{};
    renderBase();
    // The pointer stays hidden until it moves over the palette.
    setCursor(Qt::BlankCursor);
    move(topLeft);
    show();
    activateWindow();
    update();
}

TfrmTool::Target TfrmTool::targetAt(const QPoint& p) const {
    Target t;
    if (p.y() < RowTop) return t;
    if (p.x() >= RowLeft && p.x() <= RowRight) {
        // Rows below the mode's last command are empty: they neither invert nor run.
        const int row = (p.y() - RowTop) / RowHeight;
        if (row < captions_.size()) {
            t.kind = Target::Row;
            t.row = row;
        }
        return t;
    }
    t = swatchAt(p, BackSwatchTop, BackNoneTop, BackNoneBottom, false);
    if (t.kind == Target::None) t = swatchAt(p, TextSwatchTop, TextNoneTop, TextNoneBottom, true);
    return t;
}

QRect TfrmTool::targetRect(const Target& t) const {
    if (t.kind == Target::Row) return {RowLeft, RowTop + RowHeight * t.row, RowInvertWidth, RowHeight};
    if (t.kind != Target::Swatch) return {};
    if (t.index < 0)
        return t.text ? QRect(QPoint(NoneLeft, TextNoneTop), QPoint(NoneRight, TextNoneBottom))
                      : QRect(QPoint(NoneLeft, BackNoneTop), QPoint(NoneRight, BackNoneBottom));
    const int top = t.text ? TextSwatchTop : BackSwatchTop;
    return {SwatchLeft + SwatchSize * (t.index % SwatchesPerRow),
            top + SwatchSize * (t.index / SwatchesPerRow), SwatchSize, SwatchSize};
}

void TfrmTool::renderBase() {
    base = QImage(ClientWidth, ClientHeight, QImage::Format_RGB32);
    QPainter p(&base);
    p.setFont(font());
    p.setPen(Frame);
    p.setBrush(Face);
    p.drawRect(0, 0, ClientWidth - 1, ClientHeight - 1);
    p.setPen(Qt::black);
    for (int i = 0; i < captions_.size(); ++i)
        p.drawText(QRect(RowTextX, RowTop + RowHeight * i, RowLeft + RowInvertWidth - RowTextX,
                         RowHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, captions_[i]);
    p.setPen(Grey);
    p.drawLine(121, 4, 121, ClientHeight - 5);
    p.setPen(Qt::white);
    p.drawLine(122, 4, 122, ClientHeight - 5);
    drawSwatches(p, 8, false);
    drawSwatches(p, 61, true);
}

void TfrmTool::drawSwatches(QPainter& p, int labelY, bool text) {
    p.setPen(Qt::black);
    p.drawText(QPoint(126, labelY + p.fontMetrics().ascent()),
               QString::fromUtf8(text ? "【テキスト色】" : "【背景色】"));
    for (int index = 0; index < 2 * SwatchesPerRow; ++index) {
        const QRect r = targetRect(Target{Target::Swatch, -1, text, index});
        p.setPen(Qt::black);
        p.setBrush(fromRgb(text ? colours.textColour(index) : colours.backgroundColour(index)));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    const QRect none = targetRect(Target{Target::Swatch, -1, text, -1});
    p.setBrush(Qt::white);
    p.drawRect(none);
    p.drawText(none, Qt::AlignCenter, QString::fromUtf8("なし"));
}

void TfrmTool::paintEvent(QPaintEvent*) {
    if (base.isNull()) renderBase();
    QImage shown = base;
    if (hover_.kind != Target::None) {
        QPainter p(&shown);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        const QRect r = targetRect(hover_);
        if (hover_.kind == Target::Row) {
            p.fillRect(r, RowInvert);
        } else {
            // Four bands that never overlap, so every outline pixel is changed exactly once.
            const int w = OutlineWidth;
            p.fillRect(QRect(r.left(), r.top(), r.width(), w), OutlineXor);
            p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), OutlineXor);
            p.fillRect(QRect(r.left(), r.top() + w, w, r.height() - 2 * w), OutlineXor);
            p.fillRect(QRect(r.right() - w + 1, r.top() + w, w, r.height() - 2 * w), OutlineXor);
        }
    }
    QPainter(this).drawImage(0, 0, shown);
}

void TfrmTool::mouseMoveEvent(QMouseEvent* e) {
    if (cursor().shape() != Qt::ArrowCursor) setCursor(Qt::ArrowCursor);
    const Target t = targetAt(e->position().toPoint());
    if (t == hover_) return;
    hover_ = t;
    update();
}

void TfrmTool::mousePressEvent(QMouseEvent* e) {
    const Target t = e->button() == Qt::RightButton ? Target{} : targetAt(e->position().toPoint());
    // Hidden before the command runs, so a message box or dialog it opens stands alone.
    hide();
    if (t.kind == Target::Row) emit commandClicked(mode_, t.row);
    else if (t.kind == Target::Swatch) emit colourClicked(t.text, t.index);
}

bool TfrmTool::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate && isVisible()) hide();
    return QWidget::event(e);
}
