// TfrmAbout: a small modal box with the product name, the version and an OK button.
#include "dialogs/TfrmAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmAbout");
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);

    auto* name = new QLabel(QString::fromUtf8(productName), this);
    name->setObjectName("lbl_Name");
    QFont big = name->font();
    big.setPixelSize(20);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(QString::fromUtf8(versionText), this);
    version->setObjectName("lbl_Version");
    auto* purpose = new QLabel(QStringLiteral("CSV・タブ区切りファイルの表編集"), this);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("cmd_Ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(purpose);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(280, 140)));
}
