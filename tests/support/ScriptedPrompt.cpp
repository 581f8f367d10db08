// ScriptedPrompt: the tests' prompt handler.
#include "ScriptedPrompt.h"

#include <gtest/gtest.h>

ScriptedPrompt::ScriptedPrompt() : previous(Prompt::handler()) { Prompt::install(this); }

ScriptedPrompt::~ScriptedPrompt() {
    Prompt::install(nullptr);
    EXPECT_TRUE(answers.empty()) << answers.size() << " queued answer(s) were never asked for";
}

void ScriptedPrompt::chooseFile(const std::string& path, int filterIndex) {
    choices.push_back(FileChoice{true, path, filterIndex});
}

void ScriptedPrompt::cancelChooser() { choices.push_back(FileChoice{}); }

std::vector<std::string> ScriptedPrompt::texts() const {
    std::vector<std::string> all;
    for (const Shown& m : messages) all.push_back(m.text);
    return all;
}

const ScriptedPrompt::Shown& ScriptedPrompt::last() const {
    static const Shown none{"", "", PromptButtons::Ok, PromptIcon::None, PromptAnswer::None};
    if (messages.empty()) {
        ADD_FAILURE() << "no message box was shown";
        return none;
    }
    return messages.back();
}

void ScriptedPrompt::clear() {
    messages.clear();
    chooserCalls.clear();
    beepCount = 0;
}

PromptAnswer ScriptedPrompt::messageBox(const std::string& text, const std::string& caption,
                                        PromptButtons buttons, PromptIcon icon,
                                        PromptAnswer defaultAnswer) {
    messages.push_back(Shown{text, caption, buttons, icon, defaultAnswer});
    if (!answers.empty()) {
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    if (!lenient) ADD_FAILURE() << "unexpected message box [" << caption << "] " << text;
    if (defaultAnswer != PromptAnswer::None) return defaultAnswer;
    return buttons == PromptButtons::Ok || buttons == PromptButtons::OkCancel ? PromptAnswer::Ok
                                                                                : PromptAnswer::No;
}

FileChoice ScriptedPrompt::nextChoice() {
    if (choices.empty()) {
        ADD_FAILURE() << "unexpected file chooser";
        return {};
    }
    FileChoice c = choices.front();
    choices.pop_front();
    return c;
}

FileChoice ScriptedPrompt::chooseOpenFile(const std::string& filters, int filterIndex) {
    chooserCalls.push_back(Chooser{"", filters, "", filterIndex});
    return nextChoice();
}

FileChoice ScriptedPrompt::chooseSaveFile(const std::string& title, const std::string& filters,
                                          int filterIndex, const std::string& proposedName) {
    chooserCalls.push_back(Chooser{title, filters, proposedName, filterIndex});
    return nextChoice();
}
