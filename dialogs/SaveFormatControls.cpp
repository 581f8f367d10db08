// SaveFormatControls: builds the format controls and maps them to encoding codes.
#include "dialogs/SaveFormatControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

SaveFormatControls::SaveFormatControls(QWidget* owner, QGridLayout* layout, int firstRow)
    : QObject(owner) {
    encoding = new QComboBox(owner);
    encoding->setObjectName("cbo_Mozi");
    encoding->addItems({QStringLiteral("SHIFT-JIS"), QStringLiteral("UTF8"), QStringLiteral("UTF16")});
    lineEnding = new QComboBox(owner);
    lineEnding->setObjectName("cbo_Kaigyo");
    lineEnding->addItems({QStringLiteral("CR+LF"), QStringLiteral("CR"), QStringLiteral("LF")});
    bom = new QCheckBox(QStringLiteral("BOMの有"), owner);
    bom->setObjectName("chk_BOM");

    layout->addWidget(new QLabel(QStringLiteral("文字コード"), owner), firstRow, 0);
    layout->addWidget(encoding, firstRow, 1);
    layout->addWidget(bom, firstRow, 2);
    layout->addWidget(new QLabel(QStringLiteral("改行コード"), owner), firstRow + 1, 0);
    layout->addWidget(lineEnding, firstRow + 1, 1);
    connect(encoding, &QComboBox::currentIndexChanged, this, &SaveFormatControls::encodingChanged);
}

void SaveFormatControls::addButtons(QDialog* form, QBoxLayout* layout) {
    auto* ok = new QPushButton(QStringLiteral("保存先を指定(&S)..."), form);
    ok->setObjectName("cmd_Ok");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル(&C)"), form);
    cancel->setObjectName("cmd_Cancel");
    // accept is virtual: a form that checks its fields first gets its own.
    QObject::connect(ok, &QPushButton::clicked, form, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, form, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

void SaveFormatControls::preset(const EncodingChoice& choice) {
    const int entry = SaveFormHandler::encodingEntry(choice.encoding);
    encoding->setCurrentIndex(entry);
    lineEnding->setCurrentIndex(choice.lineEnding >= 0 && choice.lineEnding <= 2 ? choice.lineEnding : 0);
    bom->setChecked(choice.withBom);
    encodingChanged(entry);
}

EncodingChoice SaveFormatControls::choice() const {
    EncodingChoice result;
    result.encoding = SaveFormHandler::encodingForEntry(encoding->currentIndex());
    result.lineEnding = lineEnding->currentIndex();
    result.withBom = bom->isChecked();
    return result;
}

void SaveFormatControls::encodingChanged(int entry) {
    bom->setEnabled(SaveFormHandler::bomAllowed(entry));
}
