// Editing in the real main window: keys on its grid, the modified mark and Edit > Undo.
#include "grid/Navigator.h"
#include "app/TfrmMain.h"
#include "editor/CMyEdit.h"
#include "store/CMyHyo.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "view/CMyHyoDraw.h"
#include "view/GridWidget.h"

#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class WindowEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string path = home.write("data.csv", "a,b,c\r\nd,e,f\r\ng,h,i\r\n");
        window = std::make_unique<TfrmMain>(std::vector<std::string>{path});
        window->resize(900, 600);
        window->show();
        window->gridWidget().setFocus();
        ASSERT_EQ(window->hyo().rowCount(), 3);
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&window->gridWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    void type(const char* text) { QTest::keyClicks(&window->gridWidget(), QString::fromUtf8(text)); }
    void undo() { window->findChild<QAction*>("mnuEditUndo")->trigger(); }
    std::string cell(int c, int r) { return window->hyo().cellString(c, r); }

    TempHome home;
    ScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(WindowEditingTest, EveryEditKindUndoesThroughTheEditMenu) {
    // A typed cell.
    window->goToCell(1, 0);
    type("xy");
    press(Qt::Key_Return);
    EXPECT_EQ(cell(1, 0), "xy");
    EXPECT_TRUE(window->document().modified);
    EXPECT_TRUE(window->windowTitle().contains(QString::fromUtf8("(更新)")));
    undo();
    EXPECT_EQ(cell(1, 0), "b");

    // A cleared block.
    window->goToCell(0, 1);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Delete);
    EXPECT_EQ(cell(0, 1), "");
    EXPECT_EQ(cell(1, 2), "");
    undo();
    EXPECT_EQ(cell(0, 1), "d");
    EXPECT_EQ(cell(1, 2), "h");

    // A second line in a cell: one undo brings back both the text and the row's height.
    window->goToCell(2, 2);
    press(Qt::Key_F2);
    press(Qt::Key_Return, Qt::ControlModifier);
    type("j");
    press(Qt::Key_Return);
    EXPECT_EQ(cell(2, 2), "i\r\nj");
    EXPECT_GT(window->hyo().rowHeight(2), 16);
    undo();
    EXPECT_EQ(cell(2, 2), "i");
    EXPECT_EQ(window->hyo().rowHeight(2), 16);
    EXPECT_EQ(window->view().curColumn(), 2);
    EXPECT_EQ(window->view().curRow(), 2);

    // The first row as header.
    ASSERT_TRUE(window->navigation().toggleHeader());
    EXPECT_EQ(window->hyo().columnTitle(0), "a");
    EXPECT_EQ(window->hyo().rowCount(), 2);
    undo();
    EXPECT_FALSE(window->hyo().inHeaderMode());
    EXPECT_EQ(window->hyo().rowCount(), 3);
    EXPECT_EQ(cell(0, 0), "a");
}

TEST_F(WindowEditingTest, UndoWhileEditingOnlyBeeps) {
    type("q");
    ASSERT_TRUE(window->editor().isActive());
    undo();
    EXPECT_EQ(prompt.beeps(), 1);
    EXPECT_TRUE(window->editor().isActive());
    press(Qt::Key_Escape);
    EXPECT_EQ(cell(0, 0), "a");
}

TEST_F(WindowEditingTest, ArrowsMoveTheCursorAndTheStatusFollows) {
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    EXPECT_EQ(window->view().curColumn(), 1);
    EXPECT_EQ(window->view().curRow(), 1);
    EXPECT_EQ(window->lastStatusRange(), (TfrmMain::Bounds{1, 1, 1, 1}));
}

}  // namespace

namespace {

// The grid cursor and its caption highlight stay hidden under the editor when the window is
// resized (which draws the grid again), and come back when the edit ends.
TEST_F(WindowEditingTest, ResizingWhileEditingKeepsTheCursorHidden) {
    window->goToCell(1, 1);
    EXPECT_TRUE(window->view().cursorShown());
    type("x");
    ASSERT_TRUE(window->isEditing());
    EXPECT_FALSE(window->view().cursorShown());
    window->resize(700, 450);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->gridWidget().width() < 700, true);
    EXPECT_FALSE(window->view().cursorShown());
    press(Qt::Key_Escape);
    EXPECT_TRUE(window->view().cursorShown());
    window->resize(800, 500);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->view().cursorShown());
}

}  // namespace
