// Test prompt handler: records every message box and answers from a queue.
#pragma once

#include "platform/core/Prompt.h"

#include <deque>
#include <string>
#include <vector>

// Installed for its lifetime. A message box the test did not queue an answer for fails the
// test (expectUnscripted() relaxes that for tests that only inspect what was shown).
class ScriptedPrompt : public PromptHandler {
public:
    struct Shown {
        std::string text;
        std::string caption;
        PromptButtons buttons;
        PromptIcon icon;
        PromptAnswer defaultAnswer;
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;

    // Queue the answer for the next message box.
    void answer(PromptAnswer a) { answers.push_back(a); }
    // Message boxes without a queued answer take OK/their default instead of failing.
    void allowUnscripted(bool allow = true) { lenient = allow; }
    // Queue the result of the next open / save chooser.
    void chooseFile(const std::string& path, int filterIndex = 1);
    void cancelChooser();

    const std::vector<Shown>& shown() const { return messages; }
    std::vector<std::string> texts() const;
    // The last message shown; when none was, the test fails and gets an empty record.
    const Shown& last() const;
    int beeps() const { return beepCount; }
    // Titles, filters and proposed names the choosers were called with.
    struct Chooser { std::string title, filters, proposedName; int filterIndex; };
    const std::vector<Chooser>& choosers() const { return chooserCalls; }
    size_t pendingAnswers() const { return answers.size(); }
    void clear();

    PromptAnswer messageBox(const std::string& text, const std::string& caption,
                            PromptButtons buttons, PromptIcon icon,
                            PromptAnswer defaultAnswer) override;
    void beep() override { ++beepCount; }
    FileChoice chooseOpenFile(const std::string& filters, int filterIndex) override;
    FileChoice chooseSaveFile(const std::string& title, const std::string& filters,
                              int filterIndex, const std::string& proposedName) override;

private:
    FileChoice nextChoice();

    PromptHandler* previous;
    std::deque<PromptAnswer> answers;
    std::deque<FileChoice> choices;
    std::vector<Shown> messages;
    std::vector<Chooser> chooserCalls;
    int beepCount = 0;
    bool lenient = false;
};
