// ProgressWindow: the "処理中..." dialog long operations of the core report to.
#pragma once

#include "store/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

class QWidget;

// One for the process, installed when the first main window is made. Nothing shows for an operation that ends
// within half a second; after that a window-modal dialog names the operation, shows how far
// it got and offers "キャンセル" when the operation can stop, and the window keeps painting
// because every report lets the event loop run. Operations started inside another (a save
// inside a close) report to the outer one's dialog.
class ProgressWindow : public ProgressSink {
public:
    static constexpr int DelayMs = 500;

    // Installs the process's progress window (once) and returns it.
    static ProgressWindow& install();

    void begin(const std::string& name, bool cancellable) override;
    bool report(long long done, long long total) override;
    void end() override;

    // The dialog while one is shown (for tests).
    QProgressDialog* dialog() const { return shown; }

private:
    ProgressWindow() = default;
    void show();

    QPointer<QProgressDialog> shown;
    QElapsedTimer clock;
    std::string name;
    int depth = 0;
    bool cancellable = false;
    bool cancelled = false;
};
