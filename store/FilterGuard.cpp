// FilterGuard: a dry run of the filter's regular expression over the store rows.
#include "store/FilterGuard.h"

#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "store/RowSorter.h"

bool FilterGuard::allows(CMyHyo& hyo, int column, const CellMatch& condition, int firstTested) {
    const CellRegex* regex = condition.regex();
    if (!regex) return true;
    if (!regex->valid()) {
        Prompt::warn(regex->errorMessage());
        return false;
    }
    CMyLine& rows = hyo.rowList();
    for (int index = firstTested < 0 ? 0 : firstTested; index < rows.lineCount() && !regex->gaveUp(); ++index)
        condition.matches(RowSorter::keyCell(rows.lineText(index), rows.lineLength(index), column));
    if (!regex->gaveUp()) return true;
    Prompt::warn("検索が複雑すぎるため中断しました。");
    return false;
}
