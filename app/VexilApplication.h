// VexilApplication: the QApplication of vexil, with a last-resort report for escaped exceptions.
#pragma once

#include <QApplication>

class QTranslator;

class VexilApplication : public QApplication {
public:
    VexilApplication(int& argc, char** argv);
    // An exception that escapes an event handler is shown in a message box and the program
    // goes on, instead of unwinding through Qt's event loop.
    bool notify(QObject* receiver, QEvent* event) override;

    // Loads Qt's own Japanese texts (file dialogs, standard buttons) from `folder` and installs
    // them into `app`, which owns the translator. Returns nullptr - and the dialogs stay in
    // English - when the translation files are not installed.
    static QTranslator* installQtTranslations(QCoreApplication& app, const QString& folder);
};
