// Drives a modal dialog from a test: a repeating timer waits until the dialog is the active
// modal widget, then acts on it once (a single zero-time shot may fire before it is shown).
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

inline void whenDialogShows(std::function<void(QDialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start();
}
