// Message boxes, beeps and file choosers, routed to an installable handler (Qt or test script).
#pragma once

#include <string>

// Answers carry the Windows identifiers so that code written against them reads naturally.
enum class PromptAnswer { None = 0, Ok = 1, Cancel = 2, Yes = 6, No = 7 };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Warning, Question, Error, Information };

// Result of an open or save file chooser; filterIndex is 1-based like the filter strings.
struct FileChoice {
    bool accepted = false;
    std::string path;     // native path bytes (UTF-8 on Linux)
    int filterIndex = 1;
};

// Implemented by the application (QMessageBox, QFileDialog) and by the tests' scripted handler.
class PromptHandler {
public:
    virtual ~PromptHandler() = default;
    virtual PromptAnswer messageBox(const std::string& text, const std::string& caption,
                                    PromptButtons buttons, PromptIcon icon,
                                    PromptAnswer defaultAnswer) = 0;
    virtual void beep() = 0;
    // filters: "text|pattern|text|pattern" as the dialogs of the program write them.
    virtual FileChoice chooseOpenFile(const std::string& filters, int filterIndex) = 0;
    virtual FileChoice chooseSaveFile(const std::string& title, const std::string& filters,
                                      int filterIndex, const std::string& proposedName) = 0;
};

// Answers without asking anyone, for batch runs (fuzzers, benchmarks): an OK box with
// `okAnswer`, every question with `questionAnswer`; no beep, and no file is chosen.
class FixedAnswerPrompt : public PromptHandler {
public:
    explicit FixedAnswerPrompt(PromptAnswer questionAnswer, PromptAnswer okAnswer = PromptAnswer::Ok)
        : question_(questionAnswer), ok_(okAnswer) {}
    PromptAnswer messageBox(const std::string&, const std::string&, PromptButtons buttons,
                            PromptIcon, PromptAnswer) override {
        return buttons == PromptButtons::Ok ? ok_ : question_;
    }
    void beep() override {}
    FileChoice chooseOpenFile(const std::string&, int) override { return {}; }
    FileChoice chooseSaveFile(const std::string&, const std::string&, int,
                              const std::string&) override {
        return {};
    }

private:
    PromptAnswer question_;
    PromptAnswer ok_;
};

// The one door through which core code talks to the user. Texts are UTF-8.
class Prompt {
public:
    // Installs a handler (not owned); nullptr restores the console fallback.
    static void install(PromptHandler* handler);
    static PromptHandler* handler();

    static PromptAnswer messageBox(const std::string& text, const std::string& caption,
                                   PromptButtons buttons = PromptButtons::Ok,
                                   PromptIcon icon = PromptIcon::Warning,
                                   PromptAnswer defaultAnswer = PromptAnswer::None);
    // The usual refusal: caption "注意", warning icon, OK.
    static void warn(const std::string& text);
    // The usual question: caption "確認", Yes/No; returns true for Yes.
    static bool askYesNo(const std::string& text, PromptAnswer defaultAnswer = PromptAnswer::No);
    static void beep();
    static FileChoice chooseOpenFile(const std::string& filters, int filterIndex);
    static FileChoice chooseSaveFile(const std::string& title, const std::string& filters,
                                     int filterIndex, const std::string& proposedName);
};
