// DialogCommands: the entries and functions of the commands that open a secondary window.
#include "app/DialogCommands.h"

#include "app/TfrmMain.h"

std::span<const Command> DialogCommands::entries() {
    static constexpr Command table[] = {
        // Once built its rule is EnableRule::ColourFiles; it marks modified after loading.
        {.name = "mnuFileCRList", .caption = "一時保存の色情報読込(&I)...", .wrap = Wrap::Blocked,
         .enable = EnableRule::NotBuilt, .run = colourList,
         .operation = "TfrmCRList, then the colour-file load"},
        {.name = "mnuToolCardEdit", .caption = "カード編集(&C)...", .shortcut = "F5",
         .button = "tb_Card", .hint = "カード編集(F5)",
         .wrap = Wrap::Commit | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Status,
         .enable = EnableRule::NotBuilt, .run = card, .operation = "TfrmCard (mode 1)"},
        {.name = "mnuOptionUserKey", .caption = "ユーザー定義キー割当", .userFunction = 1,
         .enable = EnableRule::NotBuilt, .run = userKeys, .operation = "TfrmUserKey"},
        {.name = "mnuOptionOption", .caption = "オプション(&O)...", .shortcut = "Ctrl+O",
         .wrap = Wrap::Commit, .enable = EnableRule::NotBuilt, .run = options,
         .operation = "TfrmOption"},
    };
    return table;
}

bool DialogCommands::colourList(TfrmMain&, const Command&) { return notBuilt(); }
bool DialogCommands::card(TfrmMain&, const Command&) { return notBuilt(); }
bool DialogCommands::userKeys(TfrmMain&, const Command&) { return notBuilt(); }
bool DialogCommands::options(TfrmMain&, const Command&) { return notBuilt(); }
