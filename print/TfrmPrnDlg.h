// TfrmPrnDlg: the program's own print dialog - printer, paper and orientation shown, the
// system's printer set-up, and the page range.
#pragma once

#include "print/PrinterSetup.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

class TfrmPrnDlg : public QDialog {
    Q_OBJECT
public:
    // `setup` is copied; `name` (1 to 49 characters) goes into the caption; `currentPage` 0
    // means none, which disables "現在のページ".
    TfrmPrnDlg(QWidget* owner, const PrinterSetup& setup, const QString& name, int currentPage);

    // 0 cancelled, 1 print.
    int runResult() const { return runResult_; }
    bool printerChanged() const { return printerChanged_; }
    // The chosen range; "全て" gives 1 to CMyPrint::AllPages.
    int fromPage() const { return fromPage_; }
    int toPage() const { return toPage_; }
    const PrinterSetup& setup() const { return setup_; }

private slots:
    void rangeChoiceChanged();
    void cmd_SettingClick();
    void cmd_RunClick();

private:
    void buildControls();
    void showPrinter();

    PrinterSetup setup_;
    int currentPage_ = 0;
    int runResult_ = 0;
    bool printerChanged_ = false;
    int fromPage_ = 1;
    int toPage_ = 9999;

    QLineEdit* txt_DevName = nullptr;
    QLineEdit* txt_Paper = nullptr;
    QLineEdit* txt_Orientation = nullptr;
    QRadioButton* rdo_PageAll = nullptr;
    QRadioButton* rdo_PageSel = nullptr;
    QRadioButton* rdo_PageGen = nullptr;
    QLineEdit* txt_PageFrom = nullptr;
    QLineEdit* txt_PageTo = nullptr;
    QPushButton* cmd_Run = nullptr;
    QPushButton* cmd_Setting = nullptr;
    QPushButton* cmd_Close = nullptr;
};
