// The series fill from the keyboard in the real main window: the remembered block and F4.
#include "app/TfrmMain.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class FillTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = home.write("data.csv", "1,No.01,x\r\n3,No.02,y\r\n");
        window = std::make_unique<TfrmMain>(std::vector<std::string>{path});
        window->resize(900, 600);
        window->show();
        window->gridWidget().setFocus();
        ASSERT_EQ(window->hyo().rowCount(), 2);
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&window->gridWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    void undo() { window->findChild<QAction*>("mnuEditUndo")->trigger(); }
    std::string cell(int c, int r) { return window->hyo().cellString(c, r); }
    // The block (0, 0)-(2, 1): both data rows.
    void selectBlock() {
        window->goToCell(0, 0);
        press(Qt::Key_Right, Qt::ShiftModifier);
        press(Qt::Key_Right, Qt::ShiftModifier);
        press(Qt::Key_Down, Qt::ShiftModifier);
    }

    TempHome home;
    ScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(FillTest, CtrlShiftDownThenF4FillsTheExtendedRowsFromTheBlock) {
    selectBlock();
    press(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(window->view().blockSaved());
    press(Qt::Key_F4);
    EXPECT_FALSE(window->view().blockSaved());
    EXPECT_EQ(window->hyo().rowCount(), 4);
    EXPECT_EQ(cell(0, 2), "5");
    EXPECT_EQ(cell(0, 3), "7");
    EXPECT_EQ(cell(1, 2), "No.03");
    EXPECT_EQ(cell(1, 3), "No.04");
    EXPECT_EQ(cell(2, 2), "x");   // unrelated values alternate
    EXPECT_EQ(cell(2, 3), "y");
    EXPECT_TRUE(window->document().modified);
    EXPECT_TRUE(window->windowTitle().contains(QString::fromUtf8("(更新)")));

    // One Edit > Undo takes the whole fill back.
    undo();
    EXPECT_EQ(window->hyo().rowCount(), 2);
    EXPECT_EQ(cell(0, 1), "3");
    EXPECT_EQ(cell(2, 1), "y");
}

TEST_F(FillTest, F4WithoutARememberedBlockDoesNothing) {
    selectBlock();
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_FALSE(window->view().blockSaved());
    const int steps = window->hyo().journal().entryCount();
    press(Qt::Key_F4);
    EXPECT_EQ(window->hyo().rowCount(), 2);
    EXPECT_EQ(cell(0, 2), "");
    EXPECT_EQ(window->hyo().journal().entryCount(), steps);
    EXPECT_FALSE(window->document().modified);

    // Nor does F4 once the remembered block has been used.
    selectBlock();
    press(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_F4);
    ASSERT_EQ(cell(0, 2), "5");
    selectBlock();
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    const int afterFill = window->hyo().journal().entryCount();
    press(Qt::Key_F4);
    EXPECT_EQ(cell(0, 3), "");
    EXPECT_EQ(window->hyo().journal().entryCount(), afterFill);
}

TEST_F(FillTest, DraggingTheFillHandleRepeatsASingleCell) {
    window->goToCell(1, 0);
    const QRect from = *window->view().cellRect(1, 0);
    const QPoint handle = from.bottomRight() - QPoint(1, 1);
    QWidget* grid = &window->gridWidget();
    QTest::mousePress(grid, Qt::LeftButton, Qt::NoModifier, handle);
    ASSERT_TRUE(window->view().blockSaved());
    const QPoint to = window->view().cellRect(1, 2)->center();
    QMouseEvent move(QEvent::MouseMove, to, grid->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid, &move);
    QTest::mouseRelease(grid, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(cell(1, 1), "No.01");
    EXPECT_EQ(cell(1, 2), "No.01");
    EXPECT_EQ(cell(0, 2), "");   // outside the dragged column
    EXPECT_TRUE(window->document().modified);
}

} // namespace
