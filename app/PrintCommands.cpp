// PrintCommands: the entries and functions of the print commands.
#include "app/PrintCommands.h"

#include "app/CommandContext.h"
#include "print/CMyPrint.h"
#include "print/TfrmPreview.h"

std::span<const Command> PrintCommands::entries() {
    static constexpr Command table[] = {
        {.name = "mnuFilePreview", .caption = "プレビュー(&V)...", .button = "tb_Preview",
         .hint = "プレビュー", .wrap = Wrap::Commit, .enable = EnableRule::Always,
         .run = preview},
        {.name = "mnuFilePrintSetup", .caption = "ページ設定...", .wrap = Wrap::Commit,
         .enable = EnableRule::Always, .run = pageSetup},
        {.name = "mnuFilePrint", .caption = "印刷(&P)...", .wrap = Wrap::Commit,
         .enable = EnableRule::Always, .run = print},
    };
    return table;
}

bool PrintCommands::preview(CommandContext& w, const Command&) {
    TfrmPreview preview(w.dialogParent(), w.printer(), w.hyo(), w.hyoCom(), w.global());
    preview.exec();
    return true;
}

bool PrintCommands::pageSetup(CommandContext& w, const Command&) {
    return w.printer().showPageSetup(w.dialogParent());
}

// The menu prints at the table's screen size with grid lines, whatever the preview last used.
bool PrintCommands::print(CommandContext& w, const Command&) {
    return w.printer().printTable(w.dialogParent(), w.hyo(), w.hyoCom(), true, 1.0) > 0;
}
