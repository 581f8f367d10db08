// Rows with equal keys keep their order in tables large enough (over 16 rows) that an
// unstable sort would move them.
#include "store/CMyHyo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// 40 rows "key\tindex": the keys repeat in a cycle of three; two of them share a start longer
// than what the sort keeps beside each row.
const char* const Keys[] = {"kiwi", "apple-and-more-text-2", "apple-and-more-text-1"};

std::vector<std::string> sortedIndices(bool descending, bool numeric) {
    CMyHyo hyo;
    for (int row = 0; row < 40; ++row)
        hyo.setRow(row, std::string(numeric ? std::to_string(row % 3 * 5) : Keys[row % 3]) + "\t" +
                            std::to_string(row));
    hyo.clearSortKeys();
    hyo.addSortKey(0, descending, numeric, 0);
    EXPECT_EQ(hyo.sortRows(), 0);
    std::vector<std::string> indices;
    for (int row = 0; row < hyo.rowCount(); ++row) indices.push_back(hyo.cellString(1, row));
    return indices;
}

// The indices of the rows whose key is the `cycle`-th of the three, in ascending order.
std::vector<std::string> rowsOfCycle(std::initializer_list<int> cycles) {
    std::vector<std::string> out;
    for (int cycle : cycles)
        for (int row = cycle; row < 40; row += 3) out.push_back(std::to_string(row));
    return out;
}

} // namespace

TEST(SortStability, EqualTextKeysKeepTheirOrderBothWays) {
    EXPECT_EQ(sortedIndices(false, false), rowsOfCycle({2, 1, 0}));
    EXPECT_EQ(sortedIndices(true, false), rowsOfCycle({0, 1, 2}));
}

TEST(SortStability, EqualNumberKeysKeepTheirOrderBothWays) {
    EXPECT_EQ(sortedIndices(false, true), rowsOfCycle({0, 1, 2}));
    EXPECT_EQ(sortedIndices(true, true), rowsOfCycle({2, 1, 0}));
}
