// GridWidget: the grid area of the main window - shows the view's image, forwards input.
#pragma once

#include <QWidget>

#include <functional>

class CMyHyoDraw;

// Deliberately thin: painting copies the view's image (and its overlay) and mouse, key and
// resize events go to a callback the main window installs. The wheel and the input method are
// left to QWidget (the window filters them before they get here).
class GridWidget : public QWidget {
    Q_OBJECT
public:
    explicit GridWidget(QWidget* parent = nullptr);

    // The view paints through this widget and asks it for repaints; not owned.
    void setView(CMyHyoDraw* view);
    CMyHyoDraw* view() const { return view_; }

    std::function<void(QMouseEvent*)> onMousePress;
    std::function<void(QMouseEvent*)> onMouseMove;
    std::function<void(QMouseEvent*)> onMouseRelease;
    std::function<void(QMouseEvent*)> onMouseDoubleClick;
    std::function<void(QKeyEvent*)> onKeyPress;
    std::function<void(QResizeEvent*)> onResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tab moves the cursor like Right instead of leaving the grid.
    bool focusNextPrevChild(bool next) override;

private:
    void followDevicePixelRatio();

    CMyHyoDraw* view_ = nullptr;
};
