// Prompt handler of the running program: QMessageBox with Japanese buttons and QFileDialog.
#pragma once

#include "platform/core/Prompt.h"

#include <QString>
#include <QStringList>

class QWidget;

// Installed by main() for the life of the application. Message boxes are application-modal
// (the stand-in for task-modal) and parented to the active window (else the main window) so
// they stay in front of it.
class QtPromptHandler : public PromptHandler {
public:
    PromptAnswer messageBox(const std::string& text, const std::string& caption,
                            PromptButtons buttons, PromptIcon icon,
                            PromptAnswer defaultAnswer) override;
    void beep() override;
    FileChoice chooseOpenFile(const std::string& filters, int filterIndex) override;
    FileChoice chooseSaveFile(const std::string& title, const std::string& filters,
                              int filterIndex, const std::string& proposedName) override;

    // "CSVファイル(*.csv)|*.csv|..." -> {"CSVファイル(*.csv) (*.csv)", ...}: Qt takes the
    // patterns from the last parenthesis and separates them by blanks, not semicolons; "*.*"
    // becomes "*". The dialogs hide that added parenthesis, so each text is shown once.
    static QStringList toQtFilters(const std::string& filters);

private:
    static QWidget* owner();
};
