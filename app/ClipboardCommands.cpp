// ClipboardCommands: the entries and functions of the clipboard, row, column and colour
// commands.
#include "app/ClipboardCommands.h"

#include "app/TfrmMain.h"

namespace {

// Pasting and the structure commands change the table; fitting widths does not mark it.
constexpr unsigned pasteWrap =
    Wrap::RaiseRanges | Wrap::Redraw | Wrap::Modified | Wrap::Status;
constexpr unsigned structureWrap = Wrap::Modified | Wrap::Status;
constexpr unsigned colourWrap = Wrap::Redraw | Wrap::Modified;
constexpr const char* pasteOperation = "engine ClipboardPaste (paste at the current cell)";
constexpr const char* colourOperation =
    "engine CellColour (background or text colour of the selection, one undo step)";

} // namespace

std::span<const Command> ClipboardCommands::entries() {
    static constexpr Command table[] = {
        // Ctrl+C and Ctrl+V stay characters of the grid and the editor, so the menu items
        // carry no shortcut.
        {.name = "mnuEditCopy", .caption = "コピー(&C)",
         .palette = {{{0, 0, "コピー"}, {1, 0, "行のコピー"}, {2, 1, "列のコピー"}}},
         .enable = EnableRule::NotBuilt, .run = copy,
         .operation = "engine ClipboardCopy (the selection's text, at most 5 MB)"},
        {.name = "mnuEditPaste", .caption = "貼り付け(&P)", .palette = {{{0, 1, "貼付"}}},
         .tag = 0, .wrap = pasteWrap, .enable = EnableRule::NotBuilt, .run = paste,
         .operation = pasteOperation},
        {.name = "mnuEditPasteNoRet", .caption = "貼り付け(改行なし)",
         .palette = {{{0, 2, "貼付(改行なし)"}}}, .tag = 3, .wrap = pasteWrap,
         .enable = EnableRule::NotBuilt, .run = paste, .operation = pasteOperation},
        {.name = "mnuEditPasteRote", .caption = "貼り付け(縦横変換)",
         .palette = {{{0, 3, "貼付(縦横変換)"}}}, .wrap = pasteWrap,
         .enable = EnableRule::NotBuilt, .run = pasteTransposed,
         .operation = "engine ClipboardPaste (transposed)"},
        {.name = "cmdInsertRows", .palette = {{{1, 1, "行の挿入"}}}, .wrap = structureWrap,
         .enable = EnableRule::NotBuilt, .run = insertRows,
         .operation = "CMyHyo::insertRows on the selected rows"},
        {.name = "cmdDeleteRows", .palette = {{{1, 2, "行の削除"}}}, .wrap = structureWrap,
         .enable = EnableRule::NotBuilt, .run = deleteRows,
         .operation = "CMyHyo::deleteRows on the selected rows"},
        {.name = "cmdFitWidths", .palette = {{{2, 0, "列幅調整"}}},
         .wrap = Wrap::RaiseRanges | Wrap::Redraw | Wrap::Status,
         .enable = EnableRule::NotBuilt, .run = fitWidths,
         .operation = "engine ColumnWidths (fit the selected columns, one undo step)"},
        {.name = "cmdInsertColumns", .palette = {{{2, 2, "列の挿入"}}},
         .wrap = structureWrap, .enable = EnableRule::NotBuilt, .run = insertColumns,
         .operation = "CMyHyo::insertColumns on the selected columns"},
        {.name = "cmdDeleteColumns", .palette = {{{2, 3, "列の削除"}}},
         .wrap = structureWrap, .enable = EnableRule::NotBuilt, .run = deleteColumns,
         .operation = "CMyHyo::deleteColumns on the selected columns"},
        // The tag is the column kind: 0 text, 1 number.
        {.name = "tb_KindText", .button = "tb_KindText", .hint = "文字列（左詰め）", .tag = 0,
         .wrap = Wrap::Blocked | Wrap::Redraw | Wrap::Modified, .enable = EnableRule::NotBuilt,
         .run = columnKind, .operation = "engine ColumnKind (one undo step)"},
        {.name = "tb_KindNum", .button = "tb_KindNum", .hint = "数値（右詰め）", .tag = 1,
         .wrap = Wrap::Blocked | Wrap::Redraw | Wrap::Modified, .enable = EnableRule::NotBuilt,
         .run = columnKind, .operation = "engine ColumnKind (one undo step)"},
        // Palette swatches and user keys 100..116 and 200..216; the tag is the colour index,
        // -1 for none.
        {.name = "cmdBackColourNone", .userFunction = 100, .tag = -1, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour0", .userFunction = 101, .tag = 0, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour1", .userFunction = 102, .tag = 1, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour2", .userFunction = 103, .tag = 2, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour3", .userFunction = 104, .tag = 3, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour4", .userFunction = 105, .tag = 4, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour5", .userFunction = 106, .tag = 5, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour6", .userFunction = 107, .tag = 6, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour7", .userFunction = 108, .tag = 7, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour8", .userFunction = 109, .tag = 8, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour9", .userFunction = 110, .tag = 9, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour10", .userFunction = 111, .tag = 10, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour11", .userFunction = 112, .tag = 11, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour12", .userFunction = 113, .tag = 12, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour13", .userFunction = 114, .tag = 13, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour14", .userFunction = 115, .tag = 14, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdBackColour15", .userFunction = 116, .tag = 15, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = backColour, .operation = colourOperation},
        {.name = "cmdTextColourNone", .userFunction = 200, .tag = -1, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour0", .userFunction = 201, .tag = 0, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour1", .userFunction = 202, .tag = 1, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour2", .userFunction = 203, .tag = 2, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour3", .userFunction = 204, .tag = 3, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour4", .userFunction = 205, .tag = 4, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour5", .userFunction = 206, .tag = 5, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour6", .userFunction = 207, .tag = 6, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour7", .userFunction = 208, .tag = 7, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour8", .userFunction = 209, .tag = 8, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour9", .userFunction = 210, .tag = 9, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour10", .userFunction = 211, .tag = 10, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour11", .userFunction = 212, .tag = 11, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour12", .userFunction = 213, .tag = 12, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour13", .userFunction = 214, .tag = 13, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour14", .userFunction = 215, .tag = 14, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
        {.name = "cmdTextColour15", .userFunction = 216, .tag = 15, .wrap = colourWrap,
         .enable = EnableRule::NotBuilt, .run = textColour, .operation = colourOperation},
    };
    return table;
}

bool ClipboardCommands::copy(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::paste(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::pasteTransposed(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::insertRows(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::deleteRows(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::insertColumns(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::deleteColumns(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::fitWidths(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::columnKind(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::backColour(TfrmMain&, const Command&) { return notBuilt(); }
bool ClipboardCommands::textColour(TfrmMain&, const Command&) { return notBuilt(); }
