// TfrmSaveChg: "文字コードを指定して保存" - choose encoding, line ending and BOM, then save as.
#pragma once

#include <QDialog>

#include "store/SaveFormHandler.h"

class SaveFormatControls;

class TfrmSaveChg : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSaveChg(QWidget* parent = nullptr);

    void preset(const EncodingChoice& choice);
    EncodingChoice choice() const;

private:
    SaveFormatControls* format;
};
