// VexilApplication: application title and the error box for exceptions that escape a handler.
#include "app/VexilApplication.h"

#include <QMessageBox>

#include <exception>

VexilApplication::VexilApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vexil"));
    setApplicationVersion(QStringLiteral("1.52"));
}

bool VexilApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox::critical(activeWindow(), QStringLiteral("Vexil"), QString::fromUtf8(e.what()));
    } catch (...) {
        QMessageBox::critical(activeWindow(), QStringLiteral("Vexil"),
                              QStringLiteral("予期しないエラーが発生しました。"));
    }
    return false;
}
