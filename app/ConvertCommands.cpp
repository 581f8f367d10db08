// ConvertCommands: the entries and functions of the conversion and column commands.
#include "app/ConvertCommands.h"

#include "app/TfrmMain.h"

namespace {

// Both change cell data, so both mark the document modified.
constexpr unsigned convertWrap =
    Wrap::Commit | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Modified | Wrap::Status;
constexpr unsigned columnWrap =
    Wrap::Blocked | Wrap::RaiseRanges | Wrap::Redraw | Wrap::Modified | Wrap::Status;
constexpr const char* convertOperation = "engine CharConvert (the selection, one undo step)";
constexpr const char* joinOperation = "engine ColumnJoin (delimiter dialog TfrmDiv for tag 10)";
constexpr const char* splitOperation = "engine ColumnSplit (delimiter dialog TfrmDiv for tag 11)";

} // namespace

std::span<const Command> ConvertCommands::entries() {
    static constexpr Command table[] = {
        // The tag is the conversion kind; the user keys 50..55 hold 50 + kind.
        {.name = "mnuEditZenToHan", .caption = "全角->半角", .userFunction = 50, .tag = 0,
         .wrap = convertWrap, .enable = EnableRule::NotBuilt, .run = convert,
         .operation = convertOperation},
        {.name = "mnuEditHanToZen", .caption = "半角->全角", .userFunction = 51, .tag = 1,
         .wrap = convertWrap, .enable = EnableRule::NotBuilt, .run = convert,
         .operation = convertOperation},
        {.name = "mnuEditUpper", .caption = "大文字変換(UPPER CASE)", .userFunction = 52, .tag = 2,
         .wrap = convertWrap, .enable = EnableRule::NotBuilt, .run = convert,
         .operation = convertOperation},
        {.name = "mnuEditLower", .caption = "小文字変換(lower case)", .userFunction = 53, .tag = 3,
         .wrap = convertWrap, .enable = EnableRule::NotBuilt, .run = convert,
         .operation = convertOperation},
        {.name = "mnuEditKanaToHira", .caption = "半角ｶﾀｶﾅ->ひらがな", .userFunction = 54,
         .tag = 4, .wrap = convertWrap, .enable = EnableRule::NotBuilt, .run = convert,
         .operation = convertOperation},
        {.name = "mnuEditHiraToKana", .caption = "ひらがな->半角ｶﾀｶﾅ", .userFunction = 55,
         .tag = 5, .wrap = convertWrap, .enable = EnableRule::NotBuilt, .run = convert,
         .operation = convertOperation},
        // Join tags: 0 no delimiter, 1 space, 2 full-width space, 3 comma, 10 asked.
        {.name = "mnuEditColUnionNon", .caption = "区切文字(なし)", .tag = 0, .wrap = columnWrap,
         .enable = EnableRule::NotBuilt, .run = joinColumns, .operation = joinOperation},
        {.name = "mnuEditColUnionSpc", .caption = "区切文字(半角スペース)", .tag = 1,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = joinColumns,
         .operation = joinOperation},
        {.name = "mnuEditColUnionZSpc", .caption = "区切文字(全角スペース)", .tag = 2,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = joinColumns,
         .operation = joinOperation},
        {.name = "mnuEditColUnionKanma", .caption = "区切文字(カンマ)", .tag = 3,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = joinColumns,
         .operation = joinOperation},
        {.name = "mnuEditColUnionFree", .caption = "区切文字(任意)...", .tag = 10,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = joinColumns,
         .operation = joinOperation},
        // Split tags: 0 space, 2 full-width space, 10 comma, 1 and 3 between them, 11 asked.
        {.name = "mnuEditColDivSpc", .caption = "区切文字(半角スペース)", .tag = 0,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = splitColumn,
         .operation = splitOperation},
        {.name = "mnuEditColDivZSpc", .caption = "区切文字(全角スペース)", .tag = 2,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = splitColumn,
         .operation = splitOperation},
        {.name = "mnuEditColDivKanma", .caption = "区切文字(カンマ)", .tag = 10,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = splitColumn,
         .operation = splitOperation},
        {.name = "mnuEditColDivMaSpc", .caption = "間(半角スペース)", .tag = 1,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = splitColumn,
         .operation = splitOperation},
        {.name = "mnuEditColDivMaZSpc", .caption = "間(全角スペース)", .tag = 3,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = splitColumn,
         .operation = splitOperation},
        {.name = "mnuEditColDivFree", .caption = "区切文字(任意)...", .tag = 11,
         .wrap = columnWrap, .enable = EnableRule::NotBuilt, .run = splitColumn,
         .operation = splitOperation},
        {.name = "mnuEditColCmp", .caption = "左右の列の相違比較", .wrap = columnWrap,
         .enable = EnableRule::NotBuilt, .run = compareColumns,
         .operation = "engine ColumnCompare (neighbouring columns)"},
        {.name = "mnuEditColGroup", .caption = "該当列をグループ化", .wrap = columnWrap,
         .enable = EnableRule::NotBuilt, .run = groupColumn,
         .operation = "engine ColumnGroup"},
    };
    return table;
}

bool ConvertCommands::convert(TfrmMain&, const Command&) { return notBuilt(); }
bool ConvertCommands::joinColumns(TfrmMain&, const Command&) { return notBuilt(); }
bool ConvertCommands::splitColumn(TfrmMain&, const Command&) { return notBuilt(); }
bool ConvertCommands::compareColumns(TfrmMain&, const Command&) { return notBuilt(); }
bool ConvertCommands::groupColumn(TfrmMain&, const Command&) { return notBuilt(); }
