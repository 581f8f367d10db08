// QtPromptHandler: message boxes, beeps and file choosers on Qt Widgets.
#include "platform/qt/QtPromptHandler.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QMessageBox::Icon qtIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Warning: return QMessageBox::Warning;
    case PromptIcon::Question: return QMessageBox::Question;
    case PromptIcon::Error: return QMessageBox::Critical;
    case PromptIcon::Information: return QMessageBox::Information;
    case PromptIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The answers a button set offers, in the order the buttons are shown.
std::vector<PromptAnswer> answersOf(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::Ok: return {PromptAnswer::Ok};
    case PromptButtons::OkCancel: return {PromptAnswer::Ok, PromptAnswer::Cancel};
    case PromptButtons::YesNo: return {PromptAnswer::Yes, PromptAnswer::No};
    case PromptButtons::YesNoCancel:
        return {PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Cancel};
    }
    return {PromptAnswer::Ok};
}

QString buttonText(PromptAnswer a) {
    switch (a) {
    case PromptAnswer::Yes: return QStringLiteral("はい(&Y)");
    case PromptAnswer::No: return QStringLiteral("いいえ(&N)");
    case PromptAnswer::Cancel: return QStringLiteral("キャンセル");
    default: return QStringLiteral("OK");
    }
}

QMessageBox::ButtonRole buttonRole(PromptAnswer a) {
    switch (a) {
    case PromptAnswer::Yes: return QMessageBox::YesRole;
    case PromptAnswer::No: return QMessageBox::NoRole;
    case PromptAnswer::Cancel: return QMessageBox::RejectRole;
    default: return QMessageBox::AcceptRole;
    }
}

// Escape (or closing the box) gives Cancel when offered, else No, else OK, as on Windows.
PromptAnswer escapeAnswer(const std::vector<PromptAnswer>& offered) {
    for (PromptAnswer a : {PromptAnswer::Cancel, PromptAnswer::No, PromptAnswer::Ok})
        for (PromptAnswer o : offered)
            if (o == a) return a;
    return offered.front();
}

// The Qt filter to show first for a 1-based filter index; none when out of range.
QString filterAt(const QStringList& list, int filterIndex) {
    return filterIndex >= 1 && filterIndex <= list.size() ? list[filterIndex - 1] : QString();
}

// What a file dialog returned: nothing when cancelled, else the path and the 1-based index of
// the filter left selected (1 when Qt reports one not in the list).
FileChoice choiceOf(const QString& path, const QStringList& list, const QString& selected) {
    FileChoice choice;
    if (path.isEmpty()) return choice;
    choice.accepted = true;
    choice.path = path.toUtf8().toStdString();
    choice.filterIndex = int(list.indexOf(selected)) + 1;
    // With the patterns hidden, Qt may report the filter as shown: the text before " (".
    for (qsizetype i = 0; choice.filterIndex < 1 && i < list.size(); ++i)
        if (list[i].left(list[i].lastIndexOf(QStringLiteral(" ("))) == selected)
            choice.filterIndex = int(i) + 1;
    if (choice.filterIndex < 1) choice.filterIndex = 1;
    return choice;
}

} // namespace

// The box belongs over the window the user works in. Just after a file dialog has closed no
// window may be active yet; the main window is then the owner, so the box is centred on it and
// not left wherever the dialog stood.
QWidget* QtPromptHandler::owner() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<QMainWindow*>(w)) return w;
    return nullptr;
}

PromptAnswer QtPromptHandler::messageBox(const std::string& text, const std::string& caption,
                                         PromptButtons buttons, PromptIcon icon,
                                         PromptAnswer defaultAnswer) {
    QMessageBox box(qtIcon(icon), fromUtf8(caption), fromUtf8(text), QMessageBox::NoButton,
                    owner());
    box.setWindowModality(Qt::ApplicationModal);
    const std::vector<PromptAnswer> offered = answersOf(buttons);
    std::vector<std::pair<QAbstractButton*, PromptAnswer>> made;
    for (PromptAnswer a : offered) {
        QPushButton* b = box.addButton(buttonText(a), buttonRole(a));
        made.emplace_back(b, a);
        if (a == defaultAnswer) box.setDefaultButton(b);
    }
    const PromptAnswer onEscape = escapeAnswer(offered);
    for (auto& [button, answer] : made)
        if (answer == onEscape) box.setEscapeButton(button);
    // A question asked under a long command's wait cursor shows the normal one while it waits
    // for the answer.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    for (auto& [button, answer] : made)
        if (box.clickedButton() == button) return answer;
    return onEscape;
}

void QtPromptHandler::beep() { QApplication::beep(); }

QStringList QtPromptHandler::toQtFilters(const std::string& filters) {
    const QStringList parts = fromUtf8(filters).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" would be taken for the extension "*": a save dialog would then turn the
        // proposed "name.tsv" into "name.*". "*" matches every file and keeps the name.
        if (patterns == QStringLiteral("*.*")) patterns = QStringLiteral("*");
        result << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

FileChoice QtPromptHandler::chooseOpenFile(const std::string& filters, int filterIndex) {
    const QStringList list = toQtFilters(filters);
    QString selected = filterAt(list, filterIndex);
    const QString path =
        QFileDialog::getOpenFileName(owner(), QString(), QString(), list.join(QStringLiteral(";;")),
                                     &selected, QFileDialog::HideNameFilterDetails);
    return choiceOf(path, list, selected);
}

FileChoice QtPromptHandler::chooseSaveFile(const std::string& title, const std::string& filters,
                                           int filterIndex, const std::string& proposedName) {
    const QStringList list = toQtFilters(filters);
    QString selected = filterAt(list, filterIndex);
    // The program asks its own overwrite questions (they also cover the colour file).
    const QString path = QFileDialog::getSaveFileName(
        owner(), fromUtf8(title), fromUtf8(proposedName), list.join(QStringLiteral(";;")),
        &selected, QFileDialog::DontConfirmOverwrite | QFileDialog::HideNameFilterDetails);
    return choiceOf(path, list, selected);
}
