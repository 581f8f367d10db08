// Shell handler of the running program: QProcess for programs, QDesktopServices for files.
#pragma once

#include "platform/core/Shell.h"

class QtShellHandler : public ShellHandler {
public:
    bool openUrl(const std::string& path) override;
    bool startProgram(const std::string& exe, const std::vector<std::string>& args) override;
    bool openFolder(const std::string& path) override;
};
