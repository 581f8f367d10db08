// Help viewer service: shows a section of the HTML manual in the program's own help window,
// routed to an installable handler (the main window's help window, or a test's recorder).
#pragma once

#include <string>

// Implemented by the application (a help window owned by the main window) and by tests.
class HelpViewerHandler {
public:
    virtual ~HelpViewerHandler() = default;
    // Shows the manual page `indexPath` at `anchor` ("" for its start); false when it could
    // not be shown.
    virtual bool showManual(const std::string& indexPath, const std::string& anchor) = 0;
};

// Without an installed handler the manual goes to the desktop's browser through Shell.
class HelpViewer {
public:
    // Installs a handler (not owned); nullptr restores the browser fallback.
    static void install(HelpViewerHandler* handler);

    static bool showManual(const std::string& indexPath, const std::string& anchor);
};
