// The real prompt handler: Japanese buttons, default and escape answers, filter conversion.
#include "platform/qt/QtPromptHandler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `act` on the message box once it is shown (modal boxes block the caller).
void whenBoxShows(std::function<void(QMessageBox&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        act(*box);
    });
    timer->start();
}

QStringList buttonTexts(QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* b : box.buttons()) texts << b->text();
    texts.sort();
    return texts;
}

QAbstractButton* buttonWithText(QMessageBox& box, const QString& text) {
    for (QAbstractButton* b : box.buttons())
        if (b->text() == text) return b;
    return nullptr;
}

} // namespace

TEST(QtPromptHandler, YesNoCancelBoxHasJapaneseButtonsAndReturnsTheClickedOne) {
    QtPromptHandler handler;
    QStringList seen;
    QString caption;
    whenBoxShows([&](QMessageBox& box) {
        seen = buttonTexts(box);
        caption = box.windowTitle();
        buttonWithText(box, QStringLiteral("いいえ(&N)"))->click();
    });
    const PromptAnswer a = handler.messageBox("更新されています。保存しますか？", "確認",
                                              PromptButtons::YesNoCancel, PromptIcon::Warning,
                                              PromptAnswer::None);
    EXPECT_EQ(a, PromptAnswer::No);
    EXPECT_EQ(caption, QStringLiteral("確認"));
    QStringList expected{QStringLiteral("はい(&Y)"), QStringLiteral("いいえ(&N)"),
                         QStringLiteral("キャンセル")};
    expected.sort();
    EXPECT_EQ(seen, expected);
}

TEST(QtPromptHandler, DefaultButtonAndEscape) {
    QtPromptHandler handler;
    QString defaultText;
    whenBoxShows([&](QMessageBox& box) {
        defaultText = box.defaultButton() ? box.defaultButton()->text() : QString();
        box.escapeButton()->click();
    });
    EXPECT_EQ(handler.messageBox("?", "確認", PromptButtons::YesNo, PromptIcon::Question,
                                 PromptAnswer::No),
              PromptAnswer::No);
    EXPECT_EQ(defaultText, QStringLiteral("いいえ(&N)"));

    whenBoxShows([](QMessageBox& box) { box.escapeButton()->click(); });
    EXPECT_EQ(handler.messageBox("!", "注意", PromptButtons::Ok, PromptIcon::Warning,
                                 PromptAnswer::None),
              PromptAnswer::Ok);
}

TEST(QtPromptHandler, FiltersBecomeQtNameFilters) {
    const QStringList filters = QtPromptHandler::toQtFilters(
        "CSVファイル(*.csv)|*.csv|テキスト(タブ区切)(*.txt,*.tsv)|*.txt;*.tsv|タブ区切(*.*)|*.*");
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(filters[0], QStringLiteral("CSVファイル(*.csv) (*.csv)"));
    EXPECT_EQ(filters[1], QStringLiteral("テキスト(タブ区切)(*.txt,*.tsv) (*.txt *.tsv)"));
    EXPECT_EQ(filters[2], QStringLiteral("タブ区切(*.*) (*.*)"));
    EXPECT_TRUE(QtPromptHandler::toQtFilters("").isEmpty());
}
