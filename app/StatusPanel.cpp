// StatusPanel: a status-bar panel that draws its text elided to its width.
#include "app/StatusPanel.h"

#include <QPainter>

StatusPanel::StatusPanel(QWidget* parent) : QLabel(parent) {
    // Cell texts are shown as they are, never taken for markup.
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setContentsMargins(2, 0, 2, 0);
}

bool StatusPanel::isElided() const {
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

void StatusPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}
