// GridWidget: paints the grid view's image.
#include "view/GridWidget.h"

#include "view/CMyHyoDraw.h"

#include <QPaintEvent>
#include <QResizeEvent>
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
    if (view_) {
        view_->setDevicePixelRatio(devicePixelRatioF());
        view_->setUpdateHook([this](const QRect& rect) { update(rect); });
    }
    update();
}

void GridWidget::paintEvent(QPaintEvent* event) {
    followDevicePixelRatio();
    QPainter painter(this);
    if (view_) view_->paint(painter, event->rect());
    else painter.fillRect(event->rect(), palette().window());
}

void GridWidget::resizeEvent(QResizeEvent*) { emit resized(); }

bool GridWidget::focusNextPrevChild(bool) { return false; }

// The window moved to a screen of another scale: the image is made anew at the new ratio and
// the grid rendered into it the way a resize renders it.
void GridWidget::followDevicePixelRatio() {
    if (!view_ || view_->devicePixelRatio() == devicePixelRatioF()) return;
    view_->setDevicePixelRatio(devicePixelRatioF());
    QResizeEvent event(size(), size());
    resizeEvent(&event);
}
