// SelectionInfo: read-only summaries of a selection - the information lines and line totals.
#include "grid/SelectionInfo.h"

#include "store/CMyHyo.h"
#include "store/NumberText.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int NoSmallest = 99999999;

std::string format(const char* pattern, int a, int b, int c, int d) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c, d);
    return buffer;
}

}  // namespace

std::string SelectionInfo::informationText(CMyHyo& hyo, const SelectionRange& range, int kind) {
    if (kind == 0)
        return format("範囲：(%d-%d) - (%d-%d)", range.left + 1, range.top + 1, range.right + 1,
                      range.bottom + 1);
    long total = 0;
    int largest = 0, smallest = NoSmallest;
    int largestColumn = range.left, largestRow = range.top;
    int smallestColumn = range.left, smallestRow = range.top;
    for (int row = range.top; row <= range.bottom; ++row) {
        for (int column = range.left; column <= range.right; ++column) {
            hyo.seekCell(column, row);   // a missing cell is the empty cell
            int size = hyo.cellTextLength();
            total += size;
            // Strict comparisons: ties keep the first cell in reading order.
            if (size > largest) {
                largest = size;
                largestColumn = column;
                largestRow = row;
            }
            if (size < smallest) {
                smallest = size;
                smallestColumn = column;
                smallestRow = row;
            }
        }
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer,
                  "全文字サイズ:%ld\t最大文字サイズ:%d\t最大文字サイズ位置:%d-%d\t"
                  "最小文字サイズ:%d\t最小文字サイズ位置:%d-%d",
                  total, largest, largestColumn + 1, largestRow + 1, smallest,
                  smallestColumn + 1, smallestRow + 1);
    return buffer;
}

std::vector<std::string> SelectionInfo::informationItems(CMyHyo& hyo, const SelectionRange& range) {
    std::vector<std::string> items{informationText(hyo, range, 0)};
    std::string statistics = informationText(hyo, range, 1);
    size_t start = 0;
    for (size_t tab; (tab = statistics.find('\t', start)) != std::string::npos; start = tab + 1)
        items.push_back(statistics.substr(start, tab - start));
    items.push_back(statistics.substr(start));
    return items;
}

// The totals' own rule, read without the locale (see NumberText::totalsValue).
bool SelectionInfo::numericPrefix(const char* text, double& value) {
    return NumberText::totalsValue(text, value);
}

double SelectionInfo::sumAlongLine(CMyHyo& hyo, bool alongRow, int line, int first, int last) {
    if (line < 0 || first < 0 || last < 0) return 0;
    if (first > last) std::swap(first, last);
    double sum = 0;
    for (int i = first; i <= last; ++i) {
        std::string cell = alongRow ? hyo.cellString(i, line) : hyo.cellString(line, i);
        double value = 0;
        if (numericPrefix(cell.c_str(), value)) sum += value;
    }
    return sum;
}
