// TfrmSaveChg: the encoding form in front of save as.
#include "dialogs/TfrmSaveChg.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "dialogs/SaveFormatControls.h"

TfrmSaveChg::TfrmSaveChg(QWidget* parent) : QDialog(parent) {
    setObjectName("TfrmSaveChg");
    setWindowTitle(QStringLiteral("文字コードを指定して保存"));
    setModal(true);

    auto* grid = new QGridLayout;
    format = new SaveFormatControls(this, grid, 0);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    SaveFormatControls::addButtons(this, layout);
    // The caption is longer than the fields: leave room for it beside the window's buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
}

void TfrmSaveChg::preset(const EncodingChoice& choice) { format->preset(choice); }

EncodingChoice TfrmSaveChg::choice() const { return format->choice(); }
