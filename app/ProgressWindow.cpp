// ProgressWindow: shows QProgressDialog for the core's long operations after a short delay.
#include "app/ProgressWindow.h"

#include <QApplication>
#include <QWidget>
#include <QProgressDialog>

ProgressWindow& ProgressWindow::install() {
    static ProgressWindow* window = [] {
        auto* made = new ProgressWindow;   // lives as long as the process
        Progress::install(made);
        return made;
    }();
    return *window;
}

void ProgressWindow::begin(const std::string& operation, bool canStop) {
    if (depth++ > 0) return;
    name = operation;
    cancellable = canStop;
    cancelled = false;
    clock.start();
}

bool ProgressWindow::report(long long done, long long total) {
    if (!shown && clock.elapsed() >= DelayMs) show();
    if (shown) {
        // A permille scale keeps totals beyond int inside the dialog's range.
        shown->setValue(static_cast<int>(total > 0 ? done * 1000 / total : 0));
        QApplication::processEvents();
        if (cancellable && shown && shown->wasCanceled()) cancelled = true;
    }
    return !cancelled;
}

void ProgressWindow::end() {
    if (depth == 0 || --depth > 0) return;
    delete shown.data();
}

void ProgressWindow::show() {
    // Application-modal: nothing can change the table while the operation lets the event
    // loop run.
    auto* box = new QProgressDialog(QApplication::activeWindow());
    box->setObjectName("ProgressDialog");
    box->setWindowTitle(QStringLiteral("処理中..."));
    box->setLabelText(QString::fromStdString(name));
    box->setRange(0, 1000);
    box->setMinimumDuration(0);
    box->setAutoReset(false);
    box->setAutoClose(false);
    box->setWindowModality(Qt::ApplicationModal);
    box->setCancelButtonText(QStringLiteral("キャンセル"));
    // An operation that cannot stop shows no cancel button.
    if (!cancellable) box->setCancelButton(nullptr);
    box->show();
    shown = box;
}
