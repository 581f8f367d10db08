// TfrmSaveChg: the encoding form in front of save as.
#include "dialogs/TfrmSaveChg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/SaveFormatControls.h"

TfrmSaveChg::TfrmSaveChg(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmSaveChg");
    setWindowTitle(QStringLiteral("文字コードを指定して保存"));
    setModal(true);

    auto* grid = new QGridLayout;
    format = new SaveFormatControls(this, grid, 0);

    auto* ok = new QPushButton(QStringLiteral("保存先を指定(&S)..."), this);
    ok->setObjectName("cmd_Ok");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    cancel->setObjectName("cmd_Cancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

void TfrmSaveChg::preset(const EncodingChoice& choice) { format->preset(choice); }

EncodingChoice TfrmSaveChg::choice() const { return format->choice(); }
