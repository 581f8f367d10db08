// FindCommands: the entries and functions of sort, find, replace and filter.
#include "app/FindCommands.h"

#include "app/SearchRunner.h"
#include "app/CommandContext.h"
#include "dialogs/TfrmFind.h"

std::span<const Command> FindCommands::entries() {
    static constexpr Command table[] = {
        // The tag is the find mode: 1 find dialog, 2 replace dialog; for the repeats the
        // direction, 1 down, -1 up.
        {.name = "mnuFindFind", .caption = "検索(&F)...", .shortcut = "Ctrl+F", .button = "tb_Find",
         .hint = "検索", .tag = 1, .wrap = Wrap::Blocked, .enable = EnableRule::Always,
         .run = find},
        {.name = "mnuFindFindUp", .caption = "上検索", .shortcut = "Shift+F3", .tag = -1,
         .wrap = Wrap::Blocked, .enable = EnableRule::Always, .run = findAgain},
        {.name = "mnuFindFindDown", .caption = "下検索", .shortcut = "F3", .tag = 1,
         .wrap = Wrap::Blocked, .enable = EnableRule::Always, .run = findAgain},
        {.name = "mnuFindReplace", .caption = "置換(&R)...", .shortcut = "Ctrl+R", .tag = 2,
         .wrap = Wrap::Blocked, .enable = EnableRule::Always, .run = find},
        {.name = "mnuFindSel", .caption = "抽出...", .button = "tb_FilterSet",
         .hint = "抽出の検索文字列を設定", .userFunction = 3, .wrap = Wrap::Commit,
         .enable = EnableRule::Always, .run = filterDialog},
        // The user key 4 does nothing while the table is not filtered.
        {.name = "mnuFindSelClear", .caption = "抽出解除", .userFunction = 4,
         .wrap = Wrap::Commit, .enable = EnableRule::Filtered, .run = filterClear},
        {.name = "tb_Filter", .button = "tb_Filter", .hint = "抽出の実行有無", .userFunction = 2,
         .wrap = Wrap::Commit, .enable = EnableRule::Always, .check = CheckRule::Own,
         .run = filterButton},
        // The tag is the direction: 1 descending, anything else ascending (the palette's
        // "昇順" passes -1, the button 0).
        {.name = "tb_SortUp", .button = "tb_SortUp", .hint = "選択列を昇順に並べる",
         .palette = {{{2, 4, "昇順"}}}, .tag = 0,
         .wrap = Wrap::Blocked | Wrap::Redraw | Wrap::Modified | Wrap::StatusNoSize,
         .enable = EnableRule::Always, .run = sort},
        {.name = "tb_SortDown", .button = "tb_SortDown", .hint = "選択列を降順に並べる",
         .palette = {{{2, 5, "降順"}}}, .tag = 1,
         .wrap = Wrap::Blocked | Wrap::Redraw | Wrap::Modified | Wrap::StatusNoSize,
         .enable = EnableRule::Always, .run = sort},
    };
    return table;
}

bool FindCommands::sort(CommandContext& w, const Command& c) { return w.search().sortBySelection(c.tag); }

bool FindCommands::find(CommandContext& w, const Command& c) {
    w.search().findWithDialog(c.tag == 2 ? FindModeReplace : FindModeFind);
    return true;
}

bool FindCommands::findAgain(CommandContext& w, const Command& c) {
    w.search().findAgain(c.tag);
    return true;
}

bool FindCommands::filterDialog(CommandContext& w, const Command&) {
    w.search().filterWithDialog();
    return true;
}

// The button has already changed state when its command runs.
bool FindCommands::filterButton(CommandContext& w, const Command&) {
    w.search().filterToggled(w.filterButtonDown());
    return true;
}

bool FindCommands::filterClear(CommandContext& w, const Command&) {
    w.search().clearFilter();
    return true;
}
