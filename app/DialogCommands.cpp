// DialogCommands: the entries and functions of the commands that open a secondary window.
#include "app/DialogCommands.h"

#include "app/CommandSurfaces.h"
#include "grid/Navigator.h"
#include "app/CommandContext.h"
#include "store/DocumentState.h"
#include "app/DocumentSaver.h"
#include "dialogs/ColourListCommand.h"
#include "dialogs/TfrmCard.h"
#include "dialogs/TfrmOption.h"
#include "dialogs/TfrmUserKey.h"
#include "editor/CMyEdit.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/TableLimits.h"
#include "store/OpenFlow.h"
#include "view/CMyHyoDraw.h"

#include <QAction>

std::span<const Command> DialogCommands::entries() {
    static constexpr Command table[] = {
        // Reloading with another entry's colours marks the document modified.
        {.name = "mnuFileCRList", .caption = "一時保存の色情報読込(&I)...",
         .wrap = Wrap::Blocked | Wrap::Modified, .enable = EnableRule::ColourFiles, .run = colourList},
        {.name = "mnuToolCardEdit", .caption = "カード編集(&C)...", .shortcut = "F5",
         .button = "tb_Card", .hint = "カード編集(F5)",
         .wrap = Wrap::Commit | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Status,
         .run = card},
        {.name = "mnuOptionUserKey", .caption = "ユーザー定義キー割当", .userFunction = 1,
         .run = userKeys},
        {.name = "mnuOptionOption", .caption = "オプション(&O)...", .shortcut = "Ctrl+O",
         .wrap = Wrap::Commit, .run = options},
    };
    return table;
}

bool DialogCommands::colourList(CommandContext& w, const Command&) {
    ColourListWindow window;
    window.startInstance = [&w](const std::string& path) { return w.startInstance({path}); };
    window.reopen = [&w](const std::string& tempName) {
        const std::string path = w.document().filePath;
        w.openFile(&path, w.hyo().inHeaderMode(), &tempName, TypeNone);
    };
    return ColourListCommand::run(w.dialogParent(), w.global(), w.document(), window);
}

bool DialogCommands::card(CommandContext& w, const Command&) {
    CardWindowHooks hooks;
    hooks.goToRow = [&w](int row) { w.goToCell(w.view().curColumn(), row); };
    hooks.rowWritten = [&w](bool changed) {
        if (changed) w.updateCaption(true, false);
        w.updateStatus(0);
    };
    hooks.save = [&w] { w.saver().saveDocument(false); };
    hooks.returnMovesRight = [&w] { return w.commands().isChecked("tb_Ret"); };
    TfrmCard window(w.hyo(), w.global(), std::move(hooks), w.dialogParent());
    window.loadCard(w.view().curRow());
    window.exec();
    return true;
}

bool DialogCommands::userKeys(CommandContext& w, const Command&) {
    TfrmUserKey::showModal(w.global(), w.dialogParent());
    return true;
}

bool DialogCommands::options(CommandContext& w, const Command&) {
    const Navigator& navigation = w.navigation();
    const DocumentState& doc = w.document();
    const int scaleBefore = w.global().viewScale();
    TfrmOption dialog(w.global(), w.dialogParent());
    dialog.setEditingFormat(doc.encoding, doc.withBom, doc.lineEnding);
    dialog.setAlternateMode(navigation.alternateMode(), navigation.alternateLines(),
                            navigation.alternateScheme());
    dialog.setPage(w.optionsPageIndex());
    dialog.exec();
    w.setOptionsPage(dialog.page());
    if (!dialog.dialogAccepted()) return false;
    applyOptions(w, dialog, scaleBefore);
    return true;
}

void DialogCommands::applyOptions(CommandContext& w, const TfrmOption& dialog, int scaleBefore) {
    CMyGlobal& global = w.global();
    DocumentState& doc = w.document();
    // A changed format reaches the file only with a save, so the document counts as changed.
    const bool formatChanged = doc.encoding != dialog.editEncoding() ||
                               doc.lineEnding != dialog.editLineEnd() ||
                               doc.withBom != dialog.editBom();
    doc.encoding = dialog.editEncoding();
    doc.lineEnding = dialog.editLineEnd();
    doc.withBom = dialog.editBom();
    doc.colourMode = global.colourFileMode();

    w.applyViewOptions();
    w.navigation().setAlternateMode(dialog.alternateModeOn(), dialog.alternateBand(),
                                    dialog.alternateColour());
    // Switched off, the mode leaves the bands the settings ask for at start-up.
    if (!dialog.alternateModeOn()) w.applyViewOptions();
    // The journal empties itself only when the limit really changes.
    w.hyo().journal().setLimit(global.undoSize());
    TableLimits::setMaxRows(global.maxRows());
    const int scale = global.viewScale();
    if (scale != scaleBefore) {
        w.hyo().setZoomPercent(scale);
        w.view().setScale(scale);
        w.editor().setScale(scale);
    }
    w.updateColourSaveButton();
    w.updateStatus(0);
    w.updateFormatPanels();
    w.updateCaption(doc.modified || formatChanged, true);
    w.redrawGrid(true);
}
