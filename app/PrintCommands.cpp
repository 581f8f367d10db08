// PrintCommands: the entries and functions of the print commands.
#include "app/PrintCommands.h"

#include "app/TfrmMain.h"

std::span<const Command> PrintCommands::entries() {
    static constexpr Command table[] = {
        {.name = "mnuFilePreview", .caption = "プレビュー(&V)...", .button = "tb_Preview",
         .hint = "プレビュー", .wrap = Wrap::Commit, .enable = EnableRule::NotBuilt,
         .run = preview, .operation = "TfrmPreview with CMyHyoPrn"},
        {.name = "mnuFilePrintSetup", .caption = "ページ設定...", .wrap = Wrap::Commit,
         .enable = EnableRule::NotBuilt, .run = pageSetup, .operation = "CMyPrint page set-up"},
        {.name = "mnuFilePrint", .caption = "印刷(&P)...", .wrap = Wrap::Commit,
         .enable = EnableRule::NotBuilt, .run = print,
         .operation = "TfrmPrnDlg, then CMyPrint with CMyHyoPrn"},
    };
    return table;
}

bool PrintCommands::preview(TfrmMain&, const Command&) { return notBuilt(); }
bool PrintCommands::pageSetup(TfrmMain&, const Command&) { return notBuilt(); }
bool PrintCommands::print(TfrmMain&, const Command&) { return notBuilt(); }
