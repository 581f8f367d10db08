// TfrmSaveExp: the export form; checks the range before it closes.
#include "dialogs/TfrmSaveExp.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/SaveFormatControls.h"
#include "store/TableLimits.h"

#include <algorithm>

namespace {

QSpinBox* rowField(QWidget* owner, const char* name) {
    auto* field = new QSpinBox(owner);
    field->setObjectName(name);
    field->setRange(1, TfrmSaveExp::maxRow());
    return field;
}

} // namespace

int TfrmSaveExp::maxRow() { return std::max(999999, TableLimits::maxRows()); }

TfrmSaveExp::TfrmSaveExp(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmSaveExp");
    setWindowTitle(QStringLiteral("指定行数をエクスポート"));
    setModal(true);

    firstRow = rowField(this, "txt_Start");
    lastRow = rowField(this, "txt_End");
    header = new QCheckBox(QStringLiteral("１行目（ヘッダー）を含めて出力する"), this);
    header->setObjectName("chk_Header");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("開始行"), this), 0, 0);
    grid->addWidget(firstRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("終了行"), this), 1, 0);
    grid->addWidget(lastRow, 1, 1);
    grid->addWidget(header, 2, 0, 1, 3);
    format = new SaveFormatControls(this, grid, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    SaveFormatControls::addButtons(this, layout);
}

void TfrmSaveExp::preset(const ExportChoice& choice) {
    firstRow->setValue(choice.firstRow);
    lastRow->setValue(choice.lastRow);
    header->setChecked(choice.includeHeader);
    format->preset(choice.format);
}

ExportChoice TfrmSaveExp::choice() const {
    ExportChoice result;
    result.firstRow = firstRow->value();
    result.lastRow = lastRow->value();
    result.includeHeader = header->isChecked();
    result.format = format->choice();
    return result;
}

void TfrmSaveExp::accept() {
    if (!SaveFormHandler::acceptExportRange(firstRow->value(), lastRow->value())) return;
    QDialog::accept();
}
