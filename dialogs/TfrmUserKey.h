// TfrmUserKey: "ユーザー定義キー割当" - assigns a function to each Ctrl+digit and Shift+Ctrl+digit key.
#pragma once

#include <QDialog>

class CMyGlobal;
class QComboBox;
class QListWidget;
class QPushButton;

// Assignments go straight into the settings object; the settings file receives them at its
// next save, as every save writes the user keys.
class TfrmUserKey : public QDialog {
    Q_OBJECT
public:
    // Ctrl+1 ... Ctrl+9, then Shift+Ctrl+1 ... Shift+Ctrl+9.
    static constexpr int KeysPerHalf = 9;
    static constexpr int KeyLineCount = 2 * KeysPerHalf;

    explicit TfrmUserKey(CMyGlobal& global, QWidget* parent = nullptr);

    // The key list's line for key line `line` (0-17) holding `value`.
    static QString keyLine(int line, int value);
    // Shows the dialog modally over `parent`.
    static void showModal(CMyGlobal& global, QWidget* parent);

private slots:
    void lst_UserKeyClick();
    void cbo_KindChange(int group);
    void lst_SyoriClick();
    void cmd_OkClick();
    void cmd_Ok2Click();

private:
    void refreshKeyList();
    void fillFunctionList(int group);
    void setChoiceEnabled(bool on);
    // Stores the chosen function for the chosen key; false after a message.
    bool assignKey();
    int storedValue(int line) const;

    CMyGlobal& global;
    QListWidget* lst_UserKey;
    QComboBox* cbo_Kind;
    QListWidget* lst_Syori;
    QPushButton* cmd_Ok;
    QPushButton* cmd_Ok2;
    QPushButton* cmd_Close;
};
