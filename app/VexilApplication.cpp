// VexilApplication: application title and the error box for exceptions that escape a handler.
#include "app/VexilApplication.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

VexilApplication::VexilApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vexil"));
    setApplicationVersion(QStringLiteral("1.52"));
    // The program speaks Japanese whatever the desktop's language, and so do Qt's dialogs.
    installQtTranslations(*this, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QTranslator* VexilApplication::installQtTranslations(QCoreApplication& app, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
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
