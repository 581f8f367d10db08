// Command: one entry of the main window's command table - where a command shows, when it is
// enabled or checked, how the window wraps it and the function that runs it.
//
// How to add a command:
//  - Every command lives in the entry list of its area file (FileCommands, ViewCommands,
//    ClipboardCommands, FindCommands, ConvertCommands, PrintCommands, DialogCommands). The
//    area's functions stand next to its entries and take a `CommandContext&`
//    (CommandContext.h): the document, the table, its view, the grid interaction (grid/),
//    the settings and a few window services - never the window class itself.
//  - A new menu item also needs its place in the menu layout, a new toolbar button its place
//    in the toolbar layout (both in CommandTable.cpp) and its image (CommandSurfaces.cpp).
//  - A new rule is a value of `EnableRule` or `CheckRule` plus one case in CommandRules.cpp,
//    the only place rules are evaluated.
//  - The palette window runs its rows with CommandSurfaces::runPaletteSlot and its swatches
//    with runSwatch; the user keys reach CommandSurfaces::runUserKey.
//  - The wrapping (commit or blocked, then run, then redraw, mark modified, refresh the
//    status) is the entry's `wrap`; CommandSurfaces::run applies it and is the only place
//    that refuses while the editor is open or stores its text first, so a function only does
//    its own work and returns whether it took effect. CommandTableTest lists which entries
//    are Blocked and which commit.
//  - Actions the window relies on are looked up with CommandSurfaces::checkedAction, which
//    stops the program with the name when there is no such item.
#pragma once

#include <array>

class CommandContext;
struct Command;

// Runs the command in the window's context; false when it was refused or did nothing, which
// skips the rest of the wrapping.
using CommandFunction = bool (*)(CommandContext& context, const Command& command);

// What the window does around a command, in this order: Blocked / Commit before it, then
// the function, then RaiseRanges, Redraw, Modified and Status (or StatusNoSize).
namespace Wrap {
enum : unsigned {
    None = 0,
    Commit = 1 << 0,        // store an open in-cell edit first
    Blocked = 1 << 1,       // do nothing while the in-cell editor is open
    RaiseRanges = 1 << 2,   // let the scroll bars reach a grown table
    Redraw = 1 << 3,        // render at the scroll positions with the header, then present
    Modified = 1 << 4,      // the caption gains "(更新)"
    Status = 1 << 5,        // every status panel
    StatusNoSize = 1 << 6,  // every status panel but the table size
};
}

enum class EnableRule {
    Always,
    ColourFiles,          // colour-information files are on (MAKEFD non-zero)
    ColourBesideData,     // colour files on, a file is open and its colours are not beside it
    ColourToTemporary,    // colour files on, a file is open and its colours are beside it
    Filtered,             // the table is filtered
    Redo,                 // an undone step can be redone
};

enum class CheckRule {
    None,       // not checkable
    Own,        // a toggle button that keeps its own state
    Header,     // the first row is the header
    Frozen,     // columns are frozen
    Alternate,  // alternating background mode
};

// A command row of the right-click tool palette: mode 0 cells, 1 whole rows, 2 whole
// columns; row 0 is the top one.
struct PaletteSlot {
    int mode = -1;
    int row = -1;
    const char* caption = nullptr;
    bool used() const { return mode >= 0; }
};

struct Command {
    // The menu item's object name; a command without menu item carries its toolbar button's
    // name, and one without either a name of its own starting with "cmd".
    const char* name = nullptr;
    const char* caption = nullptr;   // the menu item's caption; none when not in a menu
    const char* shortcut = nullptr;  // portable key sequence text ("Ctrl+S")
    const char* otherShortcut = nullptr;  // a second key doing the same, not shown in the menu
    const char* button = nullptr;    // toolbar button object name
    const char* hint = nullptr;      // its tool tip
    std::array<PaletteSlot, 3> palette{};
    int userFunction = 0;  // the number a user-defined key holds for it; 0 none
    int tag = 0;           // told apart the items sharing one function
    unsigned wrap = Wrap::None;
    EnableRule enable = EnableRule::Always;
    CheckRule check = CheckRule::None;
    CommandFunction run = nullptr;
};
