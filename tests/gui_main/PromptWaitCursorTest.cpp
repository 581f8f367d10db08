// A question asked in the middle of a long command (find and replace all, a conversion) shows
// the normal cursor; the wait cursor comes back when it is answered.
#include "platform/qt/QtPromptHandler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

TEST(PromptWaitCursor, MessageBoxShowsTheArrowWhileAWaitIsOn) {
    QtPromptHandler handler;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int shapeWhileShown = -1;
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &shapeWhileShown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        const QCursor* shown = QApplication::overrideCursor();
        shapeWhileShown = shown ? shown->shape() : Qt::ArrowCursor;
        box->buttons().first()->click();
    });
    timer->start();
    handler.messageBox("データが多いためUNDOで戻すことができなくなります。\nよろしいですか？", "確認",
                       PromptButtons::YesNo, PromptIcon::Warning, PromptAnswer::No);
    EXPECT_EQ(shapeWhileShown, Qt::ArrowCursor);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
