// CellMatch: text tests at character starts and the number comparisons of find and filter.
#include "store/CellMatch.h"

#include "store/Cp932Text.h"
#include "store/NumberText.h"

CellMatch::CellMatch(std::string_view pattern, int kind, NumberRule rule)
    : pattern_(pattern), kind_(kind), rule_(rule) {
    if (isNumericKind(kind) && !readNumber(pattern_, number_)) number_ = 0;
    if (isRegexKind(kind)) regex_ = std::make_shared<const CellRegex>(pattern_, kind == MatchRegex);
}

bool CellMatch::isKnownKind(int kind) {
    return (kind >= MatchEqualNoCase && kind <= MatchContain) || isNumericKind(kind) || isRegexKind(kind);
}

bool CellMatch::readNumber(std::string_view text, double& value) const {
    return rule_ == NumberRule::Filter ? NumberText::filterValue(text, value)
                                       : NumberText::findValue(text, value);
}

bool CellMatch::matchesText(std::string_view cell, std::string_view pattern, int kind) {
    if (kind < MatchEqualNoCase || kind > MatchContain) return false;
    if (pattern.empty()) return cell.empty();
    const bool ignoreCase = kind < MatchEqual;
    switch (kind % 4) {
    case 0: return Cp932Text::equals(cell, pattern, ignoreCase);
    case 1: return Cp932Text::startsWith(cell, pattern, ignoreCase);
    case 2: return Cp932Text::endsWith(cell, pattern, ignoreCase);
    default: return Cp932Text::find(cell, pattern, ignoreCase) != Cp932Text::npos;
    }
}

bool CellMatch::matches(std::string_view cell) const {
    if (regex_) return regex_->matches(cell);
    if (!isNumericKind(kind_)) return matchesText(cell, pattern_, kind_);
    double value = 0;
    if (!readNumber(cell, value)) return false;
    switch (kind_) {
    case MatchNumberEqual: return value == number_;
    case MatchNumberAtLeast: return value >= number_;
    case MatchNumberAtMost: return value <= number_;
    case MatchNumberAbove: return value > number_;
    default: return value < number_;
    }
}
