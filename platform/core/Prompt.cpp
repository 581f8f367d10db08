// Prompt service: forwards to the installed handler, or answers on the console when none is.
#include "platform/core/Prompt.h"

#include <cstdio>

namespace {

// Without a window (command-line tools, early start-up) messages go to stderr and every
// question takes its default answer, so nothing blocks on input that cannot come.
class ConsolePromptHandler : public PromptHandler {
public:
    PromptAnswer messageBox(const std::string& text, const std::string& caption,
                            PromptButtons buttons, PromptIcon, PromptAnswer defaultAnswer) override {
        std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
        if (defaultAnswer != PromptAnswer::None) return defaultAnswer;
        switch (buttons) {
        case PromptButtons::Ok: return PromptAnswer::Ok;
        case PromptButtons::OkCancel: return PromptAnswer::Ok;
        case PromptButtons::YesNo: return PromptAnswer::Yes;
        case PromptButtons::YesNoCancel: return PromptAnswer::Yes;
        }
        return PromptAnswer::Ok;
    }
    void beep() override {}
    FileChoice chooseOpenFile(const std::string&, int) override { return {}; }
    FileChoice chooseSaveFile(const std::string&, const std::string&, int,
                              const std::string&) override { return {}; }
};

ConsolePromptHandler consoleHandler;
PromptHandler* installed = nullptr;

PromptHandler& current() { return installed ? *installed : consoleHandler; }

} // namespace

void Prompt::install(PromptHandler* handler) { installed = handler; }

PromptHandler* Prompt::handler() { return &current(); }

PromptAnswer Prompt::messageBox(const std::string& text, const std::string& caption,
                                PromptButtons buttons, PromptIcon icon,
                                PromptAnswer defaultAnswer) {
    return current().messageBox(text, caption, buttons, icon, defaultAnswer);
}

void Prompt::warn(const std::string& text) {
    messageBox(text, "注意", PromptButtons::Ok, PromptIcon::Warning);
}

bool Prompt::askYesNo(const std::string& text, PromptAnswer defaultAnswer) {
    return messageBox(text, "確認", PromptButtons::YesNo, PromptIcon::Question, defaultAnswer) ==
           PromptAnswer::Yes;
}

void Prompt::beep() { current().beep(); }

FileChoice Prompt::chooseOpenFile(const std::string& filters, int filterIndex) {
    return current().chooseOpenFile(filters, filterIndex);
}

FileChoice Prompt::chooseSaveFile(const std::string& title, const std::string& filters,
                                  int filterIndex, const std::string& proposedName) {
    return current().chooseSaveFile(title, filters, filterIndex, proposedName);
}
