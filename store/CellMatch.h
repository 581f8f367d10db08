// CellMatch: the condition find, replace and the filter test one cell against.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "store/CellRegex.h"

// Match kinds as the find dialog hands them out: 0-3 ignore ASCII case, 4-7 are the same tests
// with case distinguished, 10-14 compare numbers.
enum MatchKind : int {
    MatchEqualNoCase = 0,
    MatchStartNoCase = 1,
    MatchEndNoCase = 2,
    MatchContainNoCase = 3,
    MatchEqual = 4,
    MatchStart = 5,
    MatchEnd = 6,
    MatchContain = 7,
    MatchNumberEqual = 10,
    MatchNumberAtLeast = 11,
    MatchNumberAtMost = 12,
    MatchNumberAbove = 13,
    MatchNumberBelow = 14,
    MatchRegexNoCase = 20,
    MatchRegex = 21,
};

// Text kinds match at Shift-JIS character starts only, so "\" never matches the trail byte of
// 表. An empty pattern matches exactly the empty cell, whatever the text kind. The numeric
// kinds read the cell with the caller's number rule (the filter and find differ on a lone
// point); a cell that is not a number never matches, and a pattern that is not a number
// counts as 0. The regular-expression kinds leave it to the pattern (an empty one matches every
// cell); an invalid pattern matches nothing. A kind outside the table matches nothing.
class CellMatch {
public:
    enum class NumberRule { Filter, Find };

    CellMatch(std::string_view pattern, int kind, NumberRule rule);

    // `cell` is the cell's text (after its attribute records, without the TAB).
    bool matches(std::string_view cell) const;

    int kind() const { return kind_; }
    const std::string& pattern() const { return pattern_; }

    static bool isKnownKind(int kind);
    static bool isNumericKind(int kind) { return kind >= MatchNumberEqual && kind <= MatchNumberBelow; }
    static bool isRegexKind(int kind) { return kind == MatchRegexNoCase || kind == MatchRegex; }
    // The compiled pattern of a regular-expression kind (validity, giving up), else null.
    const CellRegex* regex() const { return regex_.get(); }
    // The text test alone (kinds 0-7); false for any other kind.
    static bool matchesText(std::string_view cell, std::string_view pattern, int kind);

private:
    bool readNumber(std::string_view text, double& value) const;

    std::string pattern_;
    int kind_;
    NumberRule rule_;
    double number_ = 0;
    std::shared_ptr<const CellRegex> regex_;
};
