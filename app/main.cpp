// Entry point of vexil: answers --version and --help, installs the Qt prompt, shell and help
// services and runs the main window.
#include "app/InfoOption.h"
#include "app/TfrmMain.h"
#include "app/VexilApplication.h"
#include "dialogs/HelpWindowHandler.h"
#include "dialogs/QtSaveForms.h"
#include "platform/core/HelpViewer.h"
#include "platform/core/Prompt.h"
#include "platform/core/Shell.h"
#include "platform/qt/QtPromptHandler.h"
#include "platform/qt/QtShellHandler.h"
#include "store/SaveFormHandler.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Arguments are taken as the bytes the system passed (native path bytes), not re-decoded.
std::vector<std::string> argumentsOf(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
}

// VEXIL_QUIT_AFTER_MS closes the program after that many milliseconds (smoke tests, demos),
// VEXIL_QUIT_WHEN_FILE as soon as that file exists (so a test decides when it has seen enough):
// message boxes still open are closed with their escape answer, then the main window.
class QuitTimer {
public:
    QuitTimer() {
        const char* value = std::getenv("VEXIL_QUIT_AFTER_MS");
        const int ms = value ? std::atoi(value) : 0;
        if (ms > 0) QTimer::singleShot(ms, [this] { fire(); });
        const char* file = std::getenv("VEXIL_QUIT_WHEN_FILE");
        if (file && *file) {
            quitFile = file;
            poll.setInterval(100);
            QObject::connect(&poll, &QTimer::timeout, [this] {
                if (!fired && std::filesystem::exists(quitFile)) fire();
            });
            poll.start();
        }
    }
    // The window exists from here on; a quit that came while it was being built applies now.
    void watch(TfrmMain* w) {
        window = w;
        if (fired) QTimer::singleShot(0, window, &QWidget::close);
    }

private:
    void fire() {
        fired = true;
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (!modal->close()) break;
        }
        if (window) window->close();
    }
    TfrmMain* window = nullptr;
    bool fired = false;
    std::string quitFile;
    QTimer poll;
};

} // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it also works without a display.
    if (const auto reply = InfoOption::reply(argumentsOf(argc, argv), VEXIL_VERSION)) {
        std::fputs(reply->c_str(), stdout);
        return 0;
    }
    VexilApplication app(argc, argv);
    QtPromptHandler prompts;
    QtShellHandler shell;
    Prompt::install(&prompts);
    Shell::install(&shell);

    QuitTimer quit;
    TfrmMain window(argumentsOf(argc, argv));
    QtSaveForms saveForms(&window);
    SaveFormHandler::install(&saveForms);
    HelpWindowHandler help(&window);
    HelpViewer::install(&help);
    window.show();
    quit.watch(&window);
    const int result = app.exec();

    HelpViewer::install(nullptr);
    SaveFormHandler::install(nullptr);
    Prompt::install(nullptr);
    Shell::install(nullptr);
    return result;
}
