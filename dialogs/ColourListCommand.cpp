// ColourListCommand: prepares the list dialog for the open document and reopens it afterwards.
#include "dialogs/ColourListCommand.h"

#include <filesystem>

#include "dialogs/TfrmCRList.h"
#include "platform/core/Prompt.h"
#include "store/CMyColourFile.h"
#include "store/DocumentState.h"

bool ColourListCommand::run(QWidget* parent, CMyGlobal& global, const DocumentState& doc,
                            const ColourListWindow& window) {
    TfrmCRList dialog(global, parent);
    dialog.setInstanceStarter(window.startInstance);
    const bool hasPath = !doc.filePath.empty();
    if (hasPath) dialog.setCurrentName(doc.colourTempName);
    // A colour file beside the data file wins at every open, so loading another one from the
    // store could not take effect.
    std::error_code error;
    dialog.setReloadEnabled(hasPath && !std::filesystem::exists(CMyColourFile::besidePath(doc.filePath), error));
    dialog.exec();
    if (!dialog.nameChosen()) return false;
    if (doc.modified && Prompt::messageBox("更新データが破棄されます。\nよろしいですか？", "確認",
                                           PromptButtons::YesNo, PromptIcon::Warning,
                                           PromptAnswer::No) != PromptAnswer::Yes)
        return false;
    if (window.reopen) window.reopen(dialog.currentName());
    return true;
}
