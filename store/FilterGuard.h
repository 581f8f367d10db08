// FilterGuard: tries a filter's regular expression on its whole column before the filter
// changes anything.
#pragma once

class CMyHyo;
class CellMatch;

// Applying a filter empties the journal and rebuilds the row list as it goes, so a pattern
// that gives up half way (catastrophic backtracking) must be caught before: the guard runs it
// over the column first. The second pass repeats the same matches, which is cheap next to a
// table left half filtered.
class FilterGuard {
public:
    // True when `condition` can be applied: it is no regular expression, or a valid one that
    // gives its verdict on the cell of `column` in every store row from `firstTested` on.
    // Otherwise false, after the pattern's fault or "検索が複雑すぎるため中断しました。".
    static bool allows(CMyHyo& hyo, int column, const CellMatch& condition, int firstTested);
};
