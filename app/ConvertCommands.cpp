// ConvertCommands: the entries and functions of the conversion and column commands.
#include "app/ConvertCommands.h"

#include "app/CommandContext.h"
#include "dialogs/TfrmDiv.h"
#include "engine/ColumnDerive.h"
#include "engine/SelectionConvert.h"
#include "view/CMyHyoDraw.h"

#include <QApplication>

namespace {

// Both change cell data, so both mark the document modified.
constexpr unsigned convertWrap =
    Wrap::Commit | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Modified | Wrap::Status;
constexpr unsigned columnWrap =
    Wrap::Blocked | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Modified | Wrap::Status;

// The hourglass while a column operation runs.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The view's selection with its shape: the current cell when nothing is selected.
ColumnSelection columnSelection(CommandContext& w) {
    CMyHyoDraw& view = w.view();
    ColumnSelection selection{view.selectionBounds(), SelectionShape::Cells};
    if (view.hasSelection() && view.selKind() == SelRows) selection.shape = SelectionShape::WholeRows;
    if (view.hasSelection() && view.selKind() == SelColumns) selection.shape = SelectionShape::WholeColumns;
    return selection;
}

// The delimiter dialog with `caption`, pre-filled with and remembering `last`; false when
// cancelled.
bool askDelimiter(CommandContext& w, const char* caption, std::string& last, std::string& chosen) {
    const std::optional<std::string> entered = TfrmDiv::ask(w.dialogParent(), QString::fromUtf8(caption), last);
    if (!entered) return false;
    last = chosen = *entered;
    return true;
}

// New columns inside the frozen ones widen them.
bool finished(CommandContext& w, const ColumnOutcome& outcome) {
    if (outcome.changed) w.view().recomputeFrozenWidth();
    return outcome.changed;
}

} // namespace

std::span<const Command> ConvertCommands::entries() {
    static constexpr Command table[] = {
        // The tag is the conversion kind; the user keys 50..55 hold 50 + kind.
        {.name = "mnuEditZenToHan", .caption = "全角->半角", .userFunction = 50, .tag = 0,
         .wrap = convertWrap, .run = convert},
        {.name = "mnuEditHanToZen", .caption = "半角->全角", .userFunction = 51, .tag = 1,
         .wrap = convertWrap, .run = convert},
        {.name = "mnuEditUpper", .caption = "大文字変換(UPPER CASE)", .userFunction = 52, .tag = 2,
         .wrap = convertWrap, .run = convert},
        {.name = "mnuEditLower", .caption = "小文字変換(lower case)", .userFunction = 53, .tag = 3,
         .wrap = convertWrap, .run = convert},
        {.name = "mnuEditKanaToHira", .caption = "半角ｶﾀｶﾅ->ひらがな", .userFunction = 54,
         .tag = 4, .wrap = convertWrap, .run = convert},
        {.name = "mnuEditHiraToKana", .caption = "ひらがな->半角ｶﾀｶﾅ", .userFunction = 55,
         .tag = 5, .wrap = convertWrap, .run = convert},
        // Join tags: 0 no delimiter, 1 space, 2 full-width space, 3 comma, 10 asked.
        {.name = "mnuEditColUnionNon", .caption = "区切文字(なし)", .tag = 0, .wrap = columnWrap,
         .run = joinColumns},
        {.name = "mnuEditColUnionSpc", .caption = "区切文字(半角スペース)", .tag = 1,
         .wrap = columnWrap, .run = joinColumns},
        {.name = "mnuEditColUnionZSpc", .caption = "区切文字(全角スペース)", .tag = 2,
         .wrap = columnWrap, .run = joinColumns},
        {.name = "mnuEditColUnionKanma", .caption = "区切文字(カンマ)", .tag = 3,
         .wrap = columnWrap, .run = joinColumns},
        {.name = "mnuEditColUnionFree", .caption = "区切文字(任意)...", .tag = 10,
         .wrap = columnWrap, .run = joinColumns},
        // Split tags: 0 space, 2 full-width space, 10 comma, 1 and 3 between them, 11 asked.
        {.name = "mnuEditColDivSpc", .caption = "区切文字(半角スペース)", .tag = 0,
         .wrap = columnWrap, .run = splitColumn},
        {.name = "mnuEditColDivZSpc", .caption = "区切文字(全角スペース)", .tag = 2,
         .wrap = columnWrap, .run = splitColumn},
        {.name = "mnuEditColDivKanma", .caption = "区切文字(カンマ)", .tag = 10,
         .wrap = columnWrap, .run = splitColumn},
        {.name = "mnuEditColDivMaSpc", .caption = "間(半角スペース)", .tag = 1,
         .wrap = columnWrap, .run = splitColumn},
        {.name = "mnuEditColDivMaZSpc", .caption = "間(全角スペース)", .tag = 3,
         .wrap = columnWrap, .run = splitColumn},
        {.name = "mnuEditColDivFree", .caption = "区切文字(任意)...", .tag = 11,
         .wrap = columnWrap, .run = splitColumn},
        {.name = "mnuEditColCmp", .caption = "左右の列の相違比較", .wrap = columnWrap,
         .run = compareColumns},
        {.name = "mnuEditColGroup", .caption = "該当列をグループ化", .wrap = columnWrap,
         .run = groupColumn},
    };
    return table;
}

bool ConvertCommands::convert(CommandContext& w, const Command& c) {
    const ConvertOutcome outcome =
        SelectionConvert::run(w.hyo(), w.view().selectionBounds(), SelectionConvert::forTag(c.tag));
    return outcome.changedCells > 0;
}

bool ConvertCommands::joinColumns(CommandContext& w, const Command& c) {
    ColumnDerive& derive = w.columnDerive();
    JoinRequest request = ColumnDerive::joinForTag(c.tag);
    if (ColumnDerive::joinTagAsks(c.tag) &&
        !askDelimiter(w, "文字列結合", derive.joinDelimiter, request.delimiter))
        return false;
    WaitCursor wait;
    return finished(w, derive.join(w.hyo(), columnSelection(w), request));
}

bool ConvertCommands::splitColumn(CommandContext& w, const Command& c) {
    ColumnDerive& derive = w.columnDerive();
    SplitRequest request = ColumnDerive::splitForTag(c.tag);
    if (ColumnDerive::splitTagAsks(c.tag) &&
        !askDelimiter(w, "文字列分解", derive.splitDelimiter, request.delimiter))
        return false;
    WaitCursor wait;
    return finished(w, derive.split(w.hyo(), columnSelection(w), request));
}

bool ConvertCommands::compareColumns(CommandContext& w, const Command&) {
    WaitCursor wait;
    return finished(w, w.columnDerive().compare(w.hyo(), columnSelection(w)));
}

bool ConvertCommands::groupColumn(CommandContext& w, const Command&) {
    WaitCursor wait;
    return finished(w, w.columnDerive().group(w.hyo(), columnSelection(w)));
}
