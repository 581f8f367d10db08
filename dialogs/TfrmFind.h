// TfrmFind: the find, replace and filter dialog - texts with their histories, the match
// method, the switches and the button that closed it.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class CMyGlobal;
class CMyHyoCom;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

enum FindDialogMode { FindModeFind = 0, FindModeReplace = 1, FindModeFilter = 2 };
enum FindResult { FindCancelled = 0, FindUp = -1, FindDown = 1, FindReplaceAll = 2, FindAllCells = 3 };

// One instance lives as long as the main window, so the texts, the lists and every switch
// reopen as they were left. Texts are handed out as CP932 bytes, never cut: a text the code
// page cannot hold beeps and keeps the dialog open, and a find or replace text over 50 bytes
// gets the engine's message. With "正規表現(&X)" ticked the search text is a regular expression
// (the method lists are disabled) and a faulty pattern keeps the dialog open.
class TfrmFind : public QDialog {
    Q_OBJECT
public:
    TfrmFind(CMyGlobal& global, const CMyHyoCom& com, QWidget* parent = nullptr);

    // Caption and visible controls for the mode; the column name is for the filter caption.
    void showMode(int mode, const QString& columnName = QString());

    int dialogMode = FindModeFind;
    int dialogResult = FindCancelled;
    std::string searchText;
    std::string replaceText;

    int matchKind() const;
    bool excludeMatches() const;
    // The background colour number to give found cells, or -1.
    int colourIndex() const;

    // The histories as they stand (CP932, newest first).
    const std::vector<std::string>& findHistory() const { return findHistory_; }
    const std::vector<std::string>& replaceHistory() const { return replaceHistory_; }

public slots:
    void done(int code) override;

private:
    void buildControls(const CMyHyoCom& com);
    void confirmInput(int result);
    bool readField(QComboBox* box, std::string& text);
    void loadHistories();
    static void fillList(QComboBox* box, const std::vector<std::string>& entries);

    CMyGlobal& global_;
    std::vector<std::string> findHistory_;
    std::vector<std::string> replaceHistory_;

    QLabel* lbl_Data = nullptr;
    QComboBox* cbo_Data = nullptr;
    QLabel* lbl_Press = nullptr;
    QComboBox* cbo_Press = nullptr;
    QLabel* lbl_Kind = nullptr;
    QComboBox* cbo_Kind = nullptr;
    QComboBox* cbo_KindRep = nullptr;
    QCheckBox* chk_Case = nullptr;
    QCheckBox* chk_Else = nullptr;
    QCheckBox* chk_Color = nullptr;
    QCheckBox* chk_Regex = nullptr;
    QComboBox* cbo_Color = nullptr;
    QPushButton* cmd_Up = nullptr;
    QPushButton* cmd_Down = nullptr;
    QPushButton* cmd_Press = nullptr;
    QPushButton* cmd_FindAll = nullptr;
    QPushButton* cmd_Filter = nullptr;
    QPushButton* cmd_Cancel = nullptr;
};
