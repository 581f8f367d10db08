// TfrmPrnDlg: printer and paper display, printer set-up through QPrintDialog, page range.
#include "print/TfrmPrnDlg.h"

#include "print/CMyPrint.h"
#include "print/PaperTable.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TfrmPrnDlg::TfrmPrnDlg(QWidget* owner, const PrinterSetup& setup, const QString& name,
                       int currentPage)
    : QDialog(owner), setup_(setup), currentPage_(currentPage) {
    setObjectName(QStringLiteral("TfrmPrnDlg"));
    setWindowTitle(name.size() >= 1 && name.size() <= 49 ? QStringLiteral("印刷（%1）").arg(name)
                                                         : QStringLiteral("印刷"));
    buildControls();
    showPrinter();
    rdo_PageGen->setEnabled(currentPage_ > 0);
    rangeChoiceChanged();
    if (owner) move(owner->window()->frameGeometry().topLeft() + QPoint(60, 100));
}

void TfrmPrnDlg::buildControls() {
    auto field = [this](const char* objectName) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromUtf8(objectName));
        edit->setReadOnly(true);
        return edit;
    };
    txt_DevName = field("txt_DevName");
    txt_Paper = field("txt_Paper");
    txt_Orientation = field("txt_Orientation");
    // Each field is found by its label's caption (keyboard and screen readers).
    auto labelFor = [](QWidget* field, const QString& caption, QWidget* owner) {
        auto* label = new QLabel(caption, owner);
        label->setBuddy(field);
        field->setAccessibleName(caption);
        return label;
    };
    auto* printerGrid = new QGridLayout;
    printerGrid->addWidget(labelFor(txt_DevName, QStringLiteral("プリンタ名："), this), 0, 0);
    printerGrid->addWidget(txt_DevName, 0, 1);
    printerGrid->addWidget(labelFor(txt_Paper, QStringLiteral("用紙："), this), 1, 0);
    printerGrid->addWidget(txt_Paper, 1, 1);
    printerGrid->addWidget(labelFor(txt_Orientation, QStringLiteral("用紙向き："), this), 2, 0);
    printerGrid->addWidget(txt_Orientation, 2, 1);

    auto* range = new QGroupBox(QStringLiteral("印刷範囲"), this);
    rdo_PageAll = new QRadioButton(QStringLiteral("全て"), range);
    rdo_PageAll->setObjectName(QStringLiteral("rdo_PageAll"));
    rdo_PageAll->setChecked(true);
    rdo_PageSel = new QRadioButton(QStringLiteral("ページ指定"), range);
    rdo_PageSel->setObjectName(QStringLiteral("rdo_PageSel"));
    rdo_PageGen = new QRadioButton(QStringLiteral("現在のページ"), range);
    rdo_PageGen->setObjectName(QStringLiteral("rdo_PageGen"));
    auto pageField = [range](const char* objectName, const char* text) {
        auto* edit = new QLineEdit(QString::fromUtf8(text), range);
        edit->setObjectName(QString::fromUtf8(objectName));
        edit->setMaxLength(4);
        return edit;
    };
    txt_PageFrom = pageField("txt_PageFrom", "1");
    txt_PageTo = pageField("txt_PageTo", "9999");
    auto* pages = new QHBoxLayout;
    pages->addWidget(rdo_PageSel);
    pages->addWidget(txt_PageFrom);
    txt_PageFrom->setAccessibleName(rdo_PageSel->text());
    pages->addWidget(labelFor(txt_PageTo, QStringLiteral("～"), range));
    pages->addWidget(txt_PageTo);
    auto* rangeLayout = new QVBoxLayout(range);
    rangeLayout->addWidget(rdo_PageAll);
    rangeLayout->addLayout(pages);
    rangeLayout->addWidget(rdo_PageGen);

    cmd_Run = new QPushButton(QStringLiteral("印刷(&P)"), this);
    cmd_Run->setObjectName(QStringLiteral("cmd_Run"));
    cmd_Run->setDefault(true);
    cmd_Setting = new QPushButton(QStringLiteral("プリンタ設定..."), this);
    cmd_Setting->setObjectName(QStringLiteral("cmd_Setting"));
    cmd_Close = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    cmd_Close->setObjectName(QStringLiteral("cmd_Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmd_Setting);
    buttons->addStretch();
    buttons->addWidget(cmd_Run);
    buttons->addWidget(cmd_Close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(printerGrid);
    layout->addWidget(range);
    layout->addLayout(buttons);

    for (QRadioButton* choice : {rdo_PageAll, rdo_PageSel, rdo_PageGen})
        connect(choice, &QRadioButton::toggled, this, &TfrmPrnDlg::rangeChoiceChanged);
    connect(cmd_Setting, &QPushButton::clicked, this, &TfrmPrnDlg::cmd_SettingClick);
    connect(cmd_Run, &QPushButton::clicked, this, &TfrmPrnDlg::cmd_RunClick);
    connect(cmd_Close, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmPrnDlg::showPrinter() {
    // A PDF file stands where a printer would.
    txt_DevName->setText(setup_.outputFile.isEmpty() ? setup_.printerName
                                                     : QFileInfo(setup_.outputFile).fileName());
    int code = PaperTable::codeOf(setup_.pageSize);
    txt_Paper->setText(PaperTable::name(code));
    txt_Orientation->setText(PaperTable::orientationName(setup_.orientation));
}

void TfrmPrnDlg::rangeChoiceChanged() {
    const bool pages = rdo_PageSel->isChecked();
    txt_PageFrom->setEnabled(pages);
    txt_PageTo->setEnabled(pages);
}

void TfrmPrnDlg::cmd_SettingClick() {
    std::unique_ptr<QPrinter> printer = CMyPrint::makePrinter(setup_, true);
    QPrintDialog dialog(printer.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return;
    CMyPrint::takeOver(*printer, setup_);
    printerChanged_ = true;
    showPrinter();
}

void TfrmPrnDlg::cmd_RunClick() {
    fromPage_ = 1;
    toPage_ = CMyPrint::AllPages;
    if (rdo_PageSel->isChecked()) {
        bool fromOk = false, toOk = false;
        const int from = txt_PageFrom->text().trimmed().toInt(&fromOk);
        const int to = txt_PageTo->text().trimmed().toInt(&toOk);
        fromPage_ = fromOk ? from : 1;
        toPage_ = toOk ? to : 9999;
    } else if (rdo_PageGen->isChecked() && currentPage_ > 0) {
        fromPage_ = toPage_ = currentPage_;
    }
    runResult_ = 1;
    accept();
}
