// PrintCommands: the entries and functions of the print commands.
#include "app/PrintCommands.h"

#include "app/TfrmMain.h"
#include "print/CMyPrint.h"
#include "print/TfrmPreview.h"

std::span<const Command> PrintCommands::entries() {
    static constexpr Command table[] = {
        {.name = "mnuFilePreview", .caption = "プレビュー(&V)...", .button = "tb_Preview",
         .hint = "プレビュー", .wrap = Wrap::Commit, .enable = EnableRule::Always,
         .run = preview, .operation = "TfrmPreview with CMyHyoPrn"},
        {.name = "mnuFilePrintSetup", .caption = "ページ設定...", .wrap = Wrap::Commit,
         .enable = EnableRule::Always, .run = pageSetup, .operation = "CMyPrint page set-up"},
        {.name = "mnuFilePrint", .caption = "印刷(&P)...", .wrap = Wrap::Commit,
         .enable = EnableRule::Always, .run = print,
         .operation = "TfrmPrnDlg, then CMyPrint with CMyHyoPrn"},
    };
    return table;
}

bool PrintCommands::preview(TfrmMain& w, const Command&) {
    TfrmPreview preview(&w, w.printer(), w.hyo(), w.hyoCom(), w.global());
    preview.exec();
    return true;
}

bool PrintCommands::pageSetup(TfrmMain& w, const Command&) {
    return w.printer().showPageSetup(&w);
}

// The menu prints at the table's screen size with grid lines, whatever the preview last used.
bool PrintCommands::print(TfrmMain& w, const Command&) {
    return w.printer().printTable(&w, w.hyo(), w.hyoCom(), true, 1.0) > 0;
}
