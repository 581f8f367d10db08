// GridWidget: paints the grid view's image.
#include "view/GridWidget.h"

#include "view/CMyHyoDraw.h"

#include <QPaintEvent>
#include <QPainter>

GridWidget::GridWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("pai_Grid");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void GridWidget::setView(CMyHyoDraw* view) {
    view_ = view;
    if (view_) view_->setUpdateHook([this](const QRect& rect) { update(rect); });
    update();
}

void GridWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (view_) view_->paint(painter, event->rect());
    else painter.fillRect(event->rect(), palette().window());
}

void GridWidget::resizeEvent(QResizeEvent*) { emit resized(); }

bool GridWidget::focusNextPrevChild(bool) { return false; }
