// The real prompt handler: Japanese buttons, default and escape answers, filter conversion.
#include "platform/qt/QtPromptHandler.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
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

// The same for the file dialog.
void whenFileDialogShows(std::function<void(QFileDialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
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
    EXPECT_EQ(filters[2], QStringLiteral("タブ区切(*.*) (*)"));
    EXPECT_TRUE(QtPromptHandler::toQtFilters("").isEmpty());
}

// A TAB file not named .txt is offered under "全て(タブ区切)(*.*)": the proposed name must keep
// its extension, and each filter text is shown once.
TEST(QtPromptHandler, SaveDialogKeepsTheProposedExtension) {
    QtPromptHandler handler;
    const QString folder = QDir::tempPath();
    QString shownName;
    QStringList shownFilters;
    whenFileDialogShows([&](QFileDialog& dialog) {
        shownName = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < types->count(); ++i) shownFilters << types->itemText(i);
        static_cast<QDialog&>(dialog).accept();   // QFileDialog::accept, as Save does
    });
    const std::string proposed = (folder + QStringLiteral("/商品.tsv")).toStdString();
    const FileChoice choice = handler.chooseSaveFile(
        "保存", "CSV(カンマ区切り)(*.csv)|*.csv|TXT(タブ区切)(*.txt)|*.txt|全て(タブ区切)(*.*)|*.*", 3,
        proposed);
    EXPECT_EQ(shownName, QStringLiteral("商品.tsv"));
    EXPECT_EQ(shownFilters, (QStringList{QStringLiteral("CSV(カンマ区切り)(*.csv)"),
                                         QStringLiteral("TXT(タブ区切)(*.txt)"),
                                         QStringLiteral("全て(タブ区切)(*.*)")}));
    ASSERT_TRUE(choice.accepted);
    EXPECT_EQ(choice.path, proposed);
    EXPECT_EQ(choice.filterIndex, 3);
}

// With no window active (a file dialog has just closed), the box still belongs to the main
// window rather than floating on its own.
TEST(QtPromptHandler, BoxWithoutActiveWindowBelongsToTheMainWindow) {
    QtPromptHandler handler;
    QMainWindow main;
    main.show();
    QApplication::setActiveWindow(nullptr);
    QWidget* parent = nullptr;
    whenBoxShows([&](QMessageBox& box) {
        parent = box.parentWidget();
        box.escapeButton()->click();
    });
    handler.messageBox("!", "注意", PromptButtons::Ok, PromptIcon::Warning, PromptAnswer::None);
    EXPECT_EQ(parent, &main);
}
