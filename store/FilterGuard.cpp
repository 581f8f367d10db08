// FilterGuard: refusing a faulty filter pattern and reporting one that ran away.
#include "store/FilterGuard.h"

#include "platform/core/Prompt.h"
#include "store/CellMatch.h"

bool FilterGuard::allows(const CellMatch& condition) {
    const CellRegex* regex = condition.regex();
    if (!regex || regex->valid()) return true;
    Prompt::warn(regex->errorMessage());
    return false;
}

bool FilterGuard::gaveUp(const CellMatch& condition) {
    const CellRegex* regex = condition.regex();
    if (!regex || !regex->gaveUp()) return false;
    Prompt::warn("検索が複雑すぎるため中断しました。");
    return true;
}
