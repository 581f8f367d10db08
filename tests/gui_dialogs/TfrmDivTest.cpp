// The delimiter dialog: texts, the empty-field refusal, characters outside CP932, the result.
#include <gtest/gtest.h>

#include "support_gui/WhenDialogShows.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "dialogs/TfrmDiv.h"
#include "support/FullLentArea.h"
#include "support/ScriptedPrompt.h"

namespace {

void typeAndOk(TfrmDiv& dialog, const QString& text) {
    auto* field = dialog.findChild<QLineEdit*>("txt_Div");
    field->clear();
    field->insert(text);
    QTest::mouseClick(dialog.findChild<QPushButton*>("cmd_Ok"), Qt::LeftButton);
}

TEST(TfrmDiv, TextsAndOneCharacterField) {
    TfrmDiv dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("文字列分解設定"));
    auto* field = dialog.findChild<QLineEdit*>("txt_Div");
    ASSERT_TRUE(field);
    EXPECT_EQ(field->maxLength(), 1);
    EXPECT_EQ(dialog.findChild<QPushButton*>("cmd_Ok")->text(), QStringLiteral("OK(&O)"));
    EXPECT_EQ(dialog.findChild<QPushButton*>("cmd_Cancel")->text(), QStringLiteral("キャンセル(&C)"));
    bool labelled = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        labelled |= label->text() == QStringLiteral("区切り文字") && label->buddy() == field;
    EXPECT_TRUE(labelled);
    dialog.setDelimiter("\x81\x45");   // ・
    EXPECT_EQ(field->text(), QStringLiteral("・"));
}

TEST(TfrmDiv, EmptyAndUnwritableEntriesKeepTheDialogOpen) {
    ScriptedPrompt prompt;
    const FullLentArea full;   // "한" finds no code left
    prompt.answer(PromptAnswer::Ok);
    int step = 0;
    whenModal<TfrmDiv>([&](TfrmDiv& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("文字列結合"));
        EXPECT_EQ(dialog.findChild<QLineEdit*>("txt_Div")->text(), QStringLiteral("/"));
        typeAndOk(dialog, QString());
        step = dialog.isVisible() ? 1 : -1;
        typeAndOk(dialog, QStringLiteral("한"));   // no CP932 form, no lent code
        if (dialog.isVisible()) step = 2;
        typeAndOk(dialog, QStringLiteral("／"));
    });
    const std::optional<std::string> entered = TfrmDiv::ask(nullptr, QStringLiteral("文字列結合"), "/");
    EXPECT_EQ(step, 2);
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.last().text, "値を入力してください。");
    EXPECT_EQ(prompt.last().caption, "注意");
    EXPECT_EQ(prompt.beeps(), 1);
    ASSERT_TRUE(entered);
    EXPECT_EQ(*entered, "\x81\x5E");
}

TEST(TfrmDiv, TabBecomesASpaceAndCancelGivesNothing) {
    whenModal<TfrmDiv>([](TfrmDiv& dialog) { typeAndOk(dialog, QStringLiteral("\t")); });
    EXPECT_EQ(TfrmDiv::ask(nullptr, QStringLiteral("文字列分解"), ","), std::optional<std::string>(" "));
    whenModal<TfrmDiv>([](TfrmDiv& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmd_Cancel"), Qt::LeftButton);
    });
    EXPECT_FALSE(TfrmDiv::ask(nullptr, QStringLiteral("文字列分解"), ","));
}

}  // namespace
