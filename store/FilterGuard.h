// FilterGuard: what a filter's regular expression may stop before the filter changes anything.
#pragma once

class CellMatch;

// The filter chooses its rows before it empties the journal or rebuilds the row list, so a
// faulty pattern is refused up front and one that gives up half way (catastrophic
// backtracking) is reported once the rows have been tried; either way nothing has changed.
class FilterGuard {
public:
    // True when `condition` is no regular expression or a valid one; otherwise false, after
    // the pattern's fault was shown.
    static bool allows(const CellMatch& condition);
    // True, after "検索が複雑すぎるため中断しました。", when the pattern gave up on a cell.
    static bool gaveUp(const CellMatch& condition);
};
