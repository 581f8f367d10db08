// SelectionInfo: read-only summaries of a selection - the information lines and line totals.
#pragma once

#include <string>
#include <vector>

#include "engine/SelectionRange.h"

class CMyHyo;

// Stateless; cell sizes are bytes of cell text (attribute records are not counted).
class SelectionInfo {
public:
    // Kind 0: the range line; kind 1: the statistics line with its items separated by TAB.
    // UTF-8.
    static std::string informationText(CMyHyo& hyo, const SelectionRange& range, int kind);
    // The items of both lines, one per entry, as the information window lists them.
    static std::vector<std::string> informationItems(CMyHyo& hyo, const SelectionRange& range);
    // Sum of the numbers in a run of cells: along row `line` over columns first..last, or
    // down column `line` over rows first..last. Any negative argument gives 0.
    static double sumAlongLine(CMyHyo& hyo, bool alongRow, int line, int first, int last);
    // The number a cell's text starts with; false when it is not one (empty prefix, a second
    // point, or more than 14 digits and points).
    static bool numericPrefix(const char* text, double& value);
};
