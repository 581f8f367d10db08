// TfrmOption: "オプション" - the settings of vexil.ini and the format of the open document.
#pragma once

#include <QDialog>
#include <QString>

class CMyGlobal;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

// Filled from the settings on creation. Both OK buttons store the options into the settings
// object; "OK(&O)" also writes them to vexil.ini, "OK(編集中のみ有効)(&E)" keeps them for this
// run. The window reads the document's format, the alternating mode and the page afterwards
// and applies them.
class TfrmOption : public QDialog {
    Q_OBJECT
public:
    enum Page { FilePage = 0, DesignPage = 1, EditPage = 2 };

    explicit TfrmOption(CMyGlobal& global, QWidget* parent = nullptr);

    // The open document's encoding, byte-order mark and line end.
    void setEditingFormat(int encoding, bool withBom, int lineEnd);
    // The window's alternating background for this run: band height in rows and colour.
    void setAlternateMode(bool on, int band, int colour);
    void setPage(int page);
    int page() const;

    // ---- results, read after the dialog closed ----
    bool dialogAccepted() const { return accepted_; }
    int editEncoding() const { return editEncoding_; }
    int editLineEnd() const { return editLineEnd_; }
    bool editBom() const { return editBom_; }
    bool alternateModeOn() const;
    int alternateBand() const;     // rows, 1-4
    int alternateColour() const;   // colour entry, 0-5
    bool startEncodingChanged() const { return startEncodingChanged_; }
    bool colourModeChanged() const { return colourModeChanged_; }

private slots:
    void cmd_OkClick();
    void cmd_OkSaveClick();

private:
    QWidget* createFilePage();
    QWidget* createDesignPage();
    QWidget* createEditPage();
    QWidget* createQuoteGroup(QWidget* owner);
    void connectReactions();
    void fitToScreen();
    void fillFromSettings();
    void showTemporaryStoreControls();
    void alternateLinesChosen();
    void quoteChoiceChanged();
    // Asks the two questions of the run-only OK; false when the user declined one.
    bool confirmRunOnly();
    void storeFileOptions();
    void storeDesignOptions();
    void storeUndoSize();
    void acceptWith(bool withOptions);

    CMyGlobal& global;
    QTabWidget* pages = nullptr;

    // ファイル
    QComboBox* cbo_MakeFD = nullptr;
    QLabel* lbl_MakeFD3 = nullptr;
    QLabel* lbl_FdListMax = nullptr;
    QLineEdit* txt_FdListMax = nullptr;
    QComboBox* cbo_ReadMozi = nullptr;
    QLineEdit* txt_MaxRow = nullptr;
    QComboBox* cbo_RetCode = nullptr;
    QComboBox* cbo_Mozi = nullptr;
    QCheckBox* chk_BOM = nullptr;
    QComboBox* cbo_EditRetCode = nullptr;
    QComboBox* cbo_EditMozi = nullptr;
    QCheckBox* chk_EditBOM = nullptr;
    QButtonGroup* quoteKinds = nullptr;
    QRadioButton* rdo_DblNo = nullptr;
    QRadioButton* rdo_DblAll = nullptr;
    QRadioButton* rdo_DblText = nullptr;
    QRadioButton* rdo_DblNoAll = nullptr;
    QRadioButton* rdo_DblAsRead = nullptr;
    QCheckBox* chk_FileDblRetOnly = nullptr;

    // デザイン
    QCheckBox* chk_LineCurUmu = nullptr;
    QCheckBox* chk_CellOver = nullptr;
    QCheckBox* chk_RetView = nullptr;
    QCheckBox* chk_EndLine = nullptr;
    QComboBox* cbo_SelColorNo = nullptr;
    QComboBox* cbo_Scale = nullptr;
    QComboBox* cbo_CardScale = nullptr;
    QComboBox* cbo_KougoLine = nullptr;
    QComboBox* cbo_KougoCrIndex = nullptr;
    QCheckBox* chk_KougoMode = nullptr;
    QComboBox* cbo_KougoLineMode = nullptr;
    QComboBox* cbo_KougoCrIndexMode = nullptr;

    // 編集
    QCheckBox* chk_CPDblRetOnly = nullptr;
    QCheckBox* chk_TabRetWarning = nullptr;
    QLineEdit* txt_UndoSize = nullptr;
    QCheckBox* chk_SimpleCalc = nullptr;
    QComboBox* cbo_PrintKind = nullptr;

    QPushButton* cmd_Ok = nullptr;
    QPushButton* cmd_OkSave = nullptr;
    QPushButton* cmd_Cancel = nullptr;

    QString shownUndoSize;
    bool accepted_ = false;
    bool startEncodingChanged_ = false;
    bool colourModeChanged_ = false;
    int editEncoding_ = 0;
    int editLineEnd_ = 0;
    bool editBom_ = false;
};
