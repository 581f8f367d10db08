// Drives a modal dialog from inside its event loop: a repeating timer waits for it to appear.
#pragma once

#include <QApplication>
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
