// QtShellHandler: starts detached processes and hands files and folders to the desktop.
#include "platform/qt/QtShellHandler.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace {

QString fromNative(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

} // namespace

// A "file:" URL (the manual at a section) is taken as it is; anything else is a local path.
bool QtShellHandler::openUrl(const std::string& path) {
    const QString text = fromNative(path);
    if (text.startsWith(QStringLiteral("file:")))
        return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(path)));
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
