// The grid widget shows what the view paints; its input goes to the event filter the window
// installs, Tab included, and a resize is announced.
#include "ViewFixture.h"

#include "view/GridWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

using GridWidgetTest = ViewFixture;

TEST_F(GridWidgetTest, PaintsTheViewWithItsOverlayAndForwardsMouseEvents) {
    setRows({"a\tb", "c\td"});
    GridWidget widget;
    widget.resize(Width, Height);
    widget.setView(view.get());
    view->render(0, 0, true);
    view->setSelection(SelMade, SelCells, {0, 0, 1, 1});
    view->present();
    const QImage grabbed = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(grabbed, shown());
    EXPECT_EQ(at(grabbed, cellX(1) + 40, cellY(1) + 8), rgb(198, 205, 250));

    struct Recorder : QObject {
        QPoint pressed;
        int tabs = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::MouseButtonPress)
                pressed = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (event->type() == QEvent::KeyPress)
                tabs += static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab;
            return false;
        }
    } recorder;
    widget.installEventFilter(&recorder);
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(120, 40));
    EXPECT_EQ(recorder.pressed, QPoint(120, 40));
    QTest::keyClick(&widget, Qt::Key_Tab);
    EXPECT_EQ(recorder.tabs, 1);
    int resized = 0;
    QObject::connect(&widget, &GridWidget::resized, [&] { ++resized; });
    widget.resize(Width - 10, Height);
    widget.show();
    EXPECT_GE(resized, 1);
}
