// ViewCommands: the entries and functions of undo and redo, the view modes, zoom and the
// information.
#include "app/ViewCommands.h"

#include "app/CommandSurfaces.h"
#include "grid/Navigator.h"
#include "app/CommandContext.h"
#include "store/DocumentState.h"
#include "dialogs/TfrmInfomation.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"

#include <algorithm>

std::span<const Command> ViewCommands::entries() {
    static constexpr Command table[] = {
        {.name = "mnuEditUndo", .caption = "元に戻す(&Z)", .shortcut = "Ctrl+Z", .run = undo},
        {.name = "mnuEditRedo", .caption = "やり直し(&R)", .shortcut = "Ctrl+Y",
         .otherShortcut = "Ctrl+Shift+Z", .userFunction = 8, .enable = EnableRule::Redo,
         .run = redo},
        // The view-mode commands store an open edit themselves before the table or view
        // changes.
        {.name = "mnuShowOneHeader", .caption = "１行目をヘッダーとする(&H)", .userFunction = 5,
         .check = CheckRule::Header, .run = header},
        {.name = "mnuShowScrfix", .caption = "列固定(&R)", .check = CheckRule::Frozen,
         .run = freeze},
        {.name = "mnuKougo", .caption = "交互背景色モード(&L)", .shortcut = "Ctrl+L",
         .check = CheckRule::Alternate, .run = alternate},
        // The tag is the step in percent.
        {.name = "mnuOptionScaleUp", .caption = "表示拡大(&U)", .shortcut = "F9", .tag = 10,
         .wrap = Wrap::Blocked, .run = zoom},
        {.name = "mnuOptionScaleDown", .caption = "表示縮小(&S)", .shortcut = "Shift+F9",
         .tag = -10, .wrap = Wrap::Blocked, .run = zoom},
        // The button's own state is the direction; Enter asks it.
        {.name = "tb_Ret", .button = "tb_Ret", .hint = "リターンの移動方向",
         .check = CheckRule::Own, .run = returnDirection},
        {.name = "mnuHelpData", .caption = "選択中の情報表示(&D)...", .wrap = Wrap::Commit,
         .run = information},
    };
    return table;
}

// While the editor is open undo only beeps; an undone step moves the cursor to its cell.
bool ViewCommands::undo(CommandContext& w, const Command&) {
    if (w.isEditing()) {
        Prompt::beep();
        return false;
    }
    const UndoPosition at = w.hyo().undo();
    if (at.column == -1 && at.row == -1) {
        Prompt::warn("Undoデータがありません。");
        return false;
    }
    showUndoneStep(w, at);
    return true;
}

// Redo is undo's mirror: it puts back what the last undo took away.
bool ViewCommands::redo(CommandContext& w, const Command&) {
    if (w.isEditing()) {
        Prompt::beep();
        return false;
    }
    // The rule keeps the command disabled while there is nothing to redo.
    const UndoPosition at = w.hyo().redo();
    if (at.column == -1 && at.row == -1) return false;
    showUndoneStep(w, at);
    return true;
}

// Both change the table (and may switch the filter or the header), so the document is marked
// modified and the cursor goes to the step's cell.
void ViewCommands::showUndoneStep(CommandContext& w, const UndoPosition& at) {
    w.commands().setChecked("tb_Filter", w.hyo().isFiltered());
    w.updateCaption(true, true);   // the restored data no longer matches the file
    w.view().recomputeFrozenWidth();
    w.goToCell(std::max(at.column, 0), std::max(at.row, 0));
}

bool ViewCommands::header(CommandContext& w, const Command&) { return w.navigation().toggleHeader(); }

bool ViewCommands::freeze(CommandContext& w, const Command&) {
    w.navigation().toggleFrozen();
    return true;
}

bool ViewCommands::alternate(CommandContext& w, const Command&) {
    w.navigation().toggleAlternate();
    return true;
}

bool ViewCommands::zoom(CommandContext& w, const Command& c) {
    w.navigation().zoom(c.tag);
    return true;
}

bool ViewCommands::returnDirection(CommandContext&, const Command&) { return true; }

bool ViewCommands::information(CommandContext& w, const Command&) {
    TfrmInfomation::showItems(w.dialogParent(), w.navigation().selectionInformation());
    return true;
}
