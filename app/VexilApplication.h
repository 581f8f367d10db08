// VexilApplication: the QApplication of vexil, with a last-resort report for escaped exceptions.
#pragma once

#include <QApplication>

class VexilApplication : public QApplication {
public:
    VexilApplication(int& argc, char** argv);
    // An exception that escapes an event handler is shown in a message box and the program
    // goes on, instead of unwinding through Qt's event loop.
    bool notify(QObject* receiver, QEvent* event) override;
};
