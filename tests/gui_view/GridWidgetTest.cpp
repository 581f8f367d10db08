// The grid widget shows what the view paints and hands its input to the window's callbacks.
#include "ViewFixture.h"

#include "view/GridWidget.h"

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

    QPoint pressed;
    widget.onMousePress = [&](QMouseEvent* event) { pressed = event->position().toPoint(); };
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(120, 40));
    EXPECT_EQ(pressed, QPoint(120, 40));
    int keys = 0;
    widget.onKeyPress = [&](QKeyEvent* event) { keys += event->key() == Qt::Key_Tab; };
    QTest::keyClick(&widget, Qt::Key_Tab);
    EXPECT_EQ(keys, 1);
}
