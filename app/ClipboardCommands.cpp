// ClipboardCommands: the entries and functions of the clipboard, row, column and colour
// commands.
#include "app/ClipboardCommands.h"

#include "grid/ClipboardBridge.h"
#include "grid/Navigator.h"
#include "app/CommandContext.h"
#include "engine/ClipboardText.h"
#include "engine/ColourOperations.h"
#include "engine/PasteOperation.h"
#include "engine/RowColumnOperations.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

namespace {

// Pasting and the structure commands change the table; fitting widths does not mark it.
// An open edit is stored first, so what it holds is what is copied, pasted over or coloured.
constexpr unsigned pasteWrap =
    Wrap::Commit | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Modified | Wrap::Status;
constexpr unsigned structureWrap =
    Wrap::Commit | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Modified | Wrap::Status;
// Colouring a cell beyond the table's rows adds those rows, so the size panel follows.
constexpr unsigned colourWrap = Wrap::Commit | Wrap::Redraw | Wrap::Modified | Wrap::Status;

} // namespace

std::span<const Command> ClipboardCommands::entries() {
    static constexpr Command table[] = {
        // Ctrl+C and Ctrl+V stay characters of the grid and the editor, so the menu items
        // carry no shortcut.
        {.name = "mnuEditCopy", .caption = "コピー(&C)",
         .palette = {{{0, 0, "コピー"}, {1, 0, "行のコピー"}, {2, 1, "列のコピー"}}},
         .wrap = Wrap::Commit, .enable = EnableRule::Always, .run = copy},
        {.name = "mnuEditPaste", .caption = "貼り付け(&P)", .palette = {{{0, 1, "貼付"}}},
         .tag = 0, .wrap = pasteWrap, .enable = EnableRule::Always, .run = paste},
        {.name = "mnuEditPasteNoRet", .caption = "貼り付け(改行なし)",
         .palette = {{{0, 2, "貼付(改行なし)"}}}, .tag = 3, .wrap = pasteWrap,
         .enable = EnableRule::Always, .run = paste},
        {.name = "mnuEditPasteRote", .caption = "貼り付け(縦横変換)",
         .palette = {{{0, 3, "貼付(縦横変換)"}}}, .wrap = pasteWrap,
         .enable = EnableRule::Always, .run = pasteTransposed},
        {.name = "cmdInsertRows", .palette = {{{1, 1, "行の挿入"}}}, .wrap = structureWrap,
         .enable = EnableRule::Always, .run = insertRows},
        {.name = "cmdDeleteRows", .palette = {{{1, 2, "行の削除"}}}, .wrap = structureWrap,
         .enable = EnableRule::Always, .run = deleteRows},
        {.name = "cmdFitWidths", .palette = {{{2, 0, "列幅調整"}}},
         .wrap = Wrap::Commit | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Status,
         .enable = EnableRule::Always, .run = fitWidths},
        {.name = "cmdInsertColumns", .palette = {{{2, 2, "列の挿入"}}},
         .wrap = structureWrap, .enable = EnableRule::Always, .run = insertColumns},
        {.name = "cmdDeleteColumns", .palette = {{{2, 3, "列の削除"}}},
         .wrap = structureWrap, .enable = EnableRule::Always, .run = deleteColumns},
        // The tag is the column kind: 0 text, 1 number.
        {.name = "tb_KindText", .button = "tb_KindText", .hint = "文字列（左詰め）", .tag = 0,
         .wrap = Wrap::Blocked | Wrap::Redraw | Wrap::Modified, .enable = EnableRule::Always,
         .run = columnKind},
        {.name = "tb_KindNum", .button = "tb_KindNum", .hint = "数値（右詰め）", .tag = 1,
         .wrap = Wrap::Blocked | Wrap::Redraw | Wrap::Modified, .enable = EnableRule::Always,
         .run = columnKind},
        // Palette swatches and user keys 100..116 and 200..216; the tag is the colour index,
        // -1 for none.
        {.name = "cmdBackColourNone", .userFunction = 100, .tag = -1, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour0", .userFunction = 101, .tag = 0, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour1", .userFunction = 102, .tag = 1, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour2", .userFunction = 103, .tag = 2, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour3", .userFunction = 104, .tag = 3, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour4", .userFunction = 105, .tag = 4, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour5", .userFunction = 106, .tag = 5, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour6", .userFunction = 107, .tag = 6, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour7", .userFunction = 108, .tag = 7, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour8", .userFunction = 109, .tag = 8, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour9", .userFunction = 110, .tag = 9, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour10", .userFunction = 111, .tag = 10, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour11", .userFunction = 112, .tag = 11, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour12", .userFunction = 113, .tag = 12, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour13", .userFunction = 114, .tag = 13, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour14", .userFunction = 115, .tag = 14, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdBackColour15", .userFunction = 116, .tag = 15, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = backColour},
        {.name = "cmdTextColourNone", .userFunction = 200, .tag = -1, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour0", .userFunction = 201, .tag = 0, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour1", .userFunction = 202, .tag = 1, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour2", .userFunction = 203, .tag = 2, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour3", .userFunction = 204, .tag = 3, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour4", .userFunction = 205, .tag = 4, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour5", .userFunction = 206, .tag = 5, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour6", .userFunction = 207, .tag = 6, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour7", .userFunction = 208, .tag = 7, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour8", .userFunction = 209, .tag = 8, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour9", .userFunction = 210, .tag = 9, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour10", .userFunction = 211, .tag = 10, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour11", .userFunction = 212, .tag = 11, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour12", .userFunction = 213, .tag = 12, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour13", .userFunction = 214, .tag = 13, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour14", .userFunction = 215, .tag = 14, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
        {.name = "cmdTextColour15", .userFunction = 216, .tag = 15, .wrap = colourWrap,
         .enable = EnableRule::Always, .run = textColour},
    };
    return table;
}

namespace {

constexpr std::int64_t copyLimit = 5000000;
constexpr std::size_t pasteLimit = 10000000;

bool made(const CMyHyoDraw& view, int kind) {
    return view.selState() == SelMade && view.selKind() == kind;
}

// The rows (columns) of a made whole-row (whole-column) selection, normalised.
void selectedRows(const CMyHyoDraw& view, int& first, int& last) {
    const CellBlock b = view.selection();
    first = std::min(b.anchorRow, b.endRow);
    last = std::max(b.anchorRow, b.endRow);
}

void selectedColumns(const CMyHyoDraw& view, int& first, int& last) {
    const CellBlock b = view.selection();
    first = std::min(b.anchorColumn, b.endColumn);
    last = std::max(b.anchorColumn, b.endColumn);
}

// Column structure changes under frozen columns would leave the freeze on other columns.
void unfreezeBefore(CommandContext& w, int firstColumn) {
    if (w.view().frozenEnd() > 0 && firstColumn < w.view().frozenEnd()) w.navigation().toggleFrozen();
}

// The clipboard's text as CP932, or nothing (after the beep or the message).
bool clipboardText(std::string& text) {
    int unrepresentable = 0;
    text = ClipboardBridge::take(unrepresentable);
    if (text.empty()) {
        Prompt::beep();
        return false;
    }
    if (text.size() > pasteLimit) {
        Prompt::warn("サイズをオーバーしました。10Mバイト以上の貼り付けはできません。");
        return false;
    }
    // Characters CP932 cannot hold arrive as "?": the paste goes on, but not silently.
    if (unrepresentable > 0) Prompt::beep();
    return true;
}

PasteOptions pasteOptions(CommandContext& w, bool plain) {
    PasteOptions options;
    options.plain = plain;
    options.lineBreakOnly = w.global().copyQuoteLineBreakOnly();
    options.warnLineBreaks = w.global().lineBreakCopyWarning();
    return options;
}

bool changed(PasteOutcome outcome) {
    // A paste that ran out of memory part-way changed rows that undo can restore.
    return outcome == PasteOutcome::Pasted || outcome == PasteOutcome::Failed;
}

ColourTarget colourTarget(const CMyHyoDraw& view) {
    if (made(view, SelRows)) return ColourTarget::Rows;
    if (made(view, SelColumns)) return ColourTarget::Columns;
    return ColourTarget::Cells;
}

} // namespace

bool ClipboardCommands::copy(CommandContext& w, const Command&) {
    CMyHyo& hyo = w.hyo();
    const SelectionRange bounds = w.view().selectionBounds();
    const bool lineBreakOnly = w.global().copyQuoteLineBreakOnly();
    const std::int64_t size =
        ClipboardText::copyText(hyo, bounds, ClipboardText::CopyTabs, lineBreakOnly, nullptr, copyLimit);
    if (size == 0) {
        Prompt::warn("コピーするデータがありません。");
        return false;
    }
    if (size > copyLimit) {
        Prompt::warn("サイズをオーバーしました。5Mバイト以上のコピーはできません。");
        return false;
    }
    std::string text;
    try {
        text.reserve(static_cast<std::size_t>(size) + 10);
    } catch (const std::bad_alloc&) {
        Prompt::warn("領域確保に失敗しました。");
        return false;
    }
    ClipboardText::copyText(hyo, bounds, ClipboardText::CopyTabs, lineBreakOnly, &text);
    ClipboardBridge::put(text);
    return true;
}

bool ClipboardCommands::paste(CommandContext& w, const Command& c) {
    std::string text;
    if (!clipboardText(text)) return false;
    return changed(PasteOperation::paste(w.hyo(), w.view().selectionBounds(), text,
                                         pasteOptions(w, c.tag == 3)));
}

bool ClipboardCommands::pasteTransposed(CommandContext& w, const Command&) {
    std::string text;
    if (!clipboardText(text)) return false;
    return changed(PasteOperation::pasteTransposed(w.hyo(), w.view().selectionBounds(), text,
                                                   pasteOptions(w, false)));
}

bool ClipboardCommands::insertRows(CommandContext& w, const Command&) {
    if (!made(w.view(), SelRows)) return false;
    int first = 0, last = 0;
    selectedRows(w.view(), first, last);
    return RowColumnOperations::insertRows(w.hyo(), first, last) == 1;
}

bool ClipboardCommands::deleteRows(CommandContext& w, const Command&) {
    if (!made(w.view(), SelRows)) return false;
    int first = 0, last = 0;
    selectedRows(w.view(), first, last);
    if (RowColumnOperations::deleteRows(w.hyo(), first, last) != 1) return false;
    w.navigation().fitScrollRanges();
    return true;
}

bool ClipboardCommands::insertColumns(CommandContext& w, const Command&) {
    if (!made(w.view(), SelColumns)) return false;
    int first = 0, last = 0;
    selectedColumns(w.view(), first, last);
    unfreezeBefore(w, first);
    return RowColumnOperations::insertColumns(w.hyo(), first, last) == 1;
}

bool ClipboardCommands::deleteColumns(CommandContext& w, const Command&) {
    if (!made(w.view(), SelColumns)) return false;
    int first = 0, last = 0;
    selectedColumns(w.view(), first, last);
    unfreezeBefore(w, first);
    if (RowColumnOperations::deleteColumns(w.hyo(), first, last) != 1) return false;
    w.navigation().fitScrollRanges();
    return true;
}

bool ClipboardCommands::fitWidths(CommandContext& w, const Command&) {
    CMyHyoDraw& view = w.view();
    const SelectionRange b = view.selectionBounds();
    if (RowColumnOperations::fitWidths(w.hyo(), b.left, b.right, view.charWidth(), view.scale()) != 0)
        return false;
    view.recomputeFrozenWidth();
    return true;
}

bool ClipboardCommands::columnKind(CommandContext& w, const Command& c) {
    const SelectionRange b = w.view().selectionBounds();
    return RowColumnOperations::setColumnKind(w.hyo(), b.left, b.right, c.tag) == 0;
}

bool ClipboardCommands::backColour(CommandContext& w, const Command& c) {
    return ColourOperations::setColour(w.hyo(), colourTarget(w.view()), w.view().selectionBounds(),
                                       false, c.tag) == 0;
}

bool ClipboardCommands::textColour(CommandContext& w, const Command& c) {
    return ColourOperations::setColour(w.hyo(), colourTarget(w.view()), w.view().selectionBounds(),
                                       true, c.tag) == 0;
}
