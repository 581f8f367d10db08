// The "処理中..." dialog over a real main window: nothing for a short operation, then the
// operation's name, a cancel button that stops it, and no button for one that cannot stop.
#include "app/ProgressWindow.h"
#include "view/GridWidget.h"

#include "store/Progress.h"
#include "support/ScriptedPrompt.h"
#include "support/TempHome.h"
#include "support_gui/ShownWindow.h"

#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>

namespace {

TEST(ProgressWindowTest, ShowsAfterADelayAndStopsOnCancel) {
    TempHome home;
    ScriptedPrompt prompt;
    auto w = openShownWindow(home.write("p.csv", "a,b\r\n"));
    ProgressWindow& sink = ProgressWindow::install();
    {
        Progress progress("並べ替え", 1000);
        EXPECT_TRUE(progress.report(0));
        EXPECT_EQ(sink.dialog(), nullptr);   // too early to show anything
        QTest::qWait(ProgressWindow::DelayMs + 100);
        EXPECT_TRUE(progress.report(500));
        QProgressDialog* box = sink.dialog();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->windowTitle(), QStringLiteral("処理中..."));
        EXPECT_EQ(box->labelText(), QStringLiteral("並べ替え"));
        EXPECT_EQ(box->value(), 500);
        QPushButton* cancel = box->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
        QTest::mouseClick(cancel, Qt::LeftButton);
        EXPECT_FALSE(progress.report(700));
        EXPECT_TRUE(progress.cancelled());
    }
    EXPECT_EQ(sink.dialog(), nullptr);

    {
        Progress progress("読み込み", 10, false);
        QTest::qWait(ProgressWindow::DelayMs + 100);
        EXPECT_TRUE(progress.report(5));
        ASSERT_NE(sink.dialog(), nullptr);
        EXPECT_EQ(sink.dialog()->findChild<QPushButton*>(), nullptr);
        EXPECT_TRUE(progress.report(9));
    }
    EXPECT_EQ(sink.dialog(), nullptr);
}

} // namespace
