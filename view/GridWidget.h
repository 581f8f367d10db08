// GridWidget: the grid area of the main window - shows the view's image.
#pragma once

#include <QWidget>

class CMyHyoDraw;

// Deliberately thin: painting copies the view's image (and its overlay). Keys, mouse, wheel
// and the input method reach the navigation through its event filter, never this class.
class GridWidget : public QWidget {
    Q_OBJECT
public:
    explicit GridWidget(QWidget* parent = nullptr);

    // The view paints through this widget and asks it for repaints; not owned.
    void setView(CMyHyoDraw* view);
    CMyHyoDraw* view() const { return view_; }

signals:
    // The widget has its new size; the window lays the view out again.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Tab moves the cursor like Right instead of leaving the grid.
    bool focusNextPrevChild(bool next) override;

private:
    void followDevicePixelRatio();

    CMyHyoDraw* view_ = nullptr;
};
