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
    auto* encoding = form.findChild<QComboBox*>("cbo_Mozi");
    auto* bom = form.findChild<QCheckBox*>("chk_BOM");
    ASSERT_TRUE(encoding && bom);
    EXPECT_EQ(form.findChild<QPushButton*>("cmd_Ok")->text(), QStringLiteral("保存先を指定(&S)..."));

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

    form.findChild<QSpinBox*>("txt_End")->setValue(8);
    form.findChild<QPushButton*>("cmd_Ok")->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const ExportChoice chosen = form.choice();
    EXPECT_EQ(chosen.firstRow, 5);
    EXPECT_EQ(chosen.lastRow, 8);
    EXPECT_EQ(chosen.format.encoding, 15);
}
