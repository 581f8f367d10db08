// Shell service: open a document or folder and start programs, routed to an installable handler.
#pragma once

#include <string>
#include <vector>

// Implemented by the application (QDesktopServices, QProcess) and by tests.
class ShellHandler {
public:
    virtual ~ShellHandler() = default;
    // Opens a file, or a URL (the manual at a section, a web page the manual links to), with
    // the program the desktop associates with it.
    virtual bool openUrl(const std::string& path) = 0;
    // Starts `exe` detached with `args` (each one argument, no quoting needed).
    virtual bool startProgram(const std::string& exe, const std::vector<std::string>& args) = 0;
    // Shows a folder in the desktop's file manager.
    virtual bool openFolder(const std::string& path) = 0;
};

// Without an installed handler nothing is started and every call reports failure.
class Shell {
public:
    // Installs a handler (not owned); nullptr restores the do-nothing default.
    static void install(ShellHandler* handler);
    static ShellHandler* handler();

    static bool openUrl(const std::string& path);
    static bool startProgram(const std::string& exe, const std::vector<std::string>& args);
    static bool openFolder(const std::string& path);
};
