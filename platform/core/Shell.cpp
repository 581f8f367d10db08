// Shell service: forwards to the installed handler, or refuses everything when none is.
#include "platform/core/Shell.h"

namespace {

class NullShellHandler : public ShellHandler {
public:
    bool openUrl(const std::string&) override { return false; }
    bool startProgram(const std::string&, const std::vector<std::string>&) override { return false; }
    bool openFolder(const std::string&) override { return false; }
};

NullShellHandler nullHandler;
ShellHandler* installed = nullptr;

ShellHandler& current() { return installed ? *installed : nullHandler; }

} // namespace

void Shell::install(ShellHandler* handler) { installed = handler; }

ShellHandler* Shell::handler() { return &current(); }

bool Shell::openUrl(const std::string& path) { return current().openUrl(path); }

bool Shell::startProgram(const std::string& exe, const std::vector<std::string>& args) {
    return current().startProgram(exe, args);
}

bool Shell::openFolder(const std::string& path) { return current().openFolder(path); }
