// Entry point of vexil: installs the Qt prompt and shell services and runs the main window.
#include "app/TfrmMain.h"
#include "app/VexilApplication.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "platform/qt/QtPromptHandler.h"
#include "platform/qt/QtShellHandler.h"

#include <QTimer>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Arguments are taken as the bytes the system passed (native path bytes), not re-decoded.
std::vector<std::string> argumentsOf(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

// VEXIL_QUIT_AFTER_MS closes the window after that many milliseconds (smoke tests, demos).
void scheduleQuit(TfrmMain& window) {
    const char* value = std::getenv("VEXIL_QUIT_AFTER_MS");
    if (!value || !*value) return;
    const int ms = std::atoi(value);
    if (ms > 0) QTimer::singleShot(ms, &window, &QWidget::close);
}

} // namespace

int main(int argc, char** argv) {
    VexilApplication app(argc, argv);
    QtPromptHandler prompts;
    QtShellHandler shell;
    Prompt::install(&prompts);
    Shell::install(&shell);

    TfrmMain window(argumentsOf(argc, argv));
    window.show();
    scheduleQuit(window);
    const int result = app.exec();

    Prompt::install(nullptr);
    Shell::install(nullptr);
    return result;
}
