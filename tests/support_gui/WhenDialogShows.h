// Drives a modal dialog from a test: a repeating timer waits until the dialog is the active
// modal widget, then acts on it once (a single zero-time shot may fire before it is shown).
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `act` once on the first active modal widget of type T.
template <class T>
void whenModal(std::function<void(T&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* shown = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!shown) return;
        timer->stop();
        timer->deleteLater();
        act(*shown);
    });
    timer->start();
}

inline void whenDialogShows(std::function<void(QDialog&)> act) { whenModal<QDialog>(std::move(act)); }
