// TfrmSaveExp: "指定行数をエクスポート" - the row range, the header choice and the file format.
#pragma once

#include <QDialog>

#include "store/SaveFormHandler.h"

class QCheckBox;
class QSpinBox;
class SaveFormatControls;

class TfrmSaveExp : public QDialog {
    Q_OBJECT
public:
    // Six digits as the form always took, more when the row option allows more rows.
    static int maxRow();

    explicit TfrmSaveExp(QWidget* parent = nullptr);

    void preset(const ExportChoice& choice);
    ExportChoice choice() const;

public slots:
    // A start after the end is refused with a message and the form stays open.
    void accept() override;

private:
    QSpinBox* firstRow;
    QSpinBox* lastRow;
    QCheckBox* header;
    SaveFormatControls* format;
};
