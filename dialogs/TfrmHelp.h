// TfrmHelp: the help window - the HTML manual in a text browser, with back and forward, find in
// page and zoom. One per main window, which owns it; it stays open beside the table.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QTextBrowser;
class QUrl;
class QWidget;

class TfrmHelp : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget* owner);

    // Loads the manual page (a local file) at `anchor` ("" for its top) and brings the window
    // forward. False when the page cannot be read.
    bool showPage(const QString& indexPath, const QString& anchor);
    // Selects the next (or previous) occurrence of `text` after the selection, going round the
    // page once; false, with a beep, when the page does not contain it.
    bool findText(const QString& text, bool backward = false);
    // Opens the find bar with its text selected (Ctrl+F).
    void openFindBar();

    QTextBrowser& browser() { return *txt_Help; }

private:
    void buildToolBar();
    void buildFindBar();
    // A link inside the manual is followed here; anything else (web pages, mail) goes to the
    // desktop's programs.
    void followLink(const QUrl& link);

    QTextBrowser* txt_Help = nullptr;
    QWidget* pnl_Find = nullptr;
    QLineEdit* txt_Find = nullptr;
};
