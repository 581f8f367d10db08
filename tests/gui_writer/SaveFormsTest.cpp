// The two save forms: presets, the BOM box and the export range check.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

#include "dialogs/TfrmSaveChg.h"
#include "dialogs/TfrmSaveExp.h"
#include "support/ScriptedPrompt.h"

TEST(SaveForms, EncodingFormPresetsAndBomBox) {
    TfrmSaveChg form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("文字コードを指定して保存"));
    // Wide enough to show the caption beside the window's buttons (it was 254 pixels).
    form.show();
    EXPECT_GE(form.width(), form.fontMetrics().horizontalAdvance(form.windowTitle()) + 150);
    EXPECT_GT(form.width(), 300);
    auto* encoding = form.findChild<QComboBox*>("cbo_Mozi");
    auto* bom = form.findChild<QCheckBox*>("chk_BOM");
    ASSERT_TRUE(encoding && bom);
    EXPECT_EQ(form.findChild<QPushButton*>("cmd_Ok")->text(), QStringLiteral("保存先を指定(&S)..."));
    EXPECT_EQ(form.findChild<QPushButton*>("cmd_Cancel")->text(), QStringLiteral("キャンセル(&C)"));
    EXPECT_EQ(bom->text(), QStringLiteral("BOMの有"));
    auto* lineEnding = form.findChild<QComboBox*>("cbo_Kaigyo");
    ASSERT_TRUE(lineEnding);
    const QStringList encodings = {QStringLiteral("SHIFT-JIS"), QStringLiteral("UTF8"), QStringLiteral("UTF16")};
    const QStringList endings = {QStringLiteral("CR+LF"), QStringLiteral("CR"), QStringLiteral("LF")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(encoding->itemText(i), encodings[i]);
        EXPECT_EQ(lineEnding->itemText(i), endings[i]);
    }
    EXPECT_EQ(encoding->count(), 3);
    EXPECT_EQ(lineEnding->count(), 3);

    form.preset({10, 2, true});
    EXPECT_EQ(encoding->currentIndex(), 2);
    EXPECT_TRUE(bom->isEnabled());
    EncodingChoice chosen = form.choice();
    EXPECT_EQ(chosen.encoding, 10);
    EXPECT_EQ(chosen.lineEnding, 2);
    EXPECT_TRUE(chosen.withBom);

    form.preset({0, 0, true});
    EXPECT_EQ(encoding->currentIndex(), 0);
    EXPECT_FALSE(bom->isEnabled());
    encoding->setCurrentIndex(1);
    EXPECT_TRUE(bom->isEnabled());
    EXPECT_EQ(form.choice().encoding, 15);
}

TEST(SaveForms, ExportFormRefusesAStartAfterTheEndAndStaysOpen) {
    ScriptedPrompt prompt;
    TfrmSaveExp form;
    ExportChoice preset;
    preset.firstRow = 5;
    preset.lastRow = 3;
    preset.includeHeader = true;
    preset.format = {15, 0, false};
    form.preset(preset);
    EXPECT_TRUE(form.findChild<QCheckBox*>("chk_Header")->isChecked());
    EXPECT_EQ(form.findChild<QSpinBox*>("txt_End")->maximum(), 999999);

    form.show();
    prompt.answer(PromptAnswer::Ok);
    form.findChild<QPushButton*>("cmd_Ok")->click();
    EXPECT_EQ(prompt.last().text, "開始行が終了行より大きいです。");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);

    EXPECT_EQ(form.windowTitle(), QStringLiteral("指定行数をエクスポート"));
    EXPECT_EQ(form.findChild<QCheckBox*>("chk_Header")->text(),
              QStringLiteral("１行目（ヘッダー）を含めて出力する"));
    EXPECT_EQ(form.findChild<QSpinBox*>("txt_Start")->minimum(), 1);
    EXPECT_FALSE(form.findChild<QCheckBox*>("chk_BOM")->isChecked());
    EXPECT_TRUE(form.findChild<QCheckBox*>("chk_BOM")->isEnabled());
    form.findChild<QSpinBox*>("txt_End")->setValue(8);
    form.findChild<QPushButton*>("cmd_Ok")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const ExportChoice chosen = form.choice();
    EXPECT_EQ(chosen.firstRow, 5);
    EXPECT_EQ(chosen.lastRow, 8);
    EXPECT_EQ(chosen.format.encoding, 15);
}
