// QtShellHandler: starts detached processes and hands files and folders to the desktop.
#include "platform/qt/QtShellHandler.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace {

QString fromNative(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

} // namespace

// A URL ("file:", "https:", "mailto:" - the manual's links) is taken as it is; anything else is
// a local path. A one-letter scheme is a Windows drive, so a path.
bool QtShellHandler::openUrl(const std::string& path) {
    const QString text = fromNative(path);
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(path), QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1) return QDesktopServices::openUrl(url);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(text));
}

bool QtShellHandler::startProgram(const std::string& exe, const std::vector<std::string>& args) {
    QStringList list;
    for (const std::string& a : args) list << fromNative(a);
    // No working folder is given: the new process inherits ours, as the shell start did.
    return QProcess::startDetached(fromNative(exe), list);
}

bool QtShellHandler::openFolder(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fromNative(path)));
}
